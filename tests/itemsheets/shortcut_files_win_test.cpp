// Shortcut files written for items and read back: ".lnk" through the shell's
// own link object (the show command from the file's bytes, which Wine's object
// does not report) and ".url" through its INI text.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "framework/com.h"
#include "launcher/model/item_record.h"
#include "launcher/services/shortcut_files.h"

namespace vorbin {
namespace {

class ShortcutFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + L"vb shortcut files";
    CreateDirectoryW(m_folder.c_str(), nullptr);
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    m_windows = windows;
  }
  void TearDown() override { CoUninitialize(); }

  std::wstring file(const wchar_t* name) const {
    const std::wstring path = m_folder + L"\\" + name;
    DeleteFileW(path.c_str());
    return path;
  }

  std::wstring m_folder, m_windows;
};

struct LinkAsShellReadsIt {
  std::wstring path, arguments, folder, description;
  WORD hotKey = 0;
};

LinkAsShellReadsIt readWithShell(const std::wstring& file) {
  LinkAsShellReadsIt out;
  fw::ComPtr<IShellLinkW> link;
  EXPECT_TRUE(SUCCEEDED(
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())));
  if (!link) return out;
  auto persist = link.as<IPersistFile>(IID_IPersistFile);
  EXPECT_TRUE(persist && SUCCEEDED(persist->Load(file.c_str(), STGM_READ)));
  wchar_t buffer[2048] = {};
  link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
  out.path = buffer;
  buffer[0] = 0;
  link->GetArguments(buffer, MAX_PATH);
  out.arguments = buffer;
  buffer[0] = 0;
  link->GetWorkingDirectory(buffer, MAX_PATH);
  out.folder = buffer;
  buffer[0] = 0;
  link->GetDescription(buffer, 2048);
  out.description = buffer;
  link->GetHotkey(&out.hotKey);
  return out;
}

std::vector<uint8_t> fileBytes(const std::wstring& file) {
  std::vector<uint8_t> bytes(4096);
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD read = 0;
  if (h != INVALID_HANDLE_VALUE) {
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
  }
  bytes.resize(read);
  return bytes;
}

TEST_F(ShortcutFiles, ProgramLinkReadsBackFieldByField) {
  const std::wstring notepad = m_windows + L"\\notepad.exe";
  Item item;
  item.title = L"Editor";
  item.setTargetPath(L"\"" + notepad + L"\" notes.txt");
  item.folder = m_windows;
  item.text5 = L"my comment";
  item.hotKey = 0x0641;
  item.flags = 1;  // minimized
  const std::wstring path = file(L"Editor.lnk");
  ASSERT_TRUE(writeShortcut(item, path));

  const LinkAsShellReadsIt shell = readWithShell(path);
  EXPECT_EQ(_wcsicmp(shell.path.c_str(), notepad.c_str()), 0) << shell.path;
  EXPECT_EQ(shell.arguments, L"notes.txt");
  EXPECT_EQ(shell.folder, m_windows);
  EXPECT_EQ(shell.description, L"my comment");
  EXPECT_EQ(shell.hotKey, 0x0641);
  // Minimized without activation, as the file itself holds it.
  EXPECT_EQ(linkHeaderShowCommand(fileBytes(path)), 7u);

  const auto record = readShortcutRecord(path, nullptr, L"");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->title, L"Editor");
  EXPECT_EQ(record->flags, 1u);
  EXPECT_EQ(record->folder, m_windows);
  EXPECT_EQ(record->comment, L"my comment");
  EXPECT_EQ(record->hotKey, 0x0641);
  EXPECT_NE(record->target.find(L"notepad.exe"), std::wstring::npos) << record->target;
  EXPECT_EQ(record->target.substr(record->target.size() - 10), L" notes.txt");
}

TEST_F(ShortcutFiles, FolderAndPromptingLinksKeepTheirFlagsInTheDescription) {
  Item folder;
  folder.flags = kItemFolder | kItemExplorer | kItemRootOrFind | 2;  // maximized
  folder.folder = m_windows;
  folder.text5 = L"note";
  const std::wstring path = file(L"Shortcut to Windows.lnk");
  ASSERT_TRUE(writeShortcut(folder, path));
  const LinkAsShellReadsIt shell = readWithShell(path);
  EXPECT_EQ(_wcsicmp(shell.path.c_str(), m_windows.c_str()), 0) << shell.path;
  EXPECT_EQ(shell.description, L"_vosc:0x8c2\nnote");
  EXPECT_EQ(linkHeaderShowCommand(fileBytes(path)), 3u);
  auto record = readShortcutRecord(path, nullptr, L"Shortcut to ");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->title, L"Windows");
  EXPECT_EQ(record->flags, kItemFolder | kItemExplorer | kItemRootOrFind | 2);
  EXPECT_EQ(record->comment, L"note");

  Item prompt;
  prompt.flags = kItemPrompt;
  prompt.folder = m_windows;
  prompt.setTargetPath(L"notepad.exe");
  const std::wstring promptPath = file(L"Ask.lnk");
  ASSERT_TRUE(writeShortcut(prompt, promptPath));
  record = readShortcutRecord(promptPath, nullptr, L"");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->flags, kItemPrompt);
  EXPECT_EQ(_wcsicmp(record->folder.c_str(), m_windows.c_str()), 0) << record->folder;
  EXPECT_EQ(record->target, L"notepad.exe");
  EXPECT_EQ(linkHeaderShowCommand(fileBytes(promptPath)), 5u);
}

TEST_F(ShortcutFiles, WebLinkIsWrittenWithEveryFieldAndReadsBack) {
  Item item;
  item.title = L"Example";
  item.flags = kItemUrl;
  item.setTargetPath(L"http://example.com/page?a=1");
  item.hotKey = 0x0645;
  item.text3 = L"C:\\icons\\web.ico,2";
  const std::wstring path = file(L"Example.url");
  ASSERT_TRUE(writeShortcut(item, path));

  wchar_t value[512] = {};
  GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", value, 512, path.c_str());
  EXPECT_STREQ(value, L"http://example.com/page?a=1");
  EXPECT_EQ(GetPrivateProfileIntW(L"InternetShortcut", L"HotKey", 0, path.c_str()), 0x0645u);
  GetPrivateProfileStringW(L"InternetShortcut", L"IconFile", L"", value, 512, path.c_str());
  EXPECT_STREQ(value, L"C:\\icons\\web.ico");
  EXPECT_EQ(GetPrivateProfileIntW(L"InternetShortcut", L"IconIndex", 0, path.c_str()), 2u);

  const auto record = readShortcutRecord(path, nullptr, L"");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->flags, kItemUrl);
  EXPECT_EQ(record->title, L"Example");
  EXPECT_EQ(record->target, L"http://example.com/page?a=1");
  EXPECT_EQ(record->hotKey, 0x0645);
  EXPECT_EQ(record->iconFile, L"C:\\icons\\web.ico");
  EXPECT_EQ(record->iconIndex, 2);

  // Written again without a key or icon: the old key does not survive.
  item.hotKey = 0;
  item.text3.clear();
  ASSERT_TRUE(writeShortcut(item, path));
  const auto again = readUrlFile(path);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->hotKey, 0);
}

}  // namespace
}  // namespace vorbin
