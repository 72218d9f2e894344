// The bar's mouse operations on its hit areas: the hit geometry from the
// bar's layout, and carrying out what the pointer state machine decides
// (the boxes it presses are bar_boxes.cpp).
#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "framework/gdi.h"
#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/bar/bar_rules.h"
#include "launcher/bar/bar_window.h"
#include "launcher/interact/hit_layout.h"
#include "launcher/interact/press_rules.h"
#include "launcher/interact/task_commands.h"
#include "launcher/render/bitmap_ids.h"
#include "launcher/render/blit.h"
#include "launcher/render/paint_primitives.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

HitGeometry CBarWindow::hitGeometry() const {
  const Settings& s = m_context.settings;
  const GroupTable& groups = m_context.groups;
  HitState state;
  state.taskMode = s.taskMode;
  const int active = groups.activeGroup;
  if (active > 0 && static_cast<size_t>(active) < groups.size())
    state.buttonMode = groups[static_cast<size_t>(active)].buttonMode;
  state.tabDisplayMode = s.taskMode ? s.taskDispMode : s.groupDispMode;
  const TabLayout tabs = tabLayout(layout(), state.tabDisplayMode);
  // The task list is drawn from its first entry; the group tabs scroll by rows.
  state.tabScrollOffset = s.taskMode ? 0 : groups.dispGroupOffset * tabs.tabHeight;
  state.tabCount = s.taskMode ? static_cast<int>(m_tasks.size()) - 1
                              : std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
  const int rowsOfTabs = (state.tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
  state.groupScrollShown = !s.taskMode && rowsOfTabs * tabs.tabHeight > layout().tabArea.height();
  state.clockBox = m_view.readoutBoxes().clock;
  state.loadBox = m_view.readoutBoxes().indicator;
  return hitGeometryFor(layout(), state);
}

PointerSettings CBarWindow::pointerSettings() const {
  const Settings& s = m_context.settings;
  PointerSettings p;
  p.shiftSelOnly = s.shiftSelOnly;
  p.exeLimit = std::clamp(s.exeLimit, 2, 1000);
  p.dragWidth = GetSystemMetrics(SM_CXDRAG);
  p.dragHeight = GetSystemMetrics(SM_CYDRAG);
  p.intervalAtSel = s.intervalAtSel;
  p.intervalAtDrop = s.intervalAtDrop;
  p.intervalAtScroll = s.intervalAtScroll;
  p.flushTime = s.flushTime;
  return p;
}

int CBarWindow::groupOfArea(int area) const {
  return area == hit_area::kQuick ? 0 : m_context.groups.activeGroup;
}

Hit CBarWindow::slotHit(Hit hit) const {
  if (hit.area == hit_area::kGrid && hit.index >= 0)
    hit.index += m_view.firstVisibleSlot(m_context.groups.activeGroup);
  return hit;
}

PressInput CBarWindow::pressInput(int button, int x, int y, bool shift) const {
  PressInput in;
  in.button = button;
  in.x = x;
  in.y = y;
  in.hit = slotHit(hitTest(hitGeometry(), x, y));
  in.shift = shift;
  in.taskMode = taskMode();
  const GroupTable& groups = m_context.groups;
  const int area = in.hit.area;
  if (area == hit_area::kGrid || area == hit_area::kQuick) {
    const int group = groupOfArea(area);
    in.occupied = groups.item(group, in.hit.index) != nullptr;
    if (auto geo = slotGeometry(group, in.hit.index)) in.image = geo->image;
    in.gridColumns = area == hit_area::kQuick
                         ? 1
                         : gridCells(layout(), groups[static_cast<size_t>(group)].buttonMode).columns;
  }
  if (area == hit_area::kTabs && !in.taskMode)
    in.placeholderTab = in.hit.index == static_cast<int>(groups.placeholderIndex());
  const int active = groups.activeGroup;
  if (active > 0 && static_cast<size_t>(active) < groups.size()) {
    const Group& g = groups[static_cast<size_t>(active)];
    const CellLayout cells = gridCells(layout(), g.buttonMode);
    const int perRow = std::max(1, cells.columns * cells.slotsPerH);
    in.groupRows = (static_cast<int>(g.items.size()) + perRow - 1) / perRow;
  }
  return in;
}

ButtonMarks::RepaintButton CBarWindow::buttonRepainter() {
  return [this](int group, int slot, ButtonLook look) { repaintButton(group, slot, look); };
}

void CBarWindow::showSelection(bool selected) {
  const std::vector<int> now = selected || m_pointer.pressed() ? m_pointer.selection() : std::vector<int>{};
  m_marks.showSelection(groupOfArea(m_pointer.selectionArea()), now, selected, buttonRepainter());
}

void CBarWindow::showHot(const Hit& hot) {
  const int group = hot.area == hit_area::kNone ? -1 : groupOfArea(hot.area);
  m_marks.showHot(group, hot.index, buttonRepainter());
  if (group < 0) return;
  // The hot highlight and the hovered area are forgotten when the pointer leaves the bar.
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hwnd, 0};
  TrackMouseEvent(&track);
}

LRESULT CBarWindow::onMouseLeave(WPARAM, LPARAM) {
  applyPointerEffects(m_pointer.leave());
  return 0;
}

void CBarWindow::drawPressedFace(const PixelRect& r, COLORREF edge) {
  if (r.width() <= 1 || r.height() <= 1) return;
  fw::WindowDC dc(m_hwnd);
  // The face moves one pixel right and down; the uncovered edge gets the dark shade.
  BitBlt(dc, r.left + 1, r.top + 1, r.width() - 1, r.height() - 1, dc, r.left, r.top, SRCCOPY);
  fw::Pen pen(CreatePen(PS_SOLID, 1, edge));
  fw::SelectScope select(dc, pen.get());
  MoveToEx(dc, r.left, r.bottom - 1, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right, r.top);
}

bool CBarWindow::confirmLaunch(int count) {
  return showMessage(m_hwnd, {.text = IDS_LAUNCH_MANY, .caption = IDS_LAUNCH_MANY_CAPTION, .count = count},
                     MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

bool CBarWindow::scrollList(int direction) {
  GroupTable& groups = m_context.groups;
  const int active = groups.activeGroup;
  if (active <= 0 || static_cast<size_t>(active) >= groups.size()) return false;
  Group& g = groups[static_cast<size_t>(active)];
  const CellLayout cells = gridCells(layout(), g.buttonMode);
  const int perRow = std::max(1, cells.columns * cells.slotsPerH);
  const int rows = (static_cast<int>(g.items.size()) + perRow - 1) / perRow;
  const int offset = std::clamp(g.dispOffset + direction, 0, std::max(0, rows - 1));
  if (offset == g.dispOffset) return false;
  g.dispOffset = offset;
  g.firstVisibleSlot = offset * perRow;
  repaintAll();
  UpdateWindow(m_hwnd);
  return true;
}

void CBarWindow::listScrollRepeat(int arrow) {
  const int direction = arrow == 1 ? -1 : 1;
  const ScrollRepeat waits = scrollRepeatDelays(m_context.settings.scrollTime);
  const PixelRect face = arrow == 1 ? layout().scrollUp : layout().scrollDown;
  const COLORREF edge = toColorRef(m_view.kit().slot(SlotId::kApplBase).dark[1]);
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
  repaintAll();
}

void CBarWindow::showContextHelpPopup(int id) {
  const std::wstring& folder = m_context.settings.programFolder;
  auto exists = [&](const wchar_t* name) {
    return GetFileAttributesW((folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  const auto file =
      contextHelpFile(m_context.settings.language, exists(L"vorbin2Kj.hlp"), exists(L"vorbin2Ke.hlp"));
  // Without help files beside the program a right click has nothing to show.
  if (!file) return;
  const std::wstring path = folder + std::wstring(*file);
  WinHelpW(m_hwnd, path.c_str(), HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(id));
}

void CBarWindow::applyPointerEffects(const PointerEffects& e) {
  GroupTable& groups = m_context.groups;
  if (e.contextHelp) showContextHelpPopup(*e.contextHelp);
  if (e.capture) {
    if (HWND held = GetCapture(); held && held != m_hwnd) ReleaseCapture();
    SetCapture(m_hwnd);
  }
  m_timers.stop(e.killTimers);
  if (e.activateArea) {
    m_currentArea = *e.activateArea;
    repaintContent();
  }
  if (e.selectGroup && *e.selectGroup >= 1 &&
      static_cast<size_t>(*e.selectGroup) < groups.placeholderIndex()) {
    groups.activeGroup = *e.selectGroup;
    m_marks.forgetSelection();
    m_pointer.clearSelection();
    repaintContent();
  }
  if (e.eraseBand || e.drawBand) m_marks.showBand(m_hwnd, e.drawBand);
  if (e.repaintHighlights) showSelection(true);
  if (e.drawReleased) repaintButton(groupOfArea(m_pointer.selectionArea()), *e.drawReleased, {false, true});
  if (!e.drawPressed.empty()) {
    const int group = groupOfArea(m_pointer.selectionArea());
    const COLORREF edge = toColorRef(m_view.kit().slot(SlotId::kApplBase).dark[1]);
    for (int slot : e.drawPressed) {
      if (auto geo = slotGeometry(group, slot)) drawPressedFace(geo->cell, edge);
    }
  }
  if (e.startButtonDrag)
    beginButtonDrag(groupOfArea(m_pointer.selectionArea()), m_pointer.selection(), e.dragOffsetX,
                    e.dragOffsetY);
  if (e.startTabDrag) beginTabDrag(*e.startTabDrag);
  if (e.hoverArea) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hwnd, 0};
    TrackMouseEvent(&track);
    if (*e.hoverArea != m_currentArea) {
      m_currentArea = *e.hoverArea;
      repaintContent();
    }
  }
  if (e.hot) showHot(*e.hot);
  if (e.pressedTask) {
    m_tasks.press(*e.pressedTask);
    repaintContent();
  }
  if (e.pressedBox) pressBox(*e.pressedBox);
  if (e.toggle24Hour) {
    m_context.settings.is24Hour = !m_context.settings.is24Hour;
    m_view.computeLayout(m_placer.height());
    repaintAll();
  }
  m_timers.arm(e.armTimers);
  if (e.releaseCapture && GetCapture() == m_hwnd) ReleaseCapture();
  if ((e.releaseCapture || e.boxCommand) && m_marks.releaseBox()) repaintAll();
  if (e.boxCommand) runBoxCommand(*e.boxCommand);
  for (int slot : e.launchSlots) launchItemAt(groupOfArea(m_pointer.selectionArea()), slot);
  if (e.listScrollRepeat) listScrollRepeat(*e.listScrollRepeat);
  if (e.switchToTask) {
    // The entry of the pressed window, wherever the list has put it meanwhile.
    const int entry = m_tasks.pressedEntryNow();
    if (entry == 0) {
      MessageBeep(MB_OK);
    } else if (m_tasks.runCommand(entry, kTaskSwitchTo, m_context.settings.dispTaskDetails != 0) &&
               lockLevel() == 0) {
      hideBar(kHidePlain);
    }
  }
}

void CBarWindow::animatePromptButton(int group, int slot) {
  const std::optional<ButtonGeometry> geo = slotGeometry(group, slot);
  if (!m_hwnd || !geo) return;
  HINSTANCE self = GetModuleHandleW(nullptr);
  fw::Bitmap pattern(static_cast<HBITMAP>(
      LoadImageW(self, MAKEINTRESOURCEW(IDB_PRESS_PATTERN), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)));
  if (!pattern) FW_TRACE_FAILURE("LoadImageW");
  fw::WindowDC dc(m_hwnd);
  const RECT cell{geo->cell.left, geo->cell.top, geo->cell.right, geo->cell.bottom};
  // The strip first, then the face sinks a pixel at a time, each step on screen.
  for (int step = 0; step <= kPressShifts; ++step) {
    pressAnimationStep(dc, cell, pattern.get(), step);
    GdiFlush();
    Sleep(30);
  }
}

bool CBarWindow::pointerOverTab(int group) const {
  POINT p;
  if (!GetCursorPos(&p) || !ScreenToClient(m_hwnd, &p)) return false;
  const Hit hit = hitTest(hitGeometry(), p.x, p.y);
  return hit.area == hit_area::kTabs && hit.index == group;
}

bool CBarWindow::pointerTimer(UINT_PTR id) {
  switch (id) {
    case kTimerHoverGroup: {
      // A pointer that passed over the tab and went on does not open its group.
      const int group = m_timers.hoverFired();
      if (group > 0 && static_cast<size_t>(group) < m_context.groups.placeholderIndex() &&
          pointerOverTab(group)) {
        m_context.groups.activeGroup = group;
        repaintAll();
      }
      return true;
    }
    case kTimerBlink:
      showSelection(m_timers.toggleBlink());
      return true;
    case kTimerDragScroll: {
      // A drag resting on a list scroll arrow scrolls a row per tick.
      const Hit hit = hitTest(hitGeometry(), m_pointerAt.x, m_pointerAt.y);
      if (!m_pointer.dragging() || hit.area != hit_area::kListScroll) {
        m_timers.kill(kTimerDragScroll);
        return true;
      }
      {
        // The drag picture is hidden while the grid is drawn under it.
        ButtonDrag::Hidden hidden(m_drag);
        scrollList(hit.index == 1 ? -1 : 1);
      }
      // The first tick came after twice IntervalAtScroll; the following ones
      // leave time to aim a drop between rows.
      const long long period = std::clamp(20LL * m_context.settings.intervalAtScroll, 10LL, 0x7FFFFFFFLL);
      m_timers.rearm(kTimerDragScroll, static_cast<int>(period));
      return true;
    }
    case kTimerGroupScroll: {
      // The group scroll button repeats while it is held.
      const std::optional<Hit>& held = m_marks.pressedBox();
      if (!held || held->area != hit_area::kGroupScroll) {
        m_timers.kill(kTimerGroupScroll);
        return true;
      }
      GroupTable& groups = m_context.groups;
      const TabLayout tabs = tabLayout(layout(), m_context.settings.groupDispMode);
      const int tabCount = std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
      const int rows = (tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
      const int shownRows = std::max(1, layout().tabArea.height() / std::max(1, tabs.tabHeight));
      const int step = held->index == 0 ? -1 : 1;
      const int offset = std::clamp(groups.dispGroupOffset + step, 0, std::max(0, rows - shownRows));
      if (offset != groups.dispGroupOffset) {
        groups.dispGroupOffset = offset;
        repaintAll();
      }
      return true;
    }
    default:
      return false;
  }
}

void CBarWindow::beginButtonDrag(int group, const std::vector<int>& slots, int offsetX, int offsetY) {
  std::vector<PixelRect> cells;
  for (int slot : slots) {
    if (const auto geo = slotGeometry(group, slot)) cells.push_back(geo->cell);
  }
  endButtonDrag();
  m_drag.begin(m_hwnd, m_view.image(), cells, {offsetX, offsetY}, m_pointerAt, false);
}

void CBarWindow::beginTabDrag(int group) {
  const TabLayout tabs = tabLayout(layout(), m_context.settings.groupDispMode);
  const PixelRect tab = tabRect(layout(), tabs, group, m_context.groups.dispGroupOffset * tabs.tabHeight);
  endButtonDrag();
  m_drag.begin(m_hwnd, m_view.image(), {tab}, {m_pointerAt.x - tab.left, m_pointerAt.y - tab.top},
               m_pointerAt, true);
}

void CBarWindow::endButtonDrag() {
  if (m_drag.end(m_hwnd)) repaintAll();
}

void CBarWindow::scrollTabsDuringDrag() {
  if (taskMode()) return;
  GroupTable& groups = m_context.groups;
  const TabLayout tabs = tabLayout(layout(), m_context.settings.groupDispMode);
  const int tabCount = std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
  const int rows = (tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
  const int shownRows = std::max(1, layout().tabArea.height() / std::max(1, tabs.tabHeight));
  ButtonDrag::TabScroll scroll;
  scroll.areaTop = layout().tabArea.top;
  scroll.areaBottom = layout().tabArea.bottom;
  scroll.intervalMs = m_context.settings.intervalAtScroll;
  scroll.scrollBy = [&](int step) {
    const int offset = std::clamp(groups.dispGroupOffset + step, 0, std::max(0, rows - shownRows));
    if (offset == groups.dispGroupOffset) return false;
    groups.dispGroupOffset = offset;
    repaintAll();
    return true;
  };
  scroll.stillDragging = [this] { return m_pointer.dragging(); };
  m_drag.scrollTabs(m_hwnd, scroll);
}

}  // namespace vorbin
