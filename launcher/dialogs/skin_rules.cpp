// Skin names, picture names and the appearance entry list.
#include "launcher/dialogs/skin_rules.h"

#include <algorithm>

#include "backup/backup_name.h"
#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

bool hasReservedCharacter(std::wstring_view name) {
  for (wchar_t c : name) {
    if (c < 0x20 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) return true;
  }
  return false;
}

bool contains(const std::vector<std::wstring>& names, std::wstring_view name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::wstring& n) { return sameFileName(n, name); });
}

}  // namespace

std::wstring storedSkinName(std::wstring_view typed) { return backup::toStoredName(typed); }

bool skinNameAcceptable(std::wstring_view storedName, size_t dataFolderLength) {
  // The skin file has the backup file's length, so the backup tool's rules fit exactly.
  static_assert(std::size(kSkinFileName) - 1 == backup::kBackupFileName.size());
  return !hasReservedCharacter(storedName) &&
         backup::checkBackupName(storedName, dataFolderLength) == backup::NameCheck::kOk;
}

bool isBarePictureName(std::wstring_view name) {
  // A file name component holds at most 255 characters; separators, drive
  // colons, "." and ".." (and what the system trims to them) leave the folder.
  if (name.size() > 255 || hasReservedCharacter(name)) return false;
  backup::NameCheck check = backup::checkBackupName(name, 0);
  return check == backup::NameCheck::kOk || check == backup::NameCheck::kTooLong;
}

std::wstring_view fileNameOf(std::wstring_view path) {
  size_t cut = path.find_last_of(L"\\/:");
  return cut == std::wstring_view::npos ? path : path.substr(cut + 1);
}

std::wstring_view folderOf(std::wstring_view path) {
  size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring_view::npos ? std::wstring_view{} : path.substr(0, cut + 1);
}

bool sameFileName(std::wstring_view a, std::wstring_view b) { return equalsFoldingAscii(a, b); }

std::vector<std::wstring> picturesToDelete(const std::array<std::wstring, kPictureCount>& oldNames,
                                           const std::array<std::wstring, kPictureCount>& newNames) {
  std::vector<std::wstring> kept(newNames.begin(), newNames.end());
  std::vector<std::wstring> doomed;
  for (const std::wstring& name : oldNames) {
    if (name.empty() || !isBarePictureName(name) || contains(kept, name) || contains(doomed, name)) continue;
    doomed.push_back(name);
  }
  return doomed;
}

std::wstring uniquePictureName(std::wstring_view name, const std::vector<std::wstring>& taken) {
  if (!contains(taken, name)) return std::wstring(name);
  size_t dot = name.find_last_of(L'.');
  if (dot == 0) dot = std::wstring_view::npos;  // ".bmp" is all stem
  std::wstring_view stem = name.substr(0, dot);
  std::wstring_view extension = dot == std::wstring_view::npos ? std::wstring_view{} : name.substr(dot);
  for (int n = 2;; ++n) {
    std::wstring candidate = std::wstring(stem) + L" (" + std::to_wstring(n) + L")" + std::wstring(extension);
    if (!contains(taken, candidate)) return candidate;
  }
}

std::array<PictureCopy, kPictureCount> planPictureCopies(
    const std::array<std::wstring, kPictureCount>& sources, std::wstring_view destinationFolder) {
  std::array<PictureCopy, kPictureCount> plan;
  std::vector<std::wstring> taken;
  // Files already in the destination keep their names; place them first so
  // that a copied file never takes (and overwrites) one of them.
  for (size_t i = 0; i < sources.size(); ++i) {
    const std::wstring& source = sources[i];
    if (source.empty()) continue;
    plan[i].source = source;
    if (sameFileName(folderOf(source), destinationFolder)) {
      plan[i].name = fileNameOf(source);
      taken.push_back(plan[i].name);
    }
  }
  for (size_t i = 0; i < sources.size(); ++i) {
    if (sources[i].empty() || !plan[i].name.empty()) continue;
    size_t earlier = 0;
    while (earlier < i && !sameFileName(plan[earlier].source, sources[i])) ++earlier;
    if (earlier < i && !plan[earlier].name.empty()) {
      plan[i].name = plan[earlier].name;
      continue;
    }
    plan[i].name = uniquePictureName(fileNameOf(sources[i]), taken);
    plan[i].copy = true;
    taken.push_back(plan[i].name);
  }
  return plan;
}

namespace {

constexpr unsigned kCS = kHasColor | kHasStrength;
constexpr AppearanceEntry kEntries[kAppearanceEntryCount] = {
    {kCS | kHasPicture, kBord, kBordPic, nullptr},
    {kCS | kHasPicture, kGroupBase, kGroupPic, nullptr},
    {kCS, kGroupName, -1, nullptr},
    {kCS | kHasPicture, kApplBase, kApplPic, nullptr},
    {kCS, kApplName, -1, nullptr},
    {kCS | kHasPicture, kFunctionKey, kFuncPic, nullptr},
    {kHasColor, kFuncKeyLabel, -1, nullptr},
    {kHasColor, kExitKeyLabel, -1, nullptr},
    {kCS | kHasPicture, kCommandButton, kCmdPic, nullptr},
    {kCS, kCommandName, -1, nullptr},
    {kHasColor | kHasWeight, kActTitle, -1, &Colors::actColorAlpha},
    {kHasWeight, -1, -1, &Colors::actAlpha},
    {kHasWeight, -1, -1, &Colors::nonActAlphaGp},
    {kHasWeight, -1, -1, &Colors::nonActAlphaAp},
    {kHasWeight, -1, -1, &Colors::nonActAlphaQk},
    {kHasColor, kIndicator, -1, nullptr},
    {kHasColor, kLight, -1, nullptr},
};

int shownStrength(int strength) { return strength < -100 || strength > 100 ? 0 : strength; }

}  // namespace

const AppearanceEntry& appearanceEntry(int index) {
  return kEntries[std::clamp(index, 0, kAppearanceEntryCount - 1)];
}

int entryNumber(const Colors& colors, int index) {
  const AppearanceEntry& e = appearanceEntry(index);
  if (e.capabilities & kHasStrength) return shownStrength(colors.colors[e.color].strength);
  if (e.capabilities & kHasWeight) return std::clamp(colors.*(e.weight), 0, 255);
  return 0;
}

void setEntryNumber(Colors& colors, int index, int value) {
  const AppearanceEntry& e = appearanceEntry(index);
  if (e.capabilities & kHasStrength) {
    int& strength = colors.colors[e.color].strength;
    value = std::clamp(value, -100, 100);
    if (value != shownStrength(strength)) strength = value;
  } else if (e.capabilities & kHasWeight) {
    colors.*(e.weight) = std::clamp(value, 0, 255);
  }
}

int pointsToTenths(int points) { return std::clamp(points, 6, 24) * 10; }
int tenthsToPoints(int tenths) { return std::clamp((tenths + 5) / 10, 6, 24); }

std::wstring fontLine(std::wstring_view face, int tenths, bool bold, bool italic) {
  std::wstring line = std::wstring(face) + L", " + std::to_wstring(tenths / 10) + L"pt";
  if (bold) line += L"/B";
  if (italic) line += L"/I";
  return line;
}

void readSkinColors(const Profile& skin, Colors& colors) {
  loadColors(skin, colors);
  for (std::wstring& picture : colors.pictures) {
    if (!picture.empty() && !isBarePictureName(picture)) picture.clear();
  }
}

}  // namespace vorbin
