// Reading a WM_DROPFILES handle (see drop_legacy.h).
#include "launcher/bar/drop_legacy.h"

#include <shlobj.h>

#include <span>
#include <string_view>

#include "launcher/bar/drop_formats.h"

namespace vorbin {

std::wstring dropTextFromAnsi(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

DroppedFiles takeDroppedFiles(HDROP drop, HWND window) {
  DroppedFiles out;
  if (!drop) return out;
  // The block's size bounds every read: its file offset and names may lie.
  // A handle that is no memory block of this process is not ours to free.
  const auto block = reinterpret_cast<HGLOBAL>(drop);
  const SIZE_T size = GlobalSize(block);
  if (size == 0) return out;
  if (size >= sizeof(DROPFILES)) {
    if (const void* p = GlobalLock(block)) {
      out.files =
          parseDropFiles(std::span<const uint8_t>(static_cast<const uint8_t*>(p), size), dropTextFromAnsi);
      GlobalUnlock(block);
    }
    // In the client area the point is relative to it; elsewhere it is on the screen.
    if (DragQueryPoint(drop, &out.screen)) ClientToScreen(window, &out.screen);
  }
  DragFinish(drop);
  return out;
}

}  // namespace vorbin
