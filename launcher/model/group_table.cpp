// Groups and items in memory and their sections in the profile.
#include "launcher/model/group_table.h"

#include <algorithm>

#include "launcher/model/settings.h"
#include "launcher/model/value_text.h"
#include "launcher/render/pair_codec.h"

namespace vorbin {

namespace {

constexpr wchar_t kTitleValue[] = L"@Title";
constexpr wchar_t kDispOffsetValue[] = L"DispOffset";
constexpr wchar_t kStartUpValue[] = L"StartUp";
constexpr wchar_t kCountValue[] = L"Count";
constexpr wchar_t kButtonModeValue[] = L"ButtonMode";
constexpr wchar_t kIconDataValue[] = L"IconData";
constexpr wchar_t kOrderValue[] = L"Order";
constexpr wchar_t kIsV416LaterValue[] = L"IsV416Later";
constexpr wchar_t kActGroupValue[] = L"ActGroup";
constexpr wchar_t kDispGrpOffsetValue[] = L"DispGrpOffset";

std::vector<uint8_t> unpack(std::span<const uint8_t> packed, size_t limit) {
  std::vector<uint8_t> out(limit);
  size_t n = unpackPairs(out, packed, pairHeader(static_cast<uint32_t>(packed.size()), 0), limit);
  out.resize(n);
  return out;
}

}  // namespace

size_t Group::itemCount() const {
  return static_cast<size_t>(
      std::count_if(items.begin(), items.end(), [](const auto& p) { return p != nullptr; }));
}

void Group::trim() {
  while (!items.empty() && !items.back()) items.pop_back();
}

unsigned systemHotKeyModifiers(uint16_t hotKey) {
  unsigned control = hotKey >> 8, mods = 0;
  if (control & 1) mods |= 4;  // Shift -> MOD_SHIFT
  if (control & 2) mods |= 2;  // Control -> MOD_CONTROL
  if (control & 4) mods |= 1;  // Alt -> MOD_ALT
  return mods;
}

ModelOptions ModelOptions::fromSettings(const Settings& settings) {
  ModelOptions o;
  o.isV416Later = settings.isV416Later;
  o.keepCompression = settings.keepCompression;
  o.usuallyTopGroup = settings.usuallyTopGroup;
  return o;
}

GroupTable::GroupTable(Profile& profile, ModelOptions options)
    : m_profile(profile), m_options(std::move(options)) {
  if (!m_options.decodeAnsi) m_options.decodeAnsi = latin1Decoder;
  m_prefix =
      m_options.isV416Later ? std::wstring(kGroupPrefix) : m_options.decodeAnsi(kLegacyGroupPrefixBytes);
}

GroupTable::~GroupTable() {
  for (auto& g : m_groups) releaseHotKeys(*g);
}

void GroupTable::releaseHotKeys(Group& group) {
  for (auto& item : group.items)
    if (item) setItemHotKey(*item, 0);
}

Item* GroupTable::item(int groupIndex, int slot) const {
  Group* g = group(groupIndex);
  return g ? g->item(slot) : nullptr;
}

std::wstring GroupTable::groupSectionName(int index) const {
  if (index == 0) return kQuickSection;
  Group* g = group(index);
  return m_prefix + std::to_wstring(g ? g->sectionNumber : 0);
}

void GroupTable::loadGroups() {
  for (auto& g : m_groups) releaseHotKeys(*g);
  m_groups.clear();
  loadGroup(0);
  if (auto order = m_profile.getString(kSettingsSection, kOrderValue)) {
    for (uint32_t n : parseOrder(*order, kMaxGroups)) loadGroup(n);
  } else {
    m_profile.setString(kSettingsSection, kIsV416LaterValue, formatBool(true));
    m_options.isV416Later = true;
    m_prefix = kGroupPrefix;
  }
  m_groups.push_back(std::make_unique<Group>());

  int placeholder = static_cast<int>(placeholderIndex());
  if (m_options.usuallyTopGroup) {
    activeGroup = 1;
    dispGroupOffset = 0;
  } else {
    int act = m_profile.getInt(kSettingsSection, kActGroupValue, 1);
    activeGroup = act <= 0 ? 1 : std::min(act, placeholder);
    dispGroupOffset = m_profile.getInt(kSettingsSection, kDispGrpOffsetValue, 0);
  }
  // With only the quick group the placeholder is group 1; offsets past the end show nothing.
  dispGroupOffset = std::clamp(dispGroupOffset, 0, placeholder);
}

Group& GroupTable::loadGroup(uint32_t sectionNumber) {
  m_groups.push_back(std::make_unique<Group>());
  Group& g = *m_groups.back();
  g.sectionNumber = sectionNumber;
  const std::wstring section = groupSectionName(static_cast<int>(m_groups.size() - 1));

  g.dispOffset = m_profile.getInt(section, kDispOffsetValue, 0);
  g.title = m_profile.getText(section, kTitleValue);
  g.startUp = m_profile.getInt(section, kStartUpValue, 0);
  g.count = m_profile.getInt(section, kCountValue, 0);
  g.buttonMode = m_profile.getInt(section, kButtonModeValue, 0);

  if (auto packed = m_profile.getBinary(section, kIconDataValue)) {
    std::vector<uint8_t> bits = unpack(*packed, kMaxGroupImageBytes);
    if (int depth = depthFromUnpackedLength(bits.size()))
      g.image = makeImage(bits, depth, m_options.keepCompression);
  }

  // Exact value names of the loaded items, to delete the loser of two values on one slot.
  std::vector<std::wstring> loadedNames;
  for (ProfileValue& value : m_profile.values(section)) {
    auto name = parseValueName(value.name);
    if (!name) continue;
    int slot = name->slot;
    if (static_cast<size_t>(slot) >= g.items.size()) {
      g.items.resize(slot + 1);
      loadedNames.resize(slot + 1);
    }
    if (g.items[slot]) {
      m_profile.deleteValue(section, loadedNames[slot]);
      setItemHotKey(*g.items[slot], 0);
      *g.items[slot] = Item{};
    } else {
      g.items[slot] = std::make_unique<Item>();
    }
    loadedNames[slot] = value.name;
    Item& item = *g.items[slot];
    item.title = name->title;
    if (value.kind != ValueKind::kBinary) continue;
    std::vector<uint8_t> record = unpack(value.data, kMaxItemRecordBytes);
    applyRecord(item, decodeItemRecord(record, m_options.decodeAnsi), value.data);
  }
  g.trim();
  return g;
}

void GroupTable::applyRecord(Item& item, const ItemRecord& record, std::span<const uint8_t> packed) {
  item.flags = record.flags;
  item.promptOptions = record.promptOptions;
  item.target = record.target;
  item.folder = record.folder;
  item.text3 = record.text3;
  item.text4 = record.text4;
  item.text5 = record.text5;
  setItemHotKey(item, record.hotKey);
  if (record.image.empty()) {
    item.image = IconImage{};
  } else if (m_options.keepCompression) {
    item.image.depth = static_cast<uint32_t>(record.depth) | kImagePackedFlag;
    item.image.bits = cutPackedRecord(packed, record.imageOffset + record.image.size());
  } else {
    item.image.depth = static_cast<uint32_t>(record.depth);
    item.image.bits = record.image;
  }
}

bool GroupTable::saveGroupHeader(int index, bool keep) const {
  Group* g = group(index);
  if (!g || index < 1) return false;
  const std::wstring section = groupSectionName(index);
  if (!keep) return m_profile.deleteSection(section);
  m_profile.setString(section, kTitleValue, g->title);
  m_profile.setInt(section, kCountValue, g->count);
  m_profile.setInt(section, kButtonModeValue, g->buttonMode);
  if (g->startUp)
    m_profile.setInt(section, kStartUpValue, g->startUp);
  else
    m_profile.deleteValue(section, kStartUpValue);
  std::vector<uint8_t> scratch(kImageScratchBytes);
  std::span<const uint8_t> bits = unpackedImageBits(g->image, scratch);
  if (bits.empty())
    m_profile.deleteValue(section, kIconDataValue);
  else
    m_profile.setBinary(section, kIconDataValue, packPairs(bits));
  return true;
}

bool GroupTable::saveItem(int groupIndex, int slot, bool remove, const std::wstring* name) {
  Group* g = group(groupIndex);
  Item* it = g ? g->item(slot) : nullptr;
  if (!g || (!it && !name)) return false;
  const std::wstring section = groupSectionName(groupIndex);
  if (!remove && !name && it) {
    // A name longer than enumeration reads would be written but never loaded again.
    const size_t suffix = itemValueName(L"", slot).size();
    if (it->title.size() + suffix > kMaxValueNameChars) it->title.resize(kMaxValueNameChars - suffix);
  }
  const std::wstring valueName = itemValueName(name ? *name : it->title, slot);
  if (remove) return m_profile.deleteValue(section, valueName);
  if (!it) return false;
  uint16_t word = 0;
  std::vector<uint8_t> record = encodeItemRecord(*it, &word);
  it->flags = word;
  return m_profile.setBinary(section, valueName, packPairs(record));
}

bool GroupTable::moveItemValue(int srcGroup, int srcSlot, int dstGroup, int dstSlot, MoveMode mode) const {
  Item* src = item(srcGroup, srcSlot);
  if (!src || !group(dstGroup) || dstSlot < 0 || dstSlot >= kMaxItemSlots) return false;
  const std::wstring srcSection = groupSectionName(srcGroup), dstSection = groupSectionName(dstGroup);
  const std::wstring srcName = itemValueName(src->title, srcSlot);
  auto srcData = m_profile.getBinary(srcSection, srcName);
  if (!srcData) return false;

  if (mode == MoveMode::kSwap) {
    Item* dst = item(dstGroup, dstSlot);
    std::optional<std::vector<uint8_t>> dstData;
    std::wstring dstName;
    if (dst) {
      dstName = itemValueName(dst->title, dstSlot);
      dstData = m_profile.getBinary(dstSection, dstName);
    }
    m_profile.deleteValue(srcSection, srcName);
    if (dstData) m_profile.deleteValue(dstSection, dstName);
    m_profile.setBinary(dstSection, itemValueName(src->title, dstSlot), *srcData);
    if (dstData) m_profile.setBinary(srcSection, itemValueName(dst->title, srcSlot), *dstData);
    return true;
  }
  const std::wstring newName = itemValueName(src->title, dstSlot);
  if (srcSection == dstSection && newName == srcName) return true;
  if (mode == MoveMode::kMove) m_profile.deleteValue(srcSection, srcName);
  return m_profile.setBinary(dstSection, newName, *srcData);
}

bool GroupTable::moveItem(int srcGroup, int srcSlot, int dstGroup, int dstSlot, MoveMode mode) {
  if (!moveItemValue(srcGroup, srcSlot, dstGroup, dstSlot, mode)) return false;
  if (srcGroup == dstGroup && srcSlot == dstSlot) return true;
  Group& from = *m_groups[srcGroup];
  Group& to = *m_groups[dstGroup];
  if (static_cast<size_t>(dstSlot) >= to.items.size()) to.items.resize(dstSlot + 1);
  switch (mode) {
    case MoveMode::kMove:
      if (to.items[dstSlot]) setItemHotKey(*to.items[dstSlot], 0);
      to.items[dstSlot] = std::move(from.items[srcSlot]);
      break;
    case MoveMode::kCopy: {
      auto copy = std::make_unique<Item>(*from.items[srcSlot]);
      // One hot key starts one item; the copy carries the code but does not hold it.
      copy->hotKeyId = kNoHotKeyId;
      copy->selectionLink = 0;
      if (to.items[dstSlot]) setItemHotKey(*to.items[dstSlot], 0);
      to.items[dstSlot] = std::move(copy);
      break;
    }
    case MoveMode::kSwap:
      std::swap(from.items[srcSlot], to.items[dstSlot]);
      break;
  }
  from.trim();
  to.trim();
  return true;
}

void GroupTable::saveOrder() const {
  std::vector<uint32_t> sections;
  for (size_t i = 0; i + 1 < m_groups.size(); ++i) sections.push_back(m_groups[i]->sectionNumber);
  m_profile.setString(kSettingsSection, kOrderValue, formatOrder(sections));
}

std::optional<int> GroupTable::ensureGroup(int index, const std::wstring* title, bool insert,
                                           const IconImage* icon) {
  int placeholder = static_cast<int>(placeholderIndex());
  if (index < 0 || index > placeholder || m_groups.empty()) return std::nullopt;
  int at;
  if (insert) {
    at = index == placeholder ? placeholder : index + 1;
    m_groups.insert(m_groups.begin() + at, std::make_unique<Group>());
    activeGroup = at;
  } else {
    if (index != placeholder) return std::nullopt;
    at = placeholder;
    m_groups.push_back(std::make_unique<Group>());
  }
  Group& g = *m_groups[at];
  uint32_t number = 1;
  for (;; ++number) {
    bool used = false;
    for (size_t i = 0; i + 1 < m_groups.size() && !used; ++i)
      used = static_cast<int>(i) != at && m_groups[i]->sectionNumber == number;
    if (!used) break;
  }
  g.sectionNumber = number;
  if (g.title.empty()) g.title = title ? *title : m_options.newGroupTitle + std::to_wstring(number);
  if (icon) copyImage(g.image, *icon);
  saveGroupHeader(at, true);
  saveOrder();
  return at;
}

void GroupTable::saveGroupOffsets() const {
  for (size_t i = 0; i + 1 < m_groups.size(); ++i) {
    const std::wstring section = groupSectionName(static_cast<int>(i));
    if (m_groups[i]->dispOffset >= 1)
      m_profile.setInt(section, kDispOffsetValue, m_groups[i]->dispOffset);
    else
      m_profile.deleteValue(section, kDispOffsetValue);
  }
}

int GroupTable::takeHotKeyId() {
  for (size_t id = 1; id < m_hotKeyIdsInUse.size(); ++id)
    if (!m_hotKeyIdsInUse[id]) return static_cast<int>(id);
  return static_cast<int>(std::max<size_t>(m_hotKeyIdsInUse.size(), 1));
}

bool GroupTable::setItemHotKey(Item& item, uint16_t hotKey) {
  auto release = [&] {
    if (item.hotKeyId == kNoHotKeyId) return;
    if (m_options.hotKeys) m_options.hotKeys->unregisterHotKey(item.hotKeyId);
    if (item.hotKeyId < m_hotKeyIdsInUse.size()) m_hotKeyIdsInUse[item.hotKeyId] = 0;
    item.hotKeyId = kNoHotKeyId;
  };
  if (hotKey == 0) {
    release();
    item.hotKey = 0;
    return true;
  }
  if (hotKey == item.hotKey && item.hotKeyId != kNoHotKeyId) return true;
  release();
  item.hotKey = hotKey;
  if (!m_options.hotKeys) return false;
  int id = takeHotKeyId();
  // Ids must stay below the no-id mark; the system takes thread ids up to 0xBFFF.
  if (id >= 0xBFFF) return false;
  if (!m_options.hotKeys->registerHotKey(id, systemHotKeyModifiers(hotKey), hotKey & 0xFFu)) return false;
  if (static_cast<size_t>(id) >= m_hotKeyIdsInUse.size()) m_hotKeyIdsInUse.resize(id + 1, 0);
  m_hotKeyIdsInUse[id] = 1;
  item.hotKeyId = static_cast<uint16_t>(id);
  return true;
}

Item& GroupTable::placeItem(int groupIndex, int slot, std::unique_ptr<Item> item) {
  Group& g = *m_groups.at(groupIndex);
  if (slot < 0) slot = 0;
  if (static_cast<size_t>(slot) >= g.items.size()) g.items.resize(slot + 1);
  if (g.items[slot]) setItemHotKey(*g.items[slot], 0);
  g.items[slot] = std::move(item);
  return *g.items[slot];
}

void GroupTable::removeItem(int groupIndex, int slot) {
  Group* g = group(groupIndex);
  if (!g || !g->item(slot)) return;
  setItemHotKey(*g->items[slot], 0);
  g->items[slot].reset();
  g->trim();
}

void TaskTable::reset() {
  m_entries.assign(1, TaskEntry{});
  m_visibleEnd = 1;
}

void TaskTable::add(TaskEntry entry) {
  if (entry.showState == 0) {
    m_entries.push_back(std::move(entry));
  } else {
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(m_visibleEnd), std::move(entry));
    ++m_visibleEnd;
  }
}

}  // namespace vorbin
