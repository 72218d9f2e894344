// The pickers' decisions without windows (see picker_rules.h).
#include "launcher/widgets/picker_rules.h"

#include <algorithm>

namespace vorbin {

void addToHistory(CmdHistory& history, std::wstring_view command) {
  if (command.empty()) return;
  std::vector<std::wstring> entries = historyEntries(history);
  std::erase(entries, std::wstring(command));
  entries.insert(entries.begin(), std::wstring(command));
  for (size_t i = 0; i < history.size(); ++i) history[i] = i < entries.size() ? entries[i] : L"";
}

std::vector<std::wstring> historyEntries(const CmdHistory& history) {
  std::vector<std::wstring> entries;
  for (const std::wstring& entry : history) {
    if (entry.empty()) break;
    entries.push_back(entry);
  }
  return entries;
}

std::wstring quoteIfBlank(std::wstring_view name) {
  const bool quoted = name.size() >= 2 && name.front() == L'"' && name.back() == L'"';
  if (quoted || name.find(L' ') == std::wstring_view::npos) return std::wstring(name);
  return L"\"" + std::wstring(name) + L"\"";
}

std::wstring programFolder(std::wstring_view command) {
  std::wstring_view program = command;
  if (!program.empty() && program.front() == L'"') {
    program.remove_prefix(1);
    program = program.substr(0, program.find(L'"'));
  } else {
    program = program.substr(0, program.find(L' '));
  }
  const bool drive = program.size() >= 3 && program[1] == L':' && program[2] == L'\\';
  const bool unc = program.size() >= 2 && program[0] == L'\\' && program[1] == L'\\';
  const size_t slash = program.rfind(L'\\');
  if ((!drive && !unc) || slash == std::wstring_view::npos) return {};
  if (drive && slash == 2) return std::wstring(program.substr(0, 3));
  return std::wstring(program.substr(0, slash));
}

RebuiltCommand rebuildCommand(std::wstring_view typed, LaunchSystem& sys, size_t limit) {
  const std::wstring text = trimBlanks(typed);
  SplitCommand split = splitCommand(text, sys);
  if (FoundFile found = findFile(split.program, sys); found.result != 0) split.program = found.path;
  RebuiltCommand rebuilt;
  rebuilt.text = quoteIfBlank(split.program);
  if (!split.arguments.empty()) rebuilt.text += L" " + split.arguments;
  rebuilt.fits = rebuilt.text.size() <= limit;
  return rebuilt;
}

std::vector<std::wstring> pickedPaths(std::span<const wchar_t> buffer) {
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= buffer.size(); ++i) {
    if (i < buffer.size() && buffer[i] != L'\0') continue;
    if (i == start) break;  // the empty name ends the list
    parts.emplace_back(buffer.data() + start, i - start);
    start = i + 1;
  }
  std::vector<std::wstring> paths;
  if (parts.size() == 1) {
    paths.emplace_back(parts[0]);
    return paths;
  }
  for (size_t i = 1; i < parts.size(); ++i) {
    std::wstring path(parts[0]);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    paths.push_back(path + std::wstring(parts[i]));
  }
  return paths;
}

namespace {
std::vector<std::wstring_view> filterParts(std::wstring_view filter) {
  const wchar_t separator = filter.find(L'\0') != std::wstring_view::npos ? L'\0' : L'|';
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  while (start < filter.size()) {
    size_t end = filter.find(separator, start);
    if (end == std::wstring_view::npos) end = filter.size();
    if (end == start && separator == L'\0') break;
    parts.push_back(filter.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}
}  // namespace

std::wstring systemFilter(std::wstring_view filter) {
  std::wstring result;
  for (std::wstring_view part : filterParts(filter)) {
    result += part;
    result += L'\0';
  }
  result += L'\0';
  return result;
}

std::wstring filterPattern(std::wstring_view filter, int filterIndex) {
  const std::vector<std::wstring_view> parts = filterParts(filter);
  const size_t at = filterIndex >= 1 ? static_cast<size_t>(filterIndex) * 2 - 1 : parts.size();
  if (at >= parts.size() || parts[at].empty()) return L"*.*";
  return std::wstring(parts[at]);
}

namespace icon_grid {

int rowCount(int count) { return count <= 0 ? 0 : (count + kColumns - 1) / kColumns; }

int maxTopRow(int count) { return std::max(0, rowCount(count) - kVisibleRows); }

Cell move(Cell from, Move key, int count) {
  if (count <= 0) return from;
  const int last = count - 1;
  const int index = indexOf(from);
  Cell to = from;
  switch (key) {
    case Move::kLeft:
      if (from.column > 0) {
        to.column--;
      } else if (from.row > 0) {
        to = {from.row - 1, kColumns - 1};
      }
      break;
    case Move::kRight:
      if (index + 1 > last) break;
      to = cellOf(index + 1);
      break;
    case Move::kUp:
      if (from.row > 0) to.row--;
      break;
    case Move::kDown:
      if (index + kColumns <= last) to.row++;
      break;
    case Move::kHome:
      to = {0, 0};
      break;
    case Move::kEnd:
      to = cellOf(last);
      break;
    case Move::kPageUp:
      to.row = std::max(0, from.row - kVisibleRows);
      break;
    case Move::kPageDown:
      to.row = std::min(rowCount(count) - 1, from.row + kVisibleRows);
      if (indexOf(to) > last) to = cellOf(last);
      break;
  }
  return indexOf(to) <= last ? to : from;
}

std::optional<Cell> hitTest(int x, int y, int topRow, int count) {
  const Cell cell{std::max(0, topRow) + std::clamp(y / kCell, 0, kVisibleRows - 1),
                  std::clamp(x / kCell, 0, kColumns - 1)};
  if (x < 0 || y < 0 || indexOf(cell) >= count) return std::nullopt;
  return cell;
}

}  // namespace icon_grid

std::optional<Rect> restoredPickerBox(Rect saved, Rect work, int minWidth, int minHeight) {
  if (saved.empty() || work.empty()) return std::nullopt;
  const int width = std::min(std::max(saved.width(), minWidth), work.width());
  const int height = std::min(std::max(saved.height(), minHeight), work.height());
  const Point at = keepInside({saved.left, saved.top}, width, height, work);
  return Rect{at.x, at.y, at.x + width, at.y + height};
}

}  // namespace vorbin
