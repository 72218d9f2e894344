// Skin names, picture names, the deletions and copies of a save, the entry
// list and font sizes.
#include "launcher/dialogs/skin_rules.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

constexpr size_t kFolderLength = 40;  // "C:\Users\me\AppData\Roaming\...\" and so on

TEST(SkinRules, SkinNamesThatLeaveTheDataFolderAreRefused) {
  struct Case {
    std::wstring typed;
    bool accepted;
  };
  const Case cases[] = {
      {L"", false},         {L".", false},
      {L"..", false},       {L"...", false},
      {L"   ", false},      {L"x.", false},
      {L"x ", false},       {L"CON", false},
      {L"con.txt", false},  {L"Lpt9", false},
      {L"COM1.ini", false}, {L"a\tb", false},
      {L"a\x1f", false},    {std::wstring(220, L'a'), false},  // the skin file would pass the path limit
      {L"Blue", true},      {L"COM10", true},
      {L"CONSOLE", true},   {L".hidden", true},
      {L"空", true},        {std::wstring(200, L'a'), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(skinNameAcceptable(storedSkinName(c.typed), kFolderLength), c.accepted)
        << "name of " << c.typed.size() << " characters";
  }
}

TEST(SkinRules, ReservedCharactersBecomeFullWidthAndAreThenAccepted) {
  EXPECT_EQ(storedSkinName(L"a/b"),
            L"a\xFF0F"
            L"b");
  EXPECT_EQ(storedSkinName(L"..\\x"), L"..\xFFE5x");
  EXPECT_TRUE(skinNameAcceptable(storedSkinName(L"a/b:c*d?e\"f<g>h|i,j\\k"), kFolderLength));
  // A name that did not pass through the conversion is still refused.
  EXPECT_FALSE(skinNameAcceptable(L"a\\b", kFolderLength));
  EXPECT_FALSE(skinNameAcceptable(L"..\\x", kFolderLength));
}

TEST(SkinRules, OnlyBarePictureNamesAreAccepted) {
  for (const wchar_t* bad :
       {L"", L".", L"..", L"..\\..\\victim.txt", L"../x.bmp", L"C:\\x.bmp", L"C:x.bmp",
        L"\\\\server\\share\\x.bmp", L"sub\\x.bmp", L"NUL", L"aux.bmp", L"x.bmp.", L"x\n"}) {
    EXPECT_FALSE(isBarePictureName(bad)) << bad;
  }
  for (const wchar_t* good : {L"sky.bmp", L"画像.bmp", L"a..b.jpg", L".bmp", L"with blank.gif"})
    EXPECT_TRUE(isBarePictureName(good)) << good;
  EXPECT_TRUE(isBarePictureName(std::wstring(255, L'p')));
  EXPECT_FALSE(isBarePictureName(std::wstring(256, L'p')));
}

TEST(SkinRules, PathsSplitIntoFolderAndName) {
  EXPECT_EQ(fileNameOf(L"C:\\a\\b.bmp"), L"b.bmp");
  EXPECT_EQ(fileNameOf(L"b.bmp"), L"b.bmp");
  EXPECT_EQ(fileNameOf(L"C:b.bmp"), L"b.bmp");
  EXPECT_EQ(folderOf(L"C:\\a\\b.bmp"), L"C:\\a\\");
  EXPECT_EQ(folderOf(L"b.bmp"), L"");
}

TEST(SkinRules, ASaveDeletesOnlyOldPicturesNoNewNameRefersTo) {
  std::array<std::wstring, kPictureCount> oldNames{L"sky.bmp", L"Wood.jpg", L"sky.bmp", L"..\\..\\victim.txt",
                                                   L"gone.gif"};
  std::array<std::wstring, kPictureCount> newNames{L"SKY.BMP", L"", L"new.bmp", L"", L""};
  // sky.bmp is still used (another case), victim.txt is no bare name, gone.gif is listed once.
  std::vector<std::wstring> expected{L"Wood.jpg", L"gone.gif"};
  EXPECT_EQ(picturesToDelete(oldNames, newNames), expected);

  oldNames = {L"a.bmp", L"a.bmp", L"A.bmp", L"C:\\a.bmp", L""};
  newNames = {};
  EXPECT_EQ(picturesToDelete(oldNames, newNames), std::vector<std::wstring>{L"a.bmp"});
}

TEST(SkinRules, ClashingNamesGetUniqueOnes) {
  EXPECT_EQ(uniquePictureName(L"sky.bmp", {}), L"sky.bmp");
  EXPECT_EQ(uniquePictureName(L"sky.bmp", {L"SKY.bmp"}), L"sky (2).bmp");
  EXPECT_EQ(uniquePictureName(L"sky.bmp", {L"sky.bmp", L"sky (2).bmp"}), L"sky (3).bmp");
  EXPECT_EQ(uniquePictureName(L"noext", {L"noext"}), L"noext (2)");
  EXPECT_EQ(uniquePictureName(L".bmp", {L".bmp"}), L".bmp (2)");
}

TEST(SkinRules, PictureCopiesShareOneFileAndRenameClashes) {
  const std::wstring dest = L"C:\\data\\";
  std::array<std::wstring, kPictureCount> sources{L"C:\\one\\sky.bmp", L"C:\\two\\sky.bmp",
                                                  L"c:\\ONE\\SKY.bmp", L"", L"C:\\data\\sky.bmp"};
  auto plan = planPictureCopies(sources, dest);
  // The file already in the destination keeps its name and is not copied onto itself.
  EXPECT_EQ(plan[4].name, L"sky.bmp");
  EXPECT_FALSE(plan[4].copy);
  EXPECT_EQ(plan[0].name, L"sky (2).bmp");
  EXPECT_TRUE(plan[0].copy);
  EXPECT_EQ(plan[1].name, L"sky (3).bmp");
  EXPECT_TRUE(plan[1].copy);
  // The same file in another letter case is copied once.
  EXPECT_EQ(plan[2].name, L"sky (2).bmp");
  EXPECT_FALSE(plan[2].copy);
  EXPECT_TRUE(plan[3].source.empty());
  EXPECT_TRUE(plan[3].name.empty());
}

TEST(SkinRules, EntriesEditTheirSlots) {
  int pictures = 0, colors = 0;
  for (int i = 0; i < kAppearanceEntryCount; ++i) {
    const AppearanceEntry& e = appearanceEntry(i);
    EXPECT_EQ((e.capabilities & kHasColor) != 0, e.color >= 0) << i;
    EXPECT_EQ((e.capabilities & kHasPicture) != 0, e.picture >= 0) << i;
    EXPECT_EQ((e.capabilities & kHasWeight) != 0, e.weight != nullptr) << i;
    pictures += e.picture >= 0;
    colors += e.color >= 0;
  }
  EXPECT_EQ(pictures, kPictureCount);
  EXPECT_EQ(colors, kColorCount);
  const int pictureEntries[] = {0, 1, 3, 5, 8};
  for (int slot = 0; slot < kPictureCount; ++slot)
    EXPECT_EQ(appearanceEntry(pictureEntries[slot]).picture, slot);
  EXPECT_EQ(appearanceEntry(10).color, kActTitle);
  EXPECT_EQ(appearanceEntry(16).color, kLight);

  Colors c = defaultColors();
  setEntryNumber(c, 0, 500);
  EXPECT_EQ(c.colors[kBord].strength, 100);
  setEntryNumber(c, 10, -4);
  EXPECT_EQ(c.actColorAlpha, 0);
  setEntryNumber(c, 14, 77);
  EXPECT_EQ(c.nonActAlphaQk, 77);
  EXPECT_EQ(entryNumber(c, 14), 77);
  // A colour without a strength shows 0 and keeps "none" until another number is typed.
  c.colors[kGroupName].strength = kNoStrength;
  EXPECT_EQ(entryNumber(c, 2), 0);
  setEntryNumber(c, 2, 0);
  EXPECT_EQ(c.colors[kGroupName].strength, kNoStrength);
  setEntryNumber(c, 2, -30);
  EXPECT_EQ(c.colors[kGroupName].strength, -30);
}

TEST(SkinRules, FontSizesConvertBetweenTenthsAndPoints) {
  EXPECT_EQ(tenthsToPoints(90), 9);
  EXPECT_EQ(tenthsToPoints(105), 11);
  EXPECT_EQ(tenthsToPoints(20), 6);
  EXPECT_EQ(tenthsToPoints(400), 24);
  EXPECT_EQ(pointsToTenths(12), 120);
  EXPECT_EQ(pointsToTenths(0), 60);
  EXPECT_EQ(fontLine(L"Arial", 120, true, true), L"Arial, 12pt/B/I");
  EXPECT_EQ(fontLine(L"ＭＳ ゴシック", 90, false, true), L"ＭＳ ゴシック, 9pt/I");
}

TEST(SkinRules, SkinFilesLoseNamesThatLeaveTheSkinFolder) {
  MemoryProfile skin;
  skin.setString(kColorsSection, L"Bord", L" 1 2 3 40");
  skin.setString(kColorsSection, L"Bord_pic", L"..\\..\\victim.txt");
  skin.setString(kColorsSection, L"Group_pic", L"画像.bmp");
  skin.setString(kColorsSection, L"Appl_pic", L"D:\\x.bmp");
  skin.setDword(kSettingsSection, L"EllipseWidth", 5000);
  Colors c = defaultColors();
  readSkinColors(skin, c);
  EXPECT_EQ(c.colors[kBord], (ColorValue{1, 2, 3, 40}));
  EXPECT_EQ(c.pictures[kBordPic], L"");
  EXPECT_EQ(c.pictures[kGroupPic], L"画像.bmp");
  EXPECT_EQ(c.pictures[kApplPic], L"");
  EXPECT_EQ(c.ellipseWidth, 1000);
}

}  // namespace
}  // namespace vorbin
