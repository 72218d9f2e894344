// Helpers of the model tests: images, packed records and profile access.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "launcher/model/item_record.h"
#include "launcher/model/profile.h"
#include "launcher/render/icon_image.h"
#include "launcher/render/pair_codec.h"

namespace vorbin::test {

// An unpacked image of the depth whose bytes follow a pattern picked by seed.
inline IconImage patternImage(int depth, uint8_t seed) {
  IconImage image;
  image.depth = static_cast<uint32_t>(depth);
  image.bits.resize(imageByteSize(depth));
  for (size_t i = 0; i < image.bits.size(); ++i)
    image.bits[i] = static_cast<uint8_t>((i / 7) * seed + (i % 3));
  return image;
}

inline std::vector<uint8_t> unpackAll(const std::vector<uint8_t>& packed, size_t limit = 1 << 16) {
  std::vector<uint8_t> out(limit);
  out.resize(unpackPairs(out, packed, pairHeader(static_cast<uint32_t>(packed.size()), 0), limit));
  return out;
}

inline void putWord(std::vector<uint8_t>& v, unsigned w) {
  v.push_back(static_cast<uint8_t>(w));
  v.push_back(static_cast<uint8_t>(w >> 8));
}

inline void putAnsi(std::vector<uint8_t>& v, const std::string& s) {
  v.insert(v.end(), s.begin(), s.end());
  v.push_back(0);
}

// A two-entry item-ID list with its terminator.
inline std::vector<uint8_t> sampleIdList() {
  std::vector<uint8_t> list;
  putWord(list, 5);
  list.insert(list.end(), {0x1F, 0x50, 0x99});
  putWord(list, 4);
  list.insert(list.end(), {0x2E, 0x80});
  putWord(list, 0);
  return list;
}

}  // namespace vorbin::test
