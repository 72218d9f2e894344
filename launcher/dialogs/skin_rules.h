// Rules of the appearance page and skins that need no window: which names may
// become skin folders or picture files, which files a save may delete, how
// clashing pictures are renamed, the page's entry list and font sizes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/model/profile.h"
#include "launcher/model/settings.h"

namespace vorbin {

inline constexpr wchar_t kSkinFileName[] = L"VorbSkin.ini";

// ---- Names

// The typed skin name with the characters a file name cannot hold replaced
// by their full-width forms.
std::wstring storedSkinName(std::wstring_view typed);
// True when a stored name may become a folder directly inside the data folder
// (dataFolderLength counts its trailing backslash): not empty, not only dots or
// blanks, no trailing dot or blank, no device name, control or reserved
// character, and the skin file's path stays within the system's path limit.
bool skinNameAcceptable(std::wstring_view storedName, size_t dataFolderLength);
// True for a picture name as a skin file or the profile may hold it: a bare
// file name, which joined to a folder stays in that folder.
bool isBarePictureName(std::wstring_view name);
// The file name of a path (what follows the last separator).
std::wstring_view fileNameOf(std::wstring_view path);
// The folder of a path with its trailing backslash; empty when it has none.
std::wstring_view folderOf(std::wstring_view path);
bool sameFileName(std::wstring_view a, std::wstring_view b);

// ---- Saving pictures

// The picture files a save into a skin folder may delete: the bare names the
// skin file held before that none of the new names refers to (in any letter
// case), each once.
std::vector<std::wstring> picturesToDelete(const std::array<std::wstring, kPictureCount>& oldNames,
                                           const std::array<std::wstring, kPictureCount>& newNames);

// A name like `name` that none of `taken` equals in any letter case:
// "sky.bmp", then "sky (2).bmp", "sky (3).bmp" ...
std::wstring uniquePictureName(std::wstring_view name, const std::vector<std::wstring>& taken);

// How the chosen pictures reach a destination folder: one copy per distinct
// source file, a file already in that folder is kept where it is, and two
// different files with the same name get different names.
struct PictureCopy {
  std::wstring source;  // full path; empty when the slot has no picture
  std::wstring name;    // file name in the destination folder
  bool copy = false;    // false: the file is already there (or shared with an earlier slot)
};
std::array<PictureCopy, kPictureCount> planPictureCopies(
    const std::array<std::wstring, kPictureCount>& sources, std::wstring_view destinationFolder);

// ---- The entry list of the page

enum EntryCapability : unsigned {
  kHasColor = 0x01,
  kHasStrength = 0x02,
  kHasWeight = 0x04,
  kHasPicture = 0x08,
};
inline constexpr int kAppearanceEntryCount = 17;

struct AppearanceEntry {
  unsigned capabilities;
  int color;            // a ColorSlot, or -1
  int picture;          // a PictureSlot, or -1
  int Colors::*weight;  // for weight entries
};
const AppearanceEntry& appearanceEntry(int index);

// The entry's number on the page: its strength (-100..100, none shows as 0)
// or its weight (0..255); 0 for entries with neither.
int entryNumber(const Colors& colors, int index);
// Stores a number typed for the entry, clamped to its range. A strength left
// as shown keeps its stored value (which may be "none").
void setEntryNumber(Colors& colors, int index, int value);

// ---- Fonts

// The font dialog works in tenths of a point, UserFontSize in points.
int pointsToTenths(int points);
int tenthsToPoints(int tenths);
// The font line of the page: "Arial, 9pt/B/I".
std::wstring fontLine(std::wstring_view face, int tenths, bool bold, bool italic);

// ---- Skin files

// Reads a skin's appearance as loadColors does and drops picture names that
// are not bare file names.
void readSkinColors(const Profile& skin, Colors& colors);

}  // namespace vorbin
