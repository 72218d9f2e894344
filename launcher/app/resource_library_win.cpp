// Loading the language library.
#include <windows.h>

#include <vector>

#include "framework/app.h"
#include "framework/trace.h"
#include "launcher/app/resource_library.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

namespace {

std::wstring programFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) {
      FW_TRACE_FAILURE("GetModuleFileNameW");
      return {};
    }
    if (n < path.size()) {
      std::wstring p(path.data(), n);
      size_t slash = p.find_last_of(L"\\/");
      return slash == std::wstring::npos ? std::wstring() : p.substr(0, slash + 1);
    }
    path.resize(path.size() * 2);
  }
}

std::wstring libraryPath(const std::wstring& folder, int language) {
  std::wstring path = folder;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path + (language == kLanguageJapanese ? kJapaneseLibrary : kEnglishLibrary);
}

HMODULE loadLibrary(const std::wstring& folder, int language) {
  HMODULE module = LoadLibraryExW(libraryPath(folder, language).c_str(), nullptr, 0);
  if (!module) FW_TRACE_FAILURE("LoadLibraryExW");
  return module;
}

// Whether the library file is there. One that is there but does not load is
// caught by the fallback of the choice, so loading it here would only cost
// a load and an unload at every start.
bool probe(const std::wstring& folder, int language) {
  const DWORD attributes = GetFileAttributesW(libraryPath(folder, language).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool loadResourceLibraryFrom(const std::wstring& folder, bool first, int& language, unsigned userLanguageId) {
  if (!first && resourceModule()) {
    if (auto* app = fw::CApplication::instance()) app->setResourceInstance(nullptr);
    FreeLibrary(static_cast<HMODULE>(resourceModule()));
    setResourceModule(nullptr);
  }
  unsigned available = (probe(folder, kLanguageJapanese) ? kJapaneseAvailable : 0) |
                       (probe(folder, kLanguageEnglish) ? kEnglishAvailable : 0);
  LibraryChoice choice = chooseResourceLibrary(language, userLanguageId, available);
  if (choice.language == 0) return false;
  HMODULE h = loadLibrary(folder, choice.language);
  int chosen = choice.language;
  if (!h && choice.fallback) {
    h = loadLibrary(folder, choice.fallback);
    chosen = choice.fallback;
  }
  if (!h) return false;
  setResourceModule(h);
  language = chosen;
  if (auto* app = fw::CApplication::instance()) app->setResourceInstance(h);
  return true;
}

bool loadResourceLibrary(bool first, int& language) {
  if (loadResourceLibraryFrom(programFolder(), first, language, GetUserDefaultLangID())) return true;
  showMessage(nullptr, kNoLibraryMessage, MB_OK | MB_ICONSTOP);
  return false;
}

}  // namespace vorbin
