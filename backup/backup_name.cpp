// Backup name conversion and validation.
#include "backup/backup_name.h"

#include <array>

namespace backup {

namespace {
struct Replacement {
  wchar_t typed;
  wchar_t stored;
};
constexpr std::array<Replacement, 10> kReplacements = {{
    {L'\\', L'\xFFE5'},  // fullwidth yen sign
    {L'/', L'\xFF0F'},
    {L':', L'\xFF1A'},
    {L',', L'\xFF0C'},
    {L'*', L'\xFF0A'},
    {L'?', L'\xFF1F'},
    {L'"', L'\x201D'},  // right double quotation mark
    {L'<', L'\xFF1C'},
    {L'>', L'\xFF1E'},
    {L'|', L'\xFF5C'},
}};

wchar_t asciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool equalsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
  }
  return true;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices whatever extension follows.
bool isDeviceName(std::wstring_view name) {
  std::wstring_view stem = name.substr(0, name.find(L'.'));
  while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);
  for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL"}) {
    if (equalsIgnoringAsciiCase(stem, device)) return true;
  }
  if (stem.size() == 4 && stem[3] >= L'1' && stem[3] <= L'9') {
    std::wstring_view prefix = stem.substr(0, 3);
    return equalsIgnoringAsciiCase(prefix, L"COM") || equalsIgnoringAsciiCase(prefix, L"LPT");
  }
  return false;
}
}  // namespace

std::wstring toStoredName(std::wstring_view typed) {
  std::wstring stored(typed);
  for (wchar_t& c : stored) {
    for (const Replacement& r : kReplacements) {
      if (c == r.typed) {
        c = r.stored;
        break;
      }
    }
  }
  return stored;
}

NameCheck checkBackupName(std::wstring_view name, size_t toolFolderLength) {
  if (name.empty()) return NameCheck::kEmpty;
  if (name.find_first_not_of(L". ") == std::wstring_view::npos) return NameCheck::kOnlyDotsOrBlanks;
  if (name.back() == L'.' || name.back() == L' ') return NameCheck::kTrailingDotOrBlank;
  for (wchar_t c : name) {
    if (c < 0x20) return NameCheck::kInvalid;
  }
  if (isDeviceName(name)) return NameCheck::kInvalid;
  // tool folder + name + "\" + "vorbinbr.dat"
  size_t fileLength = toolFolderLength + name.size() + 1 + kBackupFileName.size();
  if (name.size() > kMaxPathLength || fileLength > kMaxPathLength) return NameCheck::kTooLong;
  return NameCheck::kOk;
}

bool namesSubfolder(std::wstring_view name) {
  return name.find_first_not_of(L". ") != std::wstring_view::npos &&
         name.find_first_of(L"\\/:") == std::wstring_view::npos;
}

bool isBackupFileName(std::wstring_view fileName) {
  return equalsIgnoringAsciiCase(fileName, kBackupFileName);
}

}  // namespace backup
