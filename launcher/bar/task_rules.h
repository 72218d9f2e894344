// Rules of the task list's commands that need no window: which entries a
// click marks, which windows a command acts on, where cascade and tile put
// the windows, and how a task's program becomes a button.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "launcher/model/group_table.h"
#include "launcher/services/rect_math.h"

namespace vorbin {

// A click on entry n of the list. Without a modifier it switches to the
// window and leaves the marks; Ctrl toggles the entry's mark and makes it the
// anchor; Shift marks every entry from the anchor to it (Ctrl+Shift as well,
// both keeping the other marks), as buttons and files are marked elsewhere.
struct MarkClick {
  int entry = 0;
  bool ctrl = false;
  bool shift = false;
};
struct MarkOutcome {
  bool switchTo = false;  // a plain click: command 0 on the entry
  bool changed = false;   // some mark changed: repaint the list
};
MarkOutcome markByClick(TaskTable& table, int& anchor, const MarkClick& click);
// Marks the entries first..last (in either order, clipped to the list).
bool markRange(TaskTable& table, int first, int last);
int markedCount(const TaskTable& table);

// The windows a command button acts on: the marked entries in list order,
// taken before the first window is touched (a question may let reports
// change the list meanwhile).
std::vector<void*> markedWindows(const TaskTable& table);
// The same with the process each window had when it was listed.
struct TaskTarget {
  void* window = nullptr;
  uint32_t processId = 0;
};
std::vector<TaskTarget> markedTargets(const TaskTable& table);

// An entry's window is still the one listed: it exists and belongs to the
// process recorded for the entry. A gone window's handle may be given to a
// window of another program, which no command may reach.
bool sameTaskWindow(bool exists, uint32_t recordedProcess, uint32_t processNow);

// A rubber band over the list: the entries it touches are marked, the other
// entries are marked only when their windows are in `kept` (the marks that
// stay, taken when the band began). True when some mark changed.
bool markByBand(TaskTable& table, const std::vector<void*>& kept, const std::vector<int>& touched);

// The tile menu's command: bit 0x2000 stacks the windows (horizontal tiling),
// bits 0x70 pick the area: 0x20 left, 0x30 right, 0x40 top, 0x50 bottom half
// of the work area, anything else the whole work area.
struct TileChoice {
  bool horizontal = false;
  Rect area;
};
TileChoice tileChoice(int commandId, const Rect& workArea);

// Tiling count windows in the area: stacked (horizontal) or side by side;
// from four windows on a grid of nearly square shape. The rectangles cover
// the area without overlap.
std::vector<Rect> tileRects(size_t count, const Rect& area, bool horizontal);
// Cascading count windows from the area's top left, each step further down
// and right; a run that would leave the area starts again at the top.
std::vector<Rect> cascadeRects(size_t count, const Rect& area, int step);

// An Explorer folder window: its program's file name is "explorer.exe" (a
// folder merely named so does not count).
bool isExplorerProgram(std::wstring_view path);
// The target of the new button: the path (quoted when it holds a blank),
// then a blank and the arguments when there are any.
std::wstring taskButtonTarget(std::wstring_view path, std::wstring_view arguments);

// The details line of an entry: the program's file name, then its process
// id, priority name and type ("notepad.exe  (pid 12, Normal, 32Bit)").
// Without a known path the line shows "?" for the name.
std::wstring taskDetailsLine(std::wstring_view imagePath, uint32_t processId, std::wstring_view priorityName,
                             std::wstring_view typeName);

// The command that makes a task's program a button; it asks first.
inline constexpr int kMakeButtonCommand = 8;

// The process of each window met while the list is made, learned with few
// questions: each question about another program's window is a trip to the
// window server. The windows of one thread belong to one process, so a thread
// met a second time has its windows listed at once (one question for all of
// them); a thread with a single window costs the one question it always did.
// Kept for one listing only: a handle given to a later window is never read
// from it.
class WindowOwners {
 public:
  // The process recorded for the window by a listing of its thread; 0: not known.
  uint32_t known(const void* window) const;
  // One window's answer (its thread and process): true when its thread's
  // windows should be listed now and handed to listed(). Each thread is
  // listed at most once; a failed answer (zero) asks for nothing.
  bool asked(uint32_t thread, uint32_t process);
  // The windows a listing of one thread gave; they belong to that process.
  void listed(uint32_t process, const std::vector<void*>& windows);

 private:
  std::unordered_map<const void*, uint32_t> m_process;
  std::unordered_map<uint32_t, int> m_timesAsked;  // per thread; -1 once listed
};

// The windows of `all` that are not in `leaveOut`, in the order of `all`.
std::vector<void*> windowsWithout(const std::vector<void*>& all, const std::vector<void*>& leaveOut);

}  // namespace vorbin
