// Item records and value names: the bytes an item is stored as.
#include "launcher/model/item_record.h"

#include <algorithm>

#include "launcher/model/profile.h"
#include "launcher/model/value_text.h"
#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

uint16_t readWord(std::span<const uint8_t> data, size_t offset) {
  if (offset + 2 > data.size()) return 0;
  return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

void putWord(std::vector<uint8_t>& out, uint32_t w) {
  out.push_back(static_cast<uint8_t>(w & 0xFF));
  out.push_back(static_cast<uint8_t>((w >> 8) & 0xFF));
}

std::wstring skipBlanks(const std::wstring& text) { return std::wstring(trimFront(text, isSpaceOrTab)); }

// Reads one NUL-terminated UTF-16 text at pos; a text without terminator ends
// with the data. Returns false when no byte is left.
bool readUtf16Text(std::span<const uint8_t> data, size_t& pos, std::wstring& text) {
  if (pos >= data.size()) return false;
  std::vector<char16_t> units;
  while (pos + 1 < data.size()) {
    char16_t u = static_cast<char16_t>(data[pos] | (data[pos + 1] << 8));
    pos += 2;
    if (u == 0) {
      text = wideFromUtf16(units);
      return true;
    }
    units.push_back(u);
  }
  pos = data.size();
  text = wideFromUtf16(units);
  return true;
}

// Splits wide text at NULs: the next piece from pos.
bool nextPiece(const std::wstring& all, size_t& pos, std::wstring& piece) {
  if (pos >= all.size()) return false;
  size_t end = all.find(L'\0', pos);
  if (end == std::wstring::npos) end = all.size();
  piece = all.substr(pos, end - pos);
  pos = end + 1;
  return true;
}

std::vector<uint8_t> terminatedUtf16(const std::wstring& text) {
  std::vector<uint8_t> out = utf16Bytes(text);
  putWord(out, 0);
  return out;
}

// The unpacked image of an item for its record, and the depth to store.
std::vector<uint8_t> recordImage(const IconImage& image, int& depth) {
  std::vector<uint8_t> scratch(image.packed() ? kImageScratchBytes : 0);
  std::span<const uint8_t> bits =
      image.packed() ? unpackedImageBits(image, scratch) : std::span<const uint8_t>(image.bits);
  depth = image.colourDepth();
  if (!bits.empty() && imageByteSize(depth) == bits.size()) return {bits.begin(), bits.end()};
  // No image: a transparent depth-4 image keeps the record's layout.
  depth = 4;
  std::vector<uint8_t> blank(imageByteSize(4), 0);
  std::fill(blank.begin(), blank.begin() + kImageMaskBytes, 0xFF);
  return blank;
}

bool isBlankImage(std::span<const uint8_t> image) {
  if (image.size() != imageByteSize(4)) return false;
  for (size_t i = 0; i < image.size(); ++i)
    if (image[i] != (i < kImageMaskBytes ? 0xFF : 0x00)) return false;
  return true;
}

}  // namespace

std::wstring Item::targetPath() const {
  if ((flags & kItemIdList) || target.empty()) return {};
  std::wstring text;
  size_t pos = 0;
  readUtf16Text(target, pos, text);
  return text;
}

void Item::setTargetPath(const std::wstring& path) {
  target = path.empty() ? std::vector<uint8_t>{} : terminatedUtf16(path);
}

std::wstring latin1Decoder(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

size_t idListByteSize(std::span<const uint8_t> data) {
  size_t pos = 0;
  for (;;) {
    if (pos + 2 > data.size()) return 0;
    uint16_t cb = readWord(data, pos);
    if (cb == 0) return pos + 2;
    // An entry shorter than its own count could never advance.
    if (cb < 2 || pos + cb > data.size()) return 0;
    pos += cb;
  }
}

ItemRecord decodeItemRecord(std::span<const uint8_t> record, const AnsiDecoder& decodeAnsi) {
  ItemRecord r;
  r.flags = readWord(record, 0);
  r.promptOptions = readWord(record, 2);
  r.hotKey = readWord(record, 4);
  r.depth = 4 * static_cast<int>((r.flags >> 12) & 7) + 4;
  r.imageOffset = 6;
  size_t imageBytes = static_cast<size_t>(r.depth + 1) * 128;
  if (record.size() < r.imageOffset + imageBytes) return r;
  std::span<const uint8_t> image = record.subspan(r.imageOffset, imageBytes);
  if (imageByteSize(r.depth) == imageBytes && !isBlankImage(image))
    r.image.assign(image.begin(), image.end());
  size_t pos = r.imageOffset + imageBytes;
  std::span<const uint8_t> rest = record.subspan(pos);

  bool idList = (r.flags & kItemIdList) != 0;
  if (idList) {
    size_t size = idListByteSize(rest);
    if (size == 0) return r;  // a list that runs past the record: nothing after it can be found
    if (size > 2) r.target.assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(size));
    rest = rest.subspan(size);
  }

  std::wstring* texts[] = {&r.folder, &r.text3, &r.text4, &r.text5};
  size_t textCount = 0;
  if (r.flags & kRecordUnicode) {
    size_t at = 0;
    if (!idList) {
      std::wstring path;
      if (!readUtf16Text(rest, at, path)) return r;
      if (!path.empty()) r.target = terminatedUtf16(path);
    }
    for (; textCount < 4; ++textCount) {
      std::wstring text;
      if (!readUtf16Text(rest, at, text)) break;
      *texts[textCount] = skipBlanks(text);
    }
  } else {
    std::string_view bytes(reinterpret_cast<const char*>(rest.data()), rest.size());
    std::wstring all = decodeAnsi ? decodeAnsi(bytes) : latin1Decoder(bytes);
    if (all.size() > kMaxOldRecordChars) all.resize(kMaxOldRecordChars);
    size_t at = 0;
    if (!idList) {
      std::wstring path;
      if (!nextPiece(all, at, path)) return r;
      if (!path.empty()) r.target = terminatedUtf16(path);
    }
    for (; textCount < 4; ++textCount) {
      std::wstring text;
      if (!nextPiece(all, at, text)) break;
      *texts[textCount] = skipBlanks(text);
    }
  }
  r.complete = textCount == 4;
  return r;
}

std::vector<uint8_t> encodeItemRecord(const Item& item, uint16_t* flagsWord) {
  int depth = 0;
  std::vector<uint8_t> image = recordImage(item.image, depth);
  uint16_t word = static_cast<uint16_t>((item.flags & kItemFlagBits) | ((depth - 4) << 10) | kRecordUnicode);
  if (flagsWord) *flagsWord = word;

  std::vector<uint8_t> out;
  out.reserve(kMaxItemRecordBytes);
  putWord(out, word);
  putWord(out, item.promptOptions);
  putWord(out, item.hotKey);
  out.insert(out.end(), image.begin(), image.end());

  // Four text terminators always fit behind the target.
  const size_t textReserve = 4 * 2;
  std::vector<uint8_t> target = item.target;
  if ((item.flags & kItemIdList) && idListByteSize(target) != target.size()) target.clear();
  if (target.size() <= 2 || out.size() + target.size() + textReserve > kMaxItemRecordBytes) target = {0, 0};
  out.insert(out.end(), target.begin(), target.end());

  const std::wstring* texts[] = {&item.folder, &item.text3, &item.text4, &item.text5};
  for (size_t i = 0; i < 4; ++i) {
    std::wstring text = *texts[i];
    if (i == 3 && text.size() > kMaxCommentChars) text.resize(kMaxCommentChars);
    std::vector<uint8_t> bytes = utf16Bytes(text);
    size_t room = kMaxItemRecordBytes - out.size() - (4 - i) * 2;
    if (bytes.size() > room) bytes.resize(room & ~size_t{1});
    out.insert(out.end(), bytes.begin(), bytes.end());
    putWord(out, 0);
  }
  return out;
}

std::optional<ValueName> parseValueName(std::wstring_view name) {
  size_t comma = name.rfind(L',');
  if (comma == std::wstring_view::npos) return std::nullopt;
  int number = leadingInt(name.substr(comma + 1));
  if (number > kMaxItemSlots) return std::nullopt;
  ValueName v;
  v.title = std::wstring(name.substr(0, comma));
  v.slot = number <= 1 ? 0 : number - 1;
  return v;
}

std::wstring itemValueName(const std::wstring& title, int slot) {
  return title + L"," + std::to_wstring(slot + 1);
}

}  // namespace vorbin
