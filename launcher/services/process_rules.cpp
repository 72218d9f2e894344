// Priority names, program type, command-line split and the path in a window
// title: the parts of the process details that need no system.
#include "launcher/services/process_rules.h"

#include <algorithm>

#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

constexpr bool isAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// Index of the first drive ("X:\") that starts the title or follows a
// character that is no letter: "Re: C:\x" names C, not "e:".
size_t findDrive(std::wstring_view title) {
  for (size_t i = 0; i + 2 < title.size(); ++i) {
    if (isAsciiLetter(title[i]) && title[i + 1] == L':' && title[i + 2] == L'\\' &&
        (i == 0 || !isAsciiLetter(title[i - 1]))) {
      return i;
    }
  }
  return std::wstring_view::npos;
}

std::wstring withoutTrailingBlanks(std::wstring_view text) {
  return std::wstring(trimBack(text, isWhiteSpace));
}

}  // namespace

int32_t basePriorityOf(uint32_t priorityClass) {
  switch (priorityClass) {
    case priority_class::kIdle:
      return 4;
    case priority_class::kNormal:
      return 8;
    case priority_class::kHigh:
      return 13;
    case priority_class::kRealTime:
      return 24;
    default:
      return static_cast<int32_t>(priorityClass);
  }
}

std::wstring_view priorityName(int32_t basePriority) {
  switch (basePriority) {
    case 4:
      return L"Idel";  // spelled as the details report has always shown it
    case 8:
      return L"Normal";
    case 13:
      return L"High";
    case 24:
      return L"Real-Time";
    default:
      return {};
  }
}

bool is16BitInstance(uint64_t instanceHandle) { return instanceHandle != 0 && instanceHandle < 0x10000; }

std::wstring_view programTypeName(uint64_t instanceHandle) {
  return is16BitInstance(instanceHandle) ? L"16Bit" : L"32Bit";
}

SplitCommand splitTaskCommandLine(std::wstring_view commandLine, LaunchSystem& sys) {
  const std::wstring_view text =
      trimmed(commandLine.substr(0, std::min(commandLine.size(), kMaxAtomChars)), isWhiteSpace);
  SplitCommand split = splitCommand(text, sys);
  if (text.find(L'"') != std::wstring_view::npos || split.program.empty() ||
      findFile(split.program, sys).result != 0) {
    return split;
  }
  // The first word names nothing: try the runs of words up to each later blank.
  size_t end = text.find_first_of(L" \t");
  while (end != std::wstring_view::npos) {
    end = text.find_first_of(L" \t", end + 1);
    if (end == std::wstring_view::npos) break;
    const std::wstring_view words = text.substr(0, end);
    if (isSpaceOrTab(words.back())) continue;
    if (findFile(words, sys).result != 0) {
      return {std::wstring(words), std::wstring(trimFront(text.substr(end), isWhiteSpace))};
    }
  }
  return split;
}

std::optional<TitlePath> pathFromTitle(std::wstring_view title, const PathExists& exists) {
  title = title.substr(0, std::min(title.size(), kMaxTitleChars));
  const size_t drive = findDrive(title);
  if (drive == std::wstring_view::npos) return std::nullopt;
  if (drive > 0) {
    // "document - C:\folder\program": the path runs to the end (or to the
    // closing quote of a quoted one); the blank before it is no part of either.
    std::wstring_view path = title.substr(drive);
    if (title[drive - 1] == L'"') path = path.substr(0, path.find(L'"'));
    return TitlePath{withoutTrailingBlanks(path), std::wstring(title.substr(0, drive - 1))};
  }
  if (const size_t separator = title.find_first_of(L"/,;<>|"); separator != std::wstring_view::npos) {
    return TitlePath{withoutTrailingBlanks(title.substr(0, separator)),
                     std::wstring(title.substr(separator))};
  }
  const std::wstring whole = withoutTrailingBlanks(title);
  if (exists(whole)) return TitlePath{whole, L""};
  // "C:\folder\document - Program"
  if (const size_t dash = title.rfind(L'-'); dash != std::wstring_view::npos && dash > 3) {
    std::wstring path = withoutTrailingBlanks(title.substr(0, dash));
    if (exists(path)) return TitlePath{std::move(path), std::wstring(title.substr(dash))};
  }
  return std::nullopt;
}

}  // namespace vorbin
