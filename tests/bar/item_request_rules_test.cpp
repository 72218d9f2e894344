// Buttons from requests without a window: titles and folder texts by kind,
// slots and their limit, and deleting groups by the menus' rule.
#include <gtest/gtest.h>

#include "launcher/bar/item_request_rules.h"
#include "launcher/model/settings.h"

namespace vorbin {
namespace {

TEST(ItemRequestRules, TitleAndFolderByKind) {
  struct Case {
    RequestFacts facts;
    const wchar_t* title;
    bool keepTarget;
    const wchar_t* folder;
    int line;
  } cases[] = {
      // A program without a title: the program's name; its folder, arguments split off.
      {{.target = L"C:\\Tools\\edit.exe -n", .program = L"C:\\Tools\\edit.exe", .argumentsSplit = true},
       L"edit",
       true,
       L"C:\\Tools",
       __LINE__},
      {{.target = L"\"C:\\Program Files (x86)\\a b.exe\"", .program = L"C:\\Program Files (x86)\\a b.exe"},
       L"a b",
       true,
       L"C:\\Program Files (x86)",
       __LINE__},
      {{.target = L"notepad.exe", .title = L"Editor", .program = L"notepad.exe"},
       L"Editor",
       true,
       L"",
       __LINE__},
      {{.target = L"C:\\app.exe", .program = L"C:\\app.exe"}, L"app", true, L"C:\\", __LINE__},
      // The request's (or shortcut's) folder wins.
      {{.target = L"C:\\a\\b.exe", .folder = L"D:\\work", .program = L"C:\\a\\b.exe"},
       L"b",
       true,
       L"D:\\work",
       __LINE__},
      // Web addresses: the title loses its extension; no folder of their own.
      {{.flags = kItemUrl, .target = L"http://x.org/a.html", .title = L"Page.url"},
       L"Page",
       true,
       L"",
       __LINE__},
      {{.flags = kItemUrl, .target = L"http://x.org/"}, L"http://x.org/", true, L"", __LINE__},
      // Folders and prompts: the path becomes the folder text, no target; the shell's name.
      {{.flags = kItemFolder, .target = L"C:\\Data", .displayName = L"Data files"},
       L"Data files",
       false,
       L"C:\\Data",
       __LINE__},
      {{.flags = kItemPrompt, .target = L"C:\\Data\\"}, L"Data", false, L"C:\\Data\\", __LINE__},
      // An item-ID list keeps its target; a folder only when arguments came off.
      {{.flags = kItemIdList | kItemFolder, .displayName = L"Control Panel"},
       L"Control Panel",
       true,
       L"",
       __LINE__},
      {{.flags = kItemIdList, .program = L"C:\\x\\y.exe", .argumentsSplit = true, .displayName = L"Y"},
       L"Y",
       true,
       L"C:\\x",
       __LINE__},
      {{.flags = kItemIdList, .program = L"C:\\x\\y.exe", .displayName = L"Y"}, L"Y", true, L"", __LINE__},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const RequestTexts t = requestItemTexts(c.facts);
    EXPECT_EQ(t.title, c.title);
    EXPECT_EQ(t.keepTarget, c.keepTarget);
    EXPECT_EQ(t.folder, c.folder);
  }
  EXPECT_FALSE(requestItemTexts({.flags = kItemPrompt, .target = L"C:\\D"}).iconSource);
  EXPECT_TRUE(requestItemTexts({.flags = kItemFolder, .target = L"C:\\D"}).iconSource);
}

TEST(ItemRequestRules, NamesFlagsAndPictureFiles) {
  EXPECT_EQ(titleFromPath(L"C:\\a.b\\name"), L"name");
  EXPECT_EQ(titleFromPath(L"C:\\a\\.profile"), L".profile");
  EXPECT_EQ(titleFromPath(L"arch.tar.gz"), L"arch.tar");
  EXPECT_EQ(folderOfPath(L"name.exe"), L"");
  EXPECT_EQ(folderOfPath(L"C:name.exe"), L"C:");
  EXPECT_TRUE(isProgramRequest(kItemRunAs | 1));
  EXPECT_FALSE(isProgramRequest(kItemIdList));

  EXPECT_EQ(addRequestFlags(0x01), 0u);
  EXPECT_EQ(addRequestFlags(0x02), kItemFolder);
  EXPECT_EQ(addRequestFlags(0x201 | 0x40), kItemIdList);
  EXPECT_EQ(addRequestFlags(0xFFFF), kItemUrl | kItemIdList | kItemFolder);
  EXPECT_TRUE(addRequestHighlights(1));
  EXPECT_FALSE(addRequestHighlights(0x200));
  EXPECT_EQ(showBitsFromShowCommand(7), 1u);
  EXPECT_EQ(showBitsFromShowCommand(3), 2u);
  EXPECT_EQ(showBitsFromShowCommand(1), 0u);

  const std::wstring data = L"C:\\Users\\u\\AppData\\Ornelsoft\\Vorbin2k\\";
  EXPECT_TRUE(pictureFileDeletable(data + L"0101ABCD.JPG", data));
  EXPECT_FALSE(pictureFileDeletable(data + L"sub\\0101ABCD.jpg", data));
  EXPECT_FALSE(pictureFileDeletable(data + L"..jpg", data));
  EXPECT_FALSE(pictureFileDeletable(data + L"notes.txt", data));
  EXPECT_FALSE(pictureFileDeletable(L"C:\\Windows\\x.jpg", data));
  EXPECT_FALSE(pictureFileDeletable(L"x.jpg", L""));

  // By bare name (as the capture stores it) or by path in the data folder.
  const struct {
    const wchar_t* named;
    const wchar_t* path;
  } names[] = {
      {L"0101ABCD.jpg", L"0101ABCD.jpg"},
      {L"C:\\Users\\u\\AppData\\Ornelsoft\\Vorbin2k\\0101ABCD.jpg", L"0101ABCD.jpg"},
      {L"..\\victim.jpg", nullptr},
      {L"..", nullptr},
      {L"sub\\0101ABCD.jpg", nullptr},
      {L"C:\\Windows\\x.jpg", nullptr},
      {L"notes.txt", nullptr},
      {L"c:x.jpg", nullptr},
      {L"x.jpg.", nullptr},
      {L"", nullptr},
  };
  for (const auto& n : names)
    EXPECT_EQ(deletablePicturePath(n.named, data), n.path ? data + n.path : std::wstring()) << n.named;
}

class GroupRemoval : public ::testing::Test {
 protected:
  void SetUp() override {
    table.loadGroups();
    for (const wchar_t* title : {L"A", L"B", L"C"}) {
      std::wstring t = title;
      ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &t, false));
    }
    auto item = std::make_unique<Item>();
    item->title = L"x";
    item->setTargetPath(L"x.exe");
    table.placeItem(3, 4, std::move(item));
    ASSERT_TRUE(table.saveItem(3, 4, false));
  }
  MemoryProfile profile;
  GroupTable table{profile, ModelOptions{}};
};

TEST_F(GroupRemoval, SlotsUpToTheLimit) {
  Group& g = table[3];
  EXPECT_EQ(requestSlot(g, -1), 0);
  EXPECT_EQ(requestSlot(g, 4), 4);
  EXPECT_EQ(requestSlot(g, kMaxItemSlots), std::nullopt);
  g.items.resize(kMaxItemSlots);
  for (auto& p : g.items) p = std::make_unique<Item>();
  g.items[kMaxItemSlots - 1].reset();
  EXPECT_EQ(requestSlot(g, -1), kMaxItemSlots - 1);
  g.items.push_back(nullptr);
  g.items[kMaxItemSlots - 1] = std::make_unique<Item>();
  EXPECT_EQ(requestSlot(g, -1), std::nullopt) << "a first free slot of 10,000 is refused";
}

TEST_F(GroupRemoval, OnlyRealGroupsLeaveAndTheActiveOneFollows) {
  EXPECT_FALSE(removeGroup(table, 0)) << "quick group";
  EXPECT_FALSE(removeGroup(table, static_cast<int>(table.placeholderIndex()))) << "placeholder";
  EXPECT_FALSE(removeGroup(table, -1));
  table.activeGroup = 3;
  table.dispGroupOffset = 9;
  table[3].dispOffset = 2;
  ASSERT_TRUE(removeGroup(table, 1));
  ASSERT_EQ(table.size(), 4u);
  EXPECT_EQ(table[1].title, L"B");
  EXPECT_EQ(table.activeGroup, 2) << "the active group moves down with the table";
  EXPECT_EQ(table.dispGroupOffset, 3) << "the tab offset stays within the table";
  EXPECT_EQ(table[2].dispOffset, 2) << "memory-only values survive";
  ASSERT_NE(table.item(2, 4), nullptr);
  EXPECT_FALSE(profile.getString(L"Group1", L"@Title").has_value()) << "the section is gone";
  EXPECT_EQ(profile.getString(kSettingsSection, L"Order"), L" 0 2 3");

  // Deleting the active last group leaves the last real group active; with
  // none left, the placeholder.
  ASSERT_TRUE(removeGroup(table, 2));
  EXPECT_EQ(table.activeGroup, 1);
  ASSERT_TRUE(removeGroup(table, 1));
  EXPECT_EQ(table.size(), 2u);
  EXPECT_EQ(table.activeGroup, 1);
  EXPECT_EQ(activeAfterRemoval(5, 2, 6), 4);
  EXPECT_EQ(activeAfterRemoval(2, 5, 6), 2);
  EXPECT_EQ(activeAfterRemoval(5, 5, 5), 4);
}

// A run of adds of one program asks the system once: which requests share a
// picture, and how long and how many answers are kept.
TEST(ItemRequestRules, PictureKeysKeepRequestsApart) {
  const auto key = [](uint32_t flags, const wchar_t* iconFile, int index, const wchar_t* path) {
    return pictureKey(flags, iconFile, index, path);
  };
  const auto base = key(0, L"", 0, L"notepad.exe");
  ASSERT_TRUE(base.has_value());
  EXPECT_EQ(key(0, L"", 0, L"notepad.exe"), base);
  struct Case {
    std::optional<std::wstring> key;
    bool kept;
    int line;
  } cases[] = {
      // Web addresses and item-ID lists are never kept; nor a request naming nothing.
      {key(kItemUrl, L"", 0, L"http://x.org/"), false, __LINE__},
      {key(kItemIdList, L"", 0, L"x"), false, __LINE__},
      {key(kItemFolder | kItemIdList, L"", 0, L""), false, __LINE__},
      {key(0, L"", 0, L""), false, __LINE__},
      // Every field tells requests apart.
      {key(kItemFolder, L"", 0, L"notepad.exe"), true, __LINE__},
      {key(0, L"", 1, L"notepad.exe"), true, __LINE__},
      {key(0, L"shell32.dll", 0, L"notepad.exe"), true, __LINE__},
      {key(0, L"", 0, L"NOTEPAD.EXE x"), true, __LINE__},
      {key(0, L"icons.dll", 3, L""), true, __LINE__},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.key.has_value(), c.kept) << "line " << c.line;
    if (c.key) EXPECT_NE(c.key, base) << "line " << c.line;
  }
  // An icon file text that looks like the fields after it.
  EXPECT_NE(key(0, L"a:0:b", 0, L"c"), key(0, L"a", 0, L":0:bc"));
  EXPECT_NE(key(0, L"a", 12, L"b"), key(0, L"a", 1, L"2b"));
}

TEST(ItemRequestRules, RecentAnswersExpireAndMakeRoom) {
  RecentAnswers<int> answers(5000, 3);
  answers.keep(L"a", 1, 100);
  ASSERT_NE(answers.find(L"a", 100), nullptr);
  EXPECT_EQ(*answers.find(L"a", 5099), 1);
  EXPECT_EQ(answers.find(L"a", 5100), nullptr) << "kept too long";
  EXPECT_EQ(answers.find(L"b", 100), nullptr);

  // The tick count wraps after 49 days.
  RecentAnswers<int> wrapping(5000, 3);
  wrapping.keep(L"w", 7, 0xFFFFFF00u);
  ASSERT_NE(wrapping.find(L"w", 0x100u), nullptr);
  EXPECT_EQ(*wrapping.find(L"w", 0x100u), 7);
  EXPECT_EQ(wrapping.find(L"w", 0xFFFFFF00u + 5000u), nullptr);

  // A new answer for a key replaces the old one and starts its time again.
  answers.keep(L"a", 2, 4000);
  EXPECT_EQ(answers.size(), 1u);
  EXPECT_EQ(*answers.find(L"a", 8000), 2);

  // Full: the oldest goes; stale ones go first.
  answers.keep(L"b", 3, 4100);
  answers.keep(L"c", 4, 4200);
  answers.keep(L"d", 5, 4300);
  EXPECT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers.find(L"a", 4300), nullptr);
  EXPECT_EQ(*answers.find(L"b", 4300), 3);
  answers.keep(L"e", 6, 9150);  // b (4100) has expired: nothing else needs to go
  EXPECT_EQ(answers.size(), 3u);
  EXPECT_NE(answers.find(L"c", 9150), nullptr);
  EXPECT_NE(answers.find(L"d", 9150), nullptr);
  EXPECT_EQ(*answers.find(L"e", 9150), 6);

  RecentAnswers<int> none(5000, 0);
  none.keep(L"a", 1, 0);
  EXPECT_EQ(none.find(L"a", 0), nullptr);
}

// Pictures built after their items were saved: each waiting item is found
// where it is now, items gone are skipped, a turn stops at its budget, and an
// entry added during a turn waits for its own.
TEST_F(GroupRemoval, WaitingPicturesFindTheirItems) {
  auto place = [&](int group, int slot) {
    auto item = std::make_unique<Item>();
    item->title = L"p" + std::to_wstring(slot);
    const uint64_t id = item->identity.value();
    table.placeItem(group, slot, std::move(item));
    return PendingPictures::Entry{.place = {group, slot}, .identity = id, .path = L"p" + std::to_wstring(slot)};
  };
  PendingPictures pending;
  EXPECT_TRUE(pending.empty());
  pending.add(place(2, 0));
  pending.add(place(2, 1));
  pending.add(place(2, 2));
  pending.add(place(3, 0));
  EXPECT_EQ(pending.size(), 4u);

  // Slot 1 is gone; slot 2 moved to group 3 slot 7.
  table.removeItem(2, 1);
  table[3].items.resize(8);
  std::swap(table[3].items[7], table[2].items[2]);
  EXPECT_EQ(findItemByIdentity(table, {2, 0}, table.item(2, 0)->identity.value())->slot, 0);
  EXPECT_FALSE(findItemByIdentity(table, {2, 0}, 0));

  std::vector<std::pair<std::wstring, std::pair<int, int>>> built;
  int clock = 0;
  const auto build = [&](const PendingPictures::Entry& e, SlotPlace at) {
    built.push_back({e.path, {at.group, at.slot}});
    clock += 10;
  };
  const auto elapsed = [&] { return static_cast<uint32_t>(clock); };
  // A budget of 15: the first entry takes 10, the second reaches 20 and ends the turn.
  EXPECT_TRUE(pending.run(table, build, elapsed, 15));
  ASSERT_EQ(built.size(), 2u);
  EXPECT_EQ(built[0], (std::pair<std::wstring, std::pair<int, int>>{L"p0", {2, 0}}));
  EXPECT_EQ(built[1], (std::pair<std::wstring, std::pair<int, int>>{L"p2", {3, 7}})) << "found where it moved";
  EXPECT_EQ(pending.size(), 1u) << "the removed item's entry went without a build";

  // An entry added by a build runs in a later turn, never twice.
  clock = 0;
  bool addedOnce = false;
  const auto addingBuild = [&](const PendingPictures::Entry& e, SlotPlace at) {
    build(e, at);
    if (!std::exchange(addedOnce, true)) pending.add(place(2, 9));
  };
  EXPECT_TRUE(pending.run(table, addingBuild, elapsed, 10));
  EXPECT_EQ(built.back().first, L"p0");
  EXPECT_EQ(pending.size(), 1u);
  EXPECT_FALSE(pending.run(table, addingBuild, elapsed, 1000));
  EXPECT_EQ(built.back(), (std::pair<std::wstring, std::pair<int, int>>{L"p9", {2, 9}}));
  EXPECT_TRUE(pending.empty());
  EXPECT_EQ(built.size(), 4u);
  EXPECT_FALSE(pending.run(table, build, elapsed, 1000)) << "nothing left to do";
  EXPECT_EQ(built.size(), 4u);
}

}  // namespace
}  // namespace vorbin
