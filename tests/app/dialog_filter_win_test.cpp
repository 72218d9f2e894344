// The dialog character filter inside a real modal dialog loop, and the
// launcher's command-line switches.
#include <gtest/gtest.h>

#include <vector>

#include "launcher/app/launcher_app.h"

namespace vorbin {
namespace {

constexpr UINT kTypeBar = WM_APP + 1;

// A dialog template in memory: two edit fields, ids 0x1001 (marked) and 0x0002.
std::vector<WORD> dialogTemplate() {
  std::vector<WORD> t;
  auto dword = [&](DWORD v) {
    t.push_back(LOWORD(v));
    t.push_back(HIWORD(v));
  };
  auto align = [&] {
    if (t.size() % 2) t.push_back(0);
  };
  dword(WS_POPUP | WS_CAPTION | DS_MODALFRAME);
  dword(0);
  t.push_back(2);  // controls
  t.push_back(0), t.push_back(0), t.push_back(120), t.push_back(60);
  t.push_back(0), t.push_back(0), t.push_back(0);  // no menu, default class, empty title
  for (WORD id : {WORD(0x1001), WORD(0x0002)}) {
    align();
    dword(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL);
    dword(0);
    t.push_back(5), t.push_back(id == 0x1001 ? 5 : 25), t.push_back(100), t.push_back(14);
    t.push_back(id);
    t.push_back(0xFFFF), t.push_back(0x0081);  // edit
    t.push_back(0);                            // no text
    t.push_back(0);                            // no creation data
  }
  return t;
}

INT_PTR CALLBACK typingDialog(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  auto* texts = reinterpret_cast<std::wstring*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      // The characters go through the dialog's own loop, as typed ones do.
      for (int id : {0x1001, 0x0002}) {
        HWND edit = GetDlgItem(dialog, id);
        PostMessageW(edit, WM_CHAR, L'a', 0);
        PostMessageW(edit, WM_CHAR, L'|', 0);
        PostMessageW(edit, WM_CHAR, L'b', 0);
      }
      PostMessageW(dialog, kTypeBar, 0, 0);
      return TRUE;
    case kTypeBar: {
      wchar_t text[32];
      GetDlgItemTextW(dialog, 0x1001, text, 32);
      texts[0] = text;
      GetDlgItemTextW(dialog, 0x0002, text, 32);
      texts[1] = text;
      EndDialog(dialog, 1);
      return TRUE;
    }
  }
  return FALSE;
}

TEST(DialogFilter, VerticalBarIsRefusedOnlyInMarkedFields) {
  HHOOK hook = installDialogFilter();
  ASSERT_NE(hook, nullptr);
  std::vector<WORD> t = dialogTemplate();
  std::wstring texts[2];
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                           nullptr, typingDialog, reinterpret_cast<LPARAM>(texts));
  UnhookWindowsHookEx(hook);
  ASSERT_EQ(result, 1);
  EXPECT_EQ(texts[0], L"ab");
  EXPECT_EQ(texts[1], L"a|b");
}

}  // namespace
}  // namespace vorbin
