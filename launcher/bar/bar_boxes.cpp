// What the bar's boxes do when released: the function keys, the caption
// boxes, the logo and task mode's boxes (held faces: pointer_actions.cpp).
#include "launcher/bar/bar_window.h"

#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/bar/run_dialog.h"

namespace vorbin {

namespace {

// Function keys by their place in the row.
enum FunctionKey { kKeyExit, kKeyExec, kKeyTask, kKeyTop, kKeyLock, kKeyOption, kKeyHelp, kKeyClose };

void keepOnTop(HWND bar, bool onTop) {
  if (!SetWindowPos(bar, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                    SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
    FW_TRACE_FAILURE("SetWindowPos");
}

}  // namespace

void CBarWindow::runBoxCommand(const Hit& box) {
  Settings& s = m_context.settings;
  switch (box.area) {
    case hit_area::kFunctionKeys:
      switch (box.index) {
        case kKeyTask:
          setTaskMode(!taskMode());
          break;
        case kKeyTop:
          s.mostTop = !s.mostTop;
          if (!s.mostTop) m_topByLock = false;
          keepOnTop(m_hwnd, s.mostTop);
          repaintAll();
          break;
        case kKeyLock:
          if (s.lockLevel == 0) {
            s.lockLevel = lockLevelOf(true, s.superLock);
            // TOP comes with the lock and goes with it.
            if (s.lockWithTop && !s.mostTop) {
              s.mostTop = true;
              keepOnTop(m_hwnd, true);
              m_topByLock = true;
            }
          } else {
            s.lockLevel = 0;
            if (m_topByLock) {
              s.mostTop = !s.mostTop;
              keepOnTop(m_hwnd, s.mostTop);
            }
            m_topByLock = false;
          }
          s.lock = s.lockLevel > 0;
          repaintAll();
          break;
        case kKeyExec:
          runProgramDialog(m_hwnd, s, m_context.profile, m_context.history, launchContext(true));
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
          const HitRect r = m_actions.hitGeometry().functionKeys[kKeyHelp];
          RECT key{r.left, r.top, r.right, r.bottom};
          MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&key), 2);
          m_menus.openHelpMenu(key);
          break;
        }
        default:
          break;
      }
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
      const HitRect r = m_actions.hitGeometry().logoBox;
      POINT at{r.left, r.bottom};
      ClientToScreen(m_hwnd, &at);
      m_menus.openLogoMenu(at);
      break;
    }
    case hit_area::kModes:
    case hit_area::kCommands:
      m_taskCommands.boxCommand(m_hwnd, box);
      break;
    default:
      break;
  }
}

}  // namespace vorbin
