// Fitting arbitrary names into boxes and parsing arbitrary label lists: no
// crash, lines never wider than the box unless a single character is, and
// bounded output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launcher/render/command_labels.h"
#include "launcher/render/label_fit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int width = data[0];
  const int lines = data[1] % 4;
  std::wstring text;
  for (std::size_t i = 2; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  // Characters of varying width, some zero-width.
  const vorbin::TextMeasure measure = [](std::wstring_view s) {
    int w = 0;
    for (wchar_t c : s) w += static_cast<int>(c % 7);
    return w;
  };
  const vorbin::FittedLabel f = vorbin::fitLabel(text, width, lines, measure);
  if (f.lines.size() > static_cast<std::size_t>(lines < 1 ? 1 : lines)) std::abort();
  for (const auto& l : f.lines) {
    if (l.size() > vorbin::kLabelBufferChars + vorbin::kEllipsis.size()) std::abort();
    if (measure(l) > width && l.size() > 1 && l != vorbin::kEllipsis && !f.shortened) std::abort();
  }
  const auto labels = vorbin::parseCommandLabels(text);
  if (labels.size() > 9) std::abort();
  return 0;
}
