// The rules that fill the shared hook state from the launcher's settings.
#include "hook/shared_hook_state.h"

namespace vorber {

namespace {
struct ButtonCodes {
  int32_t activation, press, release;
};
ButtonCodes codesFor(int32_t pressClass, bool doubleClick) {
  return {doubleClick ? pressClass + 2 : pressClass, pressClass, pressClass + 1};
}
}  // namespace

void applyVorbMode(SharedHookState& state, uint32_t mode, uint32_t edges) {
  const bool rightPrimary = (mode & 0x01) != 0;
  const bool hasSecondary = (mode & 0x02) != 0;
  const bool doubleClick = (mode & 0x80) != 0;
  const ButtonCodes primary = codesFor(rightPrimary ? kRightPress : kLeftPress, doubleClick);
  const ButtonCodes secondary = hasSecondary ? codesFor(rightPrimary ? kLeftPress : kRightPress, doubleClick)
                                             : ButtonCodes{kNoCode, kNoCode, kNoCode};
  state.primaryActivation = primary.activation;
  state.primaryPress = primary.press;
  state.primaryRelease = primary.release;
  state.secondaryActivation = secondary.activation;
  state.secondaryPress = secondary.press;
  state.secondaryRelease = secondary.release;
  state.desktopClickEnable = (edges & 0x10) ? 16 : 0;
  state.edgeMask = edges & 0x0F;
  state.doubleClickMode = doubleClick ? 1 : 0;
}

AnimationChange decideAnimation(bool restore, bool currentlyOn, int32_t& animationWasOn) {
  if (!restore) {
    if (!currentlyOn) return AnimationChange::kNone;
    animationWasOn = 1;
    return AnimationChange::kSwitchOff;
  }
  if (animationWasOn == 0) return AnimationChange::kNone;
  animationWasOn = 0;
  return AnimationChange::kSwitchOn;
}

}  // namespace vorber
