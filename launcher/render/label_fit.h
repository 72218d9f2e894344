// Fitting a button or tab name into its box: word wrapping over a number of
// lines and an ellipsis at the end when it does not fit. The flag that the name
// was shortened decides whether a tool tip shows the full name.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// Width in pixels of a piece of text in the font being drawn with.
using TextMeasure = std::function<int(std::wstring_view)>;

inline constexpr std::size_t kLabelBufferChars = 260;  // names longer than this are cut first
inline constexpr std::wstring_view kEllipsis = L"...";

struct FittedLabel {
  std::vector<std::wstring> lines;
  bool shortened = false;
};

// Lays text into at most maxLines lines of width. A text that fits stays on one
// line; a longer one is wrapped at blanks (a word wider than a line is broken
// inside), and the last line ends in an ellipsis when text is left over.
FittedLabel fitLabel(std::wstring_view text, int width, int maxLines, const TextMeasure& measure);

// The longest beginning of line that fits width together with the ellipsis.
std::wstring ellipsize(std::wstring_view line, int width, const TextMeasure& measure);

}  // namespace vorbin
