// Thumbnails inside one process under Wine: JPEG files (round trip, damage,
// sizes, refused writes), the capture of a framed window of this process, the
// settings dialog driven from a second thread, and the request path.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "launcher/dialogs/thumbnail_dialog.h"
#include "launcher/model/settings.h"
#include "launcher/render/jpeg_file.h"
#include "launcher/render/thumb_scale.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/thumbnail_capture.h"
#include "tests/support/e2e.h"

namespace {

using vorbin::JpegPicture;
using vorbin::Pixel;

std::wstring tempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int channelDistance(Pixel a, Pixel b) {
  int worst = 0;
  for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return worst;
}

JpegPicture quadrants(int w, int h) {
  JpegPicture p{w, h, std::vector<Pixel>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.pixels[static_cast<size_t>(y) * w + x] =
          y < h / 2 ? (x < w / 2 ? 0xDC1E1E : 0x1EC828) : (x < w / 2 ? 0x1E28D2 : 0xF0DC1E);
  return p;
}

void writeBytes(const std::wstring& path, const std::vector<char>& bytes) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(f, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

std::vector<char> readBytes(const std::wstring& path) {
  std::vector<char> bytes;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return bytes;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  fclose(f);
  return bytes;
}

TEST(JpegFile, RoundTripUnderAWideNameKeepsSizeAndColours) {
  const std::wstring path = tempPath(L"thumb_\u65e5\u672c.jpg");
  const JpegPicture picture = quadrants(64, 48);
  ASSERT_TRUE(vorbin::writeJpegFile(path, picture, 90));
  const auto back = vorbin::readJpegFile(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 64);
  EXPECT_EQ(back->height, 48);
  // Away from the quadrant edges the colours survive compression closely.
  for (auto [x, y] : {std::pair{8, 8}, {56, 8}, {8, 40}, {56, 40}})
    EXPECT_LE(channelDistance(back->pixels[y * 64 + x], picture.pixels[y * 64 + x]), 12) << x << "," << y;
  // Quality is clamped, not refused; lower quality makes a smaller file.
  const std::wstring low = tempPath(L"thumb_low.jpg");
  ASSERT_TRUE(vorbin::writeJpegFile(low, picture, -40));
  EXPECT_LT(readBytes(low).size(), readBytes(path).size());
  DeleteFileW(path.c_str());
  DeleteFileW(low.c_str());
}

TEST(JpegFile, DamagedMissingAndForeignFilesReadAsNothing) {
  const std::wstring good = tempPath(L"thumb_good.jpg"), bad = tempPath(L"thumb_bad.jpg");
  ASSERT_TRUE(vorbin::writeJpegFile(good, quadrants(40, 40), 75));
  const std::vector<char> bytes = readBytes(good);
  ASSERT_GT(bytes.size(), 200u);
  // Cut in the middle of the scan: the library only warns; we refuse it.
  writeBytes(bad, std::vector<char>(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)));
  EXPECT_FALSE(vorbin::readJpegFile(bad));
  // Header only, garbage, empty, a BMP: fatal errors come back instead of ending the process.
  writeBytes(bad, std::vector<char>(bytes.begin(), bytes.begin() + 20));
  EXPECT_FALSE(vorbin::readJpegFile(bad));
  writeBytes(bad, std::vector<char>(500, '\x5a'));
  EXPECT_FALSE(vorbin::readJpegFile(bad));
  writeBytes(bad, {});
  EXPECT_FALSE(vorbin::readJpegFile(bad));
  std::vector<char> flipped = bytes;
  for (size_t i = 30; i < flipped.size(); i += 7) flipped[i] = static_cast<char>(~flipped[i]);
  writeBytes(bad, flipped);
  EXPECT_FALSE(vorbin::readJpegFile(bad));
  EXPECT_FALSE(vorbin::readJpegFile(tempPath(L"thumb_missing.jpg")));
  EXPECT_FALSE(vorbin::readJpegFile(L""));
  EXPECT_TRUE(vorbin::readJpegFile(good));  // and the reader still works afterwards
  DeleteFileW(good.c_str());
  DeleteFileW(bad.c_str());
}

TEST(JpegFile, RefusedWritesLeaveNoFile) {
  const std::wstring path = tempPath(L"thumb_refused.jpg");
  DeleteFileW(path.c_str());
  EXPECT_FALSE(vorbin::writeJpegFile(path, JpegPicture{0, 10, {}}, 50));
  EXPECT_FALSE(vorbin::writeJpegFile(path, JpegPicture{10, 0, {}}, 50));
  EXPECT_FALSE(vorbin::writeJpegFile(path, JpegPicture{4, 4, std::vector<Pixel>(15)}, 50));  // short
  EXPECT_FALSE(exists(path));
  // Wider than the format allows: the library fails after the file was
  // opened; the error comes back here and the partial file goes.
  JpegPicture wide{70000, 1, std::vector<Pixel>(70000, 0x808080)};
  EXPECT_FALSE(vorbin::writeJpegFile(path, wide, 50));
  EXPECT_FALSE(exists(path));
  // A folder that does not exist, and a name taken by a folder, which stays.
  EXPECT_FALSE(vorbin::writeJpegFile(tempPath(L"no_such_folder\\x.jpg"), quadrants(8, 8), 50));
  ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
  EXPECT_FALSE(vorbin::writeJpegFile(path, quadrants(8, 8), 50));
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  RemoveDirectoryW(path.c_str());
}

// A framed window of this process like a browser: an address field and a
// page pane painted in four colours.
LRESULT CALLBACK paneProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT c;
    GetClientRect(hwnd, &c);
    const int mx = c.right / 2, my = c.bottom / 2;
    const RECT parts[4] = {{0, 0, mx, my}, {mx, 0, c.right, my}, {0, my, mx, c.bottom}, {mx, my, c.right, c.bottom}};
    const COLORREF colours[4] = {RGB(220, 30, 30), RGB(30, 200, 40), RGB(30, 40, 210), RGB(240, 220, 30)};
    for (int i = 0; i < 4; ++i) {
      HBRUSH b = CreateSolidBrush(colours[i]);
      FillRect(dc, &parts[i], b);
      DeleteObject(b);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct FakeBrowser {
  HWND top = nullptr, edit = nullptr, pane = nullptr;
  FakeBrowser(const wchar_t* address, int x, int y, int w, int h) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSW c{};
      c.lpfnWndProc = paneProc;
      c.hInstance = GetModuleHandleW(nullptr);
      c.lpszClassName = L"Shell DocObject View";
      RegisterClassW(&c);
      registered = true;
    }
    top = CreateWindowExW(0, L"Static", L"fake browser", WS_OVERLAPPEDWINDOW, x, y, w + 40, h + 80, nullptr, nullptr,
                          nullptr, nullptr);
    edit = CreateWindowExW(0, L"Edit", address, WS_CHILD | WS_VISIBLE, 2, 2, 300, 20, top, nullptr, nullptr, nullptr);
    // A larger plain child: the page class must win over it.
    CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 2, 30, 1, 1, top, nullptr, nullptr, nullptr);
    pane = CreateWindowExW(0, L"Shell DocObject View", L"", WS_CHILD | WS_VISIBLE, 4, 30, w, h, top, nullptr,
                           nullptr, nullptr);
  }
  ~FakeBrowser() { DestroyWindow(top); }
};

WINDOWPLACEMENT placementOf(HWND w) {
  WINDOWPLACEMENT p{};
  p.length = sizeof(p);
  GetWindowPlacement(w, &p);
  return p;
}

bool topmost(HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

RECT rectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void expectQuadrants(const JpegPicture& p, int tolerance) {
  const int w = p.width, h = p.height;
  const Pixel want[4] = {0xDC1E1E, 0x1EC828, 0x1E28D2, 0xF0DC1E};
  const int xs[2] = {w / 4, 3 * w / 4}, ys[2] = {h / 4, 3 * h / 4};
  for (int i = 0; i < 4; ++i) {
    const Pixel got = p.pixels[static_cast<size_t>(ys[i / 2]) * w + xs[i % 2]];
    EXPECT_LE(channelDistance(got, want[i]), tolerance) << "quadrant " << i << " got " << std::hex << got;
  }
}

TEST(Capture, FindsByAddressPhotographsThePaneAndPutsTheWindowBack) {
  HWND active = CreateWindowExW(0, L"Static", L"active", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
  FakeBrowser b(L"http://x.test/a/", 60, 60, 200, 120);
  ShowWindow(b.top, SW_SHOWMINNOACTIVE);
  SetForegroundWindow(active);
  e2e::pumpFor(200);
  const WINDOWPLACEMENT before = placementOf(b.top);
  ASSERT_TRUE(IsIconic(b.top));

  const auto found = vorbin::findPageWindow(L"HTTP://x.test/a", nullptr);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->top, b.top);
  EXPECT_EQ(found->pane, b.pane);  // the page class, not the largest child
  EXPECT_FALSE(vorbin::findPageWindow(L"http://x.test/ab", nullptr));
  EXPECT_FALSE(vorbin::findPageWindow(L"HTTP://x.test/a", b.top));  // the skipped window

  const auto start = std::chrono::steady_clock::now();
  const auto picture = vorbin::capturePane(*found);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 200);
  EXPECT_EQ(picture->height, 120);
  expectQuadrants(*picture, 8);
  std::printf("capture of a 200x120 pane: %lld ms\n", static_cast<long long>(ms.count()));
  EXPECT_TRUE(e2e::waitUntil([&] { return IsIconic(b.top) != FALSE; }, 3000)) << "not minimised again";
  EXPECT_FALSE(topmost(b.top));
  EXPECT_TRUE(sameRect(placementOf(b.top).rcNormalPosition, before.rcNormalPosition));
  EXPECT_EQ(GetForegroundWindow(), active);

  // Half size through the scaler, written and read back.
  const std::wstring path = tempPath(L"thumb_capture.jpg");
  ASSERT_TRUE(vorbin::writeThumbnail(*picture, 50, 100, path));
  const auto written = vorbin::readJpegFile(path);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 100);
  EXPECT_EQ(written->height, 60);
  expectQuadrants(*written, 16);
  DeleteFileW(path.c_str());
  EXPECT_FALSE(vorbin::writeThumbnail(*picture, 0, 50, path));  // ratio 0: no file
  EXPECT_FALSE(exists(path));
  DestroyWindow(active);
}

TEST(Capture, OffScreenWindowComesBackAndAQuitMessageSurvives) {
  FakeBrowser b(L"http://q.test", -150, 40, 300, 100);
  ShowWindow(b.top, SW_SHOWNOACTIVATE);
  e2e::pumpFor(200);
  const RECT before = rectOf(b.top);
  const auto found = vorbin::findPageWindow(L"http://q.test/", nullptr);
  ASSERT_TRUE(found);
  // The pane's left part lies off screen: the capture moves it in first.
  const auto picture = vorbin::capturePane(*found);
  ASSERT_TRUE(picture);
  expectQuadrants(*picture, 8);
  EXPECT_TRUE(e2e::waitUntil([&] { return sameRect(rectOf(b.top), before); }, 3000));
  EXPECT_FALSE(topmost(b.top));

  // A quit message meanwhile: no picture, the window back, the quit posted again.
  PostQuitMessage(7);
  EXPECT_FALSE(vorbin::capturePane(*found));
  EXPECT_TRUE(sameRect(rectOf(b.top), before));
  EXPECT_FALSE(topmost(b.top));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);

  // A pane of no size gives nothing; a one-pixel pane a one-pixel thumbnail.
  SetWindowPos(b.pane, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_FALSE(vorbin::capturePane(*found));
  SetWindowPos(b.pane, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
  const auto dot = vorbin::capturePane(*found);
  ASSERT_TRUE(dot);
  EXPECT_EQ(dot->width, 1);
  const std::wstring path = tempPath(L"thumb_dot.jpg");
  ASSERT_TRUE(vorbin::writeThumbnail(*dot, 50, 50, path));
  const auto small = vorbin::readJpegFile(path);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->width * small->height, 1);
  DeleteFileW(path.c_str());
}

// Benchmark: the capture of an 800x600 pane, and its scaling and writing at 30%.
TEST(Capture, Timing800x600) {
  FakeBrowser b(L"http://bench.test", 10, 10, 800, 600);
  ShowWindow(b.top, SW_SHOWNOACTIVATE);
  e2e::pumpFor(200);
  const auto found = vorbin::findPageWindow(L"http://bench.test", nullptr);
  ASSERT_TRUE(found);
  long long best = -1;
  std::optional<JpegPicture> picture;
  for (int run = 0; run < 3; ++run) {
    const auto t0 = std::chrono::steady_clock::now();
    picture = vorbin::capturePane(*found);
    const long long us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count();
    ASSERT_TRUE(picture);
    if (best < 0 || us < best) best = us;
  }
  EXPECT_EQ(picture->width, 800);
  EXPECT_EQ(picture->height, 600);
  expectQuadrants(*picture, 8);
  const std::wstring path = tempPath(L"thumb_bench.jpg");
  const auto t1 = std::chrono::steady_clock::now();
  ASSERT_TRUE(vorbin::writeThumbnail(*picture, 30, 50, path));
  const long long writeUs =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t1).count();
  std::printf("800x600 pane: capture %.1f ms (best of 3), scale to 30%% and write %.1f ms\n", best / 1000.0,
              writeUs / 1000.0);
  DeleteFileW(path.c_str());
}

// The first visible dialog of this process, from another thread.
HWND waitForOwnDialog(DWORD timeoutMs = 8000) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    struct S {
      HWND found = nullptr;
    } s;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          DWORD pid = 0;
          GetWindowThreadProcessId(w, &pid);
          wchar_t name[16] = {};
          if (pid == GetCurrentProcessId() && IsWindowVisible(w) && GetClassNameW(w, name, 16) &&
              !wcscmp(name, L"#32770")) {
            reinterpret_cast<S*>(p)->found = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    Sleep(30);
  }
  return nullptr;
}

std::wstring controlText(HWND dialog, int id) {
  wchar_t text[256] = {};
  SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

HINSTANCE library(const wchar_t* name) {
  return LoadLibraryExW(e2e::binPath(name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

TEST(ThumbnailDialog, SlidersFieldAndResultsInBothLanguages) {
  for (const wchar_t* lib : {L"Vorbr2ke.dll", L"Vorbr2kj.dll"}) {
    HINSTANCE resources = library(lib);
    ASSERT_NE(resources, nullptr) << lib;
    std::atomic<bool> checked{false};
    std::wstring field150, fieldSlider;
    LRESULT slider150 = -1, spinSlider = -1;
    std::thread driverThread([&] {
      HWND d = waitForOwnDialog();
      if (!d) return;
      e2e::captureToArtifact(d, std::wstring(L"thumbs_dialog_full_") + lib);
      // Out of range: the field shows 100, the slider its end.
      SetDlgItemTextW(d, IDC_THUMB_RATIO, L"150");
      field150 = controlText(d, IDC_THUMB_RATIO);
      slider150 = SendDlgItemMessageW(d, IDC_THUMB_RATIO_SLIDER, TBM_GETPOS, 0, 0);
      // The slider in tens sets the field.
      HWND slider = GetDlgItem(d, IDC_THUMB_RATIO_SLIDER);
      SendMessageW(slider, TBM_SETPOS, TRUE, 4);
      SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 4), reinterpret_cast<LPARAM>(slider));
      fieldSlider = controlText(d, IDC_THUMB_RATIO);
      // Typing 26 moves the slider to the nearest ten.
      SetDlgItemTextW(d, IDC_THUMB_RATIO, L"26");
      spinSlider = SendDlgItemMessageW(d, IDC_THUMB_RATIO_SLIDER, TBM_GETPOS, 0, 0);
      SendDlgItemMessageW(d, IDC_THUMB_QUALITY, TBM_SETPOS, TRUE, 3);
      SetDlgItemTextW(d, IDC_ITEM_TITLE, L"Typed title");
      SetDlgItemTextW(d, IDC_ITEM_COMMENT, L"Typed comment");
      checked = true;
      PostMessageW(d, WM_COMMAND, IDOK, 0);
    });
    vorbin::ThumbnailChoice choice;
    choice.ratio = 30;
    choice.quality = 50;
    choice.title = L"Preset";
    const bool ok = vorbin::runThumbnailDialog(nullptr, IDD_THUMB_FULL, resources, choice);
    driverThread.join();
    ASSERT_TRUE(checked) << "no dialog from " << lib;
    EXPECT_TRUE(ok);
    EXPECT_EQ(field150, L"100");
    EXPECT_EQ(slider150, 10);
    EXPECT_EQ(fieldSlider, L"40");
    EXPECT_EQ(spinSlider, 3);
    EXPECT_EQ(choice.ratio, 26);
    EXPECT_EQ(choice.quality, 75);
    EXPECT_EQ(choice.title, L"Typed title");
    EXPECT_EQ(choice.comment, L"Typed comment");

    // The short form, cancelled: nothing changes.
    std::thread cancelThread([&] {
      if (HWND d = waitForOwnDialog()) {
        e2e::captureToArtifact(d, std::wstring(L"thumbs_dialog_short_") + lib);
        EXPECT_EQ(controlText(d, IDC_THUMB_RATIO), L"26");
        PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
      }
    });
    EXPECT_FALSE(vorbin::runThumbnailDialog(nullptr, IDD_THUMB_SHORT, resources, choice));
    cancelThread.join();
    EXPECT_EQ(choice.ratio, 26);
    FreeLibrary(resources);
  }
  vorbin::Settings settings;
  vorbin::storeThumbnailChoice({.ratio = 140, .quality = 75, .title = {}, .comment = {}}, &settings, nullptr);
  EXPECT_EQ(settings.thumbRatio, 100);
  EXPECT_EQ(settings.thumbQuality, 75);
}

TEST(RequestThumbnail, PictureGoesThroughTheDialogIntoTheDataFolder) {
  HINSTANCE resources = library(L"Vorbr2ke.dll");
  ASSERT_NE(resources, nullptr);
  void* bits = nullptr;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 80, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  const JpegPicture q = quadrants(80, 40);
  std::copy(q.pixels.begin(), q.pixels.end(), static_cast<Pixel*>(bits));

  vorbin::Settings settings;
  settings.thumbRatio = 50;
  settings.thumbQuality = 100;
  vorbin::ThumbnailContext context{.settings = &settings, .profile = nullptr, .resources = resources};
  std::thread okThread([&] {
    if (HWND d = waitForOwnDialog()) {
      SetDlgItemTextW(d, IDC_ITEM_COMMENT, L"from the dialog");
      PostMessageW(d, WM_COMMAND, IDOK, 0);
    }
  });
  const auto made = vorbin::thumbnailForRequest(bitmap, false, L"Page", nullptr, context);
  okThread.join();
  EXPECT_TRUE(made.accepted);
  EXPECT_EQ(made.title, L"Page");
  EXPECT_EQ(made.comment, L"from the dialog");
  ASSERT_FALSE(made.file.empty());
  const std::wstring path = vorbin::dataFolder(nullptr, L"", false) + made.file;
  const auto written = vorbin::readJpegFile(path);
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 40);
  EXPECT_EQ(written->height, 20);
  expectQuadrants(*written, 16);
  DeleteFileW(path.c_str());

  // No picture: the message instead of the dialog, and nothing made.
  std::wstring said;
  std::thread boxThread([&] {
    if (HWND d = waitForOwnDialog()) {
      said = controlText(d, 0xFFFF);
      PostMessageW(d, WM_COMMAND, IDOK, 0);
    }
  });
  const auto none = vorbin::thumbnailForRequest(nullptr, false, L"Page", nullptr, context);
  boxThread.join();
  EXPECT_FALSE(none.accepted);
  EXPECT_TRUE(none.file.empty());
  DeleteObject(bitmap);
  FreeLibrary(resources);
}

}  // namespace
