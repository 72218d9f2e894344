// The rules that fill the shared block from the launcher's settings, the
// animation switch, and the window hooks' window-free decisions.
#include <gtest/gtest.h>

#include <string>

#include "hook/shared_hook_state.h"
#include "hook/window_events.h"

namespace vorber {
namespace {

struct ModeCase {
  int line;
  uint32_t mode;
  int32_t codes[6];  // primary activation, press, release; secondary activation, press, release
  int32_t doubleClick;
};

TEST(VorbMode, DerivesButtonCodesFromModeWord) {
  const ModeCase cases[] = {
      {__LINE__, 0x00, {1, 1, 2, -1, -1, -1}, 0},    {__LINE__, 0x01, {4, 4, 5, -1, -1, -1}, 0},
      {__LINE__, 0x02, {1, 1, 2, 4, 4, 5}, 0},       {__LINE__, 0x03, {4, 4, 5, 1, 1, 2}, 0},
      {__LINE__, 0x80, {3, 1, 2, -1, -1, -1}, 1},    {__LINE__, 0x81, {6, 4, 5, -1, -1, -1}, 1},
      {__LINE__, 0x82, {3, 1, 2, 6, 4, 5}, 1},       {__LINE__, 0x83, {6, 4, 5, 3, 1, 2}, 1},
      {__LINE__, 0x10, {1, 1, 2, -1, -1, -1}, 0},    {__LINE__, 0xFFFFFF7C, {1, 1, 2, -1, -1, -1}, 0},
      {__LINE__, 0xFFFFFFFF, {6, 4, 5, 3, 1, 2}, 1},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.line);
    SharedHookState s = kInitialHookState;
    s.activationState = kArmed;
    applyVorbMode(s, c.mode, 0);
    const int32_t got[6] = {s.primaryActivation,   s.primaryPress,   s.primaryRelease,
                            s.secondaryActivation, s.secondaryPress, s.secondaryRelease};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(got[i], c.codes[i]) << "code " << i;
    EXPECT_EQ(s.doubleClickMode, c.doubleClick);
    EXPECT_EQ(s.activationState, kArmed) << "the gesture in progress is not touched";
  }
}

TEST(VorbMode, EdgeWordGivesMaskAndDesktopClicks) {
  SharedHookState s = kInitialHookState;
  applyVorbMode(s, 0, 0x1F);
  EXPECT_EQ(s.edgeMask, 0x0Fu);
  EXPECT_EQ(s.desktopClickEnable, 16);
  applyVorbMode(s, 0, 0xFFE5);
  EXPECT_EQ(s.edgeMask, 0x05u);
  EXPECT_EQ(s.desktopClickEnable, 0);
}

TEST(Animation, SwitchesOffOnlyWhenOnAndRestoresOnlyWhatItSwitchedOff) {
  int32_t wasOn = 0;
  EXPECT_EQ(decideAnimation(true, true, wasOn), AnimationChange::kNone) << "restore without a switch-off";
  EXPECT_EQ(decideAnimation(false, false, wasOn), AnimationChange::kNone);
  EXPECT_EQ(wasOn, 0);
  EXPECT_EQ(decideAnimation(true, false, wasOn), AnimationChange::kNone);

  EXPECT_EQ(decideAnimation(false, true, wasOn), AnimationChange::kSwitchOff);
  EXPECT_EQ(wasOn, 1);
  // A second switch-off finds it off already and keeps the debt.
  EXPECT_EQ(decideAnimation(false, false, wasOn), AnimationChange::kNone);
  EXPECT_EQ(wasOn, 1);
  EXPECT_EQ(decideAnimation(true, false, wasOn), AnimationChange::kSwitchOn);
  EXPECT_EQ(wasOn, 0);
  EXPECT_EQ(decideAnimation(true, false, wasOn), AnimationChange::kNone) << "restored once only";
}

TEST(TaskChange, ShowCommandsMapToHiddenShownMinimisedMaximised) {
  const int32_t expected[] = {0, 1, 2, 3, 1, 1, 2, 2, 1, 1, 1, 2};
  for (int cmd = 0; cmd <= 11; ++cmd) EXPECT_EQ(changeCodeForShowCommand(cmd), expected[cmd]) << cmd;
  EXPECT_EQ(changeCodeForShowCommand(12), kTaskShown);
  EXPECT_EQ(changeCodeForShowCommand(-1), kTaskShown);
  EXPECT_EQ(changeCodeForShowCommand(0x100000002LL), kTaskShown) << "high bits are not a show command";
}

TEST(PopupMenu, MatchesOnlyTheFullSignature) {
  EXPECT_TRUE(isPopupMenuWindow(0x80800000, 0x181, "#32768"));
  EXPECT_TRUE(isPopupMenuWindow(0x94800000, 0x189, "#32768"));
  EXPECT_FALSE(isPopupMenuWindow(0x80000000, 0x181, "#32768")) << "no border";
  EXPECT_FALSE(isPopupMenuWindow(0x00800000, 0x181, "#32768")) << "not a popup";
  EXPECT_FALSE(isPopupMenuWindow(0x80800000, 0x180, "#32768"));
  EXPECT_FALSE(isPopupMenuWindow(0x80800000, 0x101, "#32768"));
  EXPECT_FALSE(isPopupMenuWindow(0x80800000, 0x081, "#32768"));
  EXPECT_FALSE(isPopupMenuWindow(0x80800000, 0x181, "#3276"));
  EXPECT_FALSE(isPopupMenuWindow(0x80800000, 0x181, "#327680"));
}

TEST(ClassNames, CompareAsciiIgnoringCase) {
  EXPECT_TRUE(equalsIgnoreCase("clipbrdWndClass", "CLIPBRDWNDCLASS"));
  EXPECT_FALSE(equalsIgnoreCase("CLIPBRDWNDCLAS", "CLIPBRDWNDCLASS"));
  EXPECT_FALSE(equalsIgnoreCase("Progman!", "Progman"));
  EXPECT_TRUE(startsWithIgnoreCase("WorkerW", "worker"));
  EXPECT_FALSE(startsWithIgnoreCase("Work", "Worker"));
  EXPECT_FALSE(equalsIgnoreCase("[", "{")) << "only letters fold";
}

TEST(CommandLineAtom, CopiesUpTo255CharactersAndRefusesLonger) {
  char buffer[kMaxAtomText + 1];
  EXPECT_TRUE(copyCommandLineForAtom("\"C:\\app.exe\" -x", buffer));
  EXPECT_STREQ(buffer, "\"C:\\app.exe\" -x");
  const std::string exact(kMaxAtomText, 'a');
  EXPECT_TRUE(copyCommandLineForAtom(exact.c_str(), buffer));
  EXPECT_EQ(std::string(buffer), exact);
  const std::string tooLong(kMaxAtomText + 1, 'b');
  EXPECT_FALSE(copyCommandLineForAtom(tooLong.c_str(), buffer));
  EXPECT_STREQ(buffer, "");
  EXPECT_FALSE(copyCommandLineForAtom("", buffer));
  EXPECT_FALSE(copyCommandLineForAtom(nullptr, buffer));
}

TEST(CommandLineAtom, ReadsNoFurtherThanOneCharacterPastTheLimit) {
  // Not terminated: the copy must stop at 256 characters (ASan checks the read).
  char unterminated[kMaxAtomText + 1];
  for (char& c : unterminated) c = 'x';
  char buffer[kMaxAtomText + 1];
  EXPECT_FALSE(copyCommandLineForAtom(unterminated, buffer));
}

}  // namespace
}  // namespace vorber

namespace vorber {
namespace {

TEST(ShellReports, NewestWindowIsReportedOnceAtItsFirstActivation) {
  SharedHookState s = kInitialHookState;
  s.launcherWindow = 2;
  noteWindowCreated(s, 2);
  EXPECT_EQ(s.newestWindow, 0u) << "the launcher's own window never becomes the newest";
  EXPECT_FALSE(noteWindowActivated(s, 2));
  EXPECT_FALSE(noteWindowActivated(s, 0)) << "no window is not the newest window";

  noteWindowCreated(s, 10);
  noteWindowCreated(s, 11);
  EXPECT_FALSE(noteWindowActivated(s, 10)) << "only the last created window counts";
  EXPECT_TRUE(noteWindowActivated(s, 11));
  EXPECT_EQ(s.newestWindow, 0u);
  EXPECT_FALSE(noteWindowActivated(s, 11)) << "reported once";
}

}  // namespace
}  // namespace vorber

namespace vorber {
namespace {

// Windows: 2 the launcher, 3 another launcher window, 10 a program's window,
// 11 its child, 12 a menu being created.
class FakeWindows final : public WindowQueries {
 public:
  int queries = 0;
  uintptr_t parentOf(uintptr_t window) override {
    ++queries;
    return window == 11 ? 10 : 0;
  }
  uint32_t processOf(uintptr_t window) override {
    ++queries;
    return window == 2 || window == 3 ? 50 : 100;
  }
  bool isPopupMenu(uintptr_t window) override {
    ++queries;
    return window == 12;
  }
};

class Cbt : public ::testing::Test {
 protected:
  SharedHookState state = kInitialHookState;
  FakeWindows windows;
  void SetUp() override {
    state.launcherWindow = 2;
    state.launcherProcessId = 50;
    state.taskMode = 1;
  }
  CbtDecision cbt(int32_t code, uintptr_t window, int64_t value = 0) {
    return decideCbt(state, windows, code, window, value);
  }
};

TEST_F(Cbt, ReportsTopLevelWindowsOfOtherProcessesWhileTaskModeIsOn) {
  CbtDecision d = cbt(kCbtCreateWnd, 10);
  EXPECT_TRUE(d.report);
  EXPECT_EQ(d.change, kTaskCreated);
  EXPECT_EQ(cbt(kCbtDestroyWnd, 10).change, kTaskDestroyed);
  EXPECT_EQ(cbt(kCbtMinMax, 10, 6).change, kTaskMinimised);
  EXPECT_EQ(cbt(kCbtMinMax, 10, 3).change, kTaskMaximised);
  EXPECT_EQ(cbt(kCbtMinMax, 10, 9).change, kTaskShown);
  EXPECT_FALSE(cbt(kCbtCreateWnd, 11).report) << "a child window";
  EXPECT_FALSE(cbt(kCbtDestroyWnd, 3).report) << "the launcher's own process";
  EXPECT_FALSE(cbt(2, 10).report) << "HCBT_MOVESIZE is no task change";
  state.taskMode = 0;
  windows.queries = 0;
  EXPECT_FALSE(cbt(kCbtCreateWnd, 10).report);
  EXPECT_FALSE(cbt(kCbtMinMax, 10, 6).report);
  EXPECT_EQ(windows.queries, 0) << "task mode off costs no window query";
}

TEST_F(Cbt, ActivationFlagFollowsTheActivatedWindowsProcess) {
  cbt(kCbtActivate, 3);
  EXPECT_EQ(state.launcherActivated, 1);
  cbt(kCbtActivate, 0);
  EXPECT_EQ(state.launcherActivated, 1) << "a null activation is no window being activated";
  cbt(kCbtActivate, 10);
  EXPECT_EQ(state.launcherActivated, 0);
  EXPECT_FALSE(cbt(kCbtActivate, 10).report);
}

TEST_F(Cbt, RefusesExactlyOneMenuPerSettingOfTheFlag) {
  EXPECT_FALSE(cbt(kCbtCreateWnd, 12).refuse) << "flag clear: never refused";
  state.suppressNextMenu = 1;
  EXPECT_FALSE(cbt(kCbtCreateWnd, 10).refuse) << "not a menu";
  EXPECT_EQ(state.suppressNextMenu, 1);
  EXPECT_FALSE(cbt(kCbtDestroyWnd, 12).refuse) << "only creation is refused";
  const CbtDecision d = cbt(kCbtCreateWnd, 12);
  EXPECT_TRUE(d.refuse);
  EXPECT_TRUE(d.report) << "the creation was still a task change when task mode is on";
  EXPECT_EQ(state.suppressNextMenu, 0);
  EXPECT_FALSE(cbt(kCbtCreateWnd, 12).refuse);
}

TEST_F(Cbt, MinimisingTheLauncherWindowSwitchesTheAnimationOffFirst) {
  EXPECT_TRUE(cbt(kCbtMinMax, 2, 6).animationOff);
  EXPECT_FALSE(cbt(kCbtMinMax, 2, 6).report) << "the launcher's own window is no task";
  EXPECT_FALSE(cbt(kCbtMinMax, 3, 6).animationOff) << "only the bar window itself";
  EXPECT_FALSE(cbt(kCbtMinMax, 10, 6).animationOff);
  EXPECT_FALSE(cbt(kCbtCreateWnd, 2).animationOff);
  state.launcherWindow = 0;
  EXPECT_FALSE(cbt(kCbtMinMax, 0, 6).animationOff);
}

}  // namespace
}  // namespace vorber
