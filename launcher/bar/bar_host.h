// The bar window's side of its keyboard, pointer and menu collaborators: each
// call of their host interfaces is handed to the bar or to another collaborator.
#pragma once
#include "launcher/bar/bar_window.h"

namespace vorbin {

class BarHost final : public KeyboardHost, public PointerHost, public MenuHost {
 public:
  explicit BarHost(CBarWindow& bar) : m_bar(bar) {}

  // Shared.
  HWND window() const override { return m_bar.m_hwnd; }
  void repaintAll() override { m_bar.repaintAll(); }
  bool taskMode() const override { return m_bar.taskMode(); }
  void repaintContent() override { m_bar.repaintContent(); }
  void pressBox(const Hit& box) override { m_bar.m_actions.pressBox(box); }
  void runBoxCommand(const Hit& box) override { m_bar.runBoxCommand(box); }

  // The keyboard.
  const BarLayout& layout() const override { return m_bar.layout(); }
  std::optional<ButtonGeometry> slotGeometry(int group, int slot) const override {
    return m_bar.slotGeometry(group, slot);
  }
  Hit hitAt(POINT client) const override { return m_bar.m_actions.hitAt(client); }
  int taskCount() const override { return static_cast<int>(m_bar.m_tasks.size()) - 1; }
  std::optional<int> gridSelectionFront() const override;
  TabRows groupTabRows() const override { return m_bar.m_tabArea.rows(); }
  void scrollTabsTo(int firstRow) override { m_bar.m_tabArea.scrollTo(firstRow); }
  int tabOffset() const override { return m_bar.m_tabArea.offset(); }
  bool scrollList(int direction) override { return m_bar.m_actions.scrollList(direction); }
  void selectGroup(int group) override { m_bar.m_actions.selectGroup(group); }
  void pressAt(POINT client) override { m_bar.onButtonDown(MK_LBUTTON, MAKELPARAM(client.x, client.y)); }
  void releaseAt(POINT client) override { m_bar.onButtonUp(0, MAKELPARAM(client.x, client.y)); }
  void deleteFocused(int area, int group, int slot) override { m_bar.m_menus.deleteKey(area, group, slot); }

  // The pointer.
  int focusArea() const override { return m_bar.m_keys.area(); }
  void setFocusArea(int area) override { m_bar.m_keys.setArea(area); }
  POINT pointerAt() const override { return m_bar.m_keys.pointerAt(); }
  void repaintButton(int group, int slot, ButtonLook look) override {
    m_bar.repaintButton(group, slot, look);
  }
  void clockFormatChanged() override;
  void launchItem(int group, int slot) override { m_bar.m_starter.start(m_bar.m_hwnd, group, slot); }
  void hideAfterTaskSwitch() override { m_bar.hideBar(kHidePlain); }
  bool pressOpensMenu(const Hit& box) override { return m_bar.m_menus.pressOpensMenu(box.area, box.index); }
  void openContextMenu(const Hit& pressed, POINT screen) override;
  void showContextHelp(int helpId) override;
  void dragDropped(const DragItems& items, POINT client) override {
    m_bar.m_drops.dropInside(items, client, GetKeyState(VK_CONTROL) < 0);
  }
  void dragLeftBar(const DragItems& items) override { m_bar.m_drops.dragOut(items); }

  // The menus.
  GroupTable& groups() override { return m_bar.m_context.groups; }
  Settings& settings() override { return m_bar.m_context.settings; }
  Profile& profile() override { return m_bar.m_context.profile; }
  const TaskTable& tasks() const override { return m_bar.m_tasks.table(); }
  std::vector<int> selectionIn(int group) const override;
  RECT boxOnScreen(int functionKey) const override;
  void endPress() override;
  void stopBlinking() override { m_bar.m_timers.stop({kTimerBlink}); }
  void relayout() override { m_bar.relayout(); }
  void repaintButton(int group, int slot) override { m_bar.repaintButton(group, slot); }
  void groupsChanged() override { m_bar.groupsChanged(); }
  void groupRemoved(int index) override { m_bar.groupRemoved(index); }
  void saveWindowState() override { m_bar.saveWindowState(); }
  void endSession() override { m_bar.m_system.endSession(m_bar.m_hwnd); }
  LaunchContext launchContext() override { return m_bar.launchContext(true); }
  void editItem(int group, int slot) override { m_bar.editItem(group, slot); }
  ModalBusy* modalBusy() override { return &m_bar.m_modal; }

 private:
  CBarWindow& m_bar;
};

}  // namespace vorbin
