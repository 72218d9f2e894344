// Reading what another program drops on the bar (file lists, shell ID-list
// arrays, link descriptors, text) and the choices around a drop: the effect
// offered where the pointer is, what the queued drop does, and the names of
// the shortcut files a drag out of the bar carries. Every block comes from
// another process: each offset, count and string is checked against its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/bar/new_item_request.h"
#include "launcher/services/id_list.h"

namespace vorbin {

// A path longer than the system's path buffer (260 with its terminator) would
// be cut into a wrong target: such an element is skipped, not shortened.
inline constexpr size_t kMaxDropPathChars = 259;
// Web addresses may be longer than paths, up to what browsers accept.
inline constexpr size_t kMaxDropUrlChars = 2083;
// The link flag of a file descriptor: the descriptor stands for a web link.
inline constexpr uint32_t kDescriptorLink = 0x8000;

// ANSI bytes to text in the system's code page (the glue's conversion).
using AnsiToWide = std::function<std::wstring(std::string_view)>;

// The paths of a DROPFILES block, in order; elements over kMaxDropPathChars,
// empty ones and one running past the block are skipped. Nothing when the
// header or its file offset does not fit.
std::vector<std::wstring> parseDropFiles(std::span<const uint8_t> block, const AnsiToWide& ansi);

// The absolute ID lists of a "Shell IDList Array" block (parent list joined
// with each object's list); an element whose list is malformed or lies
// outside the block is dropped. Nothing when the count does not fit.
std::vector<IdListBytes> parseIdListArray(std::span<const uint8_t> block);
// True when the block names at least one object and every list it names (the
// parent's and each object's) lies whole inside it. Only such a block may be
// handed on to a reader that trusts its offsets (the shell's drop targets).
bool idListArrayIsWhole(std::span<const uint8_t> block);

// The titles of the link descriptors (flag 0x8000) of a "FileGroupDescriptor"
// block (wide: the W form of 592-byte descriptors, else the A form of 332):
// each file name without its extension, cut at cutText where it occurs (the
// part before it; the part after it when it stands at the start). Nothing
// when the count claims more descriptors than the block holds.
std::vector<std::wstring> parseLinkDescriptors(std::span<const uint8_t> block, bool wide, std::wstring_view cutText,
                                               const AnsiToWide& ansi);
// A descriptor's file name made a link title (exposed for its own tests).
std::wstring linkTitle(std::wstring_view fileName, std::wstring_view cutText);

// The text of a CF_TEXT / CF_UNICODETEXT block up to its terminator or the
// block's end, blanks around it removed.
std::wstring parseDroppedText(std::span<const uint8_t> block, bool wide, const AnsiToWide& ansi);

// What the dropped data offered, read in the order the bar prefers.
struct DropOffer {
  std::optional<std::vector<std::wstring>> files;    // CF_HDROP
  std::optional<std::vector<IdListBytes>> idLists;   // "Shell IDList Array"
  std::optional<std::vector<std::wstring>> links;    // link titles of "FileGroupDescriptor"
  std::optional<std::wstring> text;                  // CF_UNICODETEXT or CF_TEXT
};
// The requests of the first format offered. isFolder tells a folder path;
// idListIsFolder a folder ID list. A web address over kMaxDropUrlChars, a path
// over kMaxDropPathChars and an empty text give nothing.
struct DropFacts {
  std::function<bool(const std::wstring&)> isFolder;
  std::function<bool(const IdListBytes&)> idListIsFolder;
};
std::vector<NewItemRequest> dropRequests(const DropOffer& offer, const DropFacts& facts);
// True when the requests are only web addresses (those are never handed to a
// button's own drop target).
bool onlyWebAddresses(const std::vector<NewItemRequest>& requests);

// OLE drop effects.
inline constexpr uint32_t kEffectNone = 0, kEffectCopy = 1, kEffectMove = 2, kEffectLink = 4;
// The key state's right button (MK_RBUTTON; 4 would be Shift).
inline constexpr uint32_t kDragKeyRight = 2;
inline constexpr uint32_t kDragKeyShift = 4, kDragKeyControl = 8;

// Where a drag from another program is over.
struct DropPlace {
  int area = 0;           // hit area (1 tabs, 2 grid, 3 quick list, 13 caption row, ...)
  bool occupied = false;  // a button with an item
  bool handsToShell = false;  // that item is a folder item or has no target
  uint32_t keys = 0;      // key state at entry
};
// The effect shown while an outside drag is over place: a button that takes
// the drop through the shell answers itself (nullopt: ask the shell's target);
// elsewhere copy, or link when the allowed effects have no copy.
std::optional<uint32_t> outsideDragEffect(const DropPlace& place, uint32_t allowed);
// Whether a drop at place goes whole to the shell's drop target of the
// button's target instead of making requests.
bool dropGoesToShell(const DropPlace& place, bool onlyWeb);

// What processing a queued drop does at its point.
enum class QueuedDropKind {
  kNothing,
  kAddAtSlot,        // one request at the hit slot (asks first when occupied)
  kAddAtFreeSlots,   // several requests, each at the first free slot of that group
  kStartWithEach,    // an occupied button starts once per request
  kElsewhere,        // folders open the registration page, the rest go to the active group
};
struct QueuedDropPlan {
  QueuedDropKind kind = QueuedDropKind::kNothing;
  bool askReplace = false;  // kAddAtSlot on an occupied slot
  std::optional<int> selectGroup;  // a tab was hit: it becomes the active group first
};
// hitArea/occupied from the hit test of the drop point; tabGroup the group of
// a hit tab (then the drop goes to its first free slots).
QueuedDropPlan planQueuedDrop(int hitArea, bool occupied, int tabGroup, bool rightButton, size_t requests);

// A dragged button's shortcut file name: the title made safe for file names,
// names that would mean the folder itself, its parent or a device (".", "..",
// blanks, CON, NUL, COM1, ...) replaced by fallback, made unique against taken
// (compared without case, " (2)" etc. added), and extension (".lnk"/".url") added.
std::wstring dragFileName(std::wstring_view title, std::wstring_view extension, std::wstring_view fallback,
                          std::vector<std::wstring>& taken);
// True for a name the system would read as a device or as a relative step.
bool isRefusedFileName(std::wstring_view name);

// Shift and Control at the drop make a move a copy; a move out with the left
// button deletes the dragged buttons.
bool moveOutDeletes(uint32_t effect, bool rightButtonDrag);

}  // namespace vorbin
