// The task commands: the ones that bring a window forward hide the bar, the
// others leave the bar and the foreground alone.
#include "launcher/interact/task_commands.h"

#include <gtest/gtest.h>

#include "launcher/interact/show_rules.h"

namespace vorbin {
namespace {

TEST(TaskCommands, OnlyCommandsThatBringAWindowForwardHideTheBar) {
  const TaskCommandSteps switchTo = taskCommandSteps(kTaskSwitchTo);
  EXPECT_TRUE(switchTo.foreground && switchTo.toTop && switchTo.hidesBar);
  EXPECT_EQ(switchTo.showCommand, sw::kRestore);
  EXPECT_EQ(taskCommandSteps(1).showCommand, sw::kShowNormal);
  EXPECT_EQ(taskCommandSteps(3).showCommand, sw::kMaximize);
  for (int command = 0; command < kTaskCommandCount; ++command) {
    const TaskCommandSteps s = taskCommandSteps(command);
    EXPECT_EQ(s.hidesBar, s.foreground) << command;
    EXPECT_EQ(s.hidesBar, command == 0 || command == 1 || command == 3) << command;
  }
  // Minimizing never activates; hiding goes through the show routine too.
  EXPECT_EQ(taskCommandSteps(2).showCommand, sw::kMinNoActive);
  EXPECT_EQ(taskCommandSteps(4).showCommand, sw::kHide);
  EXPECT_EQ(taskCommandSteps(5).pin, 1);
  EXPECT_EQ(taskCommandSteps(6).pin, -1);
  EXPECT_TRUE(taskCommandSteps(7).close);
  EXPECT_TRUE(taskCommandSteps(8).makeButton);
}

TEST(TaskCommands, UnknownCommandsDoNothing) {
  for (int command : {-1, kTaskCommandCount, 1000}) {
    const TaskCommandSteps s = taskCommandSteps(command);
    EXPECT_FALSE(s.foreground || s.toTop || s.hidesBar || s.close || s.makeButton || s.pin != 0) << command;
    EXPECT_EQ(s.showCommand, -1) << command;
  }
}

}  // namespace
}  // namespace vorbin
