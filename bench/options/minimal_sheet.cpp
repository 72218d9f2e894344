// The reference for the options benchmark: a minimal program that opens a
// plain modeless property sheet of three pages when it is sent WM_APP. With
// the argument "templates" the pages are the launcher's own option pages from
// its English library, with a page procedure that does nothing: what is left
// of the launcher's time beyond that is its own work.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

namespace {

HWND g_sheet = nullptr;
HINSTANCE g_library = nullptr;  // the launcher's English library, for its page templates

INT_PTR CALLBACK pageProcedure(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A page template in memory: check boxes and an edit, as many controls as the
// launcher's first option page has (27), on a page of its size.
struct PageTemplate {
  alignas(4) BYTE bytes[4096] = {};
  size_t used = 0;
  void align() { used = (used + 3) & ~size_t{3}; }
  void word(WORD w) {
    memcpy(bytes + used, &w, 2);
    used += 2;
  }
  void text(const wchar_t* s) {
    do word(static_cast<WORD>(*s));
    while (*s++);
  }
  DLGTEMPLATE* build(int checks) {
    auto* d = reinterpret_cast<DLGTEMPLATE*>(bytes);
    d->style = DS_SETFONT | WS_CHILD | WS_CAPTION;
    d->cdit = static_cast<WORD>(checks + 1);
    d->cx = 268;
    d->cy = 236;
    used = sizeof(DLGTEMPLATE);
    word(0);  // no menu
    word(0);  // default class
    text(L"Page");
    word(8);
    text(L"MS Shell Dlg");
    for (int i = 0; i <= checks; ++i) {
      align();
      auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(bytes + used);
      const bool edit = i == checks;
      item->style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (edit ? WS_BORDER : BS_AUTOCHECKBOX);
      item->x = 8;
      item->y = static_cast<short>(4 + 8 * i);
      item->cx = 200;
      item->cy = 10;
      item->id = static_cast<WORD>(100 + i);
      used += sizeof(DLGITEMTEMPLATE);
      word(0xFFFF);
      word(edit ? 0x0081 : 0x0080);  // edit or button
      text(edit ? L"" : L"A switch of the page");
      word(0);
    }
    return d;
  }
};

PageTemplate g_templates[3];

void openSheet(HWND owner) {
  if (g_sheet && IsWindow(g_sheet)) return;
  PROPSHEETPAGEW pages[3] = {};
  for (int i = 0; i < 3; ++i) {
    pages[i].dwSize = sizeof(PROPSHEETPAGEW);
    if (g_library) {
      static const WORD kPages[3] = {133, 135, 168};  // behaviour, appearance, timing
      pages[i].hInstance = g_library;
      pages[i].pszTemplate = MAKEINTRESOURCEW(kPages[i]);
    } else {
      pages[i].dwFlags = PSP_DLGINDIRECT;
      pages[i].pResource = g_templates[i].build(26);
    }
    pages[i].pfnDlgProc = pageProcedure;
  }
  PROPSHEETHEADERW h = {};
  h.dwSize = sizeof(h);
  h.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
  h.hwndParent = owner;
  h.pszCaption = L"Minimal sheet";
  h.nPages = 3;
  h.ppsp = pages;
  g_sheet = reinterpret_cast<HWND>(PropertySheetW(&h));
}

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP) {
    openSheet(hwnd);
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  if (commandLine && wcsstr(commandLine, L"templates")) {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    *(wcsrchr(path, L'\\') + 1) = 0;
    wcscat_s(path, L"Vorbr2ke.dll");
    g_library = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!g_library) return 1;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = windowProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"VbMinimalSheetOwner";
  RegisterClassW(&wc);
  CreateWindowExW(0, wc.lpszClassName, L"Minimal sheet owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                  nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (g_sheet && !PropSheet_GetCurrentPageHwnd(g_sheet)) {
      DestroyWindow(g_sheet);
      g_sheet = nullptr;
    }
    if (g_sheet && PropSheet_IsDialogMessage(g_sheet, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
