// The keyboard on the bar: which area holds it, the key held down and the
// button Enter holds pressed. The focus is the button under the pointer (or
// the last one it was over in the bar), so a focus move puts the pointer on
// the target and the ordinary hover tracking shows it; where the focus goes
// is decided by key_focus.h.
#pragma once
#include <windows.h>

#include <optional>

#include "launcher/bar/button_marks.h"
#include "launcher/bar/key_focus.h"
#include "launcher/bar/tab_scroll.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_layout.h"

namespace vorbin {

// What the keyboard needs of the bar window.
class KeyboardHost {
 public:
  virtual HWND window() const = 0;
  virtual bool taskMode() const = 0;
  virtual const BarLayout& layout() const = 0;
  virtual std::optional<ButtonGeometry> slotGeometry(int group, int slot) const = 0;
  // What lies under a point of the client area (a grid index is its slot).
  virtual Hit hitAt(POINT client) const = 0;
  // Task entries in the list, without entry 0.
  virtual int taskCount() const = 0;
  // The pointer's selection when it lies in the grid: its first button.
  virtual std::optional<int> gridSelectionFront() const = 0;
  virtual TabRows groupTabRows() const = 0;
  // The first row the tab area shows (group tabs or task entries).
  virtual int tabOffset() const = 0;
  virtual void scrollTabsTo(int firstRow) = 0;
  virtual bool scrollList(int direction) = 0;  // true when the grid moved
  virtual void selectGroup(int group) = 0;
  virtual void repaintAll() = 0;
  // A box held down by a key, and its command when the key comes up.
  virtual void pressBox(const Hit& box) = 0;
  virtual void runBoxCommand(const Hit& box) = 0;
  // A left press and release, as the mouse would make them.
  virtual void pressAt(POINT client) = 0;
  virtual void releaseAt(POINT client) = 0;
  // The Delete key on the focused button (or the selection) or the active group.
  virtual void deleteFocused(int area, int group, int slot) = 0;

 protected:
  ~KeyboardHost() = default;
};

class KeyboardFocus {
 public:
  KeyboardFocus(const Settings& settings, const GroupTable& groups, ButtonMarks& marks, KeyboardHost& host)
      : m_settings(settings), m_groups(groups), m_marks(marks), m_host(host) {}

  // The area holding the keyboard: 1 tabs, 2 grid, 3 quick list.
  int area() const { return m_area; }
  void setArea(int area) { m_area = area; }
  // The last pointer position in the client area.
  POINT pointerAt() const { return m_pointerAt; }
  void pointerMoved(POINT client) { m_pointerAt = client; }

  // What Delete and Alt+Enter work on: the keyboard's area, its group (on the
  // tabs the active one) and the focused button there (-1: none, or the tabs).
  struct Target {
    int area = hit_area::kTabs;
    int group = 0;
    int slot = -1;
  };
  Target target() const;

  // WM_KEYDOWN / WM_KEYUP with the modifier state.
  void keyDown(uint16_t virtualKey, bool shift, bool ctrl);
  void keyUp(uint16_t virtualKey);

 private:
  void pressBinding(const KeyBinding& binding);
  void releaseBinding();
  void releaseKeyPress();
  FocusScene scene() const;
  void pointerOnto(const PixelRect& r);
  void focusTab(int tab);
  void focusSlot(int group, int slot);
  void keyFocus(const KeyBinding& binding);
  void keyTab();
  void keyEnter(const KeyBinding& binding);

  const Settings& m_settings;
  const GroupTable& m_groups;
  ButtonMarks& m_marks;
  KeyboardHost& m_host;
  int m_area = hit_area::kTabs;
  POINT m_pointerAt{};
  const KeyBinding* m_armedBinding = nullptr;  // the key down, released with its key
  std::optional<POINT> m_keyPressAt;           // Enter holds the focused button pressed here
};

}  // namespace vorbin
