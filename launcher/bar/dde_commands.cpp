// Program Manager execute strings: reading the command memory, parsing the
// bracketed commands and giving each its meaning.
#include "launcher/bar/dde_commands.h"

#include <algorithm>

#include "launcher/model/profile.h"
#include "launcher/model/value_text.h"

namespace vorbin {
namespace {

bool isDdeBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring_view trimmed(std::wstring_view text) {
  while (!text.empty() && isDdeBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isDdeBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::wstring foldedName(std::wstring_view name) {
  std::wstring out(name);
  for (wchar_t& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

// Index of the first comma outside quotes at or after pos, or the text's size.
size_t nextComma(std::wstring_view text, size_t pos) {
  bool quoted = false;
  for (; pos < text.size(); ++pos) {
    if (text[pos] == L'"')
      quoted = !quoted;
    else if (!quoted && text[pos] == L',')
      break;
  }
  return pos;
}

// The argument text between the parentheses, whose quotes are balanced (the
// caller found its ")" outside quotes). False when an argument is too long.
bool splitArguments(std::wstring_view text, std::vector<std::wstring>& out) {
  size_t pos = 0;
  while (out.size() < kMaxDdeArguments) {
    while (pos < text.size() && isDdeBlank(text[pos])) ++pos;
    size_t end = nextComma(text, pos);
    std::wstring_view arg;
    if (pos < text.size() && text[pos] == L'"') {
      size_t close = text.find(L'"', pos + 1);
      if (close == std::wstring_view::npos || close > end) close = end;  // cannot happen with balanced quotes
      arg = text.substr(pos + 1, close - pos - 1);
    } else {
      arg = trimmed(text.substr(pos, end - pos));
    }
    if (arg.size() > kMaxDdeArgumentChars) return false;
    out.emplace_back(arg);
    if (end >= text.size()) break;
    pos = end + 1;
  }
  return true;
}

const std::wstring& argument(const DdeCommand& command, size_t index) {
  static const std::wstring empty;
  return index < command.arguments.size() ? command.arguments[index] : empty;
}

}  // namespace

std::wstring ddeExecuteText(std::span<const uint8_t> memory, bool unicodeClient,
                            const AnsiDecoder& decodeAnsi) {
  if (unicodeClient) {
    size_t units = std::min(memory.size() / 2, kMaxDdeExecuteChars);
    std::u16string text;
    text.reserve(units);
    for (size_t i = 0; i < units; ++i) {
      char16_t u = static_cast<char16_t>(memory[2 * i] | (memory[2 * i + 1] << 8));
      if (u == 0) break;
      text.push_back(u);
    }
    return wideFromUtf16(text);
  }
  size_t bytes = std::min(memory.size(), kMaxDdeExecuteChars);
  auto chars = reinterpret_cast<const char*>(memory.data());
  size_t end = std::find(chars, chars + bytes, '\0') - chars;
  std::wstring text = (decodeAnsi ? decodeAnsi : latin1Decoder)(std::string_view(chars, end));
  if (text.size() > kMaxDdeExecuteChars) text.resize(kMaxDdeExecuteChars);
  return text;
}

std::vector<DdeCommand> parseDdeCommands(std::wstring_view text) {
  std::vector<DdeCommand> commands;
  size_t pos = 0;
  // Every scan starts where the previous one ended, so any text costs one pass.
  while (commands.size() < kMaxDdeCommands) {
    size_t open = text.find(L'[', pos);
    if (open == std::wstring_view::npos) break;
    size_t paren = text.find(L'(', open + 1);
    if (paren == std::wstring_view::npos) break;
    std::wstring_view name = trimmed(text.substr(open + 1, paren - open - 1));
    if (name.empty()) break;
    // The arguments end at ")" outside quotes; a "]" outside quotes before it
    // means the command never closed its parenthesis.
    size_t close = paren + 1;
    bool quoted = false;
    for (; close < text.size(); ++close) {
      wchar_t c = text[close];
      if (c == L'"')
        quoted = !quoted;
      else if (!quoted && (c == L')' || c == L']'))
        break;
    }
    if (close >= text.size() || text[close] != L')') break;
    DdeCommand command;
    command.name = foldedName(name);
    if (splitArguments(text.substr(paren + 1, close - paren - 1), command.arguments))
      commands.push_back(std::move(command));
    pos = close + 1;
  }
  return commands;
}

DdeOperation interpretDdeCommand(const DdeCommand& command) {
  DdeOperation op;
  const std::wstring& first = argument(command, 0);
  if (first.empty()) return op;
  const std::wstring& name = command.name;
  if (name == L"additem") {
    // command line, name, icon path, icon index, x, y, default folder, hot key, minimize
    op.action = DdeAction::kAddItem;
    op.item.target = first;
    op.item.title = argument(command, 1);
    op.item.iconFile = argument(command, 2);
    op.item.iconIndex = leadingInt(argument(command, 3));
    op.item.folder = argument(command, 6);
    op.item.slot = -1;
    // 1 = minimized without activation.
    op.item.flags = leadingInt(argument(command, 8)) != 0 ? 1 : 0;
    return op;
  }
  op.group = first;
  if (name == L"creategroup") {
    op.action = DdeAction::kCreateGroup;
  } else if (name == L"deletegroup") {
    op.action = DdeAction::kDeleteGroup;
  } else if (name == L"showgroup") {
    op.action = DdeAction::kShowGroup;
    op.showCommand = leadingInt(argument(command, 1));
  } else if (name == L"reload") {
    op.action = DdeAction::kReload;
  } else {
    op.group.clear();
  }
  return op;
}

}  // namespace vorbin
