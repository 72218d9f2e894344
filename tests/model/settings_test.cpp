// The settings store against an in-memory profile: defaults, the clamps of
// damaged values, and what each save writes back.
#include "launcher/model/settings.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "launcher/model/group_table.h"

namespace vorbin {
namespace {

const SystemInfo kSystem{L"C:\\windows", true};

Settings load(const MemoryProfile& p, const SystemInfo& system = kSystem) {
  Settings s;
  loadSettings(p, system, s);
  return s;
}

TEST(Settings, MissingFoldersAndTextsFallBackToTheWindowsFolder) {
  MemoryProfile p;
  p.setString(kSettingsSection, L"SelectDirectry", L",0,0,0,0");
  Settings s = load(p);
  EXPECT_EQ(s.exeDirectory.path, L"C:\\windows");
  EXPECT_EQ(s.exeDirectory.numbers[0], 1);
  EXPECT_EQ(s.selectDirectory.path, L"C:\\windows");
  EXPECT_EQ(s.graphicDirectory, L"C:\\windows");
  EXPECT_EQ(s.vorbBar, 31u);
}

TEST(Settings, OutOfRangeValuesAreClampedOrMapped) {
  struct Case {
    int line;
    const wchar_t* name;
    uint32_t stored;
    int Settings::*field;
    int expected;
  } cases[] = {
      {__LINE__, L"ScrollBtnSize", 20, &Settings::scrollBtnSize, 8},
      {__LINE__, L"ScrollBtnSize", 0, &Settings::scrollBtnSize, 1},
      {__LINE__, L"ThumbQuality", 5, &Settings::thumbQuality, 25},
      {__LINE__, L"ThumbRatio", 500, &Settings::thumbRatio, 100},
      {__LINE__, L"TaskDispMode", 10, &Settings::taskDispMode, 2},
      {__LINE__, L"TaskDispMode", 8, &Settings::taskDispMode, 1},
      {__LINE__, L"TaskDispMode", 7, &Settings::taskDispMode, 0},
      {__LINE__, L"TaskDispMode", 2, &Settings::taskDispMode, 2},
      {__LINE__, L"TaskDispMode", static_cast<uint32_t>(-3), &Settings::taskDispMode, 0},
      {__LINE__, L"IntervalAtSel", static_cast<uint32_t>(-5), &Settings::intervalAtSel, -1},
      {__LINE__, L"ExeLimit", 1, &Settings::exeLimit, 2},
      {__LINE__, L"ExeLimit", 5000, &Settings::exeLimit, 1000},
      {__LINE__, L"FlatRatio", static_cast<uint32_t>(-101), &Settings::flatRatio, -100},
      {__LINE__, L"CloseDelayTime", 31, &Settings::closeDelayTime, 30},
      {__LINE__, L"ActRect", 0, &Settings::actRect, 1},
      {__LINE__, L"GroupTitle", 2, &Settings::groupTitle, 1},
      {__LINE__, L"TaskTitle", static_cast<uint32_t>(-9), &Settings::taskTitle, -1},
      {__LINE__, L"MouseButton", 0xFF, &Settings::mouseButton, 0x9F},
      {__LINE__, L"HotKey", 0, &Settings::hotKey, 0x074B},
      {__LINE__, L"HotKey", 0x0241, &Settings::hotKey, 0x0241},
  };
  for (const Case& c : cases) {
    MemoryProfile p;
    p.setDword(kSettingsSection, c.name, c.stored);
    EXPECT_EQ(load(p).*(c.field), c.expected) << "line " << c.line;
  }
  MemoryProfile p;
  p.setDword(kSettingsSection, L"HotKey", 0);
  EXPECT_EQ(load(p, SystemInfo{L"C:\\winnt", false}).hotKey, 0);  // before Windows 2000 0 stays
}

TEST(Settings, TextValuesAndDerivedFlags) {
  MemoryProfile p;
  p.setString(kSettingsSection, L"VorbBar", L"YNYNN");
  p.setString(kSettingsSection, L"MostTop", L"true");
  p.setString(kSettingsSection, L"QueryDelete", L"0");
  p.setString(kSettingsSection, L"RunWithOpen", L"");
  p.setString(kSettingsSection, L"Lock", L"yes");
  p.setString(kSettingsSection, L"SuperLock", L"1");
  p.setString(kSettingsSection, L"TaskMode", L"Yes");
  p.setString(kSettingsSection, L"AlwaysOpenAppl", L"Yes");
  p.setString(kSettingsSection, L"DispModeButton", L"2, 9 4");
  p.setString(kSettingsSection, L"FontName", L"Ignored");
  p.setString(kSettingsSection, L"IconDirectry", L"D:\\Icons,0,2,3,4");
  Settings s = load(p);
  EXPECT_EQ(s.vorbBar, 5u);
  EXPECT_TRUE(s.mostTop);
  EXPECT_FALSE(s.queryDelete);
  EXPECT_FALSE(s.runWithOpen);
  EXPECT_EQ(s.lockLevel, 2);
  EXPECT_FALSE(s.taskMode);  // the bar always opens on the applications
  EXPECT_EQ(s.dispModeButton, (std::array<int, 3>{2, 0, 4}));
  EXPECT_TRUE(s.fontName.empty());  // read only with UserFont
  EXPECT_EQ(s.iconDirectory.path, L"D:\\Icons");
  EXPECT_EQ(s.iconDirectory.numbers, (std::array<int, 4>{1, 2, 3, 4}));

  p.setString(kSettingsSection, L"UserFont", L"Yes");
  p.setString(kSettingsSection, L"IsFontBold", L"Yes");
  p.setDword(kSettingsSection, L"UserFontSize", 14);
  p.setString(kSettingsSection, L"Lock", L"Yes");
  p.setString(kSettingsSection, L"SuperLock", L"No");
  s = load(p);
  EXPECT_EQ(s.fontName, L"Ignored");
  EXPECT_TRUE(s.isFontBold);
  EXPECT_EQ(s.userFontSize, 14);
  EXPECT_EQ(s.lockLevel, 1);
}

TEST(Settings, SaveStateWritesTheClampedValuesBack) {
  MemoryProfile p;
  p.setDword(kSettingsSection, L"ThumbQuality", 5);
  p.setDword(kSettingsSection, L"ThumbRatio", 900);
  p.setDword(kSettingsSection, L"ActRect", 7);
  p.setDword(kSettingsSection, L"TaskDispMode", 10);
  p.setString(kSettingsSection, L"ExeDirectry", L"C:\\Bin,3,9,1,2");
  p.setString(kSettingsSection, L"Order", L" 0 1");
  p.setString(kSettingsSection, L"IsV416Later", L"Yes");
  p.setDword(kSettingsSection, L"ActGroup", 9);
  Settings s = load(p);
  GroupTable groups(p, ModelOptions::fromSettings(s));
  groups.loadGroups();
  groups[1].dispOffset = 2;
  CmdHistory history;
  history[0] = L"first";
  history[1] = L"second";
  history[3] = L"after a gap";
  saveState(p, s, groups, history);
  EXPECT_EQ(p.getDword(kSettingsSection, L"ThumbQuality"), 25u);
  EXPECT_EQ(p.getDword(kSettingsSection, L"ThumbRatio"), 100u);
  EXPECT_EQ(p.getDword(kSettingsSection, L"ActRect"), 3u);
  EXPECT_EQ(p.getDword(kSettingsSection, L"TaskDispMode"), 2u);
  EXPECT_EQ(p.getString(kSettingsSection, L"ExeDirectry"), L"C:\\Bin,3,0,1,2");
  EXPECT_EQ(p.getDword(kSettingsSection, L"ActGroup"), 2u);  // the placeholder of a table of one group
  EXPECT_EQ(p.getString(kSettingsSection, L"Order"), L" 0 1");
  EXPECT_EQ(p.getDword(L"Group1", L"DispOffset"), 2u);
  EXPECT_EQ(p.getString(kSettingsSection, L"MostTop"), L"No");
  EXPECT_EQ(p.getString(kHistorySection, L"2"), L"second");
  EXPECT_FALSE(p.getString(kHistorySection, L"4"));
  EXPECT_FALSE(p.getString(kSettingsSection, L"HotKey"));  // an option, not state

  saveState(p, s, groups, history, 1);
  EXPECT_EQ(p.getDword(kSettingsSection, L"ActGroup"), 1u);
  CmdHistory loaded;
  loadHistory(p, loaded);
  EXPECT_EQ(loaded[0], L"first");
  EXPECT_TRUE(loaded[2].empty());
}

TEST(Settings, SaveOptionsWritesTheOptionValuesInTheirStoredForms) {
  MemoryProfile p;
  Settings s = load(p);
  s.vorbBar = 5;
  s.dispModeButton = {4, 7, 1};
  s.groupTitle = 3;
  s.scrollBtnSize = 99;
  s.fontName = L"Tahoma";
  s.language = 2;
  saveOptions(p, s);
  EXPECT_EQ(p.getString(kSettingsSection, L"VorbBar"), L"YNYNN");
  EXPECT_EQ(p.getString(kSettingsSection, L"DispModeButton"), L"4 0 1 ");
  EXPECT_EQ(p.getDword(kSettingsSection, L"GroupTitle"), 1u);
  EXPECT_EQ(p.getDword(kSettingsSection, L"ScrollBtnSize"), 8u);
  EXPECT_EQ(p.getString(kSettingsSection, L"RunWithOpen"), L"Yes");
  EXPECT_EQ(p.getDword(kSettingsSection, L"Language"), 2u);
  EXPECT_FALSE(p.getString(kSettingsSection, L"FontName"));
  EXPECT_FALSE(p.getDword(kSettingsSection, L"PositionX"));  // state, not an option
  s.userFont = true;
  saveOptions(p, s);
  EXPECT_EQ(p.getString(kSettingsSection, L"FontName"), L"Tahoma");
  EXPECT_EQ(p.getDword(kSettingsSection, L"UserFontSize"), 9u);
  // What saveOptions writes reads back as the same settings.
  Settings back = load(p);
  EXPECT_EQ(back.vorbBar, 5u);
  EXPECT_EQ(back.dispModeButton, (std::array<int, 3>{4, 0, 1}));
  EXPECT_EQ(back.fontName, L"Tahoma");
  EXPECT_EQ(readLanguage(p), 2);
}

// A value for the sheet that differs from the live one.
void changeIn(Settings& sheet, const Settings& live, const SettingField& f) {
  std::visit(
      [&](auto field) {
        using T = std::remove_reference_t<decltype(sheet.*field)>;
        if constexpr (std::is_same_v<T, bool>) sheet.*field = !(live.*field);
        if constexpr (std::is_same_v<T, int>) sheet.*field = live.*field + 7;
        if constexpr (std::is_same_v<T, std::wstring>) sheet.*field = live.*field + f.name;
      },
      f.field);
}

bool sameIn(const Settings& a, const Settings& b, const SettingField& f) {
  return std::visit([&](auto field) { return a.*field == b.*field; }, f.field);
}

TEST(Settings, TheOptionsSheetHandsOverEveryMarkedRowAndNothingElse) {
  const Settings before = load(MemoryProfile{});
  Settings live = before, sheet = before;
  int handed = 0;
  for (const SettingField& f : settingFields()) {
    if (f.byHand) continue;
    changeIn(sheet, live, f);
    handed += f.fromSheet;
    // Alone, a row's change asks for a new layout exactly when it is marked so.
    Settings alone = before, aloneSheet = before;
    changeIn(aloneSheet, alone, f);
    EXPECT_EQ(takeOptions(alone, aloneSheet).layout, f.fromSheet && f.layout) << f.name;
  }
  sheet.vorbBar = 5;
  sheet.dispModeButton = {4, 2, 0};
  const OptionChanges changes = takeOptions(live, sheet);
  EXPECT_GT(handed, 30);
  for (const SettingField& f : settingFields()) {
    if (f.byHand) continue;
    EXPECT_TRUE(sameIn(live, f.fromSheet ? sheet : before, f)) << f.name;
  }
  EXPECT_EQ(live.vorbBar, 5u);
  EXPECT_EQ(live.dispModeButton, sheet.dispModeButton);
  EXPECT_TRUE(changes.layout && changes.hotKey && changes.trayIcon && changes.keepCompression);
  EXPECT_FALSE(changes.language || changes.taskList);

  Settings unchanged = live;
  const OptionChanges none = takeOptions(unchanged, live);
  EXPECT_FALSE(none.layout || none.language || none.hotKey || none.trayIcon || none.keepCompression ||
               none.taskList);
  live = sheet = before;
  sheet.dispModeButton[2] = 1;
  EXPECT_TRUE(takeOptions(live, sheet).layout);
}

TEST(Settings, TheHandOverKeepsTheLaunchersMouseBitAndDerivesTheLockLevel) {
  Settings live = load(MemoryProfile{}), sheet = live;
  live.mouseButton = 0x10 | 0x02;
  live.lock = true;
  live.taskMode = true;
  sheet.mouseButton = 0x80 | 0x01 | 0x04;
  sheet.superLock = true;
  sheet.lock = false;
  sheet.language = 1;
  sheet.dispTaskDetails = 1;
  OptionChanges c = takeOptions(live, sheet);
  EXPECT_EQ(live.mouseButton, 0x91);
  EXPECT_EQ(live.lockLevel, 2);  // the live Lock with the sheet's SuperLock
  EXPECT_EQ(live.language, 0);   // set once its library has loaded
  EXPECT_TRUE(c.language && c.taskList && c.layout);

  sheet.mouseButton = 0x10;
  sheet.superLock = false;
  takeOptions(live, sheet);
  EXPECT_EQ(live.mouseButton, 0x10);
  EXPECT_EQ(live.lockLevel, 1);
  live.mouseButton = 0;
  live.lock = false;
  takeOptions(live, sheet);
  EXPECT_EQ(live.mouseButton, 0);  // the sheet cannot set the launcher's bit
  EXPECT_EQ(live.lockLevel, 0);
}

TEST(Settings, ColoursReadWithDefaultsAndWriteBack) {
  MemoryProfile p;
  p.setString(kColorsSection, L"Bord", L"255");
  p.setString(kColorsSection, L"ApplName", L"1 2 3 -20");
  p.setString(kColorsSection, L"Appl_pic", L"wood.bmp");
  p.setDword(kSettingsSection, L"ActAlpha", 300);
  p.setDword(kSettingsSection, L"EllipseWidth", static_cast<uint32_t>(-4));
  Colors c;
  loadColors(p, c);
  EXPECT_EQ(c.colors[kBord], (ColorValue{255, 128, 128, 50}));
  EXPECT_EQ(c.colors[kApplName], (ColorValue{1, 2, 3, -20}));
  EXPECT_EQ(c.colors[kGroupName], (ColorValue{255, 255, 255, 0}));
  EXPECT_EQ(c.colors[kIndicator], (ColorValue{0, 255, 255, kNoStrength}));
  EXPECT_EQ(c.pictures[kApplPic], L"wood.bmp");
  EXPECT_EQ(c.actAlpha, 255);
  EXPECT_EQ(c.ellipseWidth, 0);
  EXPECT_EQ(c.nonActAlphaGp, 128);

  MemoryProfile out;
  saveColors(out, c);
  EXPECT_EQ(out.getString(kColorsSection, L"Bord"), L" 255 128 128 50");
  EXPECT_EQ(out.getString(kColorsSection, L"Light"), L" 255 255 0");
  EXPECT_EQ(out.getDword(kSettingsSection, L"ActAlpha"), 255u);
  Colors back;
  loadColors(out, back);
  EXPECT_EQ(back.colors, c.colors);
  EXPECT_EQ(back.pictures, c.pictures);
}

}  // namespace
}  // namespace vorbin
