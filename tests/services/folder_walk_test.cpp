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

// A folder that leads back to one already walked (a link Wine shows as a
// plain folder, or a junction marked as such) is not walked again, and a
// walk that grows without end stops at the entry cap.
TEST_F(FolderWalk, LinksBackUpTheTreeAreNotFollowed) {
  class Linked : public MemoryFolders {
   public:
    // Whatever lies under "back" is what lies under the top folder.
    std::vector<FolderEntry> list(const std::wstring& folder, const std::wstring& pattern) override {
      std::wstring f = folder;
      for (size_t k; (k = f.find(L"\\back\\")) != std::wstring::npos;) f = L"C:\\top\\" + f.substr(k + 6);
      return MemoryFolders::list(f, pattern);
    }
    std::wstring folderIdentity(const std::wstring& folder) override {
      // "back" in any folder is the top folder again.
      std::wstring f = folder;
      while (!f.empty() && f.back() == L'\\') f.pop_back();
      return f.size() >= 5 && f.compare(f.size() - 5, 5, L"\\back") == 0 ? L"top"
                                                                         : (f == L"C:\\top" ? L"top" : f);
    }
  } fs2;
  fs2.folders = fs.folders;
  fs2.folders[L"C:\\top\\"].push_back({L"back", true});
  fs2.folders[L"C:\\top\\sub\\"].push_back({L"junction", true, false, false, true});
  fs2.folders[L"C:\\top\\sub\\junction\\"] = {{L"never.exe"}};
  std::vector<Found> out;
  EXPECT_TRUE(walkFolder(fs2, L"C:\\top", kWalkRecurse | kWalkHeaderSent, L"*.exe",
                         [&](uint32_t f, const std::wstring& p) {
                           out.push_back({f, p});
                           return true;
                         }));
  EXPECT_EQ(out, (std::vector<Found>{{1, L"C:\\top\\a.exe"}, {1, L"C:\\top\\sub\\c.exe"}}));
  // Shown as folder buttons, a linked folder is still offered.
  out.clear();
  walkFolder(fs2, L"C:\\top\\sub", kWalkFoldersAsItems | kWalkHeaderSent, L"*.exe",
             [&](uint32_t f, const std::wstring& p) {
               out.push_back({f, p});
               return true;
             });
  EXPECT_EQ(out, (std::vector<Found>{{1, L"C:\\top\\sub\\c.exe"}, {2, L"C:\\top\\sub\\junction"}}));
}

TEST(FolderWalkCap, ManyEntriesEndTheWalk) {
  class Wide : public FolderSource {
   public:
    std::vector<FolderEntry> list(const std::wstring& folder, const std::wstring&) override {
      std::vector<FolderEntry> out;
      for (int i = 0; i < 50; ++i) out.push_back({L"f" + std::to_wstring(i) + L".exe"});
      // Every folder has two more: without a cap the tree doubles at each level.
      out.push_back({L"a", true});
      out.push_back({L"b", true});
      (void)folder;
      return out;
    }
  } wide;
  size_t found = 0;
  EXPECT_FALSE(walkFolder(
      wide, L"C:\\w", kWalkRecurse, L"*.exe",
      [&](uint32_t, const std::wstring&) {
        ++found;
        return true;
      },
      64, 5000));
  EXPECT_GT(found, 0u);
  EXPECT_LE(found, 5000u);
}

}  // namespace
}  // namespace vorbin
