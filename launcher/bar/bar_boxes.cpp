// The bar's boxes: the function keys, the caption boxes, the mode, command,
// group scroll and logo boxes drawn held, and what the keys and caption
// boxes do when released.
#include <windows.h>
// After windows.h.
#include <commdlg.h>

#include <algorithm>

#include "framework/gdi.h"
#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/model/model_win.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/bar/bar_window.h"
#include "launcher/render/paint_primitives.h"
#include "launcher/widgets/picker_rules.h"
#include "launcher/widgets/program_picker.h"

namespace vorbin {

namespace {

// Function keys by their place in the row.
enum FunctionKey { kKeyExit, kKeyExec, kKeyTask, kKeyTop, kKeyLock, kKeyOption, kKeyHelp, kKeyClose };

// A filter list written with "|" between its parts, as the dialog wants it.
std::wstring dialogFilter(std::wstring text) {
  std::replace(text.begin(), text.end(), L'|', L'\0');
  text.append(2, L'\0');
  return text;
}

}  // namespace

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
  m_marks.pressBox(box);
  if (!r) return;
  if (box.area == hit_area::kGroupScroll) {
    // A held scroll button sinks into a dark bevel; its face stays in place.
    fw::WindowDC dc(m_hwnd);
    const RECT face{r->left, r->top, r->right, r->bottom};
    bevel(dc, face, 0, 0, m_view.kit().slot(SlotId::kGroupBase).dark[2], Rgb{0, 0, 0}, 1);
    return;
  }
  if (box.area == hit_area::kCaptionBoxes) {
    // A held caption box shows a one-pixel ring in the frame's dark shade; its face stays.
    fw::WindowDC dc(m_hwnd);
    const RECT face{r->left, r->top, r->right, r->bottom};
    const Rgb dark = m_view.kit().slot(SlotId::kBord).dark[1];
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
  m_actions.drawPressedFace(*r, toColorRef(m_view.kit().slot(slot).dark[1]));
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
      if (!SetWindowPos(m_hwnd, s.mostTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
        FW_TRACE_FAILURE("SetWindowPos");
      repaintAll();
      break;
    case kKeyLock:
      if (s.lockLevel == 0) {
        s.lockLevel = lockLevelOf(true, s.superLock);
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
    case kKeyExit:
      m_menus.exitKey();
      break;
    case kKeyOption:
      openOptions();
      break;
    case kKeyHelp: {
      // From the keyboard: the pointer's press opened the menu already.
      const HitRect r = hitGeometry().functionKeys[kKeyHelp];
      RECT key{r.left, r.top, r.right, r.bottom};
      MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&key), 2);
      m_menus.openHelpMenu(key);
      break;
    }
    default:
      break;
  }
}

void CBarWindow::execDialog() {
  Settings& s = m_context.settings;
  PickRequest pick;
  pick.owner = m_hwnd;
  pick.title = resourceString(IDS_EXEC_TITLE);
  pick.filter = dialogFilter(resourceString(IDS_EXEC_FILTER) + wildCardOrDefault(s));
  pick.filterIndex = std::max(1, s.exeDirectory.numbers[0]);
  pick.initialFolder = s.exeDirectory.path;
  pick.flags = pick_flag::kHistory | OFN_PATHMUSTEXIST;
  pick.history = &m_context.history;
  const PickResult picked = pickProgram(pick);
  // The folder and filter last shown are where the next run begins.
  if (!picked.folder.empty()) s.exeDirectory.path = picked.folder;
  s.exeDirectory.numbers[0] = picked.filterIndex;
  if (!picked.accepted || picked.files.empty()) return;
  // A program chosen by its full path: the next run begins beside it.
  if (std::wstring folder = programFolder(picked.files.front()); !folder.empty())
    s.exeDirectory.path = std::move(folder);
  saveHistory(m_context.profile, m_context.history);
  LaunchRequest request;
  request.target = picked.files.front();
  request.folder = L".";
  launchItem(request, launchContext(true));
}

void CBarWindow::runBoxCommand(const Hit& box) {
  switch (box.area) {
    case hit_area::kFunctionKeys:
      functionKeyCommand(box.index);
      break;
    case hit_area::kCaptionBoxes:
      if (box.index == 0) {
        SetAnimate(FALSE);
        ShowWindow(m_hwnd, m_placer.maximized() ? SW_RESTORE : SW_MAXIMIZE);
      } else if (box.index == 1) {
        PostMessageW(m_hwnd, WM_SYSCOMMAND, kCmdExit, 0);
      }
      break;
    case hit_area::kLogo: {
      // From the keyboard: the menu opens at the logo.
      const HitRect r = hitGeometry().logoBox;
      POINT at{r.left, r.bottom};
      ClientToScreen(m_hwnd, &at);
      m_menus.openLogoMenu(at);
      break;
    }
    case hit_area::kModes:
    case hit_area::kCommands:
      taskBoxCommand(box);
      break;
    default:
      break;
  }
}

}  // namespace vorbin
