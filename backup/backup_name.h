// Backup names: the typed name converted to a folder name, and the rules
// that keep a name inside the tool folder and within the path limit.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace backup {

// The saved hive inside every backup folder.
inline constexpr std::wstring_view kBackupFileName = L"vorbinbr.dat";
// The longest full path the system's path calls take (MAX_PATH less the terminator).
inline constexpr size_t kMaxPathLength = 259;

// Replaces each character that a file name cannot hold by its full-width
// counterpart; every other character is kept.
std::wstring toStoredName(std::wstring_view typed);

enum class NameCheck {
  kOk,
  kEmpty,
  // Only dots and blanks ("." and ".." address the tool folder and its parent;
  // the system strips trailing dots and blanks, so "..." and "  " do the same).
  kOnlyDotsOrBlanks,
  // A trailing dot or blank, which the system would silently drop.
  kTrailingDotOrBlank,
  // A control character or a device name (CON, NUL, COM1, ...).
  kInvalid,
  // The backup file's path would pass the system's path limit.
  kTooLong,
};

// Checks a converted name against the tool folder it will live in
// (toolFolderLength counts the trailing backslash).
NameCheck checkBackupName(std::wstring_view storedName, size_t toolFolderLength);

// True when name, as a folder name inside the tool folder, addresses a
// subfolder of it (and not the folder itself, its parent or another place).
bool namesSubfolder(std::wstring_view name);

// True for "vorbinbr.dat" in any letter case.
bool isBackupFileName(std::wstring_view fileName);

}  // namespace backup
