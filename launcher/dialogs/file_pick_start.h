// The file-pick start of prompting items: the browser opens on the item's
// folder and pattern, and each picked document becomes one start.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "launcher/interact/file_pick.h"
#include "launcher/model/item_record.h"

namespace vorbin {

// Asks with the browser. On OK the item keeps the text, filter, sort and view
// (the caller saves it) and the starts come back: one per picked document,
// or one without a document for an empty text, each in the browser's folder.
// Nothing on Cancel.
std::optional<std::vector<LaunchRequest>> pickDocumentStarts(HWND owner, HINSTANCE resources, Item& item,
                                                             const LaunchRequest& request,
                                                             const FilePickCheck& check,
                                                             const std::wstring& wildCard,
                                                             std::optional<POINT> anchor);

}  // namespace vorbin
