// The question box of the first start and the message boxes of the one
// message funnel, run modally in this process: what they show in each
// language, how the question box grows to a long question, and which answer
// each way of closing them gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "launcher/app/resource_library.h"
#include "launcher/resources/product_name.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/widgets/question_box.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {
namespace {

std::wstring binDir() {
  wchar_t path[MAX_PATH];
  std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return exe.substr(0, exe.find_last_of(L'\\'));
}

std::wstring textOf(HWND w) {
  wchar_t text[512] = {};
  GetWindowTextW(w, text, 512);
  return text;
}

RECT clientRectOf(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Runs the box; once it is up, look at it, then close it the given way.
struct Session {
  std::function<void(HWND)> inspect;
  std::function<void(HWND)> close;
  bool seen = false;
};
Session* g_session = nullptr;

void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = GetActiveWindow();
  wchar_t cls[16] = {};
  if (!box || !GetClassNameW(box, cls, 16) || lstrcmpW(cls, L"#32770") != 0 || g_session->seen) return;
  KillTimer(nullptr, id);
  g_session->seen = true;
  g_session->inspect(box);
  g_session->close(box);
}

// Runs show(owner) (a modal box) under the session.
int runModal(const std::function<int(HWND)>& show, Session session) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
  g_session = &session;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, onTimer);
  const int answer = show(owner);
  KillTimer(nullptr, timer);
  DestroyWindow(owner);
  EXPECT_TRUE(session.seen) << "the box never came up";
  g_session = nullptr;
  return answer;
}

int runBox(const std::wstring& caption, const std::wstring& question, Session session) {
  return runModal([&](HWND owner) { return CQuestionBox(caption, question).ask(owner); }, std::move(session));
}

void pressKey(HWND box, UINT key) {
  HWND focus = GetFocus();
  PostMessageW(focus ? focus : box, WM_KEYDOWN, key, 0);
  PostMessageW(focus ? focus : box, WM_KEYUP, key, 0xC0000000);
}

class QuestionBox : public testing::Test {
 protected:
  void useLanguage(int language) {
    int chosen = language;
    ASSERT_TRUE(loadResourceLibraryFrom(binDir(), false, chosen, 1033));
    ASSERT_EQ(chosen, language);
  }
};

TEST_F(QuestionBox, ShowsTheQuestionWithIconAndAnswersOkOrCancel) {
  useLanguage(kLanguageEnglish);
  const auto look = [](HWND box) {
    EXPECT_EQ(textOf(box), L"Vorbin - first start");
    EXPECT_EQ(textOf(GetDlgItem(box, IDC_QUESTION_TEXT)), L"Create a group?");
    EXPECT_NE(SendDlgItemMessageW(box, IDC_QUESTION_ICON, STM_GETICON, 0, 0), 0);
    EXPECT_EQ(textOf(GetDlgItem(box, IDOK)), L"OK");
    EXPECT_EQ(textOf(GetDlgItem(box, IDCANCEL)), L"Cancel");
    // Enter takes the default button.
    EXPECT_EQ(LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0)), IDOK);
  };
  EXPECT_EQ(
      runBox(L"Vorbin - first start", L"Create a group?", {look, [](HWND b) { pressKey(b, VK_RETURN); }}),
      IDOK);
  EXPECT_EQ(
      runBox(L"Vorbin - first start", L"Create a group?", {look, [](HWND b) { pressKey(b, VK_ESCAPE); }}),
      IDCANCEL);
  EXPECT_EQ(runBox(L"c", L"q", {[](HWND) {}, [](HWND b) { PostMessageW(b, WM_CLOSE, 0, 0); }}), IDCANCEL);
  EXPECT_EQ(
      runBox(L"c", L"q",
             {[](HWND) {}, [](HWND b) { PostMessageW(b, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }}),
      IDCANCEL);
}

TEST_F(QuestionBox, GrowsToALongQuestionAndKeepsTheButtonsBelowIt) {
  useLanguage(kLanguageEnglish);
  std::wstring longQuestion;
  for (int i = 0; i < 30; ++i) longQuestion += L"Create groups from every folder of the Start menu? ";
  int shortHeight = 0, longHeight = 0;
  const auto measure = [](int& height) {
    return [&height](HWND box) {
      RECT r;
      GetWindowRect(box, &r);
      height = r.bottom - r.top;
      HWND text = GetDlgItem(box, IDC_QUESTION_TEXT);
      const RECT t = clientRectOf(text, box);
      RECT client;
      GetClientRect(box, &client);
      for (int id : {IDOK, IDCANCEL}) {
        const RECT b = clientRectOf(GetDlgItem(box, id), box);
        EXPECT_GE(b.top, t.bottom) << "button " << id << " overlaps the text";
        EXPECT_LE(b.bottom, client.bottom) << "button " << id << " is cut off";
      }
      // Every line of the text fits its control.
      wchar_t buffer[4096] = {};
      GetWindowTextW(text, buffer, 4096);
      HDC dc = GetDC(text);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
      RECT need{0, 0, t.right - t.left, 0};
      DrawTextW(dc, buffer, -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
      SelectObject(dc, old);
      ReleaseDC(text, dc);
      EXPECT_LE(need.bottom, t.bottom - t.top);
    };
  };
  const auto cancel = [](HWND b) { pressKey(b, VK_ESCAPE); };
  EXPECT_EQ(runBox(L"c", L"Short?", {measure(shortHeight), cancel}), IDCANCEL);
  EXPECT_EQ(runBox(L"c", longQuestion, {measure(longHeight), cancel}), IDCANCEL);
  EXPECT_GT(longHeight, shortHeight + 40);
}

TEST_F(QuestionBox, SpeaksTheLanguageOfTheLibrary) {
  useLanguage(kLanguageJapanese);
  EXPECT_EQ(runBox(L"c", L"q",
                   {[](HWND box) {
                      EXPECT_EQ(textOf(GetDlgItem(box, IDCANCEL)), L"キャンセル");
                      EXPECT_EQ(textOf(GetDlgItem(box, IDOK)), L"OK");
                    },
                    [](HWND b) { pressKey(b, VK_RETURN); }}),
            IDOK);
  useLanguage(kLanguageEnglish);
}

// The longest static text of a box: a message box's text.
std::wstring messageOf(HWND box) {
  std::wstring longest;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0 && textOf(child).size() > longest.size()) longest = textOf(child);
  }
  return longest;
}

// What a message box showed, and a session that records it and presses a button.
struct SeenMessage {
  std::wstring caption, text;
  std::vector<int> buttons;
};
Session pressing(int button, SeenMessage& seen) {
  return {[&seen](HWND box) {
            seen.caption = textOf(box);
            seen.text = messageOf(box);
            for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
              if (GetDlgItem(box, id)) seen.buttons.push_back(id);
          },
          [button](HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }};
}

using UserMessageBox = QuestionBox;

TEST_F(UserMessageBox, TextsComeFromTheLibraryUnderTheNamedCaptionOrTheProductName) {
  useLanguage(kLanguageEnglish);
  SeenMessage seen;
  // The name goes in literally, format directives and all.
  EXPECT_EQ(
      runModal(
          [](HWND owner) {
            return showMessage(
                owner,
                {.text = IDS_FILE_NOT_FOUND, .caption = IDS_NOT_FOUND_CAPTION, .insert = L"C:\\a%s%d b"},
                MB_OK | MB_ICONEXCLAMATION);
          },
          pressing(IDOK, seen)),
      IDOK);
  EXPECT_EQ(seen.caption, L"Vorbin - not found");
  EXPECT_EQ(seen.text, L"Cannot find the file C:\\a%s%d b.");
  EXPECT_EQ(seen.buttons, (std::vector<int>{IDOK}));

  // No caption named: the product name. The count fills "%d"; Cancel answers.
  seen = {};
  EXPECT_EQ(
      runModal(
          [](HWND owner) { return showMessage(owner, {.text = IDS_LAUNCH_MANY, .count = 3}, MB_OKCANCEL); },
          pressing(IDCANCEL, seen)),
      IDCANCEL);
  EXPECT_EQ(seen.caption, kProductName);
  EXPECT_EQ(seen.text, L"Start all 3 selected items?");
  EXPECT_EQ(seen.buttons, (std::vector<int>{IDOK, IDCANCEL}));

  // A text the library lacks shows the product name; so does a caption it lacks.
  seen = {};
  EXPECT_EQ(runModal([](HWND owner) { return showMessage(owner, {.text = 9999, .caption = 9998}, MB_YESNO); },
                     pressing(IDNO, seen)),
            IDNO);
  EXPECT_EQ(seen.caption, kProductName);
  EXPECT_EQ(seen.text, kProductName);
  EXPECT_EQ(seen.buttons, (std::vector<int>{IDYES, IDNO}));
}

TEST_F(UserMessageBox, SpeaksTheLanguageOfTheLibrary) {
  useLanguage(kLanguageJapanese);
  SeenMessage seen;
  EXPECT_EQ(runModal(
                [](HWND owner) {
                  return showMessage(
                      owner, {.text = IDS_LAUNCH_MANY, .caption = IDS_LAUNCH_MANY_CAPTION, .count = 2},
                      MB_OKCANCEL | MB_ICONINFORMATION);
                },
                pressing(IDOK, seen)),
            IDOK);
  EXPECT_EQ(seen.caption, L"Vorbin - 起動");
  EXPECT_EQ(seen.text, L"選択した 2 個の項目をすべて起動しますか?");
  useLanguage(kLanguageEnglish);
}

TEST_F(UserMessageBox, BuiltInTextsTakeTheSystemCaptionOnlyWithoutALibrary) {
  useLanguage(kLanguageEnglish);
  SeenMessage seen;
  EXPECT_EQ(
      runModal([](HWND owner) { return showMessage(owner, L"Vorb in 1.0", MB_OK); }, pressing(IDOK, seen)),
      IDOK);
  EXPECT_EQ(seen.caption, kProductName);
  EXPECT_EQ(seen.text, L"Vorb in 1.0");

  // A folder without libraries: the old one is freed and none comes instead.
  int language = kLanguageEnglish;
  ASSERT_FALSE(loadResourceLibraryFrom(L"C:\\no such folder\\", false, language, 1033));
  ASSERT_EQ(resourceModule(), nullptr);
  seen = {};
  EXPECT_EQ(runModal([](HWND owner) { return showMessage(owner, L"no library", MB_OK | MB_ICONSTOP); },
                     pressing(IDOK, seen)),
            IDOK);
  EXPECT_EQ(seen.caption, L"Error");
  EXPECT_EQ(seen.text, L"no library");
  useLanguage(kLanguageEnglish);
}

}  // namespace
}  // namespace vorbin
