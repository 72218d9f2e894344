// Shell, file and monitor helpers against the real system under Wine.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "framework/com.h"
#include "launcher/app/resource_library.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/combo_strings.h"
#include "launcher/services/find_files.h"
#include "launcher/services/monitor_helpers.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/shell_pages.h"

namespace vorbin {
namespace {

std::wstring tempFolder(const wchar_t* name) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring dir = std::wstring(base) + name + L"\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

void touch(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot create " << std::string(path.begin(), path.end());
  CloseHandle(h);
}

void removeTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeTree(folder + L"\\" + name);
      else
        DeleteFileW((folder + L"\\" + name).c_str());
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  RemoveDirectoryW(folder.c_str());
}

class ShellHelpers : public ::testing::Test {
 protected:
  fw::OleScope ole;
};

TEST_F(ShellHelpers, DataFolderCreatesEveryLevelAndFallsBack) {
  wchar_t appData[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
  std::wstring ornel = std::wstring(appData) + L"\\Ornelsoft";
  std::wstring folder = ornel + L"\\Vorbin2k\\";
  // Other tests leave files in the data folder (pictures, skins): remove the whole tree.
  removeTree(ornel);
  ASSERT_EQ(GetFileAttributesW(ornel.c_str()), INVALID_FILE_ATTRIBUTES);

  EXPECT_EQ(dataFolder(nullptr, L"C:\\fallback\\", true), folder);
  EXPECT_NE(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);

  // Without the create flag a file is taken from the data folder only when it is there.
  EXPECT_EQ(dataFolder(L"absent.bmp", L"C:\\prog\\", false), L"C:\\prog\\absent.bmp");
  touch(folder + L"present.bmp");
  EXPECT_EQ(dataFolder(L"present.bmp", L"C:\\prog\\", false), folder + L"present.bmp");
  EXPECT_EQ(dataFolder(nullptr, L"C:\\prog\\", false), folder);
  DeleteFileW((folder + L"present.bmp").c_str());
}

TEST_F(ShellHelpers, UniqueFileNameSkipsExistingFiles) {
  std::wstring dir = tempFolder(L"vb_unique");
  std::wstring first = uniqueFileName(dir, L".jpg");
  ASSERT_EQ(first.size(), 12u);
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t prefix[8];
  swprintf(prefix, 8, L"%02d%02d", now.wMonth, now.wDay);
  EXPECT_EQ(first.substr(0, 4), prefix);
  // Occupy a run of names from the tick count on; the result must be none of them.
  std::vector<std::wstring> made;
  for (int i = 0; i < 40; ++i) {
    std::wstring name = uniqueFileName(dir, L".jpg");
    touch(dir + name);
    for (const auto& m : made) EXPECT_NE(m, name);
    made.push_back(name);
  }
  for (const auto& m : made) DeleteFileW((dir + m).c_str());
}

TEST_F(ShellHelpers, AttributesLinksAndIdLists) {
  std::wstring dir = tempFolder(L"vb_shell");
  std::wstring target = dir + L"target.txt";
  touch(target);
  std::wstring linkPath = dir + L"target.lnk";
  {
    fw::ComPtr<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())));
    link->SetPath(target.c_str());
    link->SetIconLocation(L"C:\\windows\\system32\\shell32.dll", 3);
    auto file = link.as<IPersistFile>(IID_IPersistFile);
    ASSERT_TRUE(SUCCEEDED(file->Save(linkPath.c_str(), TRUE)));

    wchar_t icon[MAX_PATH];
    int index = -1;
    EXPECT_TRUE(linkIconLocation(link.get(), icon, MAX_PATH, &index));
    EXPECT_EQ(index, 3);
    EXPECT_NE(std::wstring(icon).find(L"shell32.dll"), std::wstring::npos);
  }
  EXPECT_TRUE(shellExists(target.c_str()));
  EXPECT_FALSE(shellExists(L""));
  EXPECT_FALSE(shellExists((dir + L"nothing-here.txt").c_str()));
  EXPECT_TRUE(isShellLink(linkPath.c_str()));
  EXPECT_FALSE(isShellLink(target.c_str()));
  EXPECT_NE(shellAttributes(dir.c_str(), SFGAO_FOLDER), 0u);
  EXPECT_EQ(shellAttributes(target.c_str(), SFGAO_FOLDER), 0u);

  PIDLIST_ABSOLUTE parsed = pathToIdList(target.c_str());
  ASSERT_NE(parsed, nullptr);
  EXPECT_EQ(idListBytes(parsed).size(), ILGetSize(parsed));
  wchar_t back[MAX_PATH];
  EXPECT_TRUE(SHGetPathFromIDListW(parsed, back));
  EXPECT_EQ(lstrcmpiW(back, target.c_str()), 0);
  EXPECT_TRUE(shellExists(parsed));
  CoTaskMemFree(parsed);
  EXPECT_EQ(pathToIdList((dir + L"nothing-here.txt").c_str()), nullptr);

  PIDLIST_ABSOLUTE simple = simpleIdList(L"C:\\not\\on\\disk.txt");
  ASSERT_NE(simple, nullptr);
  EXPECT_EQ(idListBytes(simple).size(), ILGetSize(simple));
  CoTaskMemFree(simple);
  DeleteFileW(linkPath.c_str());
  DeleteFileW(target.c_str());
}

// Full paths are answered from the file system and the extension's class;
// each answer must be the one the shell itself gives for the same path.
TEST_F(ShellHelpers, FullPathAnswersAgreeWithTheShell) {
  const std::wstring dir = tempFolder(L"vb_shell_fast");
  const std::wstring text = dir + L"plain.TXT";
  touch(text);
  const std::wstring link = dir + L"Link.LNK";
  {
    fw::ComPtr<IShellLinkW> shellLink;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.putVoid())));
    shellLink->SetPath(text.c_str());
    ASSERT_TRUE(SUCCEEDED(shellLink.as<IPersistFile>(IID_IPersistFile)->Save(link.c_str(), TRUE)));
  }
  // A file named like a shortcut that is none, other types, a folder, no extension.
  const std::wstring fakeLink = dir + L"fake.lnk";
  touch(fakeLink);
  const std::wstring url = dir + L"page.url";
  touch(url);
  const std::wstring pif = dir + L"old.pif";
  touch(pif);
  const std::wstring bare = dir + L"noextension";
  touch(bare);
  const std::wstring folder = dir + L"sub.lnk";
  CreateDirectoryW(folder.c_str(), nullptr);

  // What the shell says without help: parse, bind to the parent, ask.
  auto shellSays = [](const std::wstring& path, ULONG mask) -> ULONG {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &list, 0, nullptr)) || !list) return 0;
    fw::ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    ULONG attributes = mask;
    if (FAILED(SHBindToParent(list, IID_IShellFolder, parent.putVoid(), &child)) ||
        FAILED(parent->GetAttributesOf(1, &child, &attributes)))
      attributes = 0;
    CoTaskMemFree(list);
    return attributes == 0xFFFFFFFF ? 0 : attributes & mask;
  };
  std::wstring forwardSlashes = text;
  for (wchar_t& c : forwardSlashes)
    if (c == L'\\') c = L'/';
  const std::vector<std::wstring> paths = {text, link, fakeLink, url, pif, bare, folder, dir,
                                           dir + L"missing.lnk", dir + L"missing.txt", forwardSlashes,
                                           L"C:\\", L"\\\\nohost-vb\\share\\a.txt"};
  for (const std::wstring& path : paths) {
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    EXPECT_EQ(shellExists(path.c_str()), shellSays(path, 0xFFFFFFFE) != 0);
    // Wine's shell marks only ".lnk" files as links; Windows' shell, like the
    // helper, goes by the class's "IsShortcut" value, which web shortcuts have.
    if (path == url && shellSays(path, SFGAO_LINK) == 0) continue;
    EXPECT_EQ(isShellLink(path.c_str()), shellSays(path, SFGAO_LINK) != 0);
  }
  // The cases that matter most, stated outright.
  EXPECT_TRUE(isShellLink(link.c_str()));
  EXPECT_FALSE(isShellLink(text.c_str()));
  EXPECT_TRUE(shellExists(text.c_str()));
  EXPECT_FALSE(shellExists((dir + L"missing.txt").c_str()));
  removeTree(dir.substr(0, dir.size() - 1));
}

TEST_F(ShellHelpers, PrivilegesVerbsAndShellPages) {
  EXPECT_TRUE(enablePrivilege(L"SeShutdownPrivilege"));
  EXPECT_FALSE(enablePrivilege(L"SeNoSuchPrivilege"));
  // A file type of the test's own, registered for the current user.
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".vbverbtest", 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"vbverbfile"), 22);
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"vbverbfile\\shell\\open\\command", 0,
                            nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"notepad.exe %1"), 30);
  RegCloseKey(key);
  EXPECT_TRUE(hasVerb(L"C:\\x\\notes.vbverbtest", L"open"));
  EXPECT_FALSE(hasVerb(L"C:\\x\\notes.vbverbtest", L"print"));
  EXPECT_FALSE(hasVerb(L"C:\\x\\file.vbnosuchext", L"open"));
  EXPECT_FALSE(hasVerb(L"C:\\x\\noextension", L"open"));
  std::vector<HPROPSHEETPAGE> pages;
  EXPECT_EQ(addShellPages(L".vbnosuchext", nullptr, pages, CLSID_ShellLink), -1);
  EXPECT_TRUE(pages.empty());
}

TEST_F(ShellHelpers, KeyStateFollowsTheKeyboard) {
  EXPECT_EQ(keyState() & 4u, 0u);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_EQ(keyState() & 12u, 12u);
  keys[VK_SHIFT] = 0;
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(keyState() & 12u, 0u);
}

// Receives the 0x0520 messages of findFiles.
struct Collected {
  std::vector<std::pair<WPARAM, std::wstring>> found;
};
LRESULT CALLBACK collectProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kMsgAddRequest) {
    auto* c = reinterpret_cast<Collected*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (wp & 0x200) {
      wchar_t path[MAX_PATH] = {};
      SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lp), path);
      c->found.emplace_back(wp, path);
    } else {
      c->found.emplace_back(wp, reinterpret_cast<const wchar_t*>(lp));
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST_F(ShellHelpers, FindFilesReportsHeadersFilesAndFolders) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = collectProc;
  wc.lpszClassName = L"vb_collect";
  wc.hInstance = GetModuleHandleW(nullptr);
  RegisterClassW(&wc);
  HWND sink = CreateWindowW(L"vb_collect", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  Collected c;
  SetWindowLongPtrW(sink, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));

  std::wstring dir = tempFolder(L"vb_find");
  touch(dir + L"a.exe");
  touch(dir + L"b.txt");
  CreateDirectoryW((dir + L"sub").c_str(), nullptr);
  touch(dir + L"sub\\c.exe");

  findFiles(dir, 0x03, L"*.exe", sink);
  ASSERT_EQ(c.found.size(), 4u);
  EXPECT_EQ(c.found[0].first, 0x40u);
  EXPECT_EQ(c.found[1], (std::pair<WPARAM, std::wstring>{1, dir + L"a.exe"}));
  EXPECT_EQ(c.found[2].first, 0x40u);
  EXPECT_EQ(c.found[3], (std::pair<WPARAM, std::wstring>{1, dir + L"sub\\c.exe"}));

  c.found.clear();
  PIDLIST_ABSOLUTE folder = pathToIdList(dir.c_str());
  ASSERT_NE(folder, nullptr);
  findFiles(folder, 0x04, sink);
  CoTaskMemFree(folder);
  int files = 0, folders = 0, headers = 0;
  for (auto& [flags, path] : c.found) {
    files += flags == 513;
    folders += flags == 514;
    headers += flags == 576;
  }
  EXPECT_EQ(files, 2);  // a.exe and b.txt: the shell form takes no pattern
  EXPECT_EQ(folders, 1);
  EXPECT_EQ(headers, 1);
  DestroyWindow(sink);
}

TEST_F(ShellHelpers, PlacementStaysOnTheWorkArea) {
  Rect work = primaryWorkArea();
  EXPECT_GT(work.height(), 0);
  EXPECT_EQ(workAreaHeight({work.left + 5, work.top + 5}), work.height());
  EXPECT_FALSE(allWorkAreas().empty());
  POINT p = clampToWorkArea(200, 100, {work.right + 500, work.bottom + 500});
  EXPECT_EQ(p.x, work.right - 200);
  EXPECT_EQ(p.y, work.bottom - 100);

  HWND w = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 300, 120, nullptr, nullptr, nullptr,
                           nullptr);
  POINT corner{work.right - 10, work.bottom - 10};
  placeWindow(w, &corner, PlaceZ::Keep, false, 0);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right, work.right);
  EXPECT_EQ(r.bottom, work.bottom);
  EXPECT_EQ(r.right - r.left, 300);  // moved, never resized
  POINT centre{work.left + 400, work.top + 300};
  placeWindow(w, &centre, PlaceZ::Keep, true, 0);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, work.left + 400 - 150);
  EXPECT_EQ(r.top, work.top + 300 - 40);
  DestroyWindow(w);
}

TEST_F(ShellHelpers, ComboFilledFromLibraryStringsInOrderAndCut) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  folder.resize(folder.find_last_of(L'\\') + 1);
  int language = 2;
  ASSERT_TRUE(loadResourceLibraryFrom(folder, true, language, 0x409));
  HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 100, parent,
                               reinterpret_cast<HMENU>(100), nullptr, nullptr);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(fillComboFromStrings(parent, 100, IDS_IMPORT_DESKTOP, IDS_IMPORT_CAPTION), 5);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 5);
  wchar_t text[256];
  SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(text, resourceString(IDS_IMPORT_DESKTOP));
  SendMessageW(combo, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(text, resourceString(IDS_IMPORT_CAPTION));
  EXPECT_TRUE(SendMessageW(combo, CB_GETEXTENDEDUI, 0, 0));

  // Entries longer than 63 characters are cut.
  ASSERT_GT(resourceString(IDS_NO_HELP_FILE).size(), 63u);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  fillComboFromStrings(parent, 100, IDS_NO_HELP_FILE, IDS_NO_HELP_FILE);
  SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(wcslen(text), 63u);
  EXPECT_EQ(fillComboFromStrings(parent, 999, IDS_IMPORT_DESKTOP, IDS_IMPORT_CAPTION), 0);
  DestroyWindow(parent);
}

}  // namespace
}  // namespace vorbin
