// The file-pick start of prompting items.
#include "launcher/dialogs/file_pick_start.h"

#include "launcher/dialogs/browser_rules.h"
#include "launcher/dialogs/folder_file_dialog.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/text_format.h"

namespace vorbin {

std::optional<std::vector<LaunchRequest>> pickDocumentStarts(HWND owner, HINSTANCE resources, Item& item,
                                                             const LaunchRequest& request,
                                                             const FilePickCheck& check,
                                                             const std::wstring& wildCard,
                                                             std::optional<POINT> anchor) {
  FolderFileRequest ask;
  if (!check.program.empty())
    ask.title = substituteName(resourceString(IDS_PICK_TITLE), programFileName(check.program));
  ask.previousText = item.text4;
  ask.folder = check.folder.empty() ? request.folder : check.folder;
  ask.filter = filePickFilter(resourceString(IDS_PICK_ITEM_FILTER), item.text3,
                              resourceString(IDS_PICK_ALL_FILTER), wildCard);
  const PromptOptions options = decodePromptOptions(item.promptOptions);
  ask.filterIndex = options.filterIndex;
  ask.sortMode = options.sortMode;
  ask.viewMode = options.viewMode;
  ask.anchor = anchor;
  const std::optional<FolderFileResult> picked = pickDocuments(owner, resources, ask);
  if (!picked) return std::nullopt;

  item.text4 = picked->text;
  item.promptOptions =
      encodePromptOptions({picked->sortMode, picked->filterIndex, picked->viewMode}, item.promptOptions);
  std::vector<LaunchRequest> starts;
  LaunchRequest start = request;
  start.folder = picked->folder;
  const std::vector<std::wstring> documents = pickedDocuments(picked->folder, picked->text);
  if (documents.empty()) {
    starts.push_back(start);
    return starts;
  }
  for (const std::wstring& document : documents) {
    start.document = document;
    starts.push_back(start);
  }
  return starts;
}

}  // namespace vorbin
