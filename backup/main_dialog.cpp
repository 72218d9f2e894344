// The main dialog of the backup tool and its name dialog.
#include "backup/main_dialog.h"

#include <commctrl.h>

#include "backup/backup_list.h"
#include "backup/backup_name.h"
#include "backup/file_ops.h"
#include "backup/result_message.h"
#include "framework/trace.h"

namespace backup {

namespace {
// The user's short date, a space and the time without seconds, in local time.
std::wstring formatFolderTime(uint64_t fileTime) {
  FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
  FILETIME local{};
  SYSTEMTIME time{};
  if (!FileTimeToLocalFileTime(&utc, &local)) {
    FW_TRACE_FAILURE("FileTimeToLocalFileTime");
    return {};
  }
  if (!FileTimeToSystemTime(&local, &time)) {
    FW_TRACE_FAILURE("FileTimeToSystemTime");
    return {};
  }
  wchar_t date[80] = {}, clock[80] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 80);
  GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, clock, 80);
  return std::wstring(date) + L" " + clock;
}

void showResult(const Prompter& prompter, int messageId, long result) {
  if (messageId == 0) return;
  UINT icon = (messageId == IDS_SAVED || messageId == IDS_RESTORED) ? MB_ICONINFORMATION : MB_ICONEXCLAMATION;
  if (messageId == IDS_FAILED_CODE) {
    prompter.tellText(formatErrorText(loadString(IDS_FAILED_CODE), result), icon);
  } else {
    prompter.tell(messageId, icon);
  }
}
}  // namespace

// ===========================================================================
// CNameDialog

CNameDialog::CNameDialog(std::vector<std::wstring> choices)
    : CMappedDialog(IDD_NAME), m_choices(std::move(choices)) {}

std::span<const fw::CommandEntry<CNameDialog>> CNameDialog::commandMap() {
  static const fw::CommandEntry<CNameDialog> map[] = {
      {IDC_NAME_COMBO, CBN_EDITUPDATE, &CNameDialog::onEditUpdate},
      {IDC_NAME_COMBO, CBN_SELCHANGE, &CNameDialog::onSelectionChange},
  };
  return map;
}

bool CNameDialog::onInitDialog() {
  HWND combo = item(IDC_NAME_COMBO);
  for (const std::wstring& choice : m_choices)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  onEditUpdate();
  return true;
}

void CNameDialog::doDataExchange(fw::DataExchange& dx) { dx.text(IDC_NAME_COMBO, m_name); }

// While the edit field is being typed in, its text is current.
void CNameDialog::onEditUpdate() { EnableWindow(item(IDOK), GetWindowTextLengthW(item(IDC_NAME_COMBO)) > 0); }

// A new selection is not in the edit field yet: the chosen entry counts.
void CNameDialog::onSelectionChange() {
  HWND combo = item(IDC_NAME_COMBO);
  LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  LRESULT length =
      selected == CB_ERR ? 0 : SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
  EnableWindow(item(IDOK), length > 0);
}

// ===========================================================================
// CBackupDialog

CBackupDialog::CBackupDialog(ToolContext context) : CMappedDialog(IDD_MAIN), m_context(std::move(context)) {}

std::span<const fw::MessageEntry<CBackupDialog>> CBackupDialog::messageMap() {
  static const fw::MessageEntry<CBackupDialog> map[] = {
      {WM_SYSCOMMAND, &CBackupDialog::onSysCommand},
  };
  return map;
}

std::span<const fw::CommandEntry<CBackupDialog>> CBackupDialog::commandMap() {
  static const fw::CommandEntry<CBackupDialog> map[] = {
      {IDC_SAVE, BN_CLICKED, &CBackupDialog::onSave},
      {IDC_RESTORE, BN_CLICKED, &CBackupDialog::onRestore},
      {IDC_DELETE, BN_CLICKED, &CBackupDialog::onDelete},
  };
  return map;
}

std::span<const fw::NotifyEntry<CBackupDialog>> CBackupDialog::notifyMap() {
  static const fw::NotifyEntry<CBackupDialog> map[] = {
      {IDC_BACKUP_LIST, static_cast<int>(LVN_ITEMCHANGED), &CBackupDialog::onItemChanged},
  };
  return map;
}

bool CBackupDialog::onInitDialog() {
  std::wstring about = loadString(IDS_ABOUT_ITEM);
  if (HMENU menu = GetSystemMenu(m_hwnd, FALSE); menu && !about.empty()) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_ABOUT, about.c_str());
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  m_bigIcon.reset(
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  if (!m_bigIcon) FW_TRACE_FAILURE("LoadImageW");
  m_smallIcon.reset(
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  if (!m_smallIcon) FW_TRACE_FAILURE("LoadImageW");
  SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.get()));
  SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
  setUpList();
  fillList();
  return true;
}

void CBackupDialog::setUpList() {
  LOGFONTW font{};
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) {
    FW_TRACE_FAILURE("SystemParametersInfoW");
  } else {
    m_listFont.reset(CreateFontIndirectW(&font));
    if (m_listFont)
      SendMessageW(list(), WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont.get()), FALSE);
    else
      FW_TRACE_FAILURE("CreateFontIndirectW");
  }
  RECT client{};
  GetClientRect(list(), &client);
  ColumnWidths widths = columnWidths(client.right - client.left, GetSystemMetrics(SM_CXVSCROLL));
  std::wstring titles[2] = {loadString(IDS_COLUMN_NAME), loadString(IDS_COLUMN_DATE)};
  int columnWidth[2] = {widths.name, widths.date};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = columnWidth[i];
    column.pszText = titles[i].data();
    column.iSubItem = i;
    SendMessageW(list(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  // An empty state image list of 4 x 1 images: the list owns and frees it.
  if (HIMAGELIST states = ImageList_Create(4, 1, ILC_COLOR, 0, 1))
    SendMessageW(list(), LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(states));
  else
    FW_TRACE_FAILURE("ImageList_Create");
}

void CBackupDialog::fillList() {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  SendMessageW(list(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(list(), LVM_DELETEALLITEMS, 0, 0);
  std::vector<FolderEntry> listing = listFolder(m_context.toolFolder);
  std::vector<FolderEntry> rows = listRows(listing);
  for (size_t i = 0; i < rows.size(); ++i) {
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(i);
    row.pszText = rows[i].name.data();
    int index = static_cast<int>(SendMessageW(list(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
    if (index < 0) continue;
    std::wstring date = formatFolderTime(rows[i].lastWriteTime);
    LVITEMW cell{};
    cell.iSubItem = 1;
    cell.pszText = date.data();
    SendMessageW(list(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
  }
  SendMessageW(list(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list(), nullptr, TRUE);
  SetCursor(previous);
  // Removed rows send no change notification: the buttons follow the selection here.
  updateButtons();
}

void CBackupDialog::updateButtons() {
  bool selected = SendMessageW(list(), LVM_GETSELECTEDCOUNT, 0, 0) > 0;
  EnableWindow(item(IDC_RESTORE), selected);
  EnableWindow(item(IDC_DELETE), selected);
}

std::wstring CBackupDialog::rowName(int index) const {
  wchar_t text[MAX_PATH + 1] = {};
  LVITEMW row{};
  row.iSubItem = 0;
  row.pszText = text;
  row.cchTextMax = MAX_PATH + 1;
  SendMessageW(list(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
  return text;
}

std::vector<std::wstring> CBackupDialog::listNames() const {
  std::vector<std::wstring> names;
  int count = static_cast<int>(SendMessageW(list(), LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) names.push_back(rowName(i));
  return names;
}

int CBackupDialog::selectedRow() const {
  return static_cast<int>(SendMessageW(list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

LRESULT CBackupDialog::onSysCommand(WPARAM wParam, LPARAM) {
  if ((wParam & 0xFFF0) == IDM_ABOUT) {
    fw::CDialog about(IDD_ABOUT);
    about.doModal(m_hwnd);
    return 0;
  }
  return notHandled();
}

void CBackupDialog::onSave() {
  Prompter prompter(m_hwnd, false);
  if (!launcherSettingsExist()) {
    prompter.tell(IDS_NO_SETTINGS, MB_ICONINFORMATION);
    return;
  }
  CNameDialog ask(nameChoices(loadString(IDS_DEFAULT_NAME), listNames()));
  if (ask.doModal(m_hwnd) != IDOK) return;
  long result = makeBackup(m_context, toStoredName(ask.name()), prompter);
  if (result == 0) fillList();
  showResult(prompter, messageForSave(result), result);
}

void CBackupDialog::onRestore() {
  int row = selectedRow();
  if (row < 0) return;
  std::wstring name = rowName(row);
  Prompter prompter(m_hwnd, false);
  if (!prompter.confirm(IDS_ASK_RESTORE, MB_ICONQUESTION)) return;
  long result = restoreBackup(m_context, name);
  showResult(prompter, messageForRestore(result), result);
}

void CBackupDialog::onDelete() {
  int index = selectedRow();
  if (index < 0) return;
  std::wstring name = rowName(index);
  Prompter prompter(m_hwnd, false);
  if (!prompter.confirm(IDS_ASK_DELETE)) return;
  if (folderExists(m_context.toolFolder + name)) {
    deleteBackup(m_context, name);
    fillList();
  } else {
    SendMessageW(list(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    updateButtons();
  }
}

// Any change of a row may change the selection; the buttons follow whether
// any row is selected (a deselect of one row and the select of another come
// as two notifications, in either order).
LRESULT CBackupDialog::onItemChanged(NMHDR*) {
  updateButtons();
  return 0;
}

}  // namespace backup
