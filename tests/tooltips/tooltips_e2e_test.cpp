// The real launcher's tool tips driven from outside: a button's tip by tip
// mode, a cut title with format directives, a task's program, the picture of
// a web-link button and what a damaged or misplaced picture shows instead.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_layout.h"
#include "launcher/render/jpeg_file.h"
#include "launcher/services/shell_helpers.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

using namespace driver;

constexpr uint32_t kPictureColour = 0xD02010;  // a red no tip or theme paints
const std::wstring kLongTitle = L"%s%n%s%n%s%n%s%n%s%n%s%n%s%n%s%n%s%n%s%n%s%n%s%n";

// The shown tip window of the process, or null.
HWND shownTip(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND found = nullptr;
  } search{pid};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t name[32] = {};
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == s->pid && IsWindowVisible(w) && GetClassNameW(w, name, 32) &&
            !_wcsicmp(name, L"tooltips_class32")) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The tip's text through WM_GETTEXT (marshalled across processes, unlike TTM_GETTEXT).
std::wstring tipText(HWND tip) {
  wchar_t text[2048] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(tip, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
  return text;
}

void moveTo(POINT at) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((at.x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) /
                               (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = static_cast<LONG>((at.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) /
                               (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof(in));
}

int countColour(const e2e::Capture& cap, uint32_t colour) {
  int n = 0;
  for (uint32_t p : cap.pixels) {
    const int dr = static_cast<int>((p >> 16) & 0xFF) - static_cast<int>((colour >> 16) & 0xFF);
    const int dg = static_cast<int>((p >> 8) & 0xFF) - static_cast<int>((colour >> 8) & 0xFF);
    const int db = static_cast<int>(p & 0xFF) - static_cast<int>(colour & 0xFF);
    if (dr * dr + dg * dg + db * db < 30 * 30) ++n;
  }
  return n;
}

std::unique_ptr<vorbin::Item> makeItem(const std::wstring& title, const std::wstring& target) {
  auto item = std::make_unique<vorbin::Item>();
  item->title = title;
  item->setTargetPath(target);
  return item;
}

std::unique_ptr<vorbin::Item> webItem(const std::wstring& title, const std::wstring& picture) {
  auto item = makeItem(title, L"http://x.test/a/");
  item->flags = vorbin::kItemUrl;
  item->text4 = picture;
  return item;
}

bool writePicture(const std::wstring& path, int width, int height) {
  vorbin::JpegPicture picture{
      width, height, std::vector<vorbin::Pixel>(static_cast<size_t>(width) * height, kPictureColour)};
  return vorbin::writeJpegFile(path, picture, 95);
}

class ToolTipsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::profile::clear();
    e2e::profile::setString(L"Settings", L"Lock", L"Yes");
    e2e::profile::setString(L"Settings", L"ActGroup", L"1");
    data = vorbin::dataFolder(nullptr, L"", true);
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(writePicture(data + L"tipshow.jpg", 48, 32));
    // A damaged file under a good name, and a good picture outside the data folder.
    HANDLE f =
        CreateFileW((data + L"tipbroken.jpg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, "\xFF\xD8\xFF\xE0garbage", 11, &written, nullptr);
    CloseHandle(f);
    ASSERT_TRUE(writePicture(data + L"..\\tipvictim.jpg", 48, 32));
    seed();
  }
  void TearDown() override {
    if (bar) e2e::closeAndWait(launcher, bar);
  }
  void seed() {
    vorbin::RegistryProfile profile;
    vorbin::GroupTable table(profile, vorbin::ModelOptions{});
    table.loadGroups();
    std::wstring title = L"Tips";
    ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &title, false));
    auto commented = makeItem(L"Alpha", L"C:\\windows\\notepad.exe");
    commented->text5 = L"Alpha comment %s%n";
    table.placeItem(1, 0, std::move(commented));
    table.placeItem(1, 1, makeItem(kLongTitle, L"C:\\windows\\notepad.exe"));
    table.placeItem(1, 2, webItem(L"Web", L"tipshow.jpg"));
    table.placeItem(1, 3, webItem(L"Broken", L"tipbroken.jpg"));
    table.placeItem(1, 4, webItem(L"Hostile", L"..\\tipvictim.jpg"));
    for (int s = 0; s <= 4; ++s) ASSERT_TRUE(table.saveItem(1, s, false));
    table.saveOrder();
  }
  void start(int mode, int language = 0) {
    e2e::profile::setDword(L"Settings", L"ToolTipMode", static_cast<DWORD>(mode));
    e2e::profile::setDword(L"Settings", L"Language", static_cast<DWORD>(language));
    bar = startBarInFront(launcher);
    ASSERT_NE(bar, nullptr);
    RECT client;
    GetClientRect(bar, &client);
    HDC screen = GetDC(nullptr);
    metrics = vorbin::measureLayoutMetrics(screen, vorbin::FontSettings{}, 25, 0, 4);
    ReleaseDC(nullptr, screen);
    clientHeight = client.bottom;
    layout = vorbin::computeBarLayout(metrics, false, clientHeight);
  }
  void stop() {
    ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
    bar = nullptr;
  }
  POINT onScreen(const vorbin::PixelRect& r) const {
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(bar, &p);
    return p;
  }
  POINT slot(int n) const { return onScreen(vorbin::gridCellRect(layout, vorbin::gridCells(layout, 0), n)); }
  // Rests the pointer at the point (leaving first, so that the tip starts
  // afresh) and waits for a shown tip; its text, or nothing.
  std::optional<std::wstring> hover(POINT at, DWORD timeoutMs = 3000, double* shownAfterMs = nullptr) {
    POINT away{at.x, at.y + 400};
    moveTo(away);
    e2e::waitUntil([&] { return !shownTip(launcher.pid()); }, 2000);
    const auto start = std::chrono::steady_clock::now();
    moveTo(at);
    e2e::pumpFor(20);
    moveTo({at.x + 1, at.y});
    HWND tip = nullptr;
    if (!e2e::waitUntil([&] { return (tip = shownTip(launcher.pid())) != nullptr; }, timeoutMs))
      return std::nullopt;
    if (shownAfterMs)
      *shownAfterMs =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    e2e::pumpFor(150);  // painted
    lastTip = tip;
    return tipText(tip);
  }

  e2e::Process launcher;
  HWND bar = nullptr;
  HWND lastTip = nullptr;
  vorbin::LayoutMetrics metrics;
  int clientHeight = 0;
  vorbin::BarLayout layout;
  std::wstring data;
};

TEST_F(ToolTipsEndToEnd, ButtonTipsFollowTheModeAndWebLinksShowTheirPicture) {
  const wchar_t* commentLine = L"Alpha comment %s%n";
  for (int mode = 0; mode < 3; ++mode) {
    SCOPED_TRACE(mode);
    start(mode);
    double shownAfter = 0;
    const auto alpha = hover(slot(0), mode == 2 ? 1500 : 3000, &shownAfter);
    if (mode == 0) {
      // The title fits: the comment alone.
      EXPECT_EQ(alpha, std::optional<std::wstring>(commentLine));
      std::printf("[ tip timing ] pointer rest to tip shown: %.0f ms\n", shownAfter);
    } else {
      EXPECT_FALSE(alpha.has_value() && !alpha->empty()) << "no tip for a fitting title in mode " << mode;
    }
    const auto cut = hover(slot(1), mode == 2 ? 1500 : 3000);
    if (mode == 2) {
      EXPECT_FALSE(cut.has_value() && !cut->empty());
    } else {
      ASSERT_TRUE(cut.has_value());
      EXPECT_EQ(*cut, mode == 0 ? kLongTitle + L"\r\nC:\\windows\\notepad.exe" : kLongTitle);
    }

    const auto web = hover(slot(2));
    ASSERT_TRUE(web.has_value()) << "a picture tip in every mode";
    EXPECT_EQ(*web, mode == 0 ? L"http://x.test/a/" : L"Web");
    auto shot = e2e::captureToArtifact(lastTip, L"tooltips_picture_mode" + std::to_wstring(mode));
    ASSERT_TRUE(shot);
    EXPECT_GE(countColour(*shot, kPictureColour), 48 * 32 * 8 / 10) << "the picture under the text";
    const int pictureTipHeight = shot->height;

    for (int n : {3, 4}) {
      const auto plain = hover(slot(n));
      ASSERT_TRUE(plain.has_value());
      shot = e2e::captureToArtifact(lastTip, L"tooltips_text_only" + std::to_wstring(n));
      ASSERT_TRUE(shot);
      EXPECT_EQ(countColour(*shot, kPictureColour), 0) << "slot " << n << " shows text only";
      EXPECT_LT(shot->height, pictureTipHeight - 20) << "slot " << n;
    }
    stop();
  }
}

// A window the task list takes: top-level, unowned, titled, with a system menu.
class TaskProbe {
 public:
  explicit TaskProbe(const wchar_t* title) {
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      wc.lpszClassName = L"vb_tip_task_probe";
      return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    m_hwnd = CreateWindowExW(0, L"vb_tip_task_probe", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 500, 200, 100,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    e2e::pumpFor(50);
  }
  ~TaskProbe() {
    if (m_hwnd) DestroyWindow(m_hwnd);
  }
  HWND hwnd() const { return m_hwnd; }

 private:
  HWND m_hwnd = nullptr;
};

TEST_F(ToolTipsEndToEnd, TaskTipNamesTheProgramAndFixedTipsSpeakTheLanguage) {
  const TaskProbe probe(L"Tip probe %s%n");
  ASSERT_NE(probe.hwnd(), nullptr);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  e2e::profile::setString(L"Settings", L"TaskMode", L"Yes");
  // Another program's window gives the launcher no icon under Wine, and
  // without one only the detailed list takes it.
  e2e::profile::setDword(L"Settings", L"DispTaskDetails", 1);
  start(0);
  // The task list in the tab area: the probe's entry is one of the first few.
  layout = vorbin::computeBarLayout(metrics, true, clientHeight);
  const vorbin::TabLayout tabs = vorbin::tabLayout(layout, 0);
  bool found = false;
  for (int n = 0; n < 12 && !found; ++n) {
    const int column = n % std::max(1, tabs.perRow), row = n / std::max(1, tabs.perRow);
    const int left = layout.tabArea.left + 1 + column * tabs.tabWidth,
              top = layout.tabArea.top + row * tabs.tabHeight;
    if (top + tabs.tabHeight > layout.tabArea.bottom) break;
    const auto text = hover(onScreen({left, top, left + tabs.tabWidth, top + tabs.tabHeight}), 2000);
    if (text && text->find(self) != std::wstring::npos) {
      found = true;
      EXPECT_NE(text->find(L"Program: "), std::wstring::npos) << "string 1053 fills in the path";
      // A cut title comes first, as stored.
      if (text->find(L"Tip probe") != std::wstring::npos)
        EXPECT_EQ(text->rfind(L"Tip probe %s%n\r\nProgram: ", 0), 0u) << testing::PrintToString(*text);
      e2e::captureToArtifact(lastTip, L"tooltips_task_en");
    }
  }
  EXPECT_TRUE(found) << "no task tip named " << testing::PrintToString(std::wstring(self));
  stop();

  // The close box in both languages.
  e2e::profile::setString(L"Settings", L"TaskMode", L"No");
  const std::vector<std::wstring> closeTexts = libraryStrings(818);
  ASSERT_EQ(closeTexts.size(), 2u);
  for (int language = 0; language < 2; ++language) {
    start(0, language);
    const auto text = hover(onScreen(layout.captionBoxes[1]));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, closeTexts[language]);
    e2e::captureToArtifact(lastTip, L"tooltips_close_" + std::to_wstring(language));
    stop();
  }
}

}  // namespace
