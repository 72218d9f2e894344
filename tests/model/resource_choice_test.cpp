// Which language library is chosen for each setting, user language and set of libraries.
#include "launcher/app/resource_library.h"

#include <gtest/gtest.h>

namespace vorbin {
namespace {

constexpr unsigned kBoth = kJapaneseAvailable | kEnglishAvailable;
constexpr unsigned kUs = 1033;

TEST(ResourceChoice, FollowsSettingThenUserLanguageThenWhatIsThere) {
  struct Case {
    int line, language;
    unsigned user, available;
    int chosen, fallback;
  } cases[] = {
      {__LINE__, kLanguageJapanese, kUs, kBoth, kLanguageJapanese, kLanguageEnglish},
      {__LINE__, kLanguageJapanese, kUs, kEnglishAvailable, kLanguageEnglish, 0},
      {__LINE__, kLanguageEnglish, kJapaneseLangId, kBoth, kLanguageEnglish, kLanguageJapanese},
      {__LINE__, kLanguageEnglish, kUs, kJapaneseAvailable, kLanguageJapanese, 0},
      {__LINE__, kLanguageByUser, kUs, kBoth, kLanguageEnglish, kLanguageJapanese},
      {__LINE__, kLanguageByUser, kJapaneseLangId, kBoth, kLanguageJapanese, kLanguageEnglish},
      // Only the English library on a Japanese system: English, and Language becomes 2.
      {__LINE__, kLanguageByUser, kJapaneseLangId, kEnglishAvailable, kLanguageEnglish, 0},
      {__LINE__, kLanguageByUser, kUs, kJapaneseAvailable, kLanguageJapanese, 0},
      {__LINE__, 7, kUs, kBoth, kLanguageEnglish, kLanguageJapanese},
      {__LINE__, -1, kJapaneseLangId, kJapaneseAvailable, kLanguageJapanese, 0},
      {__LINE__, kLanguageEnglish, kUs, 0, 0, 0},
  };
  for (const Case& c : cases) {
    LibraryChoice got = chooseResourceLibrary(c.language, c.user, c.available);
    EXPECT_EQ(got.language, c.chosen) << "line " << c.line;
    EXPECT_EQ(got.fallback, c.fallback) << "line " << c.line;
  }
}

}  // namespace
}  // namespace vorbin
