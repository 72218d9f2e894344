// Parsing the command buttons' label list.
#include "launcher/render/command_labels.h"

namespace vorbin {

namespace {
constexpr std::size_t kMaxPiece = 63;
}

std::vector<CommandLabel> parseCommandLabels(std::wstring_view text, std::size_t maxButtons) {
  std::vector<CommandLabel> out;
  std::vector<std::wstring> pieces;
  while (pieces.size() < maxButtons * 2) {
    const std::size_t comma = text.find(L',');
    pieces.emplace_back(text.substr(0, std::min(comma, kMaxPiece)));
    if (comma == std::wstring_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  for (std::size_t i = 0; i < pieces.size(); i += 2) {
    CommandLabel l{pieces[i], i + 1 < pieces.size() ? pieces[i + 1] : std::wstring{}};
    if (l.label.empty() && l.mark.empty() && i + 2 >= pieces.size()) break;
    out.push_back(std::move(l));
  }
  return out;
}

}  // namespace vorbin
