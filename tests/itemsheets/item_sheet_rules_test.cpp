// The item sheets' rules: kinds and options, limits, renaming, the wizard's
// first page, and the texts of ".lnk" descriptions and ".url" files.
#include <gtest/gtest.h>

#include "launcher/dialogs/item_sheet_rules.h"
#include "launcher/model/item_record.h"

namespace vorbin {
namespace {

TEST(ItemSheetRules, KindOptionsRoundTripAndClicks) {
  // Folder with explorer view rooted at it; prompting with find; program.
  struct Case {
    uint32_t flags;
    KindOptions expected;
    int line;
  } cases[] = {
      {kItemFolder | kItemExplorer | kItemRootOrFind | 1, {2, true, true, false}, __LINE__},
      {kItemFolder | kItemRootOrFind, {2, false, false, true}, __LINE__},
      {kItemPrompt, {1, false, false, false}, __LINE__},
      {kItemRunAs, {0, false, false, false}, __LINE__},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const KindOptions got = kindOptionsFromFlags(c.flags);
    EXPECT_EQ(got.kind, c.expected.kind);
    EXPECT_EQ(got.explorer, c.expected.explorer);
    EXPECT_EQ(got.rooted, c.expected.rooted);
    EXPECT_EQ(got.find, c.expected.find);
    EXPECT_EQ(flagsWithKindOptions(c.flags, got), c.flags);
  }
  // Changing the kind keeps the show state and run-as and drops the old kind.
  EXPECT_EQ(flagsWithKindOptions(kItemFolder | kItemExplorer | kItemRunAs | 2, {1, false, false, false}),
            kItemPrompt | kItemRunAs | 2u);

  KindOptions o{2, true, true, false};
  o = afterOptionClick(o, OptionBox::kFind, true);  // C clears A (and with it B)
  EXPECT_TRUE(o.find);
  EXPECT_FALSE(o.explorer);
  EXPECT_FALSE(o.rooted);
  o = afterOptionClick(o, OptionBox::kRooted, true);  // B needs A
  EXPECT_FALSE(o.rooted);
  o = afterOptionClick(o, OptionBox::kExplorer, true);  // A clears C
  EXPECT_FALSE(o.find);
  o = afterOptionClick(o, OptionBox::kRooted, true);
  EXPECT_TRUE(o.rooted);
  o = afterOptionClick(o, OptionBox::kExplorer, false);  // unchecking A clears B
  EXPECT_FALSE(o.rooted);

  EXPECT_TRUE(optionEnabling({1}).pattern);
  EXPECT_FALSE(optionEnabling({2}).pattern);
  EXPECT_FALSE(optionEnabling({2, false}).rooted);
  EXPECT_TRUE(optionEnabling({2, true}).rooted);
  EXPECT_FALSE(optionEnabling({0}).explorer);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(optionKindFromWizardKind(wizardKindFromOptionKind(k)), k);
  EXPECT_EQ(wizardKindFromOptionKind(1), 0);  // prompting is first on the wizard's page
}

TEST(ItemSheetRules, AcceptanceLimitsAndHotKeys) {
  EXPECT_TRUE(sheetAcceptable(L"notepad", L"", 0));
  EXPECT_FALSE(sheetAcceptable(L"  ", L"C:\\", 0));  // a program needs its command
  EXPECT_TRUE(sheetAcceptable(L"", L"C:\\", kItemPrompt));
  EXPECT_TRUE(sheetAcceptable(L"", L"C:\\", kItemFolder));
  EXPECT_FALSE(sheetAcceptable(L"", L"", kItemFolder));

  EXPECT_EQ(boundedComment(std::wstring(5000, L'c')).size(), kMaxCommentChars);
  EXPECT_EQ(boundedComment(L"short"), L"short");

  EXPECT_EQ(itemHotKeyFromControl('K'), 0x0600 | 'K');             // no modifier: Ctrl+Alt
  EXPECT_EQ(itemHotKeyFromControl(0x0100 | 'K'), 0x0100 | 'K');    // Shift stays alone
  EXPECT_EQ(itemHotKeyFromControl(0x0A00 | 0x74), 0x0200 | 0x74);  // extended bit dropped
  EXPECT_EQ(itemHotKeyFromControl(0x0600), 0);                     // modifiers without a key are no key

  EXPECT_EQ(wildCardPatterns(L"Text|*.txt|All|*.*|Odd|"), (std::vector<std::wstring>{L"*.txt", L"*.*"}));
  EXPECT_TRUE(wildCardPatterns(L"").empty());

  // The picture follows the program, the folder and the folder options only.
  PictureSource before{0, L"C:\\a.exe", {}};
  PictureSource after = before;
  after.path = L"C:\\A.EXE";
  EXPECT_FALSE(pictureNeedsRebuild(before, after));
  after.path = L"C:\\b.exe";
  EXPECT_TRUE(pictureNeedsRebuild(before, after));
  after.path = L"";
  EXPECT_FALSE(pictureNeedsRebuild(before, after));  // nothing to build from
  after = before;
  after.flags = kItemPrompt;
  EXPECT_TRUE(pictureNeedsRebuild(before, after));
  before = {kItemFolder, L"C:\\Docs", {}};
  after = before;
  after.flags |= kItemExplorer;
  EXPECT_TRUE(pictureNeedsRebuild(before, after));
  after = before;
  after.flags |= 1;  // the show state is not in the picture
  EXPECT_FALSE(pictureNeedsRebuild(before, after));

  EXPECT_EQ(joinCommand(L"C:\\Program Files\\a.exe", L" -x "), L"\"C:\\Program Files\\a.exe\" -x");
  EXPECT_EQ(joinCommand(L"\"C:\\Program Files\\a.exe\"", L""), L"\"C:\\Program Files\\a.exe\"");
  EXPECT_EQ(withoutQuotes(L" \"C:\\My Dir\" "), L"C:\\My Dir");
}

TEST(ItemSheetRules, WizardFirstPageAndRenaming) {
  EXPECT_EQ(wizardTargetKind(L"http://example.com", false), WizardTargetKind::kUrl);
  EXPECT_EQ(wizardTargetKind(L"C:/odd/path", false), WizardTargetKind::kUrl);  // any ":/" counts
  EXPECT_EQ(wizardTargetKind(L"C:\\Tools\\a.exe", false), WizardTargetKind::kPath);
  EXPECT_EQ(wizardTargetKind(L"Printers", true), WizardTargetKind::kIdList);
  // A URL keeps nothing else; an ID list loses prompting; a file drops folder options.
  EXPECT_EQ(wizardFlagsAfterTarget(WizardTargetKind::kUrl, kItemFolder | kItemExplorer | 1, false), kItemUrl);
  EXPECT_EQ(wizardFlagsAfterTarget(WizardTargetKind::kIdList, kItemPrompt | 1, false), kItemIdList | 1u);
  EXPECT_EQ(wizardFlagsAfterTarget(WizardTargetKind::kPath, kItemFolder | kItemExplorer | kItemRootOrFind | 2,
                                   false),
            2u);
  EXPECT_EQ(wizardFlagsAfterTarget(WizardTargetKind::kPath, 0, true), kItemFolder);
  EXPECT_EQ(wizardFlagsAfterTarget(WizardTargetKind::kPath, kItemPrompt, true), kItemPrompt);

  // The stored name is found whatever way the slot number was written.
  const std::wstring names[] = {L"Edit,2", L"Editor,03", L"Editor,4"};
  EXPECT_EQ(storedItemName(names, L"Editor", 2), L"Editor,03");
  EXPECT_FALSE(storedItemName(names, L"editor", 2));
  EXPECT_FALSE(storedItemName(names, L"Edit", 2));

  RenamePlan plan = renamePlan(L"Editor,3", L"Writer", 2);
  EXPECT_EQ(plan.deleteFirst, L"Editor,3");
  EXPECT_EQ(plan.write, L"Writer,3");
  // Only the case differs: the registry sees one value, so it must go before the write.
  plan = renamePlan(L"editor,3", L"Editor", 2);
  EXPECT_EQ(plan.deleteFirst, L"editor,3");
  plan = renamePlan(L"Editor,3", L"Editor", 2);
  EXPECT_FALSE(plan.deleteFirst);
}

TEST(ItemSheetRules, LinkDescriptionEncodeDecode) {
  // A folder item with explorer and root options: the whole flags word in lower-case hex.
  EXPECT_EQ(encodeShortcutDescription(kItemFolder | kItemExplorer | kItemRootOrFind, L"", L""),
            L"_vosc:0x8c0\n");
  EXPECT_EQ(encodeShortcutDescription(kItemPrompt | kItemExplorer, L"edit.exe", L"notes"),
            L"_vosc:0xa0\nedit.exe\nnotes");
  EXPECT_EQ(encodeShortcutDescription(0, L"x", L"just a comment"), L"just a comment");

  LinkFields link;
  link.shortcutFile = L"C:\\Links\\Shortcut to Docs.lnk";
  link.path = L"C:\\Docs";
  link.pathAttributes = 0x10;
  link.description = L"_vosc:0xa0\nedit.exe -n\nthe comment";
  auto record = shortcutRecordFromLink(link, L"Shortcut to ");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->flags, kItemPrompt);
  EXPECT_EQ(record->folder, L"C:\\Docs");
  EXPECT_EQ(record->target, L"edit.exe -n");
  EXPECT_EQ(record->comment, L"the comment");
  EXPECT_EQ(record->title, L"Docs");

  // The same description on a file: a program item, the command line dropped.
  link.path = L"C:\\Program Files\\a.exe";
  link.pathAttributes = 0x20;
  link.arguments = L"-x";
  link.workingFolder = L"C:\\Work";
  link.showCommand = 7;
  record = shortcutRecordFromLink(link, L"");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->flags, 1u);  // minimized
  EXPECT_EQ(record->target, L"\"C:\\Program Files\\a.exe\" -x");
  EXPECT_EQ(record->folder, L"C:\\Work");
  EXPECT_EQ(record->comment, L"the comment");

  // Folder with options; attributes that are not valid make it an ID-list link.
  link = {};
  link.shortcutFile = L"C:\\a.lnk";
  link.path = L"C:\\Docs";
  link.pathAttributes = 0x10;
  link.description = L"_vosc:0x8c0\nhello";
  link.showCommand = 3;
  record = shortcutRecordFromLink(link, L"");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->flags, kItemFolder | kItemExplorer | kItemRootOrFind | 2);
  EXPECT_EQ(record->comment, L"hello");
  link.pathAttributes = 0xFFFFFFFF;
  EXPECT_FALSE(shortcutRecordFromLink(link, L""));  // no path, no ID list
  link.idList = {4, 0, 0x1F, 0x50, 0, 0};
  link.idListIsFolder = true;
  record = shortcutRecordFromLink(link, L"");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->flags & (kItemIdList | kItemFolder), kItemIdList | kItemFolder);
  link.idListIsSelf = true;
  EXPECT_FALSE(shortcutRecordFromLink(link, L""));

  // Damaged tags: no digits, no separator, a long run of digits.
  EXPECT_EQ(decodeShortcutDescription(L"_vosc:").flags, 0u);
  EXPECT_EQ(decodeShortcutDescription(L"_vosc:0x20").command, L"");
  EXPECT_EQ(decodeShortcutDescription(L"_vosc:0xfffffffff\nX").flags, 0xFFFFFFFFu);
  EXPECT_EQ(decodeShortcutDescription(L"plain").comment, L"plain");

  // Writing: the description and the show command; prompting items link to their folder.
  ShortcutRecord item;
  item.flags = kItemPrompt | 2;
  item.folder = L"\"C:\\My Docs\"";
  item.target = L"edit.exe";
  LinkPlan plan = linkPlanForItem(item, L"edit.exe", L"");
  EXPECT_EQ(plan.path, L"C:\\My Docs");
  EXPECT_EQ(plan.showCommand, 3);
  EXPECT_EQ(plan.description, L"_vosc:0x22\nedit.exe\n");
  item.flags = 1;
  item.folder = L"C:\\Work";
  plan = linkPlanForItem(item, L"\"C:\\Program Files\\a.exe\"", L"-x");
  EXPECT_EQ(plan.path, L"C:\\Program Files\\a.exe");
  EXPECT_EQ(plan.arguments, L"-x");
  EXPECT_EQ(plan.workingFolder, L"C:\\Work");
  EXPECT_EQ(plan.showCommand, 7);
}

TEST(ItemSheetRules, LinkHeaderShowCommand) {
  std::vector<uint8_t> bytes(0x4C, 0);
  const uint8_t head[] = {0x4C, 0, 0, 0, 0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  std::copy(std::begin(head), std::end(head), bytes.begin());
  bytes[0x3C] = 7;
  EXPECT_EQ(linkHeaderShowCommand(bytes), 7u);
  EXPECT_FALSE(linkHeaderShowCommand(std::span(bytes).first(0x4B)));
  bytes[4] = 0;
  EXPECT_FALSE(linkHeaderShowCommand(bytes));
}

TEST(ItemSheetRules, UrlShortcutText) {
  UrlFields fields{L"http://example.com/a?b=c", 0x0641, L"C:\\icons.dll", 3};
  const std::wstring text = urlShortcutText(fields);
  EXPECT_EQ(text,
            L"[InternetShortcut]\r\nURL=http://example.com/a?b=c\r\nHotKey=1601\r\n"
            L"IconFile=C:\\icons.dll\r\nIconIndex=3\r\n");
  auto read = parseUrlShortcut(text);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->url, fields.url);
  EXPECT_EQ(read->hotKey, fields.hotKey);
  EXPECT_EQ(read->iconFile, fields.iconFile);
  EXPECT_EQ(read->iconIndex, 3);
  EXPECT_TRUE(urlFieldsToRepair(fields, read).empty());

  // Other sections, case, blanks, LF line ends and a second URL key.
  read = parseUrlShortcut(
      L"[DEFAULT]\nURL=http://wrong/\n[internetshortcut]\n  url = http://right/ \n"
      L"URL=http://later/\nhotkey=junk\nIconIndex=-2\n[Other]\nIconFile=x\n");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->url, L"http://right/");
  EXPECT_EQ(read->hotKey, 0);
  EXPECT_EQ(read->iconIndex, -2);
  EXPECT_EQ(read->iconFile, L"");
  EXPECT_FALSE(parseUrlShortcut(L"[InternetShortcut]\r\nIconFile=x\r\n"));
  EXPECT_FALSE(parseUrlShortcut(L"URL=http://no-section/"));
  // A hot key out of range is ignored; an overlong URL is cut to the field limit.
  read = parseUrlShortcut(L"[InternetShortcut]\nHotKey=70000\nURL=h:/" + std::wstring(5000, L'a'));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->hotKey, 0);
  EXPECT_EQ(read->url.size(), kMaxUrlFieldChars);

  // What the shell's object left out is repaired key by key.
  const auto repairs = urlFieldsToRepair(fields, UrlFields{fields.url, 0, L"", 0});
  ASSERT_EQ(repairs.size(), 3u);
  EXPECT_EQ(repairs[0], (std::pair<std::wstring, std::wstring>(L"HotKey", L"1601")));
  EXPECT_EQ(repairs[1].first, L"IconFile");
  EXPECT_EQ(repairs[2], (std::pair<std::wstring, std::wstring>(L"IconIndex", L"3")));
  EXPECT_EQ(urlFieldsToRepair(fields, std::nullopt).size(), 4u);

  EXPECT_EQ(splitIconLocation(L"C:\\a.dll,12"), (std::pair<std::wstring, int>(L"C:\\a.dll", 12)));
  EXPECT_EQ(splitIconLocation(L"C:\\a.ico"), (std::pair<std::wstring, int>(L"C:\\a.ico", 0)));
  EXPECT_EQ(splitIconLocation(L"C:\\a.dll,x"), (std::pair<std::wstring, int>(L"C:\\a.dll", 0)));
}

}  // namespace
}  // namespace vorbin
