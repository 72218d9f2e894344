// The mouse hook's decisions: which mouse messages arm, complete or abandon an
// activation gesture (edge press, desktop click, drag-hold), worked out over
// the shared hook state with the platform's queries passed in.
#pragma once
#include <cstddef>
#include <cstdint>

#include "hook/shared_hook_state.h"

namespace vorber {

inline constexpr uint32_t kMsgHookActivate = 0x0523;
inline constexpr uint32_t kMsgSysCommand = 0x0112;
inline constexpr uintptr_t kScDefault = 0xF160;
inline constexpr uint32_t kMsgLButtonDblClk = 0x0203;
inline constexpr int32_t kHcNoRemove = 3;

// What the system hands the mouse hook with each message.
struct MouseRecord {
  int32_t x, y;
  uintptr_t window;
  int32_t hitTest;
};

// The system queries and actions the decisions need. Windows are plain
// numbers; an implementation must tolerate any value, including stale ones.
class MousePlatform {
 public:
  virtual bool anyButtonDown() = 0;  // left, right or middle, asynchronous state
  virtual uintptr_t captureWindow() = 0;
  // Class name into buffer (cap includes the terminator); its length, 0 on failure.
  virtual size_t className(uintptr_t window, char* buffer, size_t cap) = 0;
  virtual uintptr_t startDragHoldTimer() = 0;  // 500 ms, this thread, no window; 0 on failure
  virtual void killDragHoldTimer(uintptr_t id) = 0;
  virtual uint32_t currentThread() = 0;
  // False only when the thread is known to have ended.
  virtual bool threadAlive(uint32_t threadId) = 0;
  virtual uint32_t processOf(uintptr_t window) = 0;
  virtual HookPoint toClient(uintptr_t window, HookPoint screen) = 0;
  virtual bool windowRect(uintptr_t window, HookRect& rect) = 0;
  virtual uintptr_t parentOf(uintptr_t window) = 0;
  virtual uintptr_t firstChildOf(uintptr_t window) = 0;
  virtual uint32_t exStyleOf(uintptr_t window) = 0;
  virtual uintptr_t programManager() = 0;  // "Progman" titled "Program Manager"
  virtual bool isVisible(uintptr_t window) = 0;
  // Asks a list view whether an icon lies under the record's client point.
  virtual bool iconAt(uintptr_t view, IconHitTestRecord& record) = 0;
  virtual HookPoint cursorPos() = 0;
  // Lets the launcher's process take the foreground.
  virtual void allowForeground(uint32_t launcherProcessId) = 0;
  // Reports reach only a live window of the launcher's process.
  virtual void post(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual void sendBounded(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual void setForeground(uintptr_t window) = 0;
  // The time of the event being handled, on a clock every process shares; never 0.
  virtual uint64_t eventStamp() = 0;

 protected:
  ~MousePlatform() = default;
};

enum class MouseVerdict { kPassOn, kSwallow };

// One mouse message (hook code, message number, record).
MouseVerdict onMouseMessage(SharedHookState& state, MousePlatform& platform, int32_t code, uint32_t message,
                            const MouseRecord& record);

// The drag-hold timer expired in this thread.
void onDragHoldTimer(SharedHookState& state, MousePlatform& platform, uintptr_t timerId);

// Completes a gesture at (x, y): records the point and tells the launcher.
void activateLauncher(SharedHookState& state, MousePlatform& platform, int32_t x, int32_t y, bool secondary);

// The outermost pixel rows and columns of the desktop that the mask enables.
bool onEnabledEdge(const SharedHookState& state, int32_t x, int32_t y);
// Within the stillness tolerance of the arm point (bounds inclusive).
bool isStill(const SharedHookState& state, int32_t x, int32_t y);

}  // namespace vorber
