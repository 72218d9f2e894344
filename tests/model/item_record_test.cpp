// Item records and value names: round trips, records of older versions, and
// damaged records that must be read without leaving their bytes.
#include "launcher/model/item_record.h"

#include <gtest/gtest.h>

#include "model_test_util.h"

namespace vorbin {
namespace {

using test::patternImage;
using test::putAnsi;
using test::putWord;

Item fullItem() {
  Item item;
  item.flags = kItemPrompt | 0x0002;
  item.promptOptions = 0x0321;
  item.hotKey = 0x0341;
  item.setTargetPath(L"C:\\Program Files\\Editor\\edit.exe");
  item.folder = L"C:\\Work";
  item.text3 = L"*.txt";
  item.text4 = L"last parameters";
  item.text5 = L"コメント with a comment";
  item.image = patternImage(24, 5);
  return item;
}

TEST(ItemRecord, RoundTripKeepsEveryStoredField) {
  for (int depth : {4, 24, 32}) {
    Item item = fullItem();
    item.image = patternImage(depth, 3);
    uint16_t word = 0;
    std::vector<uint8_t> bytes = encodeItemRecord(item, &word);
    EXPECT_EQ(word & 0x0FFF, item.flags);
    EXPECT_EQ(word & kRecordUnicode, kRecordUnicode);
    EXPECT_EQ(4 * ((word >> 12) & 7) + 4, depth);

    ItemRecord r = decodeItemRecord(bytes, latin1Decoder);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.flags, word);
    EXPECT_EQ(r.promptOptions, item.promptOptions);
    EXPECT_EQ(r.hotKey, item.hotKey);
    EXPECT_EQ(r.depth, depth);
    EXPECT_EQ(r.image, item.image.bits);
    EXPECT_EQ(r.target, item.target);
    EXPECT_EQ(r.folder, item.folder);
    EXPECT_EQ(r.text3, item.text3);
    EXPECT_EQ(r.text4, item.text4);
    EXPECT_EQ(r.text5, item.text5);
  }
}

TEST(ItemRecord, LayoutIsHeadImageTargetThenFourTexts) {
  Item item;
  item.flags = 0x0041;
  item.image = patternImage(4, 1);
  item.folder = L"F";
  std::vector<uint8_t> bytes = encodeItemRecord(item);
  // Head (6) + image (640) + one NUL for the absent target + "F\0" + three empty texts.
  ASSERT_EQ(bytes.size(), 6u + 640 + 2 + 4 + 6);
  EXPECT_EQ(bytes[0] | (bytes[1] << 8), 0x8041);
  EXPECT_TRUE(std::equal(item.image.bits.begin(), item.image.bits.end(), bytes.begin() + 6));
  EXPECT_EQ(bytes[646], 0);
  EXPECT_EQ(bytes[647], 0);
  EXPECT_EQ(bytes[648], 'F');
  ItemRecord r = decodeItemRecord(bytes, latin1Decoder);
  EXPECT_TRUE(r.target.empty());
  EXPECT_EQ(r.folder, L"F");
}

TEST(ItemRecord, ItemIdListTargetsAndItemsWithoutImage) {
  Item item;
  item.flags = kItemIdList;
  item.target = test::sampleIdList();
  item.text5 = L"note";
  ItemRecord r = decodeItemRecord(encodeItemRecord(item), latin1Decoder);
  EXPECT_EQ(r.target, item.target);
  EXPECT_EQ(r.text5, L"note");
  EXPECT_TRUE(r.image.empty());
  // A list that does not hold together is not written as a target.
  item.target = {9, 0, 1};
  r = decodeItemRecord(encodeItemRecord(item), latin1Decoder);
  EXPECT_TRUE(r.target.empty());
  EXPECT_EQ(r.text5, L"note");
}

TEST(ItemRecord, OldRecordsAreAnsiWithLeadingBlanksSkipped) {
  std::vector<uint8_t> bytes;
  putWord(bytes, 0x0020);  // bit 15 clear, depth code 0
  putWord(bytes, 7);
  putWord(bytes, 0x0241);
  std::vector<uint8_t> image = patternImage(4, 2).bits;
  bytes.insert(bytes.end(), image.begin(), image.end());
  putAnsi(bytes, "C:\\caf\xE9.exe");
  putAnsi(bytes, "  C:\\dir");
  putAnsi(bytes, "*.doc");
  putAnsi(bytes, "");
  putAnsi(bytes, "\tcomment");
  ItemRecord r = decodeItemRecord(bytes, latin1Decoder);
  EXPECT_TRUE(r.complete);
  Item item;
  item.target = r.target;
  EXPECT_EQ(item.targetPath(), L"C:\\caf\u00E9.exe");
  EXPECT_EQ(r.folder, L"C:\\dir");
  EXPECT_EQ(r.text3, L"*.doc");
  EXPECT_EQ(r.text5, L"comment");
  EXPECT_EQ(r.image, image);

  // With an item-ID list only the texts after it are converted.
  std::vector<uint8_t> withList(bytes.begin(), bytes.begin() + 6 + 640);
  withList[0] = 0x00;
  withList[1] = 0x02;
  std::vector<uint8_t> list = test::sampleIdList();
  withList.insert(withList.end(), list.begin(), list.end());
  putAnsi(withList, "D:\\");
  r = decodeItemRecord(withList, latin1Decoder);
  EXPECT_EQ(r.target, list);
  EXPECT_EQ(r.folder, L"D:\\");
  EXPECT_FALSE(r.complete);
}

TEST(ItemRecord, OldRecordTextsStopAtTheirLimit) {
  std::vector<uint8_t> bytes(6 + 640, 0);
  putAnsi(bytes, std::string(3000, 'a'));
  putAnsi(bytes, "lost");
  ItemRecord r = decodeItemRecord(bytes, latin1Decoder);
  Item item;
  item.target = r.target;
  EXPECT_EQ(item.targetPath().size(), kMaxOldRecordChars);
  EXPECT_TRUE(r.folder.empty());
}

TEST(ItemRecord, DamagedRecordsAreReadOnlyAsFarAsTheyGo) {
  const Item whole = fullItem();
  std::vector<uint8_t> full = encodeItemRecord(whole);
  const size_t lastTextStart = full.size() - 2 * (whole.text5.size() + 1);
  // Every cut of a whole record decodes without reading past its end, and
  // what it yields is the beginning of what was stored.
  for (size_t n = 0; n <= full.size(); ++n) {
    ItemRecord r = decodeItemRecord(std::span<const uint8_t>(full.data(), n), latin1Decoder);
    EXPECT_EQ(r.complete, n > lastTextStart) << n;
    EXPECT_EQ(r.image.empty(), n < 6 + 3200) << n;
    EXPECT_EQ(r.folder, whole.folder.substr(0, r.folder.size())) << n;
    EXPECT_EQ(r.text5, whole.text5.substr(0, r.text5.size())) << n;
  }
  // An item-ID list whose counts run past the record: no target, and nothing after it.
  Item listItem;
  listItem.flags = kItemIdList;
  listItem.target = test::sampleIdList();
  listItem.folder = L"C:\\";
  std::vector<uint8_t> bytes = encodeItemRecord(listItem);
  bytes[6 + 640] = 0xF0;  // first entry claims 0xF0 bytes
  ItemRecord r = decodeItemRecord(bytes, latin1Decoder);
  EXPECT_TRUE(r.target.empty());
  EXPECT_TRUE(r.folder.empty());
  // An entry of count 1 could never advance; it is damage, not a loop.
  bytes[6 + 640] = 1;
  bytes[6 + 641] = 0;
  EXPECT_TRUE(decodeItemRecord(bytes, latin1Decoder).target.empty());
  // A text without terminator ends with the record.
  std::vector<uint8_t> open(6 + 640, 0);
  open[1] = 0x80;
  for (char c : std::string("ab")) test::putWord(open, static_cast<unsigned>(c));
  r = decodeItemRecord(open, latin1Decoder);
  Item item;
  item.target = r.target;
  EXPECT_EQ(item.targetPath(), L"ab");
}

TEST(ItemRecord, EncodedRecordsNeverOutgrowTheLoadLimit) {
  Item item = fullItem();
  item.image = patternImage(32, 9);
  item.folder = std::wstring(2000, L'f');
  item.text3 = std::wstring(5000, L'p');
  item.text4 = std::wstring(5000, L'q');
  item.text5 = std::wstring(1000, L'c');
  std::vector<uint8_t> bytes = encodeItemRecord(item);
  EXPECT_EQ(bytes.size(), kMaxItemRecordBytes);
  ItemRecord r = decodeItemRecord(bytes, latin1Decoder);
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.target, item.target);
  EXPECT_EQ(r.folder, item.folder);
  EXPECT_EQ(r.image, item.image.bits);
  // The text that crosses the limit is cut; the ones behind it are empty.
  EXPECT_FALSE(r.text3.empty());
  EXPECT_LT(r.text3.size(), item.text3.size());
  EXPECT_EQ(r.text3, item.text3.substr(0, r.text3.size()));
  EXPECT_TRUE(r.text4.empty());
  EXPECT_TRUE(r.text5.empty());
  // A comment alone is kept to 1024 characters.
  Item commented;
  commented.text5 = std::wstring(2000, L'c');
  EXPECT_EQ(decodeItemRecord(encodeItemRecord(commented), latin1Decoder).text5.size(), kMaxCommentChars);
}

TEST(ValueNames, TitleBeforeLastCommaAndBoundedSlot) {
  struct Case {
    const wchar_t* name;
    bool placed;
    const wchar_t* title;
    int slot;
  } cases[] = {
      {L"A,B,5", true, L"A,B", 4},    {L"Mail,3", true, L"Mail", 2},
      {L"Z,0", true, L"Z", 0},        {L"Z,1", true, L"Z", 0},
      {L"X,-2", true, L"X", 0},       {L",2", true, L"", 1},
      {L"X,10000", true, L"X", 9999}, {L"X,10001", false, L"", 0},
      {L"X,99999999", false, L"", 0}, {L"X,99999999999999999999", false, L"", 0},
      {L"NoComma", false, L"", 0},
  };
  for (const Case& c : cases) {
    auto v = parseValueName(c.name);
    ASSERT_EQ(v.has_value(), c.placed) << testing::PrintToString(std::wstring(c.name));
    if (!v) continue;
    EXPECT_EQ(v->title, c.title);
    EXPECT_EQ(v->slot, c.slot);
    auto again = parseValueName(itemValueName(v->title, v->slot));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->title, v->title);
    EXPECT_EQ(again->slot, v->slot);
  }
}

}  // namespace
}  // namespace vorbin
