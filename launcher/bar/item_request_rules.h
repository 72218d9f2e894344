// The decisions of adding a button from a request: which slot it takes, the
// title and folder text it gets when the request leaves them empty, and the
// group bookkeeping around Program Manager commands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "launcher/model/group_table.h"

namespace vorbin {

// A request for a program: not a web address, prompt, folder or item-ID list.
bool isProgramRequest(uint32_t flags);

// The slot a request's item takes in the group: the given one, or for -1 the
// first free slot. Nothing for a slot at or past kMaxItemSlots: its value
// would never be loaded again.
std::optional<int> requestSlot(const Group& group, int requested);

// "C:\Tools\edit.exe" -> "edit": the file name without folder and extension.
std::wstring titleFromPath(std::wstring_view path);
// "C:\Tools\edit.exe" -> "C:\Tools"; empty for a bare name. A root keeps its backslash.
std::wstring folderOfPath(std::wstring_view path);
// "Page.url" -> "Page": the last extension of a name dropped.
std::wstring withoutExtension(std::wstring_view name);

// What the glue learned about a request before its texts are chosen.
struct RequestFacts {
  uint32_t flags = 0;           // item flags once an item-ID list with a path became that path
  std::wstring target;          // the target text
  std::wstring title;           // the request's title (or the shortcut's)
  std::wstring folder;          // the request's default folder (or the shortcut's working folder)
  std::wstring program;         // program requests: the program split off the target
  bool argumentsSplit = false;  // arguments came off with it
  std::wstring displayName;     // item-ID list, folder and prompt kinds: the shell's name of the target
};

struct RequestTexts {
  std::wstring title;
  bool keepTarget = true;  // folder and prompt kinds keep their path as folder text only
  std::wstring folder;
  bool iconSource = true;  // a prompting item takes no icon file
};
RequestTexts requestItemTexts(const RequestFacts& facts);

// A shortcut's show command as the item's show bits (1 minimized, 2 maximized).
uint32_t showBitsFromShowCommand(int showCommand);

// The flags of a non-folder add request from the value it came with: the
// web and item-ID list bits kept, a subfolder (bit 1) becomes a folder item.
uint32_t addRequestFlags(uint32_t value);
// Bits 0-1 of the value ask for the new button to be highlighted.
inline bool addRequestHighlights(uint32_t value) { return (value & 3) != 0; }

// A web item's picture file goes with its value only when it is one of the
// launcher's own ".jpg" files straight in its data folder (which ends in a
// backslash): a profile may name any file there.
bool pictureFileDeletable(std::wstring_view file, std::wstring_view dataFolder);
// The file a web item's picture entry names when the launcher may delete it:
// by its bare name, as a capture stores it, or by its path in the data
// folder, under the rule above. Empty for anything else.
std::wstring deletablePicturePath(std::wstring_view named, std::wstring_view dataFolder);

// The key under which an item's picture is kept for the next adds of the
// same source, or nothing when the picture is not kept: a web address, an
// item-ID list (its bytes are no key) or nothing to look up. The flags take
// part, since they choose the decoration.
std::optional<std::wstring> pictureKey(uint32_t flags, std::wstring_view iconFile, int iconIndex,
                                       std::wstring_view path);

// What the shell answered for recent adds (a picture, a split command line
// and shortcut): a run of adds of one program, as a Program Manager string
// makes, asks the shell once. An entry serves for keepMs after it was made;
// at most `capacity` are kept, the oldest going first.
template <class T>
class RecentAnswers {
 public:
  RecentAnswers(uint32_t keepMs, size_t capacity) : m_keepMs(keepMs), m_capacity(capacity) {}
  // The answer kept under key at time now (milliseconds, wrapping), or null.
  const T* find(const std::wstring& key, uint32_t now) const {
    for (const Entry& e : m_entries)
      if (e.key == key) return now - e.made < m_keepMs ? &e.value : nullptr;
    return nullptr;
  }
  void keep(std::wstring key, T value, uint32_t now) {
    if (m_capacity == 0) return;
    // Stale entries and an older one of the same key go first.
    std::erase_if(m_entries, [&](const Entry& e) { return e.key == key || now - e.made >= m_keepMs; });
    if (m_entries.size() >= m_capacity) m_entries.erase(m_entries.begin());
    m_entries.push_back({std::move(key), std::move(value), now});
  }
  size_t size() const { return m_entries.size(); }

 private:
  struct Entry {
    std::wstring key;
    T value;
    uint32_t made = 0;
  };
  uint32_t m_keepMs;
  size_t m_capacity;
  std::vector<Entry> m_entries;  // oldest first
};

// Where the item with `identity` is now: first at its old place (group,
// slot), else anywhere in the table (adds, deletes and moves shift places).
struct SlotPlace {
  int group = 0;
  int slot = 0;
};
std::optional<SlotPlace> findItemByIdentity(const GroupTable& table, SlotPlace hint, uint64_t identity);

// Items saved before their pictures were built, and what each picture is
// made from. A long run of adds saves its items first and builds their
// pictures afterwards, a few at a time, while the bar is idle.
class PendingPictures {
 public:
  struct Entry {
    SlotPlace place;  // where the item was put (a hint: see findItemByIdentity)
    uint64_t identity = 0;
    uint32_t flags = 0;  // the item's flags when it was made (a save adds the picture's depth)
    std::wstring iconFile;
    int iconIndex = 0;
    std::wstring path;
    std::vector<uint8_t> idList;
  };
  void add(Entry entry) { m_entries.push_back(std::move(entry)); }
  bool empty() const { return m_next == m_entries.size(); }
  size_t size() const { return m_entries.size() - m_next; }

  // Hands waiting entries, oldest first, to build(entry, place) for the
  // items still in the table (entries of items gone since are dropped),
  // until none is left or elapsed() reaches budget (one entry at least).
  // Entries added meanwhile (by build, or a nested add) wait their turn.
  // True when entries remain.
  template <class Build, class Elapsed>
  bool run(const GroupTable& table, Build&& build, Elapsed&& elapsed, uint32_t budget) {
    while (m_next < m_entries.size()) {
      // Moved out first: build may add entries and grow the list.
      Entry entry = std::move(m_entries[m_next++]);
      if (const auto place = findItemByIdentity(table, entry.place, entry.identity)) build(entry, *place);
      if (elapsed() >= budget) break;
    }
    if (m_next == m_entries.size()) {
      m_entries.clear();
      m_next = 0;
    }
    return !empty();
  }

 private:
  std::vector<Entry> m_entries;
  size_t m_next = 0;  // entries before this one were handed out
};

// Whether a group may be deleted by title: only one with a section of its own.
inline bool groupDeletable(const GroupTable& table, int index) {
  return index >= 1 && static_cast<size_t>(index) < table.placeholderIndex();
}
// The active group after the group at removed left the table: it moves down
// with the groups behind it and stays within the real groups (the placeholder
// when none is left).
int activeAfterRemoval(int active, int removed, int placeholderAfter);

// Deletes a real group: its section and hot keys, its place in Order and in
// the table. The table is read again from the profile, which then holds
// everything it had, so the active group and tab offset are carried over and
// fixed. False (nothing changed) for the quick group or the placeholder.
bool removeGroup(GroupTable& table, int index);

}  // namespace vorbin
