// Which language library to load: the decision alone, free of the system.
#include "launcher/app/resource_library.h"

namespace vorbin {

LibraryChoice chooseResourceLibrary(int language, unsigned userLanguageId, unsigned available) {
  const bool japanese = (available & kJapaneseAvailable) != 0;
  const bool english = (available & kEnglishAvailable) != 0;
  if (!japanese && !english) return {};
  auto pick = [&](int wanted) {
    bool have = wanted == kLanguageJapanese ? japanese : english;
    int other = wanted == kLanguageJapanese ? kLanguageEnglish : kLanguageJapanese;
    bool haveOther = other == kLanguageJapanese ? japanese : english;
    return have ? LibraryChoice{wanted, haveOther ? other : 0} : LibraryChoice{other, 0};
  };
  if (language == kLanguageJapanese) return pick(kLanguageJapanese);
  if (language == kLanguageEnglish) return pick(kLanguageEnglish);
  if (userLanguageId != kJapaneseLangId && english) return pick(kLanguageEnglish);
  return pick(kLanguageJapanese);
}

}  // namespace vorbin
