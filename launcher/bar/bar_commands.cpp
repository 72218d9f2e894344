// System commands, menus and the bar's own messages: the system menu's
// commands (handed to the system commands), DDE, queued requests and drops,
// the tray icon and the custom messages of other parts and programs.
#include "launcher/bar/bar_window.h"

#include <windowsx.h>

#include "framework/trace.h"
#include "launcher/dialogs/options_sheet.h"
#include "launcher/dialogs/tips_dialog.h"
#include "hook/vorber2k.h"
#include "launcher/resources/product_name.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

LaunchContext CBarWindow::launchContext(bool hideAfter) {
  LaunchContext context;
  context.owner = m_hwnd;
  context.resources = static_cast<HINSTANCE>(resourceModule());
  if (hideAfter) {
    context.onStarted = [this] {
      if (m_context.settings.lockLevel == 0) hideBar(kHidePlain);
    };
  }
  return context;
}

LRESULT CBarWindow::onSysCommand(WPARAM wParam, LPARAM) {
  const UINT command = static_cast<UINT>(wParam & 0xFFF0);
  switch (command) {
    case kCmdExit:
    case SC_DEFAULT:
      m_system.exit(m_hwnd);
      return 0;
    case kCmdEndSession:
      m_system.endSession(m_hwnd);
      return 0;
    case kCmdOptions:
      openOptions();
      return 0;
    case kCmdHelp & 0xFFF0:
      m_system.showHelp(m_hwnd);
      return 0;
    case kCmdTip & 0xFFF0:
      CTipsDialog(m_context.profile, m_context.settings.programFolder, m_context.settings.language)
          .doModal(m_hwnd);
      return 0;
    case kCmdAbout & 0xFFF0: {
      showMessage(m_hwnd, std::wstring(kProductName) + L" " + m_context.settings.fileVersion,
                  MB_OK | MB_ICONINFORMATION);
      return 0;
    }
    case SC_CLOSE:
      if (closeCommandHides(m_drag.active(), m_timers.pending())) hideBar(kHidePlain);
      return 0;
    case SC_MAXIMIZE:
    case SC_RESTORE:
      SetAnimate(0);
      return notHandled();
    case SC_MOUSEMENU: {
      // Just below the control box, which stays uncovered.
      const auto& c = layout().controlBox;
      RECT box{c.left, c.top, c.right, c.bottom};
      MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&box), 2);
      m_system.showSystemMenu(m_hwnd, {box.left, box.bottom}, &box);
      // The click that closed the menu on the box must not open it again.
      MSG stale;
      PeekMessageW(&stale, m_hwnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE);
      return 0;
    }
    case SC_KEYMENU:
      // A hidden bar can keep the keyboard when no other window takes it (the
      // Alt of its own hot key comes up after the bar went away); its system
      // menu would open unseen and take every key until Esc.
      if (IsIconic(m_hwnd) || !IsWindowVisible(m_hwnd)) return 0;
      m_keyMenuPending = true;
      return notHandled();
    default:
      return notHandled();
  }
}

LRESULT CBarWindow::onCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id == kCmdFrameworkHelp) {
    m_system.showHelp(m_hwnd);
    return 0;
  }
  // The bar's menus carry system-command ids: they reach onSysCommand this way.
  PostMessageW(m_hwnd, WM_SYSCOMMAND, id, lParam);
  return 0;
}

LRESULT CBarWindow::onInitMenuPopup(WPARAM wParam, LPARAM) {
  // The system menu carries the bar menu's entries, however it was opened.
  if (reinterpret_cast<HMENU>(wParam) == GetSystemMenu(m_hwnd, FALSE))
    m_menus.prepareSystemMenu(reinterpret_cast<HMENU>(wParam));
  return notHandled();
}

LRESULT CBarWindow::onMenuSelect(WPARAM, LPARAM) { return notHandled(); }

LRESULT CBarWindow::onEnterMenuLoop(WPARAM, LPARAM) { return 0; }

LRESULT CBarWindow::onExitMenuLoop(WPARAM, LPARAM) {
  m_keyMenuPending = false;
  return 0;
}

LRESULT CBarWindow::onEnterIdle(WPARAM wParam, LPARAM) {
  if (wParam == MSGF_MENU && m_keyMenuPending) {
    m_keyMenuPending = false;
    SetWindowPos(m_hwnd, nullptr, m_context.settings.positionX, m_context.settings.positionY, 0, 0,
                 SWP_NOSIZE | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

LRESULT CBarWindow::onNotify(WPARAM, LPARAM lParam) {
  if (auto answer = m_tips.notify(*reinterpret_cast<const NMHDR*>(lParam))) return *answer;
  return 0;
}

LRESULT CBarWindow::onDropFiles(WPARAM wParam, LPARAM) {
  // Files dropped by the older protocol: the drop handler reads and releases the handle.
  m_drops.dropFiles(reinterpret_cast<HDROP>(wParam));
  return 0;
}

LRESULT CBarWindow::onDdeInitiate(WPARAM wParam, LPARAM lParam) { return m_dde.onInitiate(wParam, lParam); }
LRESULT CBarWindow::onDdeExecute(WPARAM wParam, LPARAM lParam) {
  // A command may delete the group an open sheet edits: it runs (and is acknowledged) afterwards.
  if (m_modal.defer([this, wParam, lParam] { m_dde.onExecute(wParam, lParam); })) return 0;
  return m_dde.onExecute(wParam, lParam);
}
LRESULT CBarWindow::onDdeRequest(WPARAM wParam, LPARAM lParam) { return m_dde.onRequest(wParam, lParam); }
LRESULT CBarWindow::onDdeTerminate(WPARAM wParam, LPARAM lParam) { return m_dde.onTerminate(wParam, lParam); }

void CBarWindow::groupsChanged() {
  m_marks.forgetSelection();
  m_actions.clearSelection();
  m_tabArea.update(m_hwnd);
  repaintAll();
}

void CBarWindow::groupRemoved(int index) {
  // The group to return to from task mode moves with the table.
  const int placeholder = static_cast<int>(m_context.groups.placeholderIndex());
  m_tasks.setReturnGroup(activeAfterRemoval(m_tasks.returnGroup(), index, placeholder));
}

LRESULT CBarWindow::onAddRequest(WPARAM wParam, LPARAM lParam) {
  return m_requests.receive(m_hwnd, wParam, lParam);
}

LRESULT CBarWindow::onAddRequestsQueued(WPARAM, LPARAM) {
  m_requests.addQueued();
  return 0;
}

LRESULT CBarWindow::onTrayCallback(WPARAM, LPARAM lParam) {
  if (lParam == WM_LBUTTONDOWN) showBar();
  if (lParam == WM_RBUTTONUP) {
    // The right button: the bar menu at the icon.
    POINT at{};
    GetCursorPos(&at);
    m_menus.openTrayMenu(at);
  }
  return 0;
}

LRESULT CBarWindow::onDropsQueued(WPARAM, LPARAM lParam) {
  // A drop may make or fill groups: under an open sheet it waits for the sheet.
  if (m_modal.defer([hwnd = m_hwnd, lParam] { PostMessageW(hwnd, kMsgDropsQueued, 0, lParam); })) return 0;
  m_drops.processQueue(lParam);
  return 0;
}

LRESULT CBarWindow::onOptionsClosed(WPARAM, LPARAM) {
  // Sent when OK or Cancel was pressed, and again once the sheet has gone.
  finishEndedOptionsSheet();
  if (m_optionsSheet && IsWindow(m_optionsSheet)) return 0;
  m_optionsSheet = nullptr;
  return 0;
}

LRESULT CBarWindow::onDragOver(WPARAM, LPARAM) {
  // Any program may send it: without a drag over the bar it means nothing.
  m_drops.dragOverNow();
  return 0;
}

LRESULT CBarWindow::onRaise(WPARAM wParam, LPARAM) {
  if (wParam && !m_context.settings.mostTop) {
    SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return 0;
}

}  // namespace vorbin
