// The group property sheet: the group page (title, start-up, button mode,
// picture) and the registration page that turns a folder's files into buttons.
#pragma once
#include <windows.h>

#include <string>

#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"
#include "launcher/services/id_list.h"

namespace vorbin {

class ModalBusy;

// What the sheet needs from the launcher.
struct GroupSheetContext {
  GroupTable* groups = nullptr;
  Settings* settings = nullptr;   // HowGetSubFolder, WildCard, SelectDirectry
  HWND bar = nullptr;             // receives the registration's 0x0520 requests
  HINSTANCE resources = nullptr;  // the language library (null: the application's)
  ModalBusy* busy = nullptr;      // defers DDE, drops and close while the sheet runs; may be null
};

// A folder handed to the registration page: a path, or an item-ID list for a
// shell folder without one.
struct RegisterFolder {
  std::wstring path;
  IdListBytes idList;
};

// Opens the group sheet on group (the placeholder index: a new group) at the
// pointer. True on OK; the caller repaints (groups may have been added).
bool openGroupSheet(HWND owner, int group, const GroupSheetContext& context);

// The sheet with only the registration page, preset with a dropped folder,
// centred on the screen. The files go into group (the placeholder: a new
// group). True on OK.
bool registerDroppedFolder(HWND owner, int group, const RegisterFolder& folder,
                           const GroupSheetContext& context);

// A system folder (CSIDL_...): its path, or its item-ID list when asked or
// when it has no path. Empty when the system has no such folder.
RegisterFolder systemFolder(int csidl, bool asIdList);

// Registers folder into group without a sheet (the first-run import): mode is
// HowGetSubFolder; runs under the progress dialog and returns false when the
// folder was missing or the scan was cancelled.
bool registerFolderNow(HWND owner, int group, const RegisterFolder& folder, int howGetSubFolder,
                       const std::wstring& patterns, const GroupSheetContext& context);

}  // namespace vorbin
