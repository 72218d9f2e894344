// System commands, menus and the bar's own messages: ending the launcher or
// the session, help, the custom messages of other parts and programs.
#include "launcher/bar/bar_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include "framework/trace.h"
#include "launcher/bar/item_request_rules.h"
#include "launcher/dialogs/options_sheet.h"
#include "launcher/dialogs/tips_dialog.h"
#include "hook/vorber2k.h"
#include "launcher/resources/product_name.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/user_message.h"
#include "launcher/dialogs/file_pick_start.h"
#include "launcher/interact/file_pick.h"
#include "launcher/interact/item_launch.h"
#include "launcher/services/find_files.h"
#include "launcher/services/folder_walk.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/widgets/shutdown_dialog.h"

namespace vorbin {

namespace {

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

LaunchContext CBarWindow::launchContext(bool hideAfter) {
  LaunchContext context;
  context.owner = m_hwnd;
  context.resources = static_cast<HINSTANCE>(resourceModule());
  if (hideAfter) {
    context.onStarted = [this] {
      if (lockLevel() == 0) hideBar(kHidePlain);
    };
  }
  return context;
}

void CBarWindow::launchItemAt(int group, int slot) {
  const Item* item = m_context.groups.item(group, slot);
  if (!item) return;
  LaunchRequest request = launchRequestFor(*item);
  const LaunchContext context = launchContext(true);
  if (request.flags & kItemPrompt) {
    m_actions.animatePromptButton(group, slot);
    Win32LaunchSystem sys;
    const FilePickCheck check = checkFilePick(request, sys);
    repaintButton(group, slot, m_marks.look(group, slot));
    if (check.stop != FilePickStop::kNone) {
      reportNotFound(check.missing, check.stop == FilePickStop::kFolderNotFound, check.noAssociation,
                     context);
      return;
    }
    // The file-pick start: the documents picked in the browser, one start each.
    // The browser runs a loop of its own: Program Manager commands, drops and
    // a close wait for it, and the choices go to the item only when the slot
    // still holds it.
    ModalBusy::Scope modal(&m_modal);
    Item choices = *item;
    const uint64_t identity = item->identity.value();
    POINT anchor{};
    GetCursorPos(&anchor);
    const auto starts = pickDocumentStarts(m_hwnd, static_cast<HINSTANCE>(resourceModule()), choices, request,
                                           check, m_context.settings.wildCard, anchor);
    if (!starts) return;
    if (Item* kept = m_context.groups.item(group, slot); kept && kept->identity.value() == identity) {
      kept->text4 = choices.text4;
      kept->promptOptions = choices.promptOptions;
      m_context.groups.saveItem(group, slot, false);
    }
    for (const LaunchRequest& start : *starts) launchItem(start, context);
    return;
  }
  launchItem(request, context);
}

LRESULT CBarWindow::onSysCommand(WPARAM wParam, LPARAM) {
  const UINT command = static_cast<UINT>(wParam & 0xFFF0);
  switch (command) {
    case kCmdExit:
    case SC_DEFAULT:
      exitCommand();
      return 0;
    case kCmdEndSession:
      endSession();
      return 0;
    case kCmdOptions:
      openOptions();
      return 0;
    case kCmdHelp & 0xFFF0:
      showHelp();
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
      showSystemMenu({box.left, box.bottom}, &box);
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

void CBarWindow::exitCommand() {
  if (m_context.settings.dispEndMessage) {
    if (showMessage(m_hwnd, {.text = IDS_QUERY_EXIT}, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  }
  if (!m_context.settings.runningAsShell) {
    PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
    return;
  }
  endSession();
}

void CBarWindow::endSession() {
  if (!m_context.settings.runningAsShell) {
    if (HWND progman = FindWindowW(L"progman", L"Program Manager")) {
      PostMessageW(progman, WM_CLOSE, 0, 0);
      return;
    }
  }
  CShutdownDialog dialog;
  const int flags = dialog.run(m_hwnd);
  if (flags == -1) return;
  if (flags != 0) enablePrivilege(SE_SHUTDOWN_NAME);
  if (!ExitWindowsEx(static_cast<UINT>(flags), 0)) FW_TRACE_FAILURE("ExitWindowsEx");
}

void CBarWindow::showHelp() {
  const std::wstring& folder = m_context.settings.programFolder;
  for (const wchar_t* file : {L"vorbin2Kj.hlp", L"vorbin2Ke.hlp"}) {
    if (fileExists(folder + file)) {
      // Results up to 32 are errors; the last error tells which.
      if (reinterpret_cast<INT_PTR>(
              ShellExecuteW(m_hwnd, nullptr, L"WinHlp32.exe", file, folder.c_str(), SW_SHOWNORMAL)) <= 32)
        FW_TRACE_FAILURE("ShellExecuteW");
      return;
    }
  }
  showMessage(m_hwnd, {.text = IDS_NO_HELP_FILE, .caption = IDS_HELP_CAPTION}, MB_OK | MB_ICONEXCLAMATION);
}

void CBarWindow::showSystemMenu(POINT at, const RECT* keepUncovered) {
  HMENU menu = GetSystemMenu(m_hwnd, FALSE);
  if (!menu) {
    FW_TRACE_FAILURE("GetSystemMenu");
    return;
  }
  SetForegroundWindow(m_hwnd);
  TPMPARAMS params{};
  params.cbSize = sizeof(params);
  if (keepUncovered) params.rcExclude = *keepUncovered;
  // A cancelled menu answers 0 as a failed one does; only the failure sets an error.
  SetLastError(ERROR_SUCCESS);
  const UINT command =
      TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_VERTICAL,
                       at.x, at.y, m_hwnd, keepUncovered ? &params : nullptr);
  if (!command && GetLastError() != ERROR_SUCCESS) FW_TRACE_FAILURE("TrackPopupMenuEx");
  if (command) PostMessageW(m_hwnd, WM_SYSCOMMAND, command, 0);
}

LRESULT CBarWindow::onCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id == kCmdFrameworkHelp) {
    showHelp();
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

int CBarWindow::currentAddGroup() const { return m_actions.groupOfArea(m_keys.area()); }

void CBarWindow::groupsChanged() {
  m_marks.forgetSelection();
  m_actions.clearSelection();
  m_tabArea.update(m_hwnd);
  repaintAll();
}

void CBarWindow::groupRemoved(int index) {
  // The group to return to from task mode moves with the table.
  const int placeholder = static_cast<int>(m_context.groups.placeholderIndex());
  m_returnGroup = activeAfterRemoval(m_returnGroup, index, placeholder);
}

LRESULT CBarWindow::onAddRequest(WPARAM wParam, LPARAM lParam) {
  // lParam is a pointer: only a call from this thread may carry one.
  if (InSendMessageEx(nullptr) != ISMEX_NOSEND || lParam == 0) return 0;
  AddRequest request;
  request.flags = static_cast<uint32_t>(wParam);
  if (wParam & kFoundByIdList) {
    request.idList = idListCopy(idListBytes(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam)));
    if (request.idList.empty()) return 0;
  } else {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    request.path.assign(text, wcsnlen(text, 0x8000));
  }
  // The sender waits for the answer: the buttons are made once it has it.
  if (m_addRequests.empty()) PostMessageW(m_hwnd, kMsgAddRequestsQueued, 0, 0);
  m_addRequests.push_back(std::move(request));
  return 1;
}

LRESULT CBarWindow::onAddRequestsQueued(WPARAM, LPARAM) {
  takeAddRequests();
  return 0;
}

void CBarWindow::takeAddRequests() {
  std::vector<AddRequest> requests = std::move(m_addRequests);
  m_addRequests.clear();
  if (requests.empty()) return;
  std::optional<ItemAdder::Added> highlight;
  for (AddRequest& r : requests) {
    NewItemRequest request;
    request.flags = r.flags;
    request.target = std::move(r.path);
    request.idList = std::move(r.idList);
    const ItemAdder::RequestOutcome outcome = m_adder.addRequest(std::move(request), r.flags);
    if (outcome.highlight) highlight = outcome.added;
  }
  groupsChanged();
  if (highlight && slotGeometry(highlight->group, highlight->slot))
    m_marks.showHot(highlight->group, highlight->slot, m_actions.buttonRepainter());
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
