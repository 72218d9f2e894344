// The file browser's dialog: the folder combo, the file types, the list of
// files with their records, the tool bar and the shell's operations.
#include "launcher/dialogs/folder_file_dialog.h"

#include <commctrl.h>
#include <shellapi.h>
#include <winnetwk.h>

#include <vector>

#include "framework/com.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/trace.h"
#include "launcher/bar/shell_menu.h"
#include "launcher/dialogs/browser_rules.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/folder_combo.h"

namespace vorbin {

namespace {

constexpr UINT kFirstShellCommand = 1;
constexpr UINT kLastShellCommand = 0x7FFF;
constexpr size_t kMaxListedFiles = 100000;  // a refresh stops here

uint64_t fileTimeValue(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool fileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring withBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

}  // namespace

class CFolderFileDialog : public fw::CMappedDialog<CFolderFileDialog> {
 public:
  CFolderFileDialog(HINSTANCE resources, const FolderFileRequest& request)
      : CMappedDialog(IDD_FOLDER_FILE, resources), m_request(request) {
    m_sortMode = request.sortMode >= 0 && request.sortMode < kSortModes ? request.sortMode : 0;
    m_viewMode = request.viewMode == 1 ? 1 : 0;
  }

  FolderFileResult result() const { return {m_resultText, m_folder, m_filterIndex, m_sortMode, m_viewMode}; }

  static std::span<const fw::MessageEntry<CFolderFileDialog>> messageMap() {
    static const fw::MessageEntry<CFolderFileDialog> entries[] = {
        {WM_NOTIFY, &CFolderFileDialog::onNotify},
        {WM_CONTEXTMENU, &CFolderFileDialog::onContextMenu},
        {WM_SIZE, &CFolderFileDialog::onSize},
        {WM_INITMENUPOPUP, &CFolderFileDialog::onInitMenuPopup},
        {WM_DRAWITEM, &CFolderFileDialog::onDrawItem},
        {WM_MEASUREITEM, &CFolderFileDialog::onMeasureItem},
        {WM_MENUCHAR, &CFolderFileDialog::onMenuChar},
    };
    return entries;
  }
  static std::span<const fw::CommandEntry<CFolderFileDialog>> commandMap() {
    using D = CFolderFileDialog;
    static const fw::CommandEntry<D> entries[] = {
        {IDC_BROWSER_FOLDER, CBN_SELCHANGE, &D::onFolderChanged},
        {IDC_BROWSER_FOLDER, CBN_KILLFOCUS, &D::onFolderLeft},
        {IDC_BROWSER_FILTER, CBN_SELENDOK, &D::onFilterChanged},
        {ID_BROWSER_USE_FOLDER, fw::CommandEntry<D>::kAnyCode, &D::onUseFolder},
        {ID_BROWSER_DELETE, fw::CommandEntry<D>::kAnyCode, &D::onDelete},
        {ID_BROWSER_SORT_NAME, fw::CommandEntry<D>::kAnyCode, &D::onSortName},
        {ID_BROWSER_SORT_TYPE, fw::CommandEntry<D>::kAnyCode, &D::onSortType},
        {ID_BROWSER_SORT_DATE, fw::CommandEntry<D>::kAnyCode, &D::onSortDate},
        {ID_BROWSER_VIEW_LIST, fw::CommandEntry<D>::kAnyCode, &D::onViewList},
        {ID_BROWSER_VIEW_DETAILS, fw::CommandEntry<D>::kAnyCode, &D::onViewDetails},
        {ID_BROWSER_DISCONNECT, fw::CommandEntry<D>::kAnyCode, &D::onDisconnect},
        {ID_BROWSER_CONNECT, fw::CommandEntry<D>::kAnyCode, &D::onConnect},
    };
    return entries;
  }
  static std::span<const fw::NotifyEntry<CFolderFileDialog>> notifyMap() {
    using D = CFolderFileDialog;
    static const fw::NotifyEntry<D> entries[] = {
        {IDC_BROWSER_LIST, static_cast<int>(LVN_ITEMCHANGED), &D::onItemChanged},
        {IDC_BROWSER_LIST, static_cast<int>(LVN_COLUMNCLICK), &D::onColumnClick},
        {IDC_BROWSER_LIST, static_cast<int>(NM_DBLCLK), &D::onDoubleClick},
        {IDC_BROWSER_LIST, static_cast<int>(LVN_GETDISPINFOW), &D::onGetDispInfo},
        {IDC_BROWSER_LIST, static_cast<int>(LVN_ENDLABELEDITW), &D::onEndLabelEdit},
        {IDC_BROWSER_LIST, static_cast<int>(LVN_KEYDOWN), &D::onListKey},
    };
    return entries;
  }

 protected:
  bool onInitDialog() override;
  void onOK() override;

 private:
  HWND list() const { return item(IDC_BROWSER_LIST); }
  void placeAtAnchor();
  void fillFilters();
  void makeColumns();
  void makeToolBar();
  void applyView();
  void checkSortButton();
  void refresh();
  void sortList();
  void rebuildNameText();
  std::vector<int> selectedItems() const;
  const FileRecord* recordOf(int item) const;
  std::vector<std::wstring> selectedNames() const;
  void pruneMissing();
  void deleteSelected(bool forGood);
  std::wstring nameText() const { return fw::windowText(item(IDC_BROWSER_NAME)); }
  static int CALLBACK compareItems(LPARAM a, LPARAM b, LPARAM self);

  LRESULT onNotify(WPARAM, LPARAM);
  LRESULT onContextMenu(WPARAM, LPARAM);
  LRESULT onSize(WPARAM, LPARAM);
  LRESULT shellMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT onInitMenuPopup(WPARAM w, LPARAM l) { return shellMenuMessage(WM_INITMENUPOPUP, w, l); }
  LRESULT onDrawItem(WPARAM w, LPARAM l) { return shellMenuMessage(WM_DRAWITEM, w, l); }
  LRESULT onMeasureItem(WPARAM w, LPARAM l) { return shellMenuMessage(WM_MEASUREITEM, w, l); }
  LRESULT onMenuChar(WPARAM w, LPARAM l) { return shellMenuMessage(WM_MENUCHAR, w, l); }
  void onFolderChanged();
  void onFolderLeft();
  void onFilterChanged();
  void onUseFolder();
  void onDelete() { deleteSelected(GetKeyState(VK_SHIFT) < 0); }
  void onSortName() { setSort(0); }
  void onSortType() { setSort(4); }
  void onSortDate() { setSort(3); }
  void onViewList() { setView(0); }
  void onViewDetails() { setView(1); }
  void onDisconnect();
  void onConnect();
  void setSort(int mode);
  void setView(int mode);
  LRESULT onItemChanged(NMHDR*);
  LRESULT onColumnClick(NMHDR*);
  LRESULT onDoubleClick(NMHDR*);
  LRESULT onGetDispInfo(NMHDR*);
  LRESULT onEndLabelEdit(NMHDR*);
  LRESULT onListKey(NMHDR*);

  FolderFileRequest m_request;
  FolderPathCombo m_combo;
  FilterList m_filters;
  int m_filterIndex = 0;
  int m_sortMode = 0;
  int m_viewMode = 0;
  std::wstring m_folder;         // ends with a backslash
  std::wstring m_customPattern;  // typed into the name field; wins over the filter
  bool m_selectionChanged = false;
  // Records are appended and never moved out of place between refreshes: a
  // list item's parameter is its record's index.
  std::vector<FileRecord> m_records;
  std::wstring m_resultText;
  HWND m_toolBar = nullptr;
  fw::Font m_listFont;
  ShellMenu m_shellMenu;
};

bool CFolderFileDialog::onInitDialog() {
  placeAtAnchor();
  m_combo.attach(item(IDC_BROWSER_FOLDER), m_request.folder);
  if (!m_request.title.empty()) SetWindowTextW(m_hwnd, m_request.title.c_str());
  SendDlgItemMessageW(m_hwnd, IDC_BROWSER_NAME, EM_LIMITTEXT, kBrowserTextChars - 1, 0);
  fillFilters();
  makeColumns();
  makeToolBar();
  applyView();
  refresh();
  std::wstring text = m_request.previousText;
  if (text.empty() && !m_filters.patterns.empty()) text = m_filters.patterns[m_filterIndex];
  SetDlgItemTextW(m_hwnd, IDC_BROWSER_NAME, text.c_str());
  return true;
}

void CFolderFileDialog::placeAtAnchor() {
  if (!m_request.anchor) return;
  RECT box{};
  GetWindowRect(m_hwnd, &box);
  const int width = box.right - box.left, height = box.bottom - box.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromPoint(*m_request.anchor, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  int x = m_request.anchor->x - width / 2, y = m_request.anchor->y - height / 2;
  x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
  y = std::max(static_cast<int>(work.top), std::min(y, static_cast<int>(work.bottom) - height));
  SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFolderFileDialog::fillFilters() {
  m_filters = parseFilterText(m_request.filter);
  if (m_filters.descriptions.empty()) {
    m_filters.descriptions.push_back(L"*.*");
    m_filters.patterns.push_back(L"*.*");
  }
  HWND combo = item(IDC_BROWSER_FILTER);
  for (const std::wstring& description : m_filters.descriptions)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(description.c_str()));
  m_filterIndex = clampFilterIndex(m_request.filterIndex, m_filters);
  SendMessageW(combo, CB_SETCURSEL, m_filterIndex, 0);
}

void CFolderFileDialog::makeColumns() {
  HWND view = list();
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) {
    m_listFont.reset(CreateFontIndirectW(&font));
    if (m_listFont) SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont.get()), FALSE);
  }
  RECT client{};
  GetClientRect(view, &client);
  const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL) - 4;
  const std::wstring name = resourceString(IDS_BROWSER_NAME_COLUMN, kShortString);
  const std::wstring date = resourceString(IDS_BROWSER_DATE_COLUMN, kShortString);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.cx = width * 3 / 5;
  column.pszText = const_cast<wchar_t*>(name.c_str());
  SendMessageW(view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  column.cx = width * 2 / 5;
  column.pszText = const_cast<wchar_t*>(date.c_str());
  SendMessageW(view, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  ListView_SetExtendedListViewStyle(view, LVS_EX_FULLROWSELECT);
}

void CFolderFileDialog::makeToolBar() {
  m_toolBar = CreateWindowExW(
      0, TOOLBARCLASSNAMEW, nullptr,
      WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER, 0, 0, 0, 0, m_hwnd,
      reinterpret_cast<HMENU>(IDC_BROWSER_TOOLBAR), GetModuleHandleW(nullptr), nullptr);
  if (!m_toolBar) {
    FW_TRACE_FAILURE("CreateWindowExW(toolbar)");
    return;
  }
  SendMessageW(m_toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // The system's own small pictures: standard ones first, the view ones after them.
  SendMessageW(m_toolBar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
  constexpr int kView = STD_PRINT + 1;
  SendMessageW(m_toolBar, TB_LOADIMAGES, IDB_VIEW_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
  auto button = [](int image, int command, BYTE style) {
    TBBUTTON b{};
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = style;
    return b;
  };
  const BYTE group = BTNS_CHECKGROUP;
  const TBBUTTON buttons[] = {
      button(kView + VIEW_PARENTFOLDER, ID_BROWSER_USE_FOLDER, BTNS_BUTTON),
      button(STD_DELETE, ID_BROWSER_DELETE, BTNS_BUTTON),
      button(0, 0, BTNS_SEP),
      button(kView + VIEW_SORTNAME, ID_BROWSER_SORT_NAME, group),
      button(kView + VIEW_SORTTYPE, ID_BROWSER_SORT_TYPE, group),
      button(kView + VIEW_SORTDATE, ID_BROWSER_SORT_DATE, group),
      button(0, 0, BTNS_SEP),
      button(kView + VIEW_LIST, ID_BROWSER_VIEW_LIST, group),
      button(kView + VIEW_DETAILS, ID_BROWSER_VIEW_DETAILS, group),
      button(0, 0, BTNS_SEP),
      button(kView + VIEW_NETDISCONNECT, ID_BROWSER_DISCONNECT, BTNS_BUTTON),
      button(kView + VIEW_NETCONNECT, ID_BROWSER_CONNECT, BTNS_BUTTON),
  };
  SendMessageW(m_toolBar, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  SendMessageW(m_toolBar, TB_AUTOSIZE, 0, 0);
  checkSortButton();
}

void CFolderFileDialog::checkSortButton() {
  if (!m_toolBar) return;
  const int sort = m_sortMode <= 1   ? ID_BROWSER_SORT_NAME
                   : m_sortMode <= 3 ? ID_BROWSER_SORT_DATE
                                     : ID_BROWSER_SORT_TYPE;
  for (int command : {ID_BROWSER_SORT_NAME, ID_BROWSER_SORT_TYPE, ID_BROWSER_SORT_DATE})
    SendMessageW(m_toolBar, TB_CHECKBUTTON, command, command == sort);
  SendMessageW(m_toolBar, TB_CHECKBUTTON, ID_BROWSER_VIEW_LIST, m_viewMode == 0);
  SendMessageW(m_toolBar, TB_CHECKBUTTON, ID_BROWSER_VIEW_DETAILS, m_viewMode == 1);
}

void CFolderFileDialog::applyView() {
  HWND view = list();
  LONG_PTR style = GetWindowLongPtrW(view, GWL_STYLE) & ~static_cast<LONG_PTR>(LVS_TYPEMASK);
  style |= m_viewMode == 1 ? LVS_REPORT : LVS_LIST;
  SetWindowLongPtrW(view, GWL_STYLE, style);
  InvalidateRect(view, nullptr, TRUE);
  checkSortButton();
}

void CFolderFileDialog::refresh() {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  HWND view = list();
  SendMessageW(view, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(view);
  m_records.clear();
  m_selectionChanged = false;
  m_folder = withBackslash(m_combo.path());
  const std::wstring field =
      !m_customPattern.empty()
          ? m_customPattern
          : (m_filterIndex < static_cast<int>(m_filters.patterns.size()) ? m_filters.patterns[m_filterIndex]
                                                                         : std::wstring(L"*.*"));
  ListedNames listed;
  for (const std::wstring& pattern : splitFilterPatterns(field)) {
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((m_folder + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (!listed.add(data.cFileName)) continue;
      m_records.push_back({fileTimeValue(data.ftLastWriteTime),
                           shownFileName(data.cFileName, data.cAlternateFileName[0] != 0)});
      LVITEMW entry{};
      entry.mask = LVIF_TEXT | LVIF_PARAM;
      entry.iItem = static_cast<int>(m_records.size());
      entry.pszText = LPSTR_TEXTCALLBACKW;
      entry.lParam = static_cast<LPARAM>(m_records.size() - 1);
      SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    } while (m_records.size() < kMaxListedFiles && FindNextFileW(find, &data));
    FindClose(find);
  }
  sortList();
  SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(view, nullptr, TRUE);
  SetCursor(previous);
}

int CALLBACK CFolderFileDialog::compareItems(LPARAM a, LPARAM b, LPARAM self) {
  const auto* dialog = reinterpret_cast<const CFolderFileDialog*>(self);
  const size_t count = dialog->m_records.size();
  if (static_cast<size_t>(a) >= count || static_cast<size_t>(b) >= count) return 0;
  return compareRecords(dialog->m_records[static_cast<size_t>(a)], dialog->m_records[static_cast<size_t>(b)],
                        dialog->m_sortMode);
}

void CFolderFileDialog::sortList() {
  // The plain sort hands the items' parameters, which index the records.
  ListView_SortItems(list(), compareItems, reinterpret_cast<LPARAM>(this));
}

void CFolderFileDialog::setSort(int mode) {
  m_sortMode = mode;
  checkSortButton();
  sortList();
}

void CFolderFileDialog::setView(int mode) {
  m_viewMode = mode;
  applyView();
}

std::vector<int> CFolderFileDialog::selectedItems() const {
  std::vector<int> items;
  for (int i = ListView_GetNextItem(list(), -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(list(), i, LVNI_SELECTED))
    items.push_back(i);
  return items;
}

const FileRecord* CFolderFileDialog::recordOf(int index) const {
  LVITEMW entry{};
  entry.mask = LVIF_PARAM;
  entry.iItem = index;
  if (!SendMessageW(list(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry))) return nullptr;
  const size_t record = static_cast<size_t>(entry.lParam);
  return record < m_records.size() ? &m_records[record] : nullptr;
}

std::vector<std::wstring> CFolderFileDialog::selectedNames() const {
  std::vector<std::wstring> names;
  for (int index : selectedItems())
    if (const FileRecord* record = recordOf(index)) names.push_back(record->name);
  return names;
}

void CFolderFileDialog::rebuildNameText() {
  if (!m_selectionChanged) return;
  m_selectionChanged = false;
  const std::wstring text = selectionText(selectedNames());
  if (!text.empty()) SetDlgItemTextW(m_hwnd, IDC_BROWSER_NAME, text.c_str());
}

void CFolderFileDialog::onOK() {
  // A folder typed into the combo is entered first.
  const std::wstring shown = fw::windowText(item(IDC_BROWSER_FOLDER));
  if (!shown.empty() && withBackslash(shown) != m_folder && shown != m_combo.path()) {
    if (m_combo.goToTyped()) return;  // the combo's change refreshed the list
  }
  if (withBackslash(m_combo.path()) != m_folder) {
    refresh();
    return;
  }
  rebuildNameText();
  const OkDecision decision = decideOk(nameText(), static_cast<int>(selectedItems().size()));
  switch (decision.action) {
    case OkAction::kBeep:
      MessageBeep(MB_OK);
      return;
    case OkAction::kUsePattern:
      m_customPattern = decision.text;
      SendDlgItemMessageW(m_hwnd, IDC_BROWSER_NAME, EM_SETSEL, 0, -1);
      refresh();
      return;
    case OkAction::kClose:
      m_resultText = decision.text;
      endDialog(IDOK);
      return;
  }
}

void CFolderFileDialog::onUseFolder() {
  m_resultText.clear();
  endDialog(IDOK);
}

void CFolderFileDialog::onFolderChanged() { refresh(); }

void CFolderFileDialog::onFolderLeft() {
  const std::wstring shown = fw::windowText(item(IDC_BROWSER_FOLDER));
  if (shown != m_combo.path()) m_combo.goToTyped();
}

void CFolderFileDialog::onFilterChanged() {
  const int index = static_cast<int>(SendDlgItemMessageW(m_hwnd, IDC_BROWSER_FILTER, CB_GETCURSEL, 0, 0));
  m_customPattern.clear();
  m_filterIndex = clampFilterIndex(index, m_filters);
  refresh();
  if (holdsWildcard(nameText()))
    SetDlgItemTextW(m_hwnd, IDC_BROWSER_NAME, m_filters.patterns[m_filterIndex].c_str());
}

void CFolderFileDialog::pruneMissing() {
  HWND view = list();
  SendMessageW(view, WM_SETREDRAW, FALSE, 0);
  for (int i = ListView_GetItemCount(view) - 1; i >= 0; --i) {
    const FileRecord* record = recordOf(i);
    if (record && !fileExists(m_folder + record->name)) ListView_DeleteItem(view, i);
  }
  SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(view, nullptr, TRUE);
}

void CFolderFileDialog::deleteSelected(bool forGood) {
  const DeleteList paths = deleteList(m_folder, selectedNames());
  if (paths.count == 0) return;
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = m_hwnd;
  operation.wFunc = FO_DELETE;
  operation.pFrom = paths.text.c_str();
  operation.fFlags = forGood ? 0 : FOF_ALLOWUNDO;
  if (SHFileOperationW(&operation) != 0) return;
  pruneMissing();
}

void CFolderFileDialog::onDisconnect() {
  const DWORD result = WNetDisconnectDialog(m_hwnd, RESOURCETYPE_DISK);
  if (result != NO_ERROR && result != static_cast<DWORD>(-1)) MessageBeep(MB_ICONEXCLAMATION);
}

void CFolderFileDialog::onConnect() {
  const DWORD result = WNetConnectionDialog(m_hwnd, RESOURCETYPE_DISK);
  if (result != NO_ERROR && result != static_cast<DWORD>(-1)) MessageBeep(MB_ICONEXCLAMATION);
}

LRESULT CFolderFileDialog::onNotify(WPARAM, LPARAM lParam) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code != TTN_GETDISPINFOW) return notHandled();
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  const UINT command = static_cast<UINT>(header->idFrom);
  if (command < ID_BROWSER_USE_FOLDER || command > ID_BROWSER_CONNECT) return notHandled();
  const std::wstring tip = resourceString(command, std::size(info->szText));
  lstrcpynW(info->szText, tip.c_str(), static_cast<int>(std::size(info->szText)));
  info->lpszText = info->szText;
  return 0;
}

LRESULT CFolderFileDialog::onSize(WPARAM, LPARAM) {
  if (m_toolBar) SendMessageW(m_toolBar, TB_AUTOSIZE, 0, 0);
  return notHandled();
}

LRESULT CFolderFileDialog::onItemChanged(NMHDR* header) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
    m_selectionChanged = true;
  return 0;
}

LRESULT CFolderFileDialog::onColumnClick(NMHDR* header) {
  const auto* click = reinterpret_cast<const NMLISTVIEW*>(header);
  setSort(sortAfterColumnClick(click->iSubItem, m_sortMode));
  return 0;
}

LRESULT CFolderFileDialog::onDoubleClick(NMHDR* header) {
  if (reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem >= 0) onOK();
  return 0;
}

LRESULT CFolderFileDialog::onGetDispInfo(NMHDR* header) {
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
  rebuildNameText();
  const size_t index = static_cast<size_t>(info->item.lParam);
  if (!(info->item.mask & LVIF_TEXT) || index >= m_records.size() || info->item.cchTextMax <= 0) return 0;
  const FileRecord& record = m_records[index];
  std::wstring text;
  if (info->item.iSubItem == 0) {
    text = record.name;
  } else {
    FILETIME utc{static_cast<DWORD>(record.writeTime), static_cast<DWORD>(record.writeTime >> 32)}, local{};
    SYSTEMTIME time{};
    if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &time)) {
      wchar_t date[64] = {}, clock[64] = {};
      GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 64);
      GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, clock, 64);
      text = std::wstring(date) + L" " + clock;
    }
  }
  lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
  return 0;
}

LRESULT CFolderFileDialog::onEndLabelEdit(NMHDR* header) {
  const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(header);
  if (!info->item.pszText) return FALSE;
  const FileRecord* record = recordOf(info->item.iItem);
  if (!record) return FALSE;
  const std::wstring oldName = record->name;
  const uint64_t time = record->writeTime;
  const std::wstring newName = info->item.pszText;
  if (!renameWanted(oldName, newName)) return FALSE;
  if (!acceptableNewName(newName) || fileExists(m_folder + newName)) {
    MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
  }
  const std::wstring from = m_folder + oldName + L'\0', to = m_folder + newName + L'\0';
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = m_hwnd;
  operation.wFunc = FO_RENAME;
  operation.pFrom = from.c_str();
  operation.pTo = to.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;
  if (SHFileOperationW(&operation) != 0 || operation.fAnyOperationsAborted || !fileExists(m_folder + newName))
    return FALSE;
  m_records.push_back({time, newName});
  LVITEMW entry{};
  entry.mask = LVIF_PARAM;
  entry.iItem = info->item.iItem;
  entry.lParam = static_cast<LPARAM>(m_records.size() - 1);
  SendMessageW(list(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
  ListView_RedrawItems(list(), info->item.iItem, info->item.iItem);
  for (int other : selectedItems())
    if (other != info->item.iItem) ListView_SetItemState(list(), other, 0, LVIS_SELECTED);
  m_selectionChanged = true;
  return FALSE;  // the text stays supplied on demand
}

LRESULT CFolderFileDialog::onListKey(NMHDR* header) {
  const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
  if (key->wVKey == VK_DELETE) {
    deleteSelected(GetKeyState(VK_SHIFT) < 0);
  } else if (key->wVKey == VK_F2) {
    const int focused = ListView_GetNextItem(list(), -1, LVNI_FOCUSED);
    if (focused >= 0) ListView_EditLabel(list(), focused);
  }
  return 0;
}

LRESULT CFolderFileDialog::onContextMenu(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != list()) return notHandled();
  POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  LVHITTESTINFO hit{};
  hit.pt = at;
  ScreenToClient(list(), &hit.pt);
  const int clicked = ListView_HitTest(list(), &hit);
  if (clicked < 0) return 0;
  const std::vector<std::wstring> names = selectedNames();
  HMENU popup = CreatePopupMenu();
  if (!popup) return 0;
  if (m_shellMenu.fillMany(popup, m_folder, names, kFirstShellCommand, kLastShellCommand)) {
    const UINT command =
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hwnd, nullptr);
    if (command) {
      // Command numbers differ between shells: the verb says what happened.
      const std::string verb = m_shellMenu.verbOf(command);
      if (verb == "rename") {
        ListView_EditLabel(list(), clicked);
      } else {
        m_shellMenu.invoke(m_hwnd, command, at);
        if (verb == "delete" || verb == "cut")
          pruneMissing();
        else if (verb != "copy" && verb != "properties")
          refresh();
      }
    }
  }
  m_shellMenu.reset();
  DestroyMenu(popup);
  return 0;
}

// Only while the shell's menu is open; other owner-drawn items go on.
LRESULT CFolderFileDialog::shellMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (m_shellMenu.active() && m_shellMenu.handleMenuMessage(msg, wParam, lParam, &result)) return result;
  return notHandled();
}

std::optional<FolderFileResult> pickDocuments(HWND owner, HINSTANCE resources,
                                              const FolderFileRequest& request) {
  fw::ensureCommonControls();
  fw::ComScope com;
  CFolderFileDialog dialog(resources, request);
  if (dialog.doModal(owner) != IDOK) return std::nullopt;
  return dialog.result();
}

}  // namespace vorbin
