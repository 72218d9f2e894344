// A scripted desktop for the mouse hook's decisions: windows with classes,
// parents, styles and rectangles, buttons, capture, cursor, and a record of
// everything the decisions tell the launcher.
#pragma once
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "hook/mouse_gesture.h"

namespace vorber::testing {

struct FakeWindow {
  uint32_t pid = 100;
  uintptr_t parent = 0;
  uintptr_t firstChild = 0;
  std::string cls;
  uint32_t exStyle = 0;
  HookRect rect{0, 0, 0, 0};
  bool visible = true;
};

struct Report {
  uintptr_t window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  bool bounded;
};

class FakePlatform final : public MousePlatform {
 public:
  std::map<uintptr_t, FakeWindow> windows;
  bool buttonDown = false;
  uintptr_t capture = 0;
  HookPoint cursor{0, 0};
  uintptr_t progman = 0;
  bool iconUnderPoint = false;
  uintptr_t nextTimer = 0x77;
  int timersStarted = 0;
  std::vector<uintptr_t> timersKilled;
  uint32_t thread = 501;
  uint32_t deadThread = 0;
  int hitTests = 0;
  IconHitTestRecord lastHitTest{};
  std::vector<Report> reports;
  std::vector<uint32_t> allowedPids;
  std::vector<uintptr_t> foregrounds;

  bool anyButtonDown() override { return buttonDown; }
  uintptr_t captureWindow() override { return capture; }
  size_t className(uintptr_t window, char* buffer, size_t cap) override {
    auto it = windows.find(window);
    if (it == windows.end() || cap == 0) return 0;
    const size_t n = std::min(it->second.cls.size(), cap - 1);
    std::memcpy(buffer, it->second.cls.data(), n);
    buffer[n] = '\0';
    return n;
  }
  uintptr_t startDragHoldTimer() override {
    ++timersStarted;
    return nextTimer;
  }
  void killDragHoldTimer(uintptr_t id) override { timersKilled.push_back(id); }
  uint32_t currentThread() override { return thread; }
  bool threadAlive(uint32_t threadId) override { return threadId != deadThread; }
  uint32_t processOf(uintptr_t window) override {
    auto it = windows.find(window);
    return it == windows.end() ? 0 : it->second.pid;
  }
  HookPoint toClient(uintptr_t window, HookPoint screen) override {
    auto it = windows.find(window);
    if (it == windows.end()) return screen;
    return {screen.x - it->second.rect.left, screen.y - it->second.rect.top};
  }
  bool windowRect(uintptr_t window, HookRect& rect) override {
    auto it = windows.find(window);
    if (it == windows.end()) return false;
    rect = it->second.rect;
    return true;
  }
  uintptr_t parentOf(uintptr_t window) override {
    auto it = windows.find(window);
    return it == windows.end() ? 0 : it->second.parent;
  }
  uintptr_t firstChildOf(uintptr_t window) override {
    auto it = windows.find(window);
    return it == windows.end() ? 0 : it->second.firstChild;
  }
  uint32_t exStyleOf(uintptr_t window) override {
    auto it = windows.find(window);
    return it == windows.end() ? 0 : it->second.exStyle;
  }
  uintptr_t programManager() override { return progman; }
  bool isVisible(uintptr_t window) override {
    auto it = windows.find(window);
    return it != windows.end() && it->second.visible;
  }
  bool iconAt(uintptr_t, IconHitTestRecord& record) override {
    ++hitTests;
    lastHitTest = record;
    return iconUnderPoint;
  }
  HookPoint cursorPos() override { return cursor; }
  void allowForeground(uint32_t pid) override { allowedPids.push_back(pid); }
  void post(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    reports.push_back({window, message, wParam, lParam, false});
  }
  void sendBounded(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    reports.push_back({window, message, wParam, lParam, true});
  }
  void setForeground(uintptr_t window) override { foregrounds.push_back(window); }
  // A clock that moves on by one at each question.
  uint64_t eventStamp() override { return ++clock; }
  uint64_t clock = 1000;
};

}  // namespace vorber::testing
