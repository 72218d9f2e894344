// What the launcher says about another program's process and window without
// asking the system: priority names, the program type, the program and
// arguments of a command line, and the document path in a window title.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "launcher/interact/launch_rules.h"

namespace vorbin {

// Priority classes as the platform numbers them.
namespace priority_class {
inline constexpr uint32_t kIdle = 0x0040;
inline constexpr uint32_t kNormal = 0x0020;
inline constexpr uint32_t kHigh = 0x0080;
inline constexpr uint32_t kRealTime = 0x0100;
inline constexpr uint32_t kBelowNormal = 0x4000;
inline constexpr uint32_t kAboveNormal = 0x8000;
}  // namespace priority_class

// The base priority of a priority class (idle 4, normal 8, high 13, real
// time 24); any other class is kept as its own value.
int32_t basePriorityOf(uint32_t priorityClass);
// The name the window details show for a base priority; empty for the rest.
std::wstring_view priorityName(int32_t basePriority);

// A 16-bit program's window carries a selector as its instance handle; every
// 32- or 64-bit module loads far above 0xFFFF.
bool is16BitInstance(uint64_t instanceHandle);
// "16Bit" or "32Bit", as the window details name the program type (a 64-bit
// program counts as "32Bit": the report knows only the two).
std::wstring_view programTypeName(uint64_t instanceHandle);

// The longest text a global atom holds, so the longest command line the hook
// library can hand over.
inline constexpr size_t kMaxAtomChars = 255;
// A program's own command line split into the program and its arguments: the
// item command splitter, and for an unquoted line whose first word names no
// file, the shortest run of words that does (how the system itself started
// "C:\Program Files\x.exe /a"). At most kMaxAtomChars characters are read.
SplitCommand splitTaskCommandLine(std::wstring_view commandLine, LaunchSystem& sys);

// The longest window title looked at.
inline constexpr size_t kMaxTitleChars = 260;
struct TitlePath {
  std::wstring path;   // from the drive letter on
  std::wstring other;  // the text before the path, or from the separator after it on
};
// The document path a window title shows, if any. A drive is a letter, ':'
// and '\' at the start or after a character that is no letter ("Re: C:\x"
// names drive C). A path inside the title runs to its end; a title that
// starts with one ends it at the first of "/,;<>|", or is a path as a whole
// when that exists, or ends it before the last '-' when that part exists.
using PathExists = std::function<bool(const std::wstring& path)>;
std::optional<TitlePath> pathFromTitle(std::wstring_view title, const PathExists& exists);

}  // namespace vorbin
