// Thumbnail rules without a window: the size a ratio gives, area averaging,
// the address comparison, the pane choice and the settings dialog's arithmetic.
#include <gtest/gtest.h>

#include "launcher/dialogs/thumb_dialog_rules.h"
#include "launcher/render/thumb_scale.h"
#include "launcher/services/page_window_rules.h"

namespace vorbin {
namespace {

TEST(ThumbSize, RatioOfEachSideAtLeastOnePixel) {
  struct Row {
    int line, w, h, ratio;
    ThumbSize want;
  } rows[] = {
      {__LINE__, 800, 600, 50, {400, 300}},
      {__LINE__, 800, 600, 30, {240, 180}},
      {__LINE__, 801, 601, 50, {400, 300}},  // integer division
      {__LINE__, 800, 600, 100, {800, 600}},
      {__LINE__, 800, 600, 150, {800, 600}},  // never larger than the page
      {__LINE__, 1, 1, 50, {1, 1}},           // a side of 0 would make no picture
      {__LINE__, 3, 500, 10, {1, 50}},
      {__LINE__, 800, 600, 0, {0, 0}},  // ratio 0: no thumbnail
      {__LINE__, 800, 600, -5, {0, 0}},
      {__LINE__, 0, 600, 50, {0, 0}},
      {__LINE__, 800, -1, 50, {0, 0}},
      {__LINE__, 2000000000, 2000000000, 100, {2000000000, 2000000000}},  // no overflow
  };
  for (const Row& r : rows) EXPECT_EQ(thumbSize(r.w, r.h, r.ratio), r.want) << "line " << r.line;
}

TEST(ScaleByArea, AveragesTheCoveredArea) {
  // 2x2 blocks of distinct colours halve to their exact means.
  const std::vector<Pixel> source = {
      0x000000, 0x0000FF, 0xFF0000, 0xFF0000,  //
      0xFFFFFF, 0x000004, 0xFF0000, 0xFF0000,  //
      0x102030, 0x102030, 0x00FF00, 0x000000,  //
      0x102030, 0x102030, 0x000000, 0x000000,
  };
  const std::vector<Pixel> half = scaleByArea(source, 4, 4, {2, 2});
  ASSERT_EQ(half.size(), 4u);
  // Red and green (0+0+255+0)/4 = 63.75, blue (0+255+255+4)/4 = 128.5, rounded.
  EXPECT_EQ(half[0], 0x404081u);
  EXPECT_EQ(half[1], 0xFF0000u);
  EXPECT_EQ(half[2], 0x102030u);
  EXPECT_EQ(half[3], 0x004000u);
}

TEST(ScaleByArea, FractionalCoverageWeighsByOverlap) {
  // Three pixels to two: the middle one is split half to each side.
  const std::vector<Pixel> source = {0x000000, 0x0000FF, 0x0000C0};
  const std::vector<Pixel> out = scaleByArea(source, 3, 1, {2, 1});
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], static_cast<Pixel>((0 * 2 + 255 * 1 + 1) / 3));  // 85
  EXPECT_EQ(out[1], static_cast<Pixel>((255 * 1 + 192 * 2 + 1) / 3));  // 213
}

TEST(ScaleByArea, UniformStaysUniformAndAlphaIsDropped) {
  std::vector<Pixel> source(37 * 23, 0xFF345678);
  const std::vector<Pixel> out = scaleByArea(source, 37, 23, thumbSize(37, 23, 30));
  ASSERT_EQ(out.size(), 11u * 6u);
  for (Pixel p : out) ASSERT_EQ(p, 0x345678u);
  // Same size keeps every pixel.
  std::vector<Pixel> pattern(5 * 3);
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<Pixel>(i * 0x010203);
  EXPECT_EQ(scaleByArea(pattern, 5, 3, {5, 3}), pattern);
}

TEST(ScaleByArea, RefusesBadInput) {
  std::vector<Pixel> source(6, 0);
  EXPECT_TRUE(scaleByArea(source, 3, 3, {1, 1}).empty());  // too few pixels
  EXPECT_TRUE(scaleByArea(source, 0, 3, {1, 1}).empty());
  EXPECT_TRUE(scaleByArea(source, 3, 2, {0, 1}).empty());
  EXPECT_EQ(scaleByArea(source, 3, 2, {1, 1}).size(), 1u);
}

TEST(AddressMatch, CaseTrailingSlashesAndBlanks) {
  struct Row {
    int line;
    const wchar_t* field;
    const wchar_t* url;
    bool want;
  } rows[] = {
      {__LINE__, L"http://x.test/a/", L"HTTP://x.test/a", true},
      {__LINE__, L"http://x.test/a", L"http://x.test/a/", true},
      {__LINE__, L"  http://X.TEST/a//  ", L"http://x.test/a", true},
      {__LINE__, L"http://x.test/a \t/ ", L"http://x.test/a", true},
      {__LINE__, L"http://x.test/ab", L"http://x.test/a", false},
      {__LINE__, L"http://x.test/a", L"http://x.test/ab", false},
      {__LINE__, L"http://x.test/a/b", L"http://x.test/a", false},
      {__LINE__, L"http://x.test/a?q=A", L"http://x.test/a?q=a", true},  // case of every Latin letter
      {__LINE__, L"http://x.test/\u00c4", L"http://x.test/\u00e4", false},  // only Latin letters fold
      {__LINE__, L"", L"", false},  // an empty address matches nothing
      {__LINE__, L"///", L"/", false},
      {__LINE__, L"", L"http://x.test", false},
  };
  for (const Row& r : rows) EXPECT_EQ(addressMatches(r.field, r.url), r.want) << "line " << r.line;
  EXPECT_EQ(trimAddress(L" a/b/ / "), L"a/b");
}

TEST(PageWindowRules, SearchedWindowsAndClasses) {
  EXPECT_TRUE(searchedTopLevel(0x10000000 | 0x00C00000));   // visible with a caption
  EXPECT_TRUE(searchedTopLevel(0x10000000 | 0x00020000));   // visible with a minimize box
  EXPECT_TRUE(searchedTopLevel(0x10000000 | 0x00800000));   // a thin border counts as a frame
  EXPECT_FALSE(searchedTopLevel(0x10000000 | 0x00300000));  // scroll bars alone are no frame
  EXPECT_FALSE(searchedTopLevel(0x00CF0000));               // hidden
  // The class name is 20 characters: a 20-character buffer would have cut it.
  EXPECT_TRUE(isPagePaneClass(L"Shell DocObject View"));
  EXPECT_TRUE(isPagePaneClass(L"Afx:400000:3028"));
  EXPECT_FALSE(isPagePaneClass(L"Shell DocObject Vie"));
  EXPECT_FALSE(isPagePaneClass(L"shell docobject view"));
  EXPECT_TRUE(isAddressFieldClass(L"Edit"));
  EXPECT_TRUE(isAddressFieldClass(L"EDIT"));
  EXPECT_FALSE(isAddressFieldClass(L"RichEdit20W"));
}

TEST(PageWindowRules, PaneChoice) {
  PaneChoice none;
  EXPECT_FALSE(none.found());

  PaneChoice largest;  // no page class: the largest client area, first of equals
  largest.consider(1, L"Edit", 300, 20);
  largest.consider(2, L"Static", 100, 100);
  largest.consider(3, L"Static", 100, 100);
  largest.consider(4, L"Button", -5, 9000);
  EXPECT_EQ(largest.pane(), 2u);

  PaneChoice page;  // a page pane wins over a larger child; the larger of two panes
  page.consider(1, L"Static", 800, 600);
  page.consider(2, L"Shell DocObject View", 10, 10);
  page.consider(3, L"Afx:400000:3028", 20, 10);
  page.consider(4, L"Shell DocObject View", 20, 10);
  EXPECT_TRUE(page.found());
  EXPECT_EQ(page.pane(), 3u);

  PaneChoice zero;  // a child with no area still counts
  zero.consider(7, L"Edit", 0, 0);
  EXPECT_TRUE(zero.found());
  EXPECT_EQ(zero.pane(), 7u);
}

TEST(ThumbDialogRules, SlidersAndField) {
  EXPECT_EQ(ratioSliderPosition(30), 3);
  EXPECT_EQ(ratioSliderPosition(34), 3);
  EXPECT_EQ(ratioSliderPosition(35), 4);
  EXPECT_EQ(ratioSliderPosition(0), 0);
  EXPECT_EQ(ratioSliderPosition(100), 10);
  EXPECT_EQ(ratioSliderPosition(250), 10);
  EXPECT_EQ(qualityStep(50), 2);
  EXPECT_EQ(qualityStep(25), 1);
  EXPECT_EQ(qualityStep(10), 1);  // at least one step
  EXPECT_EQ(qualityStep(99), 3);
  EXPECT_EQ(qualityStep(100), 4);
  EXPECT_EQ(qualityOfStep(3), 75);
  EXPECT_EQ(qualityOfStep(9), 100);

  struct Row {
    int line;
    const wchar_t* text;
    int value;
    bool rewrite;
  } rows[] = {
      {__LINE__, L"50", 50, false}, {__LINE__, L" 7 ", 7, false},   {__LINE__, L"100", 100, false},
      {__LINE__, L"101", 100, true}, {__LINE__, L"99999999999", 100, true}, {__LINE__, L"-3", 0, true},
      {__LINE__, L"", 0, false},     {__LINE__, L"4x", 0, true},     {__LINE__, L"0", 0, false},
  };
  for (const Row& r : rows) {
    const RatioField f = readRatioField(r.text);
    EXPECT_EQ(f.value, r.value) << "line " << r.line;
    EXPECT_EQ(f.rewrite, r.rewrite) << "line " << r.line;
  }
}

}  // namespace
}  // namespace vorbin
