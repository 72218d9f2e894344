// The keyboard on the bar: the bindings' press and release, and the focus
// moved by putting the pointer on the target button or tab.
#include "launcher/bar/keyboard_focus.h"

#include <algorithm>
#include <utility>

namespace vorbin {

void KeyboardFocus::keyDown(uint16_t virtualKey, bool shift, bool ctrl) {
  if (auto binding = findKeyBinding(virtualKey, shift, ctrl, m_host.taskMode())) pressBinding(*binding);
}

void KeyboardFocus::keyUp(uint16_t virtualKey) {
  if (m_armedBinding && (m_armedBinding->key & 0xFF) == (virtualKey & 0xFF)) releaseBinding();
}

void KeyboardFocus::pressBinding(const KeyBinding& binding) {
  // A new key releases the button of the one before.
  if (m_armedBinding && m_armedBinding->key != binding.key) releaseBinding();
  for (const KeyBinding& b : keyBindings()) {
    if (b.key == binding.key) m_armedBinding = &b;
  }
  if (const std::optional<Hit> box = bindingBox(binding)) {
    // Held keys repeat; the box is drawn pressed once.
    if (!m_marks.pressedBox() || m_marks.pressedBox()->code() != box->code()) m_host.pressBox(*box);
    return;
  }
  switch (binding.action) {
    case KeyAction::FocusTab:
      keyTab();
      break;
    case KeyAction::FocusPage:
    case KeyAction::FocusEnd:
    case KeyAction::FocusMove:
    case KeyAction::FocusMoveExtend:
      keyFocus(binding);
      break;
    case KeyAction::Enter:
      // A held key repeats: the button stays pressed once.
      if (!m_keyPressAt) keyEnter(binding);
      break;
    case KeyAction::Delete: {
      const Target t = target();
      m_host.deleteFocused(t.area, t.group, t.slot);
      break;
    }
    default:
      break;
  }
}

KeyboardFocus::Target KeyboardFocus::target() const {
  const Hit hit = m_host.hitAt(m_pointerAt);
  const bool tabs = m_area == hit_area::kTabs;
  return {m_area, m_area == hit_area::kQuick ? 0 : m_groups.activeGroup,
          hit.area == m_area && !tabs ? hit.index : -1};
}

void KeyboardFocus::releaseBinding() {
  const KeyBinding* released = std::exchange(m_armedBinding, nullptr);
  releaseKeyPress();
  const std::optional<Hit>& pressed = m_marks.pressedBox();
  if (!released || !pressed) return;
  const std::optional<Hit> box = bindingBox(*released);
  if (!box || box->code() != pressed->code()) return;
  // Releasing the key works like releasing the mouse over the box.
  m_marks.releaseBox();
  m_host.repaintAll();
  m_host.runBoxCommand(*box);
}

void KeyboardFocus::releaseKeyPress() {
  if (!m_keyPressAt) return;
  const POINT at = *m_keyPressAt;
  m_keyPressAt.reset();
  m_host.releaseAt(at);
}

FocusScene KeyboardFocus::scene() const {
  const BarLayout& layout = m_host.layout();
  FocusScene s;
  s.taskMode = m_host.taskMode();
  s.area = m_area;
  s.focused = m_host.hitAt(m_pointerAt);
  s.activeGroup = m_groups.activeGroup;
  s.groupCount = std::max(0, static_cast<int>(m_groups.placeholderIndex()) - 1);
  if (s.area == hit_area::kTabs) {
    const TabLayout tabs = tabLayout(layout, s.taskMode ? m_settings.taskDispMode : m_settings.groupDispMode);
    s.tabs.columns = tabs.perRow;
    // The group tabs or the task list; either scrolls to show the focus.
    s.tabs.count = s.taskMode ? m_host.taskCount() : s.groupCount;
    s.tabs.page = m_host.groupTabRows().page * tabs.perRow;
  }
  const int group = focusGroup(s);
  if (group < 0) return s;
  const Group& g = m_groups[static_cast<size_t>(group)];
  s.buttons.count = static_cast<int>(g.items.size());
  if (group == 0) {
    // The quick list does not scroll: the focus stays on the cells it shows.
    int shown = 0;
    while (quickButton(layout, shown).cell.bottom <= layout.quickList.bottom) ++shown;
    s.buttons.count = std::min(s.buttons.count, shown);
    s.buttons.page = std::max(1, shown);
  } else {
    const CellLayout cells = gridCells(layout, g.buttonMode);
    s.buttons.columns = cells.columns;
    s.buttons.page = visibleSlots(layout, cells);
  }
  return s;
}

void KeyboardFocus::pointerOnto(const PixelRect& r) {
  // The system may report the pointer's old place for a moment: the bar
  // remembers where it put it, as it remembers the pointer's moves.
  m_pointerAt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  POINT screen = m_pointerAt;
  ClientToScreen(m_host.window(), &screen);
  SetCursorPos(screen.x, screen.y);
}

void KeyboardFocus::focusTab(int tab) {
  const BarLayout& layout = m_host.layout();
  const TabLayout tabs =
      tabLayout(layout, m_host.taskMode() ? m_settings.taskDispMode : m_settings.groupDispMode);
  const int row = (tab - 1) / std::max(1, tabs.perRow);
  m_host.scrollTabsTo(firstRowShowing(row, m_host.tabOffset(), m_host.groupTabRows().page));
  pointerOnto(tabRect(layout, tabs, tab, m_host.tabOffset() * tabs.tabHeight));
}

void KeyboardFocus::focusSlot(int group, int slot) {
  if (group > 0) {
    // The grid scrolls row by row until the slot shows.
    const Group& g = m_groups[static_cast<size_t>(group)];
    const CellLayout cells = gridCells(m_host.layout(), g.buttonMode);
    const int perRow = std::max(1, cells.columns * cells.slotsPerH);
    const int want = firstRowShowing(slot / perRow, g.dispOffset, m_host.layout().visibleRows);
    for (int before = -1; g.dispOffset != want && g.dispOffset != before;) {
      before = g.dispOffset;
      m_host.scrollList(want > g.dispOffset ? 1 : -1);
    }
  }
  if (const std::optional<ButtonGeometry> geo = m_host.slotGeometry(group, slot)) pointerOnto(geo->cell);
}

void KeyboardFocus::keyFocus(const KeyBinding& binding) {
  const FocusScene s = scene();
  const Hit to = focusMove(binding, s);
  if (to.area == hit_area::kNone) return;
  if (to.area != hit_area::kTabs) {
    focusSlot(focusGroup(s), to.index);
  } else {
    focusTab(to.index);
  }
}

void KeyboardFocus::keyTab() {
  const TabKeyStep step = tabKeyStep(scene(), m_host.gridSelectionFront());
  if (step.area == hit_area::kNone) return;
  m_area = step.area;
  m_host.repaintAll();
  if (step.focus.area == hit_area::kGrid) focusSlot(m_groups.activeGroup, step.focus.index);
  if (step.focus.area == hit_area::kTabs) focusTab(step.focus.index);
}

void KeyboardFocus::keyEnter(const KeyBinding& binding) {
  const FocusScene s = scene();
  const int group = s.area == hit_area::kQuick ? 0 : s.activeGroup;
  switch (enterKeyStep(s, m_groups.item(group, s.focused.index) != nullptr)) {
    case EnterStep::kTaskCommand:
      m_host.runBoxCommand(Hit{hit_area::kCommands, 0});
      return;
    case EnterStep::kNextGroup: {
      m_host.selectGroup(nextGroup(m_groups.activeGroup, s.groupCount, binding.argument < 0));
      const TabLayout tabs = tabLayout(m_host.layout(), m_settings.groupDispMode);
      const int row = (m_groups.activeGroup - 1) / std::max(1, tabs.perRow);
      m_host.scrollTabsTo(firstRowShowing(row, m_groups.dispGroupOffset, m_host.groupTabRows().page));
      return;
    }
    case EnterStep::kPressFocused: {
      // The focused button is pressed at its centre, as a click would; the key's release releases it.
      const std::optional<ButtonGeometry> geo = m_host.slotGeometry(group, s.focused.index);
      if (!geo) return;
      const POINT centre{(geo->cell.left + geo->cell.right) / 2, (geo->cell.top + geo->cell.bottom) / 2};
      m_keyPressAt = centre;
      m_host.pressAt(centre);
      return;
    }
    case EnterStep::kNone:
      return;
  }
}

}  // namespace vorbin
