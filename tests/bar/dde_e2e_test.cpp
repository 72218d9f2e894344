// The real launcher as a Program Manager DDE server: raw DDE messages posted
// to its bar from this process, the results read from the registry.
#include <gtest/gtest.h>

#include <dde.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>

#include "launcher/bar/item_adder.h"
#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace {

// What a client window was told.
struct ClientLog {
  std::vector<std::pair<HWND, LPARAM>> initiateAcks;  // server, atoms
  std::optional<WORD> ackStatus;
  std::optional<std::vector<uint8_t>> data;
  bool terminated = false;
};
ClientLog g_log;

LRESULT clientMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DDE_ACK:
      if (InSendMessage()) {
        g_log.initiateAcks.emplace_back(reinterpret_cast<HWND>(wParam), lParam);
      } else {
        UINT_PTR status = 0, handle = 0;
        UnpackDDElParam(WM_DDE_ACK, lParam, &status, &handle);
        FreeDDElParam(WM_DDE_ACK, lParam);
        g_log.ackStatus = static_cast<WORD>(status);
      }
      return 0;
    case WM_DDE_DATA: {
      UINT_PTR memory = 0, atom = 0;
      UnpackDDElParam(WM_DDE_DATA, lParam, &memory, &atom);
      FreeDDElParam(WM_DDE_DATA, lParam);
      auto handle = reinterpret_cast<HGLOBAL>(memory);
      const SIZE_T size = GlobalSize(handle);
      if (const auto* bytes = static_cast<const uint8_t*>(GlobalLock(handle))) {
        g_log.data.emplace(bytes, bytes + size);
        GlobalUnlock(handle);
      }
      GlobalFree(handle);
      if (atom) GlobalDeleteAtom(static_cast<ATOM>(atom));
      return 0;
    }
    case WM_DDE_TERMINATE:
      g_log.terminated = true;
      return 0;
  }
  return -1;
}

LRESULT CALLBACK wideProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = clientMessage(msg, wp, lp);
  return r == -1 ? DefWindowProcW(w, msg, wp, lp) : r;
}
LRESULT CALLBACK ansiProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT r = clientMessage(msg, wp, lp);
  return r == -1 ? DefWindowProcA(w, msg, wp, lp) : r;
}

// A DDE client window: Unicode, or ANSI (its commands are read as ANSI text).
HWND makeClient(bool unicode) {
  static const bool registered = [] {
    WNDCLASSW w{};
    w.lpfnWndProc = wideProc;
    w.hInstance = GetModuleHandleW(nullptr);
    w.lpszClassName = L"DdeTestClientW";
    WNDCLASSA a{};
    a.lpfnWndProc = ansiProc;
    a.hInstance = GetModuleHandleW(nullptr);
    a.lpszClassName = "DdeTestClientA";
    return RegisterClassW(&w) && RegisterClassA(&a);
  }();
  if (!registered) return nullptr;
  return unicode ? CreateWindowExW(0, L"DdeTestClientW", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr)
                 : CreateWindowExA(0, "DdeTestClientA", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
}

std::vector<uint8_t> wideBytes(const std::wstring& text) {
  std::vector<uint8_t> out;
  for (wchar_t c : text) {
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

// The whole profile as "section\value" -> bytes, to see that nothing changed.
std::map<std::wstring, std::vector<uint8_t>> profileSnapshot() {
  std::map<std::wstring, std::vector<uint8_t>> out;
  HKEY root = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, e2e::kProfileKey, 0, KEY_READ, &root) != ERROR_SUCCESS) return out;
  wchar_t section[256];
  for (DWORD i = 0;; ++i) {
    DWORD n = 256;
    if (RegEnumKeyExW(root, i, section, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    for (const std::wstring& name : e2e::profile::valueNames(section)) {
      auto data = e2e::profile::getBinary(section, name);
      if (!data) {
        if (auto text = e2e::profile::getString(section, name)) data = wideBytes(*text);
        if (auto word = e2e::profile::getDword(section, name)) data = std::vector<uint8_t>(4, uint8_t(*word));
      }
      out[std::wstring(section) + L"\\" + name] = data.value_or(std::vector<uint8_t>{});
    }
  }
  RegCloseKey(root);
  return out;
}

// The section of the group with that title, from Order; empty when none.
std::wstring sectionOf(const std::wstring& title) {
  const std::wstring order = e2e::profile::getString(L"Settings", L"Order").value_or(L"");
  size_t pos = 0;
  while (pos < order.size()) {
    const size_t end = order.find(L' ', pos);
    const std::wstring number = order.substr(pos, end == std::wstring::npos ? std::wstring::npos : end - pos);
    pos = end == std::wstring::npos ? order.size() : end + 1;
    if (number.empty() || number == L"0") continue;
    if (e2e::profile::getString(L"Group" + number, L"@Title") == title) return L"Group" + number;
  }
  return {};
}

class DdeEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::profile::clear();
    e2e::profile::setString(L"Quick", L"@Title", L"Quick");
    g_log = {};
  }
  void TearDown() override {
    for (HWND w : {client, ansiClient})
      if (w) DestroyWindow(w);
    if (bar) e2e::closeAndWait(launcher, bar);
  }
  void start() {
    launcher = e2e::startLauncher();
    bar = e2e::waitForBar(launcher.pid());
    ASSERT_NE(bar, nullptr);
    while (driver::answerDialog(launcher.pid(), IDCANCEL, 3000)) {
    }
    client = makeClient(true);
    ansiClient = makeClient(false);
    ASSERT_NE(client, nullptr);
    ASSERT_NE(ansiClient, nullptr);
    ASSERT_TRUE(IsWindowUnicode(client));
    ASSERT_FALSE(IsWindowUnicode(ansiClient));
  }
  // Posts the bytes as an execute command memory of exactly their size (the
  // block's slack is filled with `fill`); the acknowledgement's status.
  std::optional<WORD> execute(std::vector<uint8_t> bytes, HWND from = nullptr,
                              std::optional<uint8_t> fill = {}, DWORD waitMs = 10000) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes.size());
    if (!memory) return std::nullopt;
    const SIZE_T size = GlobalSize(memory);
    auto* p = static_cast<uint8_t*>(GlobalLock(memory));
    std::copy(bytes.begin(), bytes.end(), p);
    if (fill) std::fill(p + bytes.size(), p + size, *fill);
    GlobalUnlock(memory);
    g_log.ackStatus.reset();
    PostMessageW(bar, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(from ? from : client),
                 reinterpret_cast<LPARAM>(memory));
    e2e::waitUntil([] { return g_log.ackStatus.has_value(); }, waitMs);
    GlobalFree(memory);
    return g_log.ackStatus;
  }
  std::optional<WORD> execute(const std::wstring& text) { return execute(wideBytes(text)); }
  bool initiate(HWND to) {
    const ATOM app = GlobalAddAtomW(L"PROGMAN"), topic = GlobalAddAtomW(L"PROGMAN");
    g_log.initiateAcks.clear();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(to, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(client), MAKELPARAM(app, topic),
                        SMTO_ABORTIFHUNG, 5000, &answer);
    GlobalDeleteAtom(app);
    GlobalDeleteAtom(topic);
    bool fromBar = false;
    for (auto [server, atoms] : g_log.initiateAcks) {
      fromBar |= server == bar;
      GlobalDeleteAtom(LOWORD(atoms));
      GlobalDeleteAtom(HIWORD(atoms));
    }
    return fromBar;
  }
  // The answer's data block, or nothing after a negative acknowledgement.
  std::optional<std::vector<uint8_t>> request(const std::wstring& item, UINT format) {
    g_log.data.reset();
    g_log.ackStatus.reset();
    PostMessageW(bar, WM_DDE_REQUEST, reinterpret_cast<WPARAM>(client),
                 MAKELPARAM(format, GlobalAddAtomW(item.c_str())));
    e2e::waitUntil([] { return g_log.data || g_log.ackStatus; }, 10000);
    return g_log.data;
  }
  static std::wstring unicodeText(const std::vector<uint8_t>& block) {
    std::wstring text;
    for (size_t i = 4; i + 1 < block.size(); i += 2) {
      const wchar_t c = static_cast<wchar_t>(block[i] | (block[i + 1] << 8));
      if (!c) break;
      text += c;
    }
    return text;
  }

  e2e::Process launcher;
  HWND bar = nullptr;
  HWND client = nullptr;
  HWND ansiClient = nullptr;
};

TEST_F(DdeEndToEnd, ExecuteMakesGroupsAndItemsAndDeletesGroups) {
  start();
  EXPECT_EQ(execute(L"[CreateGroup(Tools)][AddItem(notepad.exe,Editor)]"), 0x8000);
  const std::wstring tools = sectionOf(L"Tools");
  ASSERT_FALSE(tools.empty()) << "Order names a section titled Tools";
  EXPECT_TRUE(e2e::profile::getBinary(tools, L"Editor,1").has_value());

  // The quoted path stays whole; "cREATEgROUP" selects the same group.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"dde (x86)";
  const std::wstring program = folder + L"\\a.exe";
  CreateDirectoryW(folder.c_str(), nullptr);
  CloseHandle(CreateFileW(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  EXPECT_EQ(execute(L"[cREATEgROUP(tools)][AddItem(\"" + program + L"\",A)]"), 0x8000);
  EXPECT_TRUE(e2e::profile::getBinary(tools, L"A,2").has_value());
  EXPECT_EQ(sectionOf(L"tools"), L"") << "no second group";

  // An ANSI client's text is read as ANSI.
  const std::string ansi = "[CreateGroup(Ansi)]";
  std::vector<uint8_t> ansiBytes(ansi.begin(), ansi.end());
  ansiBytes.push_back(0);
  EXPECT_EQ(execute(ansiBytes, ansiClient), 0x8000);
  EXPECT_FALSE(sectionOf(L"Ansi").empty());

  // Unknown group: negative, nothing changed.
  auto before = profileSnapshot();
  EXPECT_EQ(execute(L"[DeleteGroup(Nope)]"), 0);
  EXPECT_EQ(execute(L"[ShowGroup(Nope,1)][Reload(Nope)][Frobnicate(Tools)]"), 0);
  EXPECT_EQ(profileSnapshot(), before);

  // One success among failures acknowledges positively.
  EXPECT_EQ(execute(L"[DeleteGroup(Nope)][Reload(Tools)]"), 0x8000);
  EXPECT_EQ(execute(L"[DeleteGroup(Ansi)]"), 0x8000);
  EXPECT_EQ(sectionOf(L"Ansi"), L"");
  EXPECT_TRUE(e2e::profile::valueNames(L"Group2").empty()) << "the section itself is gone";
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;

  // What was saved decodes after the launcher ended.
  vorbin::RegistryProfile profile;
  vorbin::ModelOptions options;
  options.isV416Later = true;
  vorbin::GroupTable saved(profile, options);
  saved.loadGroups();
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[1].title, L"Tools");
  ASSERT_NE(saved.item(1, 0), nullptr);
  EXPECT_EQ(saved.item(1, 0)->title, L"Editor");
  EXPECT_EQ(saved.item(1, 0)->targetPath(), L"notepad.exe");
  ASSERT_NE(saved.item(1, 1), nullptr);
  EXPECT_EQ(saved.item(1, 1)->targetPath(), program);
  EXPECT_EQ(saved.item(1, 1)->folder, folder);
  DeleteFileW(program.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(DdeEndToEnd, BadInputIsAcknowledgedAndChangesNothing) {
  start();
  ASSERT_EQ(execute(L"[CreateGroup(Tools)]"), 0x8000);
  const auto before = profileSnapshot();
  const auto activeBefore = e2e::profile::getString(L"Settings", L"ActGroup");
  // A block with no NUL: the text runs to the memory's end.
  const std::string noNul = "[Reload(Nope)]";
  std::vector<uint8_t> bytes(noNul.begin(), noNul.end());
  EXPECT_EQ(execute(bytes, ansiClient, uint8_t('x')), 0);
  EXPECT_EQ(execute(std::vector<uint8_t>(65536, '['), ansiClient, uint8_t('[')), 0);
  EXPECT_EQ(execute(L"[AddItem(\"C:\\a.exe,A)][CreateGroup(B)]"), 0) << "unterminated quote";
  EXPECT_EQ(execute(L"[DeleteGroup()]"), 0);
  EXPECT_EQ(execute(L"[DeleteGroup(Quick)]"), 0) << "the quick group has no section of its own";
  EXPECT_EQ(execute(L"[CreateGroup(QUICK)]"), 0x8000) << "selects the quick group for adds only";
  // UTF-16 text from an ANSI window is not a command string.
  EXPECT_EQ(execute(wideBytes(L"[DeleteGroup(Tools)]"), ansiClient), 0);
  EXPECT_EQ(profileSnapshot(), before);
  EXPECT_EQ(e2e::profile::getString(L"Settings", L"ActGroup"), activeBefore);
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) << "the bar answers";
}

TEST_F(DdeEndToEnd, RequestsAnswerOnlyInAConversation) {
  // A group of 2,000 buttons, answered whole.
  {
    vorbin::RegistryProfile profile;
    vorbin::GroupTable table(profile, vorbin::ModelOptions{});
    table.loadGroups();
    const std::wstring title = L"Big";
    ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &title, false));
    for (int slot = 0; slot < 2000; ++slot) {
      auto item = std::make_unique<vorbin::Item>();
      item->title = L"Button " + std::to_wstring(slot);
      item->setTargetPath(L"C:\\Tools\\program" + std::to_wstring(slot) + L".exe -x");
      table.placeItem(1, slot, std::move(item));
      ASSERT_TRUE(table.saveItem(1, slot, false));
    }
  }
  start();
  EXPECT_FALSE(request(L"groups", CF_UNICODETEXT)) << "no conversation yet";
  EXPECT_EQ(g_log.ackStatus, 0);

  // A broadcast is the system's Program Manager's to answer.
  EXPECT_FALSE(initiate(HWND_BROADCAST));
  EXPECT_FALSE(request(L"groups", CF_UNICODETEXT));
  ASSERT_TRUE(initiate(bar));

  auto groups = request(L"GROUPS", CF_UNICODETEXT);
  ASSERT_TRUE(groups);
  EXPECT_EQ((*groups)[1] & 0x30, 0x30) << "response and release bits";
  EXPECT_EQ((*groups)[2], CF_UNICODETEXT);
  EXPECT_EQ(unicodeText(*groups), L"Quick\r\nBig\r\n");
  auto ansi = request(L"groups", CF_TEXT);
  ASSERT_TRUE(ansi);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ansi->data() + 4)), "Quick\r\nBig\r\n");
  EXPECT_FALSE(request(L"groups", CF_BITMAP)) << "other formats are refused";

  auto big = request(L"big", CF_UNICODETEXT);
  ASSERT_TRUE(big);
  const std::wstring text = unicodeText(*big);
  EXPECT_EQ(text.substr(0, text.find(L"\r\n")), L"\"Big\",,2000,1");
  EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 2001);
  EXPECT_NE(
      text.find(
          L"\"Button 1999\",\"C:\\Tools\\program1999.exe -x\",,C:\\Tools\\program1999.exe,0,0,0,0,0\r\n"),
      std::wstring::npos);
  EXPECT_EQ(unicodeText(request(L"Nope", CF_UNICODETEXT).value_or(std::vector<uint8_t>{})), L"");

  // Terminate: answered, and the conversation is over.
  PostMessageW(bar, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(client), 0);
  EXPECT_TRUE(e2e::waitUntil([] { return g_log.terminated; }, 5000));
  EXPECT_FALSE(request(L"groups", CF_UNICODETEXT));
}

// Benchmark: one execute string with 1,000 additem commands, from the post to
// the acknowledgement (every item saved by then).
TEST_F(DdeEndToEnd, AThousandAddItemsInOneExecute) {
  start();
  std::wstring text = L"[CreateGroup(Bench)]";
  for (int i = 0; i < 1000; ++i) text += L"[AddItem(notepad.exe,Editor " + std::to_wstring(i) + L")]";
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(execute(wideBytes(text), nullptr, {}, 120000), 0x8000);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::printf("[ BENCH    ] 1000 additem commands in one execute: %.2f s\n", seconds);
  RecordProperty("dde_additem1000_seconds", std::to_string(seconds));
  const std::wstring bench = sectionOf(L"Bench");
  ASSERT_FALSE(bench.empty());
  size_t values = 0;
  for (const std::wstring& name : e2e::profile::valueNames(bench))
    if (name.find(L',') != std::wstring::npos) ++values;
  EXPECT_EQ(values, 1000u);
}


// Targets, each one new to the launcher: links to (or copies of) a few
// programs, documents of several types, programs with arguments, in a
// folder of their own in the temporary folder; removed with the object.
struct DifferentTargets {
  std::wstring folder;
  std::vector<std::wstring> files;
  std::vector<std::wstring> targets;
  // Every other target a program when `mixed`, else programs only.
  DifferentTargets(const std::wstring& name, int count, bool mixed) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::vector<std::wstring> programs = {std::wstring(system) + L"\\notepad.exe",
                                                std::wstring(system) + L"\\winefile.exe",
                                                std::wstring(system) + L"\\winemine.exe",
                                                std::wstring(system) + L"\\taskmgr.exe",
                                                e2e::binPath(L"vorbin2k.exe")};
    const std::vector<std::wstring> documents = {L".txt", L".bmp", L".ini", L".html", L".log"};
    for (int i = 0; i < count; ++i) {
      wchar_t file[32];
      if (!mixed || i % 2 == 0) {
        swprintf(file, 32, L"\\prog%04d.exe", i);
        const std::wstring& from = programs[(mixed ? i / 2 : i) % programs.size()];
        const std::wstring path = folder + file;
        if (!CreateHardLinkW(path.c_str(), from.c_str(), nullptr)) CopyFileW(from.c_str(), path.c_str(), FALSE);
        files.push_back(path);
        targets.push_back(i % 10 == 4 ? path + L" -n " + std::to_wstring(i) : path);
      } else {
        swprintf(file, 32, L"\\doc%04d", i);
        const std::wstring path = folder + file + documents[(i / 2) % documents.size()];
        CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        files.push_back(path);
        targets.push_back(path);
      }
    }
  }
  ~DifferentTargets() {
    for (const std::wstring& file : files) DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
  }
  bool made() const {
    return std::all_of(files.begin(), files.end(), [](const std::wstring& f) {
      return GetFileAttributesW(f.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
  }
  // One execute string making group `title` with an additem per target.
  std::wstring commands(const std::wstring& title) const {
    std::wstring text = L"[CreateGroup(" + title + L")]";
    for (size_t i = 0; i < targets.size(); ++i)
      text += L"[AddItem(" + targets[i] + L",Item " + std::to_wstring(i) + L")]";
    return text;
  }
};

// The saved group 1: how many of its items are right (title and target as
// added, with a picture) and how many have a picture at all.
struct SavedCheck {
  size_t right = 0;
  size_t pictures = 0;
};
SavedCheck checkSaved(const std::vector<std::wstring>& targets) {
  vorbin::RegistryProfile profile;
  vorbin::ModelOptions options;
  options.isV416Later = true;
  vorbin::GroupTable saved(profile, options);
  saved.loadGroups();
  SavedCheck out;
  for (size_t i = 0; i < targets.size() && saved.size() > 2; ++i) {
    const vorbin::Item* item = saved.item(1, static_cast<int>(i));
    if (!item) continue;
    out.pictures += !item->image.empty();
    out.right += item->title == L"Item " + std::to_wstring(i) && item->targetPath() == targets[i] &&
                 !item->image.empty();
  }
  return out;
}

// Benchmark: 1,000 additem commands naming 1,000 different targets. The
// pictures are built after the answer while the bar is idle: the second
// figure is when the last one was saved.
TEST_F(DdeEndToEnd, AThousandDifferentAddItemsInOneExecute) {
  const DifferentTargets many(L"dde_many", 1000, true);
  ASSERT_TRUE(many.made());
  start();
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(execute(wideBytes(many.commands(L"Many")), nullptr, {}, 120000), 0x8000);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::printf("[ BENCH    ] 1000 additem commands of different targets in one execute: %.2f s\n", seconds);
  RecordProperty("dde_additem1000_different_seconds", std::to_string(seconds));
  // Every item is saved by the answer; the pictures follow while the bar runs.
  const std::wstring section = sectionOf(L"Many");
  ASSERT_FALSE(section.empty());
  const auto names = e2e::profile::valueNames(section);
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::wstring& n) { return n.find(L',') != n.npos; }),
            1000);
  EXPECT_TRUE(e2e::waitUntil([&] { return checkSaved(many.targets).pictures == 1000; }, 60000));
  const double pictures = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::printf("[ BENCH    ] ... their pictures saved after: %.2f s\n", pictures);
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) << "the bar answers";
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;
  EXPECT_EQ(checkSaved(many.targets).right, 1000u);
}

// A quit right after the answer, before the pictures were built, loses none.
TEST_F(DdeEndToEnd, AQuitBeforeThePicturesAreBuiltKeepsThemAll) {
  const DifferentTargets programs(L"dde_quit", 300, false);
  ASSERT_TRUE(programs.made());
  start();
  EXPECT_EQ(execute(wideBytes(programs.commands(L"Quit")), nullptr, {}, 60000), 0x8000);
  EXPECT_LT(checkSaved(programs.targets).pictures, 300u) << "some pictures still wait (else this tests nothing)";
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar, 30000));
  bar = nullptr;
  EXPECT_EQ(checkSaved(programs.targets).right, 300u);
}

// Pictures built after the adds (as after an execute string) end in the same
// stored values as pictures built at once; an item gone before its picture
// was built is left gone.
TEST_F(DdeEndToEnd, PicturesBuiltLaterAreStoredAsPicturesBuiltAtOnce) {
  const DifferentTargets targets(L"dde_same", 40, true);
  ASSERT_TRUE(targets.made());
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const auto request = [&](size_t i) {
    vorbin::NewItemRequest r;
    r.target = targets.targets[i];
    r.title = L"Item " + std::to_wstring(i);
    if (i % 8 == 3) {  // an icon of a file of its own
      r.iconFile = std::wstring(system) + L"\\shell32.dll";
      r.iconIndex = static_cast<int>(i % 5);
    }
    return r;
  };
  vorbin::RegistryProfile profile;
  vorbin::GroupTable table(profile, vorbin::ModelOptions{});
  table.loadGroups();
  const std::wstring now = L"Now", later = L"Later";
  ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &now, false));
  ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &later, false));
  {
    vorbin::ItemAdder adder(table);
    for (size_t i = 0; i < targets.targets.size(); ++i) ASSERT_TRUE(adder.addItemFromRequest(request(i), 1));
    EXPECT_FALSE(adder.picturesPending()) << "outside a batch pictures are made at once";
  }
  const std::wstring nowSection = table.groupSectionName(1), laterSection = table.groupSectionName(2);
  {
    vorbin::ItemAdder adder(table);
    {
      vorbin::ItemAdder::PictureBatch batch(adder);
      for (size_t i = 0; i < targets.targets.size(); ++i) ASSERT_TRUE(adder.addItemFromRequest(request(i), 2));
    }
    ASSERT_TRUE(adder.picturesPending());
    ASSERT_NE(table.item(2, 0), nullptr);
    EXPECT_TRUE(table.item(2, 0)->image.empty()) << "saved first, its picture still waiting";
    EXPECT_NE(e2e::profile::getBinary(laterSection, L"Item 0,1"), e2e::profile::getBinary(nowSection, L"Item 0,1"));
    // Deleted before its picture came.
    ASSERT_TRUE(table.saveItem(2, 5, true));
    table.removeItem(2, 5);
    // Given a picture of the user's own before its own came: it keeps it.
    ASSERT_NE(table.item(1, 3)->image.bits, table.item(1, 7)->image.bits);
    table.item(2, 7)->image = table.item(1, 3)->image;
    ASSERT_TRUE(table.saveItem(2, 7, false));
    int turns = 0;
    while (adder.buildPictures(5)) ++turns;
    EXPECT_GT(turns, 0) << "built a few at a time";
    EXPECT_FALSE(adder.picturesPending());
  }
  EXPECT_EQ(table.item(2, 5), nullptr);
  EXPECT_FALSE(e2e::profile::getBinary(laterSection, L"Item 5,6"));
  EXPECT_EQ(table.item(2, 7)->image.bits, table.item(1, 3)->image.bits);
  for (size_t i = 0; i < targets.targets.size(); ++i) {
    if (i == 5 || i == 7) continue;
    const std::wstring name = L"Item " + std::to_wstring(i) + L"," + std::to_wstring(i + 1);
    const auto atOnce = e2e::profile::getBinary(nowSection, name);
    ASSERT_TRUE(atOnce) << name;
    EXPECT_EQ(e2e::profile::getBinary(laterSection, name), atOnce) << name;
    ASSERT_NE(table.item(2, static_cast<int>(i)), nullptr);
    EXPECT_FALSE(table.item(2, static_cast<int>(i))->image.empty()) << name;
  }
}

}  // namespace
