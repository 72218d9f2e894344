// The settings of the sections Settings, Colors and Cmd History: each value is
// declared once below with its default and bounds, and read and written from there.
#include "launcher/model/settings.h"

#include <algorithm>
#include <climits>

#include "launcher/model/group_table.h"

namespace vorbin {

namespace {

// When a value is read, written and taken over from the options sheet.
enum Use : unsigned {
  kRead = 1,      // loadSettings
  kOptions = 2,   // saveOptions
  kState = 4,     // saveState
  kUserFont = 8,  // only while UserFont is on
  kSheet = 16,    // takeOptions copies it from the accepted options sheet
  kLayout = 32,   // ... and a change needs a new layout
  kByHand = 64,   // takeOptions hands it over itself (more than a copy)
};

struct BoolSetting {
  const wchar_t* name;
  bool Settings::*field;
  bool fallback;
  unsigned use;
};

using Adjust = int (*)(int value, const SystemInfo& system);

template <class Owner>
struct IntSetting {
  const wchar_t* name;
  int Owner::*field;
  int fallback;
  int min = INT_MIN;
  int max = INT_MAX;
  unsigned use = 0;
  Adjust adjust = nullptr;  // after the bounds, on reading only
};

struct TextSetting {
  const wchar_t* name;
  std::wstring Settings::*field;
  unsigned use;
  bool windowsFolderByDefault = false;
};

struct FolderSetting {
  const wchar_t* name;
  FolderValue Settings::*field;
  bool zeroSecond;
};

int clearLauncherBits(int value, const SystemInfo&) { return value & ~0x60; }
int mapTaskDispModeAdjust(int value, const SystemInfo&) { return mapTaskDispMode(value); }
int defaultHotKeyWhenZero(int value, const SystemInfo& system) {
  return value == 0 && system.win2000OrLater ? kDefaultHotKey : value;
}

constexpr unsigned RO = kRead | kOptions;
constexpr unsigned RS = kRead | kState;
// An option the sheet hands to the bar, and one whose change needs a new layout.
constexpr unsigned ROS = RO | kSheet;
constexpr unsigned ROL = RO | kSheet | kLayout;

// The options rows without kSheet (ExeLimit, IntervalAtDrop, FlushTime, FlatRatio, the title
// modes) are not taken from the sheet: saveOptions writes back what the bar holds. Changes the
// bar acts on beyond a new layout (HotKey, DispIconInTary, KeepCompression, DispTaskDetails,
// Language) are reported by takeOptions itself.
const BoolSetting kBools[] = {
    {L"IsV416Later", &Settings::isV416Later, false, kRead},
    {L"MostTop", &Settings::mostTop, false, RS},
    {L"Lock", &Settings::lock, false, RS},
    {L"LockWithTop", &Settings::lockWithTop, true, ROS},
    {L"QueryDelete", &Settings::queryDelete, true, ROS},
    {L"RunWithOpen", &Settings::runWithOpen, true, ROS},
    {L"TaskMode", &Settings::taskMode, false, RS},
    {L"OpenAtClickPos", &Settings::openAtClickPos, false, ROS},
    {L"NoActiveToClose", &Settings::noActiveToClose, false, ROS},
    {L"AlwaysOpenAppl", &Settings::alwaysOpenAppl, false, ROS},
    {L"GrowByFill", &Settings::growByFill, false, ROS},
    {L"FastExit", &Settings::fastExit, false, ROS},
    {L"UsualyTopGroup", &Settings::usuallyTopGroup, false, ROS},
    {L"SuperLock", &Settings::superLock, false, ROS},
    {L"SmallFont", &Settings::smallFont, false, ROL},
    {L"Is24Hour", &Settings::is24Hour, false, ROS},
    {L"DispIconInTary", &Settings::dispIconInTray, true, ROS},
    {L"KeepCompression", &Settings::keepCompression, false, ROS},
    {L"GroupAsCenter", &Settings::groupAsCenter, false, ROL},
    {L"UserFont", &Settings::userFont, false, ROL},
    {L"IsFontItalic", &Settings::isFontItalic, false, ROL | kUserFont},
    {L"IsFontBold", &Settings::isFontBold, false, ROL | kUserFont},
    {L"ShiftSelOnly", &Settings::shiftSelOnly, false, ROS},
    {L"DispEndMessage", &Settings::dispEndMessage, true, ROS},
    {L"IgnoreClickOnDX", &Settings::ignoreClickOnDX, true, ROS},
    {L"IsMaxSize", &Settings::isMaxSize, false, RS},
};

const IntSetting<Settings> kInts[] = {
    {L"MouseButton", &Settings::mouseButton, 0, INT_MIN, INT_MAX, ROS | kByHand, clearLauncherBits},
    {L"GroupDispMode", &Settings::groupDispMode, 0, INT_MIN, INT_MAX, RS},
    {L"TaskDispMode", &Settings::taskDispMode, 0, INT_MIN, INT_MAX, RS, mapTaskDispModeAdjust},
    {L"HowGetSubFolder", &Settings::howGetSubFolder, 11, INT_MIN, INT_MAX, RS},
    {L"HotKey", &Settings::hotKey, kDefaultHotKey, INT_MIN, INT_MAX, ROS, defaultHotKeyWhenZero},
    {L"CloseDelayTime", &Settings::closeDelayTime, 0, 0, 30, ROS},
    {L"ToolTipMode", &Settings::toolTipMode, 0, 0, 2, ROS},
    {L"ApplButtonRow", &Settings::applButtonRow, -1, INT_MIN, INT_MAX, RS},
    {L"FontSize", &Settings::fontSize, 0, INT_MIN, INT_MAX, ROL},
    {L"UserFontSize", &Settings::userFontSize, 9, INT_MIN, INT_MAX, ROL | kUserFont},
    {L"ExeLimit", &Settings::exeLimit, 3, 2, 1000, RO},
    {L"IntervalAtSel", &Settings::intervalAtSel, 40, -1, 10000, ROS},
    {L"IntervalAtDrop", &Settings::intervalAtDrop, 100, 0, 10000, RO},
    {L"IntervalAtScroll", &Settings::intervalAtScroll, 100, 0, 10000, ROS},
    {L"FlushTime", &Settings::flushTime, 250, 0, 10000, RO},
    {L"ThumbRatio", &Settings::thumbRatio, 30, 0, 100, RS},
    {L"ThumbQuality", &Settings::thumbQuality, 50, 25, 100, RS},
    {L"ScrollTime", &Settings::scrollTime, 300, 0, 10000, ROS},
    {L"ScrollBtnSize", &Settings::scrollBtnSize, 4, 1, 8, ROL},
    {L"GrpScrollMode", &Settings::grpScrollMode, 0, 0, 1, ROL},
    {L"ActRect", &Settings::actRect, 1, 1, 3, RS},
    {L"FlatRatio", &Settings::flatRatio, 0, -100, 100, RO},
    {L"ApplicationTitle", &Settings::applicationTitle, -1, -1, 1, RO},
    {L"GroupTitle", &Settings::groupTitle, 1, -1, 1, RO},
    {L"TaskTitle", &Settings::taskTitle, 1, -1, 1, RO},
    {L"CommandTitle", &Settings::commandTitle, 0, -1, 1, RO},
    {L"DispTaskDetails", &Settings::dispTaskDetails, 0, INT_MIN, INT_MAX, RS | kSheet | kLayout},
    {L"PositionX", &Settings::positionX, -1, INT_MIN, INT_MAX, RS},
    {L"PositionY", &Settings::positionY, -1, INT_MIN, INT_MAX, RS},
    {L"AppearPos", &Settings::appearPos, 655410, INT_MIN, INT_MAX, ROS},
    {L"Height", &Settings::height, 0, INT_MIN, INT_MAX, RS},
    {L"Language", &Settings::language, 0, INT_MIN, INT_MAX, kOptions | kSheet | kByHand},
};

const IntSetting<Colors> kAlphas[] = {
    {L"EllipseWidth", &Colors::ellipseWidth, 25, 0, 1000},
    {L"ActAlpha", &Colors::actAlpha, 0, 0, 255},
    {L"NonActAlpha_gp", &Colors::nonActAlphaGp, 128, 0, 255},
    {L"NonActAlpha_ap", &Colors::nonActAlphaAp, 0, 0, 255},
    {L"NonActAlpha_qk", &Colors::nonActAlphaQk, 128, 0, 255},
    {L"ActColorAlpha", &Colors::actColorAlpha, 128, 0, 255},
};

const TextSetting kTexts[] = {
    {L"GraphicDirectry", &Settings::graphicDirectory, RS, true},
    {L"SkinName", &Settings::skinName, ROS},
    {L"WildCard", &Settings::wildCard, ROS},
    {L"FontName", &Settings::fontName, ROL | kUserFont},
};

const FolderSetting kFolders[] = {
    {L"ExeDirectry", &Settings::exeDirectory, true},
    {L"IconDirectry", &Settings::iconDirectory, false},
    {L"SelectDirectry", &Settings::selectDirectory, false},
};

constexpr wchar_t kVorbBar[] = L"VorbBar";
constexpr wchar_t kDispModeButton[] = L"DispModeButton";

struct ColorSetting {
  const wchar_t* name;
  ColorValue fallback;
  bool writeStrength;
};

const ColorSetting kColorTable[kColorCount] = {
    {L"Bord", {0, 128, 192, 50}, true},
    {L"GroupBase", {0, 64, 128, 50}, true},
    {L"ApplBase", {0, 128, 128, 50}, true},
    {L"CommandButton", {0, 128, 128, 50}, true},
    {L"FunctionKey", {255, 128, 128, 50}, true},
    {L"ApplName", {0, 0, 0, 100}, true},
    {L"GroupName", {255, 255, 255, 0}, true},
    {L"CommandName", {128, 255, 128, 0}, true},
    {L"Light", {255, 255, 0, 50}, false},
    {L"ActTitle", {255, 255, 255, kNoStrength}, false},
    {L"FuncKeyLabel", {255, 255, 255, kNoStrength}, false},
    {L"ExitKeyLabel", {0, 255, 255, kNoStrength}, false},
    {L"Indicator", {0, 255, 255, kNoStrength}, false},
};

const wchar_t* const kPictureNames[kPictureCount] = {L"Bord_pic", L"Group_pic", L"Appl_pic", L"Func_pic",
                                                     L"Cmd_pic"};

bool readBool(const Profile& p, const wchar_t* name, bool fallback) {
  if (auto text = p.getString(kSettingsSection, name)) return parseBool(*text);
  if (auto number = p.getDword(kSettingsSection, name)) return *number != 0;
  return fallback;
}

template <class Owner>
int readInt(const Profile& p, const IntSetting<Owner>& s, const SystemInfo& system) {
  int v = std::clamp(p.getInt(kSettingsSection, s.name, s.fallback), s.min, s.max);
  return s.adjust ? s.adjust(v, system) : v;
}

template <class Owner>
void writeInt(Profile& p, const IntSetting<Owner>& s, const Owner& owner) {
  p.setInt(kSettingsSection, s.name, std::clamp(owner.*(s.field), s.min, s.max));
}

// Writes every table entry whose uses include `use`.
void writeTables(Profile& p, const Settings& s, unsigned use) {
  for (const auto& e : kBools)
    if ((e.use & use) && (!(e.use & kUserFont) || s.userFont))
      p.setString(kSettingsSection, e.name, formatBool(s.*(e.field)));
  for (const auto& e : kInts)
    if ((e.use & use) && (!(e.use & kUserFont) || s.userFont)) writeInt(p, e, s);
  for (const auto& e : kTexts)
    if ((e.use & use) && (!(e.use & kUserFont) || s.userFont))
      p.setString(kSettingsSection, e.name, s.*(e.field));
}

// Copies the rows the sheet hands over; true when one that shapes the layout changed.
template <class Row, size_t N>
bool copySheetRows(const Row (&rows)[N], Settings& live, const Settings& sheet) {
  bool layout = false;
  for (const auto& e : rows) {
    if (!(e.use & kSheet) || (e.use & kByHand)) continue;
    if ((e.use & kLayout) && live.*(e.field) != sheet.*(e.field)) layout = true;
    live.*(e.field) = sheet.*(e.field);
  }
  return layout;
}

template <class Row, size_t N>
void addFields(std::vector<SettingField>& out, const Row (&rows)[N]) {
  for (const auto& e : rows)
    out.push_back({e.name, e.field, (e.use & kSheet) != 0, (e.use & kLayout) != 0, (e.use & kByHand) != 0});
}

}  // namespace

int clampTitleMode(int value) { return std::clamp(value, -1, 1); }

int mapTaskDispMode(int value) {
  if (value < 0) return 0;
  if (value <= 2) return value;
  return value == 10 ? 2 : value == 8 ? 1 : 0;
}

const wchar_t* colorName(ColorSlot slot) { return kColorTable[slot].name; }
const wchar_t* pictureName(PictureSlot slot) { return kPictureNames[slot]; }

Colors defaultColors() {
  Colors c;
  for (int i = 0; i < kColorCount; ++i) c.colors[i] = kColorTable[i].fallback;
  return c;
}

int readLanguage(const Profile& profile) { return profile.getInt(kSettingsSection, L"Language", 0); }

void loadSettings(const Profile& p, const SystemInfo& system, Settings& s) {
  s.windowsFolder = system.windowsFolder;
  for (const auto& e : kBools)
    if ((e.use & kRead) && !(e.use & kUserFont)) s.*(e.field) = readBool(p, e.name, e.fallback);
  // The user-font values follow UserFont, which the loop above has just read.
  for (const auto& e : kBools)
    if ((e.use & kUserFont) && s.userFont) s.*(e.field) = readBool(p, e.name, e.fallback);
  for (const auto& e : kInts)
    if ((e.use & kRead) && (!(e.use & kUserFont) || s.userFont)) s.*(e.field) = readInt(p, e, system);
  for (const auto& e : kTexts) {
    if (!(e.use & kRead) || ((e.use & kUserFont) && !s.userFont)) continue;
    std::wstring text = p.getText(kSettingsSection, e.name);
    if (text.empty() && e.windowsFolderByDefault) text = system.windowsFolder;
    s.*(e.field) = text;
  }
  for (const auto& f : kFolders)
    s.*(f.field) = parseFolderValue(p.getText(kSettingsSection, f.name), system.windowsFolder, f.zeroSecond);
  s.vorbBar = parseActivationLetters(p.getText(kSettingsSection, kVorbBar, L"YYYYY"));
  if (auto modes = p.getString(kSettingsSection, kDispModeButton))
    s.dispModeButton = parseModeButtons(*modes);

  s.lockLevel = lockLevelOf(s.lock, s.superLock);
  if (s.alwaysOpenAppl) s.taskMode = false;
}

void loadColors(const Profile& p, Colors& c) {
  for (int i = 0; i < kColorCount; ++i)
    c.colors[i] = parseColor(p.getText(kColorsSection, kColorTable[i].name), kColorTable[i].fallback);
  for (int i = 0; i < kPictureCount; ++i) c.pictures[i] = p.getText(kColorsSection, kPictureNames[i]);
  const SystemInfo none;
  for (const auto& e : kAlphas) c.*(e.field) = readInt(p, e, none);
}

void saveColors(Profile& p, const Colors& c) {
  for (int i = 0; i < kColorCount; ++i)
    p.setString(kColorsSection, kColorTable[i].name, formatColor(c.colors[i], kColorTable[i].writeStrength));
  for (int i = 0; i < kPictureCount; ++i) p.setString(kColorsSection, kPictureNames[i], c.pictures[i]);
  for (const auto& e : kAlphas) writeInt(p, e, c);
}

void saveOptions(Profile& p, const Settings& s) {
  writeTables(p, s, kOptions);
  p.setString(kSettingsSection, kVorbBar, formatActivationLetters(s.vorbBar));
  std::array<int, 3> modes = s.dispModeButton;
  for (int& m : modes) m = (m < 0 || m > 4) ? 0 : m;
  p.setString(kSettingsSection, kDispModeButton, formatModeButtons(modes));
}

OptionChanges takeOptions(Settings& live, const Settings& sheet) {
  OptionChanges c;
  c.language = sheet.language != live.language;
  c.hotKey = sheet.hotKey != live.hotKey;
  c.trayIcon = sheet.dispIconInTray != live.dispIconInTray;
  c.keepCompression = sheet.keepCompression != live.keepCompression;
  c.taskList = live.taskMode && sheet.dispTaskDetails != live.dispTaskDetails;
  const bool boolsLayout = copySheetRows(kBools, live, sheet);
  const bool intsLayout = copySheetRows(kInts, live, sheet);
  const bool textsLayout = copySheetRows(kTexts, live, sheet);
  c.layout = boolsLayout || intsLayout || textsLayout || sheet.dispModeButton != live.dispModeButton;
  // Stored in their own text forms, outside the tables.
  live.vorbBar = sheet.vorbBar;
  live.dispModeButton = sheet.dispModeButton;
  // Right button primary, secondary button and double-click mode come from the
  // sheet; bit 4 is the launcher's own.
  live.mouseButton = (sheet.mouseButton & 0x83) | (live.mouseButton & 0x10);
  live.lockLevel = lockLevelOf(live.lock, live.superLock);
  return c;
}

std::vector<SettingField> settingFields() {
  std::vector<SettingField> fields;
  addFields(fields, kBools);
  addFields(fields, kInts);
  addFields(fields, kTexts);
  return fields;
}

void saveState(Profile& p, const Settings& s, const GroupTable& groups, const CmdHistory& history,
               std::optional<int> groupBeforeTaskMode) {
  writeTables(p, s, kState);
  p.setInt(kSettingsSection, L"ActGroup", groupBeforeTaskMode ? *groupBeforeTaskMode : groups.activeGroup);
  p.setInt(kSettingsSection, L"DispGrpOffset", groups.dispGroupOffset);
  for (const auto& f : kFolders)
    p.setString(kSettingsSection, f.name, formatFolderValue(s.*(f.field), f.zeroSecond));
  groups.saveOrder();
  groups.saveGroupOffsets();
  saveHistory(p, history);
}

void loadHistory(const Profile& p, CmdHistory& history) {
  for (size_t i = 0; i < history.size(); ++i) history[i] = p.getText(kHistorySection, std::to_wstring(i + 1));
}

void saveHistory(Profile& p, const CmdHistory& history) {
  for (size_t i = 0; i < history.size() && !history[i].empty(); ++i)
    p.setString(kHistorySection, std::to_wstring(i + 1), history[i]);
}

}  // namespace vorbin
