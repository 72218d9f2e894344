// The folder combo's decisions without windows: typed paths made absolute and
// bounded, the chain of folders from the root down, the entries' pictures and
// indents, and the letter jump through the dropped list.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// Longest folder text the combo accepts (the system's classic path limit
// less the terminator).
inline constexpr size_t kMaxFolderChars = 259;

// A typed or stored folder made absolute against current (itself absolute):
// quotes and blanks around it dropped, "/" as "\", repeated separators
// merged, "." and ".." resolved (never above the root), "\x" on current's
// drive, "C:x" as "C:\x", UNC roots kept as "\\server\share\". No trailing
// backslash except on a root. Nothing when the result would be longer than
// kMaxFolderChars or the text names no folder (empty, "\\server" alone,
// characters a folder name cannot hold).
std::optional<std::wstring> normaliseTypedPath(std::wstring_view typed, std::wstring_view current);

// The root of an absolute path ("C:\" or "\\server\share\"); empty when none.
std::wstring pathRoot(std::wstring_view path);

// Root first, then each folder below it.
std::vector<std::wstring> pathChain(std::wstring_view path);
// The path of entry index of a chain (index 0 is the root); chain entries
// past the end are ignored.
std::wstring pathFromChain(const std::vector<std::wstring>& chain, size_t index);

// The deepest folder of path that exists, walking up from path itself to its
// root; the root when nothing below it exists.
std::wstring deepestExisting(std::wstring_view path,
                             const std::function<bool(const std::wstring&)>& isFolder);

// A subfolder the dropped list shows: not "." or "..", nor hidden by a
// leading full stop (".git").
bool listedSubfolder(std::wstring_view name);
// A name without a separate short form gets its first letter in upper case.
std::wstring comboName(std::wstring_view name, bool hasShortForm);

// The list in folder mode: entry 0 stands for all drives, entry 1 is the
// root, entries up to current are the chain, the ones after are subfolders.
enum class ComboImage {
  kAbove = 0,
  kCurrent = 1,
  kSubfolder = 2,
  kRemovable = 3,
  kFixed = 4,
  kCdRom = 5,
  kNetwork = 6,
  kRamDisk = 7
};
ComboImage folderImage(int index, int currentIndex);
// Indent in pixels of a folder entry.
int folderIndent(int index, int currentIndex);
// The picture of a drive by the system's drive type number (2 removable,
// 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk; anything else as removable).
ComboImage driveImage(unsigned driveType);

// The entry a typed letter jumps to: the first after current (wrapping) whose
// text begins with the letter, case ignored; -1 when none. Entry texts are
// given in list order; empty texts never match.
int nextEntryWithLetter(const std::vector<std::wstring>& entries, int current, wchar_t letter);

}  // namespace vorbin
