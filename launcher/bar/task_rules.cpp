// Marking task entries, the targets of commands, and the geometry of
// cascade and tile.
#include "launcher/bar/task_rules.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <unordered_set>

namespace vorbin {

namespace {

bool validEntry(const TaskTable& table, int n) { return n >= 1 && static_cast<size_t>(n) < table.size(); }

}  // namespace

MarkOutcome markByClick(TaskTable& table, int& anchor, const MarkClick& click) {
  MarkOutcome out;
  if (!validEntry(table, click.entry)) return out;
  if (click.shift) {
    const int from = validEntry(table, anchor) ? anchor : click.entry;
    out.changed = markRange(table, from, click.entry);
    return out;
  }
  if (click.ctrl) {
    TaskEntry& e = table[static_cast<size_t>(click.entry)];
    e.marked = e.marked ? 0 : 1;
    anchor = click.entry;
    out.changed = true;
    return out;
  }
  out.switchTo = true;
  return out;
}

bool markRange(TaskTable& table, int first, int last) {
  if (table.size() < 2) return false;
  const int top = static_cast<int>(table.size()) - 1;
  const int lo = std::clamp(std::min(first, last), 1, top);
  const int hi = std::clamp(std::max(first, last), 1, top);
  bool changed = false;
  for (int n = lo; n <= hi; ++n) {
    TaskEntry& e = table[static_cast<size_t>(n)];
    changed |= e.marked == 0;
    e.marked = 1;
  }
  return changed;
}

int markedCount(const TaskTable& table) {
  int n = 0;
  for (size_t i = 1; i < table.size(); ++i) n += table[i].marked != 0;
  return n;
}

std::vector<void*> markedWindows(const TaskTable& table) {
  std::vector<void*> windows;
  for (size_t i = 1; i < table.size(); ++i)
    if (table[i].marked) windows.push_back(table[i].window);
  return windows;
}

std::vector<TaskTarget> markedTargets(const TaskTable& table) {
  std::vector<TaskTarget> targets;
  for (size_t i = 1; i < table.size(); ++i)
    if (table[i].marked) targets.push_back({table[i].window, table[i].processId});
  return targets;
}

bool sameTaskWindow(bool exists, uint32_t recordedProcess, uint32_t processNow) {
  // An entry without a recorded process cannot be told from a stranger.
  return exists && recordedProcess != 0 && processNow == recordedProcess;
}

bool markByBand(TaskTable& table, const std::vector<void*>& kept, const std::vector<int>& touched) {
  bool changed = false;
  for (size_t i = 1; i < table.size(); ++i) {
    TaskEntry& e = table[i];
    const bool inBand = std::find(touched.begin(), touched.end(), static_cast<int>(i)) != touched.end();
    const bool keep = std::find(kept.begin(), kept.end(), e.window) != kept.end();
    const int marked = inBand || keep ? 1 : 0;
    changed |= e.marked != marked;
    e.marked = marked;
  }
  return changed;
}

TileChoice tileChoice(int commandId, const Rect& work) {
  TileChoice c;
  c.horizontal = (commandId & 0x2000) != 0;
  c.area = work;
  const int midX = work.left + work.width() / 2;
  const int midY = work.top + work.height() / 2;
  switch (commandId & 0x70) {
    case 0x20:
      c.area.right = midX;
      break;
    case 0x30:
      c.area.left = midX;
      break;
    case 0x40:
      c.area.bottom = midY;
      break;
    case 0x50:
      c.area.top = midY;
      break;
    default:
      break;
  }
  return c;
}

std::vector<Rect> tileRects(size_t count, const Rect& area, bool horizontal) {
  std::vector<Rect> out;
  if (count == 0 || area.empty()) return out;
  // Lines along the tiling direction, cells across them; a short last line
  // gives its cells more room.
  const int n = static_cast<int>(std::min<size_t>(count, 4096));
  const int lines = n < 4 ? 1 : static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  const int perLine = (n + lines - 1) / lines;
  // Stacked windows (horizontal tiling) are rows; side by side, columns.
  const int across = horizontal ? area.height() : area.width();
  const int along = horizontal ? area.width() : area.height();
  int placed = 0;
  for (int line = 0; line < lines && placed < n; ++line) {
    const int inLine = std::min(perLine, n - placed);
    // With several lines, a line is a band of the along extent.
    const int bandA = along * line / lines;
    const int bandB = along * (line + 1) / lines;
    for (int k = 0; k < inLine; ++k) {
      const int a = across * k / inLine;
      const int b = across * (k + 1) / inLine;
      Rect r;
      if (horizontal) {
        r = {area.left + bandA, area.top + a, area.left + bandB, area.top + b};
      } else {
        r = {area.left + a, area.top + bandA, area.left + b, area.top + bandB};
      }
      out.push_back(r);
      ++placed;
    }
  }
  return out;
}

std::vector<Rect> cascadeRects(size_t count, const Rect& area, int step) {
  std::vector<Rect> out;
  if (count == 0 || area.empty()) return out;
  step = std::max(1, step);
  const int width = std::max(1, area.width() * 2 / 3);
  const int height = std::max(1, area.height() * 2 / 3);
  // Steps that fit before a window would leave the area.
  const int fits = std::max(1, std::min((area.width() - width) / step, (area.height() - height) / step) + 1);
  const size_t n = std::min<size_t>(count, 4096);
  for (size_t i = 0; i < n; ++i) {
    const int k = static_cast<int>(i % static_cast<size_t>(fits));
    const int x = area.left + k * step;
    const int y = area.top + k * step;
    out.push_back({x, y, x + width, y + height});
  }
  return out;
}

bool isExplorerProgram(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  constexpr std::wstring_view kExplorer = L"explorer.exe";
  if (name.size() != kExplorer.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (static_cast<wchar_t>(std::towlower(name[i])) != kExplorer[i]) return false;
  return true;
}

std::wstring taskButtonTarget(std::wstring_view path, std::wstring_view arguments) {
  std::wstring target;
  if (path.find(L' ') != std::wstring_view::npos) {
    target = L"\"";
    target += path;
    target += L"\"";
  } else {
    target = path;
  }
  if (!arguments.empty()) {
    target += L' ';
    target += arguments;
  }
  return target;
}

std::wstring taskDetailsLine(std::wstring_view imagePath, uint32_t processId, std::wstring_view priorityName,
                             std::wstring_view typeName) {
  const size_t slash = imagePath.find_last_of(L"\\/");
  std::wstring line(slash == std::wstring_view::npos ? imagePath : imagePath.substr(slash + 1));
  if (line.empty()) line = L"?";
  line += L"  (pid " + std::to_wstring(processId);
  if (!priorityName.empty()) {
    line += L", ";
    line += priorityName;
  }
  line += L", ";
  line += typeName;
  line += L")";
  return line;
}

uint32_t WindowOwners::known(const void* window) const {
  const auto found = m_process.find(window);
  return found == m_process.end() ? 0 : found->second;
}

bool WindowOwners::asked(uint32_t thread, uint32_t process) {
  if (thread == 0 || process == 0) return false;
  int& times = m_timesAsked[thread];
  if (times < 0) return false;
  if (++times < 2) return false;
  times = -1;
  return true;
}

void WindowOwners::listed(uint32_t process, const std::vector<void*>& windows) {
  if (process == 0) return;
  for (void* window : windows) m_process[window] = process;
}

std::vector<void*> windowsWithout(const std::vector<void*>& all, const std::vector<void*>& leaveOut) {
  if (leaveOut.empty()) return all;
  const std::unordered_set<const void*> out(leaveOut.begin(), leaveOut.end());
  std::vector<void*> kept;
  kept.reserve(all.size());
  for (void* window : all)
    if (!out.count(window)) kept.push_back(window);
  return kept;
}

}  // namespace vorbin
