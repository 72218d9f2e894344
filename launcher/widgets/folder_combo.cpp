// The folder combo's windows: subclasses of the combo, its edit field and its
// owner, the owner-drawn entries and the moves through folders and drives.
#include "launcher/widgets/folder_combo.h"

#include <windowsx.h>

#include "framework/trace.h"
#include "launcher/render/bitmap_ids.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/widgets/folder_rules.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

namespace {

constexpr UINT kMsgDroppedDown = WM_USER + 0x121;  // posted to the combo when its list drops
constexpr UINT kMsgShowPath = WM_USER + 0x122;     // puts the path back after the list closed
constexpr size_t kMaxSubfolders = 4000;            // a list beyond this helps nobody

bool isFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring withBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path;
}

// The name of one chain entry as the file system stores it.
std::wstring storedName(const std::wstring& parent, const std::wstring& name) {
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW((withBackslash(parent) + name).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return name;
  FindClose(find);
  return comboName(data.cFileName, data.cAlternateFileName[0] != 0);
}

bool anyKeyHeld(std::initializer_list<int> keys) {
  for (int key : keys)
    if (GetKeyState(key) < 0) return true;
  return false;
}

}  // namespace

FolderPathCombo::~FolderPathCombo() { detach(); }

bool FolderPathCombo::attach(HWND combo, const std::wstring& folder, bool showFolder) {
  detach();
  if (!combo) return false;
  m_combo = combo;
  m_owner = GetParent(combo);
  m_id = GetDlgCtrlID(combo);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(combo, &info)) {
    m_edit = info.hwndItem;
    m_list = info.hwndList;
  }
  m_selectedBack = GetSysColor(COLOR_HIGHLIGHT);
  m_back = GetSysColor(COLOR_WINDOW);
  m_selectedText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  m_text = GetSysColor(COLOR_WINDOWTEXT);
  m_images = ImageList_LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_COMBO_IMAGES), 16, 0,
                                  CLR_DEFAULT, IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (!m_images) FW_TRACE_FAILURE("ImageList_LoadImageW");

  // Entries at least as tall as their icons, the closed field like a plain combo.
  const int entry = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  const int height = std::max(entry, 18);
  SendMessageW(combo, CB_SETITEMHEIGHT, 0, height);
  m_iconOffset = height / 2 - 8;
  SendMessageW(combo, CB_SETEXTENDEDUI, TRUE, 0);

  SetWindowSubclass(combo, comboProc, 1, reinterpret_cast<DWORD_PTR>(this));
  if (m_edit) SetWindowSubclass(m_edit, editProc, 1, reinterpret_cast<DWORD_PTR>(this));
  // The owner's subclass is keyed by this object: two combos may share one owner.
  if (m_owner)
    SetWindowSubclass(m_owner, ownerProc, reinterpret_cast<UINT_PTR>(this),
                      reinterpret_cast<DWORD_PTR>(this));

  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  m_path = current;
  if (showFolder && !setPath(folder)) setPath(m_path);
  if (!showFolder) SetWindowTextW(combo, folder.c_str());
  return true;
}

void FolderPathCombo::detach() {
  if (m_combo) RemoveWindowSubclass(m_combo, comboProc, 1);
  if (m_edit) RemoveWindowSubclass(m_edit, editProc, 1);
  if (m_owner) RemoveWindowSubclass(m_owner, ownerProc, reinterpret_cast<UINT_PTR>(this));
  if (m_images) ImageList_Destroy(m_images);
  m_images = nullptr;
  m_combo = m_owner = m_edit = m_list = nullptr;
}

bool FolderPathCombo::setPath(const std::wstring& folder) {
  std::optional<std::wstring> path = normaliseTypedPath(folder, m_path);
  if (!path) return false;
  m_path = std::move(*path);
  m_driveMode = false;
  showPathText();
  return true;
}

bool FolderPathCombo::dropped() const { return m_combo && SendMessageW(m_combo, CB_GETDROPPEDSTATE, 0, 0); }

void FolderPathCombo::showPathText() {
  if (!m_combo) return;
  SetWindowTextW(m_combo, m_path.c_str());
  if (m_edit) SendMessageW(m_edit, EM_SETSEL, m_path.size(), m_path.size());
}

std::wstring FolderPathCombo::editText() const {
  if (!m_edit) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(m_edit)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(m_edit, text.data(), static_cast<int>(text.size()))));
  wchar_t expanded[MAX_PATH] = {};
  const DWORD length = ExpandEnvironmentStringsW(text.c_str(), expanded, MAX_PATH);
  if (length > 0 && length <= MAX_PATH) return expanded;
  return text;
}

// A text typed (or stored) in the field becomes the folder the list starts from.
void FolderPathCombo::takeTypedPath() {
  const std::wstring typed = editText();
  if (typed == m_path) return;
  if (const std::optional<std::wstring> path = normaliseTypedPath(typed, m_path))
    m_path = deepestExisting(*path, isFolder);
}

bool FolderPathCombo::goToTyped() {
  const std::optional<std::wstring> path = normaliseTypedPath(editText(), m_path);
  if (!path) {
    MessageBeep(MB_OK);
    showPathText();
    return false;
  }
  const std::wstring target = deepestExisting(*path, isFolder);
  const std::wstring before = m_path;
  if (!enterFolder(target) && !enterFolder(pathRoot(target))) {
    MessageBeep(MB_OK);
    showPathText();
    return false;
  }
  if (dropped()) fillFolders();
  showPathText();
  if (m_path != before) notify(CBN_SELCHANGE);
  return m_path != before;
}

bool FolderPathCombo::enterFolder(const std::wstring& folder) {
  if (folder.empty() || !SetCurrentDirectoryW(folder.c_str())) return false;
  m_path = folder;
  return true;
}

void FolderPathCombo::notify(WORD code) {
  if (!m_owner) return;
  m_notifying = true;
  SendMessageW(m_owner, WM_COMMAND, MAKEWPARAM(m_id, code), reinterpret_cast<LPARAM>(m_combo));
  m_notifying = false;
}

std::vector<std::wstring> FolderPathCombo::entryTexts() const {
  std::vector<std::wstring> texts;
  const int count = static_cast<int>(SendMessageW(m_combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(m_combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
    if (length > 0) SendMessageW(m_combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    texts.push_back(std::move(text));
  }
  return texts;
}

int FolderPathCombo::listSelection() const {
  if (m_list && dropped()) return static_cast<int>(SendMessageW(m_list, LB_GETCURSEL, 0, 0));
  return static_cast<int>(SendMessageW(m_combo, CB_GETCURSEL, 0, 0));
}

void FolderPathCombo::fillFolders() {
  m_driveMode = false;
  SendMessageW(m_combo, WM_SETREDRAW, FALSE, 0);
  SendMessageW(m_combo, CB_RESETCONTENT, 0, 0);
  const std::vector<std::wstring> chain = pathChain(m_path);
  size_t subfolders = 0;
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW((withBackslash(m_path) + L"*.*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !listedSubfolder(data.cFileName)) continue;
      const std::wstring name = comboName(data.cFileName, data.cAlternateFileName[0] != 0);
      SendMessageW(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    } while (++subfolders < kMaxSubfolders && FindNextFileW(find, &data));
    FindClose(find);
  }
  SendMessageW(m_combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L""));
  m_current = 0;
  std::wstring parent;
  for (size_t i = 0; i < chain.size(); ++i) {
    const std::wstring name = i == 0 ? chain[0] : storedName(parent, chain[i]);
    SendMessageW(m_combo, CB_INSERTSTRING, i + 1, reinterpret_cast<LPARAM>(name.c_str()));
    parent = i == 0 ? name : withBackslash(parent) + name;
    m_current = static_cast<int>(i + 1);
  }
  if (!chain.empty()) m_path = parent;
  SendMessageW(m_combo, CB_SETCURSEL, m_current, 0);
  SendMessageW(m_combo, WM_SETREDRAW, TRUE, 0);
  showPathText();
  InvalidateRect(m_combo, nullptr, TRUE);
  if (m_list) InvalidateRect(m_list, nullptr, TRUE);
  notify(CBN_EDITUPDATE);
}

const FolderPathCombo::Drive* FolderPathCombo::driveOf(const std::wstring& root) {
  for (const Drive& drive : m_drives)
    if (_wcsicmp(drive.root.c_str(), root.c_str()) == 0) return &drive;
  Drive drive{root, GetDriveTypeW(root.c_str()), {}};
  if (drive.type == DRIVE_FIXED) {
    wchar_t label[MAX_PATH + 1] = {};
    // No error box for a drive without a medium.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    if (GetVolumeInformationW(root.c_str(), label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0)) {
      for (wchar_t* c = label; *c; ++c) *c = static_cast<wchar_t>(towlower(*c));
      drive.label = label;
    }
    SetErrorMode(mode);
  } else if (drive.type == DRIVE_REMOTE) {
    drive.label = L"remote";
  } else if (drive.type == DRIVE_RAMDISK) {
    drive.label = L"ramdisk";
  }
  m_drives.push_back(std::move(drive));
  return &m_drives.back();
}

void FolderPathCombo::fillDrives() {
  m_driveMode = true;
  SendMessageW(m_combo, WM_SETREDRAW, FALSE, 0);
  SendMessageW(m_combo, CB_RESETCONTENT, 0, 0);
  wchar_t roots[512] = {};
  const DWORD length = GetLogicalDriveStringsW(511, roots);
  const std::wstring mine = pathRoot(m_path);
  int selected = 0;
  for (const wchar_t* root = roots; length && length < 512 && *root; root += wcslen(root) + 1) {
    const int index =
        static_cast<int>(SendMessageW(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(root)));
    if (_wcsicmp(root, mine.c_str()) == 0) selected = index;
  }
  SendMessageW(m_combo, CB_SETCURSEL, selected, 0);
  SendMessageW(m_combo, WM_SETREDRAW, TRUE, 0);
  showPathText();
  if (m_list) InvalidateRect(m_list, nullptr, TRUE);
}

bool FolderPathCombo::enterDrive(const std::wstring& root) {
  const std::wstring drive = root.substr(0, 2);
  for (;;) {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(drive.c_str(), MAX_PATH, folder, nullptr);
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const bool entered = length && length < MAX_PATH && SetCurrentDirectoryW(folder);
    const DWORD error = GetLastError();
    SetErrorMode(mode);
    if (entered) {
      m_path = folder;
      return true;
    }
    if (error == ERROR_NOT_READY || error == ERROR_GEN_FAILURE) {
      if (showMessage(m_owner,
                      {.text = IDS_DRIVE_NOT_READY, .caption = 0, .insert = drive, .count = std::nullopt},
                      MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY)
        continue;
      return false;
    }
    return enterFolder(root);
  }
}

void FolderPathCombo::navigate() {
  const int index = listSelection();
  if (index < 0) return;
  if (!m_driveMode && index == 0) {
    fillDrives();
    return;
  }
  if (anyKeyHeld({VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR})) return;
  const std::vector<std::wstring> texts = entryTexts();
  if (index >= static_cast<int>(texts.size())) return;
  if (m_driveMode) {
    m_driveMode = false;
    if (!enterDrive(texts[index])) {
      fillFolders();
      return;
    }
  } else {
    std::vector<std::wstring> chain(texts.begin() + 1,
                                    texts.begin() + std::min<size_t>(m_current + 1, texts.size()));
    std::wstring folder = pathFromChain(chain, std::min(index, m_current) - 1);
    if (index > m_current) folder = withBackslash(folder) + texts[index];
    if (!enterFolder(folder)) enterFolder(pathRoot(folder));
  }
  if (dropped()) {
    fillFolders();
  } else {
    showPathText();
  }
  notify(CBN_SELCHANGE);
}

void FolderPathCombo::draw(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const int index = static_cast<int>(item.itemID);
  std::wstring text;
  int image = 0, indent = 0;
  const bool driveEntry = m_driveMode || index == 0;
  std::wstring root;
  if (driveEntry) {
    if (m_driveMode) {
      root = entryTexts().at(static_cast<size_t>(index));
    } else {
      root = pathRoot(m_path);
    }
    const Drive* drive = driveOf(root);
    image = static_cast<int>(driveImage(drive->type));
    if (m_driveMode) {
      text = root;
      if (!text.empty() && text.back() == L'\\') text.back() = L' ';
      text += drive->label;
    } else {
      text = drive->label.empty() ? root : drive->label;
    }
  } else {
    const LRESULT length = SendMessageW(m_combo, CB_GETLBTEXTLEN, index, 0);
    if (length > 0) {
      text.assign(static_cast<size_t>(length) + 1, L'\0');
      SendMessageW(m_combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<size_t>(length));
    }
    image = static_cast<int>(folderImage(index, m_current));
    indent = folderIndent(index, m_current);
  }
  // The closed field shows the edit, not an entry.
  if (item.itemState & ODS_COMBOBOXEDIT) indent = 0;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HDC dc = item.hDC;
  RECT box = item.rcItem;
  SetBkColor(dc, selected ? m_selectedBack : m_back);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
  if (selected && (item.itemState & ODS_FOCUS)) DrawFocusRect(dc, &box);
  if (m_images)
    ImageList_Draw(m_images, image, dc, box.left + indent + 4, box.top + m_iconOffset, ILD_TRANSPARENT);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? m_selectedText : m_text);
  RECT textBox = box;
  textBox.left += indent + 4 + 16 + 4;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textBox,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool FolderPathCombo::ownerCommand(WORD code) {
  switch (code) {
    case CBN_DROPDOWN:
      PostMessageW(m_combo, kMsgDroppedDown, 0, 0);
      return false;
    case CBN_SELCHANGE:
      if (!m_armed) return true;  // the list's own moves while it fills
      navigate();
      return true;
    case CBN_CLOSEUP:
      m_armed = false;
      m_driveMode = false;
      PostMessageW(m_combo, kMsgShowPath, 0, 0);
      return false;
    case CBN_EDITCHANGE:
      return false;
    default:
      return false;
  }
}

LRESULT CALLBACK FolderPathCombo::ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
  auto* self = reinterpret_cast<FolderPathCombo*>(data);
  if (msg == WM_DRAWITEM && wParam == static_cast<WPARAM>(self->m_id)) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->hwndItem == self->m_combo || item->hwndItem == self->m_list) {
      self->draw(*item);
      return TRUE;
    }
  }
  if (msg == WM_COMMAND && reinterpret_cast<HWND>(lParam) == self->m_combo && !self->m_notifying) {
    if (self->ownerCommand(HIWORD(wParam))) return 0;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FolderPathCombo::comboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
  auto* self = reinterpret_cast<FolderPathCombo*>(data);
  switch (msg) {
    case kMsgDroppedDown:
      if (!self->dropped()) return 0;
      self->m_armed = true;
      self->takeTypedPath();
      self->fillFolders();
      return 0;
    case kMsgShowPath:
      self->showPathText();
      return 0;
    case WM_NCDESTROY:
      self->detach();
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FolderPathCombo::editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<FolderPathCombo*>(data);
  switch (msg) {
    case WM_GETDLGCODE:
      if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN && wParam == VK_RETURN)
        return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, msg, wParam, lParam);
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        if (self->dropped()) {
          const int index = self->listSelection();
          SendMessageW(self->m_combo, CB_SHOWDROPDOWN, FALSE, 0);
          if (index >= 0) {
            self->m_armed = true;
            SendMessageW(self->m_combo, CB_SETCURSEL, index, 0);
            self->navigate();
            self->m_armed = false;
          }
        } else {
          self->goToTyped();
        }
        return 0;
      }
      break;
    case WM_CHAR: {
      const wchar_t c = static_cast<wchar_t>(wParam);
      if (wParam == VK_RETURN) return 0;
      if (self->m_armed && ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'))) {
        const int next = nextEntryWithLetter(self->entryTexts(), self->listSelection(), c);
        if (next >= 0 && self->m_list) SendMessageW(self->m_list, LB_SETCURSEL, next, 0);
        return 0;
      }
      break;
    }
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace vorbin
