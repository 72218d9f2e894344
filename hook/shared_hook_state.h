// The block of words that every process mapping the hook library shares, and
// the rules that fill it from the launcher's settings.
#pragma once
#include <cstdint>

namespace vorber {

struct HookPoint {
  int32_t x, y;
};
struct HookRect {
  int32_t left, top, right, bottom;
};
// Same layout as the system's list-view hit-test record; newer list views
// also write the group index, so that word is kept too.
struct IconHitTestRecord {
  int32_t x, y;
  uint32_t flags;
  int32_t item, subItem, group;
};

enum ActivationState : int32_t { kIdle = 0, kArmed = 1, kArmedByRightPressDouble = 2 };

// Event classes: the low four bits of a mouse message number, so that a
// client message and its non-client twin fall into one class.
enum EventClass : int32_t {
  kMove = 0,
  kLeftPress = 1,
  kLeftRelease = 2,
  kLeftDouble = 3,
  kRightPress = 4,
  kRightRelease = 5,
  kRightDouble = 6,
};

inline constexpr int32_t kNoCode = -1;

// Handles and timer ids are pointer-sized so that they survive on x64. No
// function address is kept here: any process could overwrite it.
struct SharedHookState {
  uintptr_t launcherWindow = 0;
  uintptr_t desktopWindow = 0;
  uintptr_t eventWindow = 0;
  uintptr_t lastPressedWindow = 0;
  uintptr_t desktopIconView = 0;
  uintptr_t newestWindow = 0;
  int32_t launcherActivated = 0;
  int32_t launcherWasActive = 0;
  int32_t version5 = 0;
  int32_t version51 = 0;
  uintptr_t mouseHook = 0;
  uintptr_t titleHook = 0;
  uintptr_t commandLineHook = 0;
  uintptr_t cbtHook = 0;
  uintptr_t shellHook = 0;
  uint32_t launcherProcessId = 0;
  uint32_t activationPos = 0;
  IconHitTestRecord iconHitTest = {};
  HookRect controlRect = {};
  HookRect screenEdges = {};  // left, top, right - 1, bottom - 1
  int32_t primaryActivation = kNoCode;
  int32_t primaryPress = kNoCode;
  int32_t primaryRelease = kNoCode;
  int32_t secondaryActivation = kNoCode;
  int32_t secondaryPress = kNoCode;
  int32_t secondaryRelease = kNoCode;
  int32_t desktopClickEnable = 0;   // 0 or 16
  uint32_t edgeMask = 0x0F;         // bit 0 left, 1 top, 2 right, 3 bottom
  int32_t activationState = kIdle;  // one of ActivationState
  int32_t doubleClickMode = 0;
  int32_t pressOnIconView = 0;
  int32_t suppressNextMenu = 0;
  int32_t taskMode = 0;
  int32_t movedAway = 0;
  int32_t fullScreenExclusion = 1;
  HookPoint stillness = {};
  HookPoint armPoint = {};
  HookPoint activationPoint = {};
  int32_t animationWasOn = 0;
  intptr_t reserved = 0;
  uintptr_t dragHoldTimer = 0;
  uint32_t commandLineAtom = 0;
  uint32_t dragHoldThread = 0;  // thread that runs the drag-hold timer
  // When the activation point and the pressed window were last recorded, on
  // the system's performance counter (one clock for every process, of either
  // bitness); 0: never. The launcher answers with the newer of its own
  // library's and the companion's.
  uint64_t activationStamp = 0;
  uint64_t pressStamp = 0;
};

inline constexpr SharedHookState kInitialHookState{};

// Mode word: bit 0 right button primary, bit 1 the other button is a
// secondary, bit 7 double-click mode. Edge word: bits 0-3 edge mask, bit 4
// desktop clicks. Every other bit is ignored.
void applyVorbMode(SharedHookState& state, uint32_t mode, uint32_t edges);

enum class AnimationChange { kNone, kSwitchOff, kSwitchOn };
// Switch the minimise animation off only when it is on, and restore only what
// this library switched off. currentlyOn is read only when restore is false.
AnimationChange decideAnimation(bool restore, bool currentlyOn, int32_t& animationWasOn);

}  // namespace vorber
