// Dropped data from hostile or ordinary programs, and the rules around a drop:
// file lists, ID-list arrays, link descriptors, text, effects, queued drops
// and the names of dragged-out shortcut files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "launcher/bar/drop_formats.h"
#include "launcher/model/item_record.h"

namespace vorbin {
namespace {

using Bytes = std::vector<uint8_t>;

void putU32(Bytes& b, size_t at, uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void appendWide(Bytes& b, std::wstring_view s, bool terminate = true) {
  for (wchar_t c : s) {
    b.push_back(static_cast<uint8_t>(c));
    b.push_back(static_cast<uint8_t>(c >> 8));
  }
  if (terminate) b.insert(b.end(), {0, 0});
}
void appendAnsi(Bytes& b, std::string_view s, bool terminate = true) {
  b.insert(b.end(), s.begin(), s.end());
  if (terminate) b.push_back(0);
}

// A DROPFILES block: header, then the names, then the closing terminator.
Bytes dropFiles(const std::vector<std::wstring>& names, bool wide, uint32_t firstAt = 20) {
  Bytes b;
  putU32(b, 0, firstAt);
  putU32(b, 16, wide ? 1 : 0);
  b.resize(firstAt);
  for (const auto& n : names) {
    if (wide)
      appendWide(b, n);
    else
      appendAnsi(b, std::string(n.begin(), n.end()));
  }
  if (wide)
    b.insert(b.end(), {0, 0});
  else
    b.push_back(0);
  return b;
}

const AnsiToWide kLatin1 = [](std::string_view s) { return std::wstring(s.begin(), s.end()); };

TEST(DropFormats, FileListsAreReadWithinTheirBlock) {
  const std::wstring longPath = L"C:\\" + std::wstring(297, L'a');  // 300 characters
  const std::wstring edgePath = L"C:\\" + std::wstring(kMaxDropPathChars - 3, L'b');
  struct Case {
    Bytes block;
    std::vector<std::wstring> expected;
    int line;
  } cases[] = {
      {dropFiles({L"C:\\a.txt", L"D:\\b c\\d.exe", L"E:\\f"}, true), {L"C:\\a.txt", L"D:\\b c\\d.exe", L"E:\\f"},
       __LINE__},
      {dropFiles({L"C:\\x.txt", L"C:\\y"}, false), {L"C:\\x.txt", L"C:\\y"}, __LINE__},
      // A path too long for a path buffer is skipped, its neighbours kept.
      {dropFiles({L"C:\\1", longPath, L"C:\\2"}, true), {L"C:\\1", L"C:\\2"}, __LINE__},
      {dropFiles({edgePath}, true), {edgePath}, __LINE__},
      {dropFiles({edgePath + L"c"}, true), {}, __LINE__},
      // The file offset may point after a larger header.
      {dropFiles({L"C:\\z"}, true, 28), {L"C:\\z"}, __LINE__},
      // Offsets inside the header or past the block give nothing.
      {dropFiles({L"C:\\z"}, true, 8), {}, __LINE__},
      {[] {
         Bytes b = dropFiles({L"C:\\z"}, true);
         putU32(b, 0, static_cast<uint32_t>(b.size()));
         return b;
       }(),
       {},
       __LINE__},
      {[] {
         Bytes b = dropFiles({L"C:\\z"}, true);
         putU32(b, 0, 0xFFFFFFF0u);
         return b;
       }(),
       {},
       __LINE__},
      // A name running into the block's end without a terminator is left out.
      {[] {
         Bytes b = dropFiles({L"C:\\ok"}, true);
         b.resize(b.size() - 2);  // the list's closing terminator
         appendWide(b, L"C:\\cut", false);
         return b;
       }(),
       {L"C:\\ok"},
       __LINE__},
      {Bytes(19, 0), {}, __LINE__},
      {Bytes{}, {}, __LINE__},
  };
  for (const Case& c : cases) EXPECT_EQ(parseDropFiles(c.block, kLatin1), c.expected) << "line " << c.line;
}

Bytes idList(std::initializer_list<uint8_t> entryBytes) {
  // One entry holding entryBytes, then the terminator.
  Bytes b;
  const uint16_t cb = static_cast<uint16_t>(entryBytes.size() + 2);
  b.push_back(static_cast<uint8_t>(cb));
  b.push_back(static_cast<uint8_t>(cb >> 8));
  b.insert(b.end(), entryBytes);
  b.insert(b.end(), {0, 0});
  return b;
}

Bytes idListArray(const Bytes& parent, const std::vector<Bytes>& children) {
  Bytes b;
  putU32(b, 0, static_cast<uint32_t>(children.size()));
  size_t at = 4 + 4 * (children.size() + 1);
  b.resize(at);
  putU32(b, 4, static_cast<uint32_t>(at));
  b.insert(b.end(), parent.begin(), parent.end());
  for (size_t i = 0; i < children.size(); ++i) {
    putU32(b, 8 + 4 * i, static_cast<uint32_t>(b.size()));
    b.insert(b.end(), children[i].begin(), children[i].end());
  }
  return b;
}

TEST(DropFormats, IdListArraysJoinParentAndChildWithinTheBlock) {
  const Bytes parent = idList({0x1F, 0x50});
  const Bytes a = idList({0x31, 'a'}), b = idList({0x32, 'b', 'b'});
  const std::vector<IdListBytes> got = parseIdListArray(idListArray(parent, {a, b}));
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], idListAppend(parent, a));
  EXPECT_EQ(got[1], idListAppend(parent, b));
  EXPECT_EQ(idListCount(got[1]), 2u);

  // 1,000 items claimed with offsets past the end: nothing, no read beyond.
  Bytes lying = idListArray(parent, {a});
  putU32(lying, 0, 1000);
  EXPECT_TRUE(parseIdListArray(lying).empty());
  Bytes far;
  putU32(far, 0, 1000);
  for (uint32_t i = 0; i <= 1000; ++i) putU32(far, 4 + 4 * i, 0x7FFFFFF0u + i);
  EXPECT_TRUE(parseIdListArray(far).empty());
  // A child offset past the end drops that child only.
  Bytes oneBad = idListArray(parent, {a, b});
  putU32(oneBad, 8, static_cast<uint32_t>(oneBad.size() + 40));
  ASSERT_EQ(parseIdListArray(oneBad).size(), 1u);
  EXPECT_EQ(parseIdListArray(oneBad)[0], idListAppend(parent, b));
  // A child whose entry count runs past the block is dropped.
  Bytes cut = idListArray(parent, {a});
  cut.resize(cut.size() - 1);
  EXPECT_TRUE(parseIdListArray(cut).empty());
  // A parent that is not a list gives nothing.
  Bytes badParent = idListArray(parent, {a});
  putU32(badParent, 4, static_cast<uint32_t>(badParent.size()));
  EXPECT_TRUE(parseIdListArray(badParent).empty());
  EXPECT_TRUE(parseIdListArray(Bytes{1, 0, 0}).empty());

  // Handed on to the shell only whole: one bad element spoils the block.
  EXPECT_TRUE(idListArrayIsWhole(idListArray(parent, {a, b})));
  for (const Bytes& bad : {lying, far, oneBad, cut, badParent, idListArray(parent, {}), Bytes{1, 0, 0}})
    EXPECT_FALSE(idListArrayIsWhole(bad));
  Bytes lastBad = idListArray(parent, {a, b});
  putU32(lastBad, 12, static_cast<uint32_t>(lastBad.size()));
  EXPECT_FALSE(idListArrayIsWhole(lastBad)) << "the last object's offset is checked";
}

Bytes descriptors(const std::vector<std::pair<uint32_t, std::wstring>>& items, bool wide) {
  const size_t size = 72 + 260 * (wide ? 2 : 1);
  Bytes b;
  putU32(b, 0, static_cast<uint32_t>(items.size()));
  for (const auto& [flags, name] : items) {
    const size_t at = b.size();
    b.resize(at + size, 0);
    putU32(b, at, flags);
    for (size_t i = 0; i < name.size() && i < 260; ++i) {
      if (wide) {
        b[at + 72 + 2 * i] = static_cast<uint8_t>(name[i]);
        b[at + 73 + 2 * i] = static_cast<uint8_t>(name[i] >> 8);
      } else {
        b[at + 72 + i] = static_cast<uint8_t>(name[i]);
      }
    }
  }
  return b;
}

TEST(DropFormats, LinkDescriptorsGiveTitlesOfLinksOnly) {
  for (bool wide : {true, false}) {
    SCOPED_TRACE(wide ? "wide" : "ansi");
    const Bytes block = descriptors({{kDescriptorLink, L"News of the day - Browser.url"},
                                     {0, L"picture.jpg"},
                                     {kDescriptorLink | 0x40, L"Plain page.url"}},
                                    wide);
    EXPECT_EQ(parseLinkDescriptors(block, wide, L" - Browser", kLatin1),
              (std::vector<std::wstring>{L"News of the day", L"Plain page"}));
    // A count past the block gives nothing.
    Bytes huge = block;
    putU32(huge, 0, 0xFFFFFFFFu);
    EXPECT_TRUE(parseLinkDescriptors(huge, wide, L"", kLatin1).empty());
    Bytes oneMore = block;
    putU32(oneMore, 0, 4);
    EXPECT_TRUE(parseLinkDescriptors(oneMore, wide, L"", kLatin1).empty());
  }
  // A name filling its whole field without a terminator is skipped.
  EXPECT_TRUE(parseLinkDescriptors(descriptors({{kDescriptorLink, std::wstring(260, L'n')}}, true), true, L"", kLatin1)
                  .empty());
  // The cut text at the start keeps what follows it.
  EXPECT_EQ(linkTitle(L"Browser - Page.url", L"Browser - "), L"Page");
  EXPECT_EQ(linkTitle(L"a.b.url", L""), L"a.b");
  EXPECT_EQ(linkTitle(L"plain", L"x"), L"plain");
}

TEST(DropFormats, TextIsBoundedByItsBlock) {
  Bytes wide;
  appendWide(wide, L"  https://example.org/a  ");
  EXPECT_EQ(parseDroppedText(wide, true, kLatin1), L"https://example.org/a");
  Bytes unterminated;
  appendAnsi(unterminated, "http://x.test/", false);
  EXPECT_EQ(parseDroppedText(unterminated, false, kLatin1), L"http://x.test/");
  Bytes oddWide;
  appendWide(oddWide, L"ab", false);
  oddWide.push_back('c');  // half a character at the end
  EXPECT_EQ(parseDroppedText(oddWide, true, kLatin1), L"ab");
  EXPECT_EQ(parseDroppedText({}, true, kLatin1), L"");
}

TEST(DropFormats, RequestsComeFromTheFirstFormatOffered) {
  DropFacts facts;
  facts.isFolder = [](const std::wstring& p) { return p.ends_with(L"\\dir"); };
  facts.idListIsFolder = [](const IdListBytes& l) { return l.size() > 6; };

  DropOffer files;
  files.files = std::vector<std::wstring>{L"C:\\a.exe", L"C:\\dir"};
  files.text = L"http://ignored.test/";
  auto r = dropRequests(files, facts);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].target, L"C:\\a.exe");
  EXPECT_EQ(r[0].flags, 0u);
  EXPECT_EQ(r[1].flags, kItemFolder);
  EXPECT_FALSE(onlyWebAddresses(r));

  DropOffer lists;
  lists.idLists = std::vector<IdListBytes>{idList({1, 2, 3}), idList({1})};
  r = dropRequests(lists, facts);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].flags, kItemIdList | kItemFolder);
  EXPECT_EQ(r[1].flags, kItemIdList);
  EXPECT_EQ(r[1].idList, idList({1}));

  DropOffer links;
  links.links = std::vector<std::wstring>{L"One", L"Two"};
  links.text = L"http://a.test/";
  r = dropRequests(links, facts);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[1].title, L"Two");
  EXPECT_EQ(r[1].target, L"http://a.test/");
  EXPECT_EQ(r[1].flags, kItemUrl);
  EXPECT_TRUE(onlyWebAddresses(r));
  links.text.reset();
  EXPECT_TRUE(dropRequests(links, facts).empty());  // a link without its address

  DropOffer text;
  text.text = L"http://" + std::wstring(kMaxDropUrlChars - 7, L'u');
  ASSERT_EQ(dropRequests(text, facts).size(), 1u);
  text.text->push_back(L'u');
  EXPECT_TRUE(dropRequests(text, facts).empty());
  text.text = L"";
  EXPECT_TRUE(dropRequests(text, facts).empty());
  EXPECT_TRUE(dropRequests(DropOffer{}, facts).empty());
}

TEST(DropFormats, EffectsAndDropsByPlace) {
  struct Case {
    DropPlace place;
    uint32_t allowed;
    std::optional<uint32_t> effect;
    bool toShell;  // with data that is not only web addresses
    int line;
  } cases[] = {
      {{.area = 2}, kEffectCopy | kEffectLink, kEffectCopy, false, __LINE__},
      {{.area = 2}, kEffectLink, kEffectLink, false, __LINE__},
      {{.area = 2}, kEffectMove, kEffectNone, false, __LINE__},
      {{.area = 3, .occupied = true}, 7, kEffectCopy, false, __LINE__},
      // A folder button, or the right button over any button: the shell's target decides.
      {{.area = 2, .occupied = true, .handsToShell = true}, 7, std::nullopt, true, __LINE__},
      {{.area = 3, .occupied = true, .keys = kDragKeyRight}, 7, std::nullopt, true, __LINE__},
      // Shift (4) is not the right button.
      {{.area = 2, .occupied = true, .keys = kDragKeyShift}, 7, kEffectCopy, false, __LINE__},
      {{.area = 2, .occupied = false, .keys = kDragKeyRight}, 7, kEffectCopy, false, __LINE__},
      {{.area = 1, .keys = kDragKeyRight}, 7, kEffectCopy, false, __LINE__},
      {{.area = 0}, 7, kEffectNone, false, __LINE__},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(outsideDragEffect(c.place, c.allowed), c.effect) << "line " << c.line;
    EXPECT_EQ(dropGoesToShell(c.place, false), c.toShell) << "line " << c.line;
    EXPECT_FALSE(dropGoesToShell(c.place, true)) << "line " << c.line;  // web addresses never
  }
}

TEST(DropFormats, QueuedDropPlans) {
  using K = QueuedDropKind;
  struct Case {
    int area;
    bool occupied, right;
    size_t count;
    K kind;
    bool ask;
    int line;
  } cases[] = {
      {2, false, false, 1, K::kAddAtSlot, false, __LINE__},
      {2, false, false, 3, K::kAddAtFreeSlots, false, __LINE__},
      {3, true, false, 2, K::kStartWithEach, false, __LINE__},
      {2, true, true, 1, K::kAddAtSlot, true, __LINE__},
      {2, true, true, 2, K::kAddAtFreeSlots, false, __LINE__},
      {13, false, false, 1, K::kElsewhere, false, __LINE__},
      {2, false, false, 0, K::kNothing, false, __LINE__},
  };
  for (const Case& c : cases) {
    const QueuedDropPlan p = planQueuedDrop(c.area, c.occupied, 0, c.right, c.count);
    EXPECT_EQ(p.kind, c.kind) << "line " << c.line;
    EXPECT_EQ(p.askReplace, c.ask) << "line " << c.line;
    EXPECT_FALSE(p.selectGroup) << "line " << c.line;
  }
  const QueuedDropPlan tab = planQueuedDrop(1, false, 4, false, 1);
  EXPECT_EQ(tab.selectGroup, 4);
  EXPECT_EQ(tab.kind, K::kAddAtFreeSlots);
}

TEST(DropFormats, DraggedOutNamesStayInsideTheirFolder) {
  std::vector<std::wstring> taken;
  struct Case {
    const wchar_t* title;
    const wchar_t* ext;
    const wchar_t* expected;
  } cases[] = {
      {L"Editor", L".lnk", L"Editor.lnk"},
      {L"Editor", L".lnk", L"Editor (2).lnk"},
      {L"editor", L".lnk", L"editor (3).lnk"},  // names differ only in case on disk
      {L"Editor", L".url", L"Editor.url"},
      {L"..", L".lnk", L"Item.lnk"},
      {L".", L".lnk", L"Item (2).lnk"},
      {L"", L".lnk", L"Item (3).lnk"},
      {L"   ", L".lnk", L"Item (4).lnk"},
      {L"CON", L".lnk", L"Item (5).lnk"},
      {L"lpt1.txt", L".lnk", L"Item (6).lnk"},
      {L"nul ", L".url", L"Item.url"},
      {L"Console", L".lnk", L"Console.lnk"},
      {L"Notes...", L".lnk", L"Notes.lnk"},
      {L"a\tb", L".lnk", L"a_b.lnk"},
  };
  for (const Case& c : cases) EXPECT_EQ(dragFileName(c.title, c.ext, L"Item", taken), c.expected) << c.title;
  // Separators never survive: the name cannot climb out of the folder.
  const std::wstring climbing = dragFileName(L"..\\..\\Windows\\x", L".lnk", L"Item", taken);
  EXPECT_EQ(climbing.find(L'\\'), std::wstring::npos);
  EXPECT_EQ(dragFileName(L"a/b", L".lnk", L"Item", taken).find(L'/'), std::wstring::npos);
  EXPECT_LE(dragFileName(std::wstring(500, L'x'), L".lnk", L"Item", taken).size(), 130u);
  // A cut that ends among dots leaves none at the end of the name.
  EXPECT_EQ(dragFileName(L"1" + std::wstring(200, L'.') + L"z", L".lnk", L"Item", taken), L"1.lnk");

  for (const wchar_t* refused : {L"CON", L"con.txt", L"Com7", L"AUX .x", L"...", L"", L"CONOUT$"})
    EXPECT_TRUE(isRefusedFileName(refused)) << refused;
  for (const wchar_t* fine : {L"COM", L"COM10", L"Connie", L"a..", L".profile"})
    EXPECT_FALSE(isRefusedFileName(fine)) << fine;
}

TEST(DropFormats, OnlyALeftButtonMoveOutDeletes) {
  EXPECT_TRUE(moveOutDeletes(kEffectMove, false));
  EXPECT_FALSE(moveOutDeletes(kEffectMove, true));
  EXPECT_FALSE(moveOutDeletes(kEffectCopy, false));
  EXPECT_FALSE(moveOutDeletes(kEffectMove | kEffectCopy, false));
  EXPECT_FALSE(moveOutDeletes(kEffectNone, false));
}

}  // namespace
}  // namespace vorbin
