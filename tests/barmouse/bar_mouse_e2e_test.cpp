// The real launcher's bar under synthetic mouse input: clicks start the
// buttons' programs, the rubber band selects what it touches, small moves
// stay clicks, and starting more than ExeLimit buttons asks first.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <tlhelp32.h>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_fonts.h"
#include "tests/app/launcher_driver.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

constexpr wchar_t kProbeClass[] = L"VbLaunchProbe";
constexpr wchar_t kReportName[] = L"probe-report.txt";
constexpr int kItems = 4;  // slots 0..3: the first row of the grid; the second row stays empty

std::wstring workRoot() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + L"barmouse";
}
// Each item starts in a folder of its own, so its probe reports there.
std::wstring slotFolder(int slot) { return workRoot() + L"\\slot" + std::to_wstring(slot); }
std::wstring reportOf(int slot) { return slotFolder(slot) + L"\\" + kReportName; }

// The probe's command line from its report, once the report is complete.
std::optional<std::wstring> commandLineReported(int slot, DWORD timeoutMs = 10000) {
  std::optional<std::wstring> line;
  e2e::waitUntil(
      [&] {
        HANDLE f = CreateFileW(reportOf(slot).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        std::wstring text(GetFileSize(f, nullptr) / sizeof(wchar_t), L'\0');
        DWORD read = 0;
        ReadFile(f, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
        CloseHandle(f);
        line = text.substr(0, text.find(L'\n'));
        return true;
      },
      timeoutMs);
  return line;
}

int runningProbes() {
  int n = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry))
    n += lstrcmpiW(entry.szExeFile, L"launch_probe.exe") == 0;
  CloseHandle(snapshot);
  return n;
}

void closeProbes() {
  while (HWND probe = FindWindowW(kProbeClass, nullptr)) {
    PostMessageW(probe, WM_CLOSE, 0, 0);
    e2e::waitUntil([&] { return !IsWindow(probe); }, 5000);
  }
  e2e::waitUntil([] { return runningProbes() == 0; }, 5000);
}

// Group 2's items report in the folders from 10 on.
constexpr int kSecondGroupFolders = 10;

IconImage magentaImage() {
  IconImage image;
  image.depth = 24;
  image.bits.assign(imageByteSize(24), 0);
  for (size_t i = 128; i + 2 < image.bits.size(); i += 3) image.bits[i] = image.bits[i + 2] = 255;
  return image;
}

void placeProbe(GroupTable& table, int group, int slot, int folder) {
  CreateDirectoryW(slotFolder(folder).c_str(), nullptr);
  DeleteFileW(reportOf(folder).c_str());
  auto item = std::make_unique<Item>();
  item->title = L"Probe " + std::to_wstring(folder);
  item->setTargetPath(L"\"" + e2e::binPath(L"launch_probe.exe") + L"\" slot" + std::to_wstring(folder) +
                      L" \"two words\"");
  item->folder = slotFolder(folder);
  if (group == 2) item->image = magentaImage();
  table.placeItem(group, slot, std::move(item));
  ASSERT_TRUE(table.saveItem(group, slot, false));
}

// Group 1: items 0..3 start the probe with arguments naming their slot.
// Group 2: slots 0 and 4 (two rows), with magenta images.
void seedItems() {
  RegistryProfile profile;
  GroupTable table(profile, ModelOptions{});
  table.loadGroups();
  const std::wstring tools = L"Tools", more = L"More";
  ASSERT_EQ(table.ensureGroup(1, &tools, false), 1);
  ASSERT_EQ(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &more, false), 2);
  CreateDirectoryW(workRoot().c_str(), nullptr);
  for (int slot = 0; slot < kItems; ++slot) placeProbe(table, 1, slot, slot);
  for (int slot : {0, 4}) placeProbe(table, 2, slot, kSecondGroupFolders + slot);
  table.saveOrder();
}

bool magentaHue(uint32_t c) {
  const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  return r > g + 60 && b > g + 60;
}

bool topmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void key(WORD vk, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
  e2e::pumpFor(100);
}

class BarMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    // The pointer resting over a tab of the new bar would open that group.
    SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);
    closeProbes();
    e2e::profile::clear();
    seedItems();
    // A relative report name lands in each probe's own folder.
    SetEnvironmentVariableW(L"VB_PROBE_OUT", kReportName);
    e2e::profile::setString(L"Settings", L"ActGroup", L"1");
    // Away from the probes' windows, which open at the top left.
    e2e::profile::setDword(L"Settings", L"PositionX", 320);
    e2e::profile::setDword(L"Settings", L"PositionY", 160);
    // The selection stays highlighted for the whole test.
    e2e::profile::setDword(L"Settings", L"FlushTime", 10000);
  }
  void TearDown() override {
    if (bar) e2e::closeAndWait(launcher, bar);
    closeProbes();
  }

  void start(bool locked) {
    e2e::profile::setString(L"Settings", L"Lock", locked ? L"Yes" : L"No");
    bar = driver::startBarInFront(launcher);
    ASSERT_NE(bar, nullptr);
    // The same layout code as the bar's, on the bar's client size.
    RECT client;
    GetClientRect(bar, &client);
    HDC screen = GetDC(nullptr);
    const LayoutMetrics metrics = measureLayoutMetrics(screen, FontSettings{}, 25, 0, 4);
    ReleaseDC(nullptr, screen);
    layout = computeBarLayout(metrics, false, client.bottom);
    ASSERT_EQ(client.right, layout.width);
    origin = {0, 0};
    ClientToScreen(bar, &origin);
  }

  ButtonGeometry button(int slot) const { return gridButton(layout, gridCells(layout, 0), slot); }
  POINT imageCentre(int slot) const {
    const PixelRect r = button(slot).image;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  POINT cellCentre(int slot) const {
    const PixelRect r = button(slot).cell;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  // Synthetic input at a point of the bar's client area.
  void input(POINT at, DWORD buttons) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = ((origin.x + at.x) * 65536 + w - 1) / w;
    in.mi.dy = ((origin.y + at.y) * 65536 + h - 1) / h;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &in, sizeof(in));
    e2e::pumpFor(40);
  }
  // Press at `from`, move through the points, release at the last one.
  void drag(POINT from, std::initializer_list<POINT> through) {
    input(from, 0);
    input(from, MOUSEEVENTF_LEFTDOWN);
    POINT last = from;
    for (POINT p : through) input(last = p, 0);
    input(last, MOUSEEVENTF_LEFTUP);
  }
  void click(POINT at) { drag(at, {}); }
  // The left button held down at a point for a while.
  void hold(POINT at, DWORD ms) {
    input(at, 0);
    input(at, MOUSEEVENTF_LEFTDOWN);
    e2e::pumpFor(ms);
    input(at, MOUSEEVENTF_LEFTUP);
  }

  POINT centre(const PixelRect& r) const { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  POINT tabCentre(int group) const { return centre(tabRect(layout, tabLayout(layout, 0), group, 0)); }
  POINT functionKey(int index) const { return centre(layout.functionKeys[static_cast<size_t>(index)]); }
  // Group 2's magenta image fills the first cell's image; outside the
  // activation area or selected it is blended, but stays magenta in hue.
  bool secondGroupShown() const {
    const auto cap = e2e::captureWindow(bar);
    const POINT p = imageCentre(0);
    return cap && magentaHue(cap->at(p.x, p.y));
  }

  e2e::Process launcher;
  HWND bar = nullptr;
  BarLayout layout;
  POINT origin{};
};

TEST_F(BarMouse, ClickStartsTheButtonsProgramAndTheBarHidesUnlessLocked) {
  start(false);
  click(imageCentre(2));
  const auto line = commandLineReported(2);
  ASSERT_TRUE(line.has_value()) << "the probe of slot 2 did not start";
  EXPECT_NE(line->find(L"slot2 \"two words\""), std::wstring::npos) << *line;
  EXPECT_NE(line->find(L"launch_probe.exe"), std::wstring::npos) << *line;
  EXPECT_TRUE(e2e::waitUntil([&] { return driver::hidden(bar); }, 5000))
      << "unlocked bar stays after a start";
  EXPECT_EQ(runningProbes(), 1);
}

TEST_F(BarMouse, LockedBarStaysShownAfterAStart) {
  start(true);
  click(imageCentre(1));
  const auto line = commandLineReported(1);
  ASSERT_TRUE(line.has_value());
  EXPECT_NE(line->find(L"slot1 \"two words\""), std::wstring::npos) << *line;
  e2e::pumpFor(300);
  EXPECT_TRUE(driver::shown(bar));
}

TEST_F(BarMouse, MovesWithinTheDragDistanceStayClicks) {
  start(true);
  // Twice the system's drag size is the distance; these moves stay inside it.
  const int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
  ASSERT_GE(dx, 2);
  ASSERT_GE(dy, 2);
  POINT on = imageCentre(0);
  drag(on, {{on.x + dx, on.y + 1}, {on.x + 2 * dx - 1, on.y + dy}});
  EXPECT_TRUE(commandLineReported(0).has_value()) << "a small move on the image started a drag";

  // Below the image a rubber band may begin, but not within the distance:
  // the release then starts the button instead of selecting it.
  const PixelRect cell1 = button(1).cell, image1 = button(1).image;
  ASSERT_GT(cell1.bottom - 1, image1.bottom);
  const POINT below{(cell1.left + cell1.right) / 2, (image1.bottom + cell1.bottom) / 2};
  drag(below, {{below.x + dx, below.y}});
  EXPECT_TRUE(commandLineReported(1).has_value()) << "a small move below the image drew a rubber band";

  // Beyond the distance the button is dragged and nothing starts; the click
  // on slot 3 afterwards shows the release was handled.
  on = imageCentre(2);
  drag(on, {{on.x + 2 * dx + 6, on.y + 2 * dy + 6}, {on.x + 4 * dx + 10, on.y + 2 * dy + 6}});
  click(imageCentre(3));
  ASSERT_TRUE(commandLineReported(3).has_value());
  EXPECT_EQ(runningProbes(), 3) << "slot 2 started though it was dragged";
  EXPECT_EQ(GetFileAttributesW(reportOf(2).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(BarMouse, RubberBandSelectsTheButtonsItTouchesAndAClickStartsThemAll) {
  start(true);
  // From the empty cell under slot 1 to the middle of slot 2: the band touches
  // cells 1, 2, 5 and 6, of which 1 and 2 hold buttons.
  const POINT from = cellCentre(5), to = cellCentre(2);
  drag(from, {{from.x + 10, from.y - 10}, {(from.x + to.x) / 2, (from.y + to.y) / 2}, to});
  // A click on a selected button starts the whole selection.
  click(imageCentre(1));
  ASSERT_TRUE(commandLineReported(1).has_value());
  ASSERT_TRUE(commandLineReported(2).has_value()) << "the band did not select slot 2";
  EXPECT_EQ(runningProbes(), 2) << "the band selected a button it did not touch";
  EXPECT_EQ(GetFileAttributesW(reportOf(0).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(reportOf(3).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(BarMouse, MoreButtonsThanExeLimitAskFirstAndCancelStartsNothing) {
  e2e::profile::setDword(L"Settings", L"ExeLimit", 3);
  start(true);
  // From the empty last cell of the second row to the first button: all four.
  const POINT from = cellCentre(7), to = cellCentre(0);
  drag(from, {{from.x - 10, from.y - 10}, {(from.x + to.x) / 2, (from.y + to.y) / 2}, to});
  click(imageCentre(0));
  const auto question = driver::answerDialog(launcher.pid(), IDCANCEL);
  ASSERT_TRUE(question.has_value()) << "four buttons started without asking";
  EXPECT_NE(question->find(L"4"), std::wstring::npos) << *question;
  // The next click comes soon enough to be the second half of a double-click.
  ASSERT_TRUE(e2e::waitUntil([&] { return driver::findDialog(launcher.pid()) == nullptr; }, 5000));
  // Asked again, OK starts the four: had Cancel started any, there would be more.
  click(imageCentre(0));
  ASSERT_TRUE(driver::answerDialog(launcher.pid(), IDOK).has_value());
  for (int slot = 0; slot < kItems; ++slot) EXPECT_TRUE(commandLineReported(slot).has_value()) << slot;
  EXPECT_EQ(runningProbes(), 4);
}

TEST_F(BarMouse, ThreeSelectedButtonsWithExeLimitThreeStartWithoutAsking) {
  e2e::profile::setDword(L"Settings", L"ExeLimit", 3);
  start(true);
  const POINT from = cellCentre(6), to = cellCentre(0);
  drag(from, {{from.x - 10, from.y - 10}, to});
  click(imageCentre(1));
  for (int slot = 0; slot < 3; ++slot) EXPECT_TRUE(commandLineReported(slot).has_value()) << slot;
  EXPECT_EQ(driver::findDialog(launcher.pid()), nullptr);
  EXPECT_EQ(runningProbes(), 3);
}

TEST_F(BarMouse, TabClickAndHoverSwitchTheShownGroup) {
  start(true);
  ASSERT_FALSE(secondGroupShown());
  click(tabCentre(2));
  ASSERT_TRUE(e2e::waitUntil([&] { return secondGroupShown(); }, 5000)) << "a click on the tab";
  click(imageCentre(0));
  EXPECT_TRUE(commandLineReported(kSecondGroupFolders).has_value()) << "group 2's button did not start";

  click(tabCentre(1));
  ASSERT_TRUE(e2e::waitUntil([&] { return !secondGroupShown(); }, 5000));
  // Resting over another group's tab opens it without a press.
  input(tabCentre(2), 0);
  input({tabCentre(2).x + 1, tabCentre(2).y}, 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return secondGroupShown(); }, 5000)) << "hovering over the tab";
}

TEST_F(BarMouse, APointerPassingOverATabDoesNotOpenItsGroup) {
  e2e::profile::setDword(L"Settings", L"IntervalAtSel", 1500);
  start(true);
  ASSERT_FALSE(secondGroupShown());
  input(tabCentre(2), 0);
  input({tabCentre(2).x + 1, tabCentre(2).y}, 0);
  input(imageCentre(0), 0);  // on into the grid before the hover delay ends
  e2e::pumpFor(2500);
  EXPECT_FALSE(secondGroupShown()) << "the group opened after the pointer had left its tab";
  input(tabCentre(2), 0);
  input({tabCentre(2).x + 1, tabCentre(2).y}, 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return secondGroupShown(); }, 5000)) << "resting over the tab";
}

TEST_F(BarMouse, ListScrollArrowsMoveGroupsOfSeveralRowsOnly) {
  start(true);
  ASSERT_GT(layout.scrollDown.height(), 0);
  // Group 1 has one row: the arrow changes nothing.
  click(centre(layout.scrollDown));
  click(imageCentre(0));
  ASSERT_TRUE(commandLineReported(0).has_value()) << "a one-row group scrolled";

  click(tabCentre(2));
  ASSERT_TRUE(e2e::waitUntil([&] { return secondGroupShown(); }, 5000));
  auto arrowPixels = [&] {
    const auto cap = e2e::captureWindow(bar);
    std::vector<uint32_t> pixels;
    const PixelRect r = layout.scrollDown;
    for (int y = r.top; cap && y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) pixels.push_back(cap->at(x, y));
    return pixels;
  };
  const auto released = arrowPixels();
  // Held down, the arrow is drawn pressed; released, it is plain again.
  input(centre(layout.scrollDown), 0);
  input(centre(layout.scrollDown), MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(e2e::waitUntil([&] { return arrowPixels() != released; }, 2000))
      << "the held arrow is not drawn pressed";
  input(centre(layout.scrollDown), MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(e2e::waitUntil([&] { return arrowPixels() == released; }, 3000)) << "the arrow stayed pressed";
  // The second row is now the first: its slot 4 sits in the first cell.
  click(imageCentre(0));
  ASSERT_TRUE(commandLineReported(kSecondGroupFolders + 4).has_value()) << "the arrow did not scroll";
  EXPECT_EQ(GetFileAttributesW(reportOf(kSecondGroupFolders).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(BarMouse, FunctionKeysTopLockAndClose) {
  start(false);
  // TOP on, then off: the bar leaves the topmost band.
  click(functionKey(3));
  EXPECT_TRUE(topmost(bar));
  click(functionKey(3));
  EXPECT_FALSE(topmost(bar)) << "TOP off";
  // LOCK on a bar that is not topmost switches TOP on with it.
  click(functionKey(4));
  EXPECT_TRUE(topmost(bar)) << "LOCK with LockWithTop";
  click(imageCentre(0));
  ASSERT_TRUE(commandLineReported(0).has_value());
  e2e::pumpFor(300);
  EXPECT_TRUE(driver::shown(bar)) << "the locked bar hid after a start";
  // LOCK off takes back the TOP it switched on.
  click(functionKey(4));
  EXPECT_FALSE(topmost(bar));
  click(functionKey(7));
  EXPECT_TRUE(e2e::waitUntil([&] { return driver::hidden(bar); }, 5000)) << "CLOSE";
}

TEST_F(BarMouse, KeysPressAndReleaseTheSameButtons) {
  start(false);
  ASSERT_TRUE(driver::bringToFront(bar));
  // "O" is the TOP key: it acts when released.
  key('O', false);
  key('O', true);
  EXPECT_TRUE(topmost(bar));
  key('O', false);
  key('O', true);
  EXPECT_FALSE(topmost(bar));
  // "C" (CLOSE) held down hides nothing yet.
  key('C', false);
  e2e::pumpFor(300);
  EXPECT_TRUE(driver::shown(bar)) << "the key acted on its press";
  key('C', true);
  EXPECT_TRUE(e2e::waitUntil([&] { return driver::hidden(bar); }, 5000)) << "CLOSE on release";
}

TEST_F(BarMouse, CaptionBoxesMaximizeRestoreAndExit) {
  e2e::profile::setString(L"Settings", L"DispEndMessage", L"No");
  start(true);
  // The boxes sit in the caption row, which otherwise drags the bar.
  click(centre(layout.captionBoxes[0]));
  ASSERT_TRUE(e2e::waitUntil([&] { return IsZoomed(bar) != FALSE; }, 5000)) << "box 0 did not maximize";
  e2e::pumpFor(300);
  origin = {0, 0};
  ClientToScreen(bar, &origin);
  click(centre(layout.captionBoxes[0]));
  ASSERT_TRUE(e2e::waitUntil([&] { return IsZoomed(bar) == FALSE; }, 5000)) << "box 0 did not restore";
  e2e::pumpFor(300);
  origin = {0, 0};
  ClientToScreen(bar, &origin);
  click(centre(layout.captionBoxes[1]));
  EXPECT_TRUE(launcher.wait(10000).has_value()) << "box 1 did not end the launcher";
  bar = nullptr;
}

// Enough groups for tab rows beyond the tab area.
void seedManyGroups() {
  RegistryProfile profile;
  // The section names of new groups follow the profile's stored options.
  Settings stored;
  loadSettings(profile, stored);
  GroupTable table(profile, ModelOptions::fromSettings(stored));
  table.loadGroups();
  for (int n = 3; n <= 40; ++n) {
    const std::wstring title = L"G" + std::to_wstring(n);
    ASSERT_TRUE(table.ensureGroup(static_cast<int>(table.placeholderIndex()), &title, false).has_value());
  }
  table.saveOrder();
}

TEST_F(BarMouse, GroupScrollButtonsMoveTheTabRowsWhileHeld) {
  seedManyGroups();
  start(true);
  click(tabCentre(2));
  ASSERT_TRUE(e2e::waitUntil([&] { return secondGroupShown(); }, 5000));
  // Held down, the lower button scrolls the rows; the tab at group 2's place
  // then belongs to a later, empty group.
  hold(centre(layout.groupScroll[1]), 400);
  click(tabCentre(2));
  EXPECT_TRUE(e2e::waitUntil([&] { return !secondGroupShown(); }, 5000)) << "the tab rows did not move";
  // And the upper one brings them back.
  hold(centre(layout.groupScroll[0]), 1500);
  click(tabCentre(2));
  EXPECT_TRUE(e2e::waitUntil([&] { return secondGroupShown(); }, 5000)) << "the tab rows did not come back";
}

TEST_F(BarMouse, ExecKeyStartsTheChosenProgram) {
  // This probe reports to a fixed place whatever folder it starts in.
  const std::wstring report = reportOf(20);
  CreateDirectoryW(slotFolder(20).c_str(), nullptr);
  DeleteFileW(report.c_str());
  SetEnvironmentVariableW(L"VB_PROBE_OUT", report.c_str());
  start(true);
  click(functionKey(1));
  HWND dialog = nullptr;
  ASSERT_TRUE(e2e::waitUntil([&] { return (dialog = driver::findDialog(launcher.pid())) != nullptr; }, 8000));
  // The file name box: the combo of the newer dialog or the plain edit.
  HWND name = GetDlgItem(dialog, 0x47C);
  if (!name) name = GetDlgItem(dialog, 0x480);
  ASSERT_NE(name, nullptr);
  const std::wstring probe = e2e::binPath(L"launch_probe.exe");
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(probe.c_str()));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  const auto line = commandLineReported(20);
  ASSERT_TRUE(line.has_value()) << "the chosen program did not start";
  EXPECT_NE(line->find(L"launch_probe.exe"), std::wstring::npos) << *line;
  // The next choice begins in the folder of this one.
  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;
  const auto folder = e2e::profile::getString(L"Settings", L"ExeDirectry");
  ASSERT_TRUE(folder.has_value());
  std::wstring bin = e2e::binDir();
  if (!bin.empty() && bin.back() == L'\\') bin.pop_back();
  EXPECT_EQ(lstrcmpiW(folder->substr(0, folder->find(L',')).c_str(), bin.c_str()), 0)
      << *folder << " " << bin;
}

TEST_F(BarMouse, DraggedButtonsPictureFollowsThePointerUntilRelease) {
  start(true);
  click(tabCentre(2));
  ASSERT_TRUE(e2e::waitUntil([&] { return secondGroupShown(); }, 5000));
  // Group 2's slot 2 is empty; the picture of slot 0 changes its pixels.
  const PixelRect target = button(2).image;
  const auto before = e2e::captureWindow(bar);
  ASSERT_TRUE(before.has_value());
  auto changedAtTarget = [&] {
    const auto cap = e2e::captureWindow(bar);
    int n = 0;
    for (int y = target.top; cap && y < target.bottom; ++y)
      for (int x = target.left; x < target.right; ++x) n += cap->at(x, y) != before->at(x, y);
    return n;
  };
  const int half = target.width() * target.height() / 2;
  const POINT from = imageCentre(0), to = imageCentre(2);
  input(from, 0);
  input(from, MOUSEEVENTF_LEFTDOWN);
  input({from.x + 12, from.y + 1}, 0);
  input({(from.x + to.x) / 2, to.y}, 0);
  input(to, 0);
  // The picture sits where the pointer took it: slot 0's image over slot 2's.
  EXPECT_TRUE(e2e::waitUntil([&] { return changedAtTarget() > half; }, 3000))
      << "no drag picture at the pointer";
  e2e::captureToArtifact(bar, L"barmouse_drag");
  input(to, MOUSEEVENTF_LEFTUP);
  // The drop moves the button: its magenta picture now stands in slot 2 and slot 0 is empty.
  const POINT moved = imageCentre(2), left = imageCentre(0);
  EXPECT_TRUE(e2e::waitUntil(
      [&] {
        const auto after = e2e::captureWindow(bar);
        return after && magentaHue(after->at(moved.x, moved.y)) && !magentaHue(after->at(left.x, left.y));
      },
      3000))
      << "the dropped button did not move";
}

// The button under the pointer is hot, hovering or dragging, until the
// pointer leaves the bar; hovering the grid makes it the active area.
TEST_F(BarMouse, TheHotHighlightFollowsThePointerAndADragOverTheButtons) {
  e2e::profile::setDword(L"Settings", L"ActRect", 1);
  start(true);
  const int pressDepth = imageCentre(0).y - button(0).cell.top;
  // The pointer low in a cell: a drag picture hangs below the cell's top strip.
  auto lowIn = [&](int slot) { return POINT{cellCentre(slot).x, button(slot).cell.bottom - 3}; };
  auto topStrip = [&](const e2e::Capture& cap, int slot) {
    std::vector<uint32_t> pixels;
    const PixelRect r = button(slot).cell;
    const int bottom = std::min(r.top + 6, r.bottom - 3 - pressDepth);
    for (int y = r.top; y < bottom; ++y)
      for (int x = r.left; x < r.right; ++x) pixels.push_back(cap.at(x, y));
    return pixels;
  };
  auto changed = [](const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
  };
  ASSERT_GT(button(3).cell.bottom - 3 - pressDepth, button(3).cell.top + 2) << "cells too low for the test";
  const auto plain = e2e::captureWindow(bar);
  ASSERT_TRUE(plain.has_value());
  const size_t edge = static_cast<size_t>(button(3).cell.width()) / 2;
  std::optional<e2e::Capture> now;
  // Pixels of a cell's top strip that differ from the plain bar, on a new capture.
  auto hot = [&](int slot) {
    now = e2e::captureWindow(bar);
    return now ? changed(topStrip(*now, slot), topStrip(*plain, slot)) : 0;
  };

  input(lowIn(2), 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return hot(2) > edge; }, 3000)) << "no highlight on the hovered button";

  const POINT from = imageCentre(0);
  input(from, 0);
  input(from, MOUSEEVENTF_LEFTDOWN);
  input({from.x + 12, from.y + 1}, 0);
  input(lowIn(3), 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return hot(3) > edge; }, 3000))
      << "no highlight on the button under the drag";
  e2e::captureToArtifact(bar, L"barmouse_drag_hot");
  EXPECT_EQ(changed(topStrip(*now, 1), topStrip(*plain, 1)), 0u) << "a button not under the drag is hot";
  EXPECT_EQ(changed(topStrip(*now, 2), topStrip(*plain, 2)), 0u) << "the hovered button stayed hot";

  input(lowIn(1), 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return hot(1) > edge; }, 3000))
      << "the highlight did not follow the pointer";
  EXPECT_EQ(changed(topStrip(*now, 3), topStrip(*plain, 3)), 0u) << "the last button stayed hot";
  input(lowIn(1), MOUSEEVENTF_LEFTUP);
  e2e::pumpFor(300);
  EXPECT_GT(hot(1), edge) << "the button under the dropped pointer is not hot";
  // Off the bar the highlight goes.
  input({-30, -30}, 0);
  EXPECT_TRUE(e2e::waitUntil([&] { return hot(1) == 0; }, 3000)) << "the highlight stayed off the bar";

  ASSERT_TRUE(e2e::closeAndWait(launcher, bar));
  bar = nullptr;
  EXPECT_EQ(e2e::profile::getDword(L"Settings", L"ActRect"), 2u)
      << "hovering the grid did not make it active";
}

TEST_F(BarMouse, APromptingItemWithAMissingProgramSaysSoAndStartsNothing) {
  {
    RegistryProfile profile;
    ModelOptions options;
    options.isV416Later = true;  // as the first seeding made the profile
    GroupTable table(profile, options);
    table.loadGroups();
    auto item = std::make_unique<Item>();
    item->title = L"Prompt";
    item->flags = kItemPrompt;
    item->setTargetPath(L"C:\\nowhere\\missing_tool.exe /x");
    item->folder = slotFolder(0);
    table.placeItem(1, 4, std::move(item));
    ASSERT_TRUE(table.saveItem(1, 4, false));
  }
  start(false);
  click(imageCentre(4));
  const auto message = driver::answerDialog(launcher.pid(), IDOK);
  ASSERT_TRUE(message.has_value()) << "no not-found message";
  EXPECT_NE(message->find(L"missing_tool.exe"), std::wstring::npos) << *message;
  EXPECT_EQ(message->find(L"/x"), std::wstring::npos) << *message;
  // A start would have hidden the unlocked bar.
  e2e::pumpFor(500);
  EXPECT_TRUE(driver::shown(bar)) << "something started";
  EXPECT_EQ(driver::findDialog(launcher.pid()), nullptr) << "a second message followed";
}

// Task mode lists a minimized probe window; its entry restores it.
class BarTasks : public BarMouse {
 protected:
  void startWithProbe(bool locked) {
    CreateDirectoryW(slotFolder(30).c_str(), nullptr);
    SetEnvironmentVariableW(L"VB_PROBE_OUT", reportOf(30).c_str());
    ASSERT_TRUE(probe.start(e2e::binPath(L"launch_probe.exe"), L"task"));
    window = e2e::waitForWindow(kProbeClass, probe.pid(), e2e::kVisible, 10000);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(e2e::waitUntil([&] { return IsIconic(window) != FALSE; }, 5000));
    e2e::profile::setString(L"Settings", L"TaskMode", L"Yes");
    e2e::profile::setDword(L"Settings", L"DispTaskDetails", 1);
    start(locked);
    // With details every window is listed, the visible ones first; the probe
    // is the only visible one (a window of another process gives the bar no
    // icon here, and without details a window needs one).
    const PixelRect entry = tabRect(layout, tabLayout(layout, 0), 1, 0);
    e2e::captureToArtifact(bar, L"barmouse_tasks");
    click(centre(entry));
  }
  e2e::Process probe;
  HWND window = nullptr;
};

TEST_F(BarTasks, ClickOnATaskRestoresItsWindowInFrontAndTheBarHides) {
  startWithProbe(false);
  EXPECT_TRUE(e2e::waitUntil([&] { return !IsIconic(window); }, 5000)) << "the window stayed minimized";
  EXPECT_TRUE(e2e::waitUntil([&] { return GetForegroundWindow() == window; }, 5000))
      << "the window is not in front";
  EXPECT_TRUE(e2e::waitUntil([&] { return driver::hidden(bar); }, 5000)) << "the unlocked bar stayed";
}

TEST_F(BarTasks, ALockedBarStaysAfterSwitchingToATask) {
  startWithProbe(true);
  ASSERT_TRUE(e2e::waitUntil([&] { return !IsIconic(window); }, 5000)) << "the window stayed minimized";
  e2e::pumpFor(300);
  EXPECT_TRUE(driver::shown(bar)) << "the locked bar hid";
}

TEST_F(BarMouse, DragRestingOnTheDownArrowScrollsTheList) {
  start(true);
  click(tabCentre(2));
  ASSERT_TRUE(e2e::waitUntil([&] { return secondGroupShown(); }, 5000));
  const POINT from = imageCentre(0), arrow = centre(layout.scrollDown);
  input(from, 0);
  input(from, MOUSEEVENTF_LEFTDOWN);
  input({from.x + 12, from.y + 1}, 0);
  input(arrow, 0);
  // Group 2's second row moves up into the first: slot 4's magenta leaves row 2.
  const POINT secondRow = imageCentre(4);
  auto magentaAt = [&](POINT p) {
    const auto cap = e2e::captureWindow(bar);
    return cap && magentaHue(cap->at(p.x, p.y));
  };
  EXPECT_TRUE(e2e::waitUntil([&] { return !magentaAt(secondRow); }, 5000)) << "the list did not scroll";
  input(arrow, MOUSEEVENTF_LEFTUP);
  // After the drag, the first cell holds slot 4.
  click(imageCentre(0));
  EXPECT_TRUE(commandLineReported(kSecondGroupFolders + 4).has_value());
}

TEST_F(BarMouse, SelectionShowsAndSurvivesAWholeRepaint) {
  start(true);
  auto cellPixels = [&](int slot) {
    const auto cap = e2e::captureWindow(bar);
    std::vector<uint32_t> pixels;
    const PixelRect r = button(slot).cell;
    for (int y = r.top; cap && y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) pixels.push_back(cap->at(x, y));
    return pixels;
  };
  const auto plain = cellPixels(1);
  const POINT from = cellCentre(5), to = cellCentre(1);
  drag(from, {{from.x + 10, from.y - 10}, to});
  e2e::pumpFor(200);
  const auto selected = cellPixels(1);
  ASSERT_NE(selected, plain) << "the band's selection is not shown";
  // TOP repaints the whole bar; the selection stays on screen.
  click(functionKey(3));
  ASSERT_TRUE(topmost(bar));
  e2e::pumpFor(300);
  // The face matches the selected one (the label's anti-aliasing may differ a little).
  const auto after = cellPixels(1);
  ASSERT_EQ(after.size(), selected.size());
  size_t same = 0, plainSame = 0;
  for (size_t i = 0; i < after.size(); ++i) {
    same += after[i] == selected[i];
    plainSame += after[i] == plain[i];
  }
  EXPECT_GT(same, after.size() * 9 / 10);
  EXPECT_LT(plainSame, after.size() / 2) << "the whole repaint dropped the selection";
}

TEST_F(BarMouse, TabDraggedBelowTheTabAreaScrollsTheRows) {
  seedManyGroups();
  start(true);
  const PixelRect firstTab = tabRect(layout, tabLayout(layout, 0), 1, 0);
  auto tabPixels = [&] {
    const auto cap = e2e::captureWindow(bar);
    std::vector<uint32_t> pixels;
    for (int y = firstTab.top; cap && y < firstTab.bottom; ++y)
      for (int x = firstTab.left; x < firstTab.right; ++x) pixels.push_back(cap->at(x, y));
    return pixels;
  };
  const auto before = tabPixels();
  const std::optional<std::wstring> order = e2e::profile::getString(L"Settings", L"Order");
  // Group 1's tab, dragged below the tab area and out of the bar (within the
  // bar's width the drag stays the bar's own) and released there, off the tabs.
  const POINT from = tabCentre(1);
  RECT client{};
  GetClientRect(bar, &client);
  const POINT below{from.x, static_cast<int>(client.bottom) + 6};
  ASSERT_GT(below.y, layout.tabArea.bottom);
  input(from, 0);
  input(from, MOUSEEVENTF_LEFTDOWN);
  input({from.x, from.y + 12}, 0);
  input(below, 0);
  e2e::pumpFor(800);
  input(below, MOUSEEVENTF_LEFTUP);
  e2e::pumpFor(300);
  // Another group's tab now stands in the first place.
  EXPECT_NE(tabPixels(), before) << "the tab rows did not scroll";
  // Released off the tabs, the group stays where it was.
  EXPECT_EQ(e2e::profile::getString(L"Settings", L"Order"), order);
}

}  // namespace
}  // namespace vorbin
