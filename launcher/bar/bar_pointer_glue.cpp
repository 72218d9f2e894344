// The bar's mouse operations on its hit areas: the hit geometry from the
// bar's layout, and carrying out what the pointer state machine decides.
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <utility>

#include "framework/gdi.h"
#include "hook/vorber2k.h"
#include "launcher/app/resource_library.h"
#include "launcher/bar/bar_rules.h"
#include "launcher/bar/bar_window.h"
#include "launcher/interact/apply_show_state.h"
#include "launcher/interact/hit_layout.h"
#include "launcher/interact/press_rules.h"
#include "launcher/interact/task_commands.h"
#include "launcher/render/bitmap_ids.h"
#include "launcher/render/blit.h"
#include "launcher/render/paint_primitives.h"

namespace vorbin {

namespace {

constexpr unsigned kIdsLaunchMany = 3028;
constexpr unsigned kIdsLaunchManyCaption = 3029;
constexpr unsigned kIdsExecTitle = 304;
constexpr unsigned kIdsExecFilter = 305;
constexpr unsigned kIdsDefaultWildCard = 512;

// Function keys by their place in the row.
enum FunctionKey { kKeyExit, kKeyExec, kKeyTask, kKeyTop, kKeyLock, kKeyOption, kKeyHelp, kKeyClose };

// The question's text with its count; the text says where with "%d".
std::wstring withCount(std::wstring text, int count) {
  const size_t at = text.find(L"%d");
  const std::wstring number = std::to_wstring(count);
  if (at == std::wstring::npos) return text + L" (" + number + L")";
  return text.replace(at, 2, number);
}

// A filter list written with "|" between its parts, as the dialog wants it.
std::wstring dialogFilter(std::wstring text) {
  std::replace(text.begin(), text.end(), L'|', L'\0');
  text.append(2, L'\0');
  return text;
}

}  // namespace

HitGeometry CBarWindow::hitGeometry() const {
  const Settings& s = m_context.settings;
  const GroupTable& groups = m_context.groups;
  HitState state;
  state.taskMode = s.taskMode;
  const int active = groups.activeGroup;
  if (active > 0 && static_cast<size_t>(active) < groups.size())
    state.buttonMode = groups[static_cast<size_t>(active)].buttonMode;
  state.tabDisplayMode = s.taskMode ? s.taskDispMode : s.groupDispMode;
  const TabLayout tabs = tabLayout(m_layout, state.tabDisplayMode);
  // The task list is drawn from its first entry; the group tabs scroll by rows.
  state.tabScrollOffset = s.taskMode ? 0 : groups.dispGroupOffset * tabs.tabHeight;
  state.tabCount = s.taskMode ? static_cast<int>(m_tasks.size()) - 1
                              : std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
  const int rowsOfTabs = (state.tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
  state.groupScrollShown = !s.taskMode && rowsOfTabs * tabs.tabHeight > m_layout.tabArea.height();
  state.clockBox = m_readoutBoxes.clock;
  state.loadBox = m_readoutBoxes.indicator;
  return hitGeometryFor(m_layout, state);
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
    hit.index += firstVisibleSlot(m_context.groups.activeGroup);
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
                         : gridCells(m_layout, groups[static_cast<size_t>(group)].buttonMode).columns;
  }
  if (area == hit_area::kTabs && !in.taskMode)
    in.placeholderTab = in.hit.index == static_cast<int>(groups.placeholderIndex());
  const int active = groups.activeGroup;
  if (active > 0 && static_cast<size_t>(active) < groups.size()) {
    const Group& g = groups[static_cast<size_t>(active)];
    const CellLayout cells = gridCells(m_layout, g.buttonMode);
    const int perRow = std::max(1, cells.columns * cells.slotsPerH);
    in.groupRows = (static_cast<int>(g.items.size()) + perRow - 1) / perRow;
  }
  return in;
}

void CBarWindow::showSelection(bool selected) {
  const int group = m_shownSelectionGroup;
  const std::vector<int> before = m_shownSelection;
  m_shownSelection = selected || m_pointer.pressed() ? m_pointer.selection() : std::vector<int>{};
  m_shownSelectionGroup = groupOfArea(m_pointer.selectionArea());
  // Buttons that left the selection go back to plain.
  for (int slot : before) {
    const bool still =
        m_shownSelectionGroup == group &&
        std::find(m_shownSelection.begin(), m_shownSelection.end(), slot) != m_shownSelection.end();
    if (!still && group >= 0) repaintButton(group, slot, {});
  }
  for (int slot : m_shownSelection) repaintButton(m_shownSelectionGroup, slot, {false, selected});
}

ButtonLook CBarWindow::slotLook(int group, int slot) const {
  const bool selected =
      group == m_shownSelectionGroup &&
      std::find(m_shownSelection.begin(), m_shownSelection.end(), slot) != m_shownSelection.end();
  return {group == m_hotGroup && slot == m_hotSlot, selected};
}

void CBarWindow::showHot(const Hit& hot) {
  const int oldGroup = std::exchange(m_hotGroup, hot.area == hit_area::kNone ? -1 : groupOfArea(hot.area));
  const int oldSlot = std::exchange(m_hotSlot, hot.area == hit_area::kNone ? -1 : hot.index);
  // Each repaint hides a drag picture while it draws under it.
  if (oldGroup >= 0) repaintButton(oldGroup, oldSlot, slotLook(oldGroup, oldSlot));
  if (m_hotGroup < 0) return;
  repaintButton(m_hotGroup, m_hotSlot, slotLook(m_hotGroup, m_hotSlot));
  trackLeave();
}

void CBarWindow::trackLeave() {
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

void CBarWindow::showBand(const std::optional<HitRect>& band) {
  fw::WindowDC dc(m_hwnd);
  // A focus rectangle drawn twice is gone again.
  if (m_bandShown) {
    const RECT old = RECT{m_bandShown->left, m_bandShown->top, m_bandShown->right, m_bandShown->bottom};
    DrawFocusRect(dc, &old);
  }
  m_bandShown = band;
  if (m_bandShown) {
    const RECT now = RECT{m_bandShown->left, m_bandShown->top, m_bandShown->right, m_bandShown->bottom};
    DrawFocusRect(dc, &now);
  }
}

bool CBarWindow::confirmLaunch(int count) {
  const std::wstring text = withCount(resourceString(kIdsLaunchMany), count);
  return MessageBoxW(m_hwnd, text.c_str(), resourceString(kIdsLaunchManyCaption).c_str(),
                     MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

void CBarWindow::launchSelected(int group, const std::vector<int>& slots) {
  for (int slot : slots) launchItemAt(group, slot);
}

void CBarWindow::pressBox(const Hit& box) {
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
  m_pressedBox = box;
  if (!r) return;
  if (box.area == hit_area::kGroupScroll) {
    // A held scroll button sinks into a dark bevel; its face stays in place.
    fw::WindowDC dc(m_hwnd);
    const RECT face{r->left, r->top, r->right, r->bottom};
    bevel(dc, face, 0, 0, m_kit.slot(SlotId::kGroupBase).dark[2], Rgb{0, 0, 0}, 1);
    return;
  }
  if (box.area == hit_area::kCaptionBoxes) {
    // A held caption box shows a one-pixel ring in the frame's dark shade; its face stays.
    fw::WindowDC dc(m_hwnd);
    const RECT face{r->left, r->top, r->right, r->bottom};
    const Rgb dark = m_kit.slot(SlotId::kBord).dark[1];
    bevel(dc, face, 1, -1, dark, dark, 1);
    return;
  }
  if (box.area == hit_area::kFunctionKeys) {
    // The key's own pressed face comes with the bar's painting.
    repaintAll();
    UpdateWindow(m_hwnd);
    return;
  }
  // The face sinks with an edge in the dark shade of its area's colour.
  const SlotId slot = box.area == hit_area::kCommands ? SlotId::kCommandButton : SlotId::kBord;
  drawPressedFace(*r, toColorRef(m_kit.slot(slot).dark[1]));
}

void CBarWindow::functionKeyCommand(int key) {
  Settings& s = m_context.settings;
  switch (key) {
    case kKeyTask:
      setTaskMode(!taskMode());
      break;
    case kKeyTop:
      s.mostTop = !s.mostTop;
      if (!s.mostTop) m_topByLock = false;
      SetWindowPos(m_hwnd, s.mostTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      repaintAll();
      break;
    case kKeyLock:
      if (s.lockLevel == 0) {
        s.lockLevel = s.superLock ? 2 : 1;
        if (s.lockWithTop && !s.mostTop) {
          functionKeyCommand(kKeyTop);
          m_topByLock = true;
        }
      } else {
        s.lockLevel = 0;
        if (m_topByLock) functionKeyCommand(kKeyTop);
        m_topByLock = false;
      }
      s.lock = s.lockLevel > 0;
      repaintAll();
      break;
    case kKeyExec:
      execDialog();
      break;
    case kKeyClose:
      hideBar(kHidePlain);
      ReleaseCapture();
      break;
    default:
      // EXIT, EXEC, OPTION and HELP open their dialogs and menus elsewhere.
      break;
  }
}

void CBarWindow::execDialog() {
  Settings& s = m_context.settings;
  const std::wstring wildCard = s.wildCard.empty() ? resourceString(kIdsDefaultWildCard) : s.wildCard;
  const std::wstring filter = dialogFilter(resourceString(kIdsExecFilter) + wildCard);
  const std::wstring title = resourceString(kIdsExecTitle);
  std::wstring file(MAX_PATH, L'\0');
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = m_hwnd;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(std::max(1, s.exeDirectry.numbers[0]));
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = s.exeDirectry.path.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog)) return;
  file.resize(wcslen(file.c_str()));
  // The chosen folder and filter are where the next choice begins.
  if (dialog.nFileOffset > 0 && dialog.nFileOffset <= file.size())
    s.exeDirectry.path = file.substr(0, dialog.nFileOffset > 3 ? dialog.nFileOffset - 1 : dialog.nFileOffset);
  s.exeDirectry.numbers[0] = static_cast<int>(dialog.nFilterIndex);
  LaunchRequest request;
  request.target = file.find(L' ') == std::wstring::npos ? file : L"\"" + file + L"\"";
  request.folder = L".";
  launchItem(request, launchContext(true));
}

std::optional<Hit> CBarWindow::bindingBox(const KeyBinding& binding) {
  switch (binding.action) {
    case KeyAction::PressLogo:
      return Hit{hit_area::kLogo, 0};
    case KeyAction::PressFunctionKey:
      return Hit{hit_area::kFunctionKeys, binding.argument};
    case KeyAction::PressCaptionBox:
      return Hit{hit_area::kCaptionBoxes, binding.argument};
    case KeyAction::PressModeButton:
      return Hit{hit_area::kModes, binding.argument};
    case KeyAction::PressCommand:
      return Hit{hit_area::kCommands, binding.argument};
    default:
      return std::nullopt;
  }
}

void CBarWindow::runBoxCommand(const Hit& box) {
  switch (box.area) {
    case hit_area::kFunctionKeys:
      functionKeyCommand(box.index);
      break;
    case hit_area::kCaptionBoxes:
      if (box.index == 0) {
        SetAnimate(FALSE);
        ShowWindow(m_hwnd, m_maximized ? SW_RESTORE : SW_MAXIMIZE);
      } else if (box.index == 1) {
        PostMessageW(m_hwnd, WM_SYSCOMMAND, kCmdExit, 0);
      }
      break;
    default:
      break;
  }
}

bool CBarWindow::scrollList(int direction) {
  GroupTable& groups = m_context.groups;
  const int active = groups.activeGroup;
  if (active <= 0 || static_cast<size_t>(active) >= groups.size()) return false;
  Group& g = groups[static_cast<size_t>(active)];
  const CellLayout cells = gridCells(m_layout, g.buttonMode);
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
  const PixelRect face = arrow == 1 ? m_layout.scrollUp : m_layout.scrollDown;
  const COLORREF edge = toColorRef(m_kit.slot(SlotId::kApplBase).dark[1]);
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
  for (int id : e.killTimers) KillTimer(m_hwnd, static_cast<UINT_PTR>(id));
  if (e.activateArea) {
    m_currentArea = *e.activateArea;
    repaintContent();
  }
  if (e.selectGroup && *e.selectGroup >= 1 &&
      static_cast<size_t>(*e.selectGroup) < groups.placeholderIndex()) {
    groups.activeGroup = *e.selectGroup;
    m_shownSelection.clear();
    m_pointer.clearSelection();
    repaintContent();
  }
  if (e.eraseBand || e.drawBand) showBand(e.drawBand);
  if (e.repaintHighlights) showSelection(true);
  if (e.drawReleased) repaintButton(groupOfArea(m_pointer.selectionArea()), *e.drawReleased, {false, true});
  if (!e.drawPressed.empty()) {
    const int group = groupOfArea(m_pointer.selectionArea());
    const COLORREF edge = toColorRef(m_kit.slot(SlotId::kApplBase).dark[1]);
    for (int slot : e.drawPressed) {
      if (auto geo = slotGeometry(group, slot)) drawPressedFace(geo->cell, edge);
    }
  }
  if (e.startButtonDrag)
    beginButtonDrag(groupOfArea(m_pointer.selectionArea()), m_pointer.selection(), e.dragOffsetX,
                    e.dragOffsetY);
  if (e.startTabDrag) beginTabDrag(*e.startTabDrag);
  if (e.hoverArea) {
    trackLeave();
    if (*e.hoverArea != m_currentArea) {
      m_currentArea = *e.hoverArea;
      repaintContent();
    }
  }
  if (e.hot) showHot(*e.hot);
  if (e.pressedTask) {
    m_pressedTask = *e.pressedTask;
    if (m_pressedTask > 0 && static_cast<size_t>(m_pressedTask) < m_tasks.size())
      m_pressedTaskWindow = m_tasks[static_cast<size_t>(m_pressedTask)].window;
    repaintContent();
  }
  if (e.pressedBox) pressBox(*e.pressedBox);
  if (e.toggle24Hour) {
    m_context.settings.is24Hour = !m_context.settings.is24Hour;
    computeLayout();
    repaintAll();
  }
  for (const TimerRequest& t : e.armTimers)
    SetTimer(m_hwnd, static_cast<UINT_PTR>(t.id), static_cast<UINT>(t.milliseconds), nullptr);
  if (e.releaseCapture && GetCapture() == m_hwnd) ReleaseCapture();
  if (m_pressedBox && (e.releaseCapture || e.boxCommand)) {
    m_pressedBox.reset();
    repaintAll();
  }
  if (e.boxCommand) runBoxCommand(*e.boxCommand);
  if (!e.launchSlots.empty()) launchSelected(groupOfArea(m_pointer.selectionArea()), e.launchSlots);
  if (e.listScrollRepeat) listScrollRepeat(*e.listScrollRepeat);
  if (e.switchToTask) {
    // The entry of the pressed window, wherever the list has put it meanwhile.
    int entry = 0;
    for (size_t i = 1; i < m_tasks.size(); ++i)
      if (m_tasks[i].window == m_pressedTaskWindow) entry = static_cast<int>(i);
    if (entry == 0) {
      MessageBeep(MB_OK);
    } else {
      runTaskCommand(entry, kTaskSwitchTo);
    }
  }
}

void CBarWindow::animatePromptButton(int group, int slot) {
  const std::optional<ButtonGeometry> geo = slotGeometry(group, slot);
  if (!m_hwnd || !geo) return;
  HINSTANCE self = GetModuleHandleW(nullptr);
  fw::Bitmap pattern(static_cast<HBITMAP>(
      LoadImageW(self, MAKEINTRESOURCEW(IDB_PRESS_PATTERN), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)));
  fw::WindowDC dc(m_hwnd);
  const RECT cell{geo->cell.left, geo->cell.top, geo->cell.right, geo->cell.bottom};
  // The strip first, then the face sinks a pixel at a time, each step on screen.
  for (int step = 0; step <= kPressShifts; ++step) {
    pressAnimationStep(dc, cell, pattern.get(), step);
    GdiFlush();
    Sleep(30);
  }
}

void CBarWindow::runTaskCommand(int entry, int command) {
  if (entry < 1 || static_cast<size_t>(entry) >= m_tasks.size()) return;
  HWND window = static_cast<HWND>(m_tasks[static_cast<size_t>(entry)].window);
  // The list may be older than the window's end.
  if (!IsWindow(window)) {
    MessageBeep(MB_OK);
    return;
  }
  const TaskCommandSteps steps = taskCommandSteps(command);
  if (steps.foreground) SetForegroundWindow(window);
  if (steps.showCommand >= 0) {
    applyShowState(window, {0, steps.showCommand, IsWindowVisible(window) != FALSE,
                            m_context.settings.dispTaskDetails != 0});
  }
  // A window of another program is raised without waiting on it: it may hang.
  const bool ownThread = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
  if (steps.toTop)
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (ownThread ? 0 : SWP_ASYNCWINDOWPOS));
  if (steps.hidesBar && lockLevel() == 0) hideBar(kHidePlain);
}

bool CBarWindow::pointerOverTab(int group) const {
  POINT p;
  if (!GetCursorPos(&p) || !ScreenToClient(m_hwnd, &p)) return false;
  const Hit hit = hitTest(hitGeometry(), p.x, p.y);
  return hit.area == hit_area::kTabs && hit.index == group;
}

bool CBarWindow::pointerTimer(UINT_PTR id) {
  switch (id) {
    case kTimerBlink:
      m_blinkPhase = !m_blinkPhase;
      showSelection(m_blinkPhase);
      return true;
    case kTimerDragScroll: {
      // A drag resting on a list scroll arrow scrolls a row per tick.
      const Hit hit = hitTest(hitGeometry(), m_pointerAt.x, m_pointerAt.y);
      if (!m_pointer.dragging() || hit.area != hit_area::kListScroll) {
        KillTimer(m_hwnd, id);
        return true;
      }
      // The drag picture is hidden while the grid is drawn under it.
      if (m_dragPicture) ImageList_DragShowNolock(FALSE);
      scrollList(hit.index == 1 ? -1 : 1);
      if (m_dragPicture) ImageList_DragShowNolock(TRUE);
      // The first tick came after twice IntervalAtScroll; the following ones
      // leave time to aim a drop between rows.
      const long long period = std::clamp(20LL * m_context.settings.intervalAtScroll, 10LL, 0x7FFFFFFFLL);
      SetTimer(m_hwnd, id, static_cast<UINT>(period), nullptr);
      return true;
    }
    case kTimerArrowRepeat: {
      // The group scroll button repeats while it is held.
      if (!m_pressedBox || m_pressedBox->area != hit_area::kGroupScroll) {
        KillTimer(m_hwnd, id);
        return true;
      }
      GroupTable& groups = m_context.groups;
      const TabLayout tabs = tabLayout(m_layout, m_context.settings.groupDispMode);
      const int tabCount = std::max(0, static_cast<int>(groups.placeholderIndex()) - 1);
      const int rows = (tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
      const int shownRows = std::max(1, m_layout.tabArea.height() / std::max(1, tabs.tabHeight));
      const int step = m_pressedBox->index == 0 ? -1 : 1;
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

}  // namespace vorbin
