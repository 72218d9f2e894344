// Window objects and their message tables, on real windows.
#include <gtest/gtest.h>

#include "framework/window.h"

namespace {

constexpr UINT kAsk = WM_APP + 1;
constexpr UINT kUnmapped = WM_APP + 2;
constexpr UINT kMaybe = WM_SETTEXT;  // the default procedure answers it visibly
const wchar_t kClass[] = L"fwTestWindow";

class CounterWindow : public fw::CMappedWindow<CounterWindow> {
 public:
  static std::span<const fw::MessageEntry<CounterWindow>> messageMap() {
    static const fw::MessageEntry<CounterWindow> map[] = {
        {kAsk, &CounterWindow::onAsk},
        {WM_CREATE, &CounterWindow::onCreate},
    };
    return map;
  }
  int asks = 0;
  bool created = false;
  bool finalCalled = false;
  LPARAM lastLParam = 0;
  DWORD lastTime = 0;

 private:
  LRESULT onAsk(WPARAM w, LPARAM l) {
    ++asks;
    lastLParam = l;
    lastTime = currentMessage().time;
    return static_cast<LRESULT>(w * 2);
  }
  LRESULT onCreate(WPARAM, LPARAM) {
    created = true;
    return 0;
  }
  void onFinalMessage() override { finalCalled = true; }
};

// A derived class whose table adds one message and leaves the rest to its base.
class ExtendedWindow : public fw::CMappedWindow<ExtendedWindow, CounterWindow> {
 public:
  static std::span<const fw::MessageEntry<ExtendedWindow>> messageMap() {
    static const fw::MessageEntry<ExtendedWindow> map[] = {{kUnmapped, &ExtendedWindow::onExtra},
                                                           {kMaybe, &ExtendedWindow::onMaybe}};
    return map;
  }
  int extras = 0;

 private:
  LRESULT onExtra(WPARAM, LPARAM) {
    ++extras;
    return 7;
  }
  // Takes odd numbers; even ones go on to the base table, which knows none of
  // them, and so to the default procedure. Before answering, it asks itself
  // with an even number: that inner refusal must not make this answer a refusal.
  LRESULT onMaybe(WPARAM w, LPARAM nested) {
    if (w % 2 == 0) return notHandled();
    if (nested) SendMessageW(m_hwnd, kMaybe, 2, 0);
    return static_cast<LRESULT>(w + 100);
  }
};

class Framework : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = kClass;
    fw::CWindow::registerClass(wc);
  }
  static fw::CreateArgs args() {
    fw::CreateArgs a;
    a.className = kClass;
    a.style = WS_POPUP;
    a.x = a.y = 0;
    a.width = a.height = 50;
    return a;
  }
};

TEST_F(Framework, HandlersGetTheirMessagesAndOthersGoToTheDefault) {
  CounterWindow w;
  ASSERT_TRUE(w.create(args()));
  EXPECT_TRUE(w.created) << "WM_CREATE reached no handler";
  EXPECT_EQ(fw::CWindow::fromHandle(w.hwnd()), &w);

  EXPECT_EQ(SendMessageW(w.hwnd(), kAsk, 21, 0x55), 42);
  EXPECT_EQ(w.asks, 1);
  EXPECT_EQ(w.lastLParam, 0x55);
  // Not in the table: DefWindowProc answers 0 and no handler runs.
  EXPECT_EQ(SendMessageW(w.hwnd(), kUnmapped, 1, 1), 0);
  EXPECT_EQ(w.asks, 1);

  // Posted messages are dispatched the same way.
  PostMessageW(w.hwnd(), kAsk, 1, 0x77);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(w.asks, 2);
  EXPECT_EQ(w.lastLParam, 0x77);
}

TEST_F(Framework, DerivedTableFallsBackToBaseTable) {
  ExtendedWindow w;
  ASSERT_TRUE(w.create(args()));
  EXPECT_EQ(SendMessageW(w.hwnd(), kUnmapped, 0, 0), 7);
  EXPECT_EQ(SendMessageW(w.hwnd(), kAsk, 5, 0), 10);
  EXPECT_EQ(w.extras, 1);
  EXPECT_EQ(w.asks, 1);
}

TEST_F(Framework, ADecliningHandlerLeavesTheMessageToTheDefault) {
  ExtendedWindow w;
  ASSERT_TRUE(w.create(args()));
  // WM_SETTEXT declined: the default procedure sets the title and answers TRUE.
  EXPECT_EQ(SendMessageW(w.hwnd(), kMaybe, 2, reinterpret_cast<LPARAM>(L"kept")), TRUE);
  wchar_t title[16]{};
  GetWindowTextW(w.hwnd(), title, 16);
  EXPECT_STREQ(title, L"kept");
  // Taken, with a declined message nested inside: the handler's answer stands.
  EXPECT_EQ(SendMessageW(w.hwnd(), kMaybe, 3, 1), 103);
  EXPECT_EQ(SendMessageW(w.hwnd(), kAsk, 4, 0), 8) << "a decline must not stick to later messages";
}

TEST_F(Framework, DestroyingTheWindowUnbindsTheObject) {
  CounterWindow w;
  ASSERT_TRUE(w.create(args()));
  HWND h = w.hwnd();
  DestroyWindow(h);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(w.hwnd(), nullptr);
  EXPECT_TRUE(w.finalCalled);
  EXPECT_EQ(fw::CWindow::fromHandle(h), nullptr);
}

TEST_F(Framework, DestroyingTheObjectDestroysTheWindow) {
  HWND h;
  {
    CounterWindow w;
    ASSERT_TRUE(w.create(args()));
    h = w.hwnd();
  }
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(Framework, WindowsOfOtherClassesAreNotMistakenForObjects) {
  HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(fw::CWindow::fromHandle(plain), nullptr);
  DestroyWindow(plain);
}

}  // namespace
