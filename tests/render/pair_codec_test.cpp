// PairCodec: byte-exact packing against the shared vectors, round trips, and
// unpacking of damaged or crafted data within its bounds.
#include "launcher/render/pair_codec.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vorbin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fromHex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

struct Vector {
  std::string name;
  Bytes input;
  Bytes packed;
};

// Reads the fixed layout of the vectors file: objects with string fields
// "name", "input_hex" and "packed_hex".
std::vector<Vector> readVectors() {
  std::ifstream file(std::string(VB_SOURCE_ROOT) + "/tests/render/testdata/paircodec-vectors.json");
  std::stringstream text;
  text << file.rdbuf();
  const std::string json = text.str();
  auto field = [&](const std::string& key, std::size_t& from) -> std::string {
    const std::size_t at = json.find("\"" + key + "\"", from);
    if (at == std::string::npos) return {};
    const std::size_t open = json.find('"', json.find(':', at) + 1);
    const std::size_t close = json.find('"', open + 1);
    from = close + 1;
    return json.substr(open + 1, close - open - 1);
  };
  std::vector<Vector> vectors;
  for (std::size_t pos = json.find("\"vectors\""); pos != std::string::npos;) {
    std::size_t probe = pos;
    if (json.find("\"name\"", pos) == std::string::npos) break;
    Vector v;
    v.name = field("name", probe);
    v.input = fromHex(field("input_hex", probe));
    v.packed = fromHex(field("packed_hex", probe));
    vectors.push_back(v);
    pos = probe;
  }
  return vectors;
}

Bytes unpackAll(const Bytes& packed, std::size_t limit, std::uint32_t skip = 0) {
  Bytes out(limit);
  out.resize(unpackPairs(out, packed, pairHeader(static_cast<std::uint32_t>(packed.size()), skip), limit));
  return out;
}

Bytes blobOf(const Bytes& packed, std::uint32_t skip = 0) {
  const std::uint32_t header = pairHeader(static_cast<std::uint32_t>(packed.size()), skip);
  Bytes blob{static_cast<std::uint8_t>(header), static_cast<std::uint8_t>(header >> 8),
             static_cast<std::uint8_t>(header >> 16), static_cast<std::uint8_t>(header >> 24)};
  blob.insert(blob.end(), packed.begin(), packed.end());
  return blob;
}

TEST(PairCodecVectors, PackMatchesEveryVectorByteForByteAndUnpacksBack) {
  const auto vectors = readVectors();
  ASSERT_GE(vectors.size(), 8u) << "vectors file missing or unreadable";
  for (const auto& v : vectors) {
    SCOPED_TRACE(v.name);
    Bytes out(packedSizeBound(v.input.size()));
    out.resize(packPairs(out, v.input));
    EXPECT_EQ(out, v.packed);
    EXPECT_EQ(unpackAll(v.packed, v.input.size() + 16), v.input);
  }
}

TEST(PairCodecPacking, EdgeCasesOfBlocksAndTables) {
  // Empty input: one empty block (literal run of 256, empty pair run, length 0).
  EXPECT_EQ(packPairs(Bytes{}), (Bytes{0, 0, 0, 0}));
  EXPECT_TRUE(unpackAll(Bytes{0, 0, 0, 0}, 100).empty());

  // Exactly one full block is followed by an empty block.
  Bytes full(kPairBlockBytes);
  for (std::size_t i = 0; i < full.size(); ++i) full[i] = static_cast<std::uint8_t>(i * 7 % 13);
  const Bytes packed = packPairs(full);
  ASSERT_GE(packed.size(), 4u);
  EXPECT_EQ(Bytes(packed.end() - 4, packed.end()), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(unpackAll(packed, full.size()), full);

  // No pair three times: table 00 00 and the bytes unchanged.
  const Bytes plain{1, 2, 3, 1, 2, 9, 8, 7};
  Bytes expected{0, 0, 8, 0};
  expected.insert(expected.end(), plain.begin(), plain.end());
  EXPECT_EQ(packPairs(plain), expected);

  // The 224th distinct value ends a block even when more input follows.
  Bytes many(300);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint8_t>(i % 250);
  const Bytes packedMany = packPairs(many);
  // first block: table 00 00, length 224, the 224 values
  ASSERT_GT(packedMany.size(), 228u);
  EXPECT_EQ(packedMany[2] | packedMany[3] << 8, 224);
  EXPECT_EQ(unpackAll(packedMany, many.size()), many);
}

TEST(PairCodecPacking, OutputAreaIsCheckedNotOverrun) {
  Bytes input(1000);
  std::mt19937 rng(7);
  for (auto& b : input) b = static_cast<std::uint8_t>(rng());
  const Bytes packed = packPairs(input);
  ASSERT_GT(packed.size(), input.size());  // random data grows by the block overhead
  Bytes small(packed.size() + 8, 0xEE);
  EXPECT_EQ(packPairs(std::span<std::uint8_t>(small).first(packed.size() - 1), input), 0u);
  EXPECT_EQ(small[packed.size() - 1], 0xEE);
  EXPECT_EQ(packPairs(std::span<std::uint8_t>(small).first(packed.size()), input), packed.size());
  EXPECT_EQ(Bytes(small.begin(), small.begin() + packed.size()), packed);
}

Bytes structured(std::size_t length, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out;
  while (out.size() < length) {
    switch (rng() % 4) {
      case 0:
        out.insert(out.end(), rng() % 40, static_cast<std::uint8_t>(rng()));  // runs
        break;
      case 1: {  // a repeated earlier piece
        if (out.size() < 8) break;
        const std::size_t from = rng() % (out.size() - 4), n = 2 + rng() % 30;
        for (std::size_t i = 0; i < n && from + i < out.size(); ++i) out.push_back(out[from + i]);
        break;
      }
      case 2:
        for (int i = rng() % 20; i > 0; --i) out.push_back(static_cast<std::uint8_t>(rng() % 6));
        break;
      default:
        for (int i = rng() % 10; i > 0; --i) out.push_back(static_cast<std::uint8_t>(rng()));
    }
  }
  out.resize(length);
  return out;
}

TEST(PairCodecRoundTrip, RandomAndStructuredInputsUpTo64KiB) {
  std::mt19937 rng(1234);
  const std::size_t lengths[] = {1,    2,    3,    5,    223,  224,  225,   640,  3200,
                                 4095, 4096, 4097, 4224, 6416, 8192, 20000, 65536};
  for (std::size_t length : lengths) {
    SCOPED_TRACE(length);
    // Packed lengths are 16-bit: random data of 64 KiB would not fit.
    Bytes random(std::min<std::size_t>(length, 60000));
    for (auto& b : random) b = static_cast<std::uint8_t>(rng());
    Bytes small(length);
    for (auto& b : small) b = static_cast<std::uint8_t>(rng() % 3);
    for (const Bytes& input :
         {random, small, structured(length, static_cast<unsigned>(length)), Bytes(length, 0)}) {
      const Bytes packed = packPairs(input);
      ASSERT_LE(packed.size(), packedSizeBound(input.size()));
      ASSERT_EQ(unpackAll(packed, input.size()), input);
      // the blob form reads its own header
      Bytes out(input.size());
      ASSERT_EQ(unpackPairs(out, blobOf(packed), out.size()), input.size());
      ASSERT_EQ(out, input);
    }
  }
}

TEST(PairCodecUnpacking, SkipAndLimitCutTheOutput) {
  const Bytes input = structured(5000, 99);
  const Bytes packed = packPairs(input);
  for (std::uint32_t skip : {0u, 1u, 6u, 4095u, 4096u, 4999u, 5000u, 6000u}) {
    for (std::size_t limit : {0u, 1u, 17u, 640u, 4224u, 6416u}) {
      SCOPED_TRACE(testing::Message() << "skip " << skip << " limit " << limit);
      Bytes out(limit + 32, 0xCD);
      const std::size_t stored = unpackPairs(std::span<std::uint8_t>(out).first(limit), packed,
                                             pairHeader(packed.size(), skip), limit);
      const std::size_t expected =
          std::min<std::size_t>(limit, input.size() > skip ? input.size() - skip : 0);
      ASSERT_EQ(stored, expected);
      for (std::size_t i = 0; i < stored; ++i) ASSERT_EQ(out[i], input[skip + i]) << i;
      for (std::size_t i = limit; i < out.size(); ++i) ASSERT_EQ(out[i], 0xCD) << "written past the limit";
    }
  }
  // A limit larger than the output area is bounded by the area.
  Bytes out(10);
  EXPECT_EQ(unpackPairs(out, packed, pairHeader(packed.size(), 0), 100000), 10u);
}

TEST(PairCodecUnpacking, HeaderLengthBoundsTheInput) {
  const Bytes input = structured(3000, 5);
  Bytes packed = packPairs(input);
  // Bytes after the header's length are not read.
  Bytes padded = packed;
  padded.insert(padded.end(), {0, 0, 5, 0, 1, 2, 3, 4, 5});
  Bytes out(4000);
  EXPECT_EQ(unpackPairs(out, padded, pairHeader(packed.size(), 0), out.size()), input.size());
  // A header claiming more than the buffer holds reads only the buffer.
  EXPECT_EQ(unpackPairs(out, packed, pairHeader(0xFFFF, 0), out.size()), input.size());
  // A header shorter than the data stops early with a prefix of the output.
  const std::size_t part = unpackPairs(out, packed, pairHeader(packed.size() / 2, 0), out.size());
  EXPECT_LT(part, input.size());
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + part, input.begin()));
  // Blobs shorter than a header unpack to nothing.
  EXPECT_EQ(unpackPairs(out, Bytes{1, 0}, out.size()), 0u);
}

TEST(PairCodecUnpacking, DamagedDataStopsWithinItsBounds) {
  Bytes out(6416, 0);
  auto unpack = [&](const Bytes& packed, std::uint32_t skip = 0) {
    return unpackPairs(out, packed, pairHeader(packed.size(), skip), out.size());
  };
  // Code 255 = (1, 255) refers to itself: ends after a bounded output of 1s.
  const std::size_t selfStored = unpack({0xFF, 0x01, 0x01, 0xFF, 0x01, 0x00, 0xFF});
  EXPECT_LE(selfStored, out.size());
  EXPECT_EQ(std::count(out.begin(), out.begin() + selfStored, 1), static_cast<std::ptrdiff_t>(selfStored));
  // The same with a skip of 65535 still ends.
  EXPECT_LE(unpack({0xFF, 0x01, 0x01, 0xFF, 0x01, 0x00, 0xFF}, 0xFFFF), out.size());
  // A two-code cycle 254 = (255, 7), 255 = (254, 8).
  EXPECT_EQ(unpack({0xFE, 0x02, 0xFF, 0x07, 0xFE, 0x08, 0x01, 0x00, 0xFE}), 0u);
  // Bytes before a cycle are kept.
  EXPECT_EQ(unpack({0xFE, 0x02, 0xFF, 0x07, 0xFE, 0x08, 0x03, 0x00, 0x41, 0x42, 0xFE}), 2u);
  EXPECT_EQ(out[0], 0x41);
  EXPECT_EQ(out[1], 0x42);
  // A block length past the end expands what is there.
  EXPECT_EQ(unpack({0x00, 0x00, 0xFF, 0xFF, 0x41, 0x42, 0x43}), 3u);
  // A table that runs past the end, a missing length.
  EXPECT_EQ(unpack({0x05, 0x03, 0x01}), 0u);
  EXPECT_EQ(unpack({0x00, 0x00, 0x02}), 0u);
  // A skip past the end of the data stores nothing.
  EXPECT_EQ(unpack({0x00, 0x00, 0x02, 0x00, 0x41, 0x42}, 3), 0u);
  // Deep but valid nesting: 255 = (0,0), 254 = (255,255), ... each level doubles.
  Bytes table{0xF5, 0x0B};
  for (int code = 245; code <= 255; ++code) {
    table.push_back(code == 255 ? 0 : static_cast<std::uint8_t>(code + 1));
    table.push_back(code == 255 ? 0 : static_cast<std::uint8_t>(code + 1));
  }
  Bytes deep = table;
  deep.insert(deep.end(), {0x04, 0x00, 0xF5, 0xF5, 0xF5, 0xF5});  // 4 x 2048 zeros, more than the limit
  out.assign(6416, 0xAA);
  EXPECT_EQ(unpack(deep), 6416u);
  EXPECT_EQ(std::count(out.begin(), out.end(), 0), 6416);
}

TEST(PairCodecUnpacking, CodesReferringToLowerCodesStillExpand) {
  // The packer only refers to higher codes; a table that refers to a lower
  // one without a cycle is still expanded in full: 255 = (254, 3), 254 = (1, 2).
  const Bytes packed{0xFE, 0x02, 0x01, 0x02, 0xFE, 0x03, 0x03, 0x00, 0xFF, 0xFF, 0x07};
  EXPECT_EQ(unpackAll(packed, 100), (Bytes{1, 2, 3, 1, 2, 3, 7}));
  EXPECT_EQ(unpackAll(packed, 100, 2), (Bytes{3, 1, 2, 3, 7}));
  EXPECT_EQ(unpackAll(packed, 4), (Bytes{1, 2, 3, 1}));
}

TEST(PairCodecUnpacking, SkipDoesNotChangeTheBytesOfADamagedTable) {
  // Code 0 is never a pair code of packed data; here the table wraps around
  // and makes it (3, 3). Whatever path a byte takes, skipping k bytes must
  // give the same bytes from position k on.
  const Bytes packed{0xFF, 0x02, 0x01, 0x02, 0x03, 0x03, 0xFF, 0x00,  // 255 = (1, 2), 0 = (3, 3)
                     0x06, 0x00, 0x00, 0xFF, 0x00, 0x07, 0x00, 0xFF};
  const Bytes all = unpackAll(packed, 100);
  EXPECT_EQ(all, (Bytes{3, 3, 1, 2, 3, 3, 7, 3, 3, 1, 2}));
  for (std::uint32_t skip = 1; skip <= all.size(); ++skip)
    EXPECT_EQ(unpackAll(packed, 100, skip), Bytes(all.begin() + skip, all.end())) << skip;
}

TEST(PairCodecUnpacking, ExponentialExpansionIsCutAtTheLimit) {
  // Every code 2..255 = (c+1, c+1) forms a chain 254 levels deep whose
  // expansion is astronomically long: unpacking must end at the limit.
  Bytes packed{0x02, 0xFE};
  for (int code = 2; code <= 255; ++code) {
    const auto next = static_cast<std::uint8_t>(code == 255 ? 1 : code + 1);
    packed.push_back(next);
    packed.push_back(next);
  }
  packed.insert(packed.end(), {0x01, 0x00, 0x02});
  Bytes out(6416);
  EXPECT_EQ(unpackPairs(out, packed, pairHeader(packed.size(), 0xFFFF), 6416), 6416u);
  EXPECT_EQ(std::count(out.begin(), out.end(), 1), 6416);
}

TEST(PairCodecCut, RecordCutToHeadAndImageUnpacksToTheImageExactly) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    const std::size_t imageLength = seed % 3 == 0 ? 640 : seed % 3 == 1 ? 3200 : 4224;
    const std::size_t needed = 6 + imageLength;
    const Bytes record = structured(needed + 100 + seed * 37, seed);
    const Bytes packed = packPairs(record);
    const Bytes blob = cutPackedRecord(packed, needed);
    ASSERT_GE(blob.size(), 4u);
    EXPECT_EQ(blobHeader(blob) >> 16, kRecordHeadBytes);
    EXPECT_EQ(blobHeader(blob) & 0xFFFF, blob.size() - 4);
    Bytes out(kRecordHeadBytes + imageLength + 100);
    // Unpacked without a limit, the blob yields exactly the image.
    const std::size_t stored = unpackPairs(out, blob, out.size());
    ASSERT_EQ(stored, imageLength);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + imageLength, record.begin() + 6));
  }
}

TEST(PairCodecCut, CutInsideAPairCodeExpansion) {
  // 10000 zeros pack to codes of 2048 zeros; any needed length not a
  // multiple of that ends inside an expansion.
  const Bytes record(10000, 0);
  const Bytes packed = packPairs(record);
  for (std::size_t needed : {6u + 640u, 6u + 3200u, 6u + 4224u, 4096u + 7u}) {
    const Bytes blob = cutPackedRecord(packed, needed);
    Bytes out(needed + 50);
    EXPECT_EQ(unpackPairs(out, blob, out.size()), needed - 6) << needed;
  }
  // A record shorter than needed gives all it has.
  const Bytes shortRecord = packPairs(Bytes(100, 3));
  Bytes out(200);
  EXPECT_EQ(unpackPairs(out, cutPackedRecord(shortRecord, 646), out.size()), 94u);
}

}  // namespace
}  // namespace vorbin
