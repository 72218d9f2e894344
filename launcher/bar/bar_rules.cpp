// Decisions of the bar window that need no window.
#include "launcher/bar/bar_rules.h"

#include <algorithm>

namespace vorbin {

namespace {
// Show commands (the system's values).
constexpr int kShowNormal = 1, kShow = 5, kShowNA = 8, kShowNoActivate = 4;
// A placement must leave this much of the bar on a screen to be kept.
constexpr int kMinVisible = 32;
}  // namespace

HideDecision decideHide(int kind, int lockLevel, int closeDelayTime, bool usuallyTopGroup) {
  HideDecision d;
  if (lockLevel >= 2) {
    d.ignored = true;
    return d;
  }
  d.cancelForeFlag = kind != kHideByDeactivation;
  if (kind == kHideByDeactivation && closeDelayTime != 0) {
    d.armDelayTimer = true;
    return d;
  }
  d.minimize = true;
  d.activateOnMinimize = kind == kHidePlain;
  d.resetTopGroup = kind != kHideKeepGroup && usuallyTopGroup;
  return d;
}


BarHotKeyAction decideBarHotKey(bool foregroundIsOtherProcess, bool gesturePending) {
  return foregroundIsOtherProcess || gesturePending ? BarHotKeyAction::Show : BarHotKeyAction::Hide;
}

ActivationDecision decideActivation(const ActivationInput& in) {
  ActivationDecision d;
  if (in.launcherWasActive && !in.pointInBar) {
    d.hideOnly = in.barVisible;
    return d;
  }
  if ((in.mouseButton & 0x02) && in.secondaryButton != in.taskMode) d.switchTaskMode = in.secondaryButton;
  d.placeAtPoint = (in.openAtClickPos && in.lockLevel != 2) || in.pointInBar;
  if (in.win2000OrLater) {
    d.simulateHotKey = true;
  } else {
    d.hideFirst = in.barVisible;
    d.show = true;
  }
  return d;
}

bool hideOnDeactivation(bool barVisible, bool noActiveToClose, int lockLevel, bool activatedIsOtherProcess) {
  return barVisible && noActiveToClose && lockLevel == 0 && activatedIsOtherProcess;
}

bool closeCommandHides(bool dragging, int pendingTimer) { return !dragging && pendingTimer == 0; }

RegionCorners regionCorners(int ellipseWidth, int flatRatio) {
  RegionCorners c{ellipseWidth, ellipseWidth};
  if (flatRatio < 0) {
    c.width = ellipseWidth * (100 + flatRatio) / 100;
  } else {
    c.height = ellipseWidth * (100 - flatRatio) / 100;
  }
  return c;
}

Point anchorAtPoint(Point activation, int width, int height, uint32_t appearPos) {
  const int64_t across = appearPos & 0xFFFF;
  const int64_t down = appearPos >> 16;
  return {static_cast<int>(activation.x - width * across / 100),
          static_cast<int>(activation.y - height * down / 100)};
}

BarPlacement restoredPlacement(int positionX, int positionY, int height, int width, int minHeight,
                               int maxHeight, int defaultHeight, std::span<const Rect> workAreas,
                               Rect primaryWorkArea) {
  BarPlacement p{positionX, positionY, height};
  const int usableMax = std::max(minHeight, std::min(maxHeight, primaryWorkArea.height()));
  if (p.height <= 0) p.height = defaultHeight;
  p.height = std::clamp(p.height, minHeight, std::max(minHeight, maxHeight));
  if (positionX == -1) {
    p.height = std::min(p.height, usableMax);
    p.x = primaryWorkArea.left + (primaryWorkArea.width() - width) / 2;
    p.y = primaryWorkArea.top + (primaryWorkArea.height() - p.height) / 2;
    return p;
  }
  if (!reachable({p.x, p.y}, width, p.height, workAreas, kMinVisible)) {
    p.height = std::min(p.height, usableMax);
    Point inside = keepInside({p.x, p.y}, width, p.height, primaryWorkArea);
    p.x = inside.x;
    p.y = inside.y;
  }
  return p;
}

int resizedHeight(bool top, int pointerY, int anchor, int windowTop, int windowBottom, int minHeight,
                  int maxHeight) {
  int64_t h = top ? static_cast<int64_t>(windowBottom) - (static_cast<int64_t>(pointerY) - anchor)
                  : static_cast<int64_t>(pointerY) + anchor - windowTop;
  return static_cast<int>(std::clamp<int64_t>(h, minHeight, std::max(minHeight, maxHeight)));
}

std::optional<int> startShowCommand(bool runWithOpen, bool isMaxSize, int showCommand) {
  if (!runWithOpen) return std::nullopt;
  if (isMaxSize && (showCommand == kShowNormal || showCommand == kShowNoActivate || showCommand == kShow ||
                    showCommand == kShowNA)) {
    return kShow;
  }
  return showCommand;
}

std::optional<std::wstring_view> contextHelpFile(int language, bool japaneseExists, bool englishExists) {
  constexpr std::wstring_view japanese = L"vorbin2Kj.hlp", english = L"vorbin2Ke.hlp";
  const bool japaneseFirst = language == 1;
  if (japaneseFirst ? japaneseExists : englishExists) return japaneseFirst ? japanese : english;
  if (japaneseFirst ? englishExists : japaneseExists) return japaneseFirst ? english : japanese;
  return std::nullopt;
}

}  // namespace vorbin
