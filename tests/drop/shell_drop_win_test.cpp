// The shell's own drop target of a folder, reached as the bar reaches it for
// a folder button, with the shell's data object of a file in another folder:
// the effect it answers for the key states of a drag, and whether the file
// dropped there lands in the folder.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <string>

#include "framework/com.h"
#include "launcher/bar/drag_source.h"
#include "launcher/bar/drop_handler.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(ShellFolderDropTarget, AnswersAndTakesACopiedFile) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring from = std::wstring(temp) + L"shell drop from", into = std::wstring(temp) + L"shell drop into";
  CreateDirectoryW(from.c_str(), nullptr);
  CreateDirectoryW(into.c_str(), nullptr);
  DeleteFileW((into + L"\\copied.txt").c_str());
  CloseHandle(CreateFileW((from + L"\\copied.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  {
    auto data = fw::ComPtr<IDataObject>::attach(shellDataObject(nullptr, from + L"\\", {L"copied.txt"}));
    ASSERT_TRUE(data);
    auto target = fw::ComPtr<IDropTarget>::attach(shellDropTargetOf(nullptr, into));
    ASSERT_TRUE(target) << "the folder has no drop target";
    EXPECT_FALSE(shellDropTargetOf(nullptr, L"C:\\" + std::wstring(300, L'x'))) << "an over-long path was cut";
    const POINTL at{10, 10};
    constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    // A plain drag between two folders moves, Control copies, Control and
    // Shift link.
    const struct {
      DWORD keys, effect;
    } cases[] = {{MK_LBUTTON, DROPEFFECT_MOVE},
                 {MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY},
                 {MK_LBUTTON | MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.keys);
      DWORD effect = kAll;
      EXPECT_EQ(target->DragEnter(data.get(), c.keys, at, &effect), S_OK);
      EXPECT_EQ(effect, c.effect);
      effect = kAll;
      EXPECT_EQ(target->DragOver(c.keys, at, &effect), S_OK);
      EXPECT_EQ(effect, c.effect);
      target->DragLeave();
    }
    // The drop itself, with Control: a copy.
    DWORD effect = kAll;
    ASSERT_EQ(target->DragEnter(data.get(), MK_LBUTTON | MK_CONTROL, at, &effect), S_OK);
    effect = kAll;
    const HRESULT dropped = target->Drop(data.get(), MK_CONTROL, at, &effect);
    EXPECT_TRUE(SUCCEEDED(dropped));
    if (!exists(into + L"\\copied.txt") && e2e::runningUnderWine()) {
      // Wine 8: Drop answers S_OK and leaves the effect as offered; it only
      // names each file in a FIXME message.
      EXPECT_EQ(effect, kAll);
      OleUninitialize();
      GTEST_SKIP() << "Wine's folder drop target copies nothing (its Drop is a stub)";
    }
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    EXPECT_TRUE(exists(into + L"\\copied.txt"));
    EXPECT_TRUE(exists(from + L"\\copied.txt"));
  }
  OleUninitialize();
}

}  // namespace
}  // namespace vorbin
