// PairCodec: the launcher's own pair-substitution compressor for the images
// and item records it keeps in the registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorbin {

// A block packs at most this many input bytes.
inline constexpr std::size_t kPairBlockBytes = 4096;

// A block's code table needs at most 1 + 2 * 256 + 256 bytes, its length 2.
inline constexpr std::size_t kPairBlockOverhead = 771;

// Upper bound of packPairs' output for an input of `length` bytes. Packing
// never makes a block's data longer; what it adds is the code table and the
// length of every block, and a block ends early (after 224 distinct values)
// only once it holds at least 224 bytes.
constexpr std::size_t packedSizeBound(std::size_t length) {
  return length + kPairBlockOverhead * (length / 224 + 2);
}

// Packs `input` into `out`. Returns the number of bytes written, or 0 when
// `out` is too small (every successful packing writes at least 4 bytes).
// An area of packedSizeBound(input.size()) bytes is always large enough.
std::size_t packPairs(std::span<std::uint8_t> out, std::span<const std::uint8_t> input);

// Packs `input` into a new buffer of exactly the packed length.
std::vector<std::uint8_t> packPairs(std::span<const std::uint8_t> input);

// Header of packed data: packed length in the low 16 bits, count of leading
// unpacked bytes to drop in the high 16 bits.
constexpr std::uint32_t pairHeader(std::uint32_t packedLength, std::uint32_t skip) {
  return (packedLength & 0xFFFFu) | (skip << 16);
}

// Unpacks header's low half of `packed` (never reading past packed.size()),
// drops the first (header >> 16) output bytes and stores at most
// min(limit, out.size()) bytes into `out`. Returns the number stored.
// Damaged or crafted input (cyclic code tables, lengths past the end) ends
// the unpacking early; it never loops without bound nor touches memory
// outside the two spans. Bytes of `out` past the returned count but within
// the limit may be overwritten.
std::size_t unpackPairs(std::span<std::uint8_t> out, std::span<const std::uint8_t> packed,
                        std::uint32_t header, std::size_t limit);

// The same for a blob: a 4-byte little-endian header followed by the packed
// bytes. A blob shorter than its header unpacks to nothing.
std::size_t unpackPairs(std::span<std::uint8_t> out, std::span<const std::uint8_t> blob, std::size_t limit);

// Reads / writes the little-endian header of a blob.
std::uint32_t blobHeader(std::span<const std::uint8_t> blob);

// Skip of a blob cut from a packed item record: the record's 6-byte head.
inline constexpr std::uint32_t kRecordHeadBytes = 6;

// Cuts a packed item record so that it unpacks to exactly its first
// `neededLength` bytes (the 6-byte head and the image), and returns it as a
// blob whose header carries the cut length and a skip of kRecordHeadBytes.
// A record that unpacks to fewer bytes yields a blob of all it has.
std::vector<std::uint8_t> cutPackedRecord(std::span<const std::uint8_t> packedRecord,
                                          std::size_t neededLength);

}  // namespace vorbin
