// The icon picker: an owner-drawn list box whose rows hold six icon cells,
// a subclass that moves the selection by cell, and the loaders behind it.
#include "launcher/widgets/icon_picker.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "framework/dialog.h"
#include "framework/trace.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/folder_walk.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/picker_rules.h"
#include "launcher/widgets/program_picker.h"
#include "launcher/widgets/progress_dialog.h"

namespace vorbin {

using icon_grid::Cell;
namespace grid = icon_grid;

namespace {

constexpr wchar_t kPickerProperty[] = L"VorbinIconPicker";
constexpr int kGridClientHeight = grid::kVisibleRows * grid::kCell + 4;

// Files of a folder as the walk wants them.
class DiskListing : public FolderSource {
 public:
  std::vector<FolderEntry> list(const std::wstring& folder, const std::wstring& pattern) override {
    std::vector<FolderEntry> entries;
    std::wstring query = folder;
    if (!query.empty() && query.back() != L'\\') query += L'\\';
    query += pattern;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW(query.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                         (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                         (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
  }
};

std::wstring systemIconLibrary() {
  wchar_t folder[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  std::wstring path = n > 0 && n < MAX_PATH ? std::wstring(folder, n) : L"C:\\Windows\\system32";
  return path + L"\\shell32.dll";
}

int fileIconCount(const std::wstring& file) {
  const UINT count = ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0);
  return count == UINT_MAX ? 0 : static_cast<int>(count);
}

}  // namespace

class CIconPickerDialog : public fw::CMappedDialog<CIconPickerDialog> {
 public:
  CIconPickerDialog(HINSTANCE resources, FolderValue* iconDirectory)
      : CMappedDialog(IDD_ICON_PICKER, resources ? resources : static_cast<HINSTANCE>(resourceModule())),
        m_iconDirectory(iconDirectory) {
    m_usesCommonControls = false;
  }

  void setSource(IconSource source) {
    m_source = std::move(source);
    clearIcons();
    m_loaded = false;
  }
  int count() const { return static_cast<int>(m_icons.size()); }
  std::optional<IconChoice> takeChoice() { return std::exchange(m_choice, std::nullopt); }

  static std::span<const fw::MessageEntry<CIconPickerDialog>> messageMap() {
    static const fw::MessageEntry<CIconPickerDialog> entries[] = {
        {WM_DRAWITEM, &CIconPickerDialog::onDrawItem},
        {WM_MEASUREITEM, &CIconPickerDialog::onMeasureItem},
    };
    return entries;
  }
  static std::span<const fw::CommandEntry<CIconPickerDialog>> commandMap() {
    static const fw::CommandEntry<CIconPickerDialog> entries[] = {
        {IDC_ICON_BROWSE, BN_CLICKED, &CIconPickerDialog::onBrowse},
    };
    return entries;
  }

 protected:
  bool onInitDialog() override;
  void onOK() override;
  void onCancel() override;

 private:
  // Where a cell's icon came from, for the caller to store.
  struct Origin {
    std::wstring file;
    int index = 0;
  };

  LRESULT onDrawItem(WPARAM, LPARAM lParam);
  LRESULT onMeasureItem(WPARAM, LPARAM lParam);
  void onBrowse();
  static LRESULT CALLBACK gridProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);
  bool onGridMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  void fitGrid();
  void loadSource();
  bool addIcon(HICON icon, Origin origin);  // takes ownership; false at the cap
  bool addFileIcons(const std::wstring& file);
  void addShellIcon(const std::wstring& path, const IdListBytes* idList);
  void scanFolder(const std::wstring& folder, const std::wstring& pattern, bool recurse);
  void clearIcons();
  void select(Cell cell);
  void invalidateCell(Cell cell);
  void keepPosition();
  void updateOk();

  HWND grid() const { return item(IDC_ICON_GRID); }

  FolderValue* m_iconDirectory;
  IconSource m_source;
  bool m_loaded = false;
  std::vector<fw::IconHandle> m_icons;
  std::vector<Origin> m_origins;
  Cell m_selected;
  int m_topRow = 0;
  WNDPROC m_gridProc = nullptr;
  std::optional<IconChoice> m_choice;
};

bool CIconPickerDialog::onInitDialog() {
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  fitGrid();
  HWND list = grid();
  SetPropW(list, kPickerProperty, this);
  m_gridProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&gridProc)));
  SendMessageW(list, LB_SETITEMHEIGHT, 0, grid::kCell);
  if (m_loaded && !m_icons.empty()) {
    // Shown before: the same grid, where it was left.
    for (int row = 0; row < grid::rowCount(count()); ++row) SendMessageW(list, LB_ADDSTRING, 0, row);
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(m_topRow), 0);
    select(m_selected);
  } else {
    loadSource();
    m_loaded = true;
    select({0, 0});
  }
  updateOk();
  SetCursor(previous);
  return true;
}

// Six cells and the scroll bar in the list; the buttons and the dialog grow with it.
void CIconPickerDialog::fitGrid() {
  HWND list = grid();
  RECT box, client;
  GetWindowRect(list, &box);
  GetClientRect(list, &client);
  const int frameX = (box.right - box.left) - client.right, frameY = (box.bottom - box.top) - client.bottom;
  // The list is still empty, so its scroll bar is not shown yet: room is made for it.
  const int scroll = GetSystemMetrics(SM_CXVSCROLL);
  const int width = grid::kColumns * grid::kCell + 4 + frameX + scroll;
  const int height = kGridClientHeight + frameY;
  const int dx = width - (box.right - box.left), dy = height - (box.bottom - box.top);
  SetWindowPos(list, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int id : {IDOK, IDCANCEL, IDC_ICON_BROWSE}) {
    HWND button = item(id);
    RECT at;
    GetWindowRect(button, &at);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&at), 2);
    SetWindowPos(button, nullptr, at.left + dx, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame;
  GetWindowRect(m_hwnd, &frame);
  SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left + dx,
               frame.bottom - frame.top + std::max(0, dy), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CIconPickerDialog::loadSource() {
  switch (m_source.kind) {
    case IconSource::Kind::kFile:
      addFileIcons(m_source.path);
      break;
    case IconSource::Kind::kFolder:
      addShellIcon(m_source.path, nullptr);
      break;
    case IconSource::Kind::kIdList:
      addShellIcon({}, &m_source.idList);
      break;
    case IconSource::Kind::kGroup:
      if (m_source.groupPicture) addIcon(CopyIcon(m_source.groupPicture), {});
      for (const IconSource::GroupItem& entry : m_source.items) {
        // A target without icons of its own shows the item's picture.
        if (!entry.target.empty() && fileIconCount(entry.target) > 0) {
          if (!addFileIcons(entry.target)) break;
        } else if (entry.picture) {
          if (!addIcon(CopyIcon(entry.picture), {})) break;
        }
      }
      break;
    case IconSource::Kind::kNone:
      break;
  }
  if (m_icons.empty()) addFileIcons(systemIconLibrary());
}

bool CIconPickerDialog::addIcon(HICON icon, Origin origin) {
  if (!icon) return true;
  if (count() >= grid::kMaxIcons) {
    DestroyIcon(icon);
    return false;
  }
  m_icons.emplace_back(icon);
  m_origins.push_back(std::move(origin));
  if (HWND list = m_hwnd ? grid() : nullptr) {
    if ((count() - 1) % grid::kColumns == 0) SendMessageW(list, LB_ADDSTRING, 0, count() / grid::kColumns);
    // The first screenful shows while the rest loads.
    if (count() == grid::kColumns * grid::kVisibleRows + grid::kColumns) UpdateWindow(list);
  }
  return count() < grid::kMaxIcons;
}

bool CIconPickerDialog::addFileIcons(const std::wstring& file) {
  const int total = fileIconCount(file);
  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  for (int index = 0; index < total; ++index) {
    // One at a time: Wine hands back only the first when asked for several.
    HICON icon = nullptr;
    const UINT got = PrivateExtractIconsW(file.c_str(), index, cx, cy, &icon, nullptr, 1, 0);
    if (got == 0 || got == UINT_MAX || !icon) continue;
    if (!addIcon(icon, {file, index})) return false;
  }
  return count() < grid::kMaxIcons;
}

void CIconPickerDialog::addShellIcon(const std::wstring& path, const IdListBytes* idList) {
  SHFILEINFOW info = {};
  UINT flags = SHGFI_ICON | SHGFI_LARGEICON;
  DWORD_PTR found = 0;
  if (idList) {
    const IdListBytes list = idListCopy(*idList);
    if (list.empty()) return;
    found =
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list.data()), 0, &info, sizeof(info), flags | SHGFI_PIDL);
  } else {
    found = SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags);
  }
  if (found && info.hIcon) addIcon(info.hIcon, {});
}

void CIconPickerDialog::scanFolder(const std::wstring& folder, const std::wstring& pattern, bool recurse) {
  ProgressDialog progress(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE)));
  progress.open(m_hwnd, IDS_PROGRESS_ICONS);
  DiskListing disk;
  const uint32_t mode = kWalkFilesOnly | (recurse ? kWalkRecurse : 0);
  walkFolder(disk, folder, mode, pattern, [&](uint32_t flags, const std::wstring& path) {
    if (flags & kFoundFile) {
      progress.setText(path);
      if (!addFileIcons(path)) return false;  // the cap: keep what was found
    }
    return !progress.cancelled();
  });
  progress.close();
}

void CIconPickerDialog::clearIcons() {
  m_icons.clear();
  m_origins.clear();
  m_selected = {};
  m_topRow = 0;
  if (m_hwnd) SendMessageW(grid(), LB_RESETCONTENT, 0, 0);
}

void CIconPickerDialog::invalidateCell(Cell cell) {
  RECT row;
  if (SendMessageW(grid(), LB_GETITEMRECT, static_cast<WPARAM>(cell.row), reinterpret_cast<LPARAM>(&row)) ==
      LB_ERR)
    return;
  RECT box{row.left + cell.column * grid::kCell, row.top, row.left + (cell.column + 1) * grid::kCell,
           row.bottom};
  InvalidateRect(grid(), &box, TRUE);
}

void CIconPickerDialog::select(Cell cell) {
  if (count() == 0) return;
  if (grid::indexOf(cell) >= count()) cell = grid::cellOf(count() - 1);
  const Cell previous = m_selected;
  m_selected = cell;
  SendMessageW(grid(), LB_SETCURSEL, static_cast<WPARAM>(cell.row), 0);
  invalidateCell(previous);
  invalidateCell(cell);
}

void CIconPickerDialog::updateOk() {
  // With no icon there is nothing to hand back.
  EnableWindow(item(IDOK), count() > 0 && grid::indexOf(m_selected) < count());
}

void CIconPickerDialog::keepPosition() {
  m_topRow = static_cast<int>(SendMessageW(grid(), LB_GETTOPINDEX, 0, 0));
}

void CIconPickerDialog::onOK() {
  const int index = grid::indexOf(m_selected);
  if (index < 0 || index >= count()) return;
  IconChoice choice;
  choice.icon.reset(CopyIcon(m_icons[static_cast<size_t>(index)].get()));
  choice.file = m_origins[static_cast<size_t>(index)].file;
  choice.index = m_origins[static_cast<size_t>(index)].index;
  choice.cell = index;
  m_choice = std::move(choice);
  keepPosition();
  endDialog(IDOK);
}

void CIconPickerDialog::onCancel() {
  keepPosition();
  endDialog(IDCANCEL);
}

LRESULT CIconPickerDialog::onMeasureItem(WPARAM, LPARAM lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (measure->CtlID != IDC_ICON_GRID) return notHandled();
  measure->itemHeight = grid::kCell;
  return TRUE;
}

LRESULT CIconPickerDialog::onDrawItem(WPARAM, LPARAM lParam) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (draw->CtlID != IDC_ICON_GRID) return notHandled();
  if (draw->itemID == static_cast<UINT>(-1)) return TRUE;
  const int row = static_cast<int>(draw->itemID);
  FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(COLOR_WINDOW));
  for (int column = 0; column < grid::kColumns; ++column) {
    const int index = grid::indexOf({row, column});
    if (index >= count()) break;
    const RECT cell{draw->rcItem.left + column * grid::kCell, draw->rcItem.top,
                    draw->rcItem.left + (column + 1) * grid::kCell, draw->rcItem.top + grid::kCell};
    const bool selected = m_selected == Cell{row, column};
    FillRect(draw->hDC, &cell, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    DrawIconEx(draw->hDC, cell.left + grid::kIconOffset, cell.top + grid::kIconOffset,
               m_icons[static_cast<size_t>(index)].get(), 32, 32, 0, nullptr, DI_NORMAL);
  }
  return TRUE;
}

LRESULT CALLBACK CIconPickerDialog::gridProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<CIconPickerDialog*>(GetPropW(list, kPickerProperty));
  if (!self) return DefWindowProcW(list, msg, wParam, lParam);
  const WNDPROC previous = self->m_gridProc;
  LRESULT result = 0;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(list, kPickerProperty);
  } else if (self->onGridMessage(msg, wParam, lParam, result)) {
    return result;
  }
  return CallWindowProcW(previous, list, msg, wParam, lParam);
}

// The list box moves by rows; the keys and the pointer choose the cell.
bool CIconPickerDialog::onGridMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_KEYDOWN: {
      grid::Move key;
      switch (wParam) {
        case VK_LEFT:
          key = grid::Move::kLeft;
          break;
        case VK_RIGHT:
          key = grid::Move::kRight;
          break;
        case VK_UP:
          key = grid::Move::kUp;
          break;
        case VK_DOWN:
          key = grid::Move::kDown;
          break;
        case VK_HOME:
          key = grid::Move::kHome;
          break;
        case VK_END:
          key = grid::Move::kEnd;
          break;
        case VK_PRIOR:
          key = grid::Move::kPageUp;
          break;
        case VK_NEXT:
          key = grid::Move::kPageDown;
          break;
        default:
          return false;
      }
      select(grid::move(m_selected, key, count()));
      return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: {
      if (msg == WM_MOUSEMOVE && !(wParam & MK_LBUTTON)) return false;
      if (msg != WM_MOUSEMOVE) {
        SetFocus(grid());
        SetCapture(grid());
      }
      const int top = static_cast<int>(SendMessageW(grid(), LB_GETTOPINDEX, 0, 0));
      const std::optional<Cell> hit =
          grid::hitTest(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), top, count());
      if (hit && !(*hit == m_selected)) select(*hit);
      if (msg == WM_LBUTTONDBLCLK && hit) {
        ReleaseCapture();
        onOK();
      }
      return true;
    }
    case WM_LBUTTONUP:
      if (GetCapture() == grid()) ReleaseCapture();
      return true;
    default:
      return false;
  }
}

void CIconPickerDialog::onBrowse() {
  FolderValue fallback;
  FolderValue& place = m_iconDirectory ? *m_iconDirectory : fallback;
  HINSTANCE library = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hwnd, GWLP_HINSTANCE));
  PickRequest request;
  request.owner = m_hwnd;
  request.resources = library;
  request.title = resourceStringFrom(library, IDS_ICON_BROWSE_TITLE, kMediumString);
  request.filter = resourceStringFrom(library, IDS_ICON_BROWSE_FILTER, kLongString);
  request.filterIndex = std::max(1, place.numbers[0]);
  request.initialFolder = place.path;
  request.flags = pick_flag::kMultiSelect | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  request.mode = PickMode::kCheckBox;
  request.checked = place.numbers[1] != 0;
  request.checkText = resourceStringFrom(library, IDS_ICON_SUBFOLDERS, kShortString);
  const PickResult picked = pickProgram(request);
  if (!picked.accepted && !picked.folderButton) return;  // Cancel leaves the grid as it was

  ShowWindow(m_hwnd, SW_SHOW);
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  clearIcons();
  if (picked.folderButton) {
    scanFolder(picked.folder, filterPattern(request.filter, picked.filterIndex), picked.checked);
  } else {
    for (const std::wstring& file : picked.files)
      if (!addFileIcons(file)) break;
  }
  select({0, 0});
  InvalidateRect(grid(), nullptr, TRUE);
  updateOk();
  SetCursor(previous);
  if (!picked.folder.empty()) place.path = picked.folder;
  place.numbers[0] = picked.filterIndex;
  place.numbers[1] = picked.checked ? 1 : 0;
}

IconPicker::IconPicker(HINSTANCE resources, FolderValue* iconDirectory)
    : m_dialog(std::make_unique<CIconPickerDialog>(resources, iconDirectory)) {}

IconPicker::~IconPicker() = default;

void IconPicker::setSource(IconSource source) { m_dialog->setSource(std::move(source)); }

std::optional<IconChoice> IconPicker::pick(HWND owner) {
  if (m_dialog->doModal(owner) != IDOK) return std::nullopt;
  return m_dialog->takeChoice();
}

int IconPicker::iconCount() const { return m_dialog->count(); }

}  // namespace vorbin
