// The run prompt of the real launcher (the EXEC key): its history comes from
// and goes back to the profile's Cmd History, fifteen entries at most.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

constexpr wchar_t kHistory[] = L"Cmd History";

// The launcher's open-file dialog: a dialog of the process with a file-name field.
HWND waitForRunDialog(DWORD pid, DWORD timeoutMs) {
  HWND found = nullptr;
  e2e::waitUntil(
      [&] {
        HWND dialog = driver::findDialog(pid);
        if (dialog && (GetDlgItem(dialog, cmb13) || GetDlgItem(dialog, edt1))) found = dialog;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

TEST(PickerEndToEnd, TheExecKeyRunsTheTypedCommandAndPutsItOnTopOfFifteen) {
  e2e::profile::clear();
  for (int i = 1; i <= 15; ++i)
    e2e::profile::setString(kHistory, std::to_wstring(i), L"old" + std::to_wstring(i));
  e2e::Process launcher;
  HWND bar = driver::startBarInFront(launcher);
  ASSERT_NE(bar, nullptr);
  PostMessageW(bar, WM_KEYDOWN, VK_F3, 0);
  PostMessageW(bar, WM_KEYUP, VK_F3, 0);
  HWND dialog = waitForRunDialog(launcher.pid(), 10000);
  ASSERT_NE(dialog, nullptr);
  e2e::pumpFor(500);  // painted before the picture is taken
  e2e::captureToArtifact(dialog, L"run_dialog_e2e");
  HWND field = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
  wchar_t className[32] = {};
  GetClassNameW(field, className, 32);
  const bool ex = wcscmp(className, WC_COMBOBOXEXW) == 0;
  EXPECT_EQ(SendMessageW(field, CB_GETCOUNT, 0, 0), 15) << "the profile's history is offered";
  HWND edit = ex ? reinterpret_cast<HWND>(SendMessageW(field, CBEM_GETEDITCONTROL, 0, 0))
                 : FindWindowExW(field, nullptr, L"Edit", nullptr);
  SendMessageW(edit ? edit : field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"cmd.exe /c exit"));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsWindow(dialog); }, 10000));
  // The history is written value by value after the dialog has gone.
  e2e::waitUntil([&] { return e2e::profile::getString(kHistory, L"15") == L"old14"; }, 5000);
  const auto first = e2e::profile::getString(kHistory, L"1");
  ASSERT_TRUE(first.has_value());
  std::wstring lower = *first;
  for (auto& c : lower) c = static_cast<wchar_t>(towlower(c));
  EXPECT_NE(lower.find(L"\\cmd.exe /c exit"), std::wstring::npos) << *first;
  EXPECT_EQ(e2e::profile::getString(kHistory, L"2"), L"old1");
  EXPECT_EQ(e2e::profile::getString(kHistory, L"15"), L"old14");
  EXPECT_FALSE(e2e::profile::getString(kHistory, L"16").has_value());
  e2e::closeAndWait(launcher, bar);
}

}  // namespace
