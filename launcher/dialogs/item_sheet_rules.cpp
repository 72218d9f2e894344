// Decisions of the item sheets and the shortcut-file texts.
#include "launcher/dialogs/item_sheet_rules.h"

#include <algorithm>
#include <cwchar>

#include "launcher/bar/item_request_rules.h"
#include "launcher/interact/launch_rules.h"
#include "launcher/model/item_record.h"

namespace vorbin {
namespace {

wchar_t foldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool equalsNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return foldAscii(x) == foldAscii(y);
         });
}

bool startsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

int hexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// A decimal number with an optional sign; nothing unless the whole text is one
// that fits in 32 bits.
std::optional<long long> decimal(std::wstring_view text) {
  text = std::wstring_view(text).substr(0, 16);
  bool negative = false;
  if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) {
    negative = text[0] == L'-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  long long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  value = negative ? -value : value;
  if (value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
  return value;
}

std::wstring trimmed(std::wstring_view text) { return trimBlanks(text); }

}  // namespace

KindOptions kindOptionsFromFlags(uint32_t flags) {
  KindOptions out;
  out.kind = (flags & kItemPrompt) ? 1 : (flags & kItemFolder) ? 2 : 0;
  out.explorer = (flags & kItemExplorer) != 0;
  out.rooted = out.explorer && (flags & kItemRootOrFind);
  out.find = !out.explorer && (flags & kItemRootOrFind);
  return out;
}

uint32_t flagsWithKindOptions(uint32_t flags, const KindOptions& options) {
  flags &= kKeepOnKindChange;
  if (options.kind == 1) flags |= kItemPrompt;
  if (options.kind == 2) flags |= kItemFolder;
  if (options.explorer) flags |= kItemExplorer;
  if (options.rooted || options.find) flags |= kItemRootOrFind;
  return flags;
}

int wizardKindFromOptionKind(int kind) { return kind == 1 ? 0 : kind == 2 ? 1 : 2; }
int optionKindFromWizardKind(int kind) { return kind == 0 ? 1 : kind == 1 ? 2 : 0; }

KindOptions afterOptionClick(KindOptions options, OptionBox box, bool checked) {
  switch (box) {
    case OptionBox::kExplorer:
      options.explorer = checked;
      if (checked)
        options.find = false;
      else
        options.rooted = false;
      break;
    case OptionBox::kRooted:
      options.rooted = checked && options.explorer;
      break;
    case OptionBox::kFind:
      options.find = checked;
      if (checked) options.explorer = options.rooted = false;
      break;
  }
  return options;
}

OptionEnabling optionEnabling(const KindOptions& options) {
  OptionEnabling out;
  out.pattern = options.kind == 1;
  out.explorer = out.find = options.kind == 2;
  out.rooted = options.kind == 2 && options.explorer;
  return out;
}

std::vector<std::wstring> wildCardPatterns(std::wstring_view wildCard) {
  std::vector<std::wstring> out;
  size_t field = 0, pos = 0;
  while (pos < wildCard.size() && out.size() < 64) {
    size_t end = wildCard.find(L'|', pos);
    if (end == std::wstring_view::npos) end = wildCard.size();
    if (field % 2 == 1) {
      std::wstring pattern = trimmed(wildCard.substr(pos, end - pos));
      if (!pattern.empty()) out.push_back(pattern.substr(0, kMaxPatternChars));
    }
    ++field;
    pos = end + 1;
  }
  return out;
}

bool pictureNeedsRebuild(const PictureSource& before, const PictureSource& after) {
  constexpr uint32_t kKind = kItemPrompt | kItemFolder | kItemIdList | kItemUrl;
  constexpr uint32_t kOptions = kItemExplorer | kItemRootOrFind;
  if ((before.flags ^ after.flags) & kKind) return true;
  if (after.flags & kItemIdList)
    return before.idList != after.idList || ((before.flags ^ after.flags) & kOptions);
  if (after.flags & kItemFolder)
    return !equalsNoCase(before.path, after.path) || ((before.flags ^ after.flags) & kOptions);
  return !trimmed(after.path).empty() && !equalsNoCase(before.path, after.path);
}

bool sheetAcceptable(std::wstring_view command, std::wstring_view folder, uint32_t flags) {
  if (!trimmed(command).empty()) return true;
  return !trimmed(folder).empty() && (flags & (kItemPrompt | kItemFolder));
}

std::wstring boundedComment(std::wstring_view comment) {
  return std::wstring(comment.substr(0, kMaxCommentChars));
}

uint16_t itemHotKeyFromControl(uint16_t controlKey) {
  const uint16_t key = controlKey & 0xFF;
  uint16_t modifiers = (controlKey >> 8) & 0x07;
  if (key == 0) return 0;
  if (modifiers == 0) modifiers = 0x02 | 0x04;
  return static_cast<uint16_t>(modifiers << 8 | key);
}

std::wstring quotedIfBlank(std::wstring_view path) {
  if (path.empty() || path.front() == L'"' || path.find(L' ') == std::wstring_view::npos)
    return std::wstring(path);
  return L"\"" + std::wstring(path) + L"\"";
}

std::wstring withoutQuotes(std::wstring_view text) {
  std::wstring out = trimmed(text);
  if (!out.empty() && out.front() == L'"') out.erase(0, 1);
  if (!out.empty() && out.back() == L'"') out.pop_back();
  return out;
}

std::wstring joinCommand(std::wstring_view program, std::wstring_view arguments) {
  std::wstring out = quotedIfBlank(trimmed(program));
  const std::wstring args = trimmed(arguments);
  if (!args.empty()) out += L" " + args;
  return out;
}

WizardTargetKind wizardTargetKind(std::wstring_view text, bool hasIdList) {
  if (hasIdList) return WizardTargetKind::kIdList;
  if (text.find(L":/") != std::wstring_view::npos) return WizardTargetKind::kUrl;
  return WizardTargetKind::kPath;
}

uint32_t wizardFlagsAfterTarget(WizardTargetKind kind, uint32_t flags, bool isFolder) {
  switch (kind) {
    case WizardTargetKind::kIdList:
      return (flags & ~kItemPrompt) | kItemIdList;
    case WizardTargetKind::kUrl:
      return kItemUrl;
    case WizardTargetKind::kPath:
      flags &= ~(kItemUrl | kItemIdList);
      if (!isFolder) return flags & ~(kItemPrompt | kItemFolder | kItemExplorer | kItemRootOrFind);
      return (flags & kItemPrompt) ? flags : flags | kItemFolder;
  }
  return flags;
}

RenamePlan renamePlan(std::wstring_view oldName, const std::wstring& newTitle, int slot) {
  RenamePlan plan;
  plan.write = itemValueName(newTitle, slot);
  // Same exact name: one write replaces the value. Any other name, even one
  // differing only in case, goes first.
  if (!oldName.empty() && oldName != plan.write) plan.deleteFirst = std::wstring(oldName);
  return plan;
}

std::optional<std::wstring> storedItemName(std::span<const std::wstring> names, std::wstring_view title,
                                           int slot) {
  for (const std::wstring& name : names) {
    const auto parsed = parseValueName(name);
    if (parsed && parsed->slot == slot && parsed->title == title) return name;
  }
  return std::nullopt;
}

std::wstring encodeShortcutDescription(uint32_t flags, std::wstring_view target, std::wstring_view comment) {
  std::wstring out;
  if (flags & (kItemPrompt | kItemExplorer | kItemRootOrFind)) {
    wchar_t number[16];
    swprintf(number, std::size(number), L"0x%x", static_cast<unsigned>(flags));
    out = kDescriptionTag;
    out += number;
    if (flags & kItemPrompt) {
      out += L"\n";
      out += target;
    }
    out += L"\n";
  }
  out += comment;
  if (out.size() > kMaxDescriptionChars) out.resize(kMaxDescriptionChars);
  return out;
}

DescriptionParts decodeShortcutDescription(std::wstring_view description) {
  DescriptionParts out;
  description = description.substr(0, kMaxDescriptionChars);
  const std::wstring_view tag = kDescriptionTag;
  if (!startsWith(description, tag)) {
    out.comment = std::wstring(description);
    return out;
  }
  std::wstring_view rest = description.substr(tag.size());
  if (rest.size() >= 2 && rest[0] == L'0' && (rest[1] == L'x' || rest[1] == L'X')) rest.remove_prefix(2);
  uint32_t flags = 0;
  size_t digits = 0;
  while (digits < rest.size() && digits < 8 && hexDigit(rest[digits]) >= 0)
    flags = flags << 4 | static_cast<uint32_t>(hexDigit(rest[digits++]));
  rest.remove_prefix(digits);
  out.tagged = true;
  out.flags = flags;
  // One separator follows the number.
  if (!rest.empty()) rest.remove_prefix(1);
  if (flags & kItemPrompt) {
    const size_t end = rest.find(L'\n');
    out.command = std::wstring(rest.substr(0, end));
    if (end != std::wstring_view::npos) out.comment = std::wstring(rest.substr(end + 1));
  } else {
    out.comment = std::wstring(rest);
  }
  return out;
}

std::wstring shortcutTitle(std::wstring_view file, std::wstring_view decoration) {
  std::wstring title = titleFromPath(file);
  if (decoration.empty()) return title;
  // The decoration may be put before or after the name.
  const std::wstring deco = trimmed(decoration);
  if (deco.empty()) return title;
  if (const size_t at = title.find(deco); at != std::wstring::npos) {
    title.erase(at, deco.size());
    title = trimmed(title);
  }
  return title;
}

std::optional<ShortcutRecord> shortcutRecordFromLink(const LinkFields& link, std::wstring_view decoration) {
  ShortcutRecord record;
  record.title = shortcutTitle(link.shortcutFile, decoration);
  const bool validAttributes =
      link.pathAttributes && *link.pathAttributes != 0xFFFFFFFFu && *link.pathAttributes <= 511;
  if (!link.path.empty() && validAttributes) {
    if (*link.pathAttributes & 0x10) {
      record.flags |= kItemFolder;
      record.target = link.path.substr(0, kMaxPathChars);
    } else {
      record.folder = link.workingFolder.substr(0, kMaxPathChars);
      record.target =
          joinCommand(link.path.substr(0, kMaxPathChars), link.arguments.substr(0, kMaxPathChars));
    }
  } else {
    if (link.idList.empty() || link.idListIsSelf) return std::nullopt;
    record.idList = link.idList;
    record.flags |= kItemIdList;
    if (link.idListIsFolder) record.flags |= kItemFolder;
  }

  const DescriptionParts parts = decodeShortcutDescription(link.description);
  record.comment = boundedComment(parts.comment);
  if (parts.tagged && (record.flags & kItemFolder)) {
    if (parts.flags & kItemPrompt) {
      record.flags = (record.flags & ~kItemFolder) | kItemPrompt;
      record.folder = record.target;
      record.target = parts.command.substr(0, kMaxPathChars);
    } else {
      record.flags |= parts.flags & (kItemExplorer | kItemRootOrFind);
    }
  }

  record.iconFile = link.iconFile.substr(0, kMaxPathChars);
  record.iconIndex = record.iconFile.empty() ? 0 : link.iconIndex;
  if (link.idList.empty() && link.path.empty()) record.iconFile = link.shortcutFile;
  record.hotKey = link.hotKey;
  if (link.showCommand == 3) record.flags |= 2;
  if (link.showCommand == 7) record.flags |= 1;
  return record;
}

LinkPlan linkPlanForItem(const ShortcutRecord& item, std::wstring_view program, std::wstring_view arguments) {
  LinkPlan plan;
  if (item.flags & kItemIdList) {
    plan.useIdList = true;
  } else if (item.flags & (kItemFolder | kItemPrompt)) {
    plan.path = withoutQuotes(item.folder);
  } else {
    plan.path = withoutQuotes(program);
    plan.arguments = trimmed(arguments);
    plan.workingFolder = withoutQuotes(item.folder);
  }
  plan.description = encodeShortcutDescription(item.flags, item.target, item.comment);
  plan.hotKey = item.hotKey;
  const uint32_t show = item.flags & kItemShowMask;
  plan.showCommand = show == 1 ? 7 : show == 2 ? 3 : 5;
  return plan;
}

std::optional<uint32_t> linkHeaderShowCommand(std::span<const uint8_t> bytes) {
  // Header size 0x4C, then the link class {00021401-0000-0000-C000-000000000046}.
  static constexpr uint8_t kHead[] = {0x4C, 0, 0,    0, 0x01, 0x14, 0x02, 0, 0, 0,
                                      0,    0, 0xC0, 0, 0,    0,    0,    0, 0, 0x46};
  if (bytes.size() < 0x4C || !std::equal(std::begin(kHead), std::end(kHead), bytes.begin()))
    return std::nullopt;
  return static_cast<uint32_t>(bytes[0x3C] | bytes[0x3D] << 8 | bytes[0x3E] << 16 | bytes[0x3F] << 24);
}

std::optional<UrlFields> parseUrlShortcut(std::wstring_view text) {
  text = text.substr(0, kMaxUrlFileChars);
  UrlFields fields;
  bool inSection = false, haveUrl = false;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring_view::npos) end = text.size();
    const std::wstring line = trimmed(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == L';') continue;
    if (line.front() == L'[') {
      const size_t close = line.find(L']');
      inSection = close != std::wstring::npos && equalsNoCase(line.substr(1, close - 1), L"InternetShortcut");
      continue;
    }
    const size_t eq = line.find(L'=');
    if (!inSection || eq == std::wstring::npos) continue;
    const std::wstring key = trimmed(std::wstring_view(line).substr(0, eq));
    std::wstring value = trimmed(std::wstring_view(line).substr(eq + 1));
    if (value.size() > kMaxUrlFieldChars) value.resize(kMaxUrlFieldChars);
    // The first value of a key counts, as the system's profile reader has it.
    if (equalsNoCase(key, L"URL")) {
      if (!haveUrl) fields.url = value;
      haveUrl = true;
    } else if (equalsNoCase(key, L"HotKey")) {
      const auto n = decimal(value);
      if (n && *n >= 0 && *n <= 0xFFFF) fields.hotKey = static_cast<uint16_t>(*n);
    } else if (equalsNoCase(key, L"IconFile")) {
      fields.iconFile = value.substr(0, kMaxPathChars);
    } else if (equalsNoCase(key, L"IconIndex")) {
      const auto n = decimal(value);
      if (n && *n >= INT32_MIN && *n <= INT32_MAX) fields.iconIndex = static_cast<int>(*n);
    }
  }
  if (!haveUrl || fields.url.empty()) return std::nullopt;
  return fields;
}

std::wstring urlShortcutText(const UrlFields& fields) {
  std::wstring out = L"[InternetShortcut]\r\nURL=" + fields.url + L"\r\n";
  if (fields.hotKey) out += L"HotKey=" + std::to_wstring(fields.hotKey) + L"\r\n";
  if (!fields.iconFile.empty()) {
    out += L"IconFile=" + fields.iconFile + L"\r\n";
    out += L"IconIndex=" + std::to_wstring(fields.iconIndex) + L"\r\n";
  }
  return out;
}

std::vector<std::pair<std::wstring, std::wstring>> urlFieldsToRepair(const UrlFields& wanted,
                                                                     const std::optional<UrlFields>& read) {
  std::vector<std::pair<std::wstring, std::wstring>> out;
  const UrlFields got = read.value_or(UrlFields{});
  if (got.url != wanted.url) out.emplace_back(L"URL", wanted.url);
  if (got.hotKey != wanted.hotKey) out.emplace_back(L"HotKey", std::to_wstring(wanted.hotKey));
  if (!wanted.iconFile.empty()) {
    if (got.iconFile != wanted.iconFile) out.emplace_back(L"IconFile", wanted.iconFile);
    if (got.iconIndex != wanted.iconIndex) out.emplace_back(L"IconIndex", std::to_wstring(wanted.iconIndex));
  }
  return out;
}

std::pair<std::wstring, int> splitIconLocation(std::wstring_view text) {
  const size_t comma = text.find(L',');
  if (comma == std::wstring_view::npos) return {trimmed(text), 0};
  const auto n = decimal(trimmed(text.substr(comma + 1)));
  const int index = n && *n >= INT32_MIN && *n <= INT32_MAX ? static_cast<int>(*n) : 0;
  return {trimmed(text.substr(0, comma)), index};
}

}  // namespace vorbin
