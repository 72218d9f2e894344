// Task mode's buttons: the commands on the marked windows, the display modes,
// minimise all, cascade, tile and task details; and a task's program made a
// button of the group shown before the task list.
#pragma once
#include <windows.h>

#include <functional>

#include "launcher/interact/hit_areas.h"
#include "launcher/bar/item_adder.h"
#include "launcher/bar/tab_area.h"
#include "launcher/bar/task_list.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_layout.h"

namespace vorbin {

class TaskModeCommands {
 public:
  struct Context {
    Settings& settings;
    GroupTable& groups;
    TaskList& tasks;
    TabArea& tabArea;
    ItemAdder& adder;
    std::function<const BarLayout&()> layout;
    std::function<HitGeometry()> hitGeometry;
    std::function<void()> repaintAll;
    std::function<void()> repaintContent;
    // The bar goes away after a command that hands the desktop to a window.
    std::function<void()> hide;
    // The windows listed again (the details switched).
    std::function<void()> refresh;
  };
  explicit TaskModeCommands(Context context) : m_context(std::move(context)) {}

  // A released mode or command button.
  void boxCommand(HWND bar, const Hit& box);
  // The marked windows one behind the other, or side by side as menu 241's
  // command says; a beep when none is marked or one was left out.
  void cascadeMarked(HWND bar);
  void tileMarked(HWND bar, int layoutCommand);
  // The window's program (or the folder an Explorer window shows) as a new
  // button, after the user agreed.
  bool makeButton(HWND bar, HWND window);

 private:
  Context m_context;
};

}  // namespace vorbin
