// The group table against an in-memory profile: loading, saving, re-filing
// item values, new groups, hot keys and the damaged profiles it must survive.
#include "launcher/model/group_table.h"

#include <gtest/gtest.h>

#include <map>

#include "launcher/model/settings.h"
#include "model_test_util.h"

namespace vorbin {
namespace {

using test::patternImage;

// Hot keys as the system would keep them: a key combination can be taken once.
class KeyBoard : public HotKeyRegistrar {
 public:
  bool registerHotKey(int id, unsigned modifiers, unsigned vk) override {
    unsigned combo = modifiers << 8 | vk;
    for (auto& [i, c] : taken)
      if (c == combo || i == id) return false;
    taken[id] = combo;
    return true;
  }
  void unregisterHotKey(int id) override { taken.erase(id); }
  std::map<int, unsigned> taken;
};

ModelOptions options(bool keepCompression = false) {
  ModelOptions o;
  o.isV416Later = true;
  o.keepCompression = keepCompression;
  o.newGroupTitle = L"Group ";
  return o;
}

void seedOrder(MemoryProfile& p, const wchar_t* order) { p.setString(kSettingsSection, L"Order", order); }

// Writes the item into slot 0 of a new group 1 of an empty profile.
void storeInNewGroup(MemoryProfile& p, const Item& item) {
  GroupTable writer(p, options());
  writer.loadGroups();
  writer.ensureGroup(1, nullptr, false);
  writer.placeItem(1, 0, std::make_unique<Item>(item));
  writer.saveItem(1, 0, false);
}

// A packed item value as saveItem writes it.
std::vector<uint8_t> packedItem(const Item& item) { return packPairs(encodeItemRecord(item)); }

TEST(GroupTable, SavedGroupsAndItemsLoadBackTheSame) {
  MemoryProfile p;
  {
    GroupTable t(p, options());
    t.loadGroups();
    ASSERT_EQ(t.size(), 2u);
    const std::wstring tools = L"Tools";
    auto g = t.ensureGroup(1, &tools, false);
    ASSERT_EQ(g, 1);
    t[1].count = 4;
    t[1].buttonMode = 2;
    t[1].startUp = 2;
    t[1].dispOffset = 3;
    t[1].image = patternImage(32, 7);
    t.saveGroupHeader(1, true);
    Item item;
    item.title = L"Edit, fast";
    item.setTargetPath(L"C:\\edit.exe");
    item.folder = L"C:\\";
    item.text5 = L"note";
    item.flags = kItemRunAs;
    item.image = patternImage(24, 3);
    t.placeItem(1, 5, std::make_unique<Item>(item));
    ASSERT_TRUE(t.saveItem(1, 5, false));
    Item quick;
    quick.title = L"Q";
    quick.setTargetPath(L"q.exe");
    t.placeItem(0, 0, std::make_unique<Item>(quick));
    ASSERT_TRUE(t.saveItem(0, 0, false));
    t.saveGroupOffsets();
  }
  GroupTable t(p, options());
  t.loadGroups();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t.groupSectionName(1), L"Group1");
  const Group& g = t[1];
  EXPECT_EQ(g.title, L"Tools");
  EXPECT_EQ(g.count, 4);
  EXPECT_EQ(g.buttonMode, 2);
  EXPECT_EQ(g.startUp, 2);
  EXPECT_EQ(g.dispOffset, 3);
  EXPECT_EQ(g.image.depth, 32u);
  EXPECT_EQ(g.image.bits, patternImage(32, 7).bits);
  ASSERT_EQ(g.items.size(), 6u);
  EXPECT_EQ(g.itemCount(), 1u);
  const Item* it = g.item(5);
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(it->title, L"Edit, fast");
  EXPECT_EQ(it->targetPath(), L"C:\\edit.exe");
  EXPECT_EQ(it->folder, L"C:\\");
  EXPECT_EQ(it->text5, L"note");
  EXPECT_EQ(it->flags & kItemFlagBits, kItemRunAs);
  EXPECT_EQ(it->image.bits, patternImage(24, 3).bits);
  ASSERT_NE(t.item(0, 0), nullptr);
  EXPECT_EQ(t.item(0, 0)->targetPath(), L"q.exe");
  EXPECT_EQ(t[2].title, L"");  // the placeholder
}

TEST(GroupTable, ProfileWithoutOrderStartsWithQuickGroupAndPlaceholder) {
  MemoryProfile p;
  ModelOptions o = options();
  o.isV416Later = false;
  GroupTable t(p, o);
  t.loadGroups();
  EXPECT_EQ(t.size(), 2u);
  EXPECT_EQ(p.getString(kSettingsSection, L"IsV416Later"), L"Yes");
  EXPECT_EQ(t.sectionPrefix(), L"Group");
  EXPECT_EQ(t.activeGroup, 1);
}

TEST(GroupTable, LegacyPrefixComesFromTheAnsiCodePage) {
  MemoryProfile p;
  seedOrder(p, L" 0 4");
  ModelOptions o = options();
  o.isV416Later = false;
  const std::wstring legacy = latin1Decoder(kLegacyGroupPrefixBytes);
  p.setString(legacy + L"4", L"@Title", L"Old");
  GroupTable t(p, o);
  t.loadGroups();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t.groupSectionName(1), legacy + L"4");
  EXPECT_EQ(t[1].title, L"Old");
}

TEST(GroupTable, ActiveGroupIsClampedToTheTable) {
  struct Case {
    int line;
    int stored;
    bool usuallyTop;
    int expected;
  } cases[] = {{__LINE__, 0, false, 1}, {__LINE__, -3, false, 1}, {__LINE__, 2, false, 2},
               {__LINE__, 3, false, 3}, {__LINE__, 40, false, 3}, {__LINE__, 2, true, 1}};
  for (const Case& c : cases) {
    MemoryProfile p;
    seedOrder(p, L" 0 1 2");
    p.setInt(kSettingsSection, L"ActGroup", c.stored);
    p.setInt(kSettingsSection, L"DispGrpOffset", 1);
    ModelOptions o = options();
    o.usuallyTopGroup = c.usuallyTop;
    GroupTable t(p, o);
    t.loadGroups();
    ASSERT_EQ(t.placeholderIndex(), 3u);
    EXPECT_EQ(t.activeGroup, c.expected) << "line " << c.line;
    EXPECT_EQ(t.dispGroupOffset, c.usuallyTop ? 0 : 1) << "line " << c.line;
  }
}

TEST(GroupTable, TwoValuesOnOneSlotLeaveOneItemAndOneValue) {
  MemoryProfile p;
  seedOrder(p, L" 0 1");
  Item x;
  x.setTargetPath(L"x.exe");
  Item y;
  y.setTargetPath(L"y.exe");
  p.setBinary(L"Group1", L"X,2", packedItem(x));
  p.setBinary(L"Group1", L"Y,2", packedItem(y));
  p.setBinary(L"Group1", L"Z,0", packedItem(x));
  p.setBinary(L"Group1", L"W,1", packedItem(y));
  GroupTable t(p, options());
  t.loadGroups();
  const Group& g = t[1];
  ASSERT_EQ(g.items.size(), 2u);
  EXPECT_EQ(g.item(1)->title, L"Y");
  EXPECT_EQ(g.item(1)->targetPath(), L"y.exe");
  EXPECT_EQ(g.item(0)->title, L"W");
  EXPECT_FALSE(p.getBinary(L"Group1", L"X,2"));
  EXPECT_FALSE(p.getBinary(L"Group1", L"Z,0"));
  EXPECT_TRUE(p.getBinary(L"Group1", L"Y,2"));
  EXPECT_TRUE(p.getBinary(L"Group1", L"W,1"));
}

TEST(GroupTable, SlotNumbersOutsideTheTableAreBoundedOrLeftAlone) {
  MemoryProfile p;
  seedOrder(p, L" 0 1");
  Item a;
  a.setTargetPath(L"a.exe");
  p.setBinary(L"Group1", L"Neg,-2", packedItem(a));
  p.setBinary(L"Group1", L"Huge,99999999", packedItem(a));
  p.setBinary(L"Group1", L"Edge,10000", packedItem(a));
  p.setString(L"Group1", L"NoItem", L"text");
  GroupTable t(p, options());
  t.loadGroups();
  const Group& g = t[1];
  EXPECT_EQ(g.items.size(), 10000u);
  EXPECT_EQ(g.item(0)->title, L"Neg");
  EXPECT_EQ(g.item(9999)->title, L"Edge");
  EXPECT_EQ(g.itemCount(), 2u);
  EXPECT_TRUE(p.getBinary(L"Group1", L"Huge,99999999"));
  EXPECT_TRUE(p.getString(L"Group1", L"NoItem"));
}

TEST(GroupTable, DamagedValuesLoadWhatCanBeRead) {
  MemoryProfile p;
  seedOrder(p, L" 0 1");
  p.setBinary(L"Group1", L"Junk,1", std::vector<uint8_t>{0xFF, 0x01, 0x02});
  p.setBinary(L"Group1", L"Empty,2", std::vector<uint8_t>{});
  p.setString(L"Group1", L"Text,3", L"not binary");
  p.setBinary(L"Group1", L"IconData", std::vector<uint8_t>{0, 0, 5, 0, 1, 2, 3, 4, 5});
  GroupTable t(p, options());
  t.loadGroups();
  const Group& g = t[1];
  EXPECT_EQ(g.itemCount(), 3u);
  EXPECT_EQ(g.item(2)->title, L"Text");
  EXPECT_FALSE(g.item(0)->hasTarget());
  EXPECT_TRUE(g.image.empty());
}

TEST(GroupTable, RecordsLongerThanTheOldLimitLoadWhole) {
  Item item;
  item.title = L"Long";
  item.image = patternImage(32, 11);
  item.setTargetPath(std::wstring(300, L't'));
  item.folder = std::wstring(900, L'f');
  item.text3 = std::wstring(600, L'3');
  item.text4 = std::wstring(500, L'4');
  item.text5 = std::wstring(1024, L'5');
  MemoryProfile p;
  storeInNewGroup(p, item);
  ASSERT_GT(encodeItemRecord(item).size(), 6416u);
  GroupTable again(p, options());
  again.loadGroups();
  const Item* it = again.item(1, 0);
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(it->text5, item.text5);
  EXPECT_EQ(it->text4, item.text4);
  EXPECT_EQ(it->image.bits, item.image.bits);
}

TEST(GroupTable, OverlongTitlesAreCutSoTheItemLoadsAgain) {
  Item item;
  item.title = std::wstring(600, L'T');
  item.setTargetPath(L"t.exe");
  MemoryProfile p;
  storeInNewGroup(p, item);
  GroupTable t(p, options());
  t.loadGroups();
  const Item* it = t.item(1, 0);
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(it->title, std::wstring(kMaxValueNameChars - 2, L'T'));
  EXPECT_EQ(it->targetPath(), L"t.exe");
}

TEST(GroupTable, OldRecordIsRewrittenInTheCurrentFormOnSave) {
  MemoryProfile p;
  seedOrder(p, L" 0 1");
  std::vector<uint8_t> old;
  test::putWord(old, 0x0001);
  test::putWord(old, 0);
  test::putWord(old, 0);
  std::vector<uint8_t> image = patternImage(4, 4).bits;
  old.insert(old.end(), image.begin(), image.end());
  test::putAnsi(old, "C:\\Old.exe");
  for (int i = 0; i < 4; ++i) test::putAnsi(old, i == 0 ? " C:\\Dir" : "");
  p.setBinary(L"Group1", L"Old,1", packPairs(old));
  GroupTable t(p, options());
  t.loadGroups();
  Item* it = t.item(1, 0);
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(it->flags & kRecordUnicode, 0u);
  EXPECT_EQ(it->folder, L"C:\\Dir");
  ASSERT_TRUE(t.saveItem(1, 0, false));
  EXPECT_EQ(it->flags & kRecordUnicode, kRecordUnicode);
  std::vector<uint8_t> saved = test::unpackAll(*p.getBinary(L"Group1", L"Old,1"));
  ASSERT_GT(saved.size(), 6u + 640 + 2);
  EXPECT_EQ(saved[1] & 0x80, 0x80);
  EXPECT_EQ(saved[6 + 640], 'C');
  EXPECT_EQ(saved[6 + 641], 0);  // UTF-16
  ItemRecord r = decodeItemRecord(saved, nullptr);
  Item back;
  back.target = r.target;
  EXPECT_EQ(back.targetPath(), L"C:\\Old.exe");
  EXPECT_EQ(r.folder, L"C:\\Dir");
  EXPECT_EQ(r.image, image);
}

TEST(GroupTable, KeptCompressionHoldsTheImageAsACutRecord) {
  Item item;
  item.title = L"K";
  item.image = patternImage(24, 13);
  item.text5 = L"after the image";
  MemoryProfile p;
  storeInNewGroup(p, item);

  GroupTable t(p, options(true));
  t.loadGroups();
  const Item* it = t.item(1, 0);
  ASSERT_NE(it, nullptr);
  ASSERT_TRUE(it->image.packed());
  EXPECT_EQ(it->image.colourDepth(), 24);
  EXPECT_EQ(blobHeader(it->image.bits) >> 16, kRecordHeadBytes);
  EXPECT_EQ(unpackedImage(it->image).bits, item.image.bits);
  // Saving unpacks it again: the stored record carries the same image.
  ASSERT_TRUE(t.saveItem(1, 0, false));
  EXPECT_EQ(decodeItemRecord(test::unpackAll(*p.getBinary(L"Group1", L"K,1")), nullptr).image,
            item.image.bits);
}

class Refiling : public testing::Test {
 protected:
  void SetUp() override {
    t = std::make_unique<GroupTable>(p, options());
    t->loadGroups();
    t->ensureGroup(1, nullptr, false);
    t->ensureGroup(2, nullptr, false);
    add(1, 0, L"A", L"a.exe");
    add(2, 3, L"B", L"b.exe");
    a = *p.getBinary(L"Group1", L"A,1");
    b = *p.getBinary(L"Group2", L"B,4");
    writesBefore = p.writeCount();
  }
  void add(int group, int slot, const wchar_t* title, const wchar_t* target) {
    Item item;
    item.title = title;
    item.setTargetPath(target);
    item.image = patternImage(4, static_cast<uint8_t>(slot + 1));
    t->placeItem(group, slot, std::make_unique<Item>(item));
    t->saveItem(group, slot, false);
  }
  MemoryProfile p;
  std::unique_ptr<GroupTable> t;
  std::vector<uint8_t> a, b;
  size_t writesBefore = 0;
};

TEST_F(Refiling, MoveCarriesTheSameBytesToTheNewPlace) {
  ASSERT_TRUE(t->moveItem(1, 0, 2, 7, MoveMode::kMove));
  EXPECT_FALSE(p.getBinary(L"Group1", L"A,1"));
  EXPECT_EQ(p.getBinary(L"Group2", L"A,8"), a);
  EXPECT_EQ(p.writeCount(), writesBefore + 1);
  EXPECT_EQ(t->item(2, 7)->title, L"A");
  EXPECT_EQ(t->item(1, 0), nullptr);
  EXPECT_TRUE((*t)[1].items.empty());
}

TEST_F(Refiling, CopyKeepsTheSource) {
  ASSERT_TRUE(t->moveItem(1, 0, 1, 2, MoveMode::kCopy));
  EXPECT_EQ(p.getBinary(L"Group1", L"A,1"), a);
  EXPECT_EQ(p.getBinary(L"Group1", L"A,3"), a);
  EXPECT_EQ(t->item(1, 2)->targetPath(), L"a.exe");
  EXPECT_EQ(t->item(1, 0)->targetPath(), L"a.exe");
}

TEST_F(Refiling, SwapExchangesPlacesUnderOwnTitles) {
  ASSERT_TRUE(t->moveItem(1, 0, 2, 3, MoveMode::kSwap));
  EXPECT_EQ(p.getBinary(L"Group2", L"A,4"), a);
  EXPECT_EQ(p.getBinary(L"Group1", L"B,1"), b);
  EXPECT_FALSE(p.getBinary(L"Group1", L"A,1"));
  EXPECT_FALSE(p.getBinary(L"Group2", L"B,4"));
  EXPECT_EQ(t->item(1, 0)->title, L"B");
  EXPECT_EQ(t->item(2, 3)->title, L"A");
  // Swapping with an empty slot is a move.
  ASSERT_TRUE(t->moveItem(2, 3, 2, 9, MoveMode::kSwap));
  EXPECT_EQ(p.getBinary(L"Group2", L"A,10"), a);
  EXPECT_EQ(p.valueCount(L"Group2"), 1u + 3);  // title, count, button mode and the item
}

TEST_F(Refiling, NothingHappensWithoutASourceValue) {
  EXPECT_FALSE(t->moveItem(1, 5, 2, 0, MoveMode::kMove));
  EXPECT_FALSE(t->moveItem(1, 0, 9, 0, MoveMode::kMove));
  EXPECT_FALSE(t->moveItem(1, 0, 2, kMaxItemSlots, MoveMode::kCopy));
  EXPECT_EQ(p.writeCount(), writesBefore);
}

TEST(GroupTable, NewGroupsTakeTheLowestFreeSectionAndKeepOrder) {
  MemoryProfile p;
  seedOrder(p, L" 0 2 5");
  GroupTable t(p, options());
  t.loadGroups();
  ASSERT_EQ(t.size(), 4u);
  // Only the placeholder turns into a group without the insert flag.
  EXPECT_FALSE(t.ensureGroup(1, nullptr, false));
  EXPECT_EQ(t.ensureGroup(3, nullptr, false), 3);
  EXPECT_EQ(t[3].sectionNumber, 1u);
  EXPECT_EQ(t[3].title, L"Group 1");
  EXPECT_EQ(t.size(), 5u);
  const std::wstring named = L"Inserted";
  EXPECT_EQ(t.ensureGroup(1, &named, true), 2);
  EXPECT_EQ(t.activeGroup, 2);
  EXPECT_EQ(t[2].sectionNumber, 3u);
  EXPECT_EQ(p.getString(L"Group3", L"@Title"), L"Inserted");
  EXPECT_EQ(t.ensureGroup(static_cast<int>(t.placeholderIndex()), nullptr, true), 5);
  EXPECT_EQ(p.getString(kSettingsSection, L"Order"), L" 0 2 3 5 1 4");
  IconImage icon = patternImage(4, 2);
  auto withIcon = t.ensureGroup(static_cast<int>(t.placeholderIndex()), nullptr, false, &icon);
  ASSERT_TRUE(withIcon);
  EXPECT_EQ(t[*withIcon].image.bits, icon.bits);
  EXPECT_TRUE(p.getBinary(t.groupSectionName(*withIcon), L"IconData"));
}

TEST(GroupTable, GroupHeaderAndOffsetsDeleteWhatIsUnset) {
  MemoryProfile p;
  GroupTable t(p, options());
  t.loadGroups();
  t.ensureGroup(1, nullptr, false);
  t[1].startUp = 4;
  t[1].image = patternImage(4, 1);
  t[1].dispOffset = 2;
  t.saveGroupHeader(1, true);
  t.saveGroupOffsets();
  EXPECT_EQ(p.getDword(L"Group1", L"StartUp"), 4u);
  EXPECT_EQ(p.getDword(L"Group1", L"DispOffset"), 2u);
  t[1].startUp = 0;
  t[1].image = IconImage{};
  t[1].dispOffset = 0;
  t.saveGroupHeader(1, true);
  t.saveGroupOffsets();
  EXPECT_FALSE(p.getDword(L"Group1", L"StartUp"));
  EXPECT_FALSE(p.getBinary(L"Group1", L"IconData"));
  EXPECT_FALSE(p.getDword(L"Group1", L"DispOffset"));
  EXPECT_TRUE(p.hasSection(L"Group1"));
  t.saveGroupHeader(1, false);
  EXPECT_FALSE(p.hasSection(L"Group1"));
  EXPECT_FALSE(t.saveGroupHeader(0, true));  // the quick group has no header
}

TEST(GroupTable, HotKeysTakeTheLowestFreeIdAndSurviveRefusal) {
  MemoryProfile p;
  KeyBoard keys;
  ModelOptions o = options();
  o.hotKeys = &keys;
  GroupTable t(p, o);
  t.loadGroups();
  Item a, b, c;
  EXPECT_TRUE(t.setItemHotKey(a, 0x0641));  // Ctrl+Alt+A
  EXPECT_EQ(a.hotKeyId, 1);
  EXPECT_EQ(keys.taken[1], (2u | 1u) << 8 | 0x41);  // MOD_CONTROL | MOD_ALT
  EXPECT_TRUE(t.setItemHotKey(b, 0x0142));          // Shift+B
  EXPECT_EQ(b.hotKeyId, 2);
  EXPECT_EQ(keys.taken[2], 4u << 8 | 0x42);  // MOD_SHIFT
  // The same combination again is refused: the item keeps the code but no id.
  EXPECT_FALSE(t.setItemHotKey(c, 0x0641));
  EXPECT_EQ(c.hotKey, 0x0641);
  EXPECT_EQ(c.hotKeyId, kNoHotKeyId);
  EXPECT_TRUE(t.setItemHotKey(a, 0));
  EXPECT_EQ(a.hotKeyId, kNoHotKeyId);
  EXPECT_EQ(keys.taken.count(1), 0u);
  EXPECT_TRUE(t.setItemHotKey(c, 0x0641));
  EXPECT_EQ(c.hotKeyId, 1);
  // Changing a key moves it and keeps its id free for the next.
  EXPECT_TRUE(t.setItemHotKey(b, 0x0143));
  EXPECT_EQ(keys.taken.size(), 2u);
}

TEST(GroupTable, RemovingOrDestroyingItemsReleasesTheirHotKeys) {
  MemoryProfile p;
  KeyBoard keys;
  ModelOptions o = options();
  o.hotKeys = &keys;
  {
    Item withKey;
    withKey.title = L"K";
    withKey.hotKey = 0x0441;
    p.setBinary(L"Quick", L"K,1", packedItem(withKey));
    withKey.hotKey = 0x0442;
    p.setBinary(L"Quick", L"L,3", packedItem(withKey));
    GroupTable t(p, o);
    t.loadGroups();
    EXPECT_EQ(keys.taken.size(), 2u);
    t.removeItem(0, 2);
    EXPECT_EQ(keys.taken.size(), 1u);
    EXPECT_EQ((t[0].items.size()), 1u);
  }
  EXPECT_TRUE(keys.taken.empty());
}

TEST(TaskTable, VisibleWindowsComeBeforeHiddenOnes) {
  TaskTable table;
  auto entry = [](const wchar_t* title, int show) {
    TaskEntry e;
    e.title = title;
    e.showState = show;
    return e;
  };
  table.add(entry(L"v1", 1));
  table.add(entry(L"h1", 0));
  table.add(entry(L"v2", 2));
  table.add(entry(L"h2", 0));
  table.add(entry(L"v3", 3));
  ASSERT_EQ(table.size(), 6u);
  const wchar_t* expected[] = {L"", L"v1", L"v2", L"v3", L"h1", L"h2"};
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].title, expected[i]) << i;
  table.reset();
  EXPECT_EQ(table.size(), 1u);
  table.add(entry(L"v", 1));
  EXPECT_EQ(table[1].title, L"v");
}

}  // namespace
}  // namespace vorbin

namespace vorbin {
namespace {

// Items and groups are found again after nested loops by their identity: a
// copy is another item, a table read again holds other items even where the
// memory is reused, and only a move carries an identity along.
TEST(GroupTable, IdentitiesTellItemsApartAcrossCopiesAndReloads) {
  Item original;
  Item copy = original;
  EXPECT_NE(copy.identity, original.identity);
  const uint64_t before = original.identity.value();
  Item moved = std::move(original);
  EXPECT_EQ(moved.identity.value(), before);
  copy = moved;  // a copy into an existing item makes it another one
  EXPECT_NE(copy.identity.value(), before);

  MemoryProfile p;
  Item item;
  item.title = L"first";
  item.setTargetPath(L"C:\\a.exe");
  storeInNewGroup(p, item);
  GroupTable t(p, options());
  t.loadGroups();
  ASSERT_NE(t.item(1, 0), nullptr);
  const uint64_t loaded = t.item(1, 0)->identity.value();
  const uint64_t group = t[1].identity.value();
  t.removeItem(1, 0);
  t.loadGroups();
  ASSERT_NE(t.item(1, 0), nullptr);
  EXPECT_NE(t.item(1, 0)->identity.value(), loaded) << "a reloaded item passes for the one that was freed";
  EXPECT_NE(t[1].identity.value(), group);
}

}  // namespace
}  // namespace vorbin
