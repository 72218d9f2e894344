// Which windows a show request touches and which show commands it gives them.
#include "launcher/interact/show_rules.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

WindowFacts normalWindow() {
  WindowFacts w;
  w.handle = 0x100;
  w.visible = true;
  w.hasSysMenu = true;
  w.hasMinBox = true;
  w.hasMaxBox = true;
  return w;
}

const ShowStateRequest kMinimiseAll{0x42, sw::kMinNoActive, true, false};

TEST(ShowRules, MinimiseAllLeavesWindowsThatCannotBeMinimised) {
  EXPECT_EQ(showStateSteps(normalWindow(), kMinimiseAll), (std::vector<int>{sw::kMinNoActive}));
  WindowFacts dialog = normalWindow();
  dialog.hasMinBox = false;
  dialog.hasMaxBox = false;
  EXPECT_TRUE(showStateSteps(dialog, kMinimiseAll).empty());
  WindowFacts bar = normalWindow();
  bar.handle = 0x42;
  EXPECT_TRUE(showStateSteps(bar, kMinimiseAll).empty());
  WindowFacts hidden = normalWindow();
  hidden.visible = false;
  EXPECT_TRUE(showStateSteps(hidden, kMinimiseAll).empty());
  WindowFacts noMenu = normalWindow();
  noMenu.hasSysMenu = false;
  EXPECT_TRUE(showStateSteps(noMenu, kMinimiseAll).empty());
}

TEST(ShowRules, OwnedWindowsOnlyWithTheAllFlag) {
  WindowFacts tool = normalWindow();
  tool.ownedOrChild = true;
  tool.hasSysMenu = false;
  EXPECT_TRUE(showStateSteps(tool, kMinimiseAll).empty());
  ShowStateRequest all = kMinimiseAll;
  all.all = true;
  EXPECT_EQ(showStateSteps(tool, all), (std::vector<int>{sw::kMinNoActive}));
  // The all flag also ignores the skip window and the visibility.
  tool.handle = 0x42;
  tool.visible = false;
  EXPECT_EQ(showStateSteps(tool, all), (std::vector<int>{sw::kShow, sw::kMinNoActive}));
  tool.hasMinBox = false;
  EXPECT_EQ(showStateSteps(tool, all), (std::vector<int>{sw::kShow}));
}

TEST(ShowRules, EachCommandByTheWindowsBoxesAndState) {
  ShowStateRequest r{0, sw::kRestore, true, false};
  WindowFacts w = normalWindow();
  EXPECT_EQ(showStateSteps(w, r), (std::vector<int>{sw::kShow}));
  w.minimized = true;
  EXPECT_EQ(showStateSteps(w, r), (std::vector<int>{sw::kRestore}));

  r.command = sw::kMaximize;
  EXPECT_EQ(showStateSteps(w, r), (std::vector<int>{sw::kMaximize}));
  w.hasMaxBox = false;
  EXPECT_EQ(showStateSteps(w, r), (std::vector<int>{sw::kRestore}));
  w.minimized = false;
  EXPECT_TRUE(showStateSteps(w, r).empty());

  r.command = sw::kHide;
  EXPECT_EQ(showStateSteps(w, r), (std::vector<int>{sw::kMinNoActive, sw::kHide}));
  r.command = 4;  // passed through
  EXPECT_EQ(showStateSteps(w, r), (std::vector<int>{4}));

  r.wantVisible = false;
  w.visible = false;
  r.command = sw::kRestore;
  EXPECT_EQ(showStateSteps(w, r), (std::vector<int>{sw::kShow}));
}

}  // namespace
}  // namespace vorbin
