// Rules of the bulk file enumeration.
#include "launcher/services/folder_walk.h"

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

  bool run(const std::wstring& folder, uint32_t mode, int depth) {
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
      const bool headerOnAnyMatch = (mode & kWalkHeaderOnMatch) && !(mode & (kWalkQuietHeader | kWalkFilesOnly));
      if (headerOnAnyMatch && !entries.empty() && !sendHeader()) return false;
      for (const FolderEntry& e : entries) {
        if (e.directory || e.hidden || e.system) continue;
        if ((mode & (kWalkHeaderOnMatch | kWalkFilesOnly)) && !sendHeader()) return false;
        if (!sink(kFoundFile, base + e.name)) return false;
      }
    }

    if ((mode & ~kWalkFilesOnly) == 0) return true;
    for (const FolderEntry& e : source.list(base, L"*.*")) {
      if (!e.directory || e.name.empty() || e.name[0] == L'.') continue;
      if (mode & kWalkFoldersAsItems) {
        if (!sendHeader()) return false;
        if (!sink(kFoundFolderItem, base + e.name)) return false;
      } else if ((mode & kWalkRecurse) && depth < maxDepth) {
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
                const FoundSink& sink, int maxDepth) {
  std::vector<std::wstring> list = splitPatterns(patterns);
  Walk walk{source, list, sink, maxDepth};
  return walk.run(folder, mode, 0);
}

}  // namespace vorbin
