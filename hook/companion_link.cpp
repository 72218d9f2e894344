#include "hook/companion_link.h"

#include <algorithm>
#include <charconv>

namespace vorber {

void recordMirrorCall(CompanionMirror& mirror, MirrorCall call, int32_t a, int32_t b, int32_t c, int32_t d) {
  const size_t index = static_cast<size_t>(call);
  if (index >= kMirrorCallCount) return;
  // Zero means "never called": skip it when the counter wraps.
  if (++mirror.lastStamp == 0) mirror.lastStamp = 1;
  mirror.entries[index] = {mirror.lastStamp, {a, b, c, d}};
}

std::vector<PendingCall> pendingMirrorCalls(const CompanionMirror& applied, const CompanionMirror& current) {
  std::vector<PendingCall> calls;
  if (current.size != sizeof(CompanionMirror)) return calls;
  for (size_t i = 0; i < kMirrorCallCount; ++i) {
    const MirrorEntry& entry = current.entries[i];
    if (entry.stamp != 0 && entry.stamp != applied.entries[i].stamp)
      calls.push_back({static_cast<MirrorCall>(i), entry});
  }
  // Oldest first, counting from the newest stamp so that a wrapped counter
  // still orders the calls as they were made.
  const uint32_t newest = current.lastStamp;
  std::stable_sort(calls.begin(), calls.end(), [newest](const PendingCall& x, const PendingCall& y) {
    return newest - x.entry.stamp > newest - y.entry.stamp;
  });
  return calls;
}

std::string mirrorBlockName(uint32_t launcherPid) {
  return "Local\\Vorber2kMirror." + std::to_string(launcherPid);
}

std::string pointerBlockName(uint32_t launcherPid) {
  return "Local\\Vorber2kPointer." + std::to_string(launcherPid);
}

PointerRecord newerPointerRecord(const PointerRecord& own, const PointerRecord* companion) {
  PointerRecord merged = own;
  if (!companion) return merged;
  if (companion->activationStamp > own.activationStamp) {
    merged.activationStamp = companion->activationStamp;
    merged.activationX = companion->activationX;
    merged.activationY = companion->activationY;
    merged.activationPos = companion->activationPos;
  }
  if (companion->pressStamp > own.pressStamp) {
    merged.pressStamp = companion->pressStamp;
    merged.pressedWindow = companion->pressedWindow;
  }
  return merged;
}

std::string companionWindowTitle(uint32_t launcherPid) { return std::to_string(launcherPid); }

std::string companionArguments(uint32_t launcherPid) { return std::to_string(launcherPid); }

std::optional<uint32_t> parseCompanionArguments(std::string_view arguments) {
  const size_t first = arguments.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  const size_t last = arguments.find_last_not_of(" \t");
  const std::string_view text = arguments.substr(first, last - first + 1);
  uint32_t pid = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
  if (error != std::errc{} || end != text.data() + text.size() || pid == 0) return std::nullopt;
  return pid;
}

bool shouldStartCompanion(bool nativeIs64, bool launcherIs64) { return nativeIs64 && launcherIs64; }

}  // namespace vorber
