// The link between the 64-bit hook library in the launcher and the 32-bit
// companion program that installs the 32-bit build of the same library.
//
// The launcher's calls of the library's setters are mirrored into a small
// named block of plain integers (one entry per kind of call, stamped with a
// running number); the companion replays the entries it has not seen yet,
// oldest first, on the 32-bit library. Window handles are 32-bit values in
// both worlds, so they travel as such; nothing here is a pointer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorber {

enum class MirrorCall : uint32_t {
  kHook = 0,          // args: on (SetHook 1, FreeHook 0), launcher window
  kVorbMode,          // args: mode, edges
  kDirectX,           // args: flag
  kCtrlRect,          // args: left, top, right, bottom
  kTaskMode,          // args: on
  kReMouseHook,       // no args
  kAnimate,           // args: restore
  kCancelForeFlag,    // no args
  kCancelDeleteMenu,  // no args
  kCount
};
inline constexpr size_t kMirrorCallCount = static_cast<size_t>(MirrorCall::kCount);

struct MirrorEntry {
  uint32_t stamp = 0;  // 0: never called
  int32_t args[4] = {};
};

struct CompanionMirror {
  uint32_t size = sizeof(CompanionMirror);  // a block of another layout is ignored
  uint32_t lastStamp = 0;
  MirrorEntry entries[kMirrorCallCount] = {};
};
static_assert(sizeof(CompanionMirror) == 8 + 20 * kMirrorCallCount,
              "the block must not depend on the bitness");

// Records a call; its stamp is the next running number.
void recordMirrorCall(CompanionMirror& mirror, MirrorCall call, int32_t a = 0, int32_t b = 0, int32_t c = 0,
                      int32_t d = 0);

struct PendingCall {
  MirrorCall call;
  MirrorEntry entry;
};
// The calls of `current` whose stamp differs from `applied`, in the order
// they were made. A block of the wrong size yields nothing.
std::vector<PendingCall> pendingMirrorCalls(const CompanionMirror& applied, const CompanionMirror& current);

// What the companion's library last recorded of the pointer, written by the
// companion into a named block of the launcher's library when asked (the
// gesture may have been made over a 32-bit program's window, which only that
// library sees). Plain integers; window handles are 32-bit values in both
// worlds. A stamp of 0: never recorded.
struct PointerRecord {
  uint64_t activationStamp = 0;
  int32_t activationX = 0;
  int32_t activationY = 0;
  uint32_t activationPos = 0;
  uint32_t pressedWindow = 0;
  uint64_t pressStamp = 0;
};
struct CompanionPointer {
  uint32_t size = sizeof(CompanionPointer);  // a block of another layout is ignored
  uint32_t answer = 0;                       // the number of the question answered
  PointerRecord record;
};
static_assert(sizeof(CompanionPointer) == 40, "the block must not depend on the bitness");

// The launcher's own record and the companion's answer (when there is one)
// merged: the activation point from the record whose activation is newer,
// the pressed window likewise; the own record wins a tie.
PointerRecord newerPointerRecord(const PointerRecord& own, const PointerRecord* companion);

// Names shared by the launcher, its library and the companion. All of them
// carry the launcher's process id, so each launcher pairs with its own.
inline constexpr char kCompanionWindowClass[] = "Vorber2kCompanion";
inline constexpr char kCompanionMutexName[] = "Local\\Vorber2kCompanion";
inline constexpr char kMirrorChangedMessage[] = "Vorber2kMirrorChanged";
inline constexpr char kCompanionTaskInfoMessage[] = "Vorber2kCompanionTaskInfo";
inline constexpr char kCompanionFolder[] = "x86";
inline constexpr char kCompanionProgram[] = "VorbHook32.exe";
inline constexpr char kCompanionPointerMessage[] = "Vorber2kCompanionPointer";
std::string mirrorBlockName(uint32_t launcherPid);       // "Local\Vorber2kMirror.<pid>"
std::string pointerBlockName(uint32_t launcherPid);      // "Local\Vorber2kPointer.<pid>"
std::string companionWindowTitle(uint32_t launcherPid);  // "<pid>"

// The companion's command line: its quoted path and the launcher's process id.
std::string companionArguments(uint32_t launcherPid);
// The launcher's process id from the companion's arguments (the text after
// the program name); nothing when they are not one positive decimal number.
std::optional<uint32_t> parseCompanionArguments(std::string_view arguments);

// Where the system runs 64-bit programs, a 64-bit launcher needs the
// companion for the 32-bit ones. nativeIs64: the machine's own architecture.
bool shouldStartCompanion(bool nativeIs64, bool launcherIs64);

}  // namespace vorber
