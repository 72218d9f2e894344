// The bar's mouse operations: the hit geometry from the bar's layout, the
// mouse messages fed to the pointer state machine, and what it decides
// carried out (the boxes it presses are the bar's, bar_boxes.cpp).
#include "launcher/bar/pointer_actions.h"

#include <algorithm>
#include <utility>

#include "framework/gdi.h"
#include "framework/trace.h"
#include "launcher/bar/bar_rules.h"
#include "launcher/interact/hit_layout.h"
#include "launcher/interact/press_rules.h"
#include "launcher/interact/task_commands.h"
#include "launcher/render/bitmap_ids.h"
#include "launcher/render/blit.h"
#include "launcher/render/paint_primitives.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

namespace {
// The band, clipped to its area, touches the cell.
bool bandTouches(const HitRect& band, const HitRect& area, const HitRect& cell) {
  const HitRect clipped{std::max(band.left, area.left), std::max(band.top, area.top),
                        std::min(band.right, area.right), std::min(band.bottom, area.bottom)};
  return clipped.left < cell.right && cell.left < clipped.right && clipped.top < cell.bottom &&
         cell.top < clipped.bottom;
}
}  // namespace

void PointerActions::buttonDown(int button, int x, int y, bool shift) {
  if (m_pointer.pressed()) return;
  m_pointer.setSettings(pointerSettings());
  const PressInput in = pressInput(button, x, y, shift);
  const bool blinking = m_pointer.selectMode() == select_mode::kBlinking;
  PointerEffects e = m_pointer.press(in, m_host.focusArea(), m_groups.activeGroup);
  if (blinking && m_pointer.selectMode() != select_mode::kBlinking) {
    m_parts.timers.kill(kTimerBlink);
    showSelection(true);
  }
  m_parts.timers.note(e);
  apply(e);
}

void PointerActions::buttonUp(int x, int y) {
  const std::optional<DragItems> dragged = draggedItems();
  const PointerEffects e =
      m_pointer.release(x, y, hitAt({x, y}), [this](int count) { return confirmLaunch(count); });
  endButtonDrag();
  m_parts.timers.released();
  m_parts.timers.note(e);
  apply(e);
  if (dragged) m_host.dragDropped(*dragged, {x, y});
}

std::optional<DragItems> PointerActions::draggedItems() const {
  if (!m_pointer.dragging()) return std::nullopt;
  DragItems items;
  const Hit& pressed = m_pointer.pressHit();
  if (pressed.area == hit_area::kTabs) {
    items.group = pressed.index;
    items.tab = true;
  } else {
    items.group = groupOfArea(m_pointer.selectionArea());
    items.slots = m_pointer.selection();
    items.pressedSlot = pressed.index;
  }
  return items;
}

void PointerActions::mouseMove(int x, int y) {
  // Hovering arms timers of its own: their periods follow the current options.
  if (!m_pointer.pressed()) m_pointer.setSettings(pointerSettings());
  if (m_pointer.dragging()) {
    RECT client{};
    GetClientRect(m_host.window(), &client);
    if (!PtInRect(&client, POINT{x, y}) && !tabDragScrollsAt(client, x)) {
      // Out of the bar the drag goes on as shortcut files for other programs.
      const std::optional<DragItems> dragged = draggedItems();
      cancelPress();
      endButtonDrag();
      if (dragged) m_host.dragLeftBar(*dragged);
      return;
    }
    m_parts.drag.move(m_host.pointerAt());
  }
  const HitGeometry geometry = hitGeometry();
  const Hit hit = slotHit(hitTest(geometry, x, y));
  const int group = groupOfArea(m_pointer.selectionArea());
  // Buttons of the pressed area that the band touches (task entries in the task list).
  auto cellsInRect = [&](const HitRect& band) {
    if (m_settings.taskMode && m_pointer.pressHit().area == hit_area::kTabs) return entriesInBand(band);
    std::vector<int> slots;
    const int area = m_pointer.selectionArea();
    const HitRect clip = area == hit_area::kQuick ? geometry.quickList : geometry.grid;
    for (int slot = 0; group >= 0 && static_cast<size_t>(group) < m_groups.size() &&
                       static_cast<size_t>(slot) < m_groups[static_cast<size_t>(group)].items.size();
         ++slot) {
      auto geo = m_parts.view.slotGeometry(group, slot);
      if (!geo || !m_groups.item(group, slot)) continue;
      if (bandTouches(band, clip, geo->cell)) slots.push_back(slot);
    }
    return slots;
  };
  auto blockOrigin = [&](const std::vector<int>& slots) {
    std::pair<int, int> origin{x, y};
    bool first = true;
    for (int slot : slots) {
      auto geo = m_parts.view.slotGeometry(group, slot);
      if (!geo) continue;
      origin =
          first ? std::pair{geo->cell.left, geo->cell.top}
                : std::pair{std::min(origin.first, geo->cell.left), std::min(origin.second, geo->cell.top)};
      first = false;
    }
    return origin;
  };
  const PointerEffects e =
      m_pointer.move(x, y, hit, m_groups.activeGroup, m_settings.taskMode, cellsInRect, blockOrigin);
  if (!e.armTimers.empty() && hit.area == hit_area::kTabs) m_parts.timers.hovered(hit.index);
  m_parts.timers.note(e);
  apply(e);
  if (m_pointer.dragging()) scrollTabsDuringDrag();
}

std::vector<int> PointerActions::entriesInBand(const HitRect& band) const {
  std::vector<int> entries;
  const BarLayout& layout = m_parts.view.layout();
  const TabLayout tabs = tabLayout(layout, m_settings.taskDispMode);
  const int offset = m_host.tabOffset() * tabs.tabHeight;
  const HitRect area = hitGeometry().tabArea;
  for (int n = 1; static_cast<size_t>(n) < m_parts.tasks.size(); ++n) {
    const PixelRect r = tabRect(layout, tabs, n, offset);
    if (r.top >= area.bottom) break;
    if (bandTouches(band, area, {r.left, r.top, r.right, r.bottom})) entries.push_back(n);
  }
  return entries;
}

bool PointerActions::tabDragScrollsAt(const RECT& client, int x) const {
  // A group tab held above or below the bar, within its width, scrolls the
  // tab rows (scrollTabsDuringDrag); only sideways does it leave the bar.
  return m_pointer.pressHit().area == hit_area::kTabs && !m_settings.taskMode && x >= client.left &&
         x < client.right;
}

void PointerActions::mouseLeave() { apply(m_pointer.leave()); }

Hit PointerActions::hitAt(POINT client) const { return slotHit(hitTest(hitGeometry(), client.x, client.y)); }

void PointerActions::cancelPress() { apply(m_pointer.release(0, 0, Hit{}, {})); }

void PointerActions::selectGroup(int group) {
  PointerEffects select;
  select.selectGroup = group;
  apply(select);
}

void PointerActions::trackLeave() {
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_host.window(), 0};
  TrackMouseEvent(&track);
}

HitGeometry PointerActions::hitGeometry() const {
  const Settings& s = m_settings;
  const GroupTable& groups = m_groups;
  HitState state;
  state.taskMode = s.taskMode;
  const int active = groups.activeGroup;
  if (active > 0 && static_cast<size_t>(active) < groups.size())
    state.buttonMode = groups[static_cast<size_t>(active)].buttonMode;
  state.tabDisplayMode = s.taskMode ? s.taskDispMode : s.groupDispMode;
  const TabLayout tabs = tabLayout(m_parts.view.layout(), state.tabDisplayMode);
  // The group tabs and the task list scroll by rows.
  state.tabScrollOffset = m_host.tabOffset() * tabs.tabHeight;
  state.tabCount = s.taskMode ? static_cast<int>(m_parts.tasks.size()) - 1
                              : std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
  const int rowsOfTabs = (state.tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
  state.groupScrollShown = rowsOfTabs * tabs.tabHeight > m_parts.view.layout().tabArea.height();
  state.clockBox = m_parts.view.readoutBoxes().clock;
  state.loadBox = m_parts.view.readoutBoxes().indicator;
  return hitGeometryFor(m_parts.view.layout(), state);
}

PointerSettings PointerActions::pointerSettings() const {
  const Settings& s = m_settings;
  PointerSettings p;
  p.shiftSelOnly = s.shiftSelOnly;
  p.exeLimit = std::clamp(s.exeLimit, 2, 1000);
  p.dragWidth = systemMetricAt(SM_CXDRAG, m_parts.view.layout().dpi);
  p.dragHeight = systemMetricAt(SM_CYDRAG, m_parts.view.layout().dpi);
  p.intervalAtSel = s.intervalAtSel;
  p.intervalAtDrop = s.intervalAtDrop;
  p.intervalAtScroll = s.intervalAtScroll;
  p.flushTime = s.flushTime;
  return p;
}

int PointerActions::groupOfArea(int area) const {
  return area == hit_area::kQuick ? 0 : m_groups.activeGroup;
}

Hit PointerActions::slotHit(Hit hit) const {
  if (hit.area == hit_area::kGrid && hit.index >= 0)
    hit.index += m_parts.view.firstVisibleSlot(m_groups.activeGroup);
  return hit;
}

PressInput PointerActions::pressInput(int button, int x, int y, bool shift) const {
  PressInput in;
  in.button = button;
  in.x = x;
  in.y = y;
  in.hit = slotHit(hitTest(hitGeometry(), x, y));
  in.shift = shift;
  in.taskMode = m_settings.taskMode;
  const GroupTable& groups = m_groups;
  const int area = in.hit.area;
  if (area == hit_area::kGrid || area == hit_area::kQuick) {
    const int group = groupOfArea(area);
    in.occupied = groups.item(group, in.hit.index) != nullptr;
    if (auto geo = m_parts.view.slotGeometry(group, in.hit.index)) in.image = geo->image;
    in.gridColumns =
        area == hit_area::kQuick
            ? 1
            : gridCells(m_parts.view.layout(), groups[static_cast<size_t>(group)].buttonMode).columns;
  }
  if (area == hit_area::kTabs && !in.taskMode)
    in.placeholderTab = in.hit.index == static_cast<int>(groups.placeholderIndex());
  const int active = groups.activeGroup;
  if (active > 0 && static_cast<size_t>(active) < groups.size()) {
    const Group& g = groups[static_cast<size_t>(active)];
    const CellLayout cells = gridCells(m_parts.view.layout(), g.buttonMode);
    const int perRow = std::max(1, cells.columns * cells.slotsPerH);
    in.groupRows = (static_cast<int>(g.items.size()) + perRow - 1) / perRow;
  }
  return in;
}

ButtonMarks::RepaintButton PointerActions::buttonRepainter() {
  return [this](int group, int slot, ButtonLook look) { m_host.repaintButton(group, slot, look); };
}

void PointerActions::showSelection(bool selected) {
  const std::vector<int> now = selected || m_pointer.pressed() ? m_pointer.selection() : std::vector<int>{};
  m_parts.marks.showSelection(groupOfArea(m_pointer.selectionArea()), now, selected, buttonRepainter());
}

void PointerActions::showHot(const Hit& hot) {
  const int group = hot.area == hit_area::kNone ? -1 : groupOfArea(hot.area);
  m_parts.marks.showHot(group, hot.index, buttonRepainter());
  if (group < 0) return;
  // The hot highlight and the hovered area are forgotten when the pointer leaves the bar.
  trackLeave();
}

void PointerActions::pressBox(const Hit& box) {
  const HitGeometry g = hitGeometry();
  std::optional<HitRect> r;
  switch (box.area) {
    case hit_area::kFunctionKeys:
      if (box.index >= 0 && box.index < 8) r = g.functionKeys[static_cast<size_t>(box.index)];
      break;
    case hit_area::kCaptionBoxes:
      if (box.index >= 0 && box.index < 2) r = g.captionBoxes[static_cast<size_t>(box.index)];
      break;
    case hit_area::kModes:
      if (box.index >= 0 && box.index < 7) r = g.modeButtons[static_cast<size_t>(box.index)];
      break;
    case hit_area::kCommands:
      if (box.index >= 0 && box.index < 9) r = g.commandButtons[static_cast<size_t>(box.index)];
      break;
    case hit_area::kGroupScroll:
      if (box.index >= 0 && box.index < 2) r = g.groupScroll[static_cast<size_t>(box.index)];
      break;
    case hit_area::kLogo:
      r = g.logoBox;
      break;
  }
  m_parts.marks.pressBox(box);
  if (!r) return;
  const PaintKit& kit = m_parts.view.kit();
  if (box.area == hit_area::kGroupScroll) {
    // A held scroll button sinks into a dark bevel; its face stays in place.
    fw::WindowDC dc(m_host.window());
    const RECT face{r->left, r->top, r->right, r->bottom};
    bevel(dc, face, 0, 0, kit.slot(SlotId::kGroupBase).dark[2], Rgb{0, 0, 0}, 1);
    return;
  }
  if (box.area == hit_area::kCaptionBoxes) {
    // A held caption box shows a one-pixel ring in the frame's dark shade; its face stays.
    fw::WindowDC dc(m_host.window());
    const RECT face{r->left, r->top, r->right, r->bottom};
    const Rgb dark = kit.slot(SlotId::kBord).dark[1];
    bevel(dc, face, 1, -1, dark, dark, 1);
    return;
  }
  if (box.area == hit_area::kFunctionKeys) {
    // The key's own pressed face comes with the bar's painting.
    m_host.repaintAll();
    UpdateWindow(m_host.window());
    return;
  }
  // The face sinks with an edge in the dark shade of its area's colour.
  const SlotId slot = box.area == hit_area::kCommands ? SlotId::kCommandButton : SlotId::kBord;
  drawPressedFace(*r, toColorRef(kit.slot(slot).dark[1]));
}

void PointerActions::drawPressedFace(const PixelRect& r, COLORREF edge) {
  if (r.width() <= 1 || r.height() <= 1) return;
  fw::WindowDC dc(m_host.window());
  // The face moves one pixel right and down; the uncovered edge gets the dark shade.
  BitBlt(dc, r.left + 1, r.top + 1, r.width() - 1, r.height() - 1, dc, r.left, r.top, SRCCOPY);
  fw::Pen pen(CreatePen(PS_SOLID, 1, edge));
  fw::SelectScope select(dc, pen.get());
  MoveToEx(dc, r.left, r.bottom - 1, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right, r.top);
}

bool PointerActions::confirmLaunch(int count) {
  UserMessage message;
  message.text = IDS_LAUNCH_MANY;
  message.caption = IDS_LAUNCH_MANY_CAPTION;
  message.count = count;
  return showMessage(m_host.window(), message, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

bool PointerActions::scrollList(int direction) {
  GroupTable& groups = m_groups;
  const int active = groups.activeGroup;
  if (active <= 0 || static_cast<size_t>(active) >= groups.size()) return false;
  Group& g = groups[static_cast<size_t>(active)];
  const CellLayout cells = gridCells(m_parts.view.layout(), g.buttonMode);
  const int perRow = std::max(1, cells.columns * cells.slotsPerH);
  const int rows = (static_cast<int>(g.items.size()) + perRow - 1) / perRow;
  const int offset = std::clamp(g.dispOffset + direction, 0, std::max(0, rows - 1));
  if (offset == g.dispOffset) return false;
  g.dispOffset = offset;
  g.firstVisibleSlot = offset * perRow;
  m_host.repaintAll();
  UpdateWindow(m_host.window());
  return true;
}

void PointerActions::listScrollRepeat(int arrow) {
  const int direction = arrow == 1 ? -1 : 1;
  const ScrollRepeat waits = scrollRepeatDelays(m_settings.scrollTime);
  const PixelRect face = arrow == 1 ? m_parts.view.layout().scrollUp : m_parts.view.layout().scrollDown;
  const COLORREF edge = toColorRef(m_parts.view.kit().slot(SlotId::kApplBase).dark[1]);
  // The arrow is drawn pressed; each scroll repaints the bar and draws it again.
  auto step = [&] {
    if (scrollList(direction)) drawPressedFace(face, edge);
  };
  drawPressedFace(face, edge);
  step();
  // The arrow repeats while the left button stays down; nothing else runs meanwhile.
  DWORD wait = static_cast<DWORD>(waits.firstWait);
  for (;;) {
    Sleep(wait);
    if (GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) >= 0) break;
    step();
    wait = static_cast<DWORD>(waits.nextWait);
  }
  m_host.repaintAll();
}

void PointerActions::apply(const PointerEffects& e) {
  GroupTable& groups = m_groups;
  if (e.contextHelp) m_host.showContextHelp(*e.contextHelp);
  if (e.capture) {
    if (HWND held = GetCapture(); held && held != m_host.window()) ReleaseCapture();
    SetCapture(m_host.window());
  }
  m_parts.timers.stop(e.killTimers);
  if (e.activateArea) {
    m_host.setFocusArea(*e.activateArea);
    m_host.repaintContent();
  }
  if (e.selectGroup && *e.selectGroup >= 1 &&
      static_cast<size_t>(*e.selectGroup) < groups.placeholderIndex()) {
    groups.activeGroup = *e.selectGroup;
    m_parts.marks.forgetSelection();
    m_pointer.clearSelection();
    m_host.repaintContent();
  }
  if (e.bandBegins) {
    // The entry held at the press is not switched to; Ctrl keeps the marks made before.
    m_parts.tasks.beginBand(GetKeyState(VK_CONTROL) < 0);
    m_parts.tasks.press(0);
  }
  if (e.bandEntries && (m_parts.tasks.bandTouches(*e.bandEntries) || e.bandBegins)) {
    // The list is drawn again at once, the old band with it; then the new band.
    m_parts.marks.showBand(m_host.window(), std::nullopt);
    m_host.repaintContent();
    UpdateWindow(m_host.window());
  }
  if (e.eraseBand || e.drawBand) m_parts.marks.showBand(m_host.window(), e.drawBand);
  if (e.repaintHighlights) showSelection(true);
  if (e.drawReleased)
    m_host.repaintButton(groupOfArea(m_pointer.selectionArea()), *e.drawReleased, {false, true});
  if (!e.drawPressed.empty()) {
    const int group = groupOfArea(m_pointer.selectionArea());
    const COLORREF edge = toColorRef(m_parts.view.kit().slot(SlotId::kApplBase).dark[1]);
    for (int slot : e.drawPressed) {
      if (auto geo = m_parts.view.slotGeometry(group, slot)) drawPressedFace(geo->cell, edge);
    }
  }
  if (e.startButtonDrag)
    beginButtonDrag(groupOfArea(m_pointer.selectionArea()), m_pointer.selection(), e.dragOffsetX,
                    e.dragOffsetY);
  if (e.startTabDrag) beginTabDrag(*e.startTabDrag);
  if (e.hoverArea) {
    trackLeave();
    if (*e.hoverArea != m_host.focusArea()) {
      m_host.setFocusArea(*e.hoverArea);
      m_host.repaintContent();
    }
  }
  if (e.hot) showHot(*e.hot);
  if (e.pressedTask) {
    m_parts.tasks.press(*e.pressedTask);
    m_host.repaintContent();
  }
  if (e.pressedBox) {
    pressBox(*e.pressedBox);
    // The logo and HELP open their menus on the press, which take the release.
    if (m_host.pressOpensMenu(*e.pressedBox)) return;
  }
  if (e.toggle24Hour) {
    m_settings.is24Hour = !m_settings.is24Hour;
    m_host.clockFormatChanged();
  }
  m_parts.timers.arm(e.armTimers);
  if (e.releaseCapture && GetCapture() == m_host.window()) ReleaseCapture();
  if ((e.releaseCapture || e.boxCommand) && m_parts.marks.releaseBox()) m_host.repaintAll();
  if (e.boxCommand) m_host.runBoxCommand(*e.boxCommand);
  for (int slot : e.launchSlots) m_host.launchItem(groupOfArea(m_pointer.selectionArea()), slot);
  if (e.listScrollRepeat) listScrollRepeat(*e.listScrollRepeat);
  if (e.contextMenu) {
    POINT at{};
    GetCursorPos(&at);
    m_host.openContextMenu(*e.contextMenu, at);
  }
  if (e.switchToTask) {
    // The entry of the pressed window, wherever the list has put it meanwhile.
    const int entry = m_parts.tasks.pressedEntryNow();
    bool marksChanged = false;
    if (entry == 0) {
      MessageBeep(MB_OK);
    } else if (!m_parts.tasks.click(entry, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                                    &marksChanged)) {
      // Ctrl or Shift marks entries instead of switching.
      if (marksChanged) m_host.repaintContent();
    } else if (m_parts.tasks.runCommand(entry, kTaskSwitchTo, m_settings.dispTaskDetails != 0) &&
               m_settings.lockLevel == 0) {
      m_host.hideAfterTaskSwitch();
    }
  }
}

void PointerActions::animatePromptButton(int group, int slot) {
  const std::optional<ButtonGeometry> geo = m_parts.view.slotGeometry(group, slot);
  if (!m_host.window() || !geo) return;
  HINSTANCE self = GetModuleHandleW(nullptr);
  fw::Bitmap pattern(static_cast<HBITMAP>(
      LoadImageW(self, MAKEINTRESOURCEW(IDB_PRESS_PATTERN), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)));
  if (!pattern) FW_TRACE_FAILURE("LoadImageW");
  fw::WindowDC dc(m_host.window());
  const RECT cell{geo->cell.left, geo->cell.top, geo->cell.right, geo->cell.bottom};
  // The strip first, then the face sinks a pixel at a time, each step on screen.
  for (int step = 0; step <= kPressShifts; ++step) {
    pressAnimationStep(dc, cell, pattern.get(), step);
    GdiFlush();
    Sleep(30);
  }
}

bool PointerActions::pointerOverTab(int group) const {
  POINT p;
  if (!GetCursorPos(&p) || !ScreenToClient(m_host.window(), &p)) return false;
  const Hit hit = hitTest(hitGeometry(), p.x, p.y);
  return hit.area == hit_area::kTabs && hit.index == group;
}

bool PointerActions::timer(UINT_PTR id) {
  switch (id) {
    case kTimerHoverGroup: {
      // A pointer that passed over the tab and went on does not open its group.
      const int group = m_parts.timers.hoverFired();
      if (group > 0 && static_cast<size_t>(group) < m_groups.placeholderIndex() && pointerOverTab(group)) {
        m_groups.activeGroup = group;
        m_host.repaintAll();
      }
      return true;
    }
    case kTimerBlink:
      showSelection(m_parts.timers.toggleBlink());
      return true;
    case kTimerDragScroll: {
      // A drag resting on a list scroll arrow scrolls a row per tick.
      const POINT at = m_host.pointerAt();
      const Hit hit = hitTest(hitGeometry(), at.x, at.y);
      if (!m_pointer.dragging() || hit.area != hit_area::kListScroll) {
        m_parts.timers.kill(kTimerDragScroll);
        return true;
      }
      {
        // The drag picture is hidden while the grid is drawn under it.
        ButtonDrag::Hidden hidden(m_parts.drag);
        scrollList(hit.index == 1 ? -1 : 1);
      }
      // The first tick came after twice IntervalAtScroll; the following ones
      // leave time to aim a drop between rows.
      const long long period = std::clamp(20LL * m_settings.intervalAtScroll, 10LL, 0x7FFFFFFFLL);
      m_parts.timers.rearm(kTimerDragScroll, static_cast<int>(period));
      return true;
    }
    case kTimerGroupScroll: {
      // The group scroll button repeats while it is held.
      const std::optional<Hit>& held = m_parts.marks.pressedBox();
      if (!held || held->area != hit_area::kGroupScroll) {
        m_parts.timers.kill(kTimerGroupScroll);
        return true;
      }
      // The group tabs or the task list, a row a tick.
      m_host.scrollTabsTo(m_host.tabOffset() + (held->index == 0 ? -1 : 1));
      return true;
    }
    default:
      return false;
  }
}

void PointerActions::beginButtonDrag(int group, const std::vector<int>& slots, int offsetX, int offsetY) {
  std::vector<PixelRect> cells;
  for (int slot : slots) {
    if (const auto geo = m_parts.view.slotGeometry(group, slot)) cells.push_back(geo->cell);
  }
  endButtonDrag();
  m_parts.drag.begin(m_host.window(), m_parts.view.image(), cells, {offsetX, offsetY}, m_host.pointerAt(),
                     false);
}

void PointerActions::beginTabDrag(int group) {
  const TabLayout tabs = tabLayout(m_parts.view.layout(), m_settings.groupDispMode);
  const PixelRect tab =
      tabRect(m_parts.view.layout(), tabs, group, m_groups.dispGroupOffset * tabs.tabHeight);
  endButtonDrag();
  const POINT at = m_host.pointerAt();
  m_parts.drag.begin(m_host.window(), m_parts.view.image(), {tab}, {at.x - tab.left, at.y - tab.top}, at,
                     true);
}

void PointerActions::endButtonDrag() {
  if (m_parts.drag.end(m_host.window())) m_host.repaintAll();
}

void PointerActions::scrollTabsDuringDrag() {
  if (m_settings.taskMode) return;
  GroupTable& groups = m_groups;
  const TabLayout tabs = tabLayout(m_parts.view.layout(), m_settings.groupDispMode);
  const int tabCount = std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
  const int rows = (tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
  const int shownRows = std::max(1, m_parts.view.layout().tabArea.height() / std::max(1, tabs.tabHeight));
  ButtonDrag::TabScroll scroll;
  scroll.areaTop = m_parts.view.layout().tabArea.top;
  scroll.areaBottom = m_parts.view.layout().tabArea.bottom;
  scroll.intervalMs = m_settings.intervalAtScroll;
  scroll.scrollBy = [&](int step) {
    const int offset = std::clamp(groups.dispGroupOffset + step, 0, std::max(0, rows - shownRows));
    if (offset == groups.dispGroupOffset) return false;
    groups.dispGroupOffset = offset;
    m_host.repaintAll();
    return true;
  };
  scroll.stillDragging = [this] { return m_pointer.dragging(); };
  m_parts.drag.scrollTabs(m_host.window(), scroll);
}

}  // namespace vorbin
