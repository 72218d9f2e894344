// Dragging buttons out of the bar onto a drop target of the test: the
// shortcut files land in a folder made for the drag, load back with the
// items' fields, keep hostile titles inside that folder, and the folder is
// gone afterwards.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "framework/com.h"
#include "launcher/bar/drag_source.h"
#include "launcher/model/profile.h"
#include "launcher/services/shortcut_files.h"

namespace vorbin {
namespace {

// Records the files of a CF_HDROP drop and loads them while they exist.
class RecordingTarget final : public IDropTarget {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
      *out = static_cast<IDropTarget*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect &= effectWanted;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect &= effectWanted;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    FORMATETC f{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (SUCCEEDED(data->GetData(&f, &medium))) {
      auto drop = static_cast<HDROP>(medium.hGlobal);
      const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        wchar_t path[MAX_PATH] = {};
        DragQueryFileW(drop, i, path, MAX_PATH);
        files.push_back(path);
        if (auto record = readShortcutRecord(path, nullptr, L"")) records[path] = *record;
      }
      ReleaseStgMedium(&medium);
    }
    *effect &= effectWanted;
    return S_OK;
  }
  DWORD effectWanted = DROPEFFECT_COPY;
  std::vector<std::wstring> files;
  std::map<std::wstring, ShortcutRecord> records;
};

// Moves the pointer onto the target and drops there.
class ScriptedSource final : public IDropSource {
 public:
  explicit ScriptedSource(POINT to) : m_to(to) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = static_cast<IDropSource*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    SetCursorPos(m_to.x + m_calls % 3, m_to.y);
    Sleep(10);
    return ++m_calls > 12 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  POINT m_to;
  int m_calls = 0;
};

std::unique_ptr<Item> item(const wchar_t* title, uint32_t flags = 0, const wchar_t* target = L"C:\\windows\\notepad.exe") {
  auto i = std::make_unique<Item>();
  i->title = title;
  i->flags = flags;
  if (flags & kItemFolder)
    i->folder = target;
  else
    i->setTargetPath(target);
  return i;
}

bool directlyIn(const std::wstring& file, const std::wstring& folder) {
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(file.c_str(), MAX_PATH, full, nullptr);
  const std::wstring f = full;
  return f.size() > folder.size() && _wcsnicmp(f.c_str(), folder.c_str(), folder.size()) == 0 &&
         f.find(L'\\', folder.size()) == std::wstring::npos;
}

class DragOut : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole.ok());
    table.loadGroups();
    std::wstring title = L"Tools";
    ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &title, false));
    table.placeItem(1, 0, item(L".."));
    table.placeItem(1, 1, item(L"CON"));
    table.placeItem(1, 2, item(L"Same"));
    table.placeItem(1, 3, item(L"Same"));
    table.placeItem(1, 4, item(L"Web", kItemUrl, L"http://example.com/a"));
    table.placeItem(1, 6, item(L"Docs", kItemFolder | kItemExplorer | kItemRootOrFind, L"C:\\windows"));
  }
  fw::OleScope ole;
  MemoryProfile profile;
  GroupTable table{profile, ModelOptions{}};
};

TEST_F(DragOut, ShortcutsLoadFromAFolderOfTheirOwnWhichIsRemovedAfterwards) {
  // A window of its own class: a static control is transparent to the pointer.
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"DragOutTarget";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, L"DragOutTarget", L"target", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200,
                                nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  RecordingTarget target;
  ASSERT_EQ(RegisterDragDrop(window, &target), S_OK);

  std::wstring folderPath;
  std::vector<std::wstring> names;
  {
    std::optional<DragFolder> folder = DragFolder::create();
    ASSERT_TRUE(folder);
    folderPath = folder->path();
    // A second drag at once gets a folder of its own.
    std::optional<DragFolder> other = DragFolder::create();
    ASSERT_TRUE(other);
    EXPECT_NE(other->path(), folderPath);

    names = writeDragFiles(table, {1, {0, 1, 2, 3, 4, 6}, false}, folderPath, L"Item");
    ASSERT_EQ(names.size(), 6u);
    std::vector<std::wstring> lower = names;
    for (auto& n : lower) CharLowerW(n.data());
    std::sort(lower.begin(), lower.end());
    EXPECT_EQ(std::unique(lower.begin(), lower.end()), lower.end()) << "two items wrote one file";
    for (const std::wstring& n : names) {
      EXPECT_TRUE(directlyIn(folderPath + n, folderPath)) << n;
      EXPECT_NE(GetFileAttributesW((folderPath + n).c_str()), INVALID_FILE_ATTRIBUTES) << n;
    }
    EXPECT_EQ(names[4], L"Web.url");

    fw::ComPtr<IDataObject> data = fw::ComPtr<IDataObject>::attach(shellDataObject(nullptr, folderPath, names));
    ASSERT_TRUE(data);
    ScriptedSource source({200, 200});
    const std::optional<DWORD> effect = runDragOut(data.get(), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    ASSERT_TRUE(effect);
    EXPECT_EQ(*effect, static_cast<DWORD>(DROPEFFECT_COPY));
  }
  RevokeDragDrop(window);
  DestroyWindow(window);

  ASSERT_EQ(target.files.size(), 6u);
  for (const std::wstring& f : target.files) EXPECT_TRUE(directlyIn(f, folderPath)) << f;
  ASSERT_EQ(target.records.size(), 6u) << "every dropped shortcut loads";
  const ShortcutRecord& docs = target.records.at(folderPath + names[5]);
  EXPECT_EQ(docs.flags & (kItemFolder | kItemExplorer | kItemRootOrFind), kItemFolder | kItemExplorer | kItemRootOrFind);
  EXPECT_EQ(target.records.at(folderPath + names[4]).target, L"http://example.com/a");
  EXPECT_NE(target.records.at(folderPath + names[0]).target.find(L"notepad.exe"), std::wstring::npos);
  // The drag's folder and everything in it are gone.
  EXPECT_EQ(GetFileAttributesW(folderPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DragOut, ATabBecomesAFolderOfItsItems) {
  std::optional<DragFolder> folder = DragFolder::create();
  ASSERT_TRUE(folder);
  const std::vector<std::wstring> names = writeDragFiles(table, {1, {}, true}, folder->path(), L"Item");
  ASSERT_EQ(names, std::vector<std::wstring>{L"Tools"});
  std::vector<std::wstring> inside;
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW((folder->path() + L"Tools\\*").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) inside.push_back(found.cFileName);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  EXPECT_EQ(inside.size(), 6u);
  // A group titled like a device still gets a folder inside the drag's folder.
  std::wstring title = L"NUL";
  ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &title, false));
  table.placeItem(2, 0, item(L"x"));
  EXPECT_EQ(writeDragFiles(table, {2, {}, true}, folder->path(), L"Item"), std::vector<std::wstring>{L"Item"});
}

}  // namespace
}  // namespace vorbin
