// The tips file of the tip of the day: which lines are tips, where the next
// one is, the stored file position and the file's time stamp text.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vorbin {

// Longest tip kept; the rest of a longer line is skipped.
inline constexpr size_t kMaxTipLength = 1000;
// Files beyond this size are read only this far.
inline constexpr size_t kMaxTipsFileBytes = 4u << 20;

// The language's file first, then the other language's.
struct TipsFileNames {
  std::wstring_view first, second;
};
TipsFileNames tipsFileNames(int language);

// A line without its byte-order mark, trailing CR/LF and end-of-file mark;
// empty when the line is a comment (';'), blank, or starts with a tab, blank
// or the end-of-file mark.
std::u16string tipOfLine(std::u16string_view line);

struct TipFound {
  bool found = false;   // false: the file holds no tip at all
  std::u16string text;  // the tip, at most kMaxTipLength characters
  int64_t nextPos = 0;  // byte offset after the tip's line
};
// The next tip at or after byte offset pos of a UTF-16LE file, starting over
// at the beginning once when the end comes first. Never loops: a file
// without a tip answers "not found" after one pass.
TipFound nextTip(std::span<const uint8_t> file, int64_t pos);

// A stored position inside the file and on a character boundary.
int64_t clampTipPos(int64_t stored, int64_t fileSize);

// "Www Mmm dd hh:mm:ss yyyy" in UTC for seconds since 1970 (also before it).
std::wstring tipsTimeStamp(int64_t secondsSince1970);
// FILETIME ticks (100 ns since 1601) to seconds since 1970, rounded down.
int64_t secondsSince1970(uint64_t fileTimeTicks);

// What the dialog starts with, from the stored values and the file's stamp.
struct TipsStart {
  bool showAtStartUp = true;  // the check box
  int64_t pos = 0;
  bool stampChanged = false;  // a new file: store its stamp
};
TipsStart startTips(uint32_t storedStartUp, int64_t storedPos, std::wstring_view storedStamp,
                    std::wstring_view fileStamp, int64_t fileSize);

// Whether the tips open when the launcher starts: not with /nologo; otherwise
// when they are on, or when the file changed since it was last seen.
bool tipsAtStartUp(bool noLogo, uint32_t storedStartUp, std::wstring_view storedStamp,
                   std::wstring_view fileStamp);

}  // namespace vorbin
