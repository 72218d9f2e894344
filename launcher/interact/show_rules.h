// Which show commands bring one top-level window into a requested show state,
// and which windows a request leaves alone.
#pragma once

#include <cstdint>
#include <vector>

namespace vorbin {

// Show commands of the platform used here.
namespace sw {
inline constexpr int kHide = 0;
inline constexpr int kShowNormal = 1;
inline constexpr int kMaximize = 3;
inline constexpr int kShow = 5;
inline constexpr int kMinNoActive = 7;
inline constexpr int kRestore = 9;
}  // namespace sw

struct ShowStateRequest {
  uintptr_t skipWindow = 0;  // never touched (the bar), 0 for none
  int command = sw::kRestore;
  bool wantVisible = true;  // only windows whose visibility equals this
  bool all = false;         // skip the selection tests
};

struct WindowFacts {
  uintptr_t handle = 0;
  bool visible = false;
  bool hasSysMenu = false;
  bool ownedOrChild = false;  // it has an owner or a parent
  bool hasMinBox = false;
  bool hasMaxBox = false;
  bool minimized = false;
};

bool showStateSelects(const WindowFacts& window, const ShowStateRequest& request);
// The show commands to give, in order; empty leaves the window as it is.
std::vector<int> showStateSteps(const WindowFacts& window, const ShowStateRequest& request);

}  // namespace vorbin
