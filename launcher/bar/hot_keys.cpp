#include "launcher/bar/hot_keys.h"

#include "framework/trace.h"
#include "launcher/model/group_table.h"

namespace vorbin {

namespace {

void pressKey(BYTE vk, bool up) {
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0);
}

}  // namespace

bool registerBarHotKey(HWND bar, uint16_t hotKey) {
  UnregisterHotKey(bar, 0);
  if (!(hotKey & 0xFF)) return true;
  if (RegisterHotKey(bar, 0, systemHotKeyModifiers(hotKey), hotKey & 0xFFu)) return true;
  FW_TRACE_FAILURE("RegisterHotKey");
  return false;
}

void pressHotKey(uint16_t hotKey) {
  const unsigned control = hotKey >> 8;
  const BYTE modifiers[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
  for (int i = 0; i < 3; ++i)
    if (control & (1u << i)) pressKey(modifiers[i], false);
  pressKey(static_cast<BYTE>(hotKey & 0xFF), false);
  pressKey(static_cast<BYTE>(hotKey & 0xFF), true);
  for (int i = 2; i >= 0; --i)
    if (control & (1u << i)) pressKey(modifiers[i], true);
}

bool restoreWindowWithHotKey(uint16_t hotKey) {
  struct Search {
    uint16_t hotKey;
    HWND found;
  } search{hotKey, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        if ((style & WS_CHILD) || !(style & WS_SYSMENU) || GetWindow(w, GW_OWNER)) return TRUE;
        DWORD_PTR key = 0;
        if (!SendMessageTimeoutW(w, WM_GETHOTKEY, 0, 0, SMTO_ABORTIFHUNG, 200, &key)) return TRUE;
        if (key != 0 && static_cast<uint16_t>(key) == s->hotKey) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  if (IsIconic(search.found) || !IsWindowVisible(search.found)) ShowWindow(search.found, SW_RESTORE);
  SetForegroundWindow(search.found);
  return true;
}

}  // namespace vorbin
