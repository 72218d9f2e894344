// Decisions of the bar window that need no window: when and how it hides,
// what the bar hot key and an activation gesture do, where it appears, and
// the shape of its window region.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "launcher/services/rect_math.h"

namespace vorbin {

// Kinds of hideBar.
enum HideKind { kHidePlain = 0, kHideByDeactivation = 2, kHideKeepGroup = 3 };

struct HideDecision {
  bool ignored = false;         // lock level 2: the bar never hides
  bool cancelForeFlag = false;  // tell the hook library the bar gave up the foreground
  bool armDelayTimer = false;   // timer 2 does the hiding later
  bool minimize = false;
  bool activateOnMinimize = false;  // kind 0 minimizes plainly, the others without activation
  bool resetTopGroup = false;
};
HideDecision decideHide(int kind, int lockLevel, int closeDelayTime, bool usuallyTopGroup);

// The bar hot key (id 0): show when another program is in front or a gesture
// asked for it, otherwise the user pressed it over the bar: hide.
enum class BarHotKeyAction { Show, Hide };
BarHotKeyAction decideBarHotKey(bool foregroundIsOtherProcess, bool gesturePending);

struct ActivationInput {
  bool launcherWasActive = false;
  bool pointInBar = false;
  bool secondaryButton = false;  // the gesture used the secondary button
  int mouseButton = 0;           // MouseButton mode word
  bool openAtClickPos = false;
  int lockLevel = 0;
  bool win2000OrLater = true;
  bool barVisible = false;
  bool taskMode = false;
};
struct ActivationDecision {
  bool hideOnly = false;               // the gesture outside an active bar hides it
  std::optional<bool> switchTaskMode;  // new task mode, when it changes
  bool placeAtPoint = false;
  bool simulateHotKey = false;  // bring the bar forward through its own hot key
  bool hideFirst = false;       // older systems: hide, then show
  bool show = false;
};
ActivationDecision decideActivation(const ActivationInput& in);

// Deactivation hides (kind 2) when the bar is visible, NoActiveToClose is on,
// the bar is unlocked and the new active window belongs to another process.
bool hideOnDeactivation(bool barVisible, bool noActiveToClose, int lockLevel, bool activatedIsOtherProcess);

// SC_CLOSE hides the bar unless a drag or a delayed action runs.
bool closeCommandHides(bool dragging, int pendingTimer);

// Corner ellipse of the window region (the region's ellipse is one less each way).
struct RegionCorners {
  int width = 0;
  int height = 0;
};
RegionCorners regionCorners(int ellipseWidth, int flatRatio);

// Top-left corner that puts the AppearPos anchor (low word: percent of the
// width across, high word: percent of the height down) on the point.
Point anchorAtPoint(Point activation, int width, int height, uint32_t appearPos);

// The bar's placement from the saved position: a damaged profile cannot put
// it off every screen or give it an unusable height. PositionX -1 centres it
// on the primary work area.
struct BarPlacement {
  int x = 0;
  int y = 0;
  int height = 0;
};
BarPlacement restoredPlacement(int positionX, int positionY, int height, int width, int minHeight,
                               int maxHeight, int defaultHeight, std::span<const Rect> workAreas,
                               Rect primaryWorkArea);

// Vertical resize: the new height from the pointer, kept within the limits.
// top: the top edge is dragged (the bottom stays).
int resizedHeight(bool top, int pointerY, int anchor, int windowTop, int windowBottom, int minHeight,
                  int maxHeight);

// Show command at start: RunWithOpen false starts hidden (nullopt); in
// maximized mode the normal, plain and no-activate shows become a plain show.
std::optional<int> startShowCommand(bool runWithOpen, bool isMaxSize, int showCommand);

// The help file that context help pops up from: the one of the language in
// use, else the other one; none when neither is beside the program.
std::optional<std::wstring_view> contextHelpFile(int language, bool japaneseExists, bool englishExists);

}  // namespace vorbin
