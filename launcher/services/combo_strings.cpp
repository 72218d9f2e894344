// Combo boxes filled with consecutive strings of the language library.
#include "launcher/services/combo_strings.h"

#include <cstdint>

namespace vorbin {

int fillComboFromStrings(HWND dialog, int comboId, unsigned firstId, unsigned lastId) {
  HWND combo = GetDlgItem(dialog, comboId);
  if (!combo) return 0;
  int added = 0;
  for (uint64_t id = firstId; id <= lastId; ++id) {
    std::wstring text = resourceString(static_cast<unsigned>(id), kShortString);
    if (SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) >= 0) ++added;
  }
  SendMessageW(combo, CB_SETEXTENDEDUI, TRUE, 0);
  return added;
}

}  // namespace vorbin
