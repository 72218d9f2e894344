// Program Manager execute strings: the bracketed commands read out of a
// client's command memory, and what each of them asks of the bar.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/bar/new_item_request.h"
#include "launcher/model/item_record.h"

namespace vorbin {

// Any process may send any memory: these bound the work one string can cause.
inline constexpr size_t kMaxDdeExecuteChars = size_t{1} << 20;
inline constexpr size_t kMaxDdeCommands = 10000;
inline constexpr size_t kMaxDdeArguments = 16;  // additem, the longest, has 9
// A command with a longer argument is left out (no target or title is that long).
inline constexpr size_t kMaxDdeArgumentChars = 4096;

struct DdeCommand {
  std::wstring name;  // ASCII letters folded to lower case
  std::vector<std::wstring> arguments;
};

// The text of a command memory: UTF-16LE from a Unicode client window, else
// the client's ANSI bytes through decodeAnsi (the glue passes the system code
// page; Latin-1 stands in natively). The text ends at the first NUL or the end
// of the memory, whichever comes first, and at kMaxDdeExecuteChars.
std::wstring ddeExecuteText(std::span<const uint8_t> memory, bool unicodeClient,
                            const AnsiDecoder& decodeAnsi = latin1Decoder);

// "[name(arg,arg)]..." -> commands. Brackets and parentheses inside double
// quotes are text, so a quoted "C:\Program Files (x86)\a.exe" stays whole.
// Parsing stops at a missing "[", "(" or ")" (an unterminated quote leaves
// the ")" missing) and at an empty name; commands before that are kept.
// Arguments: split at commas outside quotes, leading and trailing blanks
// dropped; one that starts with a quote runs to the closing quote, quotes
// removed and anything after them up to the comma ignored.
std::vector<DdeCommand> parseDdeCommands(std::wstring_view text);

inline std::vector<DdeCommand> parseDdeExecute(std::span<const uint8_t> memory, bool unicodeClient,
                                               const AnsiDecoder& decodeAnsi = latin1Decoder) {
  return parseDdeCommands(ddeExecuteText(memory, unicodeClient, decodeAnsi));
}

enum class DdeAction { kUnknown, kCreateGroup, kAddItem, kDeleteGroup, kShowGroup, kReload };

struct DdeOperation {
  DdeAction action = DdeAction::kUnknown;
  std::wstring group;   // the group commands' name
  int showCommand = 0;  // showgroup's second argument
  NewItemRequest item;  // additem
};

// What a parsed command asks for. A group command without a name and an
// additem without a command line are unknown: they would otherwise match the
// nameless placeholder group or make an item with nothing to start.
DdeOperation interpretDdeCommand(const DdeCommand& command);

}  // namespace vorbin
