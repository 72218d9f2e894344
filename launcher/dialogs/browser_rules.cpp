// The file browser's rules.
#include "launcher/dialogs/browser_rules.h"

#include <algorithm>

#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

constexpr wchar_t kIdeographicSpace = 0x3000;

int compareFolding(std::wstring_view a, std::wstring_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const wchar_t x = foldAscii(a[i]), y = foldAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::wstring folded(std::wstring_view text) {
  std::wstring out(text);
  std::transform(out.begin(), out.end(), out.begin(), foldAscii);
  return out;
}

bool isPatternSeparator(wchar_t c) { return c == L';' || isSpaceOrTab(c); }

}  // namespace

FilterList parseFilterText(std::wstring_view text) {
  FilterList list;
  std::vector<std::wstring_view> fields;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t bar = std::min(text.find(L'|', start), text.size());
    fields.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  for (size_t i = 0; i < fields.size(); i += 2) {
    if (fields[i].empty()) break;
    list.descriptions.emplace_back(fields[i]);
    std::wstring_view pattern =
        i + 1 < fields.size() ? trimmed(fields[i + 1], isSpaceOrTab) : std::wstring_view{};
    list.patterns.emplace_back(pattern.empty() ? std::wstring(L"*.*") : std::wstring(pattern));
  }
  return list;
}

int clampFilterIndex(int index, const FilterList& filters) {
  const int last = static_cast<int>(filters.descriptions.size()) - 1;
  if (last < 0 || index < 0) return 0;
  return std::min(index, last);
}

std::vector<std::wstring> splitFilterPatterns(std::wstring_view field) {
  std::vector<std::wstring> patterns;
  for (std::wstring& piece : splitPieces(field, isPatternSeparator)) {
    if (piece.find_first_of(L"\\/:") != std::wstring::npos) continue;
    if (piece == L"." || piece == L"..") continue;
    patterns.push_back(std::move(piece));
  }
  return patterns;
}

bool ListedNames::add(std::wstring_view name) { return m_seen.insert(folded(name)).second; }

std::wstring shownFileName(std::wstring_view name, bool hasShortForm) {
  std::wstring shown(name);
  if (hasShortForm || shown.empty()) return shown;
  std::transform(shown.begin(), shown.end(), shown.begin(), foldAscii);
  if (shown[0] >= L'a' && shown[0] <= L'z') shown[0] = static_cast<wchar_t>(shown[0] - 32);
  return shown;
}

std::wstring_view typeExtension(std::wstring_view name) {
  const size_t dot = name.find(L'.');
  return dot == std::wstring_view::npos ? std::wstring_view{} : name.substr(dot);
}

int compareRecords(const FileRecord& a, const FileRecord& b, int mode) {
  if (mode == 2 || mode == 3) {
    if (a.writeTime != b.writeTime) {
      const int order = a.writeTime < b.writeTime ? -1 : 1;
      return mode == 3 ? -order : order;
    }
    return compareFolding(a.name, b.name);
  }
  if (mode == 4) {
    const std::wstring_view ea = typeExtension(a.name), eb = typeExtension(b.name);
    if (ea.empty() != eb.empty()) return ea.empty() ? -1 : 1;
    if (const int order = compareFolding(ea, eb)) return order;
    return compareFolding(a.name, b.name);
  }
  const int order = compareFolding(a.name, b.name);
  return (mode & 1) ? -order : order;
}

int sortAfterColumnClick(int column, int mode) {
  if (column == 0) return mode == 0 ? 1 : 0;
  return mode == 3 ? 2 : 3;
}

std::wstring selectionText(const std::vector<std::wstring>& names, size_t limit) {
  if (names.empty() || limit == 0) return {};
  if (names.size() == 1) return names[0].size() < limit ? names[0] : std::wstring{};
  std::wstring text;
  for (const std::wstring& name : names) {
    const size_t extra = name.size() + 2 + (text.empty() ? 0 : 1);
    if (text.size() + extra >= limit) break;
    if (!text.empty()) text += L' ';
    text += L'"';
    text += name;
    text += L'"';
  }
  return text;
}

DeleteList deleteList(std::wstring_view folder, const std::vector<std::wstring>& names, size_t limit) {
  DeleteList list;
  std::wstring prefix(folder);
  if (!prefix.empty() && prefix.back() != L'\\') prefix += L'\\';
  for (const std::wstring& name : names) {
    // This path, its NUL and the list's final NUL must fit.
    if (list.text.size() + prefix.size() + name.size() + 2 > limit) break;
    list.text += prefix;
    list.text += name;
    list.text += L'\0';
    ++list.count;
  }
  list.text += L'\0';
  return list;
}

bool holdsWildcard(std::wstring_view text) {
  for (wchar_t c : text) {
    if (c == L',' || c == L' ' || c == kIdeographicSpace) return false;
    if (c == L'*' || c == L'?') return true;
  }
  return false;
}

OkDecision decideOk(std::wstring_view text, int selected) {
  const std::wstring_view trimmedText = trimmed(text, isSpaceOrTab);
  if (trimmedText.empty()) return {};
  if (holdsWildcard(trimmedText)) return {OkAction::kUsePattern, std::wstring(trimmedText)};
  std::wstring result(trimmedText);
  if (selected <= 1 && result.find(L' ') != std::wstring::npos && result.front() != L'"')
    result = L'"' + result + L'"';
  return {OkAction::kClose, std::move(result)};
}

bool acceptableNewName(std::wstring_view name) {
  if (name.empty() || name.size() > 255) return false;
  if (name == L"." || name == L"..") return false;
  for (wchar_t c : name) {
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  }
  if (name.back() == L' ' || name.back() == L'.') return false;
  const std::wstring base = folded(name.substr(0, name.find(L'.')));
  static constexpr std::wstring_view kDevices[] = {L"con", L"prn", L"aux", L"nul"};
  for (std::wstring_view device : kDevices)
    if (base == device) return false;
  if (base.size() == 4 && (base.starts_with(L"com") || base.starts_with(L"lpt")) && base[3] >= L'1' &&
      base[3] <= L'9')
    return false;
  return true;
}

bool renameWanted(std::wstring_view oldName, std::wstring_view newName) {
  return !newName.empty() && !equalsFoldingAscii(oldName, newName);
}

}  // namespace vorbin

namespace vorbin {

std::wstring filePickFilter(std::wstring_view itemTemplate, std::wstring_view pattern,
                            std::wstring_view allFiles, std::wstring_view wildCard) {
  std::wstring filter;
  const std::wstring_view ownPattern = trimmed(pattern, isSpaceOrTab);
  if (!ownPattern.empty()) {
    for (size_t i = 0; i < itemTemplate.size(); ++i) {
      if (itemTemplate.substr(i, 2) == L"%s") {
        filter += ownPattern;
        ++i;
      } else {
        filter += itemTemplate[i];
      }
    }
  }
  filter += allFiles;
  filter += wildCard;
  return filter;
}

}  // namespace vorbin
