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

// Handles and timer ids are pointer-sized so that they survive on x64. No
// function address is kept here: any process could overwrite it.
struct SharedHookState {
  uintptr_t launcherWindow;
  uintptr_t desktopWindow;
  uintptr_t eventWindow;
  uintptr_t lastPressedWindow;
  uintptr_t desktopIconView;
  uintptr_t newestWindow;
  int32_t launcherActivated;
  int32_t launcherWasActive;
  int32_t version5;
  int32_t version51;
  uintptr_t mouseHook;
  uintptr_t titleHook;
  uintptr_t commandLineHook;
  uintptr_t cbtHook;
  uintptr_t shellHook;
  uint32_t launcherProcessId;
  uint32_t activationPos;
  IconHitTestRecord iconHitTest;
  HookRect controlRect;
  HookRect screenEdges;  // left, top, right - 1, bottom - 1
  int32_t primaryActivation;
  int32_t primaryPress;
  int32_t primaryRelease;
  int32_t secondaryActivation;
  int32_t secondaryPress;
  int32_t secondaryRelease;
  int32_t desktopClickEnable;  // 0 or 16
  uint32_t edgeMask;           // bit 0 left, 1 top, 2 right, 3 bottom
  int32_t activationState;     // one of ActivationState
  int32_t doubleClickMode;
  int32_t pressOnIconView;
  int32_t suppressNextMenu;
  int32_t taskMode;
  int32_t movedAway;
  int32_t fullScreenExclusion;
  HookPoint stillness;
  HookPoint armPoint;
  HookPoint activationPoint;
  int32_t animationWasOn;
  intptr_t reserved;
  uintptr_t dragHoldTimer;
  uint32_t commandLineAtom;
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

inline constexpr SharedHookState kInitialHookState = {0,
                                                      0,
                                                      0,
                                                      0,
                                                      0,
                                                      0,  // windows
                                                      0,
                                                      0,
                                                      0,
                                                      0,  // flags
                                                      0,
                                                      0,
                                                      0,
                                                      0,
                                                      0,  // hooks
                                                      0,
                                                      0,
                                                      {0, 0, 0, 0, 0, 0},
                                                      {0, 0, 0, 0},
                                                      {0, 0, 0, 0},  // pid .. edges
                                                      kNoCode,
                                                      kNoCode,
                                                      kNoCode,
                                                      kNoCode,
                                                      kNoCode,
                                                      kNoCode,  // button codes
                                                      0,
                                                      0x0F,
                                                      kIdle,
                                                      0,
                                                      0,
                                                      0,
                                                      0,
                                                      0,
                                                      1,  // click .. exclusion
                                                      {0, 0},
                                                      {0, 0},
                                                      {0, 0},
                                                      0,
                                                      0,
                                                      0,
                                                      0};

// Mode word: bit 0 right button primary, bit 1 the other button is a
// secondary, bit 7 double-click mode. Edge word: bits 0-3 edge mask, bit 4
// desktop clicks. Every other bit is ignored.
void applyVorbMode(SharedHookState& state, uint32_t mode, uint32_t edges);

enum class AnimationChange { kNone, kSwitchOff, kSwitchOn };
// Switch the minimise animation off only when it is on, and restore only what
// this library switched off. currentlyOn is read only when restore is false.
AnimationChange decideAnimation(bool restore, bool currentlyOn, int32_t& animationWasOn);

}  // namespace vorber
