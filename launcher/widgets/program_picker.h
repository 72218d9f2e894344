// The program and folder picker: the system's open-file dialog with our own
// child template, a command history in place of the file-name field, a
// "this folder" button and an optional check box handed back to the caller.
#pragma once
#include <windows.h>
// After windows.h: the OFN_* flags callers pass.
#include <commdlg.h>

#include <string>
#include <vector>

#include "launcher/model/settings.h"
#include "launcher/services/id_list.h"

namespace vorbin {

// Bits of PickRequest::flags that change the picker (the open-file dialog's
// own values, so the caller's OFN_* flags can be passed as they are).
namespace pick_flag {
inline constexpr unsigned kHistory = 0x100;      // OFN_NOVALIDATE: the field is a history drop-down
inline constexpr unsigned kMultiSelect = 0x200;  // OFN_ALLOWMULTISELECT: several files come back
}  // namespace pick_flag

enum class PickMode {
  kPlain = 0,     // template 1540 (history and folder button)
  kCheckBox = 1,  // template 101: check box 106 shown, its state comes back in PickResult::checked
  kFolder = -1,   // template 101 without the check box: the dialog's folder is the answer
};

struct PickRequest {
  HWND owner = nullptr;
  // Language library holding templates 1540 and 101; null: the program's own.
  HINSTANCE resources = nullptr;
  std::wstring title;
  // Description and pattern pairs, either "|"-separated as the string tables
  // hold them ("Programs|*.exe|All|*.*|") or NUL-separated as the system wants.
  std::wstring filter;
  int filterIndex = 1;  // 1-based, as the system counts
  std::wstring defaultExtension;
  std::wstring initialFolder;
  std::wstring current;  // initial text of the file-name field
  // The caller's OFN_* flags; the picker always adds Explorer style, its
  // template, the hidden read-only box and no shortcut dereferencing (a
  // picked .lnk comes back as the shortcut itself).
  unsigned flags = 0;
  PickMode mode = PickMode::kPlain;
  bool checked = false;    // initial state of check box 106 (kCheckBox)
  std::wstring checkText;  // label of check box 106; empty keeps the template's
  // History mode (flags & pick_flag::kHistory): the texts offered in the
  // drop-down, newest first. On OK the rebuilt command is put at the top
  // (no repeats; the 16th drops out). The caller saves it (saveHistory).
  CmdHistory* history = nullptr;
};

struct PickResult {
  bool accepted = false;      // OK (false also when the folder button closed it)
  bool folderButton = false;  // button 105 closed the dialog: take `folder`
  bool checked = false;       // final state of check box 106
  int filterIndex = 1;        // the filter in use when the dialog closed
  // Full paths of the chosen files (one unless multi-select). History mode:
  // the single entry is the rebuilt command ("C:\\My Apps\\x.exe" -a), with
  // the program made a full path when it was found.
  std::vector<std::wstring> files;
  std::wstring folder;       // the dialog's current folder when it closed (always)
  IdListBytes folderIdList;  // kFolder mode: the same folder as an item-ID list
};

// Runs the picker modally on the calling (user-interface) thread.
PickResult pickProgram(const PickRequest& request);

}  // namespace vorbin
