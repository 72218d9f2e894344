// Program Manager DDE on the bar's window: the raw messages, their memory and
// atoms, and the execute commands carried out on the groups.
#include "launcher/bar/dde_conversation.h"

#include <dde.h>

#include <cstring>
#include <utility>

#include "framework/trace.h"
#include "launcher/bar/dde_answers.h"
#include "launcher/bar/item_request_rules.h"
#include "launcher/interact/launch_item.h"
#include "launcher/interact/launch_rules.h"
#include "launcher/model/model_win.h"

namespace vorbin {
namespace {

constexpr wchar_t kSentinelClass[] = L"Vorbin96_DdeSentinel";
constexpr WORD kAckPositive = 0x8000;
constexpr size_t kMaxItemNameChars = 256;
constexpr DWORD kBroadcastWindowMs = 2000;
// Posted to the sentinel while pictures of added items wait: build some.
constexpr UINT kBuildPictures = WM_APP + 0x60;
// How long one turn builds pictures before the bar takes its messages again.
constexpr uint32_t kPictureTurnMs = 40;

std::optional<std::wstring> atomName(ATOM atom) {
  if (atom == 0) return std::nullopt;
  wchar_t name[kMaxItemNameChars + 1] = {};
  const UINT n = GlobalGetAtomNameW(atom, name, static_cast<int>(std::size(name)));
  return std::wstring(name, n);
}

std::string systemAnsiEncoder(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

void postAck(HWND client, HWND server, WORD status, UINT_PTR handleOrAtom) {
  const LPARAM packed = PackDDElParam(WM_DDE_ACK, status, handleOrAtom);
  if (!PostMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(server), packed)) {
    FW_TRACE_FAILURE("PostMessageW");
    FreeDDElParam(WM_DDE_ACK, packed);
  }
}

}  // namespace

DdeConversation::~DdeConversation() { detach(); }

void DdeConversation::attach(HWND bar) {
  m_bar = bar;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &DdeConversation::sentinelProc;
  wc.hInstance = instance;
  wc.lpszClassName = kSentinelClass;
  if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    FW_TRACE_FAILURE("RegisterClassW");
  m_sentinel = CreateWindowExW(WS_EX_TOOLWINDOW, kSentinelClass, L"", WS_POPUP, 0, 0, 0, 0, bar, nullptr,
                               instance, nullptr);
  if (!m_sentinel) {
    FW_TRACE_FAILURE("CreateWindowExW");
    return;
  }
  SetWindowLongPtrW(m_sentinel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void DdeConversation::buildPictureTurn() {
  m_picturesPosted = false;
  const bool more = m_host.adder.buildPictures(kPictureTurnMs);
  // The buttons show their pictures as they come.
  picturesReady();
  if (more) schedulePictures();
}

void DdeConversation::picturesReady() {
  // Pictures of added buttons were built after the string's answer: the
  // bar paints them.
  if (m_host.picturesReady) m_host.picturesReady();
}

void DdeConversation::schedulePictures() {
  if (m_picturesPosted || !m_host.adder.picturesPending()) return;
  m_picturesPosted = m_sentinel && PostMessageW(m_sentinel, kBuildPictures, 0, 0);
  // Without the window to post to, the pictures are made now.
  if (!m_picturesPosted) {
    m_host.adder.finishPictures();
    picturesReady();
  }
}

void DdeConversation::detach() {
  // Pictures still waiting are made while the bar's table is there.
  m_host.adder.finishPictures();
  // An owned window goes with the bar; one left over is destroyed here.
  if (m_sentinel && IsWindow(m_sentinel)) DestroyWindow(m_sentinel);
  m_sentinel = nullptr;
  m_bar = nullptr;
}

LRESULT CALLBACK DdeConversation::sentinelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kBuildPictures) {
    if (auto* self = reinterpret_cast<DdeConversation*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
      self->buildPictureTurn();
    return 0;
  }
  if (msg == WM_DDE_INITIATE) {
    if (auto* self = reinterpret_cast<DdeConversation*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
      self->m_broadcastClient = reinterpret_cast<HWND>(wParam);
      self->m_broadcastAtoms = lParam;
      self->m_broadcastTick = GetTickCount();
    }
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool DdeConversation::lastInitiateWasBroadcast(HWND client, LPARAM atoms) {
  const bool seen = m_broadcastClient == client && m_broadcastAtoms == atoms &&
                    GetTickCount() - m_broadcastTick < kBroadcastWindowMs;
  m_broadcastClient = nullptr;
  return seen;
}

LRESULT DdeConversation::onInitiate(WPARAM wParam, LPARAM lParam) {
  HWND client = reinterpret_cast<HWND>(wParam);
  if (!m_bar || !IsWindow(client) || client == m_bar) return 0;
  const auto application = atomName(LOWORD(lParam));
  const auto topic = atomName(HIWORD(lParam));
  const bool broadcast = lastInitiateWasBroadcast(client, lParam);
  if (!acceptDdeInitiate(application, topic, broadcast, m_host.settings.runningAsShell)) return 0;
  // The client deletes the atoms of the acknowledgement: they are the bar's own.
  const ATOM app = GlobalAddAtomW(L"PROGMAN");
  const ATOM top = GlobalAddAtomW(L"PROGMAN");
  ++m_conversations;
  SendMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(m_bar), MAKELPARAM(app, top));
  return 0;
}

LRESULT DdeConversation::onExecute(WPARAM wParam, LPARAM lParam) {
  HWND client = reinterpret_cast<HWND>(wParam);
  HGLOBAL memory = reinterpret_cast<HGLOBAL>(lParam);
  bool ok = false;
  if (memory) {
    // The text need not end in a NUL: the memory's own size bounds every read.
    const SIZE_T size = GlobalSize(memory);
    if (const void* data = size ? GlobalLock(memory) : nullptr) {
      std::vector<DdeCommand> commands = parseDdeExecute({static_cast<const uint8_t*>(data), size},
                                                         IsWindowUnicode(client) != FALSE, systemAnsiDecoder);
      GlobalUnlock(memory);
      ok = runCommands(commands);
    }
  }
  if (IsWindow(client)) postAck(client, m_bar, ok ? kAckPositive : 0, reinterpret_cast<UINT_PTR>(memory));
  return 0;
}

LRESULT DdeConversation::onRequest(WPARAM wParam, LPARAM lParam) {
  HWND client = reinterpret_cast<HWND>(wParam);
  const UINT format = LOWORD(lParam);
  const ATOM itemAtom = HIWORD(lParam);
  if (!IsWindow(client)) return 0;
  std::vector<uint8_t> block;
  if (m_conversations > 0) {
    const std::wstring item = atomName(itemAtom).value_or(L"");
    const auto view = ddeGroupView(m_host.groups);
    Win32LaunchSystem system;
    const DdeProgramPart programPart = [&system](const std::wstring& target) {
      return system.exists(target) ? std::wstring() : splitCommand(target, system).program;
    };
    const std::wstring text =
        ddeRequestText(view, item, m_host.groups.activeGroup, m_host.settings.taskMode, programPart);
    block = ddeDataBlock(text, format, systemAnsiEncoder);
  }
  if (block.empty()) {
    postAck(client, m_bar, 0, itemAtom);
    return 0;
  }
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, block.size());
  void* bytes = data ? GlobalLock(data) : nullptr;
  if (!bytes) {
    FW_TRACE_FAILURE("GlobalAlloc");
    if (data) GlobalFree(data);
    postAck(client, m_bar, 0, itemAtom);
    return 0;
  }
  std::memcpy(bytes, block.data(), block.size());
  GlobalUnlock(data);
  const LPARAM packed = PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(data), itemAtom);
  if (!PostMessageW(client, WM_DDE_DATA, reinterpret_cast<WPARAM>(m_bar), packed)) {
    FW_TRACE_FAILURE("PostMessageW");
    FreeDDElParam(WM_DDE_DATA, packed);
    GlobalFree(data);
  }
  return 0;
}

LRESULT DdeConversation::onTerminate(WPARAM wParam, LPARAM) {
  if (m_conversations == 0) return 0;
  --m_conversations;
  HWND client = reinterpret_cast<HWND>(wParam);
  if (IsWindow(client)) PostMessageW(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_bar), 0);
  return 0;
}

bool DdeConversation::runCommands(const std::vector<DdeCommand>& commands) {
  // The group this string created or selected takes its adds, whatever area
  // has the keyboard.
  int chosenGroup = -1;
  bool any = false;
  // The bar is brought up to date once, after the whole string. A dialog
  // shown by an add may run another string meanwhile: it keeps its own mark.
  const bool outer = std::exchange(m_changed, false);
  {
    // The items are saved as each command runs; their pictures, the slow
    // part, are built after the client has its answer.
    ItemAdder::PictureBatch batch(m_host.adder);
    for (const DdeCommand& command : commands) any |= runOperation(interpretDdeCommand(command), chosenGroup);
  }
  if (m_changed) m_host.groupsChanged();
  m_changed = outer;
  schedulePictures();
  return any;
}

bool DdeConversation::runOperation(const DdeOperation& op, int& chosenGroup) {
  GroupTable& groups = m_host.groups;
  const auto find = [&] { return findDdeGroup(ddeGroupView(groups), op.group); };
  switch (op.action) {
    case DdeAction::kCreateGroup: {
      int index = find();
      if (index == 0) {
        // The quick group takes the adds but never becomes the active group.
        chosenGroup = 0;
        return true;
      }
      if (m_host.settings.taskMode) m_host.leaveTaskMode();
      if (index < 0) {
        const auto made = groups.ensureGroup(static_cast<int>(groups.placeholderIndex()), &op.group, false);
        if (!made) return false;
        index = *made;
      }
      groups.activeGroup = index;
      chosenGroup = index;
      m_changed = true;
      return true;
    }
    case DdeAction::kAddItem: {
      const int group = chosenGroup >= 0 ? chosenGroup : m_host.currentGroup();
      const auto added = m_host.adder.addItemFromRequest(op.item, group);
      if (!added) return false;
      chosenGroup = added->group;  // a placeholder that became a group keeps the string's adds
      m_changed = true;
      return true;
    }
    case DdeAction::kDeleteGroup: {
      const int index = find();
      if (!groupDeletable(groups, index) || !removeGroup(groups, index)) return false;
      if (chosenGroup == index)
        chosenGroup = -1;
      else if (chosenGroup > index)
        --chosenGroup;
      m_host.groupRemoved(index);
      m_changed = true;
      return true;
    }
    case DdeAction::kShowGroup: {
      const int index = find();
      if (index < 0) return false;
      chosenGroup = index;
      if (index > 0 && (index != groups.activeGroup || m_host.settings.taskMode)) {
        if (m_host.settings.taskMode) m_host.leaveTaskMode();
        groups.activeGroup = index;
        m_changed = true;
      }
      // The bar shows what the string did so far.
      if (std::exchange(m_changed, false)) m_host.groupsChanged();
      m_host.showBar();
      return true;
    }
    case DdeAction::kReload:
      return find() >= 0;
    case DdeAction::kUnknown:
      break;
  }
  return false;
}

}  // namespace vorbin
