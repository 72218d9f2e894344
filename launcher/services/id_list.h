// Shell item-ID lists as bytes: entries led by a u16 byte count that counts
// itself, ended by a zero u16. Lists come from other programs (drops, shortcut
// files, the profile), so every read is bounded by the buffer it lies in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vorbin {

using IdListBytes = std::vector<uint8_t>;

// Size in bytes including the terminator; 0 for an empty span or a list that
// runs past the buffer or holds an entry too short to carry its own count.
size_t idListSize(std::span<const uint8_t> list);
// Number of entries of a well-formed list (0 for a malformed one).
size_t idListCount(std::span<const uint8_t> list);
// Exactly the list's bytes; empty when malformed.
IdListBytes idListCopy(std::span<const uint8_t> list);
// The first list without its terminator followed by the second; the first may
// be empty (none). Empty when either given list is malformed.
IdListBytes idListAppend(std::span<const uint8_t> first, std::span<const uint8_t> second);

struct IdListSplit {
  IdListBytes parent;  // all entries but the last, zero-terminated
  size_t lastOffset = 0;  // offset of the last entry in the original list
  bool ok = false;
};
IdListSplit idListSplit(std::span<const uint8_t> list);

// A one-entry file-system list made from a path without touching the disk:
// type 0x36 (file, wide name), attributes 0x20, the name up to 260 characters.
IdListBytes simpleIdListBytes(std::u16string_view path);

}  // namespace vorbin
