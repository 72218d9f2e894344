// The backup tool's Win32 pieces on the real registry and file system: whole
// key trees through hive files, damaged hives, folder copies, and finding a
// running launcher's program file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backup/file_ops.h"
#include "backup/hive.h"
#include "backup/launcher_control.h"
#include "backup/privilege.h"
#include "backup/registry_tree.h"
#include "framework/handle.h"

namespace backup {
namespace {

const wchar_t kScratch[] = L"Software\\VorbinBRTest";

fw::RegKey createKey(const std::wstring& path) {
  fw::RegKey key;
  RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                  nullptr);
  return key;
}

void setValue(HKEY key, const wchar_t* name, DWORD type, const std::vector<uint8_t>& data) {
  ASSERT_EQ(RegSetValueExW(key, name, 0, type, data.empty() ? nullptr : data.data(),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
}

std::vector<uint8_t> bytesOf(const std::wstring& text, bool withTerminator = true) {
  const auto* p = reinterpret_cast<const uint8_t*>(text.c_str());
  return std::vector<uint8_t>(p, p + (text.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
}

bool sameTree(const RegistryTree& a, const RegistryTree& b, std::string& why, const std::string& path = "") {
  if (a.values.size() != b.values.size()) {
    why =
        path + ": value count " + std::to_string(a.values.size()) + " vs " + std::to_string(b.values.size());
    return false;
  }
  for (const RegistryValue& va : a.values) {
    bool found = false;
    for (const RegistryValue& vb : b.values) {
      if (_wcsicmp(va.name.c_str(), vb.name.c_str()) != 0) continue;
      found = true;
      if (va.type != vb.type || va.data != vb.data) {
        why = path + ": value differs (type " + std::to_string(va.type) + " vs " + std::to_string(vb.type) +
              ", size " + std::to_string(va.data.size()) + " vs " + std::to_string(vb.data.size()) + ")";
        return false;
      }
    }
    if (!found) {
      why = path + ": a value is missing";
      return false;
    }
  }
  if (a.subkeys.size() != b.subkeys.size()) {
    why = path + ": subkey count differs";
    return false;
  }
  for (const auto& [name, child] : a.subkeys) {
    bool found = false;
    for (const auto& [otherName, otherChild] : b.subkeys) {
      if (_wcsicmp(name.c_str(), otherName.c_str()) != 0) continue;
      found = true;
      if (!sameTree(child, otherChild, why, path + "\\sub")) return false;
    }
    if (!found) {
      why = path + ": a subkey is missing";
      return false;
    }
  }
  return true;
}

RegistryTree treeOf(const std::wstring& path) {
  RegistryTree tree;
  fw::RegKey key = createKey(path);
  EXPECT_EQ(readRegistryTree(key.get(), tree), ERROR_SUCCESS);
  return tree;
}

std::wstring tempFolder() {
  wchar_t path[MAX_PATH];
  GetTempPathW(MAX_PATH, path);
  std::wstring folder = std::wstring(path) + L"vbr-glue-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\";
}

void writeFile(const std::wstring& path, const std::string& content) {
  fw::FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  DWORD written = 0;
  WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

std::string readFile(const std::wstring& path) {
  fw::FileHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return "<missing>";
  std::string content(1 << 16, '\0');
  DWORD got = 0;
  ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
  content.resize(got);
  return content;
}

class HiveRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    folder = tempFolder();
    ASSERT_TRUE(enablePrivilege(SE_BACKUP_NAME));
    ASSERT_TRUE(enablePrivilege(SE_RESTORE_NAME));
    // Every kind of value the launcher's profile can hold, and a few more.
    fw::RegKey source = createKey(std::wstring(kScratch) + L"\\source");
    std::vector<uint8_t> big(70000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    setValue(source.get(), L"Text", REG_SZ, bytesOf(L"Yes"));
    setValue(source.get(), L"", REG_SZ, bytesOf(L"default value"));
    setValue(source.get(), L"Number", REG_DWORD, {0x78, 0x56, 0x34, 0x12});
    setValue(source.get(), L"Wide", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    setValue(source.get(), L"Big", REG_BINARY, big);
    setValue(source.get(), L"EmptyBinary", REG_BINARY, {});
    setValue(source.get(), L"Expand", REG_EXPAND_SZ, bytesOf(L"%APPDATA%\\x"));
    setValue(source.get(), L"Multi", REG_MULTI_SZ, bytesOf(std::wstring(L"one\0two\0", 8)));
    setValue(source.get(), L"NoType", REG_NONE, {9, 8, 7});
    setValue(source.get(), L"\x30B0\x30EB\x30FC\x30D7 1", REG_BINARY, {0, 0, 0xFF});
    fw::RegKey group = createKey(std::wstring(kScratch) + L"\\source\\Group \x30A2");
    setValue(group.get(), L"1", REG_BINARY, {1, 2, 3, 4, 5});
    fw::RegKey deep = createKey(std::wstring(kScratch) + L"\\source\\Group \x30A2\\Deeper\\Deepest");
    setValue(deep.get(), L"Leaf", REG_DWORD, {1, 0, 0, 0});
    createKey(std::wstring(kScratch) + L"\\source\\EmptyKey");

    // The target holds things that must go.
    fw::RegKey target = createKey(std::wstring(kScratch) + L"\\target");
    setValue(target.get(), L"Stale", REG_SZ, bytesOf(L"old"));
    setValue(target.get(), L"Number", REG_SZ, bytesOf(L"wrong type"));
    fw::RegKey staleKey = createKey(std::wstring(kScratch) + L"\\target\\StaleGroup\\Inner");
    setValue(staleKey.get(), L"x", REG_DWORD, {1, 0, 0, 0});
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    deleteFolderTree(folder);
  }
  std::wstring folder;
};

TEST_F(HiveRoundTrip, LoadAndCopyReplacesTheKeyByTheSavedOne) {
  std::wstring file = folder + L"vorbinbr.dat";
  {
    fw::RegKey source = createKey(std::wstring(kScratch) + L"\\source");
    ASSERT_EQ(saveKeyToHive(source.get(), file), ERROR_SUCCESS);
  }
  ASSERT_TRUE(fileExists(file));
  // Both ways of loading: Wine's checked text, and the plain one of systems
  // outside the NT family (the same load under Wine).
  for (RestoreMethod method : {RestoreMethod::kWineLoadAndCopy, RestoreMethod::kLoadAndCopy}) {
    SCOPED_TRACE(static_cast<int>(method));
    {
      fw::RegKey target = createKey(std::wstring(kScratch) + L"\\target");
      setValue(target.get(), L"Stale again", REG_DWORD, {1, 0, 0, 0});
      ASSERT_EQ(restoreKeyFromHive(target.get(), file, method), ERROR_SUCCESS);
    }
    std::string why;
    EXPECT_TRUE(sameTree(treeOf(std::wstring(kScratch) + L"\\source"),
                         treeOf(std::wstring(kScratch) + L"\\target"), why))
        << why;
    // The temporary hive is gone again.
    fw::RegKey temporary;
    EXPECT_NE(RegOpenKeyExW(HKEY_USERS, L"TEMP_HIVE", 0, KEY_READ, temporary.put()), ERROR_SUCCESS);
  }
}

TEST_F(HiveRoundTrip, DamagedHiveLeavesTheKeyAsItWas) {
  std::string saved;
  {
    fw::RegKey source = createKey(std::wstring(kScratch) + L"\\source");
    ASSERT_EQ(saveKeyToHive(source.get(), folder + L"whole.dat"), ERROR_SUCCESS);
    saved = readFile(folder + L"whole.dat");
  }
  const std::string contents[] = {
      saved.substr(0, saved.size() / 2),  // cut short
      std::string(),
      std::string("this is not a registry hive\r\n"),
      std::string("regf") + std::string(60, '\x01'),
      std::string("WINE REGISTRY Version 2\n[broken\n\"x\"=dword:zz\n") + std::string(3000, '\xFF'),
  };
  RegistryTree before = treeOf(std::wstring(kScratch) + L"\\target");
  int index = 0;
  for (const std::string& content : contents) {
    SCOPED_TRACE(index++);
    std::wstring file = folder + L"damaged.dat";
    writeFile(file, content);
    fw::RegKey target = createKey(std::wstring(kScratch) + L"\\target");
    LONG rc = restoreKeyFromHive(target.get(), file, RestoreMethod::kWineLoadAndCopy);
    EXPECT_TRUE(rc == ERROR_BADDB || rc == ERROR_NOT_REGISTRY_FILE) << "result " << rc;
    target.reset();
    std::string why;
    EXPECT_TRUE(sameTree(before, treeOf(std::wstring(kScratch) + L"\\target"), why)) << why;
  }
}

TEST_F(HiveRoundTrip, MissingHiveFileIsAnErrorAndChangesNothing) {
  RegistryTree before = treeOf(std::wstring(kScratch) + L"\\target");
  fw::RegKey target = createKey(std::wstring(kScratch) + L"\\target");
  EXPECT_NE(restoreKeyFromHive(target.get(), folder + L"none.dat", RestoreMethod::kWineLoadAndCopy),
            ERROR_SUCCESS);
  target.reset();
  std::string why;
  EXPECT_TRUE(sameTree(before, treeOf(std::wstring(kScratch) + L"\\target"), why)) << why;
}

// A stand-in bar in this process: the launcher is found by its mutex and its
// owned bar window, and its program file is read from the loader data.
TEST(RunningLauncher, FoundByMutexAndBarWithItsProgramFile) {
  EXPECT_FALSE(findRunningLauncher(true).has_value());

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Vorbin96_Class";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"Vorbin96_Class", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, wc.hInstance, nullptr);
  HWND bar = CreateWindowExW(0, L"Vorbin96_Class", L"bar", WS_POPUP, 0, 0, 10, 10, owner, nullptr,
                             wc.hInstance, nullptr);
  ASSERT_TRUE(owner && bar);
  EXPECT_FALSE(findRunningLauncher(true).has_value()) << "a window without the mutex is not the launcher";

  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"PreVorbin");
  auto launcher = findRunningLauncher(true);
  ASSERT_TRUE(launcher.has_value());
  EXPECT_EQ(launcher->bar, bar) << "the owned bar, not its hidden owner";
  EXPECT_EQ(launcher->processId, GetCurrentProcessId());
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(_wcsicmp(launcher->executable.c_str(), self), 0)
      << "found " << testing::PrintToString(launcher->executable);

  CloseHandle(mutex);
  DestroyWindow(bar);
  DestroyWindow(owner);
  UnregisterClassW(L"Vorbin96_Class", wc.hInstance);
}

}  // namespace
}  // namespace backup
