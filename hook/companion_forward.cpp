// The launcher's calls of the setters are written to a named block of plain
// integers, and the companion's window is told to read it. The block lives
// as long as the launcher does; the companion, started at any moment, reads
// it when its window exists, so no call made before is lost.
#include "hook/companion_forward.h"

#include <cstring>

namespace vorber {

#if defined(_WIN64)

namespace {

// Per process: only the launcher calls the setters.
CompanionMirror g_mirror;
HANDLE g_block;
CompanionMirror* g_view;

HWND companionWindow() {
  const std::string title = companionWindowTitle(GetCurrentProcessId());
  return FindWindowExA(HWND_MESSAGE, nullptr, kCompanionWindowClass, title.c_str());
}

}  // namespace

bool companionRunning() { return companionWindow() != nullptr; }

void mirrorForCompanion(MirrorCall call, int32_t a, int32_t b, int32_t c, int32_t d) {
  recordMirrorCall(g_mirror, call, a, b, c, d);
  if (!g_view) {
    if (!g_block) {
      const std::string name = mirrorBlockName(GetCurrentProcessId());
      g_block = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CompanionMirror),
                                   name.c_str());
    }
    if (g_block) g_view = static_cast<CompanionMirror*>(MapViewOfFile(g_block, FILE_MAP_WRITE, 0, 0, 0));
    if (!g_view) return;
  }
  // The block first, then the notice: a companion whose window appears after
  // this look-up reads the block after creating it.
  std::memcpy(static_cast<void*>(g_view), &g_mirror, sizeof g_mirror);
  if (HWND companion = companionWindow()) {
    static const UINT changed = RegisterWindowMessageA(kMirrorChangedMessage);
    PostMessageA(companion, changed, 0, 0);
  }
}

bool taskInfoFromCompanion(HWND window, UINT& atom) {
  atom = 0;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return false;
  BOOL wow64 = FALSE;
  const bool ok = IsWow64Process(process, &wow64);
  CloseHandle(process);
  if (!ok || !wow64) return false;
  if (HWND companion = companionWindow()) {
    static const UINT question = RegisterWindowMessageA(kCompanionTaskInfoMessage);
    DWORD_PTR answer = 0;
    // The companion asks the window's thread with its own bounded waits.
    if (SendMessageTimeoutA(companion, question, reinterpret_cast<WPARAM>(window), 0,
                            SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &answer)) {
      atom = static_cast<UINT>(answer & 0xFFFFu);
    }
  }
  return true;
}

bool pointerFromCompanion(PointerRecord& record) {
  HWND companion = companionWindow();
  if (!companion) return false;
  // The answer comes back in a block of plain integers that this library
  // owns; the companion is told only the number of the question.
  static HANDLE block;
  static CompanionPointer* view;
  static uint32_t question;
  if (!view) {
    if (!block) {
      const std::string name = pointerBlockName(GetCurrentProcessId());
      block = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CompanionPointer),
                                 name.c_str());
    }
    if (block) view = static_cast<CompanionPointer*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return false;
  }
  if (++question == 0) question = 1;
  view->answer = 0;
  static const UINT message = RegisterWindowMessageA(kCompanionPointerMessage);
  DWORD_PTR result = 0;
  // Bounded: the bar is placed at once, with its own record, when the companion is slow.
  if (!SendMessageTimeoutA(companion, message, question, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 500, &result) ||
      result != 1) {
    return false;
  }
  CompanionPointer answer;
  std::memcpy(&answer, view, sizeof answer);
  if (answer.size != sizeof answer || answer.answer != question) return false;
  record = answer.record;
  return true;
}

#else

bool pointerFromCompanion(PointerRecord&) { return false; }
bool companionRunning() { return false; }
void mirrorForCompanion(MirrorCall, int32_t, int32_t, int32_t, int32_t) {}
bool taskInfoFromCompanion(HWND, UINT& atom) {
  atom = 0;
  return false;
}

#endif

}  // namespace vorber
