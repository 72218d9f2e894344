// The stored form of an item: the record (flags, prompt options, hot key,
// image, target, four texts) and the value name "title,slot+1" it is kept under.
#pragma once
#include "launcher/model/identity.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/render/icon_image.h"

namespace vorbin {

// Item flags (bits 0-11); bits 12-15 exist only in the stored record.
inline constexpr uint32_t kItemShowMask = 0x0003;
inline constexpr uint32_t kItemRunAs = 0x0004;
inline constexpr uint32_t kItemUrl = 0x0008;
inline constexpr uint32_t kItemPrompt = 0x0020;
inline constexpr uint32_t kItemFolder = 0x0040;
inline constexpr uint32_t kItemExplorer = 0x0080;
inline constexpr uint32_t kItemSeparateVdm = 0x0100;
inline constexpr uint32_t kItemIdList = 0x0200;
inline constexpr uint32_t kItemRootOrFind = 0x0800;
inline constexpr uint32_t kItemFlagBits = 0x0FFF;
inline constexpr uint32_t kRecordUnicode = 0x8000;
inline constexpr uint16_t kNoHotKeyId = 0xFFFF;

// A record never exceeds the area saving builds it in; loading unpacks up to
// the same size, so whatever one run writes the next one reads whole.
inline constexpr size_t kMaxItemRecordBytes = 12832;
// Texts of a record from an older version are converted up to this many characters.
inline constexpr size_t kMaxOldRecordChars = 2192;
// The comment is kept to this many characters.
inline constexpr size_t kMaxCommentChars = 1024;
// Item slots of one group; values naming a slot beyond are left alone.
inline constexpr int kMaxItemSlots = 10000;

struct Item {
  std::vector<uint8_t> target;  // UTF-16 path with terminator, or an item-ID list (flag 0x0200)
  std::wstring folder;          // folder text
  std::wstring title;
  std::wstring text3, text4, text5;
  uint32_t flags = 0;
  uint16_t promptOptions = 0;
  int selectionLink = 0;
  uint16_t hotKey = 0;
  uint16_t hotKeyId = kNoHotKeyId;
  IconImage image;
  int titleCut = 0;  // set by painting
  Identity identity;  // which item this is, for finding it again after a nested loop

  bool hasTarget() const { return !target.empty(); }
  // The target as text (empty for item-ID lists and absent targets).
  std::wstring targetPath() const;
  void setTargetPath(const std::wstring& path);
};

// The text of an older record, in the system's ANSI code page, as wide text
// (embedded NULs kept).
using AnsiDecoder = std::function<std::wstring(std::string_view)>;
// Decodes bytes as Latin-1: the stand-in when no code page is at hand.
std::wstring latin1Decoder(std::string_view bytes);

// The decoded record of one item value, ready to be put into an Item.
struct ItemRecord {
  uint32_t flags = 0;  // the stored word: item flags, depth code and the text-form bit
  uint16_t promptOptions = 0;
  uint16_t hotKey = 0;
  int depth = 0;                // colour depth of the image area (4..32)
  size_t imageOffset = 0;       // where the image lies in the unpacked record
  std::vector<uint8_t> image;   // the image area, empty when absent or damaged
  std::vector<uint8_t> target;  // as Item::target
  std::wstring folder, text3, text4, text5;
  bool complete = false;  // every field was present
};

// Reads an unpacked record; every read stays inside `record`.
ItemRecord decodeItemRecord(std::span<const uint8_t> record, const AnsiDecoder& decodeAnsi);
// Builds the unpacked record of an item (at most kMaxItemRecordBytes: texts
// that would run past it are cut) and the flags word it carries.
std::vector<uint8_t> encodeItemRecord(const Item& item, uint16_t* flagsWord = nullptr);
// Size of an item-ID list including its terminator, or 0 when it runs past the data.
size_t idListByteSize(std::span<const uint8_t> data);

// A value name split into the item title and its slot.
struct ValueName {
  std::wstring title;
  int slot = 0;
};
// "title,n" -> (title, n-1); the title is everything before the last comma.
// A number of 1 or less gives slot 0. Nothing for names without a comma or
// numbers that name no slot below kMaxItemSlots.
std::optional<ValueName> parseValueName(std::wstring_view name);
std::wstring itemValueName(const std::wstring& title, int slot);

}  // namespace vorbin
