// VorbHook32.exe: installs the 32-bit build of the hook library for the
// launcher whose process id it is given, replays the launcher's settings on
// it, answers the launcher's questions about windows of 32-bit programs, and
// ends (removing the hooks) as soon as the launcher's process is gone.
#include <windows.h>

#include <cstring>
#include <string>

#include "hook/companion_link.h"
#include "hook/shared_hook_state.h"
#include "hook/vorber2k.h"

// The tests build a 64-bit copy of this program that drives the test build of
// the library instead.
#ifndef VB_COMPANION_LIBRARY
#define VB_COMPANION_LIBRARY "Vorber2k.dll"
#endif

namespace {

using vorber::CompanionMirror;
using vorber::MirrorCall;

// The 32-bit library, loaded beside this program. Its entries by name: the
// same ANSI interface as the 64-bit library's.
struct HookLibrary {
  decltype(&::SetHook) setHook;
  decltype(&::FreeHook) freeHook;
  decltype(&::ReMouseHook) reMouseHook;
  decltype(&::SetVorbMode) setVorbMode;
  decltype(&::SetDirectXFlag) setDirectXFlag;
  decltype(&::SetCtrlRect) setCtrlRect;
  decltype(&::SetAnimate) setAnimate;
  decltype(&::SetTaskMode) setTaskMode;
  decltype(&::GetTaskInfo) getTaskInfo;
  decltype(&::CancelForeFlag) cancelForeFlag;
  decltype(&::CancelDeleteMenu) cancelDeleteMenu;
};
HookLibrary g_lib;

template <class Fn>
bool entry(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return fn != nullptr;
}

bool loadHookLibrary(HMODULE module) {
  return module && entry(module, "SetHook", g_lib.setHook) && entry(module, "FreeHook", g_lib.freeHook) &&
         entry(module, "ReMouseHook", g_lib.reMouseHook) && entry(module, "SetVorbMode", g_lib.setVorbMode) &&
         entry(module, "SetDirectXFlag", g_lib.setDirectXFlag) &&
         entry(module, "SetCtrlRect", g_lib.setCtrlRect) && entry(module, "SetAnimate", g_lib.setAnimate) &&
         entry(module, "SetTaskMode", g_lib.setTaskMode) && entry(module, "GetTaskInfo", g_lib.getTaskInfo) &&
         entry(module, "CancelForeFlag", g_lib.cancelForeFlag) &&
         entry(module, "CancelDeleteMenu", g_lib.cancelDeleteMenu);
}

// The library's shared block as mapped into this program: the one section
// the library keeps it in, found through the image's own section table. The
// library is this program's build (same source, same bitness), so the layout
// is its own.
const vorber::SharedHookState* g_libraryState;

const vorber::SharedHookState* sharedStateOf(HMODULE module) {
  if (!module) return nullptr;
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    if (std::strncmp(reinterpret_cast<const char*>(section->Name), "share_da", IMAGE_SIZEOF_SHORT_NAME) == 0 &&
        section->Misc.VirtualSize >= sizeof(vorber::SharedHookState)) {
      return reinterpret_cast<const vorber::SharedHookState*>(base + section->VirtualAddress);
    }
  }
  return nullptr;
}

// The library's record of the pointer; the hooks of other programs may be
// writing it: a copy that two reads agree on.
vorber::PointerRecord readPointerOnce() {
  const volatile vorber::SharedHookState& s = *g_libraryState;
  return {s.activationStamp, s.activationPoint.x, s.activationPoint.y, s.activationPos,
          static_cast<uint32_t>(s.lastPressedWindow), s.pressStamp};
}

vorber::PointerRecord libraryPointer() {
  vorber::PointerRecord first = readPointerOnce();
  for (int attempt = 0; attempt < 8; ++attempt) {
    const vorber::PointerRecord second = readPointerOnce();
    if (std::memcmp(&first, &second, sizeof first) == 0) break;
    first = second;
  }
  return first;
}

UINT g_changedMessage;
UINT g_taskInfoMessage;
UINT g_pointerMessage;
DWORD g_launcherPid;
HANDLE g_block;
const CompanionMirror* g_view;
CompanionMirror g_applied;

// The launcher may be writing while we read: take a copy that two reads agree on.
bool readMirror(CompanionMirror& copy) {
  if (!g_view) {
    if (!g_block) {
      const std::string name = vorber::mirrorBlockName(g_launcherPid);
      g_block = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
      if (!g_block) return false;
    }
    g_view = static_cast<const CompanionMirror*>(MapViewOfFile(g_block, FILE_MAP_READ, 0, 0, 0));
    if (!g_view) return false;
  }
  CompanionMirror second;
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::memcpy(&copy, g_view, sizeof copy);
    std::memcpy(&second, g_view, sizeof second);
    if (std::memcmp(&copy, &second, sizeof copy) == 0) return true;
    Sleep(1);
  }
  return false;
}

void replay(const vorber::PendingCall& p) {
  const int32_t* a = p.entry.args;
  switch (p.call) {
    case MirrorCall::kHook:
      if (a[0] != 0) {
        g_lib.setHook(reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(a[1]))), 0);
      } else {
        g_lib.freeHook();
      }
      break;
    case MirrorCall::kVorbMode:
      g_lib.setVorbMode(static_cast<UINT>(a[0]), static_cast<UINT>(a[1]));
      break;
    case MirrorCall::kDirectX:
      g_lib.setDirectXFlag(a[0]);
      break;
    case MirrorCall::kCtrlRect: {
      const RECT rect{a[0], a[1], a[2], a[3]};
      g_lib.setCtrlRect(&rect);
      break;
    }
    case MirrorCall::kTaskMode:
      g_lib.setTaskMode(a[0]);
      break;
    case MirrorCall::kReMouseHook:
      g_lib.reMouseHook();
      break;
    case MirrorCall::kAnimate:
      g_lib.setAnimate(a[0]);
      break;
    case MirrorCall::kCancelForeFlag:
      g_lib.cancelForeFlag();
      break;
    case MirrorCall::kCancelDeleteMenu:
      g_lib.cancelDeleteMenu();
      break;
    case MirrorCall::kCount:
      break;
  }
}

void catchUp() {
  CompanionMirror current;
  if (!readMirror(current)) return;
  for (const vorber::PendingCall& p : vorber::pendingMirrorCalls(g_applied, current)) replay(p);
  if (current.size == sizeof current) g_applied = current;
}

// Answers the launcher's question number `question` in its pointer block.
bool answerPointer(uint32_t question) {
  static HANDLE block;
  static vorber::CompanionPointer* view;
  if (!g_libraryState) return false;
  if (!view) {
    if (!block) {
      const std::string name = vorber::pointerBlockName(g_launcherPid);
      block = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
      if (!block) return false;
    }
    view = static_cast<vorber::CompanionPointer*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return false;
  }
  vorber::CompanionPointer answer;
  answer.answer = question;
  answer.record = libraryPointer();
  std::memcpy(static_cast<void*>(view), &answer, sizeof answer);
  return true;
}

LRESULT CALLBACK companionProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == g_changedMessage && g_changedMessage != 0) {
    catchUp();
    return 0;
  }
  if (msg == g_taskInfoMessage && g_taskInfoMessage != 0) {
    // Only the launcher asks; the answer is a global atom, not a pointer.
    return static_cast<LRESULT>(g_lib.getTaskInfo(reinterpret_cast<HWND>(wp)));
  }
  if (msg == g_pointerMessage && g_pointerMessage != 0) {
    // The answer is written to the launcher's block; only its number comes here.
    return answerPointer(static_cast<uint32_t>(wp)) ? 1 : 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// Everything the companion set up for 32-bit programs goes when it ends.
void cleanUp() {
  g_lib.freeHook();
  g_lib.setAnimate(TRUE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  const auto pid = vorber::parseCompanionArguments(arguments ? arguments : "");
  if (!pid) return 2;
  g_launcherPid = *pid;
  HANDLE launcher = OpenProcess(SYNCHRONIZE, FALSE, g_launcherPid);
  if (!launcher) return 3;
  if (WaitForSingleObject(launcher, 0) == WAIT_OBJECT_0) return 3;  // ended already

  // One companion per session. A companion of a launcher that has just ended
  // is leaving within moments: wait for it that long, no longer.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, vorber::kCompanionMutexName);
  if (!mutex) return 4;
  const DWORD owned = WaitForSingleObject(mutex, 3000);
  if (owned != WAIT_OBJECT_0 && owned != WAIT_ABANDONED) return 5;

  // From this program's own folder, not from wherever the search would look.
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 7;
  std::string libraryPath(path, length);
  libraryPath.erase(libraryPath.find_last_of('\\') + 1);
  libraryPath += VB_COMPANION_LIBRARY;
  HMODULE library = LoadLibraryA(libraryPath.c_str());
  if (!loadHookLibrary(library)) return 7;
  g_libraryState = sharedStateOf(library);

  g_changedMessage = RegisterWindowMessageA(vorber::kMirrorChangedMessage);
  g_taskInfoMessage = RegisterWindowMessageA(vorber::kCompanionTaskInfoMessage);
  g_pointerMessage = RegisterWindowMessageA(vorber::kCompanionPointerMessage);
  WNDCLASSA wc{};
  wc.lpfnWndProc = companionProc;
  wc.hInstance = instance;
  wc.lpszClassName = vorber::kCompanionWindowClass;
  RegisterClassA(&wc);
  const std::string title = vorber::companionWindowTitle(g_launcherPid);
  HWND window = CreateWindowExA(0, vorber::kCompanionWindowClass, title.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, instance, nullptr);
  if (!window) return 6;
  // The window exists before the first read: a later change is announced to it.
  catchUp();

  int result = 0;
  for (bool running = true; running;) {
    const DWORD wait = MsgWaitForMultipleObjects(1, &launcher, FALSE, g_view ? INFINITE : 250, QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0) break;     // the launcher has ended, however it ended
    if (wait == WAIT_TIMEOUT) catchUp();  // the block does not exist yet
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        running = false;
        result = static_cast<int>(msg.wParam);
        break;
      }
      DispatchMessageA(&msg);
    }
  }
  cleanUp();
  DestroyWindow(window);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  CloseHandle(launcher);
  return result;
}
