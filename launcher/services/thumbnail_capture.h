// Web-page thumbnails: finding the browser window that shows an address,
// photographing its page pane, and writing the scaled picture as a JPEG file.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "launcher/render/jpeg_file.h"

namespace vorbin {

class Profile;
struct Settings;

struct PageWindow {
  HWND top = nullptr;   // the browser's top-level window
  HWND pane = nullptr;  // its page pane
};
// The first searched top-level window (skip excluded) with an address field
// showing url and a pane candidate.
std::optional<PageWindow> findPageWindow(const std::wstring& url, HWND skip);

// Brings the window fully on screen and on top for a moment, copies the
// pane's pixels from the screen and puts the window back as it was
// (placement, z-order, topmost state, the foreground window). Nothing for a
// pane of no size, a hung window, or a quit message meanwhile (which is
// posted again once the window is back).
std::optional<JpegPicture> capturePane(const PageWindow& window);

// The picture scaled by ratio percent (sides at least one pixel) written at
// quality; false (no file) for ratio 0 or any failure.
bool writeThumbnail(const JpegPicture& captured, int ratio, int quality, const std::wstring& path);

// The pixels of a bitmap (a picture handed over with a request); nothing for an invalid one.
std::optional<JpegPicture> bitmapPicture(HBITMAP bitmap);

struct ThumbnailContext {
  Settings* settings = nullptr;  // ThumbRatio and ThumbQuality, updated on OK
  Profile* profile = nullptr;    // where they are saved at once (may be null)
  HINSTANCE resources = nullptr;  // the language library (null: the application's)
};
// Finds and photographs the page of url (skipping owner's parent), asks for
// the ratio and quality, and writes the thumbnail into the data folder under
// currentName, or a new unique name when that is empty. The name (without
// folder) when a file was written, else empty. A missing window is reported.
std::wstring makeThumbnail(const std::wstring& url, const std::wstring& currentName, HWND owner,
                           const ThumbnailContext& context);

// A web item made from a request: with a picture (a bitmap handle), the
// settings dialog (the full form unless shortForm) and, for a ratio above 0,
// the thumbnail in a new file of the data folder; without one, message 3044.
struct RequestThumbnail {
  bool accepted = false;        // OK in the dialog
  std::wstring title, comment;  // from the full form
  std::wstring file;            // the written file's name, or empty
};
RequestThumbnail thumbnailForRequest(HBITMAP picture, bool shortForm, const std::wstring& title, HWND owner,
                                     const ThumbnailContext& context);

}  // namespace vorbin
