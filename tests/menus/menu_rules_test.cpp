// The bar's menu rules as tables: entries by item kind and selection, the
// font and folder commands, who owns a chosen id, and closing up a group.
#include <gtest/gtest.h>

#include <algorithm>

#include "launcher/bar/menu_rules.h"
#include "launcher/model/settings.h"

namespace vorbin {
namespace {

using namespace menu_cmd;

bool has(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

TEST(MenuRules, ButtonMenuByKindAndSelection) {
  struct Row {
    ButtonMenuFacts facts;
    std::vector<int> removed, kept, checked, grayed;
    bool shell, web, thumbnail, newItem;
    int line;
  } rows[] = {
      {{.kind = ItemKind::kEmpty},
       {kShellMenu, kStart, kOpenExplorer, kSearch, kStartItem},
       {kProperties, kSort, kCloseUp},
       {kFontFirst + 2, kButtonModeFirst},
       {kDelete},
       false,
       false,
       false,
       true,
       __LINE__},
      {{.kind = ItemKind::kFile, .path = L"C:\\a.exe", .fontSize = 1, .buttonMode = 2},
       {kStart, kOpenExplorer, kOpenRoot, kSearch},
       {kShellMenu, kStartWith, kStartItem, kDelete},
       {kFontFirst + 1, kButtonModeFirst + 2},
       {},
       true,
       false,
       false,
       false,
       __LINE__},
      // Several buttons: no shell menu of one file, no single-item starts.
      {{.kind = ItemKind::kFile, .path = L"C:\\a.exe", .selectedCount = 3},
       {kShellMenu, kStartWith, kStartItem},
       {kDelete, kProperties},
       {kFontFirst + 2, kButtonModeFirst},
       {},
       false,
       false,
       false,
       false,
       __LINE__},
      // A shortcut file to a web page: its own commands replace "start".
      {{.kind = ItemKind::kFile, .path = L"C:\\x\\Page.URL"},
       {kOpenExplorer},
       {kShellMenu, kStart},
       {kFontFirst + 2, kButtonModeFirst},
       {},
       true,
       true,
       true,
       false,
       __LINE__},
      {{.kind = ItemKind::kUrl, .flags = kItemUrl, .path = L"http://example.com/"},
       {kShellMenu, kOpenExplorer, kStartWith},
       {kStart, kStartItem},
       {kFontFirst + 2, kButtonModeFirst},
       {},
       false,
       false,
       true,
       false,
       __LINE__},
      {{.kind = ItemKind::kIdList, .flags = kItemIdList},
       {kShellMenu, kStart, kOpenExplorer, kStartWith},
       {kStartItem},
       {kFontFirst + 2, kButtonModeFirst},
       {},
       false,
       false,
       false,
       false,
       __LINE__},
      // Folders: the toggles follow the flags; root only with Explorer.
      {{.kind = ItemKind::kFolder, .flags = kItemFolder, .path = L"C:\\work"},
       {kStart, kStartWith},
       {kOpenExplorer, kOpenRoot, kSearch, kShellMenu},
       {kFontFirst + 2, kButtonModeFirst},
       {kOpenRoot},
       true,
       false,
       false,
       false,
       __LINE__},
      {{.kind = ItemKind::kFolder, .flags = kItemFolder | kItemExplorer | kItemRootOrFind, .path = L"C:\\w"},
       {},
       {kOpenRoot},
       {kFontFirst + 2, kButtonModeFirst, kOpenExplorer, kOpenRoot},
       {},
       true,
       false,
       false,
       false,
       __LINE__},
      {{.kind = ItemKind::kFolder, .flags = kItemFolder | kItemRootOrFind, .path = L"C:\\w", .fontSize = 7},
       {},
       {},
       {kButtonModeFirst, kSearch},
       {kOpenRoot},
       true,
       false,
       false,
       false,
       __LINE__},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    const MenuPlan plan = buttonMenuPlan(r.facts);
    for (int id : r.removed) EXPECT_TRUE(has(plan.remove, id)) << id;
    for (int id : r.kept) EXPECT_FALSE(has(plan.remove, id)) << id;
    EXPECT_EQ(plan.checked, r.checked);
    EXPECT_EQ(plan.grayed, r.grayed);
    EXPECT_EQ(plan.shellMenu, r.shell);
    EXPECT_EQ(plan.webShortcutCommands, r.web);
    EXPECT_EQ(plan.thumbnail, r.thumbnail);
    EXPECT_EQ(plan.newItemText, r.newItem);
  }
}

TEST(MenuRules, TabAndTaskMenus) {
  MenuPlan tab = tabMenuPlan({.deletable = false, .fontSize = -2, .groupDispMode = 3});
  EXPECT_EQ(tab.grayed, std::vector<int>{kDelete});
  EXPECT_EQ(tab.checked, (std::vector<int>{kFontLast, kGroupDispFirst + 3}));
  tab = tabMenuPlan({.deletable = true, .groupDispMode = 9});
  EXPECT_TRUE(tab.grayed.empty());
  EXPECT_EQ(tab.checked, std::vector<int>{kFontFirst + 2});

  MenuPlan task = taskMenuPlan({.programKnown = false});
  EXPECT_TRUE(has(task.remove, kShellMenu));
  EXPECT_TRUE(has(task.grayed, kStart));
  task = taskMenuPlan({.programKnown = true});
  EXPECT_TRUE(task.shellMenu);
  EXPECT_TRUE(task.remove.empty());
}

TEST(MenuRules, FontSizeStepsAndBounds) {
  EXPECT_EQ(fontSizeOfCommand(kFontFirst), 2);
  EXPECT_EQ(fontSizeOfCommand(kFontFirst + 1), 1);
  EXPECT_EQ(fontSizeOfCommand(kFontLast), -2);
  EXPECT_EQ(fontSizeOfCommand(kFontFirst - 1), std::nullopt);
  EXPECT_EQ(fontSizeOfCommand(kFontLast + 1), std::nullopt);
  for (int size = -2; size <= 2; ++size) EXPECT_EQ(fontSizeOfCommand(*fontCommandOfSize(size)), size);
  EXPECT_EQ(fontCommandOfSize(3), std::nullopt);
  EXPECT_EQ(fontCommandOfSize(-3), std::nullopt);
}

TEST(MenuRules, FolderToggles) {
  const uint32_t base = kItemFolder;
  struct Row {
    uint32_t before;
    int command;
    uint32_t after;
    int line;
  } rows[] = {
      {base, kOpenExplorer, base | kItemExplorer, __LINE__},
      // Explorer on clears the search verb, search on clears Explorer.
      {base | kItemRootOrFind, kOpenExplorer, base | kItemExplorer, __LINE__},
      {base | kItemExplorer | kItemRootOrFind, kOpenExplorer, base | kItemRootOrFind, __LINE__},
      {base | kItemExplorer, kSearch, base | kItemRootOrFind, __LINE__},
      {base | kItemExplorer | kItemRootOrFind, kSearch, base | kItemRootOrFind, __LINE__},
      {base | kItemRootOrFind, kSearch, base, __LINE__},
      // Root only with Explorer.
      {base, kOpenRoot, base, __LINE__},
      {base | kItemExplorer, kOpenRoot, base | kItemExplorer | kItemRootOrFind, __LINE__},
      {base | kItemExplorer | kItemRootOrFind, kOpenRoot, base | kItemExplorer, __LINE__},
      {base | kItemExplorer, kSort, base | kItemExplorer, __LINE__},
  };
  for (const Row& r : rows) EXPECT_EQ(toggleFolderFlag(r.before, r.command), r.after) << r.line;
}

TEST(MenuRules, OwnIdsBeforeTheShellsAndDeleteByVerb) {
  EXPECT_EQ(commandOwner(kThumbnail), CommandOwner::kLauncher);
  EXPECT_EQ(commandOwner(kDelete), CommandOwner::kLauncher);
  EXPECT_EQ(commandOwner(kButtonModeLast), CommandOwner::kLauncher);
  EXPECT_EQ(commandOwner(1), CommandOwner::kShell);
  EXPECT_EQ(commandOwner(kShellLast), CommandOwner::kShell);
  EXPECT_EQ(commandOwner(kShellLast + 1), CommandOwner::kWebShortcut);
  EXPECT_EQ(commandOwner(kWebLast), CommandOwner::kWebShortcut);
  // Nothing of the launcher's own falls into the shell's bands.
  EXPECT_LT(kWebLast, kThumbnail);
  // The band the shell once had reaches past them; its top is no longer the shell's.
  EXPECT_EQ(commandOwner(0x7FFF), CommandOwner::kNone);
  EXPECT_EQ(commandOwner(0), CommandOwner::kNone);
  EXPECT_TRUE(isDeleteVerb("delete"));
  EXPECT_TRUE(isDeleteVerb("Delete"));
  EXPECT_FALSE(isDeleteVerb("deletex"));
  EXPECT_FALSE(isDeleteVerb("cut"));
  EXPECT_FALSE(isDeleteVerb(""));
  EXPECT_TRUE(isWebShortcutPath(L"a.url"));
  EXPECT_FALSE(isWebShortcutPath(L".url"));
  EXPECT_FALSE(isWebShortcutPath(L"a.urlx"));
}

// Refuses every item write after the first few.
class FailingProfile : public MemoryProfile {
 public:
  int writesLeft = 1000;
  bool setBinary(const std::wstring& section, const std::wstring& name,
                 std::span<const uint8_t> data) override {
    if (writesLeft-- <= 0) return false;
    return MemoryProfile::setBinary(section, name, data);
  }
};

class CloseUp : public ::testing::Test {
 protected:
  void SetUp() override {
    table.loadGroups();
    std::wstring title = L"G";
    ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &title, false));
    // Slots 1, 3, 4, 6 hold "delta", "Bravo", "alpha", "bravo".
    const std::pair<int, const wchar_t*> items[] = {
        {1, L"delta"}, {3, L"Bravo"}, {4, L"alpha"}, {6, L"bravo"}};
    for (auto [slot, name] : items) {
      auto item = std::make_unique<Item>();
      item->title = name;
      item->setTargetPath(std::wstring(name) + L".exe");
      item->selectionLink = 5;
      table.placeItem(1, slot, std::move(item));
      ASSERT_TRUE(table.saveItem(1, slot, false));
    }
  }
  std::vector<std::wstring> names() const {
    std::vector<std::wstring> out;
    for (const ProfileValue& v : profile.values(table.groupSectionName(1)))
      if (v.name.find(L',') != std::wstring::npos) out.push_back(v.name);
    std::sort(out.begin(), out.end());
    return out;
  }
  FailingProfile profile;
  GroupTable table{profile, ModelOptions{}};
};

TEST_F(CloseUp, SortByTitleThenStoredUnderNewSlots) {
  EXPECT_EQ(closeUpOrder(table[1], false), (std::vector<int>{1, 3, 4, 6}));
  // Case does not count; equal titles keep their order.
  EXPECT_EQ(closeUpOrder(table[1], true), (std::vector<int>{4, 3, 6, 1}));
  ASSERT_TRUE(closeUpGroup(table, 1, true));
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Bravo,2", L"alpha,1", L"bravo,3", L"delta,4"}));
  ASSERT_EQ(table[1].items.size(), 4u);
  EXPECT_EQ(table[1].items[0]->title, L"alpha");
  EXPECT_EQ(table[1].items[3]->title, L"delta");
  EXPECT_EQ(table[1].items[2]->selectionLink, 0);
}

TEST_F(CloseUp, CloseUpKeepsOrderAndAFailedWriteLosesNothing) {
  profile.writesLeft = 2;
  EXPECT_FALSE(closeUpGroup(table, 1, false));
  // Two items went under new names, then a write failed: the group is stored
  // and held as before, without the half-made new names.
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Bravo,4", L"alpha,5", L"bravo,7", L"delta,2"}));
  ASSERT_EQ(table[1].items.size(), 7u);
  EXPECT_EQ(table[1].items[4]->title, L"alpha");
  EXPECT_EQ(table[1].items[0], nullptr);

  profile.writesLeft = 1000;
  ASSERT_TRUE(closeUpGroup(table, 1, false));
  EXPECT_EQ(names(), (std::vector<std::wstring>{L"Bravo,2", L"alpha,3", L"bravo,4", L"delta,1"}));
}

TEST(MenuRules, PictureSharedByCopiedButtons) {
  MemoryProfile profile;
  GroupTable table{profile, ModelOptions{}};
  table.loadGroups();
  auto web = [](const wchar_t* picture) {
    auto item = std::make_unique<Item>();
    item->title = L"w";
    item->flags = kItemUrl;
    item->text4 = picture;
    return item;
  };
  const std::wstring data = L"C:\\data\\";
  const std::wstring path = L"C:\\data\\1201ABCD.jpg";
  table.placeItem(0, 0, web(L"C:\\data\\1201ABCD.jpg"));
  table.placeItem(0, 2, web(L"C:\\DATA\\1201abcd.JPG"));
  table.placeItem(0, 3, web(L"1201abcd.jpg"));  // the bare name a capture stores
  auto program = web(L"1201ABCD.jpg");
  program->flags = 0;  // only web items name pictures
  table.placeItem(0, 4, std::move(program));
  EXPECT_TRUE(pictureStillNamed(table, L"c:\\data\\1201ABCD.jpg", data));
  table.removeItem(0, 0);
  EXPECT_TRUE(pictureStillNamed(table, path, data));
  table.removeItem(0, 2);
  EXPECT_TRUE(pictureStillNamed(table, path, data)) << "named by its bare name";
  table.removeItem(0, 3);
  EXPECT_FALSE(pictureStillNamed(table, path, data));
  EXPECT_FALSE(pictureStillNamed(table, L"", data));
  // A name outside the data folder never counts as naming a picture of it.
  table.placeItem(0, 5, web(L"..\\data\\1201ABCD.jpg"));
  EXPECT_FALSE(pictureStillNamed(table, path, data));
}

}  // namespace
}  // namespace vorbin
