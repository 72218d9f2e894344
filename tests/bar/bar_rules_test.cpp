// Hiding, hot key, activation gesture, region and placement decisions.
#include "launcher/bar/bar_rules.h"
#include "launcher/model/settings.h"

#include <gtest/gtest.h>

#include <climits>

namespace vorbin {
namespace {

TEST(HideBar, SuperLockNeverHides) {
  for (int kind : {kHidePlain, kHideByDeactivation, kHideKeepGroup}) {
    HideDecision d = decideHide(kind, 2, 0, true);
    EXPECT_TRUE(d.ignored);
    EXPECT_FALSE(d.minimize || d.armDelayTimer || d.cancelForeFlag);
  }
  EXPECT_EQ(lockLevelOf(true, true), 2);
  EXPECT_EQ(lockLevelOf(true, false), 1);
  EXPECT_EQ(lockLevelOf(false, true), 0);
}

TEST(HideBar, KindsDifferInActivationDelayAndGroupReset) {
  HideDecision plain = decideHide(kHidePlain, 1, 5, true);
  EXPECT_TRUE(plain.minimize && plain.activateOnMinimize && plain.cancelForeFlag && plain.resetTopGroup);
  EXPECT_FALSE(plain.armDelayTimer);

  HideDecision delayed = decideHide(kHideByDeactivation, 0, 5, true);
  EXPECT_TRUE(delayed.armDelayTimer);
  EXPECT_FALSE(delayed.minimize || delayed.cancelForeFlag);

  HideDecision now = decideHide(kHideByDeactivation, 0, 0, false);
  EXPECT_TRUE(now.minimize);
  EXPECT_FALSE(now.activateOnMinimize || now.cancelForeFlag || now.resetTopGroup);

  HideDecision keep = decideHide(kHideKeepGroup, 0, 0, true);
  EXPECT_TRUE(keep.minimize && keep.cancelForeFlag);
  EXPECT_FALSE(keep.activateOnMinimize || keep.resetTopGroup);
}

TEST(BarHotKey, ShowsFromOtherProgramsOrAfterGestureElseHides) {
  EXPECT_EQ(decideBarHotKey(true, false), BarHotKeyAction::Show);
  EXPECT_EQ(decideBarHotKey(false, true), BarHotKeyAction::Show);
  EXPECT_EQ(decideBarHotKey(false, false), BarHotKeyAction::Hide);
}

TEST(ActivationGesture, OutsideAnActiveBarHides) {
  ActivationInput in;
  in.launcherWasActive = true;
  in.barVisible = true;
  ActivationDecision d = decideActivation(in);
  EXPECT_TRUE(d.hideOnly);
  EXPECT_FALSE(d.simulateHotKey || d.placeAtPoint || d.show);
  in.barVisible = false;
  EXPECT_FALSE(decideActivation(in).hideOnly);
}

TEST(ActivationGesture, PlacementAndHotKeySimulation) {
  ActivationInput in;
  in.openAtClickPos = true;
  ActivationDecision d = decideActivation(in);
  EXPECT_TRUE(d.placeAtPoint && d.simulateHotKey);
  in.lockLevel = 2;
  EXPECT_FALSE(decideActivation(in).placeAtPoint);
  in.pointInBar = true;  // a gesture inside the bar always re-places it
  EXPECT_TRUE(decideActivation(in).placeAtPoint);

  ActivationInput old;
  old.win2000OrLater = false;
  old.barVisible = true;
  ActivationDecision o = decideActivation(old);
  EXPECT_TRUE(o.hideFirst && o.show);
  EXPECT_FALSE(o.simulateHotKey);
}

TEST(ActivationGesture, SecondaryButtonSwitchesModesOnlyWhenEnabled) {
  ActivationInput in;
  in.secondaryButton = true;
  EXPECT_FALSE(decideActivation(in).switchTaskMode);
  in.mouseButton = 0x02;
  EXPECT_EQ(decideActivation(in).switchTaskMode, true);
  in.taskMode = true;
  EXPECT_FALSE(decideActivation(in).switchTaskMode);  // already there
  in.secondaryButton = false;
  EXPECT_EQ(decideActivation(in).switchTaskMode, false);
}

TEST(Deactivation, HidesOnlyUnlockedVisibleBarsForOtherPrograms) {
  EXPECT_TRUE(hideOnDeactivation(true, true, 0, true));
  EXPECT_FALSE(hideOnDeactivation(true, true, 1, true));
  EXPECT_FALSE(hideOnDeactivation(true, true, 0, false));
  EXPECT_FALSE(hideOnDeactivation(false, true, 0, true));
  EXPECT_FALSE(hideOnDeactivation(true, false, 0, true));
  EXPECT_TRUE(closeCommandHides(false, 0));
  EXPECT_FALSE(closeCommandHides(true, 0));
  EXPECT_FALSE(closeCommandHides(false, 3));
}

TEST(WindowRegion, FlatRatioFlattensOneCornerDimension) {
  EXPECT_EQ(regionCorners(25, 0).width, 25);
  EXPECT_EQ(regionCorners(25, 0).height, 25);
  EXPECT_EQ(regionCorners(25, -40).width, 15);
  EXPECT_EQ(regionCorners(25, -40).height, 25);
  EXPECT_EQ(regionCorners(25, 40).height, 15);
  EXPECT_EQ(regionCorners(25, 100).height, 0);
  EXPECT_EQ(regionCorners(25, -100).width, 0);
  EXPECT_EQ(regionCorners(30, 33).height, 20);  // integer arithmetic: 30*67/100
}

TEST(Placement, AnchorFallsOnTheActivationPoint) {
  EXPECT_EQ(anchorAtPoint({500, 400}, 200, 300, 655410), (Point{400, 370}));  // 50 % across, 10 % down
  EXPECT_EQ(anchorAtPoint({500, 400}, 200, 300, 0), (Point{500, 400}));
  EXPECT_EQ(anchorAtPoint({500, 400}, 200, 300, (100u << 16) | 100u), (Point{300, 100}));
}

TEST(Placement, RestoredPlacementKeepsReachableBarsAndRescuesLostOnes) {
  Rect screens[] = {{0, 0, 1280, 1000}, {1280, 0, 2560, 1000}};
  Rect primary = screens[0];
  BarPlacement ok = restoredPlacement(1500, 100, 400, 200, 100, 900, 360, screens, primary);
  EXPECT_EQ(ok.x, 1500);
  EXPECT_EQ(ok.y, 100);
  EXPECT_EQ(ok.height, 400);

  BarPlacement centred = restoredPlacement(-1, 5, 400, 200, 100, 900, 360, screens, primary);
  EXPECT_EQ(centred.x, 540);
  EXPECT_EQ(centred.y, 300);

  BarPlacement lost = restoredPlacement(-32000, -32000, 400, 200, 100, 900, 360, screens, primary);
  EXPECT_TRUE(primary.contains({lost.x, lost.y}));
  BarPlacement far = restoredPlacement(INT_MAX, INT_MIN, 400, 200, 100, 900, 360, screens, primary);
  EXPECT_EQ(far.x, 1080);
  EXPECT_EQ(far.y, 0);

  BarPlacement zero = restoredPlacement(10, 10, 0, 200, 100, 900, 360, screens, primary);
  EXPECT_EQ(zero.height, 360);
  BarPlacement negative = restoredPlacement(10, 10, -50, 200, 100, 900, 360, screens, primary);
  EXPECT_EQ(negative.height, 360);
  BarPlacement huge = restoredPlacement(10, 10, INT_MAX, 200, 100, 900, 360, screens, primary);
  EXPECT_EQ(huge.height, 900);
}

TEST(Placement, ResizeFollowsThePointerWithinLimits) {
  EXPECT_EQ(resizedHeight(false, 520, 3, 100, 500, 100, 900), 423);
  EXPECT_EQ(resizedHeight(true, 150, 2, 100, 500, 100, 900), 352);
  EXPECT_EQ(resizedHeight(false, -5000, 0, 100, 500, 100, 900), 100);
  EXPECT_EQ(resizedHeight(true, -5000, 0, 100, 500, 100, 900), 900);
}

TEST(Placement, StartShowCommand) {
  EXPECT_FALSE(startShowCommand(false, false, 1));
  EXPECT_EQ(startShowCommand(true, false, 4), 4);
  EXPECT_EQ(startShowCommand(true, true, 4), 5);
  EXPECT_EQ(startShowCommand(true, true, 1), 5);
  EXPECT_EQ(startShowCommand(true, true, 7), 7);  // minimized stays minimized
  EXPECT_EQ(startShowCommand(true, true, 3), 3);
}

TEST(ContextHelp, TheLanguagesHelpFileFirstThenTheOther) {
  EXPECT_EQ(contextHelpFile(1, true, true), L"vorbin2Kj.hlp");
  EXPECT_EQ(contextHelpFile(2, true, true), L"vorbin2Ke.hlp");
  EXPECT_EQ(contextHelpFile(1, false, true), L"vorbin2Ke.hlp");
  EXPECT_EQ(contextHelpFile(2, true, false), L"vorbin2Kj.hlp");
  EXPECT_EQ(contextHelpFile(0, true, true), L"vorbin2Ke.hlp");  // not yet chosen: English first
  EXPECT_FALSE(contextHelpFile(1, false, false));
}

}  // namespace
}  // namespace vorbin
