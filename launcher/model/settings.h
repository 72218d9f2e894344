// The launcher's settings: every value of the sections Settings, Colors and
// Cmd History, read with its default and bounds and written back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "launcher/model/profile.h"
#include "launcher/model/value_text.h"

namespace vorbin {

class GroupTable;

inline constexpr wchar_t kSettingsSection[] = L"Settings";
inline constexpr wchar_t kColorsSection[] = L"Colors";
inline constexpr wchar_t kHistorySection[] = L"Cmd History";
inline constexpr int kDefaultHotKey = 0x074B;  // Ctrl+Alt+Shift+K

// What the settings need to know about the system they run on.
struct SystemInfo {
  std::wstring windowsFolder;
  bool win2000OrLater = true;
};

struct Settings {
  // Read at start-up.
  bool isV416Later = false;
  FolderValue exeDirectory, iconDirectory, selectDirectory;
  std::wstring graphicDirectory;
  unsigned vorbBar = 31;  // activation mask: edges left, top, right, bottom, desktop click
  bool mostTop = false;
  bool lock = false;
  int lockLevel = 0;  // 0 unlocked, 1 locked, 2 locked with SuperLock: see lockLevelOf
  bool lockWithTop = true;
  bool queryDelete = true;
  bool runWithOpen = true;
  bool taskMode = false;
  int mouseButton = 0;
  bool openAtClickPos = false;
  bool noActiveToClose = false;
  int groupDispMode = 0;
  int taskDispMode = 0;
  bool alwaysOpenAppl = false;
  bool growByFill = false;
  bool fastExit = false;
  bool usuallyTopGroup = false;
  bool superLock = false;
  bool smallFont = false;
  bool is24Hour = false;
  int howGetSubFolder = 11;
  int hotKey = kDefaultHotKey;
  int closeDelayTime = 0;
  bool dispIconInTray = true;
  bool keepCompression = false;
  int toolTipMode = 0;
  int applButtonRow = -1;
  int fontSize = 0;
  bool groupAsCenter = false;
  bool userFont = false;
  std::wstring fontName;
  int userFontSize = 9;
  bool isFontItalic = false;
  bool isFontBold = false;
  int exeLimit = 3;
  int intervalAtSel = 40;
  int intervalAtDrop = 100;
  int intervalAtScroll = 100;
  int flushTime = 250;
  bool shiftSelOnly = false;
  bool dispEndMessage = true;
  bool ignoreClickOnDX = true;
  int thumbRatio = 30;
  int thumbQuality = 50;
  int scrollTime = 300;
  int scrollBtnSize = 4;
  int grpScrollMode = 0;
  int actRect = 1;
  int flatRatio = 0;
  std::wstring skinName;
  std::array<int, 3> dispModeButton{0, 1, 3};
  int applicationTitle = -1;
  int groupTitle = 1;
  int taskTitle = 1;
  int commandTitle = 0;
  int dispTaskDetails = 0;
  std::wstring wildCard;
  int positionX = -1;
  int positionY = -1;
  bool isMaxSize = false;
  int appearPos = 655410;
  int height = 0;
  // Read before the others, to choose the resource library.
  int language = 0;

  // Facts about the program and the system, not stored in the profile.
  std::wstring programFolder;  // with trailing backslash
  std::wstring windowsFolder;
  std::wstring fileVersion, legalCopyright, legalTrademarks;
  bool runningAsShell = false;
};

// The nine colour slots of the bar and the four label colours, in this order.
enum ColorSlot {
  kBord,
  kGroupBase,
  kApplBase,
  kCommandButton,
  kFunctionKey,
  kApplName,
  kGroupName,
  kCommandName,
  kLight,
  kActTitle,
  kFuncKeyLabel,
  kExitKeyLabel,
  kIndicator,
  kColorCount
};
enum PictureSlot { kBordPic, kGroupPic, kApplPic, kFuncPic, kCmdPic, kPictureCount };

struct Colors {
  std::array<ColorValue, kColorCount> colors{};
  std::array<std::wstring, kPictureCount> pictures;
  int ellipseWidth = 25;
  int actAlpha = 0;
  int nonActAlphaGp = 128;
  int nonActAlphaAp = 0;
  int nonActAlphaQk = 128;
  int actColorAlpha = 128;
};
// The profile names of the colour and picture slots.
const wchar_t* colorName(ColorSlot slot);
const wchar_t* pictureName(PictureSlot slot);
Colors defaultColors();

// The run prompt's command history, "1".."15".
using CmdHistory = std::array<std::wstring, 15>;

// Reads every start-up value (all but the colours, alpha values, ActGroup and DispGrpOffset).
void loadSettings(const Profile& profile, const SystemInfo& system, Settings& settings);
int readLanguage(const Profile& profile);
void loadColors(const Profile& profile, Colors& colors);
void saveColors(Profile& profile, const Colors& colors);
// Writes the values the options sheet edits, clamped as they would be read.
void saveOptions(Profile& profile, const Settings& settings);
// Writes the window state, folders, group order and offsets and the history.
// groupBeforeTaskMode: the group to remember when the bar is in task mode.
void saveState(Profile& profile, const Settings& settings, const GroupTable& groups,
               const CmdHistory& history, std::optional<int> groupBeforeTaskMode = std::nullopt);

// Lock level from the profile's Lock and SuperLock.
inline int lockLevelOf(bool lock, bool superLock) { return lock ? (superLock ? 2 : 1) : 0; }

// What taking over the accepted options sheet changed, for the bar to act on.
struct OptionChanges {
  bool layout = false;           // a value the layout depends on changed
  bool language = false;         // the sheet has another language; the caller sets it once its library loads
  bool hotKey = false;           // HotKey changed: register the bar hot key again
  bool trayIcon = false;         // DispIconInTary changed: add or remove the icon
  bool keepCompression = false;  // takes effect at the next start, which the user is told
  bool taskList = false;         // task details changed in task mode: the task list is built again
};
// Takes the values the options sheet hands to the bar into the live settings:
// the table rows marked for it, VorbBar and DispModeButton. MouseButton keeps
// the launcher's bit 4, the lock level follows, Language is left to the caller.
OptionChanges takeOptions(Settings& live, const Settings& sheet);

// The single-value rows of the settings table, for code that walks every value.
struct SettingField {
  const wchar_t* name;
  std::variant<bool Settings::*, int Settings::*, std::wstring Settings::*> field;
  bool fromSheet;  // takeOptions takes it from the options sheet
  bool layout;     // ... and a change needs a new layout
  bool byHand;     // ... by a rule of its own rather than a copy
};
std::vector<SettingField> settingFields();

void loadHistory(const Profile& profile, CmdHistory& history);
void saveHistory(Profile& profile, const CmdHistory& history);

// Clamps of single values, shared by reading and writing.
int clampTitleMode(int value);
int mapTaskDispMode(int value);

#ifdef _WIN32
// The launcher's own reading: the system facts, the program's version texts
// and whether it runs as the shell, then the profile values above.
void loadSettings(const Profile& profile, Settings& settings);
SystemInfo currentSystemInfo();
#endif

}  // namespace vorbin
