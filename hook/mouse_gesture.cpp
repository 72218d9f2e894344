// The mouse hook's gesture decisions over the shared hook state. Every value
// read from the shared block may have been written by any process, so the
// arithmetic here is wrap-safe and no value is used as an index.
#include "hook/mouse_gesture.h"

#include "hook/window_events.h"

namespace vorber {

namespace {

constexpr uint32_t kFirstMouseMessage = 0x00A0;  // WM_NCMOUSEMOVE
constexpr uint32_t kExToolWindow = 0x80;
constexpr uint32_t kExTopmost = 0x08;
constexpr int32_t kHtClient = 1, kHtCaption = 2, kHtSysMenu = 3, kHtMinButton = 8, kHtMaxButton = 9,
                  kHtClose = 20, kHtHelp = 21;

int32_t minusOne(int32_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v) - 1u); }

bool isButtonClass(int32_t a) { return a >= kLeftPress && a <= kRightDouble; }

// A configured code matches only a button class: garbage codes match nothing.
bool matches(int32_t code, int32_t a) { return isButtonClass(a) && code == a; }

bool isConfigured(const SharedHookState& s, int32_t a) {
  return matches(s.primaryActivation, a) || matches(s.primaryPress, a) || matches(s.primaryRelease, a) ||
         matches(s.secondaryActivation, a) || matches(s.secondaryPress, a) || matches(s.secondaryRelease, a);
}

bool sameRect(const HookRect& a, const HookRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool isCaptionButton(int32_t hit) {
  return hit == kHtSysMenu || hit == kHtMinButton || hit == kHtMaxButton || hit == kHtClose || hit == kHtHelp;
}

void abandonGesture(SharedHookState& s) {
  s.activationState = kIdle;
  s.pressOnIconView = 0;
  s.desktopIconView = 0;
  s.movedAway = 1;
  s.suppressNextMenu = 0;
}

// During drag and drop the mouse is captured by the clipboard window class.
void maybeStartDragHold(SharedHookState& s, MousePlatform& p, const MouseRecord& r) {
  if (!p.anyButtonDown() || r.window == 0 || r.window != p.captureWindow()) return;
  char name[16];
  const size_t length = p.className(r.window, name, sizeof name);
  if (length >= sizeof name || !equalsIgnoreCase({name, length}, "CLIPBRDWNDCLASS")) return;
  s.armPoint = {r.x, r.y};
  s.dragHoldThread = p.currentThread();
  s.dragHoldTimer = p.startDragHoldTimer();
}

// A timer whose thread has ended never fires and would block drag-hold for
// good; any other running timer is left to its thread.
bool dragHoldTimerBlocks(SharedHookState& s, MousePlatform& p) {
  if (s.dragHoldTimer == 0) return false;
  const uint32_t owner = s.dragHoldThread;
  if (owner == p.currentThread() || p.threadAlive(owner)) return true;
  s.dragHoldTimer = 0;
  return false;
}

// The desktop's icon view is a grandchild of the Progman window (or of a
// WorkerW window laid exactly over it).
bool isDesktopIconView(MousePlatform& p, uintptr_t window) {
  const uintptr_t parent = p.parentOf(window);
  if (parent == 0) return false;
  const uintptr_t grandparent = p.parentOf(parent);
  if (grandparent == 0) return false;
  char name[129];
  const size_t length = p.className(grandparent, name, sizeof name);
  const std::string_view cls{name, length < sizeof name ? length : sizeof name - 1};
  if (equalsIgnoreCase(cls, "Progman")) return (p.exStyleOf(grandparent) & kExToolWindow) != 0;
  if (!startsWithIgnoreCase(cls, "Worker")) return false;
  HookRect own{}, manager{};
  const uintptr_t progman = p.programManager();
  return progman != 0 && p.windowRect(grandparent, own) && p.windowRect(progman, manager) &&
         sameRect(own, manager);
}

bool iconUnderPointer(SharedHookState& s, MousePlatform& p, const MouseRecord& r) {
  const uintptr_t parent = p.parentOf(s.desktopIconView);
  const uintptr_t view = parent ? p.firstChildOf(parent) : 0;
  if (view == 0 || !p.isVisible(view)) return false;
  const HookPoint client = p.toClient(view, {r.x, r.y});
  s.iconHitTest.x = client.x;
  s.iconHitTest.y = client.y;
  return p.iconAt(view, s.iconHitTest);
}

bool insideControlRect(const HookRect& rc, HookPoint pt) {
  return pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom;
}

}  // namespace

bool onEnabledEdge(const SharedHookState& s, int32_t x, int32_t y) {
  const uint32_t mask = s.edgeMask;
  return (x == s.screenEdges.left && (mask & 1)) || (x == s.screenEdges.right && (mask & 4)) ||
         (y == s.screenEdges.top && (mask & 2)) || (y == s.screenEdges.bottom && (mask & 8));
}

bool isStill(const SharedHookState& s, int32_t x, int32_t y) {
  const int64_t ax = s.armPoint.x, ay = s.armPoint.y, tx = s.stillness.x, ty = s.stillness.y;
  return ax - tx <= x && x <= ax + tx && ay - ty <= y && y <= ay + ty;
}

void activateLauncher(SharedHookState& s, MousePlatform& p, int32_t x, int32_t y, bool secondary) {
  s.activationPoint = {x, y};
  s.activationPos = (static_cast<uint32_t>(x) & 0xFFFFu) | ((static_cast<uint32_t>(y) & 0xFFFFu) << 16);
  s.activationStamp = p.eventStamp();
  p.allowForeground(s.launcherProcessId);
  const uintptr_t launcher = s.launcherWindow;
  const int32_t wasActive = s.launcherWasActive;
  if (s.version5) {
    p.post(launcher, kMsgHookActivate, secondary ? 1 : 0, wasActive);
    return;
  }
  p.sendBounded(launcher, kMsgHookActivate, secondary ? 1 : 0, wasActive);
  if (wasActive == 0) p.setForeground(launcher);
}

MouseVerdict onMouseMessage(SharedHookState& s, MousePlatform& p, int32_t code, uint32_t message,
                            const MouseRecord& r) {
  constexpr MouseVerdict pass = MouseVerdict::kPassOn;
  if (code < 0 || code == kHcNoRemove || message < kFirstMouseMessage) return pass;
  const int32_t a = static_cast<int32_t>(message & 0x0F);

  // Idle moves are almost every call: only flags and the edge test here.
  if (s.activationState == kIdle && a == kMove) {
    if (s.movedAway != 0 || !onEnabledEdge(s, r.x, r.y)) return pass;
    if (!dragHoldTimerBlocks(s, p)) maybeStartDragHold(s, p, r);
    return pass;
  }

  s.movedAway = 0;
  s.eventWindow = r.window;
  if (a == kLeftPress || a == kRightPress) {
    s.lastPressedWindow = r.window;
    s.pressStamp = p.eventStamp();
  }

  const uintptr_t launcher = s.launcherWindow;
  const bool configured = isConfigured(s, a);
  if (launcher != 0 && r.window == launcher) {
    if (message == kMsgLButtonDblClk && insideControlRect(s.controlRect, p.toClient(launcher, {r.x, r.y}))) {
      p.post(launcher, kMsgSysCommand, kScDefault, 0);
    }
    return pass;
  }
  // Wheel and other buttons while armed: nothing to do, so no window query.
  if (!configured && a != kMove) return pass;
  if (s.launcherProcessId != 0 && p.processOf(r.window) == s.launcherProcessId) return pass;

  if (!configured) {
    if (a == kMove && !isStill(s, r.x, r.y)) abandonGesture(s);
    return pass;
  }

  HookRect desktop{};
  const bool haveDesktop = p.windowRect(s.desktopWindow, desktop);
  if (haveDesktop) {
    s.screenEdges = {desktop.left, desktop.top, minusOne(desktop.right), minusOne(desktop.bottom)};
  }

  const bool doubleClick = s.doubleClickMode != 0;
  if (a == kLeftPress || a == kRightPress) {
    s.launcherWasActive = s.launcherActivated;
    s.launcherActivated = 0;
    s.pressOnIconView = 0;
    s.desktopIconView = 0;
    if (isDesktopIconView(p, r.window)) {
      s.pressOnIconView = 1;
      s.desktopIconView = r.window;
    }
  }

  bool hitIcon = false;
  const bool isRelease = a == kLeftRelease || a == kRightRelease;
  const bool isDouble = a == kLeftDouble || a == kRightDouble;
  if (s.desktopIconView != 0 &&
      (((!doubleClick || s.activationState == kArmedByRightPressDouble) && isRelease) ||
       (doubleClick && isDouble))) {
    hitIcon = iconUnderPointer(s, p, r);
    // In double-click mode the double-click that follows this release must
    // still be tested against the icons, so the view is kept for it.
    if (!(doubleClick && isRelease)) s.desktopIconView = 0;
  }

  if (s.activationState == kArmed && (matches(s.primaryRelease, a) || matches(s.secondaryRelease, a))) {
    if (!hitIcon) {
      activateLauncher(s, p, r.x, r.y, matches(s.secondaryRelease, a));
      if (a == kRightRelease) s.suppressNextMenu = 1;
    }
    s.activationState = kIdle;
    return pass;
  }

  if (onEnabledEdge(s, r.x, r.y)) {
    if (s.fullScreenExclusion != 0 && haveDesktop && (p.exStyleOf(r.window) & kExTopmost)) {
      HookRect own{};
      if (p.windowRect(r.window, own) && sameRect(own, desktop)) return pass;
    }
    if (isCaptionButton(r.hitTest)) return pass;
    if (matches(s.primaryPress, a) || matches(s.secondaryPress, a)) {
      s.activationState = kArmed;
      s.armPoint = {r.x, r.y};
      // Only a press is ever swallowed: the window keeps getting its releases
      // whatever codes the shared block holds.
      const bool isPress = a == kLeftPress || a == kRightPress;
      if (isPress && s.version51 != 0 && (r.hitTest == kHtClient || r.hitTest == kHtCaption)) {
        return MouseVerdict::kSwallow;
      }
    }
    return pass;
  }

  const bool onDesktop = (s.desktopWindow != 0 && r.window == s.desktopWindow) || s.pressOnIconView != 0;
  if (!onDesktop || s.desktopClickEnable == 0) return pass;
  if (matches(s.primaryActivation, a) || matches(s.secondaryActivation, a)) {
    if (!doubleClick) {
      s.activationState = kArmed;
      s.armPoint = p.cursorPos();
    } else if (!hitIcon) {
      if (a == kRightDouble) s.suppressNextMenu = 1;
      activateLauncher(s, p, r.x, r.y, matches(s.secondaryActivation, a));
    }
  } else if (doubleClick) {
    if (a == kRightPress) {
      s.activationState = kArmedByRightPressDouble;
      s.armPoint = p.cursorPos();
    } else {
      if (s.activationState == kArmedByRightPressDouble && a == kRightRelease && !hitIcon) {
        s.suppressNextMenu = 1;
      }
      s.activationState = kIdle;
    }
  }
  return pass;
}

void onDragHoldTimer(SharedHookState& s, MousePlatform& p, uintptr_t timerId) {
  p.killDragHoldTimer(timerId);
  s.dragHoldTimer = 0;
  const HookPoint cursor = p.cursorPos();
  if (isStill(s, cursor.x, cursor.y)) {
    if (p.anyButtonDown()) {
      s.launcherWasActive = 0;
      const HookPoint arm = s.armPoint;
      activateLauncher(s, p, arm.x, arm.y, false);
    }
    return;
  }
  if (onEnabledEdge(s, cursor.x, cursor.y) && p.anyButtonDown()) {
    s.armPoint = cursor;
    s.dragHoldThread = p.currentThread();
    s.dragHoldTimer = p.startDragHoldTimer();
  }
}

}  // namespace vorber
