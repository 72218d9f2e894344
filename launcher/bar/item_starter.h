// Starting a button's item: from a click, a key or its own hot key. A
// prompting item (file-pick start) asks for its documents first, in the
// browser's own loop, with the bar's other work held back meanwhile.
#pragma once
#include <windows.h>

#include <functional>

#include "launcher/bar/button_marks.h"
#include "launcher/bar/modal_busy.h"
#include "launcher/interact/launch_item.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"

namespace vorbin {

class PointerActions;

class ItemStarter {
 public:
  struct Context {
    const Settings& settings;
    GroupTable& groups;
    ButtonMarks& marks;
    PointerActions& actions;
    ModalBusy& modal;
    // How starts report and whether the bar hides after one.
    std::function<LaunchContext(bool hideAfter)> launchContext;
    std::function<void(int group, int slot, ButtonLook look)> repaintButton;
    // A prompting item's group shown in front with the bar.
    std::function<void(int group)> showGroup;
  };
  explicit ItemStarter(Context context) : m_context(std::move(context)) {}

  // Starts the item in the slot; the bar hides afterwards unless it is locked.
  void start(HWND bar, int group, int slot);
  // The item's hot key: the window it started brought forward, or the item
  // started; a prompting item opens its prompt at the shown button.
  void hotKey(HWND bar, int group, int slot);

 private:
  Context m_context;
};

}  // namespace vorbin
