// Decisions of the group sheet without windows: the start-up check boxes,
// the registration options and their enabling, the scan's mode and patterns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

class GroupTable;

// ---- Group page: start-up boxes ---------------------------------------------

// "Start at start-up", and its two exclusive variants.
struct StartUpChecks {
  bool start = false;   // bit 0 (any value)
  bool second = false;  // bit 1
  bool third = false;   // bit 2
};
StartUpChecks startUpChecksFromValue(int value);
int startUpValue(const StartUpChecks& checks);
enum class StartUpBox { kStart, kSecond, kThird };
// A click: the variants need the main box and exclude each other.
StartUpChecks afterStartUpClick(StartUpChecks checks, StartUpBox box, bool checked);

// ---- Registration page: options ---------------------------------------------

// The four options stored together as HowGetSubFolder.
struct RegisterOptions {
  bool subfolders = false;      // bit 0: walk into subfolders
  bool groupPerFolder = false;  // bit 1: a group for each subfolder
  bool foldersAsItems = false;  // bit 2: subfolders become folder buttons
  bool onlyWithFiles = false;   // bit 3: a group only for a folder with files
};
RegisterOptions registerOptionsFromValue(int howGetSubFolder);
int howGetSubFolderValue(const RegisterOptions& options);

struct RegisterEnabling {
  bool groupPerFolder = false, foldersAsItems = false, onlyWithFiles = false;
};
RegisterEnabling registerEnabling(const RegisterOptions& options);
// The options as shown at the start: what enabling rules out is cleared.
RegisterOptions shownRegisterOptions(RegisterOptions options);
enum class RegisterBox { kSubfolders, kGroupPerFolder, kFoldersAsItems, kOnlyWithFiles };
RegisterOptions afterRegisterClick(RegisterOptions options, RegisterBox box, bool checked);

// The scan's mode bits: the options, and either a group of the folder's own
// (newGroup) or its files in the group being edited.
uint32_t registerScanMode(int howGetSubFolder, bool newGroup);

// The pattern box's list: the patterns of the browse filter text followed by
// those of the WildCard setting, each once.
std::vector<std::wstring> registerPatterns(std::wstring_view filterText, std::wstring_view wildCard);
// What the scan looks for: an empty or blank box means every file.
std::wstring effectivePattern(std::wstring_view typed);

// ---- The group behind the sheet ---------------------------------------------

// The index of the group with that section number; the placeholder's index
// for 0 (a group still to be made); -1 when it has gone.
int groupIndexBySection(const GroupTable& groups, uint32_t sectionNumber);

}  // namespace vorbin
