// The folder combo's path and list rules.
#include "launcher/widgets/folder_rules.h"

#include "launcher/services/text_chars.h"

namespace vorbin {

namespace {

constexpr bool isDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
constexpr wchar_t upperAscii(wchar_t c) {
  return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
}
constexpr bool isBackslash(wchar_t c) { return c == L'\\'; }

// Characters no folder name holds (':' is checked by position).
bool forbiddenInPath(wchar_t c) {
  return c < 32 || c == L'<' || c == L'>' || c == L'|' || c == L'*' || c == L'?' || c == L'"';
}

bool isTrailingTrim(wchar_t c) { return c == L' ' || c == L'.'; }

// Root and the text below it; root empty when path is not absolute.
struct RootSplit {
  std::wstring root;
  std::wstring_view rest;
};

RootSplit splitRoot(std::wstring_view path) {
  if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == L':') {
    return {std::wstring{upperAscii(path[0]), L':', L'\\'}, path.substr(2)};
  }
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    std::wstring_view rest = path.substr(2);
    const size_t serverEnd = rest.find(L'\\');
    if (serverEnd == 0 || serverEnd == std::wstring_view::npos) return {};
    std::wstring_view server = rest.substr(0, serverEnd);
    rest = trimFront(rest.substr(serverEnd), isBackslash);
    const size_t shareEnd = std::min(rest.find(L'\\'), rest.size());
    if (shareEnd == 0) return {};
    std::wstring root =
        L"\\\\" + std::wstring(server) + L"\\" + std::wstring(rest.substr(0, shareEnd)) + L"\\";
    return {std::move(root), rest.substr(shareEnd)};
  }
  return {};
}

}  // namespace

std::wstring pathRoot(std::wstring_view path) { return splitRoot(path).root; }

std::vector<std::wstring> pathChain(std::wstring_view path) {
  RootSplit split = splitRoot(path);
  if (split.root.empty()) return {};
  std::vector<std::wstring> chain{split.root};
  for (std::wstring& piece : splitPieces(split.rest, isBackslash)) chain.push_back(std::move(piece));
  return chain;
}

std::wstring pathFromChain(const std::vector<std::wstring>& chain, size_t index) {
  if (chain.empty()) return {};
  std::wstring path = chain[0];
  for (size_t i = 1; i <= index && i < chain.size(); ++i) {
    if (i > 1) path += L'\\';
    path += chain[i];
  }
  return path;
}

std::optional<std::wstring> normaliseTypedPath(std::wstring_view typed, std::wstring_view current) {
  std::wstring text;
  for (wchar_t c : trimmed(typed, isWhiteSpace)) {
    if (c == L'"') continue;
    text.push_back(c == L'/' ? L'\\' : c);
  }
  text = std::wstring(trimmed(text, isWhiteSpace));
  if (text.empty()) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    if (forbiddenInPath(text[i])) return std::nullopt;
    if (text[i] == L':' && !(i == 1 && isDriveLetter(text[0]))) return std::nullopt;
  }

  std::vector<std::wstring> parts;
  std::wstring root;
  std::wstring_view rest;
  RootSplit split = splitRoot(text);
  if (!split.root.empty()) {
    root = std::move(split.root);
    rest = split.rest;
  } else if (text.size() >= 2 && text[0] == L'\\' && text[1] == L'\\') {
    return std::nullopt;  // a server without a share
  } else {
    std::vector<std::wstring> base = pathChain(current);
    if (base.empty()) return std::nullopt;
    root = base[0];
    // "\x" starts at the root of the current folder's drive; "x" below the current folder.
    if (text[0] != L'\\') parts.assign(base.begin() + 1, base.end());
    rest = text;
  }

  for (const std::wstring& piece : splitPieces(rest, isBackslash)) {
    if (piece == L".") continue;
    if (piece == L"..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    // The file system drops trailing blanks and full stops of a name.
    std::wstring_view name = trimBack(piece, isTrailingTrim);
    if (name.empty()) continue;
    parts.emplace_back(name);
  }
  std::wstring path = root;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) path += L'\\';
    path += parts[i];
    if (path.size() > kMaxFolderChars) return std::nullopt;
  }
  if (path.size() > kMaxFolderChars) return std::nullopt;
  return path;
}

std::wstring deepestExisting(std::wstring_view path,
                             const std::function<bool(const std::wstring&)>& isFolder) {
  const std::vector<std::wstring> chain = pathChain(path);
  if (chain.empty()) return {};
  for (size_t i = chain.size() - 1; i > 0; --i) {
    std::wstring candidate = pathFromChain(chain, i);
    if (isFolder(candidate)) return candidate;
  }
  return chain[0];
}

bool listedSubfolder(std::wstring_view name) { return !name.empty() && name[0] != L'.'; }

std::wstring comboName(std::wstring_view name, bool hasShortForm) {
  std::wstring shown(name);
  if (!hasShortForm && !shown.empty()) shown[0] = upperAscii(shown[0]);
  return shown;
}

ComboImage folderImage(int index, int currentIndex) {
  if (index < currentIndex) return ComboImage::kAbove;
  if (index == currentIndex) return ComboImage::kCurrent;
  return ComboImage::kSubfolder;
}

int folderIndent(int index, int currentIndex) {
  return index <= currentIndex ? index * 4 + 4 : currentIndex * 4 + 8;
}

ComboImage driveImage(unsigned driveType) {
  switch (driveType) {
    case 3:
      return ComboImage::kFixed;
    case 4:
      return ComboImage::kNetwork;
    case 5:
      return ComboImage::kCdRom;
    case 6:
      return ComboImage::kRamDisk;
    default:
      return ComboImage::kRemovable;
  }
}

int nextEntryWithLetter(const std::vector<std::wstring>& entries, int current, wchar_t letter) {
  const int count = static_cast<int>(entries.size());
  if (count == 0) return -1;
  const int start = (current < 0 || current >= count) ? -1 : current;
  for (int step = 1; step <= count; ++step) {
    const int i = ((start + step) % count + count) % count;
    if (!entries[i].empty() && foldAscii(entries[i][0]) == foldAscii(letter)) return i;
  }
  return -1;
}

}  // namespace vorbin
