// Shell, file and process helpers over the system: the launcher's data
// folder, generated file names, shell attributes and item-ID lists, link
// icons, verbs, privileges and the state of the mouse buttons and keys.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "launcher/services/id_list.h"

namespace vorbin {

// %APPDATA%\Ornelsoft\Vorbin2k\ (created level by level with create); with a
// file name and no create flag, that folder + name when the file exists
// there, else fallback + name. Fallback alone (or + name) when the shell has
// no application-data folder.
std::wstring dataFolder(const wchar_t* fileName, const std::wstring& fallback, bool create);
// A name "%m%d%04X" + extension that does not exist in folder (which ends in
// a backslash); empty when every number is taken.
std::wstring uniqueFileName(const std::wstring& folder, const std::wstring& extension);

// mask AND the shell's attributes of the path (or of the ID list), 0 on failure.
ULONG shellAttributes(const wchar_t* path, ULONG mask);
ULONG shellAttributes(PCIDLIST_ABSOLUTE idList, ULONG mask);
bool shellExists(const wchar_t* path);
bool shellExists(PCIDLIST_ABSOLUTE idList);
bool isShellLink(const wchar_t* path);

// Bytes of a system ID list, bounded by size when the caller knows it.
std::span<const uint8_t> idListBytes(PCIDLIST_ABSOLUTE idList, size_t bound = 0x10000);
// An ID list in memory from the shell allocator (free with CoTaskMemFree).
PIDLIST_ABSOLUTE idListToShell(const IdListBytes& bytes);
// The desktop folder's parse of a display name; null on failure.
PIDLIST_ABSOLUTE pathToIdList(const wchar_t* path);
// A one-entry list made from the path without touching the disk.
PIDLIST_ABSOLUTE simpleIdList(const wchar_t* path);

// The icon location of a shell link. When the location is not a file, the
// icon is extracted once, the buffer is emptied and index is the extracted one.
bool linkIconLocation(IShellLinkW* link, wchar_t* buffer, int size, int* index);

// Buttons and keys held now: 1 left, 2 right, 4 Shift, 8 Control, 16 middle.
unsigned keyState();
// True when the extension of path has a command for verb (Windows 2000 and later).
bool hasVerb(const wchar_t* path, const wchar_t* verb);
// Enables a privilege of the process token.
bool enablePrivilege(const wchar_t* name);

}  // namespace vorbin
