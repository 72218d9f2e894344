// The pickers' decisions without windows: the command history, quoting and
// rebuilding of a typed command, the multi-select result buffer, the browse
// filter text, and the icon grid's cells, moves and hit test.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/interact/launch_rules.h"
#include "launcher/model/settings.h"
#include "launcher/services/rect_math.h"

namespace vorbin {

// ---- Command history -------------------------------------------------------

// Puts the command at the top: an entry equal to it moves up, otherwise all
// move down one place and the last drops out. Empty entries end the list, so
// an entry after a gap is lost; an empty command changes nothing.
void addToHistory(CmdHistory& history, std::wstring_view command);
// The texts the drop-down shows: in order, up to the first empty one.
std::vector<std::wstring> historyEntries(const CmdHistory& history);

// ---- Names and commands -----------------------------------------------------

// Wrapped in double quotes when it contains a blank and is not quoted yet.
std::wstring quoteIfBlank(std::wstring_view name);

struct RebuiltCommand {
  std::wstring text;  // program (full path when found, quoted when it has a blank) + " " + arguments
  bool fits = true;   // false: longer than the limit; the caller refuses it and says so
};
// The confirmed text of the history field as it is run and remembered:
// trimmed, split into program and arguments, the program made a full path
// when it names an existing file.
RebuiltCommand rebuildCommand(std::wstring_view typed, LaunchSystem& sys, size_t limit = kMaxPathChars);
// The folder of a rebuilt command's program when it is a full path ("C:\\"
// for a program at a drive's root); empty for a bare name or a relative path.
std::wstring programFolder(std::wstring_view command);

// ---- Result buffer ----------------------------------------------------------

// The characters the open-file dialog may fill with several names (its
// count is in characters, not bytes).
inline constexpr size_t kMultiSelectChars = 32767;

// What the dialog wrote: one full path, or the folder followed by the file
// names, each NUL-ended, the whole ended by an empty name. Reads stop at the
// end of the buffer even without the final NUL. Returns full paths.
std::vector<std::wstring> pickedPaths(std::span<const wchar_t> buffer);

// ---- Filters ----------------------------------------------------------------

// "desc|pattern|desc|pattern|" as the string tables hold it, to the system's
// NUL-separated form (ended by two NULs). A text holding NULs already is kept.
std::wstring systemFilter(std::wstring_view filter);
// The pattern of the pair numbered filterIndex (1-based); "*.*" when there is none.
std::wstring filterPattern(std::wstring_view filter, int filterIndex);

// ---- Placement ----------------------------------------------------------------

// Where the picker shows again after it was last left at `saved`: the same
// size, but never smaller than it opens (`minWidth` x `minHeight`) nor larger
// than the work area, moved inside the work area. An empty `saved` (never
// shown, or a damaged value) gives nothing: the dialog keeps its own place.
std::optional<Rect> restoredPickerBox(Rect saved, Rect work, int minWidth, int minHeight);

// ---- Icon grid --------------------------------------------------------------

namespace icon_grid {
inline constexpr int kCell = 40;  // cell size in pixels
inline constexpr int kColumns = 6;
inline constexpr int kVisibleRows = 5;
inline constexpr int kIconOffset = 4;   // icon position within its cell
inline constexpr int kMaxIcons = 2000;  // a folder scan stops here: handles are a finite quota

struct Cell {
  int row = 0;
  int column = 0;
  bool operator==(const Cell&) const = default;
};

inline int indexOf(Cell cell) { return cell.row * kColumns + cell.column; }
inline Cell cellOf(int index) { return {index / kColumns, index % kColumns}; }
// Rows needed for count icons.
int rowCount(int count);
// The largest top row the list can scroll to.
int maxTopRow(int count);

enum class Move { kLeft, kRight, kUp, kDown, kHome, kEnd, kPageUp, kPageDown };
// The cell after a key, or the same cell when the move would leave the icons.
// Left wraps to the end of the previous row, right to the start of the next.
Cell move(Cell from, Move key, int count);
// The cell under a client point of the list, the top row visible; nothing
// when the point lies beyond the last icon (the selection stays).
std::optional<Cell> hitTest(int x, int y, int topRow, int count);
}  // namespace icon_grid

}  // namespace vorbin
