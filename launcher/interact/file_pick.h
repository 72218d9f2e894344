// The file-pick start of prompting items: the documents named in the dialog's
// text, the item's packed prompt options, and the dialog's program line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/interact/launch_rules.h"

namespace vorbin {

// Names split at blanks (a name in double quotes stays whole), each put after
// the folder. An empty text names nothing: the item then starts once without a document.
std::vector<std::wstring> pickedDocuments(std::wstring_view folder, std::wstring_view text);

// The three 4-bit prompt options of an item.
struct PromptOptions {
  int sortMode = 0;     // bits 0-3
  int filterIndex = 0;  // bits 4-7
  int viewMode = 0;     // bits 8-11
};
PromptOptions decodePromptOptions(uint16_t packed);
// The options packed back; bits 12-15 of the previous value are kept.
uint16_t encodePromptOptions(const PromptOptions& options, uint16_t previous);

// The lower-case file name of a program path, for the dialog's program line.
std::wstring programFileName(std::wstring_view program);

// Before the dialog opens, the item's program and working folder must be
// found; a miss stops the start with its not-found message.
enum class FilePickStop { kNone, kProgramNotFound, kFolderNotFound };
struct FilePickCheck {
  FilePickStop stop = FilePickStop::kNone;
  std::wstring missing;        // the program or folder text that was not found
  bool noAssociation = false;  // the target exists, but no program opens it
  std::wstring program;        // the program that will open the picked files
  std::wstring folder;         // the working folder as found (full path)
};
// Items without a program of their own (an empty target, an ID list, a URL)
// only have their folder checked. The check changes the current folder as
// the working-folder check does.
FilePickCheck checkFilePick(const LaunchRequest& item, LaunchSystem& sys);

}  // namespace vorbin
