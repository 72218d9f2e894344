// The labels of the task-mode command buttons: a comma-separated list of
// pairs (label, corner mark) from the language library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

struct CommandLabel {
  std::wstring label;
  std::wstring mark;
};

// Splits the text into pairs; a missing mark is empty. At most maxButtons
// pairs are kept, and each piece is cut to a label-sized length.
std::vector<CommandLabel> parseCommandLabels(std::wstring_view text, std::size_t maxButtons = 9);

}  // namespace vorbin
