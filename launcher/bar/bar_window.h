// The bar window: the launcher's main window. It keeps the message table and
// the few operations on the window itself (showing, hiding, task mode,
// painting, layout, saving its state), and hands the work to collaborators
// that own their state: the bar's picture and clock (bar_view.h), the tray
// icon (tray_icon.h), the window's size and place (window_placer.h), the
// button drag (button_drag.h), the tab area's rows, the group scroll bar and
// the wheel (tab_area.h), the pointer's delayed actions (hover_timers.h), the
// marks on the buttons (button_marks.h), the task list (task_list.h) and its
// buttons (task_mode_commands.h), the queue guard (pointer_guard.h), the
// adding of buttons (item_adder.h) from queued requests (add_requests.h),
// starting items (item_starter.h), the system commands (system_commands.h),
// Program Manager DDE (dde_conversation.h), drops (drop_handler.h), the
// keyboard's focus and keys (keyboard_focus.h), the mouse operations on the
// hit areas (pointer_actions.h) and the menus (bar_menus.h); these three call
// back through bar_host.h. Timer ids: bar_timers.h; message ids and the class
// name: bar_messages.h. Each group of members below names its file.
#pragma once
#include <windows.h>

#include <memory>
#include <span>
#include <vector>

#include "framework/window.h"
#include "launcher/bar/add_requests.h"
#include "launcher/bar/bar_messages.h"
#include "launcher/bar/bar_menus.h"
#include "launcher/bar/bar_rules.h"
#include "launcher/bar/bar_timers.h"
#include "launcher/bar/bar_tooltips.h"
#include "launcher/bar/bar_view.h"
#include "launcher/bar/button_drag.h"
#include "launcher/bar/button_marks.h"
#include "launcher/bar/dde_conversation.h"
#include "launcher/bar/drop_handler.h"
#include "launcher/bar/hover_timers.h"
#include "launcher/bar/item_adder.h"
#include "launcher/bar/item_starter.h"
#include "launcher/bar/keyboard_focus.h"
#include "launcher/bar/modal_busy.h"
#include "launcher/bar/pointer_actions.h"
#include "launcher/bar/pointer_guard.h"
#include "launcher/bar/system_commands.h"
#include "launcher/bar/tab_area.h"
#include "launcher/bar/task_list.h"
#include "launcher/bar/task_mode_commands.h"
#include "launcher/bar/task_scroll.h"
#include "launcher/bar/tray_icon.h"
#include "launcher/bar/window_placer.h"
#include "launcher/interact/launch_item.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"
#include "launcher/services/id_list.h"

namespace vorbin {

class BarHost;

// What the bar works on: owned by the application for the whole run.
struct BarContext {
  Settings& settings;
  Colors& colors;
  Profile& profile;
  GroupTable& groups;
  CmdHistory& history;
  bool win2000OrLater = true;
};

class CBarWindow : public fw::CMappedWindow<CBarWindow> {
 public:
  explicit CBarWindow(BarContext context);
  ~CBarWindow() override;

  // Creates the window at the saved position and height, owned by owner.
  bool createBar(HWND owner, const std::wstring& commandLine);

  // Showing and hiding, task mode (bar_activation.cpp).
  void showBar();
  void hideBar(int kind);
  void setTaskMode(bool on);
  void refreshTaskList();  // bar_tasks.cpp
  // An item's properties: the property sheet of the button in that slot, or
  // the new-item wizard for an empty slot; the result is saved and painted
  // (bar_item_sheets.cpp).
  void editItem(int group, int slot);
  // The options sheet, opened or brought forward (bar_options.cpp).
  void openOptions();
  // Takes over the values of the accepted options sheet and saves them (bar_options.cpp).
  void applyOptions(const Settings& sheet);
  // Takes over the accepted look (written by the appearance page) and paints it.
  void applyAppearance(const Colors& colors);
  // Writes the window state to the profile (bar_window.cpp).
  void saveWindowState();
  // The start is over (the application's loop found nothing left to do):
  // work kept back until then, the tray icon, begins. While the first-run
  // questions are open the loop is theirs; the tray timer stands in.
  void startSettled();

  bool taskMode() const { return m_context.settings.taskMode; }
  // What the bar shows and how, for those who measure or check it.
  TaskList& taskList() { return m_tasks; }
  const TaskTable& tasks() const { return m_tasks.table(); }
  TaskModeCommands& taskCommands() { return m_taskCommands; }
  const ReadoutBoxes& readoutBoxes() const { return m_view.readoutBoxes(); }
  HitGeometry hitGeometry() const { return m_actions.hitGeometry(); }

  const AddRequestQueue& addRequests() const { return m_requests; }
  // Set while a group sheet or a folder scan runs: DDE commands, drops and
  // close wait in it and run when the last one ends.
  ModalBusy& modalBusy() { return m_modal; }

  // Painting, handed to the view (bar_window.cpp, bar_view.cpp).
  // Repaints one button (group 0: the quick list) into the bar image and
  // copies only its cell to the window. Empty and hidden slots do nothing.
  void repaintButton(int group, int slot, ButtonLook look = {});
  // Fonts, metrics and layout again (font, metrics, display or mode changed):
  // resizes the bar to the new width and paints everything again.
  void relayout();
  // Colours and pictures again from the settings, then a full repaint.
  void loadColours();
  // The next paint draws the whole bar into its image first.
  void repaintAll();
  // The next paint draws the group display again (tabs, buttons, task list)
  // over the kept rest of the bar: what changes when a group is chosen, an
  // area takes the keyboard or a task is pressed.
  void repaintContent();
  const BarLayout& layout() const { return m_view.layout(); }
  // Where a slot's button is, when it is visible.
  std::optional<ButtonGeometry> slotGeometry(int group, int slot) const {
    return m_view.slotGeometry(group, slot);
  }

  static std::span<const fw::MessageEntry<CBarWindow>> messageMap();

 private:
  // Lifetime, painting, the system's notices and timers (bar_window.cpp).
  LRESULT onCreate(WPARAM, LPARAM);
  LRESULT onDestroy(WPARAM, LPARAM);
  LRESULT onClose(WPARAM, LPARAM);
  LRESULT onQueryEndSession(WPARAM, LPARAM);
  LRESULT onEndSession(WPARAM, LPARAM);
  LRESULT onPaint(WPARAM, LPARAM);
  LRESULT onEraseBackground(WPARAM, LPARAM);
  LRESULT onNcCalcSize(WPARAM, LPARAM);
  LRESULT onNcPaint(WPARAM, LPARAM);
  LRESULT onNcActivate(WPARAM, LPARAM);
  LRESULT onSysColorChange(WPARAM, LPARAM);
  LRESULT onSettingChange(WPARAM, LPARAM);
  LRESULT onDisplayChange(WPARAM, LPARAM);
  LRESULT onDpiChanged(WPARAM, LPARAM);
  LRESULT onTimer(WPARAM, LPARAM);
  LRESULT onShowWindow(WPARAM, LPARAM);
  LRESULT onStyleChanging(WPARAM, LPARAM);
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Size, placement and resizing, handed to the placer (bar_placement.cpp).
  LRESULT onSize(WPARAM, LPARAM);
  LRESULT onWindowPosChanging(WPARAM, LPARAM);
  LRESULT onWindowPosChanged(WPARAM, LPARAM);
  LRESULT onGetMinMaxInfo(WPARAM, LPARAM);
  LRESULT onNcHitTest(WPARAM, LPARAM);
  LRESULT onNcLButtonDown(WPARAM, LPARAM);
  LRESULT onNcLButtonUp(WPARAM, LPARAM);
  LRESULT onNcRButtonUp(WPARAM, LPARAM);
  LRESULT onSetCursor(WPARAM, LPARAM);

  // Showing, hiding, activation and hot keys (bar_activation.cpp).
  LRESULT onActivate(WPARAM, LPARAM);
  LRESULT onHotKey(WPARAM, LPARAM);
  LRESULT onHookActivate(WPARAM, LPARAM);
  LRESULT onHookNewWindowActive(WPARAM, LPARAM);
  LRESULT onHookTaskChange(WPARAM, LPARAM);  // bar_tasks.cpp

  // Mouse and keyboard, handed to the pointer actions and the keyboard focus
  // (bar_input.cpp); the wheel and the group scroll bar (bar_tab_scroll.cpp).
  LRESULT onButtonDown(WPARAM, LPARAM);
  LRESULT onButtonUp(WPARAM, LPARAM);
  LRESULT onMouseMove(WPARAM, LPARAM);
  LRESULT onMouseLeave(WPARAM, LPARAM);
  LRESULT onDoubleClick(WPARAM, LPARAM);
  LRESULT onMouseWheel(WPARAM, LPARAM);
  LRESULT onVScroll(WPARAM, LPARAM);
  LRESULT onKeyDown(WPARAM, LPARAM);
  LRESULT onKeyUp(WPARAM, LPARAM);
  LRESULT onSysKeyDown(WPARAM, LPARAM);
  LRESULT onSysKeyUp(WPARAM, LPARAM);
  LRESULT onSysChar(WPARAM, LPARAM);

  // Commands, menus and the custom messages (bar_commands.cpp).
  LRESULT onSysCommand(WPARAM, LPARAM);
  LRESULT onCommand(WPARAM, LPARAM);
  LRESULT onInitMenuPopup(WPARAM, LPARAM);
  LRESULT onMenuSelect(WPARAM, LPARAM);
  LRESULT onEnterMenuLoop(WPARAM, LPARAM);
  LRESULT onExitMenuLoop(WPARAM, LPARAM);
  LRESULT onEnterIdle(WPARAM, LPARAM);
  LRESULT onNotify(WPARAM, LPARAM);
  LRESULT onDropFiles(WPARAM, LPARAM);
  LRESULT onDdeInitiate(WPARAM, LPARAM);
  LRESULT onDdeExecute(WPARAM, LPARAM);
  LRESULT onDdeRequest(WPARAM, LPARAM);
  LRESULT onDdeTerminate(WPARAM, LPARAM);
  LRESULT onAddRequest(WPARAM, LPARAM);
  LRESULT onAddRequestsQueued(WPARAM, LPARAM);
  LRESULT onTrayCallback(WPARAM, LPARAM);
  LRESULT onDropsQueued(WPARAM, LPARAM);
  LRESULT onOptionsClosed(WPARAM, LPARAM);
  LRESULT onDragOver(WPARAM, LPARAM);
  LRESULT onRaise(WPARAM, LPARAM);

  // What the view paints beyond the model, from the bar's state (bar_window.cpp).
  BarScene scene();
  // The layout in force: the placer's limits and ApplButtonRow follow it.
  void layoutTaken(const BarLayout& layout);

  // The bar's state after groups changed or one was removed (bar_commands.cpp).
  void groupsChanged();
  void groupRemoved(int index);

  // How the bar's starts report, and whether the bar hides after one (bar_commands.cpp).
  LaunchContext launchContext(bool hideAfter);

  // What a released box does (bar_boxes.cpp).
  void runBoxCommand(const Hit& box);

  BarContext m_context;
  // Collaborators.
  ModalBusy m_modal;
  WindowPlacer m_placer;
  TrayIcon m_tray;
  ButtonDrag m_drag;
  HoverTimers m_timers;
  ButtonMarks m_marks;
  TaskList m_tasks;
  // The tab area's rows and the group scroll bar (tab_area.h).
  TabArea m_tabArea;
  PointerGuard m_guard;
  BarView m_view;
  ItemAdder m_adder;
  DdeConversation m_dde;
  AddRequestQueue m_requests;
  SystemCommands m_system;
  // The keyboard and the mouse, calling back through the host (bar_host.h).
  friend class BarHost;
  std::unique_ptr<BarHost> m_host;
  KeyboardFocus m_keys;
  PointerActions m_actions;
  BarMenus m_menus;  // the context menus and the bar menu (bar_menus.h)
  // The tool tips, made on the first pointer move (bar_tooltips.h).
  BarToolTips m_tips;

  // Task mode's buttons (task_mode_commands.h).
  TaskModeCommands m_taskCommands;
  // Starting items (item_starter.h).
  ItemStarter m_starter;
  bool m_active = false;
  bool m_topByLock = false;       // TOP was switched on by LOCK, and goes with it
  bool m_keyMenuPending = false;  // SC_KEYMENU: the menu loop puts the bar back in place
  bool m_gesturePending = false;  // the activation gesture sent the bar hot key
  DWORD m_processId = 0;
  std::wstring m_pendingCommandLine;  // for the start-up run at WM_CREATE
  HWND m_optionsSheet = nullptr;
  // Drags from other programs and the bar's own drops (drop_handler.h).
  DropHandler m_drops;
};

}  // namespace vorbin
