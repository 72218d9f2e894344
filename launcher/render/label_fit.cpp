// Fitting names into boxes with word wrapping and an end ellipsis.
#include "launcher/render/label_fit.h"

#include <algorithm>

#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

// Longest n such that text.substr(0, n) fits (binary search: widths only grow).
std::size_t fittingPrefix(std::wstring_view text, int width, const TextMeasure& measure) {
  std::size_t lo = 0, hi = text.size();
  while (lo < hi) {
    const std::size_t mid = (lo + hi + 1) / 2;
    if (measure(text.substr(0, mid)) <= width)
      lo = mid;
    else
      hi = mid - 1;
  }
  return lo;
}

// The next line from the front of rest: up to the last blank that keeps it within
// width, or as many characters as fit (at least one) when no blank does.
std::size_t nextLineLength(std::wstring_view rest, int width, const TextMeasure& measure) {
  const std::size_t fit = fittingPrefix(rest, width, measure);
  if (fit >= rest.size()) return rest.size();
  for (std::size_t i = fit; i > 0; --i)
    if (isSpaceOrTab(rest[i])) return i;
  return std::max<std::size_t>(fit, 1);
}

}  // namespace

std::wstring ellipsize(std::wstring_view line, int width, const TextMeasure& measure) {
  std::size_t lo = 0, hi = line.size();
  std::wstring probe;
  while (lo < hi) {
    const std::size_t mid = (lo + hi + 1) / 2;
    probe.assign(trimBack(line.substr(0, mid), isSpaceOrTab));
    probe += kEllipsis;
    if (measure(probe) <= width)
      lo = mid;
    else
      hi = mid - 1;
  }
  std::wstring out(trimBack(line.substr(0, lo), isSpaceOrTab));
  out += kEllipsis;
  return out;
}

FittedLabel fitLabel(std::wstring_view text, int width, int maxLines, const TextMeasure& measure) {
  FittedLabel out;
  bool cut = false;
  if (text.size() >= kLabelBufferChars) {
    text = text.substr(0, kLabelBufferChars - 1);
    cut = true;
  }
  if (!cut && measure(text) <= width) {
    if (!text.empty()) out.lines.emplace_back(text);
    return out;
  }
  maxLines = std::max(maxLines, 1);
  std::wstring_view rest = text;
  while (!rest.empty() && static_cast<int>(out.lines.size()) < maxLines) {
    const bool last = static_cast<int>(out.lines.size()) == maxLines - 1;
    const std::size_t n = last ? rest.size() : nextLineLength(rest, width, measure);
    const std::wstring_view line = trimBack(rest.substr(0, n), isSpaceOrTab);
    rest = trimFront(rest.substr(n), isSpaceOrTab);
    if (last && (measure(line) > width || cut)) {
      out.lines.push_back(ellipsize(line, width, measure));
      out.shortened = true;
    } else {
      out.lines.emplace_back(line);
    }
  }
  out.shortened = out.shortened || cut;
  return out;
}

}  // namespace vorbin
