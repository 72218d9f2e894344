// A second program for the drop tests: it drags a data object of its own
// making onto a screen point with DoDragDrop, moving the pointer there, and
// drops. Usage: drop_client <kind> <x> <y> [right] [<file>...]
// Kinds: files (CF_HDROP of the files), url (CF_UNICODETEXT of the first
// argument), shell (the files of one folder as CF_HDROP and "Shell IDList
// Array", as the shell offers them; the first argument names a report file
// that tells how often each format was read and the effects the target
// showed; shellcida the same file list with the lying ID-list array of cida),
// and the hostile blocks pfiles, longpath, cida, descriptors, text.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/drop/drop_data_object.h"

namespace {

using droptest::appendWide;
using droptest::Block;
using droptest::DataObject;

// Moves the pointer to the target in a few synthetic steps, then drops.
class DropSource final : public IDropSource {
 public:
  DropSource(POINT from, POINT to, bool right) : m_from(from), m_to(to), m_right(right) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *out = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    // The drag loop reads the buttons from its own thread's key state: a
    // button pressed before its capture window existed went elsewhere. The
    // right button is pressed here, before the pointer reaches the bar.
    if (m_calls == 0 && m_right) press();
    ++m_calls;
    constexpr int kSteps = 8;
    if (m_calls <= kSteps) {
      const int x = m_from.x + (m_to.x - m_from.x) * m_calls / kSteps;
      const int y = m_from.y + (m_to.y - m_from.y) * m_calls / kSteps;
      moveTo(x, y);
      Sleep(15);
      return S_OK;
    }
    if (m_calls < kSteps + 6) {
      moveTo(m_to.x, m_to.y);  // rest over the target for a few rounds
      Sleep(15);
      return S_OK;
    }
    release();
    return DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
    m_shown = effect;
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }
  // The effect the target last showed before the drop.
  DWORD shown() const { return m_shown; }

  void press() { button(m_right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN); }
  void release() { button(m_right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP); }

 private:
  static void moveTo(int x, int y) {
    SetCursorPos(x, y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
  }
  static void button(DWORD flag) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
  }
  POINT m_from, m_to;
  bool m_right;
  int m_calls = 0;
  DWORD m_shown = DROPEFFECT_NONE;
};

void putU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  std::memcpy(b.data() + at, &v, 4);
}

std::vector<uint8_t> dropFiles(const std::vector<std::wstring>& files) {
  std::vector<uint8_t> b;
  putU32(b, 0, sizeof(DROPFILES));
  putU32(b, 16, 1);
  b.resize(sizeof(DROPFILES));
  for (const std::wstring& f : files) appendWide(b, f);
  b.insert(b.end(), {0, 0});
  return b;
}

CLIPFORMAT registered(const wchar_t* name) { return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name)); }

// A "Shell IDList Array" of files in one folder: the folder's absolute list,
// then each file's list relative to it. Empty when the shell knows a name not.
std::vector<uint8_t> idListArray(const std::vector<std::wstring>& files) {
  if (files.empty()) return {};
  const std::wstring folder = files[0].substr(0, files[0].find_last_of(L'\\'));
  std::vector<std::vector<uint8_t>> lists;
  for (size_t i = 0; i <= files.size(); ++i) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHParseDisplayName(i == 0 ? folder.c_str() : files[i - 1].c_str(), nullptr, &list, 0, nullptr)))
      return {};
    const auto* from = reinterpret_cast<const uint8_t*>(i == 0 ? list : ILFindLastID(list));
    lists.emplace_back(from, from + ILGetSize(reinterpret_cast<PCUIDLIST_RELATIVE>(from)));
    CoTaskMemFree(list);
  }
  std::vector<uint8_t> b;
  putU32(b, 0, static_cast<uint32_t>(files.size()));
  size_t at = 4 + 4 * lists.size();
  b.resize(at);
  for (size_t i = 0; i < lists.size(); ++i) {
    putU32(b, 4 + 4 * i, static_cast<uint32_t>(b.size()));
    b.insert(b.end(), lists[i].begin(), lists[i].end());
  }
  return b;
}

std::vector<Block> blocksFor(const std::wstring& kind, const std::vector<std::wstring>& args) {
  if (kind == L"files") return {{CF_HDROP, dropFiles(args)}};
  if (kind == L"shell") {
    const std::vector<std::wstring> files(args.begin() + (args.empty() ? 0 : 1), args.end());
    return {{CF_HDROP, dropFiles(files)}, {registered(CFSTR_SHELLIDLIST), idListArray(files)}};
  }
  if (kind == L"url") {
    std::vector<uint8_t> b;
    appendWide(b, args.empty() ? L"" : args[0]);
    return {{CF_UNICODETEXT, b}};
  }
  if (kind == L"pfiles") {
    // The file list said to start past the end of the block.
    std::vector<uint8_t> b = dropFiles({L"C:\\windows\\notepad.exe"});
    putU32(b, 0, static_cast<uint32_t>(b.size() + 64));
    return {{CF_HDROP, b}};
  }
  if (kind == L"longpath") return {{CF_HDROP, dropFiles({L"C:\\" + std::wstring(297, L'p')})}};
  // 1,000 items claimed in a block with room for two offsets: the parent's
  // (the desktop's empty list) and one far past the end.
  std::vector<uint8_t> lyingIdLists;
  putU32(lyingIdLists, 0, 1000);
  putU32(lyingIdLists, 4, 12);
  putU32(lyingIdLists, 8, 0x7FFFFF00u);
  lyingIdLists.insert(lyingIdLists.end(), {0, 0});
  if (kind == L"cida") return {{registered(CFSTR_SHELLIDLIST), lyingIdLists}};
  if (kind == L"shellcida") {
    const std::vector<std::wstring> files(args.begin() + (args.empty() ? 0 : 1), args.end());
    return {{CF_HDROP, dropFiles(files)}, {registered(CFSTR_SHELLIDLIST), lyingIdLists}};
  }
  if (kind == L"descriptors") {
    std::vector<uint8_t> b;
    putU32(b, 0, 0x7FFFFFFFu);
    putU32(b, 4, 0x8000);
    b.resize(4 + 592);
    std::vector<uint8_t> text;
    appendWide(text, L"http://descriptor.test/");
    return {{registered(CFSTR_FILEDESCRIPTORW), b}, {CF_UNICODETEXT, text}};
  }
  if (kind == L"text") {
    // No terminator anywhere, and longer than any web address.
    return {{CF_TEXT, std::vector<uint8_t>(4000, 'w')}};
  }
  return {};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const std::wstring kind = argv[1];
  const POINT to{_wtoi(argv[2]), _wtoi(argv[3])};
  int next = 4;
  const bool right = argc > next && std::wstring(argv[next]) == L"right";
  if (right) ++next;
  std::vector<std::wstring> args(argv + next, argv + argc);
  // "@file": the arguments are the lines of a UTF-16 file (many files).
  if (args.size() == 1 && args[0].starts_with(L"@")) {
    std::vector<std::wstring> lines;
    if (FILE* f = _wfopen(args[0].c_str() + 1, L"rb")) {
      std::wstring line;
      for (wint_t c; (c = fgetwc(f)) != WEOF;) {
        if (c == L'\n') {
          lines.push_back(line);
          line.clear();
        } else {
          line.push_back(static_cast<wchar_t>(c));
        }
      }
      fclose(f);
    }
    args = lines;
  }
  if (FAILED(OleInitialize(nullptr))) return 3;
  DataObject data(blocksFor(kind, args));
  // Start beside the target, so that the drag enters the bar from outside.
  const POINT from{to.x, to.y + 200};
  SetCursorPos(from.x, from.y);
  DropSource source(from, to, right);
  if (!right) source.press();
  Sleep(30);
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT hr = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK | DROPEFFECT_MOVE, &effect);
  if (kind.starts_with(L"shell") && !args.empty()) {
    if (FILE* f = _wfopen(args[0].c_str(), L"w")) {
      std::fprintf(f, "shown %lu\nresult %lu\nidlist_reads %d\nhdrop_reads %d\n", source.shown(), effect,
                   data.reads(registered(CFSTR_SHELLIDLIST)), data.reads(CF_HDROP));
      std::fclose(f);
    }
  }
  OleUninitialize();
  // 0: dropped, 1: the target refused, 4: the drag failed.
  return hr == DRAGDROP_S_DROP ? (effect != DROPEFFECT_NONE ? 0 : 1) : 4;
}
