// Groups, items and task entries in memory, and how groups and items are
// filed in the profile: one section per group, one binary value per item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "launcher/model/item_record.h"
#include "launcher/model/profile.h"
#include "launcher/render/icon_image.h"

namespace vorbin {

struct Settings;

inline constexpr wchar_t kQuickSection[] = L"Quick";
inline constexpr wchar_t kGroupPrefix[] = L"Group";
// The legacy group prefix: "group" in half-width katakana of code page 932,
// read through the system's ANSI code page.
inline constexpr char kLegacyGroupPrefixBytes[] = "\xB8\xDE\xD9\xB0\xCC\xDF";
// Groups named by Order beyond this many are not loaded.
inline constexpr size_t kMaxGroups = 10000;
// Largest unpacked group image.
inline constexpr size_t kMaxGroupImageBytes = 6416;

struct Group {
  std::wstring title;
  int dispOffset = 0;  // first visible row
  int startUp = 0;
  uint32_t sectionNumber = 0;
  int count = 0;
  int buttonMode = 0;
  IconImage image;
  int titleCut = 0;          // set by painting
  int firstVisibleSlot = 0;  // dispOffset times buttons per row
  int selectionHead = -1;
  std::vector<std::unique_ptr<Item>> items;  // sparse: an empty slot holds null
  Identity identity;  // which group this is, wherever the table moves it

  Item* item(int slot) const {
    return slot >= 0 && static_cast<size_t>(slot) < items.size() ? items[slot].get() : nullptr;
  }
  size_t itemCount() const;
  // Drops trailing empty slots.
  void trim();
};

// Registers item hot keys with the system for the launcher's thread.
class HotKeyRegistrar {
 public:
  virtual ~HotKeyRegistrar() = default;
  // modifiers: the system's MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4.
  virtual bool registerHotKey(int id, unsigned modifiers, unsigned virtualKey) = 0;
  virtual void unregisterHotKey(int id) = 0;
};
// The system modifiers of a hot-key code (high byte: 1 Shift, 2 Control, 4 Alt).
unsigned systemHotKeyModifiers(uint16_t hotKey);

// What the table needs from the rest of the launcher.
struct ModelOptions {
  bool isV416Later = false;
  bool keepCompression = false;  // as read at start-up, for the whole run
  bool usuallyTopGroup = false;
  std::wstring newGroupTitle;  // resource string 272
  AnsiDecoder decodeAnsi = latin1Decoder;
  HotKeyRegistrar* hotKeys = nullptr;  // none: hot keys are kept but never registered

  static ModelOptions fromSettings(const Settings& settings);
};

enum class MoveMode { kMove = 0, kCopy = 1, kSwap = 2 };

class GroupTable {
 public:
  GroupTable(Profile& profile, ModelOptions options);
  ~GroupTable();
  GroupTable(const GroupTable&) = delete;
  GroupTable& operator=(const GroupTable&) = delete;

  size_t size() const { return m_groups.size(); }
  Group& operator[](size_t index) { return *m_groups[index]; }
  const Group& operator[](size_t index) const { return *m_groups[index]; }
  Group* group(int index) const {
    return index >= 0 && static_cast<size_t>(index) < m_groups.size() ? m_groups[index].get() : nullptr;
  }
  size_t placeholderIndex() const { return m_groups.empty() ? 0 : m_groups.size() - 1; }
  Item* item(int groupIndex, int slot) const;

  int activeGroup = 1;
  int dispGroupOffset = 0;

  const std::wstring& sectionPrefix() const { return m_prefix; }
  Profile& profile() const { return m_profile; }
  const ModelOptions& options() const { return m_options; }

  std::wstring groupSectionName(int index) const;
  void loadGroups();
  // Appends one group read from the section with that number.
  Group& loadGroup(uint32_t sectionNumber);
  bool saveGroupHeader(int index, bool keep) const;
  // Writes (or with remove, deletes) the item's value; name replaces the title in the value name.
  bool saveItem(int groupIndex, int slot, bool remove, const std::wstring* name = nullptr);
  // Re-files stored item values without decoding them; the titles are those
  // of the items at both places when called.
  bool moveItemValue(int srcGroup, int srcSlot, int dstGroup, int dstSlot, MoveMode mode) const;
  // moveItemValue and the same change in memory.
  bool moveItem(int srcGroup, int srcSlot, int dstGroup, int dstSlot, MoveMode mode);
  void saveOrder() const;
  // Makes a real group at or after index; the new group's index, or nothing.
  std::optional<int> ensureGroup(int index, const std::wstring* title, bool insert,
                                 const IconImage* icon = nullptr);
  void saveGroupOffsets() const;
  // Registers, changes or (k = 0) releases the item's hot key; false when the system refuses it.
  bool setItemHotKey(Item& item, uint16_t hotKey);

  // Puts an item into a slot (replacing one there) and returns it.
  Item& placeItem(int groupIndex, int slot, std::unique_ptr<Item> item);
  // Clears a slot: its hot key is released first; trailing empty slots go.
  void removeItem(int groupIndex, int slot);

 private:
  void applyRecord(Item& item, const ItemRecord& record, std::span<const uint8_t> packed);
  void releaseHotKeys(Group& group);
  int takeHotKeyId();

  Profile& m_profile;
  ModelOptions m_options;
  std::wstring m_prefix;
  std::vector<std::unique_ptr<Group>> m_groups;
  std::vector<uint8_t> m_hotKeyIdsInUse;  // index = id
};

// One listed top-level window of the task list.
struct TaskEntry {
  std::wstring title;
  void* window = nullptr;  // window handle
  int marked = 0;
  int showState = 0;  // 0 hidden, 1 normal, 2 minimized, 3 maximized
  int topmost = 0;
  void* icon = nullptr;  // icon handle
  int titleCut = 0;
  std::wstring details;  // the details line: program file, process id, priority
  uint32_t processId = 0;  // the window's process when it was listed
};

// Entry 0 is a dummy; visible windows come before hidden ones.
class TaskTable {
 public:
  void reset();  // only the dummy entry remains
  // Visible windows go after the last visible one, hidden ones at the end.
  void add(TaskEntry entry);
  size_t size() const { return m_entries.size(); }
  TaskEntry& operator[](size_t index) { return m_entries[index]; }
  const TaskEntry& operator[](size_t index) const { return m_entries[index]; }

 private:
  std::vector<TaskEntry> m_entries{TaskEntry{}};
  size_t m_visibleEnd = 1;
};

}  // namespace vorbin
