// Show-state rules: windows that cannot take a state are left alone, and no
// window is minimised or maximised without the box for it.
#include "launcher/interact/show_rules.h"

namespace vorbin {

bool showStateSelects(const WindowFacts& window, const ShowStateRequest& request) {
  if (request.all) return true;
  if (request.skipWindow != 0 && window.handle == request.skipWindow) return false;
  if (window.visible != request.wantVisible) return false;
  return window.hasSysMenu && !window.ownedOrChild;
}

std::vector<int> showStateSteps(const WindowFacts& window, const ShowStateRequest& request) {
  if (!showStateSelects(window, request)) return {};
  switch (request.command) {
    case sw::kHide:
      return {sw::kMinNoActive, sw::kHide};
    case sw::kMaximize:
      if (window.hasMaxBox) return {sw::kMaximize};
      if (window.minimized) return {sw::kRestore};
      return {};
    case sw::kMinNoActive: {
      std::vector<int> steps;
      if (!window.visible) steps.push_back(sw::kShow);
      if (window.hasMinBox) steps.push_back(sw::kMinNoActive);
      return steps;
    }
    case sw::kRestore:
      return {window.minimized ? sw::kRestore : sw::kShow};
    default:
      return {request.command};
  }
}

}  // namespace vorbin
