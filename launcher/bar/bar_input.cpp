// Mouse and keyboard on the bar: the vertical resize, and the keyboard
// bindings that press and release the bar's buttons.
#include "launcher/bar/bar_window.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "launcher/interact/press_rules.h"

namespace vorbin {

namespace {
bool keyDown(int vk) { return GetKeyState(vk) < 0; }

// The band, clipped to its area, touches the cell.
bool bandTouches(const HitRect& band, const HitRect& area, const HitRect& cell) {
  const HitRect clipped{std::max(band.left, area.left), std::max(band.top, area.top),
                        std::min(band.right, area.right), std::min(band.bottom, area.bottom)};
  return clipped.left < cell.right && cell.left < clipped.right && clipped.top < cell.bottom &&
         cell.top < clipped.bottom;
}
}  // namespace

LRESULT CBarWindow::onButtonDown(WPARAM wParam, LPARAM lParam) {
  SetFocus(m_hwnd);
  if (m_placer.busy() || m_pointer.pressed()) return 0;
  // The message's own button: with both held, the one that just went down is the other one's partner.
  const int button = (wParam & MK_RBUTTON) && !(wParam & MK_LBUTTON) ? 2 : 1;
  m_pointer.setSettings(pointerSettings());
  const PressInput in =
      pressInput(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0);
  const bool blinking = m_pointer.selectMode() == select_mode::kBlinking;
  PointerEffects e = m_pointer.press(in, m_currentArea, m_context.groups.activeGroup);
  if (blinking && m_pointer.selectMode() != select_mode::kBlinking) {
    m_timers.kill(kTimerBlink);
    showSelection(true);
  }
  m_timers.note(e);
  applyPointerEffects(e);
  return 0;
}

LRESULT CBarWindow::onButtonUp(WPARAM, LPARAM lParam) {
  if (m_placer.endResize()) {
    m_view.startClock(m_hwnd);
    repaintAll();
    return 0;
  }
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  const Hit hit = slotHit(hitTest(hitGeometry(), x, y));
  const PointerEffects e = m_pointer.release(x, y, hit, [this](int count) { return confirmLaunch(count); });
  endButtonDrag();
  m_timers.released();
  m_timers.note(e);
  applyPointerEffects(e);
  return 0;
}

LRESULT CBarWindow::onMouseMove(WPARAM, LPARAM lParam) {
  if (!m_placer.resizing()) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    m_pointerAt = {x, y};
    // Hovering arms timers of its own: their periods follow the current options.
    if (!m_pointer.pressed()) m_pointer.setSettings(pointerSettings());
    if (m_pointer.dragging()) m_drag.move(m_pointerAt);
    const HitGeometry geometry = hitGeometry();
    const Hit hit = slotHit(hitTest(geometry, x, y));
    const int group = groupOfArea(m_pointer.selectionArea());
    // Buttons of the pressed area that the band touches.
    auto cellsInRect = [&](const HitRect& band) {
      std::vector<int> slots;
      const int area = m_pointer.selectionArea();
      const HitRect clip = area == hit_area::kQuick ? geometry.quickList : geometry.grid;
      for (int slot = 0;
           group >= 0 && static_cast<size_t>(group) < m_context.groups.size() &&
           static_cast<size_t>(slot) < m_context.groups[static_cast<size_t>(group)].items.size();
           ++slot) {
        auto geo = slotGeometry(group, slot);
        if (!geo || !m_context.groups.item(group, slot)) continue;
        if (bandTouches(band, clip, geo->cell)) slots.push_back(slot);
      }
      return slots;
    };
    auto blockOrigin = [&](const std::vector<int>& slots) {
      std::pair<int, int> origin{x, y};
      bool first = true;
      for (int slot : slots) {
        auto geo = slotGeometry(group, slot);
        if (!geo) continue;
        origin =
            first ? std::pair{geo->cell.left, geo->cell.top}
                  : std::pair{std::min(origin.first, geo->cell.left), std::min(origin.second, geo->cell.top)};
        first = false;
      }
      return origin;
    };
    const PointerEffects e =
        m_pointer.move(x, y, hit, m_context.groups.activeGroup, taskMode(), cellsInRect, blockOrigin);
    if (!e.armTimers.empty() && hit.area == hit_area::kTabs) m_timers.hovered(hit.index);
    m_timers.note(e);
    applyPointerEffects(e);
    if (m_pointer.dragging()) scrollTabsDuringDrag();
    return 0;
  }
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(m_hwnd, &p);
  m_placer.resizeTo(p.y);
  return 0;
}

LRESULT CBarWindow::onDoubleClick(WPARAM wParam, LPARAM lParam) {
  // The second press of a double-click presses the area again; a drag ignores it.
  if (m_pointer.dragging()) return 0;
  return onButtonDown(wParam, lParam);
}

void CBarWindow::pressBinding(const KeyBinding& binding) {
  // A new key releases the button of the one before.
  if (m_armedBinding && m_armedBinding->key != binding.key) releaseBinding();
  for (const KeyBinding& b : keyBindings()) {
    if (b.key == binding.key) m_armedBinding = &b;
  }
  if (const std::optional<Hit> box = bindingBox(binding)) {
    // Held keys repeat; the box is drawn pressed once.
    if (!m_marks.pressedBox() || m_marks.pressedBox()->code() != box->code()) pressBox(*box);
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
    default:
      // Delete and Alt+Enter work on the focused button through its menu's operations.
      break;
  }
}

void CBarWindow::releaseBinding() {
  const KeyBinding* released = std::exchange(m_armedBinding, nullptr);
  releaseKeyPress();
  const std::optional<Hit>& pressed = m_marks.pressedBox();
  if (!released || !pressed) return;
  const std::optional<Hit> box = bindingBox(*released);
  if (!box || box->code() != pressed->code()) return;
  // Releasing the key works like releasing the mouse over the box.
  m_marks.releaseBox();
  repaintAll();
  runBoxCommand(*box);
}

LRESULT CBarWindow::onKeyDown(WPARAM wParam, LPARAM) {
  auto binding =
      findKeyBinding(static_cast<uint16_t>(wParam), keyDown(VK_SHIFT), keyDown(VK_CONTROL), taskMode());
  if (binding) pressBinding(*binding);
  return 0;
}

LRESULT CBarWindow::onKeyUp(WPARAM wParam, LPARAM) {
  if (m_armedBinding && (m_armedBinding->key & 0xFF) == (wParam & 0xFF)) releaseBinding();
  return 0;
}

LRESULT CBarWindow::onSysKeyDown(WPARAM wParam, LPARAM lParam) {
  // Alt with a bound letter works like the letter alone.
  if (isAltLetter(static_cast<uint16_t>(wParam))) return onKeyDown(wParam, lParam);
  if (wParam == VK_RETURN) return 0;  // Alt+Enter: the menu of the focused group or item
  return notHandled();
}

LRESULT CBarWindow::onSysKeyUp(WPARAM wParam, LPARAM lParam) {
  if (isAltLetter(static_cast<uint16_t>(wParam))) return onKeyUp(wParam, lParam);
  return notHandled();
}

LRESULT CBarWindow::onSysChar(WPARAM wParam, LPARAM) {
  const wchar_t c = static_cast<wchar_t>(towupper(static_cast<wint_t>(wParam)));
  if (isAltLetter(static_cast<uint16_t>(c))) return 0;  // no menu beep for the bound letters
  return notHandled();
}

}  // namespace vorbin
