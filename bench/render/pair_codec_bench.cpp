// Pair codec speed on realistic 32x32 images (640, 3200, 4224 bytes) and on
// an item record, each next to memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "launcher/render/icon_image.h"
#include "launcher/render/pair_codec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool inside(int x, int y) { return (x - 15.5) * (x - 15.5) + (y - 15.5) * (y - 15.5) < 15.0 * 15.0; }

void setMask(Bytes& bits) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (!inside(x, y)) bits[y * 4 + x / 8] |= 0x80 >> (x % 8);
}

// A round button with a dark rim, a light face and a two-colour mark, as a
// 16-colour icon draws it.
Bytes image4() {
  Bytes bits(vorbin::imageByteSize(4));
  setMask(bits);
  for (int row = 0; row < 32; ++row) {
    const int y = 31 - row;  // colour rows are bottom-up
    for (int x = 0; x < 32; ++x) {
      int index = 0;
      if (inside(x, y)) {
        const double d = std::hypot(x - 15.5, y - 15.5);
        index = d > 13 ? 8 : d > 11 ? 7 : 15;
        if (x > 10 && x < 21 && y > 8 && y < 23) index = (x + y) % 7 == 0 ? 12 : 4;
      }
      std::uint8_t& byte = bits[128 + row * 16 + x / 2];
      byte |= static_cast<std::uint8_t>(x % 2 ? index : index << 4);
    }
  }
  return bits;
}

// A shaded sphere: smooth gradients, as in true-colour icons.
Bytes imageTrue(int depth) {
  Bytes bits(vorbin::imageByteSize(depth));
  setMask(bits);
  const int step = depth / 8;
  for (int row = 0; row < 32; ++row) {
    const int y = 31 - row;
    for (int x = 0; x < 32; ++x) {
      std::uint8_t* p = &bits[128 + (row * 32 + x) * step];
      if (!inside(x, y)) continue;
      const double light = std::max(0.0, 1.0 - std::hypot(x - 11.0, y - 10.0) / 24.0);
      p[0] = static_cast<std::uint8_t>(60 + 180 * light);
      p[1] = static_cast<std::uint8_t>(40 + 120 * light);
      p[2] = static_cast<std::uint8_t>(20 + 60 * light);
      if (depth == 32) p[3] = std::hypot(x - 15.5, y - 15.5) > 14 ? 128 : 255;
    }
  }
  return bits;
}

// An item record: head, a 16-colour image, a UTF-16 path and four texts.
Bytes itemRecord() {
  Bytes record{0x01, 0x80, 0x00, 0x00, 0x00, 0x00};
  const Bytes image = image4();
  record.insert(record.end(), image.begin(), image.end());
  for (const std::string text :
       {"C:\\Program Files\\Mozilla Firefox\\firefox.exe", "C:\\Program Files\\Mozilla Firefox", "",
        "-private-window", "Browse the web"}) {
    for (char c : text) record.insert(record.end(), {static_cast<std::uint8_t>(c), 0});
    record.insert(record.end(), {0, 0});
  }
  return record;
}

Bytes sample(int kind) {
  switch (kind) {
    case 0:
      return image4();
    case 1:
      return imageTrue(24);
    case 2:
      return imageTrue(32);
    default:
      return itemRecord();
  }
}

const char* kindName(int kind) {
  static const char* names[] = {"depth4_640", "depth24_3200", "depth32_4224", "item_record"};
  return names[kind];
}

void BM_Pack(benchmark::State& state) {
  const Bytes input = sample(static_cast<int>(state.range(0)));
  Bytes out(vorbin::packedSizeBound(input.size()));
  for (auto _ : state) benchmark::DoNotOptimize(vorbin::packPairs(out, input));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  state.SetLabel(std::string(kindName(static_cast<int>(state.range(0)))) + " packed " +
                 std::to_string(vorbin::packPairs(input).size()));
}

void BM_Unpack(benchmark::State& state) {
  const Bytes input = sample(static_cast<int>(state.range(0)));
  const Bytes packed = vorbin::packPairs(input);
  Bytes out(input.size());
  const std::uint32_t header = vorbin::pairHeader(static_cast<std::uint32_t>(packed.size()), 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(vorbin::unpackPairs(out, packed, header, out.size()));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  state.SetLabel(kindName(static_cast<int>(state.range(0))));
}

void BM_Memcpy(benchmark::State& state) {
  const Bytes input = sample(static_cast<int>(state.range(0)));
  Bytes out(input.size());
  for (auto _ : state) {
    std::memcpy(out.data(), input.data(), input.size());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  state.SetLabel(kindName(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_Pack)->DenseRange(0, 3);
BENCHMARK(BM_Unpack)->DenseRange(0, 3);
BENCHMARK(BM_Memcpy)->DenseRange(0, 3);

}  // namespace
