// The program and folder picker on the system's open-file dialog: a hook on
// our child template adds the history drop-down, the folder button and the
// check box, and rebuilds a confirmed command before it is accepted.
#include "launcher/widgets/program_picker.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <optional>

#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/trace.h"
#include "launcher/interact/launch_item.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/picker_rules.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {
namespace {

constexpr wchar_t kStateProperty[] = L"VorbinPickerState";

// Where the picker was last left, for its next showing in this session.
Rect g_lastPlace;

// What the hook keeps for one showing of the dialog.
struct PickerState {
  const PickRequest* request = nullptr;
  PickResult* result = nullptr;
  HWND child = nullptr;   // our template
  HWND dialog = nullptr;  // the system dialog
  HWND field = nullptr;   // the history combo box (history mode)
  bool comboEx = false;   // the field is a ComboBoxEx (Wine's file-name field)
  HWND list = nullptr;     // the history's drop-down list
  WNDPROC fieldProc = nullptr;
  WNDPROC dialogProc = nullptr;
  bool settingOwnText = false;
  std::wstring command;  // the accepted, rebuilt command
};

bool historyMode(const PickRequest& request) { return (request.flags & pick_flag::kHistory) != 0; }

std::wstring className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// The dialog's current folder, its size asked first.
std::wstring dialogFolder(HWND dialog) {
  const LRESULT chars = SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0);
  if (chars <= 0 || chars > 32768) return {};
  std::wstring path(static_cast<size_t>(chars), L'\0');
  const LRESULT got = SendMessageW(dialog, CDM_GETFOLDERPATH, static_cast<WPARAM>(chars),
                                   reinterpret_cast<LPARAM>(path.data()));
  if (got <= 0) return {};
  path.resize(wcsnlen(path.c_str(), path.size()));
  return path;
}

// The current folder's item-ID list: the size is asked first, so no list is cut.
IdListBytes dialogFolderIdList(HWND dialog) {
  const LRESULT bytes = SendMessageW(dialog, CDM_GETFOLDERIDLIST, 0, 0);
  if (bytes <= 0 || bytes > 65536) return {};
  IdListBytes list(static_cast<size_t>(bytes));
  if (SendMessageW(dialog, CDM_GETFOLDERIDLIST, static_cast<WPARAM>(bytes),
                   reinterpret_cast<LPARAM>(list.data())) <= 0)
    return {};
  return idListCopy(list);
}

void readFolder(PickerState& state) {
  state.result->folder = dialogFolder(state.dialog);
  if (state.request->mode == PickMode::kFolder) state.result->folderIdList = dialogFolderIdList(state.dialog);
}

// The history field: a name the dialog puts in (a clicked file) is quoted
// when it has a blank, so that it stays one program on the command line.
LRESULT CALLBACK historyFieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = static_cast<PickerState*>(GetPropW(field, kStateProperty));
  if (!state) return DefWindowProcW(field, msg, wParam, lParam);
  const WNDPROC previous = state->fieldProc;
  if (msg == WM_SETTEXT && lParam && !state->settingOwnText) {
    const std::wstring quoted = quoteIfBlank(reinterpret_cast<const wchar_t*>(lParam));
    return CallWindowProcW(previous, field, msg, wParam, reinterpret_cast<LPARAM>(quoted.c_str()));
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(field, kStateProperty);
  }
  return CallWindowProcW(previous, field, msg, wParam, lParam);
}

void addHistoryText(PickerState& state, const std::wstring& text) {
  if (state.comboEx) {
    // Wine's ComboBoxEx ignores CB_ADDSTRING.
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = -1;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(state.field, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  } else {
    SendMessageW(state.field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

// The text of history entry `index`, from whichever kind of combo box holds it.
std::wstring historyText(const PickerState& state, int index) {
  wchar_t text[kMaxPathChars + 1] = {};
  if (state.comboEx) {
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (!SendMessageW(state.field, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
  } else {
    const LRESULT length = SendMessageW(state.field, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0 || static_cast<size_t>(length) >= std::size(text)) return {};
    SendMessageW(state.field, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  }
  return text;
}

// The edit control inside the history field, where typed text lives.
HWND historyEdit(const PickerState& state) {
  if (state.comboEx) return reinterpret_cast<HWND>(SendMessageW(state.field, CBEM_GETEDITCONTROL, 0, 0));
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  return GetComboBoxInfo(state.field, &info) && info.hwndItem ? info.hwndItem : state.field;
}

// A double click on a history entry takes it and presses OK.
LRESULT CALLBACK historyListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
  auto* state = reinterpret_cast<PickerState*>(data);
  if (msg == WM_LBUTTONDBLCLK) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
    const int index = LOWORD(hit);
    if (HIWORD(hit) == 0 && index < SendMessageW(list, LB_GETCOUNT, 0, 0)) {
      const std::wstring text = historyText(*state, index);
      if (!text.empty()) {
        HWND combo = state->comboEx
                         ? reinterpret_cast<HWND>(SendMessageW(state->field, CBEM_GETCOMBOCONTROL, 0, 0))
                         : state->field;
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        state->settingOwnText = true;
        SetWindowTextW(historyEdit(*state), text.c_str());
        state->settingOwnText = false;
        PostMessageW(state->dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(state->dialog, IDOK)));
        return 0;
      }
    }
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(list, historyListProc, 1);
    state->list = nullptr;
  }
  return DefSubclassProc(list, msg, wParam, lParam);
}

// The file-name field becomes the history drop-down: the dialog's own combo
// box where it has one, else our template's combo put in place of its edit.
void setUpHistory(PickerState& state) {
  HWND field = GetDlgItem(state.dialog, cmb13);
  if (!field) field = GetDlgItem(state.dialog, edt1);
  std::wstring kind = field ? className(field) : L"";
  if (field && kind == L"Edit") {
    HWND own = GetDlgItem(state.child, IDC_PICK_HISTORY);
    if (own) {
      RECT box;
      GetWindowRect(field, &box);
      MapWindowPoints(nullptr, state.dialog, reinterpret_cast<POINT*>(&box), 2);
      DestroyWindow(field);
      SetParent(own, state.dialog);
      // The list drops down to its full height below the field.
      SetWindowPos(own, HWND_TOP, box.left, box.top, box.right - box.left, 200, SWP_SHOWWINDOW);
      field = own;
      kind = className(own);
    }
  }
  if (!field) return;
  state.field = field;
  state.comboEx = kind == WC_COMBOBOXEXW;
  HWND combo =
      state.comboEx ? reinterpret_cast<HWND>(SendMessageW(field, CBEM_GETCOMBOCONTROL, 0, 0)) : field;
  // The drop-down reaches from the field's left edge to our template's right edge.
  RECT fieldBox, childBox;
  GetWindowRect(field, &fieldBox);
  GetWindowRect(state.child, &childBox);
  if (combo && childBox.right > fieldBox.left)
    SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(childBox.right - fieldBox.left), 0);
  if (combo) SendMessageW(combo, CB_SETEXTENDEDUI, TRUE, 0);
  COMBOBOXINFO comboInfo = {};
  comboInfo.cbSize = sizeof(comboInfo);
  if (combo && GetComboBoxInfo(combo, &comboInfo) && comboInfo.hwndList) {
    state.list = comboInfo.hwndList;
    SetWindowSubclass(state.list, historyListProc, 1, reinterpret_cast<DWORD_PTR>(&state));
  }
  if (!state.comboEx) SendMessageW(field, CB_LIMITTEXT, kMaxPathChars, 0);
  for (const std::wstring& entry : historyEntries(*state.request->history)) addHistoryText(state, entry);
  SetPropW(field, kStateProperty, &state);
  state.fieldProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&historyFieldProc)));
  state.settingOwnText = true;
  SetWindowTextW(field, state.request->current.c_str());
  state.settingOwnText = false;
  ShowWindow(field, SW_SHOW);
}

HWND nameSource(const PickerState& state) {
  return state.field ? state.field : GetDlgItem(state.dialog, edt1);
}

// History mode: the field's text as it will run; nothing (after saying so)
// when it does not fit the field.
std::optional<std::wstring> checkedCommand(PickerState& state) {
  Win32LaunchSystem sys;
  const RebuiltCommand rebuilt = rebuildCommand(fw::windowText(nameSource(state)), sys);
  if (!rebuilt.fits) {
    UserMessage message;
    message.text = IDS_PICK_TOO_LONG;
    message.caption = IDS_PICK_CAPTION;
    message.count = static_cast<int>(kMaxPathChars);
    showMessage(state.dialog, message, MB_OK | MB_ICONEXCLAMATION);
    return std::nullopt;
  }
  return rebuilt.text;
}

// False refuses the name.
bool acceptCommand(PickerState& state) {
  const std::optional<std::wstring> command = checkedCommand(state);
  if (!command || command->empty()) return false;
  state.command = *command;
  addToHistory(*state.request->history, *command);
  return true;
}

// The system dialog copies the name into fixed buffers before it asks us, so
// a text too long is refused (or shortened to its rebuilt form) first.
LRESULT CALLBACK systemDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = static_cast<PickerState*>(GetPropW(dialog, kStateProperty));
  if (!state) return DefWindowProcW(dialog, msg, wParam, lParam);
  const WNDPROC previous = state->dialogProc;
  if (msg == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
    HWND source = nameSource(*state);
    if (source && static_cast<size_t>(GetWindowTextLengthW(source)) > kMaxPathChars) {
      const std::optional<std::wstring> command = checkedCommand(*state);
      if (!command) return 0;
      state->settingOwnText = true;
      SetWindowTextW(source, command->c_str());
      state->settingOwnText = false;
    }
  } else if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(dialog, kStateProperty);
  }
  return CallWindowProcW(previous, dialog, msg, wParam, lParam);
}

// The size and place the picker was last left at, kept on the screen it was on.
void restorePlace(HWND dialog) {
  RECT now = {};
  if (!GetWindowRect(dialog, &now)) return;
  const RECT last{g_lastPlace.left, g_lastPlace.top, g_lastPlace.right, g_lastPlace.bottom};
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromRect(&last, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  const std::optional<Rect> box = restoredPickerBox(g_lastPlace, {work.left, work.top, work.right, work.bottom},
                                                    now.right - now.left, now.bottom - now.top);
  if (!box) return;
  SetWindowPos(dialog, nullptr, box->left, box->top, box->width(), box->height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void keepPlace(HWND dialog) {
  RECT now = {};
  if (!dialog || IsIconic(dialog) || IsZoomed(dialog) || !GetWindowRect(dialog, &now)) return;
  g_lastPlace = {now.left, now.top, now.right, now.bottom};
}

void onInitDone(PickerState& state) {
  const PickRequest& request = *state.request;
  if (historyMode(request) && request.history) {
    setUpHistory(state);
    SetPropW(state.dialog, kStateProperty, &state);
    state.dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(state.dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&systemDialogProc)));
  }
  HWND check = GetDlgItem(state.child, IDC_PICK_CHECK);
  if (check) {
    if (request.mode == PickMode::kFolder) {
      ShowWindow(check, SW_HIDE);
    } else {
      if (!request.checkText.empty()) SetWindowTextW(check, request.checkText.c_str());
      CheckDlgButton(state.child, IDC_PICK_CHECK, request.checked ? BST_CHECKED : BST_UNCHECKED);
    }
  }
  state.result->checked = request.checked;
  readFolder(state);
  restorePlace(state.dialog);
}

LRESULT onNotify(PickerState& state, const OFNOTIFYW& note) {
  switch (note.hdr.code) {
    case CDN_INITDONE:
      onInitDone(state);
      break;
    case CDN_FOLDERCHANGE:
      readFolder(state);
      break;
    case CDN_TYPECHANGE:
      if (note.lpOFN) state.result->filterIndex = static_cast<int>(note.lpOFN->nFilterIndex);
      break;
    case CDN_FILEOK:
      readFolder(state);
      if (historyMode(*state.request) && state.request->history && !acceptCommand(state)) {
        SetWindowLongPtrW(state.child, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

UINT_PTR CALLBACK pickerHook(HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    const auto* dialog = reinterpret_cast<const OPENFILENAMEW*>(lParam);
    auto* state = reinterpret_cast<PickerState*>(dialog->lCustData);
    state->child = child;
    state->dialog = GetParent(child);
    SetPropW(child, kStateProperty, state);
    return TRUE;
  }
  auto* state = static_cast<PickerState*>(GetPropW(child, kStateProperty));
  if (!state) return FALSE;
  switch (msg) {
    case WM_NOTIFY:
      return onNotify(*state, *reinterpret_cast<const OFNOTIFYW*>(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_PICK_CHECK) {
        state->result->checked = IsDlgButtonChecked(child, IDC_PICK_CHECK) == BST_CHECKED;
      } else if (LOWORD(wParam) == IDC_PICK_FOLDER && HIWORD(wParam) == BN_CLICKED) {
        // Closes as cancelled; the caller takes the folder it was showing.
        readFolder(*state);
        state->result->folderButton = true;
        PostMessageW(state->dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(state->dialog, IDCANCEL)));
      }
      return FALSE;
    case WM_DESTROY:
      keepPlace(state->dialog);
      RemovePropW(child, kStateProperty);
      return FALSE;
    default:
      return FALSE;
  }
}

HINSTANCE templateModule(const PickRequest& request) {
  if (request.resources) return request.resources;
  if (void* module = resourceModule()) return static_cast<HINSTANCE>(module);
  if (fw::CApplication* app = fw::CApplication::instance()) return app->resourceInstance();
  return GetModuleHandleW(nullptr);
}

}  // namespace

PickResult pickProgram(const PickRequest& request) {
  PickResult result;
  result.filterIndex = std::max(1, request.filterIndex);
  PickerState state;
  state.request = &request;
  state.result = &result;

  const bool multiple = (request.flags & pick_flag::kMultiSelect) != 0;
  // The dialog counts this buffer in characters.
  std::wstring buffer(multiple ? kMultiSelectChars : kMaxPathChars + 1, L'\0');
  if (!historyMode(request))
    request.current.copy(buffer.data(), std::min(request.current.size(), buffer.size() - 1));
  const std::wstring filter = systemFilter(request.filter);

  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = request.owner;
  dialog.hInstance = templateModule(request);
  dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(result.filterIndex);
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
  dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
  dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  dialog.Flags = request.flags | OFN_EXPLORER | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY |
                 OFN_NODEREFERENCELINKS | OFN_ENABLESIZING;
  dialog.lpTemplateName =
      MAKEINTRESOURCEW(request.mode == PickMode::kPlain ? IDD_PICK_PLAIN : IDD_PICK_CHECK);
  dialog.lpfnHook = &pickerHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(&state);

  result.accepted = GetOpenFileNameW(&dialog) != FALSE;
  if (!result.accepted) {
    // No extended error: the user cancelled (or pressed the folder button).
    if (const DWORD error = CommDlgExtendedError()) FW_TRACE_FAILURE_CODE("GetOpenFileNameW", error);
    return result;
  }
  result.filterIndex = static_cast<int>(dialog.nFilterIndex);
  if (historyMode(request) && request.history) {
    if (!state.command.empty()) result.files.push_back(state.command);
  } else {
    result.files = pickedPaths({buffer.data(), buffer.size()});
  }
  return result;
}

}  // namespace vorbin
