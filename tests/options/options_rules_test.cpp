// The options sheet's control mappings, table by table.
#include "launcher/dialogs/options_rules.h"

#include <gtest/gtest.h>

#include "launcher/model/profile.h"
#include "launcher/model/settings.h"

namespace vorbin {
namespace {

TEST(OptionsRules, ActivationPlacesKeepOneChecked) {
  const ActivationChecks none{};
  const ActivationChecks kept{false, false, true, false, false};
  struct Row {
    int line;
    ActivationChecks checks;
    unsigned mask;
  } rows[] = {
      {__LINE__, {true, false, false, false, true}, 0x11},
      {__LINE__, {false, false, false, false, true}, 0x10},
      {__LINE__, {true, true, true, true, true}, 0x1F},
      {__LINE__, none, 0x04},  // all cleared: the kept one stays
  };
  for (const Row& r : rows) EXPECT_EQ(activationMask(r.checks, kept), r.mask) << "line " << r.line;
  EXPECT_EQ(activationMask(none, none), 1u) << "never an empty mask";

  EXPECT_EQ(activationChecks(0x05), (ActivationChecks{true, false, true, false, false}));
  // A profile with every place off ("NNNNN") shows all five rather than none.
  EXPECT_TRUE(anyChecked(activationChecks(0)));
  EXPECT_EQ(activationChecks(0x20), activationChecks(0x1F)) << "bits past the fifth are not places";
  for (unsigned mask = 1; mask < 32; ++mask) EXPECT_EQ(activationMask(activationChecks(mask), none), mask);
}

TEST(OptionsRules, MouseButtonsKeepTheLaunchersBits) {
  const MouseChoices c = mouseChoices(0x93);
  EXPECT_TRUE(c.rightPrimary);
  EXPECT_TRUE(c.secondary);
  EXPECT_TRUE(c.doubleClick);
  EXPECT_EQ(mouseButtonOf({}, 0x93), 0x10) << "bit 4 is the launcher's";
  EXPECT_EQ(mouseButtonOf({true, false, true}, 0x10), 0x91);
  EXPECT_EQ(mouseButtonOf({false, true, false}, 0), 0x02);
  for (int bits : {0, 0x01, 0x02, 0x80, 0x83, 0x93}) EXPECT_EQ(mouseButtonOf(mouseChoices(bits), bits), bits);
}

TEST(OptionsRules, SpinTextIsReadWithItsBounds) {
  struct Row {
    int line;
    const wchar_t* text;
    SpinBounds bounds;
    int expected;
  } rows[] = {
      {__LINE__, L"99", kCloseDelayBounds, 30},  // typed past the maximum
      {__LINE__, L"12", kCloseDelayBounds, 12},
      {__LINE__, L"-5", kCloseDelayBounds, 0},
      {__LINE__, L"-1", kIntervalAtSelBounds, -1},
      {__LINE__, L"-7", kIntervalAtSelBounds, -1},
      {__LINE__, L" 1,000 ", kScrollTimeBounds, 1000},
      {__LINE__, L"99999999999999999999", kScrollTimeBounds, 10000},
      {__LINE__, L"-99999999999999999999", kIntervalAtSelBounds, -1},
      {__LINE__, L"", kCloseDelayBounds, 7},  // no number: the previous value
      {__LINE__, L"-", kCloseDelayBounds, 7},
      {__LINE__, L"1x", kCloseDelayBounds, 7},
      {__LINE__, L"abc", kCloseDelayBounds, 7},
      {__LINE__, L"9", kScrollBtnSizeBounds, 8},
      {__LINE__, L"0", kScrollBtnSizeBounds, 1},
  };
  for (const Row& r : rows) EXPECT_EQ(readSpinText(r.text, r.bounds, 7), r.expected) << "line " << r.line;
}

// The page's bounds are the settings table's: a value past them is written clamped to the same edge.
TEST(OptionsRules, SpinBoundsAreTheStoredBounds) {
  struct Row {
    const wchar_t* name;
    int Settings::*field;
    SpinBounds bounds;
  } rows[] = {
      {L"CloseDelayTime", &Settings::closeDelayTime, kCloseDelayBounds},
      {L"IntervalAtSel", &Settings::intervalAtSel, kIntervalAtSelBounds},
      {L"IntervalAtScroll", &Settings::intervalAtScroll, kIntervalAtScrollBounds},
      {L"ScrollTime", &Settings::scrollTime, kScrollTimeBounds},
      {L"ScrollBtnSize", &Settings::scrollBtnSize, kScrollBtnSizeBounds},
  };
  for (const Row& r : rows) {
    for (int past : {r.bounds.max + 1, r.bounds.min - 1}) {
      Settings s;
      s.*(r.field) = past;
      MemoryProfile profile;
      saveOptions(profile, s);
      EXPECT_EQ(profile.getInt(kSettingsSection, r.name, 12345),
                past > r.bounds.max ? r.bounds.max : r.bounds.min)
          << r.name;
    }
  }
}

TEST(OptionsRules, FontSizeClampsBeforeItSelects) {
  struct Row {
    int fontSize, entry;
  } rows[] = {{2, 0}, {1, 1}, {0, 2}, {-1, 3}, {-2, 4}, {7, 0}, {-9, 4}, {INT32_MIN, 4}, {INT32_MAX, 0}};
  for (const Row& r : rows) EXPECT_EQ(fontSizeEntry(r.fontSize), r.entry) << r.fontSize;
  for (int entry = 0; entry < 5; ++entry) EXPECT_EQ(fontSizeEntry(fontSizeOfEntry(entry)), entry);
  EXPECT_EQ(fontSizeOfEntry(-1), 2);
  EXPECT_EQ(fontSizeOfEntry(9), -2);
}

TEST(OptionsRules, AppearPosSplitsIntoTwoPercentages) {
  const AppearPosition fallback = appearPosition(655410);
  EXPECT_EQ(fallback.horizontal, 50);
  EXPECT_EQ(fallback.vertical, 10);
  EXPECT_EQ(appearPosValue(fallback), 655410);
  const AppearPosition crafted = appearPosition(static_cast<int>(0xFFFF0FFFu));
  EXPECT_EQ(crafted.horizontal, 100);
  EXPECT_EQ(crafted.vertical, 100);
  EXPECT_EQ(appearPosValue({-3, 250}), 100 << 16);
  EXPECT_EQ(appearPosValue({30, 70}), (70 << 16) | 30);
}

TEST(OptionsRules, WildCardSplitsIntoFivePairs) {
  PatternPairs p = splitWildCard(L"Text|*.txt|Pictures|*.bmp;*.jpg||");
  EXPECT_EQ(p[0].description, L"Text");
  EXPECT_EQ(p[0].pattern, L"*.txt");
  EXPECT_EQ(p[1].pattern, L"*.bmp;*.jpg");
  EXPECT_TRUE(p[2].description.empty() && p[2].pattern.empty());
  p = splitWildCard(L"a|1|b|2|c|3|d|4|e|5|f|6|");
  EXPECT_EQ(p[4].pattern, L"5") << "a sixth pair is not shown";
  p = splitWildCard(L"only");
  EXPECT_EQ(p[0].description, L"only");
  EXPECT_TRUE(p[0].pattern.empty());
  p = splitWildCard(L"");
  for (const PatternPair& pair : p) EXPECT_TRUE(pair.description.empty() && pair.pattern.empty());
}

TEST(OptionsRules, WildCardJoinDropsHalfPairsAndBars) {
  PatternPairs p;
  EXPECT_EQ(joinWildCard(p), L"") << "five empty pairs";
  p[0] = {L"Text", L"*.txt"};
  p[1] = {L"No pattern", L""};
  p[2] = {L"", L"*.orphan"};
  p[3] = {L"Pa|sted", L"*.b|mp"};
  p[4] = {L"|", L"*.x"};  // nothing left of the description once the bar goes
  EXPECT_EQ(joinWildCard(p), L"Text|*.txt|Pasted|*.bmp||");
  EXPECT_EQ(joinWildCard(splitWildCard(L"Text|*.txt|Pasted|*.bmp||")), L"Text|*.txt|Pasted|*.bmp||");
  EXPECT_EQ(withoutBars(L"||a|b||"), L"ab");
}

TEST(OptionsRules, LanguageEntriesKeepTheirLanguage) {
  const auto both = languageEntries(true, true);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(languageOfEntry(both, languageEntryIndex(both, 2), 0), 2);
  EXPECT_EQ(languageOfEntry(both, languageEntryIndex(both, 1), 0), 1);
  // Only the English library: its entry is the first, and still means English.
  const auto english = languageEntries(false, true);
  ASSERT_EQ(english.size(), 1u);
  EXPECT_EQ(english[0].textId, 917u);
  EXPECT_EQ(languageEntryIndex(english, 2), 0);
  EXPECT_EQ(languageOfEntry(english, 0, 1), 2);
  EXPECT_EQ(languageEntryIndex(english, 1), 0) << "a missing language shows the first entry";
  EXPECT_EQ(languageOfEntry(english, 1, 9), 9) << "past the list: unchanged";
  EXPECT_EQ(languageOfEntry(english, -1, 9), 9);
  EXPECT_EQ(languageEntryIndex({}, 1), -1);
}

TEST(OptionsRules, HotKeyWithoutModifierGetsControlAlt) {
  EXPECT_EQ(hotKeyWithModifier(0x004B), 0x064B);
  EXPECT_EQ(hotKeyWithModifier(0x084B), 0x0E4B) << "the extended flag is no modifier";
  EXPECT_EQ(hotKeyWithModifier(0x014B), 0x014B);
  EXPECT_EQ(hotKeyWithModifier(0x0700), 0) << "no key, no hot key";
}

}  // namespace
}  // namespace vorbin
