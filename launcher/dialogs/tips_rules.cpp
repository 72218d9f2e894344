// Tips file rules: line classification, the bounded search for the next tip,
// the stored position and the time stamp text.
#include "launcher/dialogs/tips_rules.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace vorbin {
namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr char16_t kEndOfFileMark = 26;

char16_t charAt(std::span<const uint8_t> file, size_t offset) {
  return static_cast<char16_t>(file[offset] | (file[offset + 1] << 8));
}

struct Line {
  std::u16string text;  // at most kMaxTipLength characters, with its line feed
  size_t next = 0;      // byte offset after the line (and its discarded rest)
};

// One line from an even offset below the file's whole characters.
Line readLine(std::span<const uint8_t> file, size_t offset) {
  const size_t end = file.size() & ~size_t{1};
  Line line;
  size_t at = offset;
  while (at < end && line.text.size() < kMaxTipLength) {
    const char16_t c = charAt(file, at);
    at += 2;
    line.text.push_back(c);
    if (c == u'\n') break;
  }
  // An overlong line: what did not fit is dropped up to its line feed.
  if (line.text.size() == kMaxTipLength && line.text.back() != u'\n') {
    while (at < end) {
      const char16_t c = charAt(file, at);
      at += 2;
      if (c == u'\n') break;
    }
  }
  line.next = at;
  return line;
}

}  // namespace

TipsFileNames tipsFileNames(int language) {
  if (language == 1) return {L"tips-j.dat", L"tips-e.dat"};
  return {L"tips-e.dat", L"tips-j.dat"};
}

std::u16string tipOfLine(std::u16string_view line) {
  if (!line.empty() && line.front() == kByteOrderMark) line.remove_prefix(1);
  if (line.empty()) return {};
  switch (line.front()) {
    case u'\t':
    case u'\n':
    case u'\r':
    case kEndOfFileMark:
    case u' ':
    case u';':
      return {};
    default:
      break;
  }
  while (!line.empty() && (line.back() == u'\n' || line.back() == u'\r' || line.back() == kEndOfFileMark))
    line.remove_suffix(1);
  return std::u16string(line);
}

TipFound nextTip(std::span<const uint8_t> file, int64_t pos) {
  const size_t end = file.size() & ~size_t{1};
  size_t at = static_cast<size_t>(clampTipPos(pos, static_cast<int64_t>(end)));
  // The first pass runs from the stored position, the second (once) from the start.
  for (int pass = 0; pass < 2; ++pass) {
    while (at < end) {
      Line line = readLine(file, at);
      at = line.next;
      std::u16string tip = tipOfLine(line.text);
      if (!tip.empty()) return {true, std::move(tip), static_cast<int64_t>(at)};
    }
    at = 0;
  }
  return {false, {}, 0};
}

int64_t clampTipPos(int64_t stored, int64_t fileSize) {
  const int64_t clamped = std::clamp<int64_t>(stored, 0, std::max<int64_t>(fileSize, 0));
  return clamped & ~int64_t{1};
}

int64_t secondsSince1970(uint64_t fileTimeTicks) {
  constexpr int64_t kSeconds1601To1970 = 11644473600;
  return static_cast<int64_t>(fileTimeTicks / 10000000u) - kSeconds1601To1970;
}

std::wstring tipsTimeStamp(int64_t seconds) {
  static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // Floor division, so that times before 1970 fall on the right day.
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const int weekday = static_cast<int>(((days % 7) + 7 + 4) % 7);  // 1 January 1970 was a Thursday
  // Civil date from a day count (proleptic Gregorian calendar).
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  char text[64];
  std::snprintf(text, sizeof(text), "%s %s %2d %02d:%02d:%02d %lld", kDays[static_cast<size_t>(weekday)],
                kMonths[static_cast<size_t>(month - 1)], day, static_cast<int>(rest / 3600),
                static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60), static_cast<long long>(year));
  std::wstring out;
  for (const char* c = text; *c; ++c) out.push_back(static_cast<wchar_t>(*c));
  return out;
}

TipsStart startTips(uint32_t storedStartUp, int64_t storedPos, std::wstring_view storedStamp,
                    std::wstring_view fileStamp, int64_t fileSize) {
  TipsStart start;
  start.showAtStartUp = storedStartUp == 0;
  start.pos = clampTipPos(storedPos, fileSize);
  if (storedStamp != fileStamp) {
    // A replaced file starts from its first tip and turns the tips on again.
    start.pos = 0;
    start.showAtStartUp = true;
    start.stampChanged = true;
  }
  return start;
}

bool tipsAtStartUp(bool noLogo, uint32_t storedStartUp, std::wstring_view storedStamp,
                   std::wstring_view fileStamp) {
  if (noLogo) return false;
  return storedStartUp == 0 || (!fileStamp.empty() && storedStamp != fileStamp);
}

}  // namespace vorbin
