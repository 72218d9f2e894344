#include "launcher/bar/run_dialog.h"

#include <commdlg.h>

#include <algorithm>

#include "launcher/model/model_win.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/picker_rules.h"
#include "launcher/widgets/program_picker.h"

namespace vorbin {

namespace {

// A filter list written with "|" between its parts, as the dialog wants it.
std::wstring dialogFilter(std::wstring text) {
  std::replace(text.begin(), text.end(), L'|', L'\0');
  text.append(2, L'\0');
  return text;
}

}  // namespace

void runProgramDialog(HWND owner, Settings& settings, Profile& profile, CmdHistory& history,
                      const LaunchContext& context) {
  PickRequest pick;
  pick.owner = owner;
  pick.title = resourceString(IDS_EXEC_TITLE);
  pick.filter = dialogFilter(resourceString(IDS_EXEC_FILTER) + wildCardOrDefault(settings));
  pick.filterIndex = std::max(1, settings.exeDirectory.numbers[0]);
  pick.initialFolder = settings.exeDirectory.path;
  pick.flags = pick_flag::kHistory | OFN_PATHMUSTEXIST;
  pick.history = &history;
  const PickResult picked = pickProgram(pick);
  // The folder and filter last shown are where the next run begins.
  if (!picked.folder.empty()) settings.exeDirectory.path = picked.folder;
  settings.exeDirectory.numbers[0] = picked.filterIndex;
  if (!picked.accepted || picked.files.empty()) return;
  // A program chosen by its full path: the next run begins beside it.
  if (std::wstring folder = programFolder(picked.files.front()); !folder.empty())
    settings.exeDirectory.path = std::move(folder);
  saveHistory(profile, history);
  LaunchRequest request;
  request.target = picked.files.front();
  request.folder = L".";
  launchItem(request, context);
}

}  // namespace vorbin
