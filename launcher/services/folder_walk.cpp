// Rules of the bulk file enumeration.
#include "launcher/services/folder_walk.h"

#include <set>

#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

std::wstring withSlash(const std::wstring& folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') return folder + L'\\';
  return folder;
}

std::wstring withoutSlash(const std::wstring& folder) {
  std::wstring f = folder;
  while (f.size() > 1 && (f.back() == L'\\' || f.back() == L'/')) f.pop_back();
  return f;
}

struct Walk {
  FolderSource& source;
  const std::vector<std::wstring>& patterns;
  const FoundSink& sink;
  int maxDepth;
  size_t entriesLeft;
  std::set<std::wstring> visited;

  // Counts listed entries against the cap; false once it is used up.
  bool take(size_t count) {
    if (count > entriesLeft) {
      entriesLeft = 0;
      return false;
    }
    entriesLeft -= count;
    return true;
  }

  // False when the folder was entered before under this or another name.
  bool firstVisit(const std::wstring& folder) {
    std::wstring id = source.folderIdentity(folder);
    if (id.empty()) {
      id = L"path:" + withoutSlash(folder);
      for (wchar_t& c : id) c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    }
    return visited.insert(id).second;
  }

  bool run(const std::wstring& folder, uint32_t mode, int depth) {
    if (!firstVisit(folder)) return true;
    bool headerSent = (mode & kWalkHeaderSent) != 0;
    mode &= ~kWalkHeaderSent;
    const std::wstring base = withSlash(folder);
    auto sendHeader = [&]() {
      if (headerSent) return true;
      headerSent = true;
      return sink(kFoundFolderHeader, withoutSlash(folder));
    };

    for (const std::wstring& pattern : patterns) {
      std::vector<FolderEntry> entries = source.list(base, pattern);
      if (!take(entries.size())) return false;
      const bool headerOnAnyMatch = (mode & kWalkHeaderOnMatch) && !(mode & (kWalkQuietHeader | kWalkFilesOnly));
      if (headerOnAnyMatch && !entries.empty() && !sendHeader()) return false;
      for (const FolderEntry& e : entries) {
        if (e.directory || e.hidden || e.system) continue;
        if ((mode & (kWalkHeaderOnMatch | kWalkFilesOnly)) && !sendHeader()) return false;
        if (!sink(kFoundFile, base + e.name)) return false;
      }
    }

    if ((mode & ~kWalkFilesOnly) == 0) return true;
    const std::vector<FolderEntry> folders = source.list(base, L"*.*");
    if (!take(folders.size())) return false;
    for (const FolderEntry& e : folders) {
      if (!e.directory || e.name.empty() || e.name[0] == L'.') continue;
      if (mode & kWalkFoldersAsItems) {
        if (!sendHeader()) return false;
        if (!sink(kFoundFolderItem, base + e.name)) return false;
      } else if ((mode & kWalkRecurse) && depth < maxDepth && !e.reparse) {
        if (!run(base + e.name, mode & ~kWalkFilesOnly, depth + 1)) return false;
      }
    }
    return true;
  }
};

}  // namespace

std::vector<std::wstring> splitPatterns(std::wstring_view patterns) {
  return splitPieces(patterns, [](wchar_t c) { return c == L';' || c == L' '; });
}

bool walkFolder(FolderSource& source, const std::wstring& folder, uint32_t mode, std::wstring_view patterns,
                const FoundSink& sink, int maxDepth, size_t maxEntries) {
  std::vector<std::wstring> list = splitPatterns(patterns);
  Walk walk{source, list, sink, maxDepth, maxEntries, {}};
  return walk.run(folder, mode, 0);
}

}  // namespace vorbin
