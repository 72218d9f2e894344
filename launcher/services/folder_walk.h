// The rules of the bulk file enumeration behind group registration and the
// icon picker: which folder headers, files and subfolders are reported, with
// the file system passed in so that the rules run without a disk.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorbin {

// Creation flags reported with each result (the values of message 0x0520).
inline constexpr uint32_t kFoundFile = 0x01;
inline constexpr uint32_t kFoundFolderItem = 0x02;
inline constexpr uint32_t kFoundFolderHeader = 0x40;
inline constexpr uint32_t kFoundByIdList = 0x200;

// Mode bits of the walk.
inline constexpr uint32_t kWalkRecurse = 0x01;
inline constexpr uint32_t kWalkHeaderOnMatch = 0x02;
inline constexpr uint32_t kWalkFoldersAsItems = 0x04;
inline constexpr uint32_t kWalkQuietHeader = 0x08;
inline constexpr uint32_t kWalkFilesOnly = 0x10;
inline constexpr uint32_t kWalkHeaderSent = 0x20;

struct FolderEntry {
  std::wstring name;
  bool directory = false;
  bool hidden = false;
  bool system = false;
  // A link or junction: followed, it may lead back up the tree.
  bool reparse = false;
};

class FolderSource {
 public:
  virtual ~FolderSource() = default;
  // Entries of folder matching pattern (wild cards as the system applies them).
  virtual std::vector<FolderEntry> list(const std::wstring& folder, const std::wstring& pattern) = 0;
  // What makes a folder the same folder under another name (the volume and
  // file number on disk); empty when unknown, then the path itself counts.
  virtual std::wstring folderIdentity(const std::wstring& folder) {
    (void)folder;
    return {};
  }
};

// More entries than this end a walk: a scan that large is a loop or a mistake.
inline constexpr size_t kMaxWalkEntries = 100000;

// Receives (flags, path); returns false to stop (the progress dialog was cancelled).
using FoundSink = std::function<bool(uint32_t flags, const std::wstring& path)>;

// Patterns separated by ";" or " ", empty ones dropped.
std::vector<std::wstring> splitPatterns(std::wstring_view patterns);

// Walks folder (with or without a trailing backslash). Returns false when the
// sink stopped the walk or the entry cap ended it. Recursion is bounded by
// depth; links are not followed and no folder is entered twice.
bool walkFolder(FolderSource& source, const std::wstring& folder, uint32_t mode, std::wstring_view patterns,
                const FoundSink& sink, int maxDepth = 64, size_t maxEntries = kMaxWalkEntries);

}  // namespace vorbin
