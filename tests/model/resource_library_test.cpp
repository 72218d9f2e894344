// The language libraries under Wine: which DLL is loaded for each setting and
// set of files, and where strings are cut for each buffer size.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "launcher/app/resource_library.h"
#include "launcher/resources/resource_ids.h"

namespace vorbin {
namespace {

constexpr unsigned kUs = 1033;

std::wstring binDir() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

// A folder holding only the named libraries, copied from the build.
class LibraryFolder {
 public:
  explicit LibraryFolder(std::initializer_list<const wchar_t*> files) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"vb_model_libs_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(s_count++) + L"\\";
    CreateDirectoryW(m_path.c_str(), nullptr);
    for (const wchar_t* f : files) CopyFileW((binDir() + f).c_str(), (m_path + f).c_str(), FALSE);
  }
  ~LibraryFolder() {
    for (const wchar_t* f : {kEnglishLibrary, kJapaneseLibrary}) DeleteFileW((m_path + f).c_str());
    RemoveDirectoryW(m_path.c_str());
  }
  const std::wstring& path() const { return m_path; }

 private:
  std::wstring m_path;
  static inline int s_count = 0;
};

bool loaded(const wchar_t* library) { return GetModuleHandleW(library) != nullptr; }

TEST(ResourceLibrary, LoadsTheLibraryOfTheLanguageAndSwitches) {
  int language = kLanguageEnglish;
  ASSERT_TRUE(loadResourceLibraryFrom(binDir(), true, language, kJapaneseLangId));
  EXPECT_EQ(language, kLanguageEnglish);
  EXPECT_EQ(resourceString(IDS_NEW_GROUP_TITLE), L"Group ");
  EXPECT_EQ(resourceString(IDS_DEFAULT_WILDCARD), L"*.*");
  EXPECT_TRUE(loaded(kEnglishLibrary));

  language = kLanguageJapanese;
  ASSERT_TRUE(loadResourceLibraryFrom(binDir(), false, language, kUs));
  EXPECT_EQ(language, kLanguageJapanese);
  EXPECT_EQ(resourceString(IDS_NEW_GROUP_TITLE), L"グループ ");
  // The library loaded before was freed: only one is loaded at a time.
  EXPECT_FALSE(loaded(kEnglishLibrary));
  EXPECT_TRUE(loaded(kJapaneseLibrary));

  language = kLanguageByUser;
  ASSERT_TRUE(loadResourceLibraryFrom(binDir(), false, language, kUs));
  EXPECT_EQ(language, kLanguageEnglish);
  EXPECT_FALSE(loaded(kJapaneseLibrary));

  language = kLanguageByUser;
  ASSERT_TRUE(loadResourceLibraryFrom(binDir(), false, language, kJapaneseLangId));
  EXPECT_EQ(language, kLanguageJapanese);
  EXPECT_FALSE(resourceString(IDS_IMPORT_CAPTION).empty());
}

TEST(ResourceLibrary, FallsBackToTheLibraryThatIsThere) {
  {
    LibraryFolder only({kEnglishLibrary});
    int language = kLanguageByUser;
    ASSERT_TRUE(loadResourceLibraryFrom(only.path(), false, language, kJapaneseLangId));
    EXPECT_EQ(language, kLanguageEnglish);
    EXPECT_EQ(resourceString(IDS_NEW_GROUP_TITLE), L"Group ");
    language = kLanguageJapanese;
    ASSERT_TRUE(loadResourceLibraryFrom(only.path(), false, language, kJapaneseLangId));
    EXPECT_EQ(language, kLanguageEnglish);
    // Let the folder go: free the copy before deleting it.
    language = kLanguageEnglish;
    ASSERT_TRUE(loadResourceLibraryFrom(binDir(), false, language, kUs));
  }
  {
    LibraryFolder only({kJapaneseLibrary});
    int language = kLanguageEnglish;
    ASSERT_TRUE(loadResourceLibraryFrom(only.path(), false, language, kUs));
    EXPECT_EQ(language, kLanguageJapanese);
    language = kLanguageEnglish;
    ASSERT_TRUE(loadResourceLibraryFrom(binDir(), false, language, kUs));
  }
  {
    // A file that is there but is no library counts for nothing: the other
    // language is taken, whichever was asked for.
    for (int asked : {kLanguageJapanese, kLanguageByUser}) {
      LibraryFolder broken({kEnglishLibrary});
      HANDLE f = CreateFileW((broken.path() + kJapaneseLibrary).c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(f, INVALID_HANDLE_VALUE);
      DWORD written = 0;
      WriteFile(f, "not a library", 13, &written, nullptr);
      CloseHandle(f);
      int language = asked;
      ASSERT_TRUE(loadResourceLibraryFrom(broken.path(), false, language, kJapaneseLangId));
      EXPECT_EQ(language, kLanguageEnglish);
      EXPECT_EQ(resourceString(IDS_NEW_GROUP_TITLE), L"Group ");
      language = kLanguageEnglish;
      ASSERT_TRUE(loadResourceLibraryFrom(binDir(), false, language, kUs));
    }
  }
  LibraryFolder none({});
  int language = kLanguageEnglish;
  EXPECT_FALSE(loadResourceLibraryFrom(none.path(), false, language, kUs));
  EXPECT_EQ(language, kLanguageEnglish);
  EXPECT_EQ(resourceModule(), nullptr);
  EXPECT_TRUE(resourceString(IDS_NEW_GROUP_TITLE).empty());
}

TEST(ResourceLibrary, StringsAreCutToTheCallersBuffer) {
  HMODULE strings = LoadLibraryW((binDir() + L"model_test_strings.dll").c_str());
  ASSERT_NE(strings, nullptr);
  std::wstring digits;
  for (int i = 0; i < 600; ++i) digits += static_cast<wchar_t>(L'0' + i % 10);
  EXPECT_EQ(resourceStringFrom(strings, 100, kShortString), digits.substr(0, 63));
  EXPECT_EQ(resourceStringFrom(strings, 100, kMediumString), digits.substr(0, 255));
  EXPECT_EQ(resourceStringFrom(strings, 100, kLongString), digits.substr(0, 511));
  EXPECT_EQ(resourceStringFrom(strings, 102, kMediumString), std::wstring(255, L'あ'));
  EXPECT_EQ(resourceStringFrom(strings, 101, kShortString), L"short");
  EXPECT_EQ(resourceStringFrom(strings, 999, kLongString), L"");
  EXPECT_EQ(resourceStringFrom(nullptr, 101, kLongString), L"");
  FreeLibrary(strings);
}

}  // namespace
}  // namespace vorbin
