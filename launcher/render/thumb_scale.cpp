// Area averaging in integer arithmetic: source pixel i spans [i*dst, (i+1)*dst)
// and target pixel x spans [x*src, (x+1)*src) on a common axis, so every
// overlap is an exact integer weight and a target pixel's weights sum to src.
#include "launcher/render/thumb_scale.h"

#include <algorithm>
#include <cstdint>

namespace vorbin {
namespace {

struct Span {
  int first = 0;  // first source index
  std::vector<std::uint32_t> weights;
};

// For each target index, the source indices it covers and their overlaps.
std::vector<Span> spans(int src, int dst) {
  std::vector<Span> out(static_cast<size_t>(dst));
  const std::int64_t s = src, d = dst;
  for (std::int64_t x = 0; x < d; ++x) {
    const std::int64_t lo = x * s, hi = (x + 1) * s;
    Span& span = out[static_cast<size_t>(x)];
    span.first = static_cast<int>(lo / d);
    for (std::int64_t i = lo / d; i * d < hi && i < s; ++i) {
      const std::int64_t overlap = std::min(hi, (i + 1) * d) - std::max(lo, i * d);
      span.weights.push_back(static_cast<std::uint32_t>(overlap));
    }
  }
  return out;
}

}  // namespace

ThumbSize thumbSize(int width, int height, int ratio) {
  if (width <= 0 || height <= 0 || ratio <= 0) return {};
  ratio = std::min(ratio, 100);
  const auto side = [ratio](int v) {
    return std::max(1, static_cast<int>(static_cast<std::int64_t>(v) * ratio / 100));
  };
  return {side(width), side(height)};
}

std::vector<Pixel> scaleByArea(std::span<const Pixel> pixels, int width, int height, ThumbSize target) {
  if (width <= 0 || height <= 0 || target.width <= 0 || target.height <= 0) return {};
  if (pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) return {};
  const std::vector<Span> columns = spans(width, target.width);
  const std::vector<Span> rows = spans(height, target.height);
  const size_t tw = static_cast<size_t>(target.width);

  // Horizontal pass of one source row into sums weighted up to width.
  std::vector<std::uint64_t> line(tw * 3);
  std::vector<std::uint64_t> sums(tw * 3);
  std::vector<Pixel> out(tw * static_cast<size_t>(target.height));
  const std::uint64_t total = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  for (int y = 0; y < target.height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    const Span& rowSpan = rows[static_cast<size_t>(y)];
    for (size_t r = 0; r < rowSpan.weights.size(); ++r) {
      const Pixel* source = pixels.data() + static_cast<size_t>(rowSpan.first + static_cast<int>(r)) * width;
      for (size_t x = 0; x < tw; ++x) {
        const Span& col = columns[x];
        std::uint64_t red = 0, green = 0, blue = 0;
        for (size_t c = 0; c < col.weights.size(); ++c) {
          const Pixel p = source[col.first + static_cast<int>(c)];
          red += static_cast<std::uint64_t>((p >> 16) & 0xFF) * col.weights[c];
          green += static_cast<std::uint64_t>((p >> 8) & 0xFF) * col.weights[c];
          blue += static_cast<std::uint64_t>(p & 0xFF) * col.weights[c];
        }
        line[x * 3] = red;
        line[x * 3 + 1] = green;
        line[x * 3 + 2] = blue;
      }
      const std::uint64_t w = rowSpan.weights[r];
      for (size_t i = 0; i < line.size(); ++i) sums[i] += line[i] * w;
    }
    Pixel* target_row = out.data() + static_cast<size_t>(y) * tw;
    for (size_t x = 0; x < tw; ++x) {
      const auto channel = [&](size_t i) { return static_cast<Pixel>((sums[x * 3 + i] + total / 2) / total); };
      target_row[x] = (channel(0) << 16) | (channel(1) << 8) | channel(2);
    }
  }
  return out;
}

}  // namespace vorbin
