// The bar window: the launcher's main window, its state, its message table
// and the operations other parts of the launcher call on it.
#pragma once
#include <windows.h>

#include <memory>
#include <span>
#include <vector>

#include "framework/window.h"
#include "launcher/app/startup_rules.h"
#include "launcher/bar/bar_readouts.h"
#include "launcher/bar/bar_rules.h"
#include "launcher/bar/key_bindings.h"
#include "launcher/bar/task_change.h"
#include "launcher/bar/tab_scroll.h"
#include "launcher/interact/bar_pointer.h"
#include "launcher/interact/launch_item.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_painter.h"
#include "launcher/render/clock_text.h"
#include "launcher/services/find_files.h"
#include "launcher/services/folder_walk.h"
#include "launcher/services/id_list.h"

namespace vorbin {

// Messages of the bar beyond the system's and the hook library's.
inline constexpr UINT kMsgTrayCallback = WM_USER + 0x07D;   // 0x047D
inline constexpr UINT kMsgDropsQueued = WM_USER + 0x07E;    // 0x047E
inline constexpr UINT kMsgOptionsClosed = WM_USER + 0x07F;  // 0x047F
inline constexpr UINT kMsgDragOver = 0x022B;
inline constexpr UINT kMsgRaise = 0x022E;

// System commands of the bar's own menus.
inline constexpr UINT kCmdExit = 0x0020;
inline constexpr UINT kCmdEndSession = 0x0040;
inline constexpr UINT kCmdOptions = 0x0080;
inline constexpr UINT kCmdHelp = 0x8010;
inline constexpr UINT kCmdTip = 0x8020;
inline constexpr UINT kCmdAbout = 0x8030;
inline constexpr UINT kCmdFrameworkHelp = 0xE146;

// Timers of the bar (the blink, 4, and the drag scroll, 6, come with the mouse operations).
enum BarTimer : UINT_PTR {
  kTimerClock = 1,
  kTimerDelayedHide = 2,
  kTimerHover = 3,
  kTimerArrowRepeat = 7,
  // Adds the tray icon if the start has not settled by then (fires once).
  kTimerTrayIcon = 9,
};

// What the bar works on: owned by the application for the whole run.
struct BarContext {
  Settings& settings;
  Colors& colors;
  Profile& profile;
  GroupTable& groups;
  CmdHistory& history;
  bool win2000OrLater = true;
};

// Resize modes (the same codes as the hit areas of the edges).
enum ResizeMode { kNoResize = 0, kResizeTop = 12, kResizeBottom = 15, kResizeMaximize = 4 };

// How a single button is drawn: hot or pressed, or selected (blended with ActTitle).
struct ButtonLook {
  bool highlighted = false;
  bool selected = false;
};

struct TrayRequest;

class CBarWindow : public fw::CMappedWindow<CBarWindow> {
 public:
  explicit CBarWindow(BarContext context);
  ~CBarWindow() override;

  // Creates the window at the saved position and height, owned by owner.
  bool createBar(HWND owner, const std::wstring& commandLine);

  void showBar();
  void hideBar(int kind);
  void setTaskMode(bool on);
  void refreshTaskList();
  void openOptions();
  // Takes over the values of the accepted options sheet and saves them.
  void applyOptions(const Settings& sheet);
  // Writes the window state to the profile.
  void saveWindowState();
  // The start is over (the application's loop found nothing left to do):
  // work kept back until then, the tray icon, begins. While the first-run
  // questions are open the loop is theirs; the tray timer stands in.
  void startSettled();

  int lockLevel() const { return m_context.settings.lockLevel; }
  bool taskMode() const { return m_context.settings.taskMode; }
  const StartupPlan& startupPlan() const { return m_startupPlan; }

  // A request of message 0x0520, copied out of the sender's memory.
  struct AddRequest {
    uint32_t flags = 0;
    std::wstring path;   // a path or text
    IdListBytes idList;  // with flag 0x200: the item-ID list
  };
  // Requests taken and waiting for the adding of items.
  const std::vector<AddRequest>& addRequests() const { return m_addRequests; }
  int barWidth() const { return m_width; }
  int barHeight() const { return m_height; }
  const TaskTable& tasks() const { return m_tasks; }

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
  const BarLayout& layout() const { return m_layout; }
  const ReadoutBoxes& readoutBoxes() const { return m_readoutBoxes; }
  // Where a slot's button is, when it is visible.
  std::optional<ButtonGeometry> slotGeometry(int group, int slot) const;

  // The hit areas under the bar's current layout and group display.
  HitGeometry hitGeometry() const;
  // The press, selection and drag state of the mouse operations.
  const BarPointer& pointer() const { return m_pointer; }

  static std::span<const fw::MessageEntry<CBarWindow>> messageMap();

 private:
  // Painting (bar_paint.cpp).
  FontSettings fontSettings() const;
  void computeLayout();
  BarPaintState paintState();
  // Makes the bar image match the client size and state; true when it was
  // painted anew (all of it, or its group display).
  bool ensureBarImage(HDC reference);
  void paintBarImage(HDC dc, bool contentOnly);
  void paintGroupDisplay(HDC dc);
  void paintTaskList(HDC dc);
  void paintScrollColumn(HDC dc);
  void paintSlot(HDC dc, int group, int slot, ButtonLook look);
  int firstVisibleSlot(int group) const;

  // Lifetime and painting (bar_window.cpp).
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
  LRESULT onTimer(WPARAM, LPARAM);
  LRESULT onShowWindow(WPARAM, LPARAM);
  LRESULT onStyleChanging(WPARAM, LPARAM);

  // Size, placement and resizing (bar_placement.cpp).
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
  LRESULT onHookTaskChange(WPARAM, LPARAM);

  // Mouse and keyboard (bar_input.cpp).
  LRESULT onButtonDown(WPARAM, LPARAM);
  LRESULT onButtonUp(WPARAM, LPARAM);
  LRESULT onMouseMove(WPARAM, LPARAM);
  LRESULT onMouseLeave(WPARAM, LPARAM);  // bar_pointer_glue.cpp
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
  LRESULT onDde(WPARAM, LPARAM);
  LRESULT onAddRequest(WPARAM, LPARAM);
  LRESULT onTrayCallback(WPARAM, LPARAM);
  LRESULT onDropsQueued(WPARAM, LPARAM);
  LRESULT onOptionsClosed(WPARAM, LPARAM);
  LRESULT onDragOver(WPARAM, LPARAM);
  LRESULT onRaise(WPARAM, LPARAM);

  // Helpers.
  void startClock();
  void stopClock();
  void clearPendingActions();
  void registerBarHotKey();
  void simulateBarHotKey();
  void applyWindowRegion();
  void runStartupLaunch(const std::wstring& commandLine);
  // Starts what the start-up plan lists and the start-up groups.
  void launchStartupPlan();
  // Pointer-carrying messages are taken only from the launcher's own thread:
  // a hook on the thread's queue turns posted ones into WM_NULL.
  void installPointerGuard();
  void removePointerGuard();
  static LRESULT CALLBACK pointerGuardProc(int code, WPARAM wParam, LPARAM lParam);
  // Adds or removes the notification-area icon. At start the icon is added
  // on a short-lived thread (the exchange with the shell's tray takes a few
  // milliseconds and the bar need not wait for it); every later change first
  // waits for that addition to finish.
  void addTrayIcon(bool add);
  void addTrayIconInBackground();
  void finishTrayIcon();
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void endSession();
  void exitCommand();
  void showHelp();
  // At the point; with a rectangle, the menu keeps clear of it.
  void showSystemMenu(POINT at, const RECT* keepUncovered = nullptr);
  // Mouse operations of the hit areas (bar_pointer_glue.cpp).
  PointerSettings pointerSettings() const;
  Hit slotHit(Hit hit) const;  // a grid cell's index becomes its slot
  int groupOfArea(int area) const;
  PressInput pressInput(int button, int x, int y, bool shift) const;
  void applyPointerEffects(const PointerEffects& e);
  void showSelection(bool selected);
  void drawPressedFace(const PixelRect& r, COLORREF edge);
  void showBand(const std::optional<HitRect>& band);
  bool confirmLaunch(int count);
  void launchSelected(int group, const std::vector<int>& slots);
  void pressBox(const Hit& box);
  void runBoxCommand(const Hit& box);
  void execDialog();
  // How the selection shows a button now (whole repaints keep it).
  ButtonLook slotLook(int group, int slot) const;
  // The hot highlight moves to this button (area 0: none).
  void showHot(const Hit& hot);
  void trackLeave();
  // A task command on one entry of the task list.
  void runTaskCommand(int entry, int command);
  // The pressed look of a prompting item's button before its file pick.
  void animatePromptButton(int group, int slot);
  // The image-list drag of the selected buttons (bar_drag_start.cpp).
  void beginButtonDrag(int group, const std::vector<int>& slots, int offsetX, int offsetY);
  void beginTabDrag(int group);
  void beginPictureDrag(const std::vector<PixelRect>& parts, int offsetX, int offsetY);
  // While a dragged tab is held above or below the tab area, the tab rows scroll.
  void scrollTabsDuringDrag();
  void moveButtonDrag();
  void endButtonDrag();
  // The box a key binding presses, if it presses one.
  static std::optional<Hit> bindingBox(const KeyBinding& binding);
  void functionKeyCommand(int key);
  // The group scroll bar and the wheel (bar_tab_scroll.cpp).
  TabRows groupTabRows() const;
  // Makes or removes the group scroll bar as GrpScrollMode says, then syncs it.
  void updateGroupScrollBar();
  // Places the bar beside the tabs, hides it in task mode, sets its range and thumb.
  void syncGroupScrollBar();
  void scrollTabsTo(int offset);
  void groupScrollRequest(int request, int thumb);
  void wheelAt(POINT client, int delta, bool pages);
  // A maximized bar restores on the screen it is on (bar_placement.cpp).
  void keepRestoredOnBarScreen();
  // The keyboard's focus: the button under the pointer (bar_key_focus.cpp).
  void pointerOnto(const PixelRect& r);
  Hit hitUnderPointer() const;
  void focusTab(int tab);
  void focusSlot(int group, int slot);
  void keyFocus(const KeyBinding& binding);
  void keyTab();
  void keyEnter(const KeyBinding& binding);
  void releaseKeyPress();
  // Remembers the delayed action the pointer's effects arm or end (bar_input.cpp).
  void notePendingTimers(const PointerEffects& e, int x, int y);
  bool scrollList(int direction);  // true when the list moved
  void listScrollRepeat(int direction);
  bool pointerTimer(UINT_PTR id);
  // Whether the pointer is over the tab of that group now.
  bool pointerOverTab(int group) const;
  // The help popup of a right press, from the help file beside the program.
  void showContextHelpPopup(int id);
  void pressBinding(const KeyBinding& binding);
  void releaseBinding();
  bool itemHotKey(int id);
  // Starts an item; the bar hides afterwards unless it is locked.
  void launchItemAt(int group, int slot);
  LaunchContext launchContext(bool hideAfter);
  void tickClock();
  // The task entry of a window, when the listing rules take it.
  bool taskEntryFor(HWND window, TaskEntry& entry) const;
  bool restoreForeignWindowWithHotKey(uint16_t hotKey);
  int minHeight() const;
  int maxHeight() const;
  int edgeHeight() const;
  void recordPlacement();

  BarContext m_context;
  int m_width = 0;
  int m_height = 0;
  bool m_maximized = false;
  bool m_placeAtPoint = false;
  bool m_keyMenuPending = false;
  bool m_gesturePending = false;
  POINT m_activationPoint{};
  int m_normalHeight = 0;
  int m_savedHeight = 0;
  int m_resizeAnchor = 0;
  int m_pendingTimer = 0;
  POINT m_pendingPoint{};
  int m_hoveredGroup = -1;
  int m_scrollDirection = 0;
  const KeyBinding* m_armedBinding = nullptr;
  HWND m_optionsSheet = nullptr;
  std::vector<std::wstring> m_queuedDrops;  // filled by the drop target
  std::vector<AddRequest> m_addRequests;
  TaskTable m_tasks;
  bool m_blinkPhase = false;
  // What the window region was made for.
  SIZE m_regionSize{-1, -1};
  int m_regionCorners = -1;
  int m_regionFlat = 0;

  // Shared with painting and the mouse operations.
  int m_currentArea = 1;
  int m_returnGroup = 1;
  int m_resizeMode = kNoResize;
  bool m_dragging = false;
  bool m_active = false;
  bool m_clockRunning = false;
  bool m_trayIcon = false;
  // The tray icon waits for the start to settle.
  bool m_trayPending = false;
  HANDLE m_trayThread = nullptr;
  std::shared_ptr<TrayRequest> m_trayRequest;
  UINT m_taskbarCreated = 0;
  DWORD m_processId = 0;
  StartupPlan m_startupPlan;
  std::wstring m_pendingCommandLine;
  HHOOK m_pointerGuard = nullptr;
  // Painting: metrics, layout, colours and the off-screen bar image.
  LayoutMetrics m_metrics;
  // The button font before its size adjustment, chosen with the layout.
  LOGFONTW m_buttonFont{};
  BarLayout m_layout;
  ReadoutBoxes m_readoutBoxes;
  SlotPictures m_pictures;
  PaintKit m_kit;
  fw::Bitmap m_barImage;
  SIZE m_imageSize{0, 0};
  bool m_imageValid = false;
  // False when only the group display (tabs, buttons, task list) must be painted again.
  bool m_contentValid = false;
  // What the clock and indicator last showed.
  ReadoutMemory m_readouts;
  // Mouse operations: the pointer state, the rubber band and the selection on screen.
  BarPointer m_pointer{PointerSettings{}};
  std::optional<HitRect> m_bandShown;
  std::vector<int> m_shownSelection;
  int m_shownSelectionGroup = -1;
  std::optional<Hit> m_pressedBox;
  bool m_topByLock = false;
  POINT m_pointerAt{};  // the last pointer position in the client area
  bool m_tabDrag = false;
  bool m_tabScrolling = false;
  HWND m_groupScrollBar = nullptr;  // control 202, with GrpScrollMode 1
  WheelSteps m_wheel;
  std::optional<POINT> m_keyPressAt;  // Enter holds the focused button pressed here
  // The button under the pointer, drawn hot.
  int m_hotGroup = -1;
  int m_hotSlot = -1;
  int m_pressedTask = 0;                // the task entry drawn pressed
  void* m_pressedTaskWindow = nullptr;  // its window: the list may change before the release
  // The drag's picture and its cursors (the image lists of the common controls).
  struct _IMAGELIST* m_dragPicture = nullptr;
  struct _IMAGELIST* m_dragCursors = nullptr;
};

}  // namespace vorbin
