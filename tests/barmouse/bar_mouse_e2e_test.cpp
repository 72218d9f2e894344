// The real launcher's bar under synthetic mouse input: clicks start the
// buttons' programs, the rubber band selects what it touches, small moves
// stay clicks, and starting more than ExeLimit buttons asks first.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h.
#include <tlhelp32.h>

#include "launcher/model/group_table.h"
#include "launcher/model/registry_profile.h"
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

// Items 0..3 start the probe with arguments naming their slot.
void seedItems() {
  RegistryProfile profile;
  GroupTable table(profile, ModelOptions{});
  table.loadGroups();
  const std::wstring title = L"Tools";
  ASSERT_EQ(table.ensureGroup(1, &title, false), 1);
  CreateDirectoryW(workRoot().c_str(), nullptr);
  for (int slot = 0; slot < kItems; ++slot) {
    CreateDirectoryW(slotFolder(slot).c_str(), nullptr);
    DeleteFileW(reportOf(slot).c_str());
    auto item = std::make_unique<Item>();
    item->title = L"Probe " + std::to_wstring(slot);
    item->setTargetPath(L"\"" + e2e::binPath(L"launch_probe.exe") + L"\" slot" + std::to_wstring(slot) +
                        L" \"two words\"");
    item->folder = slotFolder(slot);
    table.placeItem(1, slot, std::move(item));
    ASSERT_TRUE(table.saveItem(1, slot, false));
  }
  table.saveOrder();
}

class BarMouse : public ::testing::Test {
 protected:
  void SetUp() override {
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
    launcher = e2e::startLauncher();
    bar = e2e::waitForBar(launcher.pid());
    ASSERT_NE(bar, nullptr);
    for (int i = 0; i < 6 && driver::answerDialog(launcher.pid(), IDCANCEL, 3000); ++i) {
    }
    ASSERT_TRUE(e2e::waitUntil([&] { return driver::shown(bar); }, 5000));
    SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    e2e::pumpFor(300);
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
  EXPECT_TRUE(e2e::waitUntil([&] { return driver::hidden(bar); }, 5000)) << "unlocked bar stays after a start";
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

}  // namespace
}  // namespace vorbin
