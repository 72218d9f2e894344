// The built installer as a user runs it: msiexec installs the five files into
// the user's programs folder with a Start-menu shortcut and without asking
// for administrator rights, the installed launcher starts, the start with
// Windows is there only when asked for, and uninstalling removes what was
// installed and keeps the user's settings. The portable zip runs where it was
// unpacked.
#include <gtest/gtest.h>
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

constexpr wchar_t kFiles[][16] = {L"vorbin2k.exe", L"Vorber2k.dll", L"VorbinBR.exe", L"Vorbr2ke.dll",
                                  L"Vorbr2kj.dll", L"tips-e.dat",   L"tips-j.dat"};
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A Unix path of the build as Wine sees it.
std::wstring winePath(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* c = unixPath; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

std::wstring knownFolder(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::wstring installFolder() { return knownFolder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Vorbin"; }
std::wstring shortcutPath() { return knownFolder(CSIDL_PROGRAMS) + L"\\Vorb in.lnk"; }
bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::wstring> runValue() {
  wchar_t value[MAX_PATH * 2] = L"";
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Vorbin", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(value);
}

// msiexec with the arguments, quietly; its exit code.
DWORD msiexec(const std::wstring& arguments) {
  e2e::Process process;
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  if (!process.start(std::wstring(system) + L"\\msiexec.exe", arguments + L" /qn")) return 0xFFFFFFFF;
  return process.wait(120000).value_or(0xFFFFFFFE);
}

std::wstring shortcutTarget(const std::wstring& link) {
  std::wstring target;
  CoInitialize(nullptr);
  IShellLinkW* shell = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&shell)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t path[MAX_PATH] = L"";
      if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
          SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0)))
        target = path;
      file->Release();
    }
    shell->Release();
  }
  CoUninitialize();
  return target;
}

std::wstring lower(std::wstring s) {
  for (wchar_t& c : s) c = towlower(c);
  return s;
}

// Starts the launcher at path and waits for its bar; closes it again.
void startsAndShowsItsBar(const std::wstring& program) {
  e2e::Process launcher;
  ASSERT_TRUE(launcher.start(program, L"/nologo"));
  HWND bar = e2e::waitForBar(launcher.pid());
  ASSERT_NE(bar, nullptr) << "no bar from " << std::string(program.begin(), program.end());
  for (int i = 0; i < 6 && driver::answerDialog(launcher.pid(), IDCANCEL, 2000); ++i) {
  }
  EXPECT_TRUE(e2e::waitUntil([&] { return driver::shown(bar); }, 5000));
  EXPECT_TRUE(e2e::closeAndWait(launcher, bar));
}

class Package : public testing::Test {
 protected:
  void SetUp() override {
    e2e::profile::clear();
    msi = winePath(VB_MSI_FILE);
    ASSERT_TRUE(exists(msi)) << "no installer built";
    msiexec(L"/x \"" + msi + L"\"");  // a previous run's leftovers
  }
  void TearDown() override { msiexec(L"/x \"" + msi + L"\""); }
  std::wstring msi;
};

TEST_F(Package, InstallsForTheUserAndUninstallsKeepingTheSettings) {
  // Per user, with no elevation: the summary's word count says so.
  MSIHANDLE summary = 0;
  ASSERT_EQ(MsiGetSummaryInformationW(0, msi.c_str(), 0, &summary), static_cast<UINT>(ERROR_SUCCESS));
  INT wordCount = 0;
  UINT type = 0;
  MsiSummaryInfoGetPropertyW(summary, 15 /* PIDSI_WORDCOUNT */, &type, &wordCount, nullptr, nullptr, nullptr);
  MsiCloseHandle(summary);
  EXPECT_TRUE(wordCount & 8) << "the installer asks for administrator rights";

  ASSERT_TRUE(e2e::profile::setString(L"Settings", L"PackageTestMark", L"kept"));
  ASSERT_EQ(msiexec(L"/i \"" + msi + L"\""), 0u);
  for (const wchar_t* file : kFiles)
    EXPECT_TRUE(exists(installFolder() + L"\\" + file)) << "missing " << std::string(file, file + wcslen(file));
  ASSERT_TRUE(exists(shortcutPath()));
  EXPECT_EQ(lower(shortcutTarget(shortcutPath())), lower(installFolder() + L"\\vorbin2k.exe"));
  EXPECT_FALSE(runValue().has_value()) << "starts with Windows without being asked";

  ASSERT_EQ(msiexec(L"/x \"" + msi + L"\""), 0u);
  for (const wchar_t* file : kFiles) EXPECT_FALSE(exists(installFolder() + L"\\" + file));
  EXPECT_FALSE(exists(installFolder())) << "the program folder stayed";
  EXPECT_FALSE(exists(shortcutPath()));
  EXPECT_EQ(e2e::profile::getString(L"Settings", L"PackageTestMark"), std::optional<std::wstring>(L"kept"))
      << "uninstalling touched the user's settings";
}

TEST_F(Package, StartsWithWindowsOnlyWhenAsked) {
  ASSERT_EQ(msiexec(L"/i \"" + msi + L"\" AUTOSTART=1"), 0u);
  const auto value = runValue();
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(lower(*value), lower(L"\"" + installFolder() + L"\\vorbin2k.exe\""));
  ASSERT_EQ(msiexec(L"/x \"" + msi + L"\""), 0u);
  EXPECT_FALSE(runValue().has_value()) << "the start with Windows outlived the uninstall";
}

// Last of the installer's cases: once the launcher has run, Wine's desktop
// process keeps the hook library mapped until the session ends, so an
// uninstall can leave that one file behind here.
TEST_F(Package, TheInstalledLauncherStartsFromItsFolder) {
  ASSERT_EQ(msiexec(L"/i \"" + msi + L"\""), 0u);
  startsAndShowsItsBar(installFolder() + L"\\vorbin2k.exe");
  ASSERT_EQ(msiexec(L"/x \"" + msi + L"\""), 0u);
  EXPECT_FALSE(exists(installFolder() + L"\\vorbin2k.exe"));
  EXPECT_FALSE(exists(shortcutPath()));
}

TEST(Portable, TheUnpackedZipRunsFromItsFolder) {
  e2e::profile::clear();
  const std::wstring folder = winePath(VB_PORTABLE_FOLDER);
  for (const wchar_t* file : kFiles) EXPECT_TRUE(exists(folder + L"\\" + file));
  EXPECT_TRUE(exists(folder + L"\\README.txt"));
  startsAndShowsItsBar(folder + L"\\vorbin2k.exe");
}

}  // namespace
