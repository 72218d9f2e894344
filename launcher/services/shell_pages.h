// The property-sheet extension pages the shell registers for a file type.
#pragma once
#include <windows.h>
#include <prsht.h>
#include <shlobj.h>

#include <vector>

namespace vorbin {

inline constexpr size_t kMaxShellPages = 10;

// Adds the pages of every handler under <type>\shellex\PropertySheetHandlers
// (an extension is first turned into its type) to pages (at most 10). The
// result is the position at which the pages of the wanted class began, or -1.
int addShellPages(const wchar_t* typeOrExtension, IDataObject* data, std::vector<HPROPSHEETPAGE>& pages,
                  REFCLSID wanted);

}  // namespace vorbin
