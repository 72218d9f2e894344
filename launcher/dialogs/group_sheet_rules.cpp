// The group sheet's decisions.
#include "launcher/dialogs/group_sheet_rules.h"

#include <algorithm>

#include "launcher/dialogs/item_sheet_rules.h"
#include "launcher/model/group_table.h"
#include "launcher/services/folder_walk.h"

namespace vorbin {

StartUpChecks startUpChecksFromValue(int value) { return {value != 0, (value & 2) != 0, (value & 4) != 0}; }

int startUpValue(const StartUpChecks& checks) {
  if (!checks.start) return 0;
  return 1 | (checks.second ? 2 : 0) | (checks.third ? 4 : 0);
}

StartUpChecks afterStartUpClick(StartUpChecks checks, StartUpBox box, bool checked) {
  switch (box) {
    case StartUpBox::kStart:
      // Either way the variants start again from nothing.
      checks.start = checked;
      checks.second = checks.third = false;
      break;
    case StartUpBox::kSecond:
      // A stored value with both variants: the first click keeps the clicked one.
      if (checks.second && checks.third) {
        checks.third = false;
        break;
      }
      checks.second = checked && checks.start;
      if (checks.second) checks.third = false;
      break;
    case StartUpBox::kThird:
      if (checks.second && checks.third) {
        checks.second = false;
        break;
      }
      checks.third = checked && checks.start;
      if (checks.third) checks.second = false;
      break;
  }
  return checks;
}

RegisterOptions registerOptionsFromValue(int value) {
  return {(value & 1) != 0, (value & 2) != 0, (value & 4) != 0, (value & 8) != 0};
}

int howGetSubFolderValue(const RegisterOptions& o) {
  return (o.subfolders ? 1 : 0) | (o.groupPerFolder ? 2 : 0) | (o.foldersAsItems ? 4 : 0) |
         (o.onlyWithFiles ? 8 : 0);
}

RegisterEnabling registerEnabling(const RegisterOptions& o) {
  return {o.subfolders, o.subfolders, o.subfolders && o.groupPerFolder};
}

RegisterOptions shownRegisterOptions(RegisterOptions o) {
  if (!o.subfolders) o.onlyWithFiles = false;
  return o;
}

RegisterOptions afterRegisterClick(RegisterOptions o, RegisterBox box, bool checked) {
  const RegisterEnabling enabled = registerEnabling(o);
  switch (box) {
    case RegisterBox::kSubfolders:
      o.subfolders = checked;
      o.onlyWithFiles = false;
      break;
    case RegisterBox::kGroupPerFolder:
      if (!enabled.groupPerFolder) break;
      o.groupPerFolder = checked;
      o.onlyWithFiles = checked;
      if (checked) o.foldersAsItems = false;
      break;
    case RegisterBox::kFoldersAsItems:
      if (!enabled.foldersAsItems) break;
      o.foldersAsItems = checked;
      if (checked) o.groupPerFolder = o.onlyWithFiles = false;
      break;
    case RegisterBox::kOnlyWithFiles:
      if (enabled.onlyWithFiles) o.onlyWithFiles = checked;
      break;
  }
  return o;
}

uint32_t registerScanMode(int howGetSubFolder, bool newGroup) {
  return (static_cast<uint32_t>(howGetSubFolder) & 0x0F) | (newGroup ? kWalkFilesOnly : kWalkHeaderSent);
}

std::vector<std::wstring> registerPatterns(std::wstring_view filterText, std::wstring_view wildCard) {
  std::vector<std::wstring> out;
  for (std::wstring_view source : {filterText, wildCard})
    for (std::wstring& pattern : wildCardPatterns(source))
      if (std::find(out.begin(), out.end(), pattern) == out.end()) out.push_back(std::move(pattern));
  return out;
}

std::wstring effectivePattern(std::wstring_view typed) {
  const size_t first = typed.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return L"*.*";
  const size_t last = typed.find_last_not_of(L" \t");
  return std::wstring(typed.substr(first, last - first + 1));
}

int groupIndexBySection(const GroupTable& groups, uint32_t sectionNumber) {
  const size_t placeholder = groups.placeholderIndex();
  if (sectionNumber == 0) return static_cast<int>(placeholder);
  // The quick group (index 0) and the placeholder have no section of their own.
  for (size_t i = 1; i < placeholder; ++i)
    if (groups[i].sectionNumber == sectionNumber) return static_cast<int>(i);
  return -1;
}

}  // namespace vorbin
