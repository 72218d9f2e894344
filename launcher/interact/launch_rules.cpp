// How an item becomes a shell execution request: path search, command
// splitting, working folder, document hand-over, verb, show mode and flags.
#include "launcher/interact/launch_rules.h"

#include <algorithm>
#include <array>

#include "launcher/resources/resource_ids.h"
#include "launcher/services/id_list.h"
#include "launcher/services/text_chars.h"
#include "launcher/services/tokenizer.h"

namespace vorbin {

namespace {

bool isAsciiLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// A name as the path search sees it: a leading quoted part without its quotes.
std::wstring unquotedName(std::wstring_view name) {
  std::wstring_view rest = trimFront(name, isWhiteSpace);
  if (!rest.empty() && rest[0] == L'"') {
    const size_t close = rest.find(L'"', 1);
    return std::wstring(
        rest.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1));
  }
  return std::wstring(rest);
}

}  // namespace

std::wstring trimBlanks(std::wstring_view text) { return std::wstring(trimmed(text, isWhiteSpace)); }

FoundFile findFile(std::wstring_view name, LaunchSystem& sys) {
  const std::wstring plain = unquotedName(name);
  if (plain.empty()) return {};
  const std::optional<std::wstring> expanded = sys.expandEnvironment(plain);
  if (!expanded || expanded->empty() || expanded->size() > kMaxPathChars) return {};
  std::wstring path = *expanded;
  if (path.find(L'\\') == std::wstring::npos && path.size() == 2 && isAsciiLetter(path[0]) &&
      path[1] == L':') {
    path += L'\\';
  }
  if (sys.exists(path)) return {-1, path};
  if (std::optional<std::wstring> found = sys.searchPath(path, L"")) {
    return {equalsFoldingAscii(*expanded, plain) ? 1 : -1, *found};
  }
  static constexpr std::array<const wchar_t*, 4> kExtensions = {L".com", L".exe", L".bat", L".lnk"};
  for (const wchar_t* extension : kExtensions) {
    if (std::optional<std::wstring> found = sys.searchPath(path, extension)) return {1, *found};
  }
  return {};
}

SplitCommand splitCommand(std::wstring_view text, LaunchSystem& sys) {
  if (text.find(L'"') == std::wstring_view::npos && findFile(text, sys).result != 0) {
    return {trimBlanks(text), L""};
  }
  Tokenizer tokens;
  tokens.reset(text);
  SplitCommand split;
  split.program = tokens.next(L" \t").value_or(L"");
  split.arguments = std::wstring(trimFront(tokens.next(nullptr).value_or(L""), isWhiteSpace));
  return split;
}

std::wstring normaliseFolderText(std::wstring_view folder) {
  std::wstring text(folder.substr(0, std::min(folder.size(), kMaxPathChars)));
  if (!text.empty() && text[0] == L'"') text.erase(0, 1);
  if (const size_t quote = text.find(L'"'); quote != std::wstring::npos) text.erase(quote);
  if (text.find(L'\\') == std::wstring::npos) {
    if (text.size() == 2 && isAsciiLetter(text[0]) && text[1] == L':') {
      text += L'\\';
    } else if (text.size() == 1 && isAsciiLetter(text[0])) {
      text += L":\\";
    }
  }
  // A lone backslash names the root of the current drive: keep it.
  if (text.size() >= 2 && text.back() == L'\\' && text[text.size() - 2] != L':') text.pop_back();
  return text;
}

FolderResult checkFolder(std::wstring& folder, bool report, bool fullPath, LaunchSystem& sys) {
  folder = trimBlanks(folder);
  if (folder.empty()) {
    if (report) return {true, FolderCheck::kEmptyReported, false};
    folder = sys.windowsFolder();
    return {true, FolderCheck::kUseDefault, false};
  }
  if (folder[0] == L'.') {
    folder.clear();
    return {true, FolderCheck::kInherit, false};
  }
  const FoundFile found = findFile(normaliseFolderText(folder), sys);
  // A file of that name is no working folder.
  if (found.result == 0 || !sys.isFolder(found.path) || !sys.setCurrentFolder(found.path)) {
    if (report) return {false, FolderCheck::kNotFound, true};
    folder = sys.windowsFolder();
    return {false, FolderCheck::kNotFound, false};
  }
  if (fullPath) folder = found.path;
  return {true, FolderCheck::kFound, false};
}

int findProgram(std::wstring& file, LaunchSystem& sys) {
  const FoundFile found = findFile(file, sys);
  const LaunchSystem::Association association = sys.findExecutable(found.result != 0 ? found.path : file);
  if (association.result <= 32) return association.result;
  if (!association.program.empty()) file = association.program;
  return 32;
}

std::wstring documentArgument(std::wstring_view document, bool program16Bit,
                              const std::optional<std::wstring>& shortPath) {
  if (program16Bit && shortPath && !shortPath->empty()) return *shortPath;
  std::wstring text = trimBlanks(document);
  const bool hasBlank = std::any_of(text.begin(), text.end(), isWhiteSpace);
  if (hasBlank && text[0] != L'"') text = L"\"" + text + L"\"";
  return text;
}

std::wstring joinDocument(std::wstring_view parameters, std::wstring_view document) {
  if (!parameters.empty() && parameters.find_first_of(L"/[]*<>|+=,?") != std::wstring_view::npos) {
    std::wstring joined(parameters);
    joined += L' ';
    joined += document;
    return joined;
  }
  return std::wstring(document);
}

std::wstring fileExtension(std::wstring_view file) {
  const size_t nameStart = file.find_last_of(L"\\/:");
  const size_t dot = file.rfind(L'.');
  if (dot == std::wstring_view::npos || (nameStart != std::wstring_view::npos && dot < nameStart)) return {};
  return std::wstring(file.substr(dot));
}

int showCommandFor(uint32_t flags, int groupStartMode) {
  if (groupStartMode & kGroupStartMinimized) return sw::kMinNoActive;
  if (groupStartMode & kGroupStartHidden) return sw::kHide;
  switch (flags & kItemShowMask) {
    case 1:
      return sw::kMinNoActive;
    case 2:
      return sw::kMaximize;
    case 3:
      return sw::kHide;
    default:
      return sw::kShowNormal;
  }
}

namespace {

// Steps for a target that is text: file, parameters, directory and verb.
void planTextTarget(const LaunchRequest& request, LaunchSystem& sys, LaunchPlan& plan) {
  const uint32_t flags = request.flags;
  if (flags & kItemUrl) {
    plan.file = request.target;
    return;
  }
  std::optional<std::wstring> document = request.document;
  if (document && document->empty()) document.reset();
  if ((flags & kItemFolder) || ((flags & kItemPrompt) && request.target.empty() && !document)) {
    plan.file = request.folder;
  } else {
    plan.directory = request.folder;
    if (request.target.empty() && document) {
      plan.file = *document;
      document.reset();
    } else {
      SplitCommand split = splitCommand(request.target, sys);
      plan.file = std::move(split.program);
      plan.parameters = std::move(split.arguments);
    }
  }
  // A file text this long names nothing; the system is not asked about it.
  if (plan.file.size() > kMaxPathChars) return;
  if (document) {
    const FoundFile program = findFile(plan.file, sys);
    const bool is16Bit = sys.is16BitWindowsProgram(program.result != 0 ? program.path : plan.file);
    const std::optional<std::wstring> shortPath = is16Bit ? sys.shortPath(*document) : std::nullopt;
    plan.parameters = joinDocument(plan.parameters, documentArgument(*document, is16Bit, shortPath));
    // A document target gives way to its program, which then opens the dropped document.
    findProgram(plan.file, sys);
  }
  checkFolder(plan.directory, false, true, sys);
  if (const std::wstring extension = fileExtension(plan.file); !extension.empty()) {
    plan.verb = sys.classDefaultVerb(extension);
  }
}

}  // namespace

LaunchPlan planLaunch(const LaunchRequest& request, LaunchSystem& sys) {
  LaunchPlan plan;
  const uint32_t flags = request.flags;
  const bool idList = (flags & kItemIdList) != 0;
  plan.hotKey = (flags & kItemPrompt) ? 0 : request.hotKey;
  if (idList) {
    plan.valid = idListSize(request.idList) != 0;
  } else {
    planTextTarget(request, sys, plan);
  }

  if (flags & kItemExplorer) {
    plan.file = L"explorer.exe";
    plan.parameters = L"/e,";
    if (flags & kItemRootOrFind) plan.parameters += L"/root,";
    if (idList) {
      plan.explorerIdList = true;
    } else {
      plan.parameters += trimBlanks(request.folder);
    }
  } else if (flags & kItemRootOrFind) {
    plan.verb = L"find";
  }

  plan.showCommand = showCommandFor(flags, request.groupStartMode);
  plan.trackNewWindow = plan.showCommand != sw::kShowNormal || plan.hotKey != 0;

  if (idList && !plan.explorerIdList) {
    plan.file.clear();
    plan.passIdList = true;
    plan.mask = exec_mask::kHotKey | exec_mask::kNoUi | exec_mask::kInvokeIdList | exec_mask::kMonitor;
  } else {
    plan.mask = exec_mask::kHotKey | exec_mask::kDoEnvSubst | exec_mask::kNoUi | exec_mask::kMonitor;
    if (flags & kItemSeparateVdm) plan.mask |= exec_mask::kSeparateVdm;
  }
  if (flags & kItemRunAs) {
    plan.verb = L"runas";
    plan.mask &= ~exec_mask::kNoUi;
  }
  if (plan.trackNewWindow) plan.mask |= exec_mask::kNoCloseProcess;
  // No file or address is this long; the shell is not asked to find out.
  const size_t limit = (flags & kItemUrl) ? kMaxUrlChars : kMaxPathChars;
  if (!idList && plan.file.size() > limit) plan.valid = false;
  return plan;
}

std::wstring explorerIdListParameter(uint64_t block, uint32_t processId) {
  return L"/idlist,:" + std::to_wstring(static_cast<int32_t>(static_cast<uint32_t>(block))) + L":" +
         std::to_wstring(static_cast<int32_t>(processId));
}

std::vector<uint8_t> explorerIdListBlock(const std::vector<uint8_t>& idList) {
  const size_t size = idListSize(idList);
  std::vector<uint8_t> block(4 + size);
  for (int i = 0; i < 4; ++i) block[i] = static_cast<uint8_t>((size >> (8 * i)) & 0xFF);
  std::copy_n(idList.begin(), size, block.begin() + 4);
  return block;
}

AfterExecute afterExecute(int result, bool idList) {
  if (result > 31) return AfterExecute::kSucceeded;
  if (!idList && result == kNoAssociation) return AfterExecute::kOpenAs;
  if (result == kAccessDenied) return AfterExecute::kStop;
  return AfterExecute::kRetryWithUi;
}

OpenAsRequest openAsRequest(const LaunchPlan& plan) {
  OpenAsRequest request;
  request.file = L"RUNDLL32.EXE";
  request.verb = L"open";
  request.parameters = L"shell32.dll,OpenAs_RunDLL " + plan.file;
  request.directory = plan.directory;
  return request;
}

unsigned notFoundMessageId(bool folder, bool noAssociation) {
  if (folder) return IDS_FOLDER_NOT_FOUND;
  return noAssociation ? IDS_NO_ASSOCIATION : IDS_FILE_NOT_FOUND;
}

}  // namespace vorbin
