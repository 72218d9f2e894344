// Show states on real windows: minimise-all spares dialogs, owned windows and
// the bar; single commands follow the window's boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include "launcher/interact/apply_show_state.h"

namespace vorbin {
namespace {

HWND makeWindow(DWORD style, HWND owner = nullptr, DWORD exStyle = 0) {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VbShowStateTest";
    return RegisterClassW(&wc) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExW(exStyle, L"VbShowStateTest", L"show state", style, 20, 20, 200, 150, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

class ShowStateTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (HWND w : windows) DestroyWindow(w);
  }
  HWND add(DWORD style, HWND owner = nullptr, DWORD exStyle = 0) {
    HWND w = makeWindow(style, owner, exStyle);
    windows.push_back(w);
    return w;
  }
  std::vector<HWND> windows;
};

TEST_F(ShowStateTest, MinimiseAllSparesDialogsOwnedWindowsAndTheBar) {
  HWND normal = add(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND dialog = add(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  HWND tool = add(WS_OVERLAPPEDWINDOW | WS_VISIBLE, normal, WS_EX_TOOLWINDOW);
  HWND bar = add(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND hidden = add(WS_OVERLAPPEDWINDOW);
  minimiseAll(bar);
  EXPECT_TRUE(IsIconic(normal));
  EXPECT_FALSE(IsIconic(dialog));
  EXPECT_FALSE(IsIconic(tool));
  EXPECT_FALSE(IsIconic(bar));
  EXPECT_FALSE(IsIconic(hidden));
  EXPECT_FALSE(IsWindowVisible(hidden));

  // The all flag takes the owned window too.
  applyShowState(tool, ShowStateRequest{0, sw::kMinNoActive, true, true});
  EXPECT_TRUE(IsIconic(tool));
}

TEST_F(ShowStateTest, SingleCommandsFollowTheBoxes) {
  HWND w = add(WS_OVERLAPPEDWINDOW);
  // Restore on a window that is not minimised only shows it.
  applyShowState(w, ShowStateRequest{0, sw::kRestore, false, false});
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_FALSE(IsIconic(w));
  EXPECT_FALSE(IsZoomed(w));
  applyShowState(w, ShowStateRequest{0, sw::kMaximize, true, false});
  EXPECT_TRUE(IsZoomed(w));
  // Hide: minimised first, then hidden.
  applyShowState(w, ShowStateRequest{0, sw::kHide, true, false});
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_TRUE(IsIconic(w));

  // Without a maximise box a minimised window is only restored.
  HWND fixed = add(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE);
  ShowWindow(fixed, SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(fixed));
  applyShowState(fixed, ShowStateRequest{0, sw::kMaximize, true, false});
  EXPECT_FALSE(IsIconic(fixed));
  EXPECT_FALSE(IsZoomed(fixed));
  // Visibility must match: a visible window is left alone by a request for hidden ones.
  applyShowState(fixed, ShowStateRequest{0, sw::kHide, false, false});
  EXPECT_TRUE(IsWindowVisible(fixed));
}

TEST_F(ShowStateTest, EnumerationCallbackAlwaysContinues) {
  HWND w = add(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const ShowStateRequest request{0, sw::kMinNoActive, true, false};
  EXPECT_TRUE(applyShowStateProc(w, reinterpret_cast<LPARAM>(&request)));
  EXPECT_TRUE(IsIconic(w));
  EXPECT_TRUE(applyShowStateProc(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7FFF0)),
                                 reinterpret_cast<LPARAM>(&request)));
}

}  // namespace
}  // namespace vorbin
