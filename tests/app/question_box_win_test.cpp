// The question box of the first start, run modally in this process: what it
// shows in each language, how it grows to a long question, and which answer
// each way of closing it gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "launcher/app/resource_library.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/widgets/question_box.h"

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

int runBox(const std::wstring& caption, const std::wstring& question, Session session) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
  g_session = &session;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, onTimer);
  const int answer = CQuestionBox(caption, question).ask(owner);
  KillTimer(nullptr, timer);
  DestroyWindow(owner);
  EXPECT_TRUE(session.seen) << "the box never came up";
  g_session = nullptr;
  return answer;
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

}  // namespace
}  // namespace vorbin
