// The file-pick start of prompting items.
#include "launcher/interact/file_pick.h"

#include <algorithm>

#include "launcher/services/text_chars.h"
#include "launcher/services/tokenizer.h"

namespace vorbin {

std::vector<std::wstring> pickedDocuments(std::wstring_view folder, std::wstring_view text) {
  std::wstring prefix(folder);
  if (!prefix.empty() && prefix.back() != L'\\') prefix += L'\\';
  std::vector<std::wstring> documents;
  Tokenizer names;
  names.reset(text);
  while (std::optional<std::wstring> name = names.next(L" ")) {
    if (!name->empty()) documents.push_back(prefix + *name);
  }
  return documents;
}

PromptOptions decodePromptOptions(uint16_t packed) {
  return {packed & 0x0F, (packed >> 4) & 0x0F, (packed >> 8) & 0x0F};
}

uint16_t encodePromptOptions(const PromptOptions& options, uint16_t previous) {
  return static_cast<uint16_t>((previous & 0xF000) | ((options.viewMode & 0x0F) << 8) |
                               ((options.filterIndex & 0x0F) << 4) | (options.sortMode & 0x0F));
}

std::wstring programFileName(std::wstring_view program) {
  const size_t slash = program.find_last_of(L"\\/:");
  std::wstring name(slash == std::wstring_view::npos ? program : program.substr(slash + 1));
  std::transform(name.begin(), name.end(), name.begin(), foldAscii);
  return name;
}

FilePickCheck checkFilePick(const LaunchRequest& item, LaunchSystem& sys) {
  FilePickCheck check;
  const bool ownProgram = !(item.flags & (kItemIdList | kItemUrl)) && !trimBlanks(item.target).empty();
  if (ownProgram) {
    check.program = splitCommand(item.target, sys).program;
    const std::wstring asWritten = check.program;
    const int result = findProgram(check.program, sys);
    if (result < 32) {
      check.stop = FilePickStop::kProgramNotFound;
      check.missing = asWritten;
      check.noAssociation = result == kNoAssociation;
      return check;
    }
  }
  check.folder = item.folder;
  if (!checkFolder(check.folder, true, true, sys).ok) {
    check.stop = FilePickStop::kFolderNotFound;
    check.missing = check.folder;
  }
  return check;
}

}  // namespace vorbin
