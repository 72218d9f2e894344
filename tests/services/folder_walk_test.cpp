// Rules of the bulk file enumeration over an in-memory folder tree.
#include "launcher/services/folder_walk.h"

#include <gtest/gtest.h>

#include <map>

namespace vorbin {
namespace {

// A tiny tree: folder -> entries; patterns "*.*", "*" and "*.ext" are understood.
class MemoryFolders : public FolderSource {
 public:
  std::map<std::wstring, std::vector<FolderEntry>> folders;
  std::vector<FolderEntry> list(const std::wstring& folder, const std::wstring& pattern) override {
    std::vector<FolderEntry> out;
    for (const auto& e : folders[folder]) {
      bool match = pattern == L"*.*" || pattern == L"*" ||
                   (pattern.rfind(L"*.", 0) == 0 && e.name.size() > pattern.size() - 1 &&
                    e.name.compare(e.name.size() - (pattern.size() - 1), std::wstring::npos, pattern.substr(1)) == 0);
      if (match) out.push_back(e);
    }
    return out;
  }
};

struct Found {
  uint32_t flags;
  std::wstring path;
  bool operator==(const Found&) const = default;
};

class FolderWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.folders[L"C:\\top\\"] = {{L"a.exe"}, {L"b.txt"}, {L"hidden.exe", false, true}, {L"sys.exe", false, false, true},
                                {L"sub", true}, {L".git", true}, {L"dir.exe", true}};
    fs.folders[L"C:\\top\\sub\\"] = {{L"c.exe"}};
    fs.folders[L"C:\\top\\dir.exe\\"] = {};
  }
  std::vector<Found> walk(uint32_t mode, const wchar_t* patterns, size_t stopAfter = 1000) {
    std::vector<Found> out;
    walkFolder(fs, L"C:\\top", mode, patterns, [&](uint32_t f, const std::wstring& p) {
      out.push_back({f, p});
      return out.size() < stopAfter;
    });
    return out;
  }
  MemoryFolders fs;
};

TEST_F(FolderWalk, FilesOnlySkipsHiddenSystemAndFolders) {
  EXPECT_EQ(walk(kWalkFilesOnly, L"*.exe"),
            (std::vector<Found>{{0x40, L"C:\\top"}, {1, L"C:\\top\\a.exe"}}));
}

TEST_F(FolderWalk, PatternsSplitAtSemicolonsAndBlanks) {
  EXPECT_EQ(splitPatterns(L"*.exe;*.lnk  *.txt;"), (std::vector<std::wstring>{L"*.exe", L"*.lnk", L"*.txt"}));
  EXPECT_EQ(walk(kWalkFilesOnly | kWalkHeaderSent, L"*.exe;*.txt"),
            (std::vector<Found>{{1, L"C:\\top\\a.exe"}, {1, L"C:\\top\\b.txt"}}));
}

TEST_F(FolderWalk, RecursionGivesEachFolderItsHeaderAndSkipsDotFolders) {
  // Below the start folder bit 0x10 is cleared: plain recursion sends no header there.
  EXPECT_EQ(walk(kWalkRecurse | kWalkFilesOnly, L"*.exe"),
            (std::vector<Found>{{0x40, L"C:\\top"}, {1, L"C:\\top\\a.exe"}, {1, L"C:\\top\\sub\\c.exe"}}));
  auto found = walk(kWalkRecurse | kWalkHeaderOnMatch | kWalkQuietHeader, L"*.exe");
  EXPECT_EQ(found, (std::vector<Found>{{0x40, L"C:\\top"},
                                       {1, L"C:\\top\\a.exe"},
                                       {0x40, L"C:\\top\\sub"},
                                       {1, L"C:\\top\\sub\\c.exe"}}));
}

TEST_F(FolderWalk, HeaderOnAnyMatchAndFoldersAsItems) {
  // Bit 0x02 alone: a pattern that matches only a folder still sends the header.
  fs.folders[L"C:\\top\\"] = {{L"only.exe", true}};
  EXPECT_EQ(walk(kWalkHeaderOnMatch, L"*.exe").front(), (Found{0x40, L"C:\\top"}));
  EXPECT_EQ(walk(kWalkFoldersAsItems, L"*.none"),
            (std::vector<Found>{{0x40, L"C:\\top"}, {2, L"C:\\top\\only.exe"}}));
}

TEST_F(FolderWalk, CancelStopsEverything) {
  EXPECT_EQ(walk(kWalkRecurse | kWalkHeaderOnMatch, L"*.exe", 2).size(), 2u);
}

TEST_F(FolderWalk, SelfContainingTreeIsBoundedByDepth) {
  // A folder that lists itself (a junction loop) cannot recurse forever.
  fs.folders.clear();
  int calls = 0;
  class Loop : public FolderSource {
   public:
    int* calls;
    std::vector<FolderEntry> list(const std::wstring&, const std::wstring& p) override {
      ++*calls;
      if (p == L"*.*") return {{L"loop", true}};
      return {};
    }
  } loop;
  loop.calls = &calls;
  walkFolder(loop, L"C:\\x", kWalkRecurse, L"*.exe", [](uint32_t, const std::wstring&) { return true; }, 10);
  EXPECT_EQ(calls, 11 * 2);
}

}  // namespace
}  // namespace vorbin
