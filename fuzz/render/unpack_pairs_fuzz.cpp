// Unpacking of registry data that may be damaged or crafted: both forms of
// unpackPairs and the record cut must stay in bounds and end; data that the
// packer made must come back unchanged.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <vector>

#include "launcher/render/pair_codec.h"

using vorbin::pairHeader;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  // The first four bytes choose the skip and the limit; the rest is the packed data.
  const std::uint32_t skip = data[0] | data[1] << 8;
  const std::size_t limit = (data[2] | data[3] << 8) % 6417;
  const std::span<const std::uint8_t> packed(data + 4, size - 4);

  std::vector<std::uint8_t> out(limit);
  const std::size_t stored =
      vorbin::unpackPairs(out, packed, pairHeader(static_cast<std::uint32_t>(packed.size()), skip), limit);
  if (stored > limit) std::abort();

  // Skipping takes other paths through the expansion; the bytes must be the same.
  std::vector<std::uint8_t> whole(skip + limit);
  const std::size_t wholeStored = vorbin::unpackPairs(
      whole, packed, pairHeader(static_cast<std::uint32_t>(packed.size()), 0), whole.size());
  const std::size_t expected = wholeStored > skip ? wholeStored - skip : 0;
  if (stored != expected || (stored && std::memcmp(out.data(), whole.data() + skip, stored) != 0))
    std::abort();

  // The blob form reads its header from the data itself.
  std::vector<std::uint8_t> blobOut(6416);
  if (vorbin::unpackPairs(blobOut, std::span<const std::uint8_t>(data, size), limit) > limit) std::abort();

  // A cut record never unpacks beyond what was asked for.
  const std::vector<std::uint8_t> cut = vorbin::cutPackedRecord(packed, limit);
  if (!cut.empty() && vorbin::unpackPairs(blobOut, cut, blobOut.size()) + 6 > std::max<std::size_t>(limit, 6))
    std::abort();

  // Packing the same bytes and unpacking them gives them back. Packing is
  // far slower than unpacking, so it runs for one input in eight, on a prefix.
  if (size % 8 != 0) return 0;
  const auto plain = packed.first(std::min<std::size_t>(packed.size(), 512));
  const std::vector<std::uint8_t> repacked = vorbin::packPairs(plain);
  if (repacked.size() <= 0xFFFF) {
    std::vector<std::uint8_t> back(plain.size());
    const std::size_t n = vorbin::unpackPairs(back, repacked, pairHeader(repacked.size(), 0), back.size());
    if (n != plain.size() || (n && std::memcmp(back.data(), plain.data(), n) != 0)) std::abort();
  }
  return 0;
}
