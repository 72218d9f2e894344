// Start-up and shutdown of the real launcher: first run, saved state, starting hidden.
#include <gtest/gtest.h>

#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

using namespace driver;

class Startup : public ::testing::Test {
 protected:
  void SetUp() override { e2e::profile::clear(); }
};

bool oneOf(const std::wstring& text, const std::vector<std::wstring>& choices) {
  for (const auto& c : choices)
    if (!c.empty() && text == c) return true;
  return false;
}

TEST_F(Startup, EmptyProfileShowsTheBarMarksTheProfileAndAsksTheFourQuestions) {
  e2e::Process launcher = e2e::startLauncher();
  HWND bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 5000)) << "RunWithOpen defaults to showing the bar";
  EXPECT_EQ(e2e::profile::getString(L"Settings", L"IsV416Later"), L"Yes");

  for (unsigned id : {416u, 417u, 418u, 419u}) {
    HWND dialog = nullptr;
    ASSERT_TRUE(e2e::waitUntil([&] { return (dialog = findDialog(launcher.pid())) != nullptr; }, 8000))
        << "question " << id;
    EXPECT_TRUE(oneOf(windowText(dialog), libraryStrings(420))) << "caption of question " << id;
    auto message = answerDialog(launcher.pid(), IDCANCEL);
    ASSERT_TRUE(message.has_value());
    EXPECT_TRUE(oneOf(*message, libraryStrings(id))) << "question " << id;
  }
  EXPECT_TRUE(launcher.running());

  RECT r;
  GetWindowRect(bar, &r);
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"PositionX"), static_cast<DWORD>(r.left));
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"PositionY"), static_cast<DWORD>(r.top));
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"Height"), static_cast<DWORD>(r.bottom - r.top));
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"ActGroup"), 1u);
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"ThumbQuality"), 50u);
  EXPECT_TRUE(e2e::profile::getDword(L"Settings", L"ThumbRatio").has_value());
  EXPECT_TRUE(e2e::profile::getString(L"Settings", L"IsMaxSize").has_value());
}

TEST_F(Startup, ProfileOffEveryScreenPutsTheBarBackOnThePrimaryWorkArea) {
  e2e::profile::setDword(L"Settings", L"PositionX", static_cast<DWORD>(-32000));
  e2e::profile::setDword(L"Settings", L"PositionY", static_cast<DWORD>(-32000));
  e2e::profile::setDword(L"Settings", L"Height", static_cast<DWORD>(-20));
  e2e::profile::setDword(L"Settings", L"ThumbQuality", 5);
  e2e::Process launcher = e2e::startLauncher();
  HWND bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(cancelFirstRunQuestions(launcher.pid()));

  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT r;
  GetWindowRect(bar, &r);
  EXPECT_GT(r.bottom - r.top, 50) << "a usable height";
  EXPECT_GE(r.left, work.left);
  EXPECT_GE(r.top, work.top);
  EXPECT_LE(r.right, work.right);
  EXPECT_LE(r.bottom, work.bottom);

  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  auto x = e2e::profile::getDword(L"Settings", L"PositionX");
  auto h = e2e::profile::getDword(L"Settings", L"Height");
  ASSERT_TRUE(x && h);
  EXPECT_GE(static_cast<int>(*x), work.left);
  EXPECT_GT(static_cast<int>(*h), 50);
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"ThumbQuality"), 25u);
}

TEST_F(Startup, RunWithOpenNoStartsHiddenAndASecondCopyShowsTheBar) {
  e2e::profile::setString(L"Settings", L"RunWithOpen", L"No");
  e2e::Process launcher = e2e::startLauncher();
  HWND bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(cancelFirstRunQuestions(launcher.pid()));
  EXPECT_TRUE(e2e::waitUntil([&] { return IsIconic(bar) != FALSE; }, 5000));

  e2e::Process second = e2e::startLauncher();
  ASSERT_TRUE(second.wait(10000).has_value());
  EXPECT_TRUE(e2e::waitUntil([&] { return shown(bar); }, 5000));
  EXPECT_TRUE(e2e::closeAndWait(launcher, bar));
}

}  // namespace
