// The mirror of the launcher's setter calls that the 32-bit companion
// replays, and the companion's command line and start decision.
#include <gtest/gtest.h>

#include <vector>

#include "hook/companion_link.h"

namespace vorber {
namespace {

std::vector<MirrorCall> kinds(const std::vector<PendingCall>& calls) {
  std::vector<MirrorCall> out;
  for (const PendingCall& p : calls) out.push_back(p.call);
  return out;
}

TEST(CompanionMirror, ReplaysTheLastCallOfEachKindInTheOrderTheyWereMade) {
  CompanionMirror applied, current;
  EXPECT_TRUE(pendingMirrorCalls(applied, current).empty()) << "nothing called yet";

  recordMirrorCall(current, MirrorCall::kVorbMode, 0x81, 0x1F);
  recordMirrorCall(current, MirrorCall::kHook, 1, 0x10A2);
  recordMirrorCall(current, MirrorCall::kTaskMode, 1);
  recordMirrorCall(current, MirrorCall::kCtrlRect, -10, 20, 300, -4);
  auto calls = pendingMirrorCalls(applied, current);
  EXPECT_EQ(kinds(calls), (std::vector<MirrorCall>{MirrorCall::kVorbMode, MirrorCall::kHook,
                                                   MirrorCall::kTaskMode, MirrorCall::kCtrlRect}));
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].entry.args[0], 0x81);
  EXPECT_EQ(calls[0].entry.args[1], 0x1F);
  EXPECT_EQ(calls[1].entry.args[1], 0x10A2);
  EXPECT_EQ(calls[3].entry.args[0], -10);
  EXPECT_EQ(calls[3].entry.args[3], -4);

  // Once replayed, nothing is pending until the next call.
  applied = current;
  EXPECT_TRUE(pendingMirrorCalls(applied, current).empty());

  // The hooks removed after the task mode was switched on, then the task mode
  // set again: the replay must end with the task mode, as the launcher did.
  recordMirrorCall(current, MirrorCall::kTaskMode, 0);
  recordMirrorCall(current, MirrorCall::kHook, 0, 0);
  recordMirrorCall(current, MirrorCall::kTaskMode, 1);
  calls = pendingMirrorCalls(applied, current);
  EXPECT_EQ(kinds(calls), (std::vector<MirrorCall>{MirrorCall::kHook, MirrorCall::kTaskMode}));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].entry.args[0], 0) << "FreeHook";
  EXPECT_EQ(calls[1].entry.args[0], 1) << "only the last task-mode call counts";

  // The same value set again is still replayed: SetHook re-installs, SetAnimate
  // restores only what the other library switched off.
  applied = current;
  recordMirrorCall(current, MirrorCall::kAnimate, 1);
  recordMirrorCall(current, MirrorCall::kAnimate, 1);
  EXPECT_EQ(kinds(pendingMirrorCalls(applied, current)), (std::vector<MirrorCall>{MirrorCall::kAnimate}));
}

TEST(CompanionMirror, KeepsTheOrderWhenTheCounterWrapsAndNeverStampsZero) {
  CompanionMirror applied, current;
  current.lastStamp = 0xFFFFFFFEu;
  recordMirrorCall(current, MirrorCall::kDirectX, 1);   // 0xFFFFFFFF
  recordMirrorCall(current, MirrorCall::kReMouseHook);  // wraps past 0 to 1
  recordMirrorCall(current, MirrorCall::kAnimate, 0);   // 2
  EXPECT_EQ(current.entries[static_cast<size_t>(MirrorCall::kReMouseHook)].stamp, 1u);
  EXPECT_EQ(kinds(pendingMirrorCalls(applied, current)),
            (std::vector<MirrorCall>{MirrorCall::kDirectX, MirrorCall::kReMouseHook, MirrorCall::kAnimate}));
}

TEST(CompanionMirror, IgnoresABlockOfAnotherLayoutAndUnknownKinds) {
  CompanionMirror applied, current;
  recordMirrorCall(current, MirrorCall::kHook, 1, 5);
  current.size = sizeof(CompanionMirror) + 4;
  EXPECT_TRUE(pendingMirrorCalls(applied, current).empty());

  CompanionMirror before = current;
  recordMirrorCall(current, MirrorCall::kCount, 9);  // out of range: no entry, no stamp
  EXPECT_EQ(current.lastStamp, before.lastStamp);
}

TEST(CompanionCommandLine, RoundTripsTheLauncherProcessIdAndRejectsAnythingElse) {
  EXPECT_EQ(parseCompanionArguments(companionArguments(4242)), 4242u);
  EXPECT_EQ(parseCompanionArguments(companionArguments(0xFFFFFFF0u)), 0xFFFFFFF0u);
  struct Case {
    const char* text;
    std::optional<uint32_t> pid;
  } const cases[] = {
      {"1234", 1234u},        {"  56 \t", 56u},        {"", std::nullopt},
      {"   ", std::nullopt},  {"0", std::nullopt},     {"-5", std::nullopt},
      {"12x", std::nullopt},  {"12 13", std::nullopt}, {"4294967296", std::nullopt},  // beyond 32 bits
      {"0x10", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(parseCompanionArguments(c.text), c.pid) << "\"" << c.text << "\"";
}

TEST(CompanionCommandLine, NamesCarryTheLauncherProcessIdAndStartOnlyWhereNeeded) {
  EXPECT_EQ(mirrorBlockName(77), "Local\\Vorber2kMirror.77");
  EXPECT_EQ(companionWindowTitle(77), "77");
  EXPECT_NE(mirrorBlockName(77), mirrorBlockName(78));
  EXPECT_TRUE(shouldStartCompanion(true, true));
  EXPECT_FALSE(shouldStartCompanion(false, true)) << "a 32-bit system runs 32-bit programs only";
  EXPECT_FALSE(shouldStartCompanion(true, false))
      << "a 32-bit launcher's library reaches 32-bit programs itself";
  EXPECT_FALSE(shouldStartCompanion(false, false));
}

TEST(CompanionPointer, TheNewerRecordOfEachKindWinsAndTheOwnOneATie) {
  PointerRecord own{.activationStamp = 100, .activationX = 0, .activationY = 300, .activationPos = 0x012C0000u,
                    .pressedWindow = 0x10A2, .pressStamp = 90};
  EXPECT_EQ(newerPointerRecord(own, nullptr).activationStamp, 100u) << "no companion: the own record";

  struct Case {
    int line;
    uint64_t otherActivation, otherPress;
    bool activationFromOther, pressFromOther;
  };
  const Case cases[] = {
      {__LINE__, 0, 0, false, false},      // the companion saw nothing
      {__LINE__, 50, 60, false, false},    // older on both counts
      {__LINE__, 100, 90, false, false},   // a tie keeps the own record
      {__LINE__, 150, 60, true, false},    // an activation over a 32-bit window, our press later
      {__LINE__, 50, 95, false, true},     // a press over a 32-bit window only
      {__LINE__, 101, 91, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const PointerRecord other{.activationStamp = c.otherActivation, .activationX = -1280, .activationY = 77,
                              .activationPos = 0x004DFB00u, .pressedWindow = 0x2B4, .pressStamp = c.otherPress};
    const PointerRecord r = newerPointerRecord(own, &other);
    const PointerRecord& a = c.activationFromOther ? other : own;
    const PointerRecord& p = c.pressFromOther ? other : own;
    EXPECT_EQ(r.activationStamp, a.activationStamp);
    EXPECT_EQ(r.activationX, a.activationX);
    EXPECT_EQ(r.activationY, a.activationY);
    EXPECT_EQ(r.activationPos, a.activationPos);
    EXPECT_EQ(r.pressedWindow, p.pressedWindow);
    EXPECT_EQ(r.pressStamp, p.pressStamp);
  }
  EXPECT_EQ(pointerBlockName(4711), "Local\\Vorber2kPointer.4711");
}

}  // namespace
}  // namespace vorber
