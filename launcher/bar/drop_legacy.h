// Files dropped by the older protocol (WM_DROPFILES): the handle the system
// gives the receiving window, read by the same rules as a dropped file list.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// Bytes of a dropped ANSI text or name in the system's code page.
std::wstring dropTextFromAnsi(std::string_view bytes);

struct DroppedFiles {
  std::vector<std::wstring> files;
  POINT screen{};  // the drop point on the screen
};
// The files and drop point of a WM_DROPFILES handle, read within the block's
// size (a lying file offset or an unterminated name gives nothing beyond
// it); the point in screen coordinates (window: whose client area it may be
// relative to). The handle is released; a value that is no memory block of
// this process gives nothing and is left alone.
DroppedFiles takeDroppedFiles(HDROP drop, HWND window);

}  // namespace vorbin
