// The bar's mouse operations: owns the press, selection and drag state
// machine (interact/bar_pointer.h), feeds it the hit areas under the pointer
// and carries out what it decides: drawing, timers, drags, scrolling and
// launches; what belongs to the bar window it asks of its host.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "launcher/bar/bar_view.h"
#include "launcher/bar/button_drag.h"
#include "launcher/bar/button_marks.h"
#include "launcher/bar/drag_source.h"
#include "launcher/bar/hover_timers.h"
#include "launcher/bar/tab_scroll.h"
#include "launcher/bar/task_list.h"
#include "launcher/interact/bar_pointer.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"

namespace vorbin {

// What the pointer's effects need of the bar window.
class PointerHost {
 public:
  virtual HWND window() const = 0;
  // The area holding the keyboard (1 tabs, 2 grid, 3 quick list): a press or
  // hover makes another one active.
  virtual int focusArea() const = 0;
  virtual void setFocusArea(int area) = 0;
  // The last pointer position in the client area.
  virtual POINT pointerAt() const = 0;
  virtual void repaintButton(int group, int slot, ButtonLook look) = 0;
  virtual void repaintContent() = 0;
  virtual void repaintAll() = 0;
  // The clock changed between 12 and 24 hours: layout and paint again.
  virtual void clockFormatChanged() = 0;
  virtual void runBoxCommand(const Hit& box) = 0;
  virtual void launchItem(int group, int slot) = 0;
  // A task was switched to and the bar is not locked.
  virtual void hideAfterTaskSwitch() = 0;
  // The logo and HELP open their menus on the press; true when a menu took the release.
  virtual bool pressOpensMenu(const Hit& box) = 0;
  // Right release on a button, a group tab or a task entry: the menu of what was pressed.
  virtual void openContextMenu(const Hit& pressed, POINT screen) = 0;
  // Right press on an area with a help topic.
  virtual void showContextHelp(int helpId) = 0;
  // The rows of the tab area (group tabs or task entries), its first shown
  // row, and scrolling it (clamped to the rows).
  virtual TabRows groupTabRows() const = 0;
  virtual int tabOffset() const = 0;
  virtual void scrollTabsTo(int firstRow) = 0;
  // A drag of buttons or a tab was released over the bar at client.
  virtual void dragDropped(const DragItems&, POINT) {}
  // A drag of buttons or a tab left the bar: it goes on outside it.
  virtual void dragLeftBar(const DragItems&) {}

 protected:
  ~PointerHost() = default;
};

// The bar's parts the pointer works with through their own interfaces.
struct PointerParts {
  const BarView& view;
  ButtonMarks& marks;
  HoverTimers& timers;
  ButtonDrag& drag;
  TaskList& tasks;
};

class PointerActions {
 public:
  PointerActions(Settings& settings, GroupTable& groups, PointerParts parts, PointerHost& host)
      : m_settings(settings), m_groups(groups), m_parts(parts), m_host(host) {}

  // The mouse messages, in client coordinates (button 1 left, 2 right).
  void buttonDown(int button, int x, int y, bool shift);
  void buttonUp(int x, int y);
  void mouseMove(int x, int y);
  void mouseLeave();
  // The pointer's timers (hover switch, blink, drag and group scrolling); false for others.
  bool timer(UINT_PTR id);

  // The hit areas under the bar's current layout and group display.
  HitGeometry hitGeometry() const;
  // What lies under a point, a grid cell's index made its slot.
  Hit hitAt(POINT client) const;
  // The group of a hit area: 0 for the quick list, else the active group.
  int groupOfArea(int area) const;
  // The press, selection and drag state.
  const BarPointer& pointer() const { return m_pointer; }
  void clearSelection() { m_pointer.clearSelection(); }
  // The press ends without its release (a menu took it), the pressed box drawn released.
  void cancelPress();
  // Selects a group as a tab press would.
  void selectGroup(int group);
  // Scrolls the active group's grid a row; true when it moved.
  bool scrollList(int direction);
  // A box held down by the pointer or a key: marked, and drawn held at once.
  void pressBox(const Hit& box);
  // A button face drawn sunk by a pixel, its uncovered edge in that colour.
  void drawPressedFace(const PixelRect& r, COLORREF edge);
  // The press animation of a button whose item asks for its file first.
  void animatePromptButton(int group, int slot);
  ButtonMarks::RepaintButton buttonRepainter();

 private:
  PointerSettings pointerSettings() const;
  Hit slotHit(Hit hit) const;  // a grid cell's index becomes its slot
  PressInput pressInput(int button, int x, int y, bool shift) const;
  void apply(const PointerEffects& e);
  void showSelection(bool selected);
  void showHot(const Hit& hot);
  bool confirmLaunch(int count);
  void beginButtonDrag(int group, const std::vector<int>& slots, int offsetX, int offsetY);
  void beginTabDrag(int group);
  void endButtonDrag();
  // What the running drag carries; nothing without a drag.
  std::optional<DragItems> draggedItems() const;
  void scrollTabsDuringDrag();
  // A tab drag at x, outside the client area, stays on the bar to scroll the tab rows.
  bool tabDragScrollsAt(const RECT& client, int x) const;
  // The task entries a rubber band touches, in the part of the list shown.
  std::vector<int> entriesInBand(const HitRect& band) const;
  void listScrollRepeat(int arrow);
  bool pointerOverTab(int group) const;
  void trackLeave();

  Settings& m_settings;
  GroupTable& m_groups;
  PointerParts m_parts;
  PointerHost& m_host;
  BarPointer m_pointer{PointerSettings{}};
};

}  // namespace vorbin
