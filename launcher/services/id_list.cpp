// Shell item-ID lists as bytes, every read bounded.
#include "launcher/services/id_list.h"

#include <algorithm>

namespace vorbin {

namespace {

uint16_t readU16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void putU16(IdListBytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

// Walks the entries; calls visit(offset, count) for each. Returns the size
// including the terminator, 0 when malformed.
template <class Visit>
size_t walk(std::span<const uint8_t> list, Visit visit) {
  size_t at = 0;
  for (;;) {
    if (list.size() < 2 || at > list.size() - 2) return 0;
    uint16_t count = readU16(list, at);
    if (count == 0) return at + 2;
    if (count < 2 || count > list.size() - at) return 0;
    visit(at, count);
    at += count;
  }
}

}  // namespace

size_t idListSize(std::span<const uint8_t> list) {
  return walk(list, [](size_t, uint16_t) {});
}

size_t idListCount(std::span<const uint8_t> list) {
  size_t n = 0;
  return walk(list, [&](size_t, uint16_t) { ++n; }) ? n : 0;
}

IdListBytes idListCopy(std::span<const uint8_t> list) {
  size_t size = idListSize(list);
  return IdListBytes(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(size));
}

IdListBytes idListAppend(std::span<const uint8_t> first, std::span<const uint8_t> second) {
  size_t firstSize = first.empty() ? 2 : idListSize(first);
  size_t secondSize = idListSize(second);
  if (firstSize == 0 || secondSize == 0) return {};
  IdListBytes out;
  out.reserve(firstSize - 2 + secondSize);
  if (!first.empty()) out.insert(out.end(), first.begin(), first.begin() + static_cast<std::ptrdiff_t>(firstSize - 2));
  out.insert(out.end(), second.begin(), second.begin() + static_cast<std::ptrdiff_t>(secondSize));
  return out;
}

IdListSplit idListSplit(std::span<const uint8_t> list) {
  IdListSplit result;
  size_t last = 0;
  bool any = false;
  if (walk(list, [&](size_t at, uint16_t) {
        last = at;
        any = true;
      }) == 0) {
    return result;
  }
  result.ok = true;
  result.lastOffset = any ? last : 0;
  size_t parentSize = any ? last : 0;
  result.parent.assign(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(parentSize));
  putU16(result.parent, 0);
  return result;
}

IdListBytes simpleIdListBytes(std::u16string_view path) {
  std::u16string_view name = path.substr(0, std::min<size_t>(path.size(), 260));
  // count, type, pad, file size (4), date, time, attributes, name + NUL
  const size_t entrySize = 2 + 1 + 1 + 4 + 2 + 2 + 2 + (name.size() + 1) * 2;
  IdListBytes out;
  out.reserve(entrySize + 2);
  putU16(out, static_cast<uint16_t>(entrySize));
  out.push_back(0x36);
  out.push_back(0);
  for (int i = 0; i < 4 + 2 + 2; ++i) out.push_back(0);
  putU16(out, 0x20);
  for (char16_t c : name) putU16(out, static_cast<uint16_t>(c));
  putU16(out, 0);
  putU16(out, 0);
  return out;
}

}  // namespace vorbin
