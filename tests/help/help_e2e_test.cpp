// The tip of the day and the help popup in the real launcher: the tips at
// start-up and on request, where they continue after a restart, a replaced
// file, damaged positions and files; F1 on an options field, copying its
// note, and a right press on a function key.
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_layout.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

constexpr UINT kCmdOptions = 0x0080;
constexpr UINT kCmdTip = 0x8020;
constexpr int kTipText = 1004, kTipNext = 1002, kTipAtStartUp = 1001;

std::vector<uint8_t> utf16(const std::wstring& text) {
  std::vector<uint8_t> bytes;
  for (wchar_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

// The tips files beside the program, put back as built when the test ends.
class TipsFiles {
 public:
  TipsFiles() {
    for (const wchar_t* name : {L"tips-e.dat", L"tips-j.dat"}) m_saved.push_back(read(name));
  }
  ~TipsFiles() {
    write(L"tips-e.dat", m_saved[0]);
    write(L"tips-j.dat", m_saved[1]);
  }
  static void write(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    const std::wstring path = e2e::binPath(name);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << "cannot write " << std::string(name.begin(), name.end());
    DWORD wrote = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(f);
  }
  static void remove(const std::wstring& name) { DeleteFileW(e2e::binPath(name).c_str()); }
  // Moves the file's time by days, as a replaced file would.
  static void shiftTime(const std::wstring& name, int days) {
    HANDLE f = CreateFileW(e2e::binPath(name).c_str(), FILE_WRITE_ATTRIBUTES | GENERIC_READ, FILE_SHARE_READ,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    FILETIME t{};
    GetFileTime(f, nullptr, nullptr, &t);
    ULARGE_INTEGER v{{t.dwLowDateTime, t.dwHighDateTime}};
    v.QuadPart += static_cast<ULONGLONG>(days) * 864000000000ull;
    t = {v.LowPart, v.HighPart};
    SetFileTime(f, nullptr, nullptr, &t);
    CloseHandle(f);
  }

 private:
  static std::vector<uint8_t> read(const std::wstring& name) {
    std::ifstream in(std::filesystem::path(e2e::binPath(name)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::vector<uint8_t>> m_saved;
};

struct DialogSearch {
  DWORD pid;
  int control;
  HWND found;
};

// A dialog of the process holding the control.
HWND findDialogWith(DWORD pid, int control) {
  DialogSearch s{pid, control, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<DialogSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (owner == s->pid && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w) &&
            GetDlgItem(w, s->control)) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND waitForTips(DWORD pid, DWORD timeoutMs = 8000) {
  HWND dialog = nullptr;
  e2e::waitUntil([&] { return (dialog = findDialogWith(pid, kTipText)) != nullptr; }, timeoutMs);
  e2e::pumpFor(100);
  return dialog;
}

std::wstring tipText(HWND dialog) { return driver::windowText(GetDlgItem(dialog, kTipText)); }

void click(HWND dialog, int id) {
  DWORD_PTR ignored;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 3000, &ignored);
}

// Closes the tips with OK (the start-up choice is written) or Cancel.
void closeTips(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(dialog); }, 5000));
}

// The first-run questions that follow the tips, answered with Cancel.
void answerQuestions(DWORD pid) {
  for (int i = 0; i < 6 && driver::answerDialog(pid, IDCANCEL, 3000); ++i) {
  }
}

HWND openTips(HWND bar, DWORD pid) {
  PostMessageW(bar, WM_SYSCOMMAND, kCmdTip, 0);
  return waitForTips(pid);
}

// The popup of the process: a visible caption-less dialog without controls.
HWND findPopup(DWORD pid) {
  DialogSearch s{pid, 0, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<DialogSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        const LONG style = GetWindowLongW(w, GWL_STYLE);
        if (owner == s->pid && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w) && !(style & WS_CAPTION) &&
            !GetWindow(w, GW_CHILD)) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
}
void tap(WORD vk) {
  key(vk, false);
  e2e::pumpFor(30);
  key(vk, true);
  e2e::pumpFor(100);
}

std::wstring clipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) text = p;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

std::wstring withCrLf(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\n') out.push_back(L'\r');
    out.push_back(c);
  }
  return out;
}

const std::wstring kThreeTips = L"\xFEFF; the test's tips\r\n\r\nTip one\r\nTip two\r\nTip three\r\n";
// Byte offset after the line that holds text.
int64_t after(const std::wstring& file, const std::wstring& text) {
  return static_cast<int64_t>((file.find(text + L"\r\n") + text.size() + 2) * 2);
}

TEST(TipsEndToEnd, StartUpNextRestartReplacedFileAndDamagedInput) {
  TipsFiles files;
  e2e::profile::clear();
  e2e::profile::setDword(L"Tip", L"StartUp", 0);
  TipsFiles::write(L"tips-e.dat", utf16(kThreeTips));

  // At start-up: the first tip; Next runs through and wraps.
  e2e::Process launcher = e2e::startLauncher();
  HWND tips = waitForTips(launcher.pid());
  ASSERT_NE(tips, nullptr) << "no tips at start-up";
  EXPECT_EQ(IsDlgButtonChecked(tips, kTipAtStartUp), UINT{BST_CHECKED});
  std::vector<std::wstring> shown{tipText(tips)};
  for (int i = 0; i < 3; ++i) {
    click(tips, kTipNext);
    shown.push_back(tipText(tips));
  }
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"Tip one", L"Tip two", L"Tip three", L"Tip one"}));
  e2e::captureToArtifact(tips, L"tips_en");
  click(tips, kTipAtStartUp);
  closeTips(tips, IDOK);
  EXPECT_EQ(e2e::profile::getDword(L"Tip", L"StartUp"), 1u);
  EXPECT_EQ(e2e::profile::getDword(L"Tip", L"FilePos"), static_cast<DWORD>(after(kThreeTips, L"Tip one")));
  const auto stamp = e2e::profile::getString(L"Tip", L"TimeStamp");
  ASSERT_TRUE(stamp.has_value());
  EXPECT_EQ(stamp->size(), 24u) << std::string(stamp->begin(), stamp->end());
  answerQuestions(launcher.pid());
  HWND bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));

  // A restart with the tips turned off shows none; asked for, they go on with tip two.
  launcher = e2e::startLauncher();
  bar = driver::startBarInFront(launcher);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(e2e::profile::getDword(L"Tip", L"FilePos"), static_cast<DWORD>(after(kThreeTips, L"Tip one")));
  tips = openTips(bar, launcher.pid());
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(tipText(tips), L"Tip two");
  EXPECT_EQ(IsDlgButtonChecked(tips, kTipAtStartUp), UINT{BST_UNCHECKED});
  closeTips(tips, IDOK);
  EXPECT_EQ(e2e::profile::getDword(L"Tip", L"StartUp"), 1u);

  // Stored positions inside a comment, negative or far beyond the end still find a tip.
  for (DWORD pos : {DWORD{3}, static_cast<DWORD>(-5), DWORD{1000000000}}) {
    e2e::profile::setDword(L"Tip", L"FilePos", pos);
    tips = openTips(bar, launcher.pid());
    ASSERT_NE(tips, nullptr) << pos;
    EXPECT_EQ(tipText(tips), L"Tip one") << pos;
    closeTips(tips, IDCANCEL);
  }

  // A replaced file (another time) starts again from its first tip and turns the tips on.
  e2e::profile::setDword(L"Tip", L"FilePos", static_cast<DWORD>(after(kThreeTips, L"Tip two")));
  TipsFiles::shiftTime(L"tips-e.dat", 1);
  tips = openTips(bar, launcher.pid());
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(tipText(tips), L"Tip one");
  EXPECT_EQ(IsDlgButtonChecked(tips, kTipAtStartUp), UINT{BST_CHECKED});
  closeTips(tips, IDOK);
  EXPECT_EQ(e2e::profile::getDword(L"Tip", L"StartUp"), 0u);
  EXPECT_NE(e2e::profile::getString(L"Tip", L"TimeStamp"), stamp);

  // A 3,000-character line shows cut; the next tip follows it.
  TipsFiles::write(L"tips-e.dat", utf16(std::wstring(3000, L'x') + L"\r\nAfter the long line\r\n"));
  tips = openTips(bar, launcher.pid());
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(tipText(tips), std::wstring(1000, L'x'));
  click(tips, kTipNext);
  EXPECT_EQ(tipText(tips), L"After the long line");
  closeTips(tips, IDCANCEL);

  // Comments only, and no file at all: text 641 and no Next.
  const std::wstring none = driver::libraryStrings(641)[0];
  ASSERT_FALSE(none.empty());
  TipsFiles::write(L"tips-e.dat", utf16(L"\xFEFF; only\r\n; comments\r\n\r\n"));
  for (bool present : {true, false}) {
    if (!present) {
      TipsFiles::remove(L"tips-e.dat");
      TipsFiles::remove(L"tips-j.dat");
    }
    tips = openTips(bar, launcher.pid());
    ASSERT_NE(tips, nullptr) << present;
    EXPECT_EQ(tipText(tips), none) << present;
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(tips, kTipNext))) << present;
    closeTips(tips, IDCANCEL);
  }
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
}

TEST(TipsEndToEnd, JapaneseFallsBackToTheEnglishFile) {
  TipsFiles files;
  e2e::profile::clear();
  e2e::profile::setDword(L"Settings", L"Language", 1);
  e2e::profile::setDword(L"Tip", L"StartUp", 0);
  TipsFiles::write(L"tips-e.dat", utf16(kThreeTips));
  TipsFiles::remove(L"tips-j.dat");
  e2e::Process launcher = e2e::startLauncher();
  HWND tips = waitForTips(launcher.pid());
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(tipText(tips), L"Tip one");
  closeTips(tips, IDCANCEL);
  answerQuestions(launcher.pid());
  HWND bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
}

TEST(HelpEndToEnd, F1OnAnOptionsFieldAndARightPressOnAFunctionKey) {
  e2e::profile::clear();
  e2e::Process launcher = e2e::startLauncher();
  HWND bar = driver::startBarInFront(launcher);
  ASSERT_NE(bar, nullptr);
  const DWORD pid = launcher.pid();

  // A right press on function key 2 (TASK) explains it.
  RECT client;
  GetClientRect(bar, &client);
  HDC screen = GetDC(nullptr);
  const auto metrics = vorbin::measureLayoutMetrics(screen, vorbin::FontSettings{}, 25, 0, 4);
  ReleaseDC(nullptr, screen);
  const vorbin::BarLayout layout = vorbin::computeBarLayout(metrics, false, client.bottom);
  POINT at{(layout.functionKeys[2].left + layout.functionKeys[2].right) / 2, layout.functionKeys[2].top + 4};
  ClientToScreen(bar, &at);
  SetCursorPos(at.x, at.y);
  e2e::pumpFor(50);
  INPUT press[2] = {};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, press, sizeof(INPUT));
  HWND popup = nullptr;
  ASSERT_TRUE(e2e::waitUntil([&] { return (popup = findPopup(pid)) != nullptr; }, 5000)) << "no note";
  EXPECT_EQ(driver::windowText(popup), driver::libraryStrings(5)[0]);
  e2e::captureToArtifact(popup, L"help_popup_bar_en");
  tap(VK_ESCAPE);
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(popup); }, 3000)) << "Esc left the note open";

  // F1 on the options' "quit without asking" field.
  PostMessageW(bar, WM_SYSCOMMAND, kCmdOptions, 0);
  HWND page = nullptr;
  ASSERT_TRUE(e2e::waitUntil(
      [&] {
        HWND sheet = findDialogWith(pid, 0x3020);  // the sheet's tab control
        page = sheet ? reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
        return page && GetDlgItem(page, 305);
      },
      8000));
  HWND field = GetDlgItem(page, 305);
  const DWORD thread = GetWindowThreadProcessId(field, nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  SetForegroundWindow(GetAncestor(page, GA_ROOT));
  SetFocus(field);
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  e2e::pumpFor(100);
  tap(VK_F1);
  ASSERT_TRUE(e2e::waitUntil([&] { return (popup = findPopup(pid)) != nullptr; }, 5000)) << "no popup on F1";
  const std::wstring expected = driver::libraryStrings(71)[0];
  EXPECT_EQ(driver::windowText(popup), expected);
  // F1 again, inside the note, leaves it open.
  tap(VK_F1);
  EXPECT_TRUE(IsWindow(popup));
  e2e::captureToArtifact(popup, L"help_popup_f1_en");

  // Copy from its menu: the text as Unicode on the clipboard.
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  RECT r;
  GetWindowRect(popup, &r);
  PostMessageW(popup, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(popup), MAKELPARAM(r.left + 10, r.top + 10));
  e2e::pumpFor(300);
  tap('C');
  EXPECT_TRUE(e2e::waitUntil([&] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }, 3000));
  EXPECT_EQ(clipboardText(), withCrLf(expected));
  if (IsWindow(popup)) tap(VK_ESCAPE);
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(popup); }, 3000));
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
}

}  // namespace
