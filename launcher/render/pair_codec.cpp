// PairCodec: packing replaces frequent byte pairs by unused byte values, block
// by block; unpacking expands the codes again through a bounded stack.
#include "launcher/render/pair_codec.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace vorbin {
namespace {

constexpr std::size_t kMaxBlockValues = 224;
constexpr std::size_t kPairSlots = 4096;
constexpr std::size_t kCodes = 256;

// Pair counts of one block. Slots are filled from 0 without gaps; the slot
// order decides ties, so removal moves the last entry into the hole. The
// index by pair only speeds up lookups, it does not change the order.
class PairCounts {
 public:
  PairCounts() { slotOf_.fill(kNone); }

  void clear() {
    for (std::size_t i = 0; i < used_; ++i) slotOf_[pairs_[i]] = kNone;
    used_ = 0;
    withCount_.fill(0);
    top_ = 0;
  }

  void add(std::uint8_t left, std::uint8_t right) {
    const std::uint16_t pair = key(left, right);
    const std::uint16_t slot = slotOf_[pair];
    if (slot != kNone) {
      if (counts_[slot] < 255) {
        --withCount_[counts_[slot]];
        ++withCount_[++counts_[slot]];
        if (counts_[slot] > top_) top_ = counts_[slot];
      }
      return;
    }
    if (used_ == kPairSlots) return;  // cannot happen for a 4096-byte block; stay bounded anyway
    pairs_[used_] = pair;
    counts_[used_] = 1;
    ++withCount_[1];
    slotOf_[pair] = static_cast<std::uint16_t>(used_);
    ++used_;
  }

  void subtract(std::uint8_t left, std::uint8_t right) {
    const std::uint16_t slot = slotOf_[key(left, right)];
    if (slot == kNone) return;
    --withCount_[counts_[slot]];
    if (--counts_[slot] == 0) {
      removeSlot(slot);
      return;
    }
    ++withCount_[counts_[slot]];
  }

  void remove(std::uint8_t left, std::uint8_t right) {
    const std::uint16_t slot = slotOf_[key(left, right)];
    if (slot == kNone) return;
    --withCount_[counts_[slot]];
    removeSlot(slot);
  }

  // The first pair in slot order with the highest count, if that count is at least 3.
  bool best(std::uint8_t& left, std::uint8_t& right) {
    // The highest count held by any pair tells which count to look for;
    // the first slot holding it is the one the order prefers.
    while (top_ > 2 && withCount_[top_] == 0) --top_;
    const unsigned top = top_;
    if (top <= 2) return false;
    const auto at = std::find(counts_.begin(), counts_.begin() + static_cast<std::ptrdiff_t>(used_),
                              static_cast<std::uint8_t>(top));
    const std::size_t bestSlot = static_cast<std::size_t>(at - counts_.begin());
    left = static_cast<std::uint8_t>(pairs_[bestSlot] >> 8);
    right = static_cast<std::uint8_t>(pairs_[bestSlot]);
    return true;
  }

 private:
  static constexpr std::uint16_t kNone = 0xFFFF;
  static std::uint16_t key(std::uint8_t left, std::uint8_t right) {
    return static_cast<std::uint16_t>(left << 8 | right);
  }

  void removeSlot(std::uint16_t slot) {
    slotOf_[pairs_[slot]] = kNone;
    const std::size_t last = used_ - 1;
    if (slot != last) {
      pairs_[slot] = pairs_[last];
      counts_[slot] = counts_[last];
      slotOf_[pairs_[slot]] = slot;
    }
    used_ = last;
  }

  std::array<std::uint16_t, kPairSlots> pairs_{};
  std::array<std::uint8_t, kPairSlots> counts_{};
  std::array<std::uint16_t, 65536> slotOf_;
  std::array<std::uint16_t, 256> withCount_{};  // how many pairs have each count
  unsigned top_ = 0;  // no pair has a higher count
  std::size_t used_ = 0;
};

struct CodeTable {
  std::array<bool, kCodes> isPair{};
  std::array<std::uint8_t, kCodes> left{};
  std::array<std::uint8_t, kCodes> right{};
  // The pair codes from 255 down, so that loops over them need not test each code.
  std::array<std::uint8_t, kCodes> pairCodes{};
  unsigned pairCount = 0;  // up to 256
};

// Working state of one packPairs call.
struct Packer {
  std::array<std::uint8_t, kPairBlockBytes> block{};
  std::size_t length = 0;
  std::array<bool, kCodes> used{};
  CodeTable table;
  PairCounts counts;
  int nextFree = 255;

  void start() {
    length = 0;
    nextFree = 255;
    used.fill(false);
    table.isPair.fill(false);
    counts.clear();
  }

  // The highest value from 255 down to 1 that is neither data nor a pair code; 0 when none.
  // Codes only ever get taken within a block, so the search goes on from
  // where the last one stopped.
  int freeCode() {
    while (nextFree >= 1 && (used[nextFree] || table.isPair[nextFree])) --nextFree;
    return nextFree;
  }

  void substitute() {
    for (;;) {
      const int newCode = freeCode();
      if (newCode == 0) return;
      std::uint8_t left = 0, right = 0;
      if (!counts.best(left, right)) return;
      const auto code = static_cast<std::uint8_t>(newCode);
      // Left to right, each pair taken where it starts; the bytes between
      // two pairs move down as one run.
      std::uint8_t* const bytes = block.data();
      const std::size_t end = length;
      std::size_t write = 0, read = 0;
      while (read + 1 < end) {
        const auto* found = static_cast<const std::uint8_t*>(std::memchr(bytes + read, left, end - 1 - read));
        if (!found) break;
        const std::size_t at = static_cast<std::size_t>(found - bytes);
        if (bytes[at + 1] != right) {
          // Not the pair: everything up to and including this byte stays as it is.
          const std::size_t run = at + 1 - read;
          if (write != read) std::memmove(bytes + write, bytes + read, run);
          write += run;
          read = at + 1;
          continue;
        }
        const std::size_t run = at - read;
        if (run && write != read) std::memmove(bytes + write, bytes + read, run);
        write += run;
        if (write > 0) {
          counts.subtract(bytes[write - 1], left);
          counts.add(bytes[write - 1], code);
        }
        if (at + 2 < end) {
          counts.subtract(right, bytes[at + 2]);
          counts.add(code, bytes[at + 2]);
        }
        bytes[write++] = code;
        read = at + 2;
      }
      if (read < end) {
        if (write != read) std::memmove(bytes + write, bytes + read, end - read);
        write += end - read;
      }
      length = write;
      table.isPair[code] = true;
      table.left[code] = left;
      table.right[code] = right;
      counts.remove(left, right);
    }
  }
};

// Bounded writer over the caller's output area.
class Output {
 public:
  explicit Output(std::span<std::uint8_t> out) : out_(out) {}
  bool put(std::uint8_t byte) {
    if (pos_ == out_.size()) return fail();
    out_[pos_++] = byte;
    return true;
  }
  bool put(const std::uint8_t* data, std::size_t n) {
    if (n > out_.size() - pos_) return fail();
    if (n) std::memcpy(out_.data() + pos_, data, n);
    pos_ += n;
    return true;
  }
  std::size_t size() const { return ok_ ? pos_ : 0; }

 private:
  bool fail() {
    ok_ = false;
    return false;
  }
  std::span<std::uint8_t> out_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// Code table as alternating runs: literal codes (a count), then pair codes
// with their pairs, where a single literal code below 254 between two pair
// codes joins the pair run as one byte equal to itself.
bool writeCodeTable(Output& out, const CodeTable& table) {
  unsigned code = 0;
  for (;;) {
    unsigned run = 0;
    while (code + run < kCodes && !table.isPair[code + run]) ++run;
    if (!out.put(static_cast<std::uint8_t>(run))) return false;
    code += run;
    if (code == kCodes) return out.put(0);
    unsigned end = code + 1;
    while (end < kCodes && (table.isPair[end] || (end < 254 && table.isPair[end + 1]))) ++end;
    if (!out.put(static_cast<std::uint8_t>(end - code))) return false;
    for (; code < end; ++code) {
      const bool ok = table.isPair[code] ? out.put(table.left[code]) && out.put(table.right[code])
                                         : out.put(static_cast<std::uint8_t>(code));
      if (!ok) return false;
    }
    if (code == kCodes) return true;
  }
}

// Reads a code table at `pos`; false when the input ends inside it.
bool readCodeTable(std::span<const std::uint8_t> in, std::size_t& pos, CodeTable& table) {
  table.isPair.fill(false);
  unsigned code = 0;
  do {
    if (in.size() - pos < 2) return false;
    code = (code + in[pos]) & 0xFF;
    unsigned entries = in[pos + 1];
    pos += 2;
    for (; entries > 0; --entries, code = (code + 1) & 0xFF) {
      if (pos == in.size()) return false;
      const std::uint8_t first = in[pos++];
      if (first == code) {
        table.isPair[code] = false;
        continue;
      }
      if (pos == in.size()) return false;
      table.isPair[code] = true;
      table.left[code] = first;
      table.right[code] = in[pos++];
    }
  } while (code != 0);
  // Code 0 is never a pair code of packed data, but a damaged table may make it one.
  unsigned count = 0;
  for (int pair = kCodes - 1; pair >= 0; --pair) {
    table.pairCodes[count] = static_cast<std::uint8_t>(pair);
    count += table.isPair[static_cast<std::size_t>(pair)];
  }
  table.pairCount = count;
  return true;
}

// Expanded length of every code, worked out from 255 down: a pair code of
// packed data only refers to codes made before it, which are higher. 0 for a
// code that refers to a lower pair code (only a damaged table does).
// Lengths stop growing at 2^40, far beyond any needed length.
std::array<std::uint64_t, kCodes> expansionLengths(const CodeTable& table) {
  std::array<std::uint64_t, kCodes> lengths;
  lengths.fill(1);
  for (unsigned i = 0; i < table.pairCount; ++i) lengths[table.pairCodes[i]] = 0;
  for (unsigned i = 0; i < table.pairCount; ++i) {
    const unsigned code = table.pairCodes[i];
    const std::uint8_t left = table.left[code], right = table.right[code];
    const std::uint64_t leftLength = left > code || !table.isPair[left] ? lengths[left] : 0;
    const std::uint64_t rightLength = right > code || !table.isPair[right] ? lengths[right] : 0;
    if (leftLength && rightLength)
      lengths[code] = std::min<std::uint64_t>(leftLength + rightLength, 1ull << 40);
  }
  return lengths;
}

// Expands codes into the output, dropping the first `skip` bytes and storing
// at most `cap`. Expansions of pair codes are remembered by their place in
// the output, so a code met again is copied rather than expanded again.
class Expander {
 public:
  enum class Result { kGoOn, kFull, kDamaged };

  Expander(std::span<std::uint8_t> out, std::size_t skip, std::size_t cap)
      : out_(out.data()), skip_(skip), cap_(std::min({cap, out.size(), kMaxStored})) {}

  void newBlock(const CodeTable& table) {
    table_ = &table;
    // Expansions of up to 16 bytes; the others take the slow way.
    const auto lengths = expansionLengths(table);
    for (unsigned code = 0; code < kCodes; ++code) {
      shortLength_[code] = 1;
      shortBytes_[code][0] = static_cast<std::uint8_t>(code);
    }
    for (unsigned i = 0; i < table.pairCount; ++i) {
      const unsigned code = table.pairCodes[i];
      known_[code] = Known{};
      shortLength_[code] = 0;
      if (lengths[code] == 0 || lengths[code] > 16) continue;
      // Both parts are shorter and were built before (higher codes or literals).
      const std::uint8_t left = table.left[code], right = table.right[code];
      std::memcpy(shortBytes_[code].data(), shortBytes_[left].data(), 16);
      std::memcpy(shortBytes_[code].data() + lengths[left], shortBytes_[right].data(), 16);
      shortLength_[code] = static_cast<std::uint8_t>(lengths[code]);
    }
  }

  std::size_t stored() const { return stored_; }
  bool full() const { return stored_ == cap_; }

  // Expands packed bytes while each expands to at most 16 bytes and there is
  // room for a 16-byte copy; returns how many it took.
  std::size_t expandShort(const std::uint8_t* packed, std::size_t count) {
    if (dropped_ != skip_ || cap_ - stored_ < 16) return 0;
    std::uint8_t* to = out_ + stored_;
    const std::uint8_t* const last = out_ + cap_ - 16;
    std::size_t taken = 0;
    for (; taken < count && to <= last; ++taken) {
      const std::uint8_t code = packed[taken];
      const unsigned length = shortLength_[code];
      if (length == 0) break;
      std::memcpy(to, shortBytes_[code].data(), 16);
      to += length;
    }
    stored_ = static_cast<std::size_t>(to - out_);
    return taken;
  }

  // Expands one packed byte of any kind.
  Result expand(std::uint8_t code) {
    if (!table_->isPair[code]) return emit(code);
    if (known_[code].length) return copyKnown(code);
    return expandPair(code);
  }

 private:
  // Positions are kept in 32 bits; no caller stores anywhere near this much.
  static constexpr std::size_t kMaxStored = 0xFFF00000u;

  struct Frame {
    std::uint8_t code;
    std::uint8_t stage;  // 0: left next, 1: right next, 2: done
    std::size_t start;   // output position (skipped bytes included) of its first byte
  };

  std::size_t position() const { return dropped_ + stored_; }

  Result emit(std::uint8_t byte) {
    if (dropped_ < skip_) {
      ++dropped_;
      return Result::kGoOn;
    }
    out_[stored_++] = byte;
    return stored_ == cap_ ? Result::kFull : Result::kGoOn;
  }

  Result copyKnown(std::uint8_t code) {
    const std::uint8_t* from = out_ + known_[code].at;
    const std::size_t length = known_[code].length;
    const std::size_t room = cap_ - stored_;
    if (length <= 16 && room >= 16 && cap_ - known_[code].at >= 16) {
      // Fixed-size copy: the bytes past `length` are overwritten later or lie beyond what is stored.
      std::uint8_t chunk[16];
      std::memcpy(chunk, from, 16);
      std::memcpy(out_ + stored_, chunk, 16);
      stored_ += length;
      return stored_ == cap_ ? Result::kFull : Result::kGoOn;
    }
    const std::size_t n = std::min(length, room);
    std::memcpy(out_ + stored_, from, n);
    stored_ += n;
    return stored_ == cap_ ? Result::kFull : Result::kGoOn;
  }

  Result expandPair(std::uint8_t code) {
    // A code can appear only once on the stack (a repeat is a cycle in a
    // damaged table), so the stack never holds more than 256 frames.
    std::size_t depth = 0;
    stack_[depth++] = {code, 0, position()};
    inProgress_[code] = true;
    Result result = Result::kGoOn;
    while (depth > 0 && result == Result::kGoOn) {
      Frame& frame = stack_[depth - 1];
      if (frame.stage == 2) {
        // Only an expansion stored whole can be copied (its length is at least 2).
        if (frame.start >= skip_) {
          known_[frame.code] = {static_cast<std::uint32_t>(frame.start - skip_),
                                static_cast<std::uint32_t>(position() - frame.start)};
        }
        inProgress_[frame.code] = false;
        --depth;
        continue;
      }
      const std::uint8_t child = frame.stage == 0 ? table_->left[frame.code] : table_->right[frame.code];
      ++frame.stage;
      if (!table_->isPair[child]) {
        result = emit(child);
      } else if (known_[child].length) {
        result = copyKnown(child);
      } else if (inProgress_[child]) {
        result = Result::kDamaged;
      } else {
        stack_[depth++] = {child, 0, position()};
        inProgress_[child] = true;
      }
    }
    while (depth > 0) inProgress_[stack_[--depth].code] = false;
    return result;
  }

  std::uint8_t* out_;
  std::size_t skip_;
  std::size_t cap_;
  std::size_t dropped_ = 0;
  std::size_t stored_ = 0;
  const CodeTable* table_ = nullptr;
  // Where a code's expansion was stored; length 0 = not stored yet. Reset
  // for the pair codes of each block: only those are looked up.
  struct Known {
    std::uint32_t at = 0;
    std::uint32_t length = 0;
  };
  std::array<Known, kCodes> known_{};
  std::array<bool, kCodes> inProgress_{};
  std::array<std::uint8_t, kCodes> shortLength_;                 // 0: expanded the slow way
  std::array<std::array<std::uint8_t, 32>, kCodes> shortBytes_;  // 16 used, room for the copy of a right part
  std::array<Frame, kCodes> stack_;                              // read only below the current depth
};

std::uint16_t readLength(std::span<const std::uint8_t> in, std::size_t pos) {
  return static_cast<std::uint16_t>(in[pos] | in[pos + 1] << 8);
}

}  // namespace

std::size_t packPairs(std::span<std::uint8_t> out, std::span<const std::uint8_t> input) {
  // The working state is large (its pair index alone is 128 KB): each
  // thread makes it once, and start() resets what a block used.
  thread_local std::unique_ptr<Packer> reused;
  if (!reused) reused = std::make_unique<Packer>();
  Packer* const packer = reused.get();
  Output writer(out);
  std::size_t next = 0;
  bool last = false;
  while (!last) {
    packer->start();
    std::size_t distinct = 0;
    while (packer->length < kPairBlockBytes && distinct < kMaxBlockValues) {
      if (next == input.size()) {
        last = true;
        break;
      }
      const std::uint8_t byte = input[next++];
      if (!packer->used[byte]) {
        packer->used[byte] = true;
        ++distinct;
      }
      if (packer->length > 0) packer->counts.add(packer->block[packer->length - 1], byte);
      packer->block[packer->length++] = byte;
    }
    packer->substitute();
    const std::size_t length = packer->length;
    const std::uint8_t lengthBytes[2] = {static_cast<std::uint8_t>(length),
                                         static_cast<std::uint8_t>(length >> 8)};
    if (!writeCodeTable(writer, packer->table) || !writer.put(lengthBytes, 2) ||
        !writer.put(packer->block.data(), length))
      return 0;
  }
  return writer.size();
}

std::vector<std::uint8_t> packPairs(std::span<const std::uint8_t> input) {
  std::vector<std::uint8_t> out(packedSizeBound(input.size()));
  out.resize(packPairs(std::span<std::uint8_t>(out), input));
  return out;
}

std::size_t unpackPairs(std::span<std::uint8_t> out, std::span<const std::uint8_t> packed,
                        std::uint32_t header, std::size_t limit) {
  const std::span<const std::uint8_t> in =
      packed.first(std::min<std::size_t>(header & 0xFFFF, packed.size()));
  Expander expander(out, header >> 16, limit);
  CodeTable table;
  std::size_t pos = 0;
  while (pos < in.size() && !expander.full()) {
    if (!readCodeTable(in, pos, table) || in.size() - pos < 2) break;
    const std::size_t end = std::min<std::size_t>(pos + 2 + readLength(in, pos), in.size());
    pos += 2;
    expander.newBlock(table);
    while (pos < end) {
      pos += expander.expandShort(in.data() + pos, end - pos);
      if (expander.full()) return expander.stored();
      if (pos == end) break;
      if (expander.expand(in[pos++]) != Expander::Result::kGoOn) return expander.stored();
    }
  }
  return expander.stored();
}

std::uint32_t blobHeader(std::span<const std::uint8_t> blob) {
  if (blob.size() < 4) return 0;
  return static_cast<std::uint32_t>(blob[0]) | static_cast<std::uint32_t>(blob[1]) << 8 |
         static_cast<std::uint32_t>(blob[2]) << 16 | static_cast<std::uint32_t>(blob[3]) << 24;
}

std::size_t unpackPairs(std::span<std::uint8_t> out, std::span<const std::uint8_t> blob, std::size_t limit) {
  if (blob.size() < 4) return 0;
  return unpackPairs(out, blob.subspan(4), blobHeader(blob), limit);
}

std::vector<std::uint8_t> cutPackedRecord(std::span<const std::uint8_t> packedRecord,
                                          std::size_t neededLength) {
  std::vector<std::uint8_t> blob(4);
  std::size_t produced = 0;
  std::size_t pos = 0;
  CodeTable table;
  const auto in = packedRecord;
  while (produced < neededLength && pos < in.size()) {
    const std::size_t tableStart = pos;
    if (!readCodeTable(in, pos, table) || in.size() - pos < 2) break;
    blob.insert(blob.end(), in.begin() + tableStart, in.begin() + pos);
    const std::size_t lengthAt = blob.size();
    blob.resize(blob.size() + 2);
    const std::size_t end = std::min<std::size_t>(pos + 2 + readLength(in, pos), in.size());
    pos += 2;
    const auto lengths = expansionLengths(table);
    std::size_t written = 0;
    for (; pos < end && produced < neededLength; ++pos) {
      const std::uint64_t reach = lengths[in[pos]];
      if (reach == 0) {  // a damaged table: keep what came before
        produced = neededLength;
        break;
      }
      if (produced + reach <= neededLength) {
        blob.push_back(in[pos]);
        ++written;
        produced += static_cast<std::size_t>(reach);
        continue;
      }
      // The byte reaches past the needed length: the needed part of its
      // expansion goes in as literals, which are never pair codes of the
      // block since they are its data.
      const std::size_t part = neededLength - produced;
      std::vector<std::uint8_t> expansion(part);
      Expander expander(std::span<std::uint8_t>(expansion), 0, part);
      expander.newBlock(table);
      expander.expand(in[pos]);
      blob.insert(blob.end(), expansion.begin(),
                  expansion.begin() + static_cast<std::ptrdiff_t>(expander.stored()));
      written += expander.stored();
      produced = neededLength;
    }
    if (written > 0xFFFF) return {};
    blob[lengthAt] = static_cast<std::uint8_t>(written);
    blob[lengthAt + 1] = static_cast<std::uint8_t>(written >> 8);
  }
  const std::size_t packedLength = blob.size() - 4;
  if (packedLength > 0xFFFF) return {};
  const std::uint32_t header = pairHeader(static_cast<std::uint32_t>(packedLength), kRecordHeadBytes);
  for (int i = 0; i < 4; ++i) blob[i] = static_cast<std::uint8_t>(header >> (8 * i));
  return blob;
}

}  // namespace vorbin
