#include "launcher/bar/task_mode_commands.h"

#include <algorithm>

#include "framework/trace.h"
#include "launcher/bar/bar_rules.h"
#include "launcher/bar/task_commands_win.h"
#include "launcher/bar/task_rules.h"
#include "launcher/bar/task_scroll.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/process_info.h"
#include "launcher/services/process_rules.h"
#include "launcher/services/text_format.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

namespace {

enum ModeButton { kMinimiseAll = 3, kCascade = 4, kTile = 5, kDetails = 6 };

// The folder an Explorer window shows: its title when that is a folder,
// else the path inside the title.
std::wstring explorerFolder(HWND window) {
  wchar_t title[kMaxTitleChars + 1] = {};
  InternalGetWindowText(window, title, static_cast<int>(kMaxTitleChars + 1));
  const auto isFolder = [](const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  };
  if (isFolder(title)) return title;
  if (auto found = pathFromTitle(title, isFolder)) return found->path;
  return {};
}

// The question's template holds what is added, then the group's title.
std::wstring makeButtonQuestion(const std::wstring& what, const std::wstring& group) {
  const std::wstring question = resourceString(IDS_TASK_BUTTON_QUESTION);
  const size_t first = question.find(L"%s");
  if (first == std::wstring::npos) return what;
  return question.substr(0, first) + what + substituteName(question.substr(first + 2), group);
}

}  // namespace

void TaskModeCommands::boxCommand(HWND bar, const Hit& box) {
  Settings& s = m_context.settings;
  TaskList& tasks = m_context.tasks;
  const bool detailed = s.dispTaskDetails != 0;
  if (box.area == hit_area::kCommands) {
    const TaskList::CommandRun run =
        tasks.runOnMarked(box.index, detailed, [this, bar](HWND w) { return makeButton(bar, w); });
    m_context.repaintContent();
    if (run.hidesBar && s.lockLevel == 0) m_context.hide();
    return;
  }
  if (box.area != hit_area::kModes) return;
  switch (box.index) {
    case 0:
    case 1:
    case 2:
      if (s.taskDispMode != box.index) {
        const int oldPerRow = tabLayout(m_context.layout(), s.taskDispMode).perRow;
        s.taskDispMode = box.index;
        // The list keeps its place: the entry shown first stays in view.
        tasks.setFirstRow(taskRowForNewMode(tasks.firstRow(), oldPerRow, m_context.tabArea.taskListShape()));
        m_context.repaintAll();
      }
      break;
    case kMinimiseAll:
      minimiseAllWindows(bar);
      break;
    case kCascade:
      cascadeMarked(bar);
      break;
    case kTile: {
      if (tasks.markedWindows().empty()) {
        MessageBeep(MB_OK);
        break;
      }
      HMENU menu = LoadMenuW(static_cast<HINSTANCE>(resourceModule()), MAKEINTRESOURCEW(IDM_TILE_MENU));
      if (!menu) {
        FW_TRACE_FAILURE("LoadMenuW");
        break;
      }
      const HitRect r = m_context.hitGeometry().modeButtons[kTile];
      POINT at{r.left, r.bottom};
      ClientToScreen(bar, &at);
      const int chosen = static_cast<int>(
          TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_LEFTALIGN, at.x, at.y, 0, bar, nullptr));
      DestroyMenu(menu);
      if (chosen != 0) tileMarked(bar, chosen);
      break;
    }
    case kDetails:
      s.dispTaskDetails = detailed ? 0 : 1;
      m_context.refresh();
      break;
    default:
      break;
  }
}

void TaskModeCommands::cascadeMarked(HWND bar) {
  const std::vector<HWND> windows = m_context.tasks.markedWindows();
  if (windows.empty()) {
    MessageBeep(MB_OK);
    return;
  }
  const Rect work = barWorkArea(bar);
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
  // The windows are raised from the last to the first, so the first ends in
  // front: it takes the step furthest down and right, and every window
  // behind it shows its caption above and left of the one before.
  const ArrangeOutcome out = arrangeWindows(bar, windows, [&](size_t n) {
    std::vector<Rect> rects = cascadeRects(n, work, step);
    std::reverse(rects.begin(), rects.end());
    return rects;
  });
  // A marked window that has gone or stopped answering was left out.
  if (out.skipped > 0) MessageBeep(MB_OK);
}

void TaskModeCommands::tileMarked(HWND bar, int layoutCommand) {
  const std::vector<HWND> windows = m_context.tasks.markedWindows();
  if (windows.empty()) {
    MessageBeep(MB_OK);
    return;
  }
  const TileChoice choice = tileChoice(layoutCommand, barWorkArea(bar));
  const ArrangeOutcome out =
      arrangeWindows(bar, windows, [&](size_t n) { return tileRects(n, choice.area, choice.horizontal); });
  if (out.skipped > 0) MessageBeep(MB_OK);
}

bool TaskModeCommands::makeButton(HWND bar, HWND window) {
  const TaskCommandLine line = taskCommandLine(window);
  std::wstring path = line.program;
  std::wstring arguments = line.arguments;
  const bool folder = !path.empty() && isExplorerProgram(path);
  if (folder) {
    path = explorerFolder(window);
    arguments.clear();
  }
  if (path.empty()) {
    UserMessage message;
    message.text = IDS_TASK_BUTTON_NO_PROGRAM;
    message.caption = IDS_TASK_BUTTON_NO_PROGRAM_CAPTION;
    showMessage(bar, message, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  GroupTable& groups = m_context.groups;
  const int group = std::clamp(m_context.tasks.returnGroup(), 1, std::max(1, static_cast<int>(groups.placeholderIndex())));
  const Group* target = groups.group(group);
  std::wstring what = resourceString(folder ? IDS_TASK_BUTTON_FOLDER : IDS_TASK_BUTTON_PROGRAM) + path;
  if (!arguments.empty()) what += L"\n" + arguments;
  UserMessage question;
  // The text is made here (two parts go into it); the library gives the caption.
  question.caption = IDS_TASK_BUTTON_CAPTION;
  const std::wstring text = makeButtonQuestion(what, target ? target->title : std::wstring());
  question.insert = text;
  if (showMessage(bar, question, MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) return false;
  NewItemRequest request;
  request.target = folder ? path : taskButtonTarget(path, arguments);
  request.flags = folder ? 0x0040u : 0u;
  request.slot = -1;
  return m_context.adder.addItemFromRequest(std::move(request), group).has_value();
}

}  // namespace vorbin
