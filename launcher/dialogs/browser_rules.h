// The file browser's decisions without windows: the filter list and its
// patterns, which names are listed and how, the sort orders, the selection
// text and delete list within their buffers, what OK does with the typed
// text, and which new names a rename accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vorbin {

// Characters of the file-name text and of the delete list, terminators included.
inline constexpr size_t kBrowserTextChars = 32767;

// ---- Filters ---------------------------------------------------------------

struct FilterList {
  std::vector<std::wstring> descriptions;
  std::vector<std::wstring> patterns;  // one per description ("*.*" when it had none)
};
// "desc|pattern|desc|pattern|...": the list ends at the first empty
// description (a trailing "||" adds no blank entry).
FilterList parseFilterText(std::wstring_view text);
// The index kept within the list (0 when it is empty).
int clampFilterIndex(int index, const FilterList& filters);
// The patterns of a field, split at ";" and blanks. Patterns naming another
// folder (with "\", "/" or ":") and "."/".." are left out: the names found
// come back relative to the listed folder.
std::vector<std::wstring> splitFilterPatterns(std::wstring_view field);

// ---- Listing ---------------------------------------------------------------

// Names met once per refresh, case ignored: overlapping patterns
// ("*.txt;*.*") list each file once.
class ListedNames {
 public:
  // True the first time a name is offered.
  bool add(std::wstring_view name);
  void clear() { m_seen.clear(); }
  size_t size() const { return m_seen.size(); }

 private:
  std::unordered_set<std::wstring> m_seen;
};
// A name without a separate short form is shown in lower case with its first
// letter in upper case; others as stored.
std::wstring shownFileName(std::wstring_view name, bool hasShortForm);

// ---- Sorting ---------------------------------------------------------------

// 0 name ascending, 1 name descending, 2 date ascending, 3 date descending, 4 type.
inline constexpr int kSortModes = 5;
struct FileRecord {
  uint64_t writeTime = 0;  // the file's last-write time
  std::wstring name;
};
// Negative, zero or positive as a goes before, with or after b.
int compareRecords(const FileRecord& a, const FileRecord& b, int mode);
// The extension compared by the type order: from the first full stop on.
std::wstring_view typeExtension(std::wstring_view name);
// A column click: the name column toggles 0/1, the date column 3/2.
int sortAfterColumnClick(int column, int mode);

// ---- Selection and OK ------------------------------------------------------

// One name as it is; several each in double quotes, separated by a blank.
// Names that would not fit in limit characters (terminator included) are
// left out; none at all leaves nothing.
std::wstring selectionText(const std::vector<std::wstring>& names, size_t limit = kBrowserTextChars);

// The shell's list of full paths: each ended by a NUL, the list by another.
// Stops before a path that would not fit in limit characters; count says how
// many paths are in it.
struct DeleteList {
  std::wstring text;
  size_t count = 0;
};
DeleteList deleteList(std::wstring_view folder, const std::vector<std::wstring>& names,
                      size_t limit = kBrowserTextChars);

enum class OkAction { kBeep, kUsePattern, kClose };
struct OkDecision {
  OkAction action = OkAction::kBeep;
  std::wstring text;  // the pattern, or the text returned
};
// The file-name text on OK with selected files selected.
OkDecision decideOk(std::wstring_view text, int selected);
// A wildcard before the first comma, blank or ideographic space.
bool holdsWildcard(std::wstring_view text);

// ---- Rename ----------------------------------------------------------------

// A new name that stays a plain file of the same folder: not empty, not "."
// or "..", no separators, ':' or other reserved characters, no control
// characters, no trailing blank or full stop, no device name, at most 255.
bool acceptableNewName(std::wstring_view name);
// Whether a rename is asked for: a new name differing beyond letter case.
bool renameWanted(std::wstring_view oldName, std::wstring_view newName);

}  // namespace vorbin

namespace vorbin {

// The browser's filter text for a prompting item: the item's own pattern
// (when it has one) through itemTemplate, whose every "%s" it fills, then
// allFiles, then the WildCard setting.
std::wstring filePickFilter(std::wstring_view itemTemplate, std::wstring_view pattern,
                            std::wstring_view allFiles, std::wstring_view wildCard);

}  // namespace vorbin
