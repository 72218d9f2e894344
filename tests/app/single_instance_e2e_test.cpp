// The launcher runs once: a second start brings the first forward and ends.
#include <gtest/gtest.h>

#include "tests/support/e2e.h"

namespace {

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override { e2e::profile::clear(); }
};

TEST_F(SingleInstance, FirstStartShowsBarAndClosesOnRequest) {
  e2e::Process launcher = e2e::startLauncher();
  ASSERT_TRUE(launcher.running());
  HWND bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr) << "no bar window of class Vorbin96_Class";
  EXPECT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(bar) != FALSE; }, 5000));

  // The owner window keeps the bar off the taskbar: a hidden tool window.
  HWND owner = GetWindow(bar, GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_TRUE(GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

  // The instance mutex exists while the launcher runs.
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"PreVorbin");
  EXPECT_NE(mutex, nullptr);
  if (mutex) CloseHandle(mutex);

  EXPECT_TRUE(e2e::closeAndWait(launcher, bar));
  HANDLE after = OpenMutexW(SYNCHRONIZE, FALSE, L"PreVorbin");
  EXPECT_EQ(after, nullptr) << "the mutex outlived the launcher";
  if (after) CloseHandle(after);
}

TEST_F(SingleInstance, SecondStartShowsHiddenBarOfFirstAndExits) {
  e2e::Process first = e2e::startLauncher();
  HWND bar = e2e::waitForBar(first.pid());
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(bar) != FALSE; }, 5000));

  // Hide the bar behind the launcher's back; the second copy must show it again.
  ShowWindow(bar, SW_HIDE);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindowVisible(bar); }, 3000));

  e2e::Process second = e2e::startLauncher();
  auto code = second.wait(10000);
  ASSERT_TRUE(code.has_value()) << "the second copy did not end";
  EXPECT_TRUE(first.running());
  EXPECT_TRUE(e2e::waitUntil([&] { return IsWindowVisible(bar) != FALSE; }, 5000));

  // Still one bar.
  int bars = 0;
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        wchar_t cls[64];
        if (GetClassNameW(h, cls, 64) && lstrcmpW(cls, e2e::kBarClass) == 0 && GetWindow(h, GW_OWNER))
          ++*reinterpret_cast<int*>(lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&bars));
  EXPECT_EQ(bars, 1);
  EXPECT_TRUE(e2e::closeAndWait(first, bar));
}

TEST_F(SingleInstance, SecondStartRestoresMinimizedBar) {
  e2e::Process first = e2e::startLauncher();
  HWND bar = e2e::waitForBar(first.pid());
  ASSERT_NE(bar, nullptr);
  ShowWindow(bar, SW_MINIMIZE);
  ASSERT_TRUE(e2e::waitUntil([&] { return IsIconic(bar) != FALSE; }, 3000));

  e2e::Process second = e2e::startLauncher();
  ASSERT_TRUE(second.wait(10000).has_value());
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsIconic(bar) && IsWindowVisible(bar); }, 5000));
  EXPECT_TRUE(e2e::closeAndWait(first, bar));
}

}  // namespace
