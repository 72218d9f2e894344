// Process details and command lines of real victim programs under Wine.
#include "launcher/services/process_info.h"

#include <gtest/gtest.h>

#include <string>

#include "launcher/services/process_rules.h"
#include "tests/hook/hook_target.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

std::wstring folded(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

std::wstring systemImagePath(HANDLE process) {
  wchar_t path[1024] = {};
  DWORD length = 1024;
  if (!QueryFullProcessImageNameW(process, 0, path, &length)) return {};
  return std::wstring(path, length);
}

// A second program with one visible window, closed at the end. It reports
// its window once it waits for messages: a close that came earlier would be
// lost in its start-up pump.
struct Victim {
  e2e::Process process;
  HWND sink = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HWND window = nullptr;

  explicit Victim(const std::wstring& extraArguments = L"") {
    if (!process.start(e2e::binPath(L"hook_target.exe"), arguments() + extraArguments)) return;
    for (const DWORD start = GetTickCount(); !window && GetTickCount() - start < 10000;) {
      MSG msg;
      if (PeekMessageW(&msg, sink, hook_target::kMsgTopWindow, hook_target::kMsgTopWindow, PM_REMOVE)) {
        window = reinterpret_cast<HWND>(msg.wParam);
      } else {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
      }
    }
  }
  ~Victim() {
    e2e::closeAndWait(process, window, 5000);
    DestroyWindow(sink);
  }
  std::wstring arguments() const {
    wchar_t text[40] = {};
    swprintf(text, 40, L"idle %llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(sink)));
    return text;
  }
  void retitle(const std::wstring& title) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()), SMTO_ABORTIFHUNG,
                        2000, &ignored);
  }
};

TEST(ProcessInfo, DetailsOfARunningProgram) {
  Victim victim;
  ASSERT_TRUE(victim.window);
  const std::wstring expected = systemImagePath(victim.process.handle());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(folded(expected), folded(e2e::binPath(L"hook_target.exe")));

  struct Row {
    DWORD priorityClass;
    int32_t base;
    const wchar_t* name;
  } rows[] = {{HIGH_PRIORITY_CLASS, 13, L"High"},
              {IDLE_PRIORITY_CLASS, 4, L"Idel"},
              {ABOVE_NORMAL_PRIORITY_CLASS, 32768, L""},
              {NORMAL_PRIORITY_CLASS, 8, L"Normal"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.base);
    ASSERT_TRUE(SetPriorityClass(victim.process.handle(), r.priorityClass));
    const ProcessDetails details = queryProcess(victim.window);
    EXPECT_EQ(details.processId, victim.process.pid());
    EXPECT_EQ(details.imagePath, expected);
    EXPECT_EQ(details.basePriority, r.base);
    EXPECT_EQ(details.priorityName(), r.name);
    // A 64-bit program's instance handle lies far above 0xFFFF.
    EXPECT_TRUE(details.is64Bit);
    EXPECT_EQ(details.typeName, L"32Bit");
  }
}

TEST(ProcessInfo, CommandLineComesFromTheHookLibraryOnce) {
  Victim victim;
  ASSERT_TRUE(victim.window);
  const std::wstring program = e2e::binPath(L"hook_target.exe");
  const TaskCommandLine line = taskCommandLine(victim.window);
  EXPECT_EQ(line.source, CommandLineSource::kHookLibrary);
  EXPECT_EQ(folded(line.program), folded(program));
  EXPECT_EQ(line.arguments, victim.arguments());
  // The atom was made for one read.
  EXPECT_EQ(GlobalFindAtomW((L"\"" + program + L"\" " + victim.arguments()).c_str()), 0);
}

TEST(ProcessInfo, TooLongCommandLineFallsBackToPathAndTitle) {
  Victim victim(L" " + std::wstring(300, L'x'));
  ASSERT_TRUE(victim.window);
  const std::wstring expected = systemImagePath(victim.process.handle());
  const std::wstring document = e2e::binPath(L"hook_target.exe");

  victim.retitle(L"Re: " + document);
  TaskCommandLine line = taskCommandLine(victim.window);
  EXPECT_EQ(line.source, CommandLineSource::kTitle);
  EXPECT_EQ(line.program, expected);
  EXPECT_EQ(line.arguments, document);

  victim.retitle(document + L" - Victim");
  EXPECT_EQ(taskCommandLine(victim.window).arguments, document);

  victim.retitle(L"");
  line = taskCommandLine(victim.window);
  EXPECT_EQ(line.source, CommandLineSource::kProgramOnly);
  EXPECT_EQ(line.program, expected);
  EXPECT_EQ(line.arguments, L"");
}

TEST(ProcessInfo, EndedProgramGivesEmptyAnswers) {
  Victim victim;
  ASSERT_TRUE(victim.window);
  const HWND window = victim.window;
  // Ended but still held open here: its id cannot be given to another process yet.
  ASSERT_TRUE(TerminateProcess(victim.process.handle(), 1));
  ASSERT_TRUE(victim.process.wait(5000));
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsWindow(window); }, 5000));

  const ProcessDetails details = queryProcess(window);
  EXPECT_EQ(details.processId, 0u);
  EXPECT_TRUE(details.imagePath.empty());
  EXPECT_EQ(details.priorityName(), L"");
  const TaskCommandLine line = taskCommandLine(window);
  EXPECT_TRUE(line.program.empty());
  EXPECT_TRUE(line.arguments.empty());
  EXPECT_TRUE(queryProcess(nullptr).imagePath.empty());
}

}  // namespace
}  // namespace vorbin
