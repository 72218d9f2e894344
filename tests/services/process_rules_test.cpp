// Priority names, program type, command-line split and title paths.
#include "launcher/services/process_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace vorbin {
namespace {

TEST(ProcessRules, PriorityClassesMapToBasePriorityAndName) {
  struct Row {
    int line;
    uint32_t priorityClass;
    int32_t base;
    const wchar_t* name;
  } rows[] = {
      {__LINE__, priority_class::kIdle, 4, L"Idel"},
      {__LINE__, priority_class::kNormal, 8, L"Normal"},
      {__LINE__, priority_class::kHigh, 13, L"High"},
      {__LINE__, priority_class::kRealTime, 24, L"Real-Time"},
      {__LINE__, priority_class::kAboveNormal, 32768, L""},
      {__LINE__, 0, 0, L""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    EXPECT_EQ(basePriorityOf(r.priorityClass), r.base);
    EXPECT_EQ(priorityName(basePriorityOf(r.priorityClass)), r.name);
  }
}

TEST(ProcessRules, SixteenBitOnlyForSelectorSizedInstances) {
  EXPECT_EQ(programTypeName(0x1E57), L"16Bit");
  EXPECT_EQ(programTypeName(0xFFFF), L"16Bit");
  EXPECT_EQ(programTypeName(0x10000), L"32Bit");
  EXPECT_EQ(programTypeName(0x08000000), L"32Bit");
  EXPECT_EQ(programTypeName(0x140000000ull), L"32Bit");  // a 64-bit program's usual base
  EXPECT_EQ(programTypeName(0), L"32Bit");               // a window made without an instance
}

TEST(ProcessRules, PathFromTitle) {
  const std::set<std::wstring> files = {L"C:\\a\\doc.txt", L"C:\\a\\my-notes.txt", L"C:\\a\\x"};
  const PathExists exists = [&](const std::wstring& p) { return files.count(p) != 0; };
  struct Row {
    int line;
    std::wstring title;
    const wchar_t* path;  // nullptr: no path
    const wchar_t* other;
  } rows[] = {
      {__LINE__, L"Re: C:\\x\\mail.eml", L"C:\\x\\mail.eml", L"Re:"},
      {__LINE__, L"doc.txt - C:\\Tools\\prog.exe", L"C:\\Tools\\prog.exe", L"doc.txt -"},
      {__LINE__, L"Open \"C:\\a b\\c.txt\" now", L"C:\\a b\\c.txt", L"Open "},
      {__LINE__, L"C:\\a\\doc.txt - Notepad", L"C:\\a\\doc.txt", L"- Notepad"},
      {__LINE__, L"C:\\a\\missing.txt - Notepad", nullptr, nullptr},
      {__LINE__, L"C:\\a\\my-notes.txt", L"C:\\a\\my-notes.txt", L""},
      {__LINE__, L"C:\\a\\x-y", L"C:\\a\\x", L"-y"},
      {__LINE__, L"C:\\a\\b.txt | Viewer", L"C:\\a\\b.txt", L"| Viewer"},
      {__LINE__, L"Re:\\x", nullptr, nullptr},  // "e:" follows a letter
      {__LINE__, L":\\x at the start", nullptr, nullptr},
      {__LINE__, L"C:/a/b.txt", nullptr, nullptr},
      {__LINE__, L"Untitled - Notepad", nullptr, nullptr},
      {__LINE__, std::wstring(300, L'x') + L" C:\\beyond", nullptr, nullptr},  // past the part looked at
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    const std::optional<TitlePath> found = pathFromTitle(r.title, exists);
    ASSERT_EQ(found.has_value(), r.path != nullptr);
    if (!found) continue;
    EXPECT_EQ(found->path, r.path);
    EXPECT_EQ(found->other, r.other);
  }
}

// Files by full path; a bare name is found through the path search in C:\Windows.
struct FileTable : LaunchSystem {
  std::set<std::wstring> files;
  std::optional<std::wstring> expandEnvironment(const std::wstring& text) override { return text; }
  bool exists(const std::wstring& path) override { return files.count(path) != 0; }
  std::optional<std::wstring> searchPath(const std::wstring& name, const std::wstring& extension) override {
    const std::wstring path = L"C:\\Windows\\" + name + extension;
    if (name.find(L'\\') == std::wstring::npos && files.count(path)) return path;
    return std::nullopt;
  }
  bool isFolder(const std::wstring&) override { return false; }
  std::wstring windowsFolder() override { return L"C:\\Windows"; }
  bool setCurrentFolder(const std::wstring&) override { return false; }
  bool is16BitWindowsProgram(const std::wstring&) override { return false; }
  std::optional<std::wstring> shortPath(const std::wstring&) override { return std::nullopt; }
  std::wstring classDefaultVerb(const std::wstring&) override { return L""; }
  Association findExecutable(const std::wstring&) override { return {}; }
};

TEST(ProcessRules, CommandLineSplit) {
  FileTable sys;
  sys.files = {L"C:\\Program Files\\App\\app.exe", L"C:\\Windows\\notepad.exe"};
  struct Row {
    int line;
    std::wstring text;
    const wchar_t* program;
    const wchar_t* arguments;
  } rows[] = {
      {__LINE__, L"\"C:\\Program Files\\App\\app.exe\" /x \"a b\"", L"C:\\Program Files\\App\\app.exe",
       L"/x \"a b\""},
      {__LINE__, L"C:\\Program Files\\App\\app.exe /x", L"C:\\Program Files\\App\\app.exe", L"/x"},
      {__LINE__, L"C:\\Program Files\\Other\\x.exe /a", L"C:\\Program", L"Files\\Other\\x.exe /a"},
      {__LINE__, L"notepad  C:\\doc.txt ", L"notepad", L"C:\\doc.txt"},
      {__LINE__, L"unknown thing here", L"unknown", L"thing here"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    const SplitCommand split = splitTaskCommandLine(r.text, sys);
    EXPECT_EQ(split.program, r.program);
    EXPECT_EQ(split.arguments, r.arguments);
  }
  // Only what an atom can hold is read.
  const SplitCommand cut = splitTaskCommandLine(L"notepad " + std::wstring(400, L'a'), sys);
  EXPECT_EQ(cut.program, L"notepad");
  EXPECT_EQ(cut.arguments.size(), kMaxAtomChars - 8);
}

}  // namespace
}  // namespace vorbin
