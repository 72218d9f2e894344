// Press, move and release on the bar: selection, rubber band, drags, hover
// timers, boxes and the start of the selected buttons.
#include "launcher/interact/bar_pointer.h"

#include <algorithm>

#include "launcher/interact/press_rules.h"

namespace vorbin {

namespace {

bool isBoxArea(int area) {
  using namespace hit_area;
  return area == kFunctionKeys || area == kCommands || area == kLogo || area == kModes ||
         area == kCaptionBoxes || area == kGroupScroll;
}

}  // namespace

bool BarPointer::isSelected(int slot) const {
  return std::find(m_selection.begin(), m_selection.end(), slot) != m_selection.end();
}

HitRect BarPointer::bandTo(int x, int y, PointerEffects& e) {
  const HitRect band{std::min(m_pressX, x), std::min(m_pressY, y), std::max(m_pressX, x) + 1,
                     std::max(m_pressY, y) + 1};
  e.drawBand = band;
  m_band = band;
  return band;
}

PointerEffects BarPointer::taskMove(int x, int y, const CellsInRect& cellsInRect) {
  PointerEffects e;
  // Entries are not dragged: moving a held one (or from an empty place of the
  // list) draws a rubber band that marks what it touches.
  if (m_button != 1 || !m_taskBandAllowed) return e;
  if (!m_taskBand &&
      !beyondDragDistance(x - m_pressX, y - m_pressY, m_settings.dragWidth, m_settings.dragHeight))
    return e;
  e.bandBegins = !m_taskBand;
  m_taskBand = true;
  const HitRect band = bandTo(x, y, e);
  e.bandEntries = cellsInRect ? cellsInRect(band) : std::vector<int>{};
  return e;
}

void BarPointer::select(int slot) {
  m_selection.assign(1, slot);
  m_selectionArea = m_pressHit.area;
}

PointerEffects BarPointer::press(const PressInput& input, int activeArea, int currentGroup) {
  using namespace hit_area;
  PointerEffects e;
  if (input.modal) return e;
  const int area = input.hit.area;
  const int index = input.hit.index;
  if (input.button == 2 && !isButtonArea(area) && area != kTabs) {
    if (const int help = contextHelpId(area, index); help != 0) e.contextHelp = help;
    return e;
  }
  m_pressed = true;
  m_dragging = false;
  m_band.reset();
  m_button = input.button;
  m_pressX = input.x;
  m_pressY = input.y;
  m_pressHit = input.hit;
  m_pressOccupied = input.occupied;
  m_placeholderTab = input.placeholderTab;
  m_taskPress = area == kTabs && input.taskMode;
  m_taskBand = false;
  // As with buttons: with ShiftSelOnly only a press with Shift may draw a band.
  m_taskBandAllowed = !m_settings.shiftSelOnly || input.shift;
  e.capture = true;
  if ((area == kTabs || isButtonArea(area)) && area != activeArea) e.activateArea = area;

  switch (area) {
    case kTabs:
      if (m_taskPress) {
        if (index >= 1) e.pressedTask = index;
      } else if (index != currentGroup || index < 0) {
        e.selectGroup = index;
      }
      break;
    case kGrid:
    case kQuick: {
      const bool wasBlinking = m_blinking;
      if (wasBlinking) e.killTimers.push_back(kTimerBlink);
      m_blinking = false;
      if (m_selectionArea != area) m_selection.clear();
      PressFacts facts;
      facts.area = area;
      facts.gridColumns = input.gridColumns;
      facts.occupied = input.occupied && index >= 0;
      facts.shift = input.shift;
      facts.shiftSelOnly = m_settings.shiftSelOnly;
      facts.blinkingAndSelected = wasBlinking && isSelected(index);
      facts.image = input.image;
      facts.x = input.x;
      facts.y = input.y;
      m_selectMode = pressSelectionMode(facts);
      if (facts.occupied && !isSelected(index)) {
        select(index);
        e.repaintHighlights = true;
      }
      if (input.button == 1 && m_selectMode == select_mode::kButton && facts.occupied)
        e.drawPressed = m_selection;
      break;
    }
    case kClock:
      e.toggle24Hour = true;
      break;
    case kListScroll:
      if (input.button == 1 && input.groupRows > 1) e.listScrollRepeat = index;
      break;
    case kGroupScroll:
      e.pressedBox = input.hit;
      e.armTimers.push_back({kTimerGroupScroll, m_settings.intervalAtScroll / 4});
      e.killTimers.push_back(kTimerHoverGroup);
      break;
    default:
      if (isBoxArea(area)) e.pressedBox = input.hit;
      break;
  }
  return e;
}

PointerEffects BarPointer::move(int x, int y, const Hit& hit, int currentGroup, bool taskMode,
                                const CellsInRect& cellsInRect, const BlockOrigin& blockOrigin) {
  using namespace hit_area;
  PointerEffects e;
  // Hovering (also while dragging): another group's tab opens after a delay.
  const bool hoverTab = hit.area == kTabs && hit.index >= 1 && hit.index != currentGroup && !taskMode;
  if (!m_pressed || m_dragging) {
    // An interval of -1 turns the hover switch off: nothing is armed, so
    // nothing waits for a timer that would not fire for weeks.
    const int hoverWait = m_dragging ? m_settings.intervalAtDrop : m_settings.intervalAtSel;
    if (hoverTab && m_hoverGroup != hit.index && hoverWait >= 0)
      e.armTimers.push_back({kTimerHoverGroup, hoverWait});
    m_hoverGroup = hoverTab ? std::optional<int>(hit.index) : std::nullopt;
    if (m_dragging) {
      // Coming onto a list scroll arrow: the list scrolls after a longer first wait.
      if (hit.area == kListScroll && m_dragOver.code() != hit.code())
        e.armTimers.push_back({kTimerDragScroll, 2 * m_settings.intervalAtScroll});
      m_dragOver = hit;
    } else {
      const bool activatable = hit.area == kTabs || isButtonArea(hit.area);
      if (activatable && hit.area != m_hoverArea) e.hoverArea = hit.area;
      m_hoverArea = hit.area;
    }
    const Hit hot = isButtonArea(hit.area) && hit.index >= 0 ? hit : Hit{};
    if (hot.code() != m_hot.code()) {
      m_hot = hot;
      e.hot = hot;
    }
    return e;
  }
  if (m_taskPress) return taskMove(x, y, cellsInRect);
  if (m_selectMode != select_mode::kBand &&
      !beyondDragDistance(x - m_pressX, y - m_pressY, m_settings.dragWidth, m_settings.dragHeight)) {
    return e;
  }
  const int area = m_pressHit.area;
  if (m_button != 1) return e;
  if (area == kTabs) {
    if (!m_placeholderTab && m_pressHit.index >= 1) {
      e.startTabDrag = m_pressHit.index;
      m_dragging = true;
      m_dragOver = m_pressHit;
    }
    return e;
  }
  if (!isButtonArea(area)) return e;
  if (m_selectMode == select_mode::kBandPrepared || m_selectMode == select_mode::kBand) {
    m_selectMode = select_mode::kBand;
    const HitRect band = bandTo(x, y, e);
    m_selection = cellsInRect ? cellsInRect(band) : std::vector<int>{};
    m_selectionArea = area;
    e.repaintHighlights = true;
    return e;
  }
  if (m_selection.empty()) return e;
  e.drawReleased = m_pressHit.index;
  const auto [left, top] = blockOrigin ? blockOrigin(m_selection) : std::pair<int, int>{m_pressX, m_pressY};
  e.dragOffsetX = m_pressX - left;
  e.dragOffsetY = m_pressY - top;
  e.startButtonDrag = true;
  m_dragging = true;
  m_dragOver = m_pressHit;
  return e;
}

PointerEffects BarPointer::release(int /*x*/, int /*y*/, const Hit& hit, const Confirm& confirm) {
  using namespace hit_area;
  PointerEffects e;
  if (!m_pressed) return e;
  m_pressed = false;
  e.releaseCapture = true;
  const int area = m_pressHit.area;
  if (m_dragging) {
    // The drop itself is the bar's drag handling; the button under the
    // pointer stays hot.
    m_dragging = false;
    m_dragOver = Hit{};
    return e;
  }
  if (m_taskPress) {
    // A left release over the pressed entry switches to its window.
    if (m_pressHit.index >= 1) e.pressedTask = 0;
    if (m_taskBand) {
      // The band marked the entries while it moved; it only goes away.
      m_taskBand = false;
      if (m_band) e.eraseBand = true;
      m_band.reset();
      return e;
    }
    if (m_button == 1 && m_pressHit.index >= 1 && hit.code() == m_pressHit.code())
      e.switchToTask = m_pressHit.index;
    if (m_button == 2 && m_pressHit.index >= 1) e.contextMenu = m_pressHit;
    return e;
  }
  if (m_button == 2) {
    if (isButtonArea(area) && m_pressHit.index >= 0) e.contextMenuSlot = m_pressHit.index;
    if ((isButtonArea(area) || area == kTabs) && m_pressHit.index >= 0) e.contextMenu = m_pressHit;
    return e;
  }
  if (isBoxArea(area)) {
    if (hit.area == area && hit.index == m_pressHit.index) e.boxCommand = m_pressHit;
    return e;
  }
  if (!isButtonArea(area)) return e;
  if (m_selectMode == select_mode::kBand) {
    if (m_band) e.eraseBand = true;
    m_band.reset();
    if (!m_selection.empty()) {
      m_selectMode = select_mode::kBlinking;
      m_blinking = true;
      e.armTimers.push_back({kTimerBlink, m_settings.flushTime});
    } else {
      m_selectMode = select_mode::kButton;
    }
    return e;
  }
  if (!m_pressOccupied || m_pressHit.index < 0) return e;
  if (m_selection.empty()) select(m_pressHit.index);
  e.repaintHighlights = true;
  const int count = static_cast<int>(m_selection.size());
  if (launchNeedsConfirmation(count, m_settings.exeLimit) && !(confirm && confirm(count))) {
    e.confirmDeclined = true;
    return e;
  }
  e.launchSlots = m_selection;
  return e;
}

PointerEffects BarPointer::leave() {
  PointerEffects e;
  // A held button keeps the capture; its release ends what it began.
  if (m_pressed) return e;
  if (m_hot.area != hit_area::kNone) e.hot = Hit{};
  m_hot = Hit{};
  m_hoverGroup.reset();
  m_hoverArea = hit_area::kNone;
  return e;
}

}  // namespace vorbin
