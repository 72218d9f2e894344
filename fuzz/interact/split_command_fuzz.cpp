// Item targets are user data: splitting, planning and the file-pick checks of
// any text must stay in bounds.
#include <cstdint>
#include <cstdlib>

#include "fuzz/interact/fuzz_system.h"
#include "launcher/interact/file_pick.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorbin;
  if (size < 2) return 0;
  FuzzSystem sys(data[0]);
  const std::wstring text = FuzzSystem::text(data + 2, size - 2);
  const SplitCommand split = splitCommand(text, sys);
  // The program and arguments are parts of the text.
  if (split.program.size() + split.arguments.size() > text.size()) std::abort();

  LaunchRequest request;
  const size_t cut = text.find(L'\n');
  request.target = text.substr(0, cut);
  if (cut != std::wstring::npos) request.document = text.substr(cut + 1);
  request.folder = text.size() > 4 ? text.substr(text.size() / 2) : L"";
  request.flags = data[1] | ((data[0] & 0x0F) << 8);
  request.idList.assign(data, data + size);
  const LaunchPlan plan = planLaunch(request, sys);
  if (plan.passIdList && !plan.file.empty()) std::abort();
  // The file-pick start names what it missed: a piece of the target or the folder.
  const FilePickCheck check = checkFilePick(request, sys);
  if (check.stop == FilePickStop::kProgramNotFound && check.missing.size() > request.target.size())
    std::abort();
  if (check.stop == FilePickStop::kFolderNotFound && check.missing.size() > request.folder.size())
    std::abort();
  return 0;
}
