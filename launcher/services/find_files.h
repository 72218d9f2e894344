// Bulk enumeration of a folder for group registration and the icon picker:
// each result goes to the target window as message 0x0520.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

namespace vorbin {

inline constexpr UINT kMsgAddRequest = WM_USER + 0x120;  // 0x0520

// True when the user cancelled (the progress dialog's cancel button).
using CancelCheck = std::function<bool()>;

// Path form: files matching patterns (";" or " " separated), folder headers
// and subfolders by mode; lParam of each message is the path text.
void findFiles(const std::wstring& folder, UINT mode, const std::wstring& patterns, HWND target,
               const CancelCheck& cancelled = {});
// Shell form: walks a shell folder; lParam is the item's absolute ID list and
// the flags carry 0x200.
void findFiles(PCIDLIST_ABSOLUTE folder, UINT mode, HWND target, const CancelCheck& cancelled = {});

}  // namespace vorbin
