// The browser side of thumbnails. Every call that would wait on the browser's
// thread is bounded: texts are read with a time-out, moves are posted to the
// window's own thread, and the repaint is awaited for a limited time.
#include "launcher/services/thumbnail_capture.h"

#include <algorithm>
#include <vector>

#include "framework/gdi.h"
#include "framework/trace.h"
#include "launcher/dialogs/skin_rules.h"
#include "launcher/dialogs/thumbnail_dialog.h"
#include "launcher/model/profile.h"
#include "launcher/model/settings.h"
#include "launcher/render/dc_pixels.h"
#include "launcher/render/thumb_scale.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/page_window_rules.h"
#include "launcher/services/rect_math.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {
namespace {

constexpr UINT kTextTimeoutMs = 1000;
constexpr DWORD kSettleTimeoutMs = 1500;
// Copies of the pane on screen, this far apart, until that many in a row
// agree with the one before or the time is up.
constexpr DWORD kStablePauseMs = 50;
constexpr DWORD kStableTimeoutMs = 1500;
constexpr int kStableCopies = 2;
// Placing the window and copying the pane, at most this often.
constexpr int kPlaceAttempts = 3;

std::wstring className(HWND window) {
  // Large enough for every class name the system allows (256).
  wchar_t name[260] = {};
  const int n = GetClassNameW(window, name, 260);
  return std::wstring(name, static_cast<size_t>(std::max(0, n)));
}

// The text of an address field, or nothing when its program does not answer.
std::optional<std::wstring> fieldText(HWND field) {
  std::vector<wchar_t> buffer(kMaxFieldChars + 2);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(field, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG | SMTO_BLOCK, kTextTimeoutMs, &copied))
    return std::nullopt;
  buffer.back() = 0;
  const size_t length = std::min<size_t>(copied, wcsnlen(buffer.data(), buffer.size()));
  // A text that filled the buffer is longer than any address we keep.
  if (length > static_cast<size_t>(kMaxFieldChars)) return std::nullopt;
  return std::wstring(buffer.data(), length);
}

struct Search {
  std::wstring url;
  HWND skip = nullptr;
  HWND current = nullptr;
  bool matched = false;
  PaneChoice panes;
  std::optional<PageWindow> found;
};

BOOL CALLBACK visitChild(HWND child, LPARAM data) {
  auto& s = *reinterpret_cast<Search*>(data);
  RECT client{};
  GetClientRect(child, &client);
  const std::wstring name = className(child);
  s.panes.consider(reinterpret_cast<std::uintptr_t>(child), name, client.right - client.left,
                   client.bottom - client.top);
  if (!s.matched && isAddressFieldClass(name)) {
    if (auto text = fieldText(child)) s.matched = addressMatches(*text, s.url);
  }
  return TRUE;
}

BOOL CALLBACK visitTop(HWND top, LPARAM data) {
  auto& s = *reinterpret_cast<Search*>(data);
  if (top == s.skip || !searchedTopLevel(static_cast<std::uint32_t>(GetWindowLongPtrW(top, GWL_STYLE))))
    return TRUE;
  // A window that stopped answering would only cost a time-out per field.
  if (IsHungAppWindow(top)) return TRUE;
  s.current = top;
  s.matched = false;
  s.panes = {};
  EnumChildWindows(top, visitChild, data);
  if (s.matched && s.panes.found()) {
    s.found = PageWindow{top, reinterpret_cast<HWND>(s.panes.pane())};
    return FALSE;
  }
  return TRUE;
}

RECT windowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT workAreaOf(const RECT& r) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  return info.rcWork;
}

// Handles what is queued for this thread; false when a quit message came,
// whose exit code is kept for posting again.
bool pumpPending(std::optional<int>& quit) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = static_cast<int>(msg.wParam);
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

// Waits (pumping this thread) until done() holds or the time is up.
template <class Done>
bool settle(Done done, std::optional<int>& quit, DWORD timeoutMs = kSettleTimeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (!pumpPending(quit)) return false;
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// What the capture changes and puts back.
struct SavedState {
  WINDOWPLACEMENT placement{};
  RECT rect{};
  HWND above = nullptr;  // the window just above in the z-order
  bool topmost = false;
  bool minimized = false;
  HWND foreground = nullptr;
};

constexpr UINT kQuietMove = SWP_NOACTIVATE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS | SWP_NOOWNERZORDER;

void putBack(HWND top, const SavedState& saved) {
  // Z-order and the topmost state first, then the place, then the minimised state.
  HWND after = saved.above;
  if (!after || !IsWindow(after)) after = saved.topmost ? HWND_TOPMOST : HWND_TOP;
  if (!saved.topmost) SetWindowPos(top, HWND_NOTOPMOST, 0, 0, 0, 0, kQuietMove | SWP_NOMOVE);
  SetWindowPos(top, after, saved.rect.left, saved.rect.top, 0, 0, kQuietMove);
  if (saved.minimized) {
    ShowWindowAsync(top, SW_SHOWMINNOACTIVE);
  }
  if (saved.foreground && IsWindow(saved.foreground) && GetForegroundWindow() != saved.foreground)
    SetForegroundWindow(saved.foreground);
}

bool reusableThumbnailName(const std::wstring& name) {
  if (!isBarePictureName(name) || name.size() < 5) return false;
  const std::wstring_view ext = std::wstring_view(name).substr(name.size() - 4);
  return CompareStringOrdinal(ext.data(), 4, L".jpg", 4, TRUE) == CSTR_EQUAL;
}

}  // namespace

std::optional<PageWindow> findPageWindow(const std::wstring& url, HWND skip) {
  Search s;
  s.url = std::wstring(trimAddress(url));
  s.skip = skip;
  if (s.url.empty()) return std::nullopt;
  EnumWindows(visitTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::optional<JpegPicture> capturePane(const PageWindow& window) {
  HWND top = window.top, pane = window.pane;
  if (!IsWindow(top) || !IsWindow(pane) || IsHungAppWindow(top)) return std::nullopt;
  RECT paneRect = windowRect(pane);
  if (paneRect.right <= paneRect.left || paneRect.bottom <= paneRect.top) return std::nullopt;

  SavedState saved;
  saved.placement.length = sizeof(saved.placement);
  GetWindowPlacement(top, &saved.placement);
  saved.rect = windowRect(top);
  saved.above = GetWindow(top, GW_HWNDPREV);
  saved.topmost = (GetWindowLongPtrW(top, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  saved.minimized = IsIconic(top) != FALSE;
  saved.foreground = GetForegroundWindow();
  std::optional<int> quit;

  if (saved.minimized) {
    // A minimised window's rectangle is its icon's: it goes back to its
    // restored place (workspace coordinates of the placement, moved by the
    // work area's offset) before it is minimised again.
    const RECT normal = saved.placement.rcNormalPosition;
    const RECT work = workAreaOf(normal);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &monitor);
    saved.rect = normal;
    OffsetRect(&saved.rect, work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top);
    ShowWindowAsync(top, SW_SHOWNOACTIVATE);
    settle([&] { return !IsIconic(top) && windowRect(top).left == saved.rect.left &&
                        windowRect(top).top == saved.rect.top; }, quit);
    if (!quit) paneRect = windowRect(pane);
  }
  std::optional<JpegPicture> picture;
  DWORD pid = 0;
  GetWindowThreadProcessId(top, &pid);
  const bool otherProcess = pid != GetCurrentProcessId();
  // A window just restored can still be moved by the system after it
  // reports its place: the pane's place is checked around the copy, and the
  // window is placed and photographed again (a few times at most) when the
  // pane moved or does not lie inside the work area.
  for (int attempt = 0; attempt < kPlaceAttempts && !quit && !picture; ++attempt) {
    paneRect = windowRect(pane);
    const RECT work = workAreaOf(paneRect);
    const int w = paneRect.right - paneRect.left, h = paneRect.bottom - paneRect.top;
    if (w <= 0 || h <= 0) break;
    const Point inside = keepInside({paneRect.left, paneRect.top}, w, h,
                                    Rect{work.left, work.top, work.right, work.bottom});
    const RECT target{inside.x, inside.y, inside.x + w, inside.y + h};
    const int dx = inside.x - paneRect.left, dy = inside.y - paneRect.top;
    const RECT from = windowRect(top);
    SetWindowPos(top, HWND_TOPMOST, from.left + dx, from.top + dy, 0, 0, kQuietMove);
    settle([&] { const RECT r = windowRect(pane); return r.left == target.left && r.top == target.top; }, quit);
    if (quit) break;
    RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    // The repaint is done when the pane has nothing left to update; a
    // program that does not paint in time is photographed as it is.
    settle([&] { return !GetUpdateRect(pane, nullptr, FALSE); }, quit);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(pane, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &ignored);
    // Another program's drawing reaches the screen after its paint
    // returns: a short bounded pause before the copy.
    if (otherProcess) settle([] { return false; }, quit, 100);
    if (quit) break;
    const auto inPlace = [&] {
      const RECT r = windowRect(pane);
      return EqualRect(&r, &target) && r.left >= work.left && r.top >= work.top && r.right <= work.right &&
             r.bottom <= work.bottom;
    };
    if (!inPlace()) continue;
    const auto copy = [&] {
      fw::WindowDC screen(nullptr);
      std::vector<Pixel> pixels = readPixels(screen, target);
      for (Pixel& p : pixels) p &= 0x00FFFFFF;
      return pixels;
    };
    // What reaches the screen can lag behind the program's painting on a
    // busy machine: copies are taken until several in a row agree, for a
    // bounded time (a page that keeps moving is taken as it is then).
    std::vector<Pixel> pixels = copy();
    const DWORD start = GetTickCount();
    int agreeing = 0;
    while (!quit && agreeing < kStableCopies && GetTickCount() - start < kStableTimeoutMs) {
      settle([] { return false; }, quit, kStablePauseMs);
      std::vector<Pixel> again = copy();
      agreeing = again == pixels ? agreeing + 1 : 0;
      pixels = std::move(again);
    }
    if (quit || !inPlace()) continue;
    if (pixels.size() == static_cast<size_t>(w) * static_cast<size_t>(h)) picture = JpegPicture{w, h, std::move(pixels)};
  }
  putBack(top, saved);
  if (!quit) pumpPending(quit);
  if (quit) {
    PostQuitMessage(*quit);
    return std::nullopt;
  }
  return picture;
}

bool writeThumbnail(const JpegPicture& captured, int ratio, int quality, const std::wstring& path) {
  const ThumbSize size = thumbSize(captured.width, captured.height, ratio);
  if (size.width <= 0) return false;
  HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  JpegPicture scaled;
  scaled.pixels = scaleByArea(captured.pixels, captured.width, captured.height, size);
  scaled.width = size.width;
  scaled.height = size.height;
  const bool ok = !scaled.pixels.empty() && writeJpegFile(path, scaled, quality);
  SetCursor(before);
  return ok;
}

std::optional<JpegPicture> bitmapPicture(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
    return std::nullopt;
  fw::MemoryDC dc;
  fw::SelectScope select(dc, bitmap);
  std::vector<Pixel> pixels = readPixels(dc, RECT{0, 0, info.bmWidth, info.bmHeight});
  if (pixels.size() != static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight)) return std::nullopt;
  for (Pixel& p : pixels) p &= 0x00FFFFFF;
  return JpegPicture{info.bmWidth, info.bmHeight, std::move(pixels)};
}

std::wstring makeThumbnail(const std::wstring& url, const std::wstring& currentName, HWND owner,
                           const ThumbnailContext& context) {
  HWND skip = owner ? GetParent(owner) : nullptr;
  const std::optional<PageWindow> window = findPageWindow(url, skip);
  if (!window) {
    const std::wstring shown(trimAddress(url));
    showMessage(owner, {.text = IDS_THUMB_NO_WINDOW, .caption = IDS_THUMB_NO_WINDOW_CAPTION, .insert = shown, .count = {}, .library = context.resources},
                MB_OK | MB_ICONEXCLAMATION);
    return {};
  }
  // A pane of no size, a hung browser or a quit message: nothing to show.
  const std::optional<JpegPicture> picture = capturePane(*window);
  if (!picture) return {};
  ThumbnailChoice choice;
  if (context.settings) {
    choice.ratio = context.settings->thumbRatio;
    choice.quality = context.settings->thumbQuality;
  }
  if (!runThumbnailDialog(owner, IDD_THUMB_SHORT, context.resources, choice)) return {};
  storeThumbnailChoice(choice, context.settings, context.profile);
  if (choice.ratio <= 0) return {};
  // The current file is written over only when it is one of our pictures: a
  // bare ".jpg" name inside the data folder.
  std::wstring name = currentName;
  const std::wstring folder = dataFolder(nullptr, L"", true);
  if (!reusableThumbnailName(name)) name = uniqueFileName(folder, L".jpg");
  if (name.empty()) return {};
  if (!writeThumbnail(*picture, choice.ratio, choice.quality, folder + name)) return {};
  return name;
}

RequestThumbnail thumbnailForRequest(HBITMAP picture, bool shortForm, const std::wstring& title, HWND owner,
                                     const ThumbnailContext& context) {
  RequestThumbnail result;
  const std::optional<JpegPicture> pixels = bitmapPicture(picture);
  if (!pixels) {
    showMessage(owner, {.text = IDS_THUMB_NO_PICTURE, .caption = 0, .insert = {}, .count = {}, .library = context.resources},
                MB_OK | MB_ICONINFORMATION);
    return result;
  }
  ThumbnailChoice choice;
  choice.title = title;
  if (context.settings) {
    choice.ratio = context.settings->thumbRatio;
    choice.quality = context.settings->thumbQuality;
  }
  const UINT form = shortForm ? IDD_THUMB_SHORT : IDD_THUMB_FULL;
  if (!runThumbnailDialog(owner, form, context.resources, choice)) return result;
  storeThumbnailChoice(choice, context.settings, context.profile);
  result.accepted = true;
  if (!shortForm) {
    result.title = choice.title;
    result.comment = choice.comment;
  }
  if (choice.ratio <= 0) return result;
  const std::wstring folder = dataFolder(nullptr, L"", true);
  const std::wstring name = uniqueFileName(folder, L".jpg");
  if (!name.empty() && writeThumbnail(*pixels, choice.ratio, choice.quality, folder + name)) result.file = name;
  return result;
}

}  // namespace vorbin
