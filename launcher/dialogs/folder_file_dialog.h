// The launcher's own file browser (template 1538): the plain files of one
// folder by file type, sorted by name, date or type, in a list or details
// view; files can be renamed, deleted and handed to the shell's menu, and one
// or several are picked.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace vorbin {

struct FolderFileRequest {
  std::wstring title;         // shown as the caption when not empty
  std::wstring previousText;  // the file-name text of the last pick
  std::wstring folder;
  std::wstring filter;  // "desc|pattern|desc|pattern|..."
  int filterIndex = 0;
  int sortMode = 0;             // 0..4 as in browser_rules.h
  int viewMode = 0;             // 0 list, 1 details
  std::optional<POINT> anchor;  // the dialog is centred here, kept on the screen
};

struct FolderFileResult {
  std::wstring text;    // one name, or several each in double quotes; empty: the folder itself
  std::wstring folder;  // the folder the names are in (ends with a backslash)
  int filterIndex = 0;
  int sortMode = 0;
  int viewMode = 0;
};

// Runs the browser modally; nothing when cancelled or when the dialog could
// not be made. resources: the language library with the template.
std::optional<FolderFileResult> pickDocuments(HWND owner, HINSTANCE resources,
                                              const FolderFileRequest& request);

}  // namespace vorbin
