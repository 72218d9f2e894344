// A bar window of this process on a profile in memory, for the tests that
// drive the bar's code directly: the owner window, the model and the bar.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "launcher/app/launcher_app.h"
#include "launcher/bar/bar_window.h"
#include "launcher/model/group_table.h"

namespace vorbin {

class InProcessBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = CLauncherApp::registerBarClass(GetModuleHandleW(nullptr)) != 0;
    ASSERT_TRUE(registered);
    // A pointer resting over a new bar would hover over its areas and tabs.
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    colors = defaultColors();
    groups = std::make_unique<GroupTable>(profile, ModelOptions{});
    groups->loadGroups();
    owner = CreateWindowExW(WS_EX_TOOLWINDOW, kBarClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
  }
  void TearDown() override {
    bar.reset();
    DestroyWindow(owner);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  // The bar made from the settings and groups as they are now, and shown.
  HWND createShownBar() {
    bar = std::make_unique<CBarWindow>(BarContext{settings, colors, profile, *groups, history, true});
    EXPECT_TRUE(bar->createBar(owner, L""));
    ShowWindow(bar->hwnd(), SW_SHOWNORMAL);
    return bar->hwnd();
  }

  MemoryProfile profile;
  Settings settings;
  Colors colors;
  CmdHistory history;
  std::unique_ptr<GroupTable> groups;
  std::unique_ptr<CBarWindow> bar;
  HWND owner = nullptr;
};

}  // namespace vorbin
