// Combo boxes filled with consecutive strings of the language library.
#pragma once
#include <windows.h>

#include "launcher/services/language_strings.h"

namespace vorbin {

// Adds strings firstId..lastId (each cut to 63 characters) in order, then
// turns on the combo box's extended interface. The number of strings added.
int fillComboFromStrings(HWND dialog, int comboId, unsigned firstId, unsigned lastId);

}  // namespace vorbin
