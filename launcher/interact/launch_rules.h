// How an item becomes a shell execution request: the command splitter, the
// path search, the working-folder check and every decision of a launch, with
// the file system and registry behind a small interface.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/interact/show_rules.h"
#include "launcher/model/item_record.h"

namespace vorbin {

// Group start-up value bits that override the show mode of every item.
inline constexpr int kGroupStartMinimized = 2;
inline constexpr int kGroupStartHidden = 4;

// Shell execution flags (the platform's values).
namespace exec_mask {
inline constexpr uint32_t kInvokeIdList = 0x0000000C;
inline constexpr uint32_t kHotKey = 0x00000020;
inline constexpr uint32_t kNoCloseProcess = 0x00000040;
inline constexpr uint32_t kDoEnvSubst = 0x00000200;
inline constexpr uint32_t kNoUi = 0x00000400;
inline constexpr uint32_t kSeparateVdm = 0x00020000;
inline constexpr uint32_t kMonitor = 0x00200000;
}  // namespace exec_mask

inline constexpr size_t kMaxPathChars = 260;
inline constexpr size_t kMaxUrlChars = 2083;
inline constexpr int kNoAssociation = 31;  // the shell's "no program associated" result
inline constexpr int kAccessDenied = 5;

// What launching needs from the system. The Win32 implementation asks the
// shell, the path search and the class registry; tests give a file table.
class LaunchSystem {
 public:
  virtual ~LaunchSystem() = default;
  // Environment strings expanded; nothing when the result exceeds 260 characters.
  virtual std::optional<std::wstring> expandEnvironment(const std::wstring& text) = 0;
  // A file or folder of that name exists.
  virtual bool exists(const std::wstring& path) = 0;
  virtual bool isFolder(const std::wstring& path) = 0;
  // The system path search for name + extension (extension may be empty).
  virtual std::optional<std::wstring> searchPath(const std::wstring& name, const std::wstring& extension) = 0;
  virtual std::wstring windowsFolder() = 0;
  virtual bool setCurrentFolder(const std::wstring& folder) = 0;
  // The program is a 16-bit Windows ("NE") executable.
  virtual bool is16BitWindowsProgram(const std::wstring& program) = 0;
  virtual std::optional<std::wstring> shortPath(const std::wstring& path) = 0;
  // Unnamed value of "<class of extension>\shell" in the class registry, or empty.
  virtual std::wstring classDefaultVerb(const std::wstring& extension) = 0;
  // The program that opens a file: > 32 with the program, else the platform's error number.
  struct Association {
    int result = 0;
    std::wstring program;
  };
  virtual Association findExecutable(const std::wstring& file) = 0;
};

// The text without the white space (space, tab, CR, LF) around it.
std::wstring trimBlanks(std::wstring_view text);

// findFile: 0 not found; -1 found as written (or found by the search after the
// environment expansion changed the name); 1 found by the search.
struct FoundFile {
  int result = 0;
  std::wstring path;
};
FoundFile findFile(std::wstring_view name, LaunchSystem& sys);

struct SplitCommand {
  std::wstring program;
  std::wstring arguments;
};
// An unquoted text that names an existing file is the program as a whole;
// otherwise the first token (quotes removed) is the program.
SplitCommand splitCommand(std::wstring_view text, LaunchSystem& sys);

// The folder text cleaned up before the search (step 4 of the check): quotes,
// bare drive letters, a trailing backslash; at most 260 characters.
std::wstring normaliseFolderText(std::wstring_view folder);

enum class FolderCheck {
  kFound,          // folder text now holds the found folder (or stays as given)
  kUseDefault,     // empty: the Windows folder was put in
  kInherit,        // "." and the like: emptied, the program inherits the current folder
  kEmptyReported,  // empty with the report flag: left empty
  kNotFound,       // not found: replaced by the Windows folder, or left for the report
};
struct FolderResult {
  bool ok = false;
  FolderCheck kind = FolderCheck::kNotFound;
  bool report = false;  // the caller shows the folder-not-found message for this text
};
FolderResult checkFolder(std::wstring& folder, bool report, bool fullPath, LaunchSystem& sys);

// findProgram without the report: on success (32) the file text becomes the
// program that opens it; otherwise the platform's error number and the file is kept.
int findProgram(std::wstring& file, LaunchSystem& sys);

// The document as handed to a program: a short path for 16-bit programs,
// otherwise trimmed and quoted when it holds a blank.
std::wstring documentArgument(std::wstring_view document, bool program16Bit,
                              const std::optional<std::wstring>& shortPath);
// Parameters with a switch-like character keep their text and get the document
// appended; any other parameters are replaced by it.
std::wstring joinDocument(std::wstring_view parameters, std::wstring_view document);

// The text after the last dot of the file name part, with the dot; empty when none.
std::wstring fileExtension(std::wstring_view file);

int showCommandFor(uint32_t flags, int groupStartMode);

struct LaunchRequest {
  std::wstring target;
  std::vector<uint8_t> idList;  // with kItemIdList
  std::wstring folder;
  uint32_t flags = 0;
  uint16_t hotKey = 0;
  std::optional<std::wstring> document;
  int groupStartMode = 0;  // the group's start-up value during a group start, else 0
};

struct LaunchPlan {
  std::wstring file, parameters, directory, verb;
  int showCommand = sw::kShowNormal;
  uint32_t mask = 0;
  uint16_t hotKey = 0;
  bool passIdList = false;      // the request's ID list goes with the request
  bool explorerIdList = false;  // the glue appends "/idlist,:<block>:<pid>"
  bool trackNewWindow = false;  // remember top-level windows and find the new one
  bool valid = true;            // false for an ID-list item whose list is malformed
};

// Steps up to the execution request. The current folder of the process changes
// as the working-folder check finds it.
LaunchPlan planLaunch(const LaunchRequest& request, LaunchSystem& sys);

// "/idlist,:<block>:<process>" for Explorer.
std::wstring explorerIdListParameter(uint64_t block, uint32_t processId);
// The shared block's bytes: the list's size as a little-endian 32-bit number, then the list.
std::vector<uint8_t> explorerIdListBlock(const std::vector<uint8_t>& idList);

enum class AfterExecute { kSucceeded, kOpenAs, kStop, kRetryWithUi };
AfterExecute afterExecute(int result, bool idList);

// The system's program chooser for a file that has none.
struct OpenAsRequest {
  std::wstring file, verb, parameters, directory;
  int showCommand = sw::kShowNormal;
};
OpenAsRequest openAsRequest(const LaunchPlan& plan);

// String id of the not-found message (resource_ids.h; its "%s" takes the name).
unsigned notFoundMessageId(bool folder, bool noAssociation);

}  // namespace vorbin
