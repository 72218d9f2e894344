// The folder combo: an owner-drawn drop-down combo box that shows the current
// folder closed and, dropped, the chain of folders from the drive down with
// the current folder's subfolders, or the list of drives. Each attached
// combo keeps its own state; its owner only reads path() when told.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace vorbin {

class FolderPathCombo {
 public:
  FolderPathCombo() = default;
  ~FolderPathCombo();
  FolderPathCombo(const FolderPathCombo&) = delete;
  FolderPathCombo& operator=(const FolderPathCombo&) = delete;

  // Takes over a combo box of a dialog (CBS_DROPDOWN | CBS_OWNERDRAWFIXED |
  // CBS_HASSTRINGS). The owner then gets WM_COMMAND with the combo's id and
  // CBN_SELCHANGE after each move to another folder, CBN_EDITUPDATE after
  // the list was filled again; other notifications pass through as usual.
  // Without showFolder the field keeps its text (a stored folder text with
  // variables stays as written) until the user moves.
  bool attach(HWND combo, const std::wstring& folder, bool showFolder = true);
  void detach();

  // The folder the combo stands for (no trailing backslash except on a root).
  const std::wstring& path() const { return m_path; }
  // Shows folder (made absolute and bounded) without entering it; false when
  // the text names no folder.
  bool setPath(const std::wstring& folder);
  // Goes to the folder typed into the edit field (or the deepest existing
  // folder above it); false when the text names no folder or nothing changed.
  bool goToTyped();
  bool dropped() const;
  HWND hwnd() const { return m_combo; }

 private:
  static LRESULT CALLBACK comboProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK editProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK ownerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  bool ownerCommand(WORD code);
  void draw(const DRAWITEMSTRUCT& item);
  void fillFolders();
  void fillDrives();
  void navigate();
  bool enterDrive(const std::wstring& root);
  bool enterFolder(const std::wstring& folder);
  void notify(WORD code);
  void showPathText();
  std::vector<std::wstring> entryTexts() const;
  std::wstring editText() const;
  void takeTypedPath();
  int listSelection() const;

  struct Drive {
    std::wstring root;
    UINT type = 0;
    std::wstring label;
  };
  const Drive* driveOf(const std::wstring& root);

  HWND m_combo = nullptr;
  HWND m_owner = nullptr;
  HWND m_edit = nullptr;
  HWND m_list = nullptr;
  int m_id = 0;
  std::wstring m_path;
  bool m_driveMode = false;
  bool m_armed = false;
  bool m_notifying = false;
  int m_current = 1;
  int m_iconOffset = 0;
  HIMAGELIST m_images = nullptr;
  std::vector<Drive> m_drives;
  COLORREF m_selectedBack = 0, m_back = 0, m_selectedText = 0, m_text = 0;
};

}  // namespace vorbin
