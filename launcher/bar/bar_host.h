// The bar window's side of its keyboard and pointer collaborators: each call
// of their host interfaces is handed to the bar or to another collaborator.
#pragma once
#include "launcher/bar/bar_window.h"

namespace vorbin {

class BarHost final : public KeyboardHost, public PointerHost {
 public:
  explicit BarHost(CBarWindow& bar) : m_bar(bar) {}

  // Both.
  HWND window() const override { return m_bar.m_hwnd; }
  void repaintAll() override { m_bar.repaintAll(); }
  void pressBox(const Hit& box) override { m_bar.pressBox(box); }
  void runBoxCommand(const Hit& box) override { m_bar.runBoxCommand(box); }

  // The keyboard.
  bool taskMode() const override { return m_bar.taskMode(); }
  const BarLayout& layout() const override { return m_bar.layout(); }
  std::optional<ButtonGeometry> slotGeometry(int group, int slot) const override {
    return m_bar.slotGeometry(group, slot);
  }
  Hit hitAt(POINT client) const override { return m_bar.m_actions.hitAt(client); }
  int taskCount() const override { return static_cast<int>(m_bar.m_tasks.size()) - 1; }
  std::optional<int> gridSelectionFront() const override;
  TabRows groupTabRows() const override { return m_bar.groupTabRows(); }
  void scrollTabsTo(int firstRow) override { m_bar.scrollTabsTo(firstRow); }
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
  void repaintContent() override { m_bar.repaintContent(); }
  void clockFormatChanged() override;
  void launchItem(int group, int slot) override { m_bar.launchItemAt(group, slot); }
  void hideAfterTaskSwitch() override { m_bar.hideBar(kHidePlain); }
  bool pressOpensMenu(const Hit& box) override { return m_bar.m_menus.pressOpensMenu(box.area, box.index); }
  void openContextMenu(const Hit& pressed, POINT screen) override;
  void showContextHelp(int helpId) override;

 private:
  CBarWindow& m_bar;
};

}  // namespace vorbin
