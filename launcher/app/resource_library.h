// The language library (Vorbr2kj.dll Japanese, Vorbr2ke.dll English): which
// one to load, and loading it. Its strings are read through language_strings.h.
#pragma once

#include <string>

#include "launcher/services/language_strings.h"

namespace vorbin {

inline constexpr wchar_t kJapaneseLibrary[] = L"Vorbr2kj.dll";
inline constexpr wchar_t kEnglishLibrary[] = L"Vorbr2ke.dll";
inline constexpr wchar_t kNoLibraryMessage[] =
    L"Cannot find the resource file. Make sure the VorbrXXX.DLL files are available";

// Availability bits of the probe.
inline constexpr unsigned kJapaneseAvailable = 1;
inline constexpr unsigned kEnglishAvailable = 2;
// Values of the Language setting.
inline constexpr int kLanguageByUser = 0;
inline constexpr int kLanguageJapanese = 1;
inline constexpr int kLanguageEnglish = 2;
inline constexpr unsigned kJapaneseLangId = 1041;

struct LibraryChoice {
  int language = 0;  // 0: no library available; else the library to load and the new Language
  int fallback = 0;  // the other library's language when the first fails to load, else 0
};
// The choice for the Language setting, the user's language id and the availability bits.
LibraryChoice chooseResourceLibrary(int language, unsigned userLanguageId, unsigned available);

// Loads the library by the Language setting from the program's folder; with
// first = false the library loaded before is freed first. Shows the message
// above and fails when neither library is there. language is updated.
bool loadResourceLibrary(bool first, int& language);
// The same from a given folder and for a given user language, without any message.
bool loadResourceLibraryFrom(const std::wstring& folder, bool first, int& language, unsigned userLanguageId);

}  // namespace vorbin
