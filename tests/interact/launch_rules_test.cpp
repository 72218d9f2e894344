// Launch decisions against a small in-memory file system: path search,
// command splitting, working folders, document hand-over and the request.
#include "launcher/interact/launch_rules.h"

#include "launcher/interact/file_pick.h"
#include "launcher/resources/resource_ids.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace vorbin {
namespace {

std::wstring lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

// Files and folders by full path (case-insensitive), a search path, environment
// variables, associations and class verbs.
class TableSystem : public LaunchSystem {
 public:
  std::set<std::wstring> files, folders;
  std::vector<std::wstring> searchFolders{L"C:\\Windows\\system32", L"C:\\Windows"};
  std::map<std::wstring, std::wstring> environment;
  std::map<std::wstring, std::wstring> associations;  // extension -> program
  std::map<std::wstring, std::wstring> verbs;         // extension -> verb
  std::map<std::wstring, std::wstring> shortPaths;
  std::set<std::wstring> programs16;
  std::wstring currentFolder = L"C:\\Launcher";
  std::vector<std::pair<std::wstring, std::wstring>> searches;

  void addFile(const std::wstring& p) { files.insert(lower(p)); }
  void addFolder(const std::wstring& p) { folders.insert(lower(p)); }

  std::optional<std::wstring> expandEnvironment(const std::wstring& text) override {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
      const size_t close = text[i] == L'%' ? text.find(L'%', i + 1) : std::wstring::npos;
      auto it = close == std::wstring::npos ? environment.end()
                                            : environment.find(text.substr(i + 1, close - i - 1));
      if (it != environment.end()) {
        out += it->second;
        i = close;
      } else {
        out += text[i];
      }
    }
    if (out.size() > kMaxPathChars) return std::nullopt;
    return out;
  }
  bool exists(const std::wstring& p) override { return files.count(lower(p)) || isFolder(p); }
  bool isFolder(const std::wstring& p) override {
    std::wstring l = lower(p);
    if (l.size() > 3 && l.back() == L'\\') l.pop_back();
    return folders.count(l) != 0;
  }
  std::optional<std::wstring> searchPath(const std::wstring& name, const std::wstring& extension) override {
    searches.emplace_back(name, extension);
    if (name.find(L'\\') != std::wstring::npos) {
      if (files.count(lower(name + extension))) return name + extension;
      return std::nullopt;
    }
    for (const auto& folder : searchFolders) {
      const std::wstring candidate = folder + L"\\" + name + extension;
      if (files.count(lower(candidate))) return candidate;
    }
    return std::nullopt;
  }
  std::wstring windowsFolder() override { return L"C:\\Windows"; }
  bool setCurrentFolder(const std::wstring& f) override {
    if (!isFolder(f)) return false;
    currentFolder = f;
    return true;
  }
  bool is16BitWindowsProgram(const std::wstring& p) override { return programs16.count(lower(p)) != 0; }
  std::optional<std::wstring> shortPath(const std::wstring& p) override {
    auto it = shortPaths.find(p);
    if (it == shortPaths.end()) return std::nullopt;
    return it->second;
  }
  std::wstring classDefaultVerb(const std::wstring& extension) override {
    auto it = verbs.find(lower(extension));
    return it == verbs.end() ? L"" : it->second;
  }
  Association findExecutable(const std::wstring& file) override {
    if (!exists(file)) return {2, L""};
    const std::wstring extension = lower(fileExtension(file));
    if (extension == L".exe" || extension == L".com") return {42, file};
    auto it = associations.find(extension);
    if (it == associations.end()) return {kNoAssociation, L""};
    return {42, it->second};
  }
};

class LaunchRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sys.addFolder(L"C:\\Windows");
    sys.addFolder(L"C:\\Windows\\system32");
    sys.addFolder(L"C:\\Program Files\\Editor");
    sys.addFolder(L"C:\\Work");
    sys.addFolder(L"C:\\");
    sys.addFolder(L"D:\\");
    sys.addFile(L"C:\\Windows\\notepad.exe");
    sys.addFile(L"C:\\Windows\\system32\\tool.com");
    sys.addFile(L"C:\\Windows\\system32\\tool.exe");
    sys.addFile(L"C:\\Program Files\\Editor\\edit.exe");
    sys.addFile(L"C:\\Work\\notes.txt");
    sys.addFile(L"C:\\Work\\plain");
    sys.environment[L"EDITOR"] = L"C:\\Program Files\\Editor";
    sys.environment[L"NP"] = L"notepad.exe";
    sys.associations[L".txt"] = L"C:\\Windows\\notepad.exe";
  }
  TableSystem sys;
};

TEST_F(LaunchRulesTest, FindFileResultsFollowHowTheNameWasFound) {
  // Exists as written.
  FoundFile f = findFile(L"  C:\\Windows\\notepad.exe", sys);
  EXPECT_EQ(f.result, -1);
  EXPECT_EQ(f.path, L"C:\\Windows\\notepad.exe");
  // Found by the path search with the name unchanged.
  f = findFile(L"notepad.exe", sys);
  EXPECT_EQ(f.result, 1);
  EXPECT_EQ(f.path, L"C:\\Windows\\notepad.exe");
  // Found by the search after the expansion changed the name.
  f = findFile(L"%NP%", sys);
  EXPECT_EQ(f.result, -1);
  EXPECT_EQ(f.path, L"C:\\Windows\\notepad.exe");
  // The extensions are tried in order: .com before .exe.
  f = findFile(L"tool", sys);
  EXPECT_EQ(f.result, 1);
  EXPECT_EQ(f.path, L"C:\\Windows\\system32\\tool.com");
  // A quoted name ends at its closing quote.
  f = findFile(L"\"%EDITOR%\\edit.exe\" -x", sys);
  EXPECT_EQ(f.result, -1);
  EXPECT_EQ(f.path, L"C:\\Program Files\\Editor\\edit.exe");
  // A bare drive letter becomes its root.
  f = findFile(L"D:", sys);
  EXPECT_EQ(f.result, -1);
  EXPECT_EQ(f.path, L"D:\\");
}

TEST_F(LaunchRulesTest, FindFileRejectsEmptyMissingAndOverlongNames) {
  EXPECT_EQ(findFile(L"", sys).result, 0);
  EXPECT_EQ(findFile(L"   \t", sys).result, 0);
  EXPECT_EQ(findFile(L"\"\"", sys).result, 0);
  EXPECT_EQ(findFile(L"missing", sys).result, 0);
  // The four extensions were all tried for the missing name.
  EXPECT_EQ(sys.searches.back(), std::make_pair(std::wstring(L"missing"), std::wstring(L".lnk")));
  EXPECT_EQ(findFile(std::wstring(300, L'a'), sys).result, 0);
  sys.environment[L"LONG"] = std::wstring(250, L'x');
  EXPECT_EQ(findFile(L"C:\\%LONG%\\%LONG%", sys).result, 0);
  // An unbalanced quote takes the rest of the text as the name.
  EXPECT_EQ(findFile(L"\"C:\\Windows\\notepad.exe", sys).result, -1);
}

TEST_F(LaunchRulesTest, SplitCommandKeepsAnExistingUnquotedPathWhole) {
  SplitCommand s = splitCommand(L"C:\\Program Files\\Editor\\edit.exe", sys);
  EXPECT_EQ(s.program, L"C:\\Program Files\\Editor\\edit.exe");
  EXPECT_EQ(s.arguments, L"");
  // With a switch added the text no longer names a file: split at the first blank.
  s = splitCommand(L"C:\\Program Files\\Editor\\edit.exe /s", sys);
  EXPECT_EQ(s.program, L"C:\\Program");
  EXPECT_EQ(s.arguments, L"Files\\Editor\\edit.exe /s");
  s = splitCommand(L"  \"C:\\Program Files\\Editor\\edit.exe\"   /s  x", sys);
  EXPECT_EQ(s.program, L"C:\\Program Files\\Editor\\edit.exe");
  EXPECT_EQ(s.arguments, L"/s  x");
  s = splitCommand(L"notepad.exe C:\\Work\\notes.txt", sys);
  EXPECT_EQ(s.program, L"notepad.exe");
  EXPECT_EQ(s.arguments, L"C:\\Work\\notes.txt");
}

TEST_F(LaunchRulesTest, SplitCommandSurvivesBrokenText) {
  SplitCommand s = splitCommand(L"\"C:\\Program Files\\unterminated -x", sys);
  EXPECT_EQ(s.program, L"C:\\Program Files\\unterminated -x");
  EXPECT_EQ(s.arguments, L"");
  s = splitCommand(L"", sys);
  EXPECT_EQ(s.program, L"");
  EXPECT_EQ(s.arguments, L"");
  s = splitCommand(L"\"\" args", sys);
  EXPECT_EQ(s.program, L"");
  EXPECT_EQ(s.arguments, L"args");
  const std::wstring longText(5000, L'q');
  s = splitCommand(longText + L" tail", sys);
  EXPECT_EQ(s.program, longText);
  EXPECT_EQ(s.arguments, L"tail");
}

TEST_F(LaunchRulesTest, NormaliseFolderText) {
  EXPECT_EQ(normaliseFolderText(L"\"C:\\Work\\\" junk"), L"C:\\Work");
  EXPECT_EQ(normaliseFolderText(L"d"), L"d:\\");
  EXPECT_EQ(normaliseFolderText(L"D:"), L"D:\\");
  EXPECT_EQ(normaliseFolderText(L"C:\\"), L"C:\\");
  EXPECT_EQ(normaliseFolderText(L"C:\\Work\\"), L"C:\\Work");
  EXPECT_EQ(normaliseFolderText(L"\\"), L"\\");
  EXPECT_EQ(normaliseFolderText(L"1"), L"1");
  EXPECT_EQ(normaliseFolderText(L"\""), L"");
  EXPECT_EQ(normaliseFolderText(std::wstring(400, L'z')).size(), kMaxPathChars);
}

TEST_F(LaunchRulesTest, CheckFolderDefaultsInheritanceAndFullPath) {
  std::wstring folder = L"   ";
  EXPECT_TRUE(checkFolder(folder, false, true, sys).ok);
  EXPECT_EQ(folder, L"C:\\Windows");
  folder = L"";
  FolderResult r = checkFolder(folder, true, true, sys);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(folder, L"");
  folder = L".\\sub";
  r = checkFolder(folder, false, true, sys);
  EXPECT_EQ(r.kind, FolderCheck::kInherit);
  EXPECT_EQ(folder, L"");
  EXPECT_EQ(sys.currentFolder, L"C:\\Launcher");
  folder = L" \"C:\\Work\\\" ";
  r = checkFolder(folder, false, true, sys);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(folder, L"C:\\Work");
  EXPECT_EQ(sys.currentFolder, L"C:\\Work");
  folder = L"%EDITOR%";
  r = checkFolder(folder, false, false, sys);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(folder, L"%EDITOR%");  // without the full-path flag the text stays
  EXPECT_EQ(sys.currentFolder, L"C:\\Program Files\\Editor");
}

TEST_F(LaunchRulesTest, CheckFolderRejectsMissingFoldersAndFiles) {
  for (const std::wstring& bad :
       std::vector<std::wstring>{L"C:\\Nowhere", L"C:\\Work\\plain", L"\"\"", std::wstring(600, L'x')}) {
    std::wstring folder = bad;
    FolderResult r = checkFolder(folder, false, true, sys);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.report);
    EXPECT_EQ(folder, L"C:\\Windows");
    folder = bad;
    r = checkFolder(folder, true, true, sys);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.report);
    EXPECT_EQ(folder, trimBlanks(bad));
  }
  EXPECT_EQ(sys.currentFolder, L"C:\\Launcher");
}

TEST_F(LaunchRulesTest, DocumentArgumentAndJoining) {
  EXPECT_EQ(documentArgument(L"  C:\\My Docs\\a.txt ", false, std::nullopt), L"\"C:\\My Docs\\a.txt\"");
  EXPECT_EQ(documentArgument(L"\"C:\\My Docs\\a.txt\"", false, std::nullopt), L"\"C:\\My Docs\\a.txt\"");
  EXPECT_EQ(documentArgument(L"C:\\a.txt", false, std::nullopt), L"C:\\a.txt");
  EXPECT_EQ(documentArgument(L"C:\\My Docs\\a.txt", true, std::wstring(L"C:\\MYDOCS~1\\A.TXT")),
            L"C:\\MYDOCS~1\\A.TXT");
  EXPECT_EQ(documentArgument(L"C:\\My Docs\\a.txt", true, std::nullopt), L"\"C:\\My Docs\\a.txt\"");
  EXPECT_EQ(documentArgument(L"", false, std::nullopt), L"");

  for (const wchar_t* params : {L"/p", L"a,b", L"x=1", L"[1]", L"*", L"<in", L"a|b", L"+v", L"?"}) {
    EXPECT_EQ(joinDocument(params, L"doc"), std::wstring(params) + L" doc") << params;
  }
  EXPECT_EQ(joinDocument(L"-p old.txt", L"doc"), L"doc");
  EXPECT_EQ(joinDocument(L"", L"doc"), L"doc");
}

TEST_F(LaunchRulesTest, FileExtensionLooksOnlyAtTheName) {
  EXPECT_EQ(fileExtension(L"C:\\a.b\\readme"), L"");
  EXPECT_EQ(fileExtension(L"C:\\a\\readme.TXT"), L".TXT");
  EXPECT_EQ(fileExtension(L"archive.tar.gz"), L".gz");
  EXPECT_EQ(fileExtension(L""), L"");
}

TEST_F(LaunchRulesTest, PlanForAProgramWithADroppedDocument) {
  LaunchRequest r;
  r.target = L"C:\\Program Files\\Editor\\edit.exe /n";
  r.folder = L"C:\\Work\\";
  r.document = L"C:\\Work\\my notes.txt";
  r.hotKey = 0x0641;
  LaunchPlan p = planLaunch(r, sys);
  EXPECT_TRUE(p.valid);
  EXPECT_EQ(p.file, L"C:\\Program");  // the switch makes the text split at its first blank
  EXPECT_EQ(p.parameters, L"Files\\Editor\\edit.exe /n \"C:\\Work\\my notes.txt\"");

  r.target = L"\"C:\\Program Files\\Editor\\edit.exe\" -n";
  p = planLaunch(r, sys);
  EXPECT_EQ(p.file, L"C:\\Program Files\\Editor\\edit.exe");
  EXPECT_EQ(p.parameters, L"\"C:\\Work\\my notes.txt\"");  // no switch character: replaced
  EXPECT_EQ(p.directory, L"C:\\Work");
  EXPECT_EQ(sys.currentFolder, L"C:\\Work");
  EXPECT_EQ(p.hotKey, 0x0641);
  EXPECT_TRUE(p.trackNewWindow);
  EXPECT_EQ(p.mask, exec_mask::kHotKey | exec_mask::kDoEnvSubst | exec_mask::kNoUi | exec_mask::kMonitor |
                        exec_mask::kNoCloseProcess);
}

TEST_F(LaunchRulesTest, PlanForADocumentTargetUsesItsProgram) {
  sys.verbs[L".exe"] = L"open";
  LaunchRequest r;
  r.target = L"C:\\Work\\notes.txt";
  r.document = L"C:\\Work\\other.txt";
  LaunchPlan p = planLaunch(r, sys);
  EXPECT_EQ(p.file, L"C:\\Windows\\notepad.exe");
  EXPECT_EQ(p.parameters, L"C:\\Work\\other.txt");
  EXPECT_EQ(p.verb, L"open");
  EXPECT_EQ(p.directory, L"C:\\Windows");  // an empty folder starts in the Windows folder
  EXPECT_FALSE(p.trackNewWindow);

  // A document target whose program cannot be found stays the file.
  sys.addFile(L"C:\\Work\\odd.xyz");
  r.target = L"C:\\Work\\odd.xyz";
  p = planLaunch(r, sys);
  EXPECT_EQ(p.file, L"C:\\Work\\odd.xyz");

  // Without a target the document itself is the file.
  r.target.clear();
  r.folder = L".";
  p = planLaunch(r, sys);
  EXPECT_EQ(p.file, L"C:\\Work\\other.txt");
  EXPECT_EQ(p.parameters, L"");
  EXPECT_EQ(p.directory, L"");
}

TEST_F(LaunchRulesTest, PlanForSixteenBitProgramsUsesShortPaths) {
  sys.addFile(L"C:\\Old\\wp.exe");
  sys.programs16.insert(L"c:\\old\\wp.exe");
  sys.shortPaths[L"C:\\Long Name\\letter.doc"] = L"C:\\LONGNA~1\\LETTER.DOC";
  LaunchRequest r;
  r.target = L"C:\\Old\\wp.exe";
  r.document = L"C:\\Long Name\\letter.doc";
  LaunchPlan p = planLaunch(r, sys);
  EXPECT_EQ(p.parameters, L"C:\\LONGNA~1\\LETTER.DOC");
  r.flags = kItemSeparateVdm;
  EXPECT_NE(planLaunch(r, sys).mask & exec_mask::kSeparateVdm, 0u);
}

TEST_F(LaunchRulesTest, PlanForFoldersOpensExplorer) {
  LaunchRequest r;
  r.folder = L"C:\\Work";
  r.flags = kItemFolder | kItemExplorer | kItemRootOrFind;
  LaunchPlan p = planLaunch(r, sys);
  EXPECT_EQ(p.file, L"explorer.exe");
  EXPECT_EQ(p.parameters, L"/e,/root,C:\\Work");
  EXPECT_EQ(p.verb, L"");

  r.flags = kItemFolder | kItemExplorer;
  EXPECT_EQ(planLaunch(r, sys).parameters, L"/e,C:\\Work");

  r.flags = kItemFolder;
  p = planLaunch(r, sys);
  EXPECT_EQ(p.file, L"C:\\Work");
  r.flags = kItemFolder | kItemRootOrFind;
  EXPECT_EQ(planLaunch(r, sys).verb, L"find");

  // A prompting item with nothing to start opens its folder.
  r.flags = kItemPrompt;
  r.hotKey = 0x0641;
  p = planLaunch(r, sys);
  EXPECT_EQ(p.file, L"C:\\Work");
  EXPECT_EQ(p.hotKey, 0);
  EXPECT_FALSE(p.trackNewWindow);
}

TEST_F(LaunchRulesTest, PlanForUrlsAndRunAs) {
  LaunchRequest r;
  r.target = L"  http://example.com/a b?x=1 ";
  r.folder = L"C:\\Nowhere";
  r.flags = kItemUrl;
  LaunchPlan p = planLaunch(r, sys);
  EXPECT_EQ(p.file, r.target);
  EXPECT_EQ(p.parameters, L"");
  EXPECT_EQ(p.directory, L"");
  EXPECT_EQ(sys.currentFolder, L"C:\\Launcher");

  r.target = L"notepad.exe";
  r.flags = kItemRunAs | 2;
  p = planLaunch(r, sys);
  EXPECT_EQ(p.verb, L"runas");
  EXPECT_EQ(p.mask & exec_mask::kNoUi, 0u);
  EXPECT_EQ(p.showCommand, sw::kMaximize);
  EXPECT_TRUE(p.trackNewWindow);
}

TEST_F(LaunchRulesTest, OverlongFilesAreRefusedBeforeTheShell) {
  LaunchRequest r;
  r.target = L"\"" + std::wstring(261, L'x') + L"\" -p";
  EXPECT_FALSE(planLaunch(r, sys).valid);
  r.target = L"\"" + std::wstring(260, L'x') + L"\" -p";
  EXPECT_TRUE(planLaunch(r, sys).valid);
  r.target.clear();
  r.document = std::wstring(2000, L'd');  // the document becomes the file
  EXPECT_FALSE(planLaunch(r, sys).valid);
  r.document.reset();
  r.flags = kItemUrl;
  r.target = L"http://example.com/" + std::wstring(2000, L'u');
  EXPECT_TRUE(planLaunch(r, sys).valid);
  r.target += std::wstring(100, L'u');
  EXPECT_FALSE(planLaunch(r, sys).valid);
  // Long parameters are the program's business.
  r.flags = 0;
  r.target = L"notepad.exe " + std::wstring(30000, L'p');
  EXPECT_TRUE(planLaunch(r, sys).valid);
}

TEST_F(LaunchRulesTest, PlanForIdLists) {
  const std::vector<uint8_t> list = {4, 0, 0xAA, 0xBB, 0, 0};
  LaunchRequest r;
  r.idList = list;
  r.target = L"ignored";
  r.flags = kItemIdList | 1;
  LaunchPlan p = planLaunch(r, sys);
  EXPECT_TRUE(p.valid);
  EXPECT_TRUE(p.passIdList);
  EXPECT_EQ(p.file, L"");
  EXPECT_EQ(p.showCommand, sw::kMinNoActive);
  EXPECT_EQ(p.mask, exec_mask::kHotKey | exec_mask::kNoUi | exec_mask::kInvokeIdList | exec_mask::kMonitor |
                        exec_mask::kNoCloseProcess);

  r.flags = kItemIdList | kItemExplorer | kItemRootOrFind;
  p = planLaunch(r, sys);
  EXPECT_FALSE(p.passIdList);
  EXPECT_TRUE(p.explorerIdList);
  EXPECT_EQ(p.parameters, L"/e,/root,");
  EXPECT_NE(p.mask & exec_mask::kDoEnvSubst, 0u);

  r.idList = {9, 0, 1};  // runs past its buffer
  EXPECT_FALSE(planLaunch(r, sys).valid);
  r.idList.clear();
  EXPECT_FALSE(planLaunch(r, sys).valid);
}

TEST(ExplorerIdList, BlockHoldsSizeThenBytes) {
  const std::vector<uint8_t> list = {4, 0, 0xAA, 0xBB, 0, 0, 0x77};  // trailing byte is not part of it
  const std::vector<uint8_t> block = explorerIdListBlock(list);
  EXPECT_EQ(block, (std::vector<uint8_t>{6, 0, 0, 0, 4, 0, 0xAA, 0xBB, 0, 0}));
  EXPECT_EQ(explorerIdListParameter(0x1234, 77), L"/idlist,:4660:77");
  EXPECT_EQ(explorerIdListParameter(0xFFFFFFFFull, 5), L"/idlist,:-1:5");
}

TEST(ExecuteResult, DecidesTheNextStep) {
  EXPECT_EQ(afterExecute(42, false), AfterExecute::kSucceeded);
  EXPECT_EQ(afterExecute(32, true), AfterExecute::kSucceeded);
  EXPECT_EQ(afterExecute(31, false), AfterExecute::kOpenAs);
  EXPECT_EQ(afterExecute(31, true), AfterExecute::kRetryWithUi);
  EXPECT_EQ(afterExecute(5, false), AfterExecute::kStop);
  EXPECT_EQ(afterExecute(2, false), AfterExecute::kRetryWithUi);
  EXPECT_EQ(afterExecute(0, false), AfterExecute::kRetryWithUi);

  LaunchPlan plan;
  plan.file = L"C:\\x\\a.zzz";
  plan.directory = L"C:\\x";
  plan.showCommand = sw::kHide;
  const OpenAsRequest open = openAsRequest(plan);
  EXPECT_EQ(open.file, L"RUNDLL32.EXE");
  EXPECT_EQ(open.verb, L"open");
  EXPECT_EQ(open.parameters, L"shell32.dll,OpenAs_RunDLL C:\\x\\a.zzz");
  EXPECT_EQ(open.directory, L"C:\\x");
  EXPECT_EQ(open.showCommand, sw::kShowNormal);
}

TEST(NotFoundMessage, PicksTheText) {
  EXPECT_EQ(notFoundMessageId(true, true), unsigned{IDS_FOLDER_NOT_FOUND});  // the folder form wins
  EXPECT_EQ(notFoundMessageId(false, true), unsigned{IDS_NO_ASSOCIATION});
  EXPECT_EQ(notFoundMessageId(false, false), unsigned{IDS_FILE_NOT_FOUND});
}

// The file-pick start checks the program, then the folder; the first miss stops it.
TEST_F(LaunchRulesTest, FilePickStopsAtAMissingProgramOrFolder) {
  LaunchRequest item;
  item.flags = kItemPrompt;
  item.target = L"\"C:\\Program Files\\Editor\\edit.exe\" /new";
  item.folder = L" C:\\Work\\ ";
  FilePickCheck check = checkFilePick(item, sys);
  EXPECT_EQ(check.stop, FilePickStop::kNone);
  EXPECT_EQ(check.program, L"C:\\Program Files\\Editor\\edit.exe");
  EXPECT_EQ(check.folder, L"C:\\Work");
  EXPECT_EQ(sys.currentFolder, L"C:\\Work");

  sys.currentFolder = L"C:\\Launcher";
  item.target = L"C:\\Nowhere\\gone.exe -x";
  check = checkFilePick(item, sys);
  EXPECT_EQ(check.stop, FilePickStop::kProgramNotFound);
  EXPECT_EQ(check.missing, L"C:\\Nowhere\\gone.exe");
  EXPECT_FALSE(check.noAssociation);
  EXPECT_EQ(sys.currentFolder, L"C:\\Launcher") << "the folder was checked after the program failed";

  // A document no program opens gets the no-association message.
  item.target = L"C:\\Work\\plain";
  check = checkFilePick(item, sys);
  EXPECT_EQ(check.stop, FilePickStop::kProgramNotFound);
  EXPECT_TRUE(check.noAssociation);

  // A document target is opened by its program; a missing folder stops it as written.
  item.target = L"C:\\Work\\notes.txt";
  item.folder = L"C:\\Gone\\";
  check = checkFilePick(item, sys);
  EXPECT_EQ(check.stop, FilePickStop::kFolderNotFound);
  EXPECT_EQ(check.missing, L"C:\\Gone\\");
  EXPECT_EQ(check.program, L"C:\\Windows\\notepad.exe");

  // Without a program of its own only the folder counts; an empty one is no miss.
  for (uint32_t flags : {kItemPrompt, kItemPrompt | kItemUrl}) {
    item.flags = flags;
    item.target = flags & kItemUrl ? L"http://example.com/x.exe" : L"";
    item.folder = L"";
    check = checkFilePick(item, sys);
    EXPECT_EQ(check.stop, FilePickStop::kNone) << flags;
    EXPECT_TRUE(check.program.empty()) << flags;
  }
}

}  // namespace
}  // namespace vorbin
