// Press, move and release on the bar as a state machine over hit results: it
// keeps the press state and the button selection and says what the bar window
// must do (repaint, draw, arm timers, drag, start items, open menus).
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "launcher/bar/bar_timers.h"
#include "launcher/interact/hit_areas.h"

namespace vorbin {

struct PointerSettings {
  bool shiftSelOnly = false;
  int exeLimit = 3;
  int dragWidth = 4, dragHeight = 4;  // the system's drag rectangle
  int intervalAtSel = 40, intervalAtDrop = 100, intervalAtScroll = 200, flushTime = 250;
};

// What the bar knows about the point of a press.
struct PressInput {
  int button = 1;  // 1 left, 2 right
  int x = 0, y = 0;
  Hit hit;
  bool shift = false;
  bool modal = false;     // a modal operation of the bar is running
  bool occupied = false;  // the pressed slot holds an item
  HitRect image;          // the pressed button's image
  int gridColumns = 1;
  bool taskMode = false;
  bool placeholderTab = false;  // the pressed tab is the empty placeholder group
  int groupRows = 0;            // rows of buttons of the shown group (its list scrolls only beyond one)
};

struct TimerRequest {
  int id = 0;
  int milliseconds = 0;
};

struct PointerEffects {
  bool capture = false;  // take the mouse capture
  bool releaseCapture = false;
  std::optional<int> activateArea;  // another area became the active one
  std::optional<int> selectGroup;   // a tab press (-1: only activate the bar)
  bool repaintHighlights = false;
  std::vector<int> drawPressed;     // buttons drawn pressed
  std::optional<int> drawReleased;  // the pressed button drawn released again
  std::optional<HitRect> drawBand;  // the focus rectangle now (the previous one is erased)
  bool eraseBand = false;
  bool startButtonDrag = false;
  int dragOffsetX = 0, dragOffsetY = 0;
  std::optional<int> startTabDrag;  // group index
  std::vector<TimerRequest> armTimers;
  std::vector<int> killTimers;
  std::vector<int> launchSlots;  // in selection order
  std::optional<int> contextMenuSlot;
  // A right release on a button, a group tab or a task entry: the menu of what was pressed.
  std::optional<Hit> contextMenu;
  std::optional<int> contextHelp;
  std::optional<Hit> pressedBox;  // a key or box of areas 4, 5, 7, 8, 11, 15 drawn pressed
  std::optional<Hit> boxCommand;  // released over the box it was pressed on: its command runs
  bool toggle24Hour = false;
  std::optional<int> listScrollRepeat;  // 1 up, 2 down: scroll and repeat while held
  bool confirmDeclined = false;
  // The button now under the pointer, hovering or dragging, gets the hot
  // highlight (area kNone: no button any more).
  std::optional<Hit> hot;
  // Hovering came into the tabs, the grid or the quick list: the area to make active.
  std::optional<int> hoverArea;
  std::optional<int> pressedTask;   // task mode: the entry drawn pressed (0: none any more)
  std::optional<int> switchToTask;  // task mode: task command 0 for this entry
  // Task mode: a rubber band over the list touches these entries now (the
  // cells of CellsInRect are entry numbers there); bandBegins on its first move.
  std::optional<std::vector<int>> bandEntries;
  bool bandBegins = false;
};

class BarPointer {
 public:
  explicit BarPointer(PointerSettings settings) : m_settings(settings) {}
  // The options may change between presses; the selection stays.
  void setSettings(const PointerSettings& settings) { m_settings = settings; }

  // Cells a rectangle touches, in the pressed area (given by the bar's geometry).
  using CellsInRect = std::function<std::vector<int>(const HitRect&)>;
  // The top left of the smallest cell block holding these slots.
  using BlockOrigin = std::function<std::pair<int, int>(const std::vector<int>&)>;
  // Asked before starting more buttons than ExeLimit; true to go on.
  using Confirm = std::function<bool(int count)>;

  PointerEffects press(const PressInput& input, int activeArea, int currentGroup);
  PointerEffects move(int x, int y, const Hit& hit, int currentGroup, bool taskMode,
                      const CellsInRect& cellsInRect, const BlockOrigin& blockOrigin);
  PointerEffects release(int x, int y, const Hit& hit, const Confirm& confirm);
  // The pointer left the bar.
  PointerEffects leave();

  bool pressed() const { return m_pressed; }
  bool dragging() const { return m_dragging; }
  int selectMode() const { return m_selectMode; }
  const std::vector<int>& selection() const { return m_selection; }
  int selectionArea() const { return m_selectionArea; }
  // What the running press began on (a drag's pressed button or tab).
  const Hit& pressHit() const { return m_pressHit; }
  void clearSelection() { m_selection.clear(); }

 private:
  bool isButtonArea(int area) const { return area == hit_area::kGrid || area == hit_area::kQuick; }
  void select(int slot);
  bool isSelected(int slot) const;
  // The band from the press point to (x, y), drawn and remembered.
  HitRect bandTo(int x, int y, PointerEffects& e);
  // A move while an entry of the task list (or a place in it) is held.
  PointerEffects taskMove(int x, int y, const CellsInRect& cellsInRect);

  PointerSettings m_settings;
  bool m_pressed = false;
  bool m_dragging = false;
  bool m_blinking = false;
  int m_button = 0;
  int m_pressX = 0, m_pressY = 0;
  Hit m_pressHit;
  int m_selectMode = 0;
  std::optional<HitRect> m_band;
  std::vector<int> m_selection;
  int m_selectionArea = 0;
  bool m_placeholderTab = false;
  bool m_taskPress = false;  // the press is on the task list
  bool m_taskBandAllowed = false;
  bool m_taskBand = false;  // the task press draws a rubber band
  bool m_pressOccupied = false;
  std::optional<int> m_hoverGroup;
  Hit m_hot;       // the button under the pointer
  Hit m_dragOver;  // what the drag was over at the last move
  int m_hoverArea = hit_area::kNone;
};

}  // namespace vorbin
