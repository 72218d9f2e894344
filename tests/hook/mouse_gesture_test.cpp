// The mouse hook's gesture decisions on a scripted desktop: edges and masks,
// stillness, caption buttons, full-screen windows, desktop clicks in both
// modes, menu suppression, drag-hold and the launcher's own windows.
#include "hook/mouse_gesture.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/hook/fake_mouse_platform.h"

namespace vorber {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

// Message numbers as the system delivers them to the hook.
constexpr uint32_t kMove = 0x200, kLDown = 0x201, kLUp = 0x202, kLDbl = 0x203, kRDown = 0x204, kRUp = 0x205,
                   kRDbl = 0x206, kNcLDown = 0xA1, kNcMove = 0xA0;
constexpr int32_t kHtClient = 1, kHtCaption = 2, kHtTop = 12;

constexpr uintptr_t kDesktop = 1, kLauncher = 2, kLauncherTool = 3, kApp = 10, kProgman = 20, kDefView = 21,
                    kIconView = 22, kDragCarrier = 30;
constexpr uint32_t kLauncherPid = 50;
constexpr uint32_t kLeftPrimary = 0x00, kRightPrimary = 0x01, kSecondary = 0x02, kDoubleClick = 0x80;
constexpr uint32_t kAllEdges = 0x0F, kDesktopClicks = 0x10;
constexpr int32_t kW = 1024, kH = 768;

class MouseGesture : public ::testing::Test {
 protected:
  FakePlatform platform;
  SharedHookState state = kInitialHookState;

  void SetUp() override {
    platform.windows[kDesktop] = FakeWindow{7, 0, 0, "#32769", 0, {0, 0, kW, kH}, true};
    platform.windows[kLauncher] =
        FakeWindow{kLauncherPid, 0, 0, "Vorbin96_Class", 0, {100, 200, 500, 260}, true};
    platform.windows[kLauncherTool] = FakeWindow{kLauncherPid, 0, 0, "tool", 0, {0, 0, 10, 10}, true};
    platform.windows[kApp] = FakeWindow{100, 0, 0, "AppWindow", 0, {-8, -8, kW + 8, kH + 8}, true};
    platform.windows[kProgman] = FakeWindow{7, 0, kDefView, "Progman", 0x80, {0, 0, kW, kH}, true};
    platform.windows[kDefView] =
        FakeWindow{7, kProgman, kIconView, "SHELLDLL_DefView", 0, {0, 0, kW, kH}, true};
    platform.windows[kIconView] = FakeWindow{7, kDefView, 0, "SysListView32", 0, {0, 0, kW, kH}, true};
    platform.windows[kDragCarrier] = FakeWindow{100, 0, 0, "CLIPBRDWNDCLASS", 0, {0, 0, 0, 0}, false};
    platform.progman = kProgman;
    state.launcherWindow = kLauncher;
    state.launcherProcessId = kLauncherPid;
    state.desktopWindow = kDesktop;
    state.screenEdges = {0, 0, kW - 1, kH - 1};
    state.version5 = 1;
    state.version51 = 1;
    state.stillness = {8, 8};
    applyVorbMode(state, kLeftPrimary, kAllEdges | kDesktopClicks);
  }

  MouseVerdict send(uint32_t message, int32_t x, int32_t y, uintptr_t window = kApp, int32_t hit = kHtClient,
                    int32_t code = 0) {
    return onMouseMessage(state, platform, code, message, {x, y, window, hit});
  }
  void click(uint32_t down, uint32_t up, int32_t x, int32_t y, uintptr_t window = kApp,
             int32_t hit = kHtClient) {
    send(down, x, y, window, hit);
    send(up, x, y, window, hit);
  }
  size_t activations() const {
    size_t n = 0;
    for (const auto& r : platform.reports) n += r.message == kMsgHookActivate;
    return n;
  }
  const testing::Report& lastReport() const { return platform.reports.back(); }
};

TEST_F(MouseGesture, FilterIgnoresNegativeNoRemoveAndNonMouseMessages) {
  send(kLDown, 0, 300, kApp, kHtClient, -1);
  send(kLDown, 0, 300, kApp, kHtClient, kHcNoRemove);
  send(0x9F, 0, 300);  // below the mouse range
  send(0x84, 0, 300);  // WM_NCHITTEST
  EXPECT_EQ(state.activationState, kIdle);
  EXPECT_EQ(state.lastPressedWindow, 0u);
  EXPECT_EQ(state.pressStamp, 0u) << "no press recorded";
  // A non-client press is the same class as a client press.
  EXPECT_EQ(send(kNcLDown, 0, 300, kApp, kHtCaption), MouseVerdict::kSwallow);
  EXPECT_EQ(state.activationState, kArmed);
  EXPECT_EQ(state.lastPressedWindow, kApp);
  EXPECT_EQ(state.pressStamp, platform.clock) << "the press is stamped when recorded";
}

TEST_F(MouseGesture, ActivationsAndPressesAreStampedWhenRecorded) {
  applyVorbMode(state, kLeftPrimary, 0x1);
  send(kMove, 500, 300, kApp);
  EXPECT_EQ(state.pressStamp, 0u) << "moves record nothing";
  click(kLDown, kLUp, 0, 300);
  ASSERT_EQ(activations(), 1u);
  const uint64_t activated = state.activationStamp;
  EXPECT_NE(activated, 0u);
  EXPECT_LT(state.pressStamp, activated) << "the press came before the activation it armed";
  // A later plain press moves only the press stamp on.
  send(kLDown, 500, 300, kApp);
  EXPECT_GT(state.pressStamp, activated);
  EXPECT_EQ(state.activationStamp, activated);
}

struct EdgeCase {
  int line;
  uint32_t mask;
  int32_t x, y;
  bool arms;
};

TEST_F(MouseGesture, OnlyOutermostPixelsOfEnabledEdgesArm) {
  const EdgeCase cases[] = {
      {__LINE__, 0x1, 0, 300, true},       {__LINE__, 0x1, 1, 300, false},
      {__LINE__, 0x4, kW - 1, 300, true},  {__LINE__, 0x4, kW - 2, 300, false},
      {__LINE__, 0x4, kW, 300, false},     {__LINE__, 0x2, 500, 0, true},
      {__LINE__, 0x2, 500, 1, false},      {__LINE__, 0x8, 500, kH - 1, true},
      {__LINE__, 0x8, 500, kH - 2, false}, {__LINE__, 0xE, 0, 300, false},
      {__LINE__, 0xB, kW - 1, 300, false}, {__LINE__, 0xD, 500, 0, false},
      {__LINE__, 0x7, 500, kH - 1, false}, {__LINE__, 0x2, kW - 1, 0, true},
      {__LINE__, 0x0, 0, 0, false},        {__LINE__, 0xF0, 0, 300, false},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.line);
    platform.reports.clear();
    applyVorbMode(state, kLeftPrimary, c.mask);
    click(kLDown, kLUp, c.x, c.y);
    ASSERT_EQ(activations(), c.arms ? 1u : 0u);
    if (c.arms) {
      EXPECT_EQ(state.activationPoint.x, c.x);
      EXPECT_EQ(state.activationPoint.y, c.y);
      EXPECT_EQ(lastReport().window, kLauncher);
      EXPECT_EQ(lastReport().wParam, 0u);
    }
    EXPECT_EQ(state.activationState, kIdle);
  }
}

TEST_F(MouseGesture, EdgesFollowTheDesktopRectangleReadAtEachButtonMessage) {
  platform.windows[kDesktop].rect = {-1280, 0, 1024, 1024};
  click(kLDown, kLUp, 0, 300);
  EXPECT_EQ(activations(), 0u);
  EXPECT_EQ(state.screenEdges.left, -1280);
  EXPECT_EQ(state.screenEdges.bottom, 1023);
  click(kLDown, kLUp, -1280, 300);
  EXPECT_EQ(activations(), 1u);
}

TEST_F(MouseGesture, OtherButtonWithoutSecondaryDoesNothing) {
  state.launcherActivated = 1;
  state.launcherWasActive = 1;
  click(kRDown, kRUp, 0, 300);
  EXPECT_EQ(activations(), 0u);
  EXPECT_EQ(state.launcherWasActive, 1);
  EXPECT_EQ(state.launcherActivated, 1);
  EXPECT_EQ(state.activationState, kIdle);
}

TEST_F(MouseGesture, SecondaryButtonActivatesWithFlagAndRightReleaseSuppressesMenu) {
  applyVorbMode(state, kLeftPrimary | kSecondary, kAllEdges);
  state.launcherActivated = 1;
  click(kRDown, kRUp, 0, 300);
  ASSERT_EQ(activations(), 1u);
  EXPECT_EQ(lastReport().wParam, 1u);
  EXPECT_EQ(lastReport().lParam, 1) << "launcher-was-active travels with the message";
  EXPECT_EQ(state.launcherActivated, 0);
  EXPECT_EQ(state.suppressNextMenu, 1);
  // The primary (left) release never arms the suppression.
  state.suppressNextMenu = 0;
  click(kLDown, kLUp, 0, 300);
  EXPECT_EQ(activations(), 2u);
  EXPECT_EQ(lastReport().wParam, 0u);
  EXPECT_EQ(lastReport().lParam, 0);
  EXPECT_EQ(state.suppressNextMenu, 0);
}

TEST_F(MouseGesture, StillnessBoxIsInclusiveAndMovingFartherAbandons) {
  send(kLDown, 0, 300);
  ASSERT_EQ(state.activationState, kArmed);
  send(kMove, 8, 308);  // exactly the tolerance
  send(kMove, 0, 292);
  EXPECT_EQ(state.activationState, kArmed);
  state.suppressNextMenu = 1;
  send(kMove, 9, 300);
  EXPECT_EQ(state.activationState, kIdle);
  EXPECT_EQ(state.movedAway, 1);
  EXPECT_EQ(state.suppressNextMenu, 0);
  send(kLUp, 0, 300);
  EXPECT_EQ(activations(), 0u);
  EXPECT_EQ(state.movedAway, 0) << "any button message clears the moved-away flag";
}

TEST_F(MouseGesture, MovedAwayBlocksDragHoldUntilNextButtonMessage) {
  send(kLDown, 0, 300);
  send(kMove, 0, 400);  // along the edge but out of the box
  ASSERT_EQ(state.movedAway, 1);
  platform.buttonDown = true;
  platform.capture = kDragCarrier;
  send(kMove, 0, 401, kDragCarrier);
  EXPECT_EQ(platform.timersStarted, 0);
  send(kLUp, 0, 401, kDragCarrier);
  send(kMove, 0, 402, kDragCarrier);
  EXPECT_EQ(platform.timersStarted, 1);
}

TEST_F(MouseGesture, CaptionButtonsAtTheEdgeNeverArm) {
  for (int32_t hit : {3, 8, 9, 20, 21}) {
    SCOPED_TRACE(hit);
    EXPECT_EQ(send(kLDown, kW - 1, 0, kApp, hit), MouseVerdict::kPassOn);
    EXPECT_EQ(state.activationState, kIdle);
    send(kLUp, kW - 1, 0, kApp, hit);
  }
  EXPECT_EQ(activations(), 0u);
}

TEST_F(MouseGesture, EdgePressOnClientOrCaptionIsSwallowedOnlyFromVersion51) {
  EXPECT_EQ(send(kLDown, 0, 300, kApp, kHtClient), MouseVerdict::kSwallow);
  send(kLUp, 0, 300);
  EXPECT_EQ(send(kLDown, 500, 0, kApp, kHtCaption), MouseVerdict::kSwallow);
  send(kLUp, 500, 0);
  EXPECT_EQ(send(kLDown, 500, 0, kApp, kHtTop), MouseVerdict::kPassOn);
  EXPECT_EQ(state.activationState, kArmed) << "a border press arms without being swallowed";
  send(kLUp, 500, 0);
  state.version51 = 0;
  EXPECT_EQ(send(kLDown, 0, 300, kApp, kHtClient), MouseVerdict::kPassOn);
  send(kLUp, 0, 300);
  EXPECT_EQ(activations(), 4u);
}

TEST_F(MouseGesture, FullScreenTopmostWindowIsExcludedOnlyWhileExclusionIsOn) {
  platform.windows[kApp].exStyle = 0x08;
  platform.windows[kApp].rect = {0, 0, kW, kH};
  click(kLDown, kLUp, 0, 300);
  EXPECT_EQ(activations(), 0u);
  EXPECT_EQ(state.screenEdges.right, kW - 1) << "the exclusion test leaves the edges reduced";
  state.fullScreenExclusion = 0;
  click(kLDown, kLUp, 0, 300);
  EXPECT_EQ(activations(), 1u);
  state.fullScreenExclusion = 1;
  platform.windows[kApp].rect = {0, 0, kW, kH - 1};  // not the whole desktop
  click(kLDown, kLUp, 0, 300);
  platform.windows[kApp].rect = {0, 0, kW, kH};
  platform.windows[kApp].exStyle = 0;  // full size but not topmost
  click(kLDown, kLUp, 0, 300);
  EXPECT_EQ(activations(), 3u);
}

TEST_F(MouseGesture, LauncherWindowsNeverArmButControlRectDoubleClickReportsDefault) {
  state.controlRect = {10, 5, 50, 25};  // client coordinates; window origin (100, 200)
  click(kLDown, kLUp, 0, 300, kLauncherTool);
  send(kLDown, 0, 300, kLauncher);
  EXPECT_EQ(state.activationState, kIdle);
  send(kLDbl, 110, 205, kLauncher);  // top-left corner: inside
  send(kLDbl, 150, 215, kLauncher);  // right edge: outside
  send(kLDbl, 120, 225, kLauncher);  // bottom edge: outside
  send(kRDbl, 120, 210, kLauncher);  // not the left button
  send(kLDbl, 120, 210, kLauncherTool);
  ASSERT_EQ(platform.reports.size(), 1u);
  EXPECT_EQ(platform.reports[0].message, kMsgSysCommand);
  EXPECT_EQ(platform.reports[0].wParam, kScDefault);
  EXPECT_EQ(platform.reports[0].lParam, 0);
  EXPECT_EQ(state.lastPressedWindow, kLauncher) << "presses are recorded before the launcher test";
}

TEST_F(MouseGesture, SingleClickOnDesktopActivatesForEitherPrimaryButton) {
  platform.cursor = {400, 300};
  click(kLDown, kLUp, 400, 300, kDesktop);
  ASSERT_EQ(activations(), 1u);
  EXPECT_EQ(state.suppressNextMenu, 0);

  applyVorbMode(state, kRightPrimary, kAllEdges | kDesktopClicks);
  click(kLDown, kLUp, 400, 300, kDesktop);
  EXPECT_EQ(activations(), 1u) << "left is not configured any more";
  click(kRDown, kRUp, 400, 300, kDesktop);
  EXPECT_EQ(activations(), 2u);
  EXPECT_EQ(state.suppressNextMenu, 1) << "the desktop's context menu must not follow";

  applyVorbMode(state, kRightPrimary, kAllEdges);  // desktop clicks off
  click(kRDown, kRUp, 400, 300, kDesktop);
  EXPECT_EQ(activations(), 2u);
}

TEST_F(MouseGesture, SingleClickOnIconViewActivatesOnlyBetweenIcons) {
  applyVorbMode(state, kRightPrimary, kAllEdges | kDesktopClicks);
  platform.iconUnderPoint = true;
  click(kRDown, kRUp, 400, 300, kIconView);
  EXPECT_EQ(activations(), 0u);
  EXPECT_EQ(state.suppressNextMenu, 0) << "the icon's own menu must appear";
  EXPECT_EQ(state.desktopIconView, 0u);
  EXPECT_EQ(platform.hitTests, 1);
  EXPECT_EQ(platform.lastHitTest.x, 400);
  platform.iconUnderPoint = false;
  click(kRDown, kRUp, 400, 300, kIconView);
  EXPECT_EQ(activations(), 1u);
  EXPECT_EQ(state.suppressNextMenu, 1);
}

TEST_F(MouseGesture, IconViewIsRecognisedUnderWorkerWindowCoveringProgman) {
  platform.windows[40] = FakeWindow{7, 0, 41, "WorkerW", 0, {0, 0, kW, kH}, true};
  platform.windows[41] = FakeWindow{7, 40, 42, "SHELLDLL_DefView", 0, {0, 0, kW, kH}, true};
  platform.windows[42] = FakeWindow{7, 41, 0, "SysListView32", 0, {0, 0, kW, kH}, true};
  send(kLDown, 400, 300, 42);
  EXPECT_EQ(state.pressOnIconView, 1);
  EXPECT_EQ(state.desktopIconView, 42u);
  platform.windows[40].rect = {0, 0, kW, kH - 40};  // not laid over Program Manager
  send(kLDown, 400, 300, 42);
  EXPECT_EQ(state.pressOnIconView, 0);
  platform.windows[kProgman].exStyle = 0;  // a Progman without the tool-window style
  send(kLDown, 400, 300, kIconView);
  EXPECT_EQ(state.pressOnIconView, 0);
  EXPECT_EQ(state.desktopIconView, 0u);
}

TEST_F(MouseGesture, DoubleClickModeLeftPrimary) {
  applyVorbMode(state, kLeftPrimary | kDoubleClick, kAllEdges | kDesktopClicks);
  click(kLDown, kLUp, 400, 300, kDesktop);
  EXPECT_EQ(activations(), 0u) << "a single click is not enough";
  send(kLDbl, 400, 300, kDesktop);
  ASSERT_EQ(activations(), 1u);
  EXPECT_EQ(state.suppressNextMenu, 0);
  send(kLUp, 400, 300, kDesktop);
  EXPECT_EQ(activations(), 1u);
  // On an icon the double-click opens the icon, not the bar.
  platform.iconUnderPoint = true;
  click(kLDown, kLUp, 400, 300, kIconView);
  send(kLDbl, 400, 300, kIconView);
  EXPECT_EQ(activations(), 1u);
  EXPECT_EQ(platform.hitTests, 1);
  // Edge presses still use press and release.
  click(kLDown, kLUp, 0, 300);
  EXPECT_EQ(activations(), 2u);
}

TEST_F(MouseGesture, DoubleClickModeRightPrimaryArmsAndSuppressesMenus) {
  applyVorbMode(state, kRightPrimary | kDoubleClick, kAllEdges | kDesktopClicks);
  platform.cursor = {401, 301};
  send(kRDown, 400, 300, kDesktop);
  EXPECT_EQ(state.activationState, kArmedByRightPressDouble);
  EXPECT_EQ(state.armPoint.x, 401);
  send(kRUp, 400, 300, kDesktop);
  EXPECT_EQ(state.activationState, kIdle);
  EXPECT_EQ(state.suppressNextMenu, 1) << "the single click's menu is refused";
  EXPECT_EQ(activations(), 0u);
  state.suppressNextMenu = 0;  // the refused menu cleared it
  send(kRDbl, 400, 300, kDesktop);
  ASSERT_EQ(activations(), 1u);
  EXPECT_EQ(state.suppressNextMenu, 1);
  EXPECT_EQ(state.activationPoint.x, 400) << "the record's point, not the cursor";
}

TEST_F(MouseGesture, DoubleClickModeRightButtonOnIconLeavesIconMenusAlone) {
  applyVorbMode(state, kRightPrimary | kDoubleClick, kAllEdges | kDesktopClicks);
  platform.iconUnderPoint = true;
  click(kRDown, kRUp, 400, 300, kIconView);
  EXPECT_EQ(state.suppressNextMenu, 0);
  send(kRDbl, 400, 300, kIconView);
  EXPECT_EQ(activations(), 0u) << "the double-click is tested against the icons too";
  EXPECT_EQ(state.suppressNextMenu, 0);
  EXPECT_EQ(platform.hitTests, 2);
  EXPECT_EQ(state.desktopIconView, 0u);
}

TEST_F(MouseGesture, MoveAwayAfterRightPressOnDesktopCancelsInDoubleClickMode) {
  applyVorbMode(state, kRightPrimary | kDoubleClick, kAllEdges | kDesktopClicks);
  platform.cursor = {400, 300};
  send(kRDown, 400, 300, kDesktop);
  send(kMove, 420, 300, kDesktop);
  EXPECT_EQ(state.activationState, kIdle);
  send(kRUp, 420, 300, kDesktop);
  EXPECT_EQ(state.suppressNextMenu, 0);
}

class DragHold : public MouseGesture {
 protected:
  void SetUp() override {
    MouseGesture::SetUp();
    platform.buttonDown = true;
    platform.capture = kDragCarrier;
  }
};

TEST_F(DragHold, ArmsOnlyOnEdgeWithButtonCaptureAndClipboardClass) {
  send(kMove, 1, 300, kDragCarrier);
  platform.buttonDown = false;
  send(kMove, 0, 300, kDragCarrier);
  platform.buttonDown = true;
  platform.capture = kApp;
  send(kMove, 0, 300, kDragCarrier);
  send(kMove, 0, 300, kApp);  // captured, but not by the drag carrier class
  EXPECT_EQ(platform.timersStarted, 0);
  platform.capture = kDragCarrier;
  send(kNcMove, 0, 300, kDragCarrier);
  EXPECT_EQ(platform.timersStarted, 1);
  EXPECT_EQ(state.dragHoldTimer, platform.nextTimer);
  EXPECT_EQ(state.armPoint.y, 300);
  send(kMove, 0, 310, kDragCarrier);
  EXPECT_EQ(platform.timersStarted, 1) << "a running timer is not started twice";
}

TEST_F(DragHold, TimerOfAnotherLiveThreadBlocksButOneOfAnEndedThreadIsReplaced) {
  send(kMove, 0, 300, kDragCarrier);
  ASSERT_EQ(state.dragHoldThread, 501u);
  platform.thread = 502;  // the next move arrives in another thread
  send(kMove, 0, 310, kDragCarrier);
  EXPECT_EQ(platform.timersStarted, 1) << "the first thread's timer is still running";
  platform.deadThread = 501;  // that thread ended before its timer fired
  send(kMove, 0, 320, kDragCarrier);
  EXPECT_EQ(platform.timersStarted, 2);
  EXPECT_EQ(state.dragHoldThread, 502u);
  EXPECT_EQ(state.armPoint.y, 320);
}

TEST_F(DragHold, FiresAtArmPointWithLParamZeroWhenStill) {
  send(kMove, 0, 300, kDragCarrier);
  state.launcherWasActive = 1;
  platform.cursor = {4, 306};
  onDragHoldTimer(state, platform, platform.nextTimer);
  ASSERT_EQ(activations(), 1u);
  EXPECT_EQ(lastReport().lParam, 0);
  EXPECT_EQ(lastReport().wParam, 0u);
  EXPECT_EQ(state.activationPoint.x, 0);
  EXPECT_EQ(state.activationPoint.y, 300);
  EXPECT_EQ(state.dragHoldTimer, 0u);
  EXPECT_EQ(platform.timersKilled, std::vector<uintptr_t>{platform.nextTimer});
}

TEST_F(DragHold, FollowsTheEdgeAndGivesUpWhenLeavingOrReleasing) {
  send(kMove, 0, 300, kDragCarrier);
  platform.cursor = {0, 500};  // moved along the edge
  platform.nextTimer = 0x78;
  onDragHoldTimer(state, platform, 0x77);
  EXPECT_EQ(activations(), 0u);
  EXPECT_EQ(state.dragHoldTimer, 0x78u);
  EXPECT_EQ(state.armPoint.y, 500);
  platform.cursor = {200, 500};  // left the edge
  onDragHoldTimer(state, platform, 0x78);
  EXPECT_EQ(state.dragHoldTimer, 0u);
  EXPECT_EQ(platform.timersStarted, 2);
  EXPECT_EQ(activations(), 0u);
  // Still, but the button was let go: nothing.
  send(kMove, 0, 300, kDragCarrier);
  platform.cursor = {0, 300};
  platform.buttonDown = false;
  onDragHoldTimer(state, platform, platform.nextTimer);
  EXPECT_EQ(activations(), 0u);
  EXPECT_EQ(state.dragHoldTimer, 0u);
}

TEST_F(MouseGesture, ActivationPacksPositionAndHandsOverForeground) {
  platform.windows[kDesktop].rect = {-1280, -20, kW, kH};
  state.launcherActivated = 1;
  click(kLDown, kLUp, -1280, 300);
  ASSERT_EQ(activations(), 1u);
  EXPECT_EQ(state.activationPos, 0x012CFB00u);  // x -1280 cut to 16 bits, y 300
  EXPECT_EQ(platform.allowedPids, std::vector<uint32_t>{kLauncherPid});
  EXPECT_FALSE(lastReport().bounded);
  EXPECT_TRUE(platform.foregrounds.empty());
}

TEST_F(MouseGesture, BeforeVersion5TheReportIsABoundedSendThenForeground) {
  state.version5 = 0;
  state.version51 = 0;
  click(kLDown, kLUp, 0, 300);
  ASSERT_EQ(platform.reports.size(), 1u);
  EXPECT_TRUE(platform.reports[0].bounded);
  EXPECT_EQ(platform.foregrounds, std::vector<uintptr_t>{kLauncher});
  state.launcherActivated = 1;  // the launcher was active at the press: no foreground
  click(kLDown, kLUp, 0, 300);
  EXPECT_EQ(platform.foregrounds.size(), 1u);
}

TEST_F(MouseGesture, GarbageInTheSharedBlockNeverMisbehaves) {
  state.primaryActivation = state.primaryPress = state.primaryRelease = 0;  // "move"
  state.secondaryPress = 99;
  state.activationState = kArmed;
  send(kMove, 0, 300);
  EXPECT_EQ(activations(), 0u) << "a move is never a button code";
  state.screenEdges = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  state.stillness = {INT_MAX, INT_MIN};
  state.armPoint = {INT_MIN, INT_MAX};
  state.edgeMask = 0xFFFFFFFF;
  platform.windows[kDesktop].rect = {INT_MIN, INT_MIN, INT_MIN, INT_MIN};
  applyVorbMode(state, 0xFFFFFFFF, 0xFFFFFFFF);
  click(kLDown, kLUp, INT_MAX, INT_MIN);
  send(kMove, INT_MIN, INT_MAX);
  onDragHoldTimer(state, platform, 0);
  EXPECT_EQ(state.screenEdges.right, INT_MAX) << "right - 1 wraps instead of overflowing";
}

TEST_F(MouseGesture, OnlyPressesAreEverSwallowed) {
  state.primaryPress = kLeftRelease;  // a foreign process wrote nonsense
  EXPECT_EQ(send(kLUp, 0, 300, kApp, kHtClient), MouseVerdict::kPassOn);
  EXPECT_EQ(state.activationState, kArmed);
}

}  // namespace
}  // namespace vorber
