// The bar's painting in this process on real GDI: the whole bar from the
// settings, colours and groups, colour and picture changes, highlights and
// single-button repaints, checked on the window's captured pixels; the
// launcher's strips at their three scales.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "launcher/app/launcher_app.h"
#include "launcher/app/resource_library.h"
#include "launcher/bar/bar_window.h"
#include "launcher/render/bitmap_ids.h"
#include "launcher/render/dpi_scale.h"
#include "launcher/render/image_strip.h"
#include "tests/bar/in_process_bar.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

uint32_t packed(uint8_t r, uint8_t g, uint8_t b) { return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }
uint32_t packed(const ColorValue& c) { return packed(c.r, c.g, c.b); }

// An opaque 32x32 image of one colour (mask first, then the colour bits).
IconImage solidImage(uint8_t r, uint8_t g, uint8_t b) {
  IconImage image;
  image.depth = 24;
  image.bits.assign(imageByteSize(24), 0);
  for (size_t i = 128; i + 2 < image.bits.size(); i += 3) {
    image.bits[i] = b;
    image.bits[i + 1] = g;
    image.bits[i + 2] = r;
  }
  return image;
}

void writeFile(const std::wstring& path, const void* data, size_t size) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, data, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(f);
}

// A 24-bit BMP file of 8x8 pixels in two colours, checkered in 4x4 squares
// (a top-left square of colour a).
void writeCheckerBmp(const std::wstring& path, uint32_t a, uint32_t b) {
  const int w = 8, h = 8, row = w * 3;
  std::vector<uint8_t> file(54 + row * h, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) file[at + k] = static_cast<uint8_t>(v >> (8 * k));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t c = ((x / 4) + (y / 4)) % 2 ? b : a;
      uint8_t* p = &file[54 + (h - 1 - y) * row + x * 3];  // rows are stored bottom-up
      p[0] = c & 0xFF;
      p[1] = (c >> 8) & 0xFF;
      p[2] = (c >> 16) & 0xFF;
    }
  }
  writeFile(path, file.data(), file.size());
}

std::wstring tempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

class BarPainting : public InProcessBarTest {
 protected:
  static void SetUpTestSuite() {
    // Command labels and new group titles come from the language library.
    int language = kLanguageEnglish;
    loadResourceLibraryFrom(e2e::binDir(), true, language, 1033);
  }
  void SetUp() override {
    InProcessBarTest::SetUp();
    if (HasFatalFailure()) return;
    settings.positionX = 20;
    settings.positionY = 20;
    settings.dispIconInTray = false;
    const std::wstring tools = L"Tools", games = L"Games";
    ASSERT_EQ(groups->ensureGroup(1, &tools, false), 1);
    ASSERT_EQ(groups->ensureGroup(static_cast<int>(groups->placeholderIndex()), &games, false), 2);
    addItem(1, 0, L"Editor", solidImage(255, 0, 255));
    addItem(1, 1, L"A name far too long to fit into its button box", solidImage(255, 0, 255));
    addItem(1, 5, L"Mail", solidImage(255, 0, 255));
    addItem(0, 0, L"Quick", solidImage(255, 0, 255));
    groups->activeGroup = 1;
  }
  void addItem(int group, int slot, const std::wstring& title, IconImage image) {
    auto item = std::make_unique<Item>();
    item->title = title;
    item->setTargetPath(L"C:\\windows\\notepad.exe");
    item->image = std::move(image);
    groups->placeItem(group, slot, std::move(item));
  }
  HWND makeBar() {
    createShownBar();
    SetWindowPos(bar->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    settle();
    return bar->hwnd();
  }
  void settle() {
    e2e::pumpFor(150);
    UpdateWindow(bar->hwnd());
    e2e::pumpFor(50);
  }
  e2e::Capture capture(const wchar_t* artefact = nullptr) {
    auto cap = artefact ? e2e::captureToArtifact(bar->hwnd(), artefact) : e2e::captureWindow(bar->hwnd());
    EXPECT_TRUE(cap.has_value());
    return cap ? *cap : e2e::Capture{};
  }
  static int countIn(const e2e::Capture& cap, const PixelRect& r, uint32_t colour) {
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(cap.height, r.bottom); ++y)
      for (int x = std::max(0, r.left); x < std::min(cap.width, r.right); ++x) n += cap.at(x, y) == colour;
    return n;
  }
  // The image's place less its last rows, which a name's relief may touch.
  static PixelRect imageBody(const ButtonGeometry& geo) {
    PixelRect r = geo.image;
    r.bottom -= 2;
    return r;
  }
  // A point of the frame that no area covers: beside the tab area, halfway down the grid.
  POINT framePoint() const {
    const BarLayout& l = bar->layout();
    return {l.x0 + 1, (l.grid.top + l.grid.bottom) / 2};
  }
};

TEST_F(BarPainting, GroupModeShowsFrameKeysTabsImagesAndClock) {
  HWND w = makeBar();
  const BarLayout& l = bar->layout();
  RECT r;
  GetClientRect(w, &r);
  EXPECT_EQ(r.right, l.width) << "the bar is as wide as its layout";
  EXPECT_GE(r.bottom, clientHeightForRows(l, 1));
  const e2e::Capture cap = capture(L"bar_group_mode");
  ASSERT_EQ(cap.width, l.width);

  const POINT f = framePoint();
  EXPECT_EQ(cap.at(f.x, f.y), packed(colors.colors[kBord]));

  // The labels above the keys are drawn in FuncKeyLabel (white) and ExitKeyLabel.
  PixelRect labels = l.labelLine;
  labels.right = l.functionKeys[7].right;
  EXPECT_GT(countIn(cap, labels, packed(colors.colors[kFuncKeyLabel])), 20);
  PixelRect exitLabel{l.functionKeys[0].left, labels.top, l.functionKeys[0].right, labels.bottom};
  EXPECT_GT(countIn(cap, exitLabel, packed(colors.colors[kExitKeyLabel])), 5);

  // Both group tabs carry their titles in GroupName (white) on GroupBase.
  const TabLayout tabs = tabLayout(l, settings.groupDispMode);
  for (int n = 1; n <= 2; ++n) {
    EXPECT_GT(countIn(cap, tabRect(l, tabs, n, 0), packed(colors.colors[kGroupName])), 10) << "tab " << n;
  }
  EXPECT_EQ(countIn(cap, tabRect(l, tabs, 3, 0), packed(colors.colors[kGroupName])), 0) << "no third tab";

  // The items' images sit at their cells; empty slots show none.
  for (int slot : {0, 1, 5}) {
    const auto geo = bar->slotGeometry(1, slot);
    ASSERT_TRUE(geo.has_value());
    EXPECT_EQ(countIn(cap, geo->image, kMagenta), geo->image.width() * geo->image.height())
        << "slot " << slot;
  }
  for (int slot : {2, 3, 4}) EXPECT_EQ(countIn(cap, bar->slotGeometry(1, slot)->cell, kMagenta), 0);
  // The quick list's image lets the background show through at NonActAlpha_qk (128).
  const auto quick = bar->slotGeometry(0, 0);
  ASSERT_TRUE(quick.has_value());
  const int quickArea = quick->image.width() * quick->image.height();
  EXPECT_EQ(countIn(cap, quick->image, kMagenta), 0);
  EXPECT_EQ(countIn(cap, quick->image, packed(colors.colors[kApplBase])), 0);
  const uint32_t mixed = cap.at((quick->image.left + quick->image.right) / 2, quick->image.top + 2);
  EXPECT_NEAR(static_cast<int>(mixed >> 16), (255 * 127 + 0 * 128) / 256, 2);
  EXPECT_NEAR(static_cast<int>(mixed & 0xFF), (255 * 127 + 128 * 128) / 256, 2);
  EXPECT_GT(quickArea, 0);
  EXPECT_EQ(countIn(cap, bar->slotGeometry(0, 1)->cell, kMagenta), 0);

  // The long name was shortened and is marked for its tool tip; the short one not.
  EXPECT_EQ(groups->item(1, 1)->titleCut, 1);
  EXPECT_EQ(groups->item(1, 0)->titleCut, 0);

  // The clock shows its digits in the Indicator colour.
  const ReadoutBoxes& boxes = bar->readoutBoxes();
  ASSERT_GT(boxes.clock.width(), 0);
  EXPECT_GT(countIn(cap, boxes.clock, packed(colors.colors[kIndicator])), 10);
  EXPECT_GT(countIn(cap, boxes.amPm, packed(colors.colors[kFuncKeyLabel])), 3);
}

TEST_F(BarPainting, ColourValuesFromTheProfileChangeThePaintedColours) {
  HWND w = makeBar();
  const POINT f = framePoint();
  EXPECT_EQ(capture().at(f.x, f.y), packed(colors.colors[kBord]));

  profile.setString(kColorsSection, L"Bord", L"200 30 60 0");
  profile.setString(kColorsSection, L"ApplBase", L"20 90 40 0");
  loadColors(profile, colors);
  bar->loadColours();
  bar->repaintAll();
  UpdateWindow(w);
  e2e::pumpFor(50);
  const e2e::Capture cap = capture();
  EXPECT_EQ(cap.at(f.x, f.y), packed(200, 30, 60));
  // An empty cell of the flat grid shows the new ApplBase.
  const PixelRect cell = bar->slotGeometry(1, 3)->cell;
  EXPECT_EQ(cap.at((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2), packed(20, 90, 40));
}

TEST_F(BarPainting, SlotPicturesTileAndUndecodableOnesLeaveAPlainFill) {
  const std::wstring bad = tempPath(L"barpaint_bad.bmp");
  const std::string_view junk = "BM this is not a picture at all";
  writeFile(bad, junk.data(), junk.size());
  colors.pictures[kBordPic] = bad;
  makeBar();
  const POINT f = framePoint();
  EXPECT_EQ(capture().at(f.x, f.y), packed(colors.colors[kBord]));
  bar.reset();

  const std::wstring good = tempPath(L"barpaint_checker.bmp");
  const uint32_t a = packed(250, 220, 0), b = packed(0, 40, 90);
  writeCheckerBmp(good, a, b);
  colors.pictures[kBordPic] = good;
  makeBar();
  const e2e::Capture cap = capture(L"bar_with_picture");
  // Tiled from the bar's origin: the 8-pixel pattern repeats with its phase.
  for (int dy = 0; dy < 8; ++dy) {
    const int x = f.x, y = f.y + dy;
    const uint32_t expected = ((x % 8) / 4 + (y % 8) / 4) % 2 ? b : a;
    EXPECT_EQ(cap.at(x, y), expected) << "y " << y;
  }
  DeleteFileW(bad.c_str());
  DeleteFileW(good.c_str());
}

TEST_F(BarPainting, SelectedButtonBlendsActTitleAndRepaintTouchesOnlyItsCell) {
  colors.colors[kActTitle] = {10, 200, 90};
  colors.actColorAlpha = 0;
  settings.actRect = 2;  // the grid holds the keyboard
  HWND w = makeBar();
  const e2e::Capture before = capture();
  const PixelRect cell = bar->slotGeometry(1, 5)->cell;
  const ReadoutBoxes& boxes = bar->readoutBoxes();
  bar->repaintButton(1, 5, {.highlighted = false, .selected = true});
  e2e::pumpFor(60);  // the window's pixels reach the screen on the next messages
  const e2e::Capture after = capture();
  // Alpha 0: the plain highlight colour inside the cell, clear of image, name and edges.
  const POINT inside{cell.left + 4, cell.top + 4};
  EXPECT_EQ(after.at(inside.x, inside.y), packed(10, 200, 90));
  int changedOutside = 0;
  for (int y = 0; y < after.height; ++y) {
    for (int x = 0; x < after.width; ++x) {
      if (cell.contains(x, y) || boxes.clock.contains(x, y) || boxes.indicator.contains(x, y) ||
          boxes.amPm.contains(x, y))
        continue;
      changedOutside += after.at(x, y) != before.at(x, y);
    }
  }
  EXPECT_EQ(changedOutside, 0);

  // At the default weight the base shows through: neither colour alone.
  colors.actColorAlpha = 128;
  bar->repaintButton(1, 5, {.highlighted = false, .selected = true});
  e2e::pumpFor(60);
  const uint32_t mixed = capture().at(inside.x, inside.y);
  EXPECT_NE(mixed, packed(10, 200, 90));
  EXPECT_NE(mixed, packed(colors.colors[kApplBase]));

  // Back to plain: the cell shows the grid's colour again.
  bar->repaintButton(1, 5, {});
  e2e::pumpFor(60);
  EXPECT_EQ(capture().at(inside.x, inside.y), packed(colors.colors[kApplBase]));

  // Outside the activation area a selected button is highlighted without ActTitle.
  bar.reset();
  settings.actRect = 3;
  colors.actColorAlpha = 0;
  makeBar();
  bar->repaintButton(1, 5, {.highlighted = false, .selected = true});
  e2e::pumpFor(60);
  EXPECT_EQ(capture().at(inside.x, inside.y), packed(colors.colors[kApplBase]));
  (void)w;
}

TEST_F(BarPainting, GroupDisplayRepaintedAloneMatchesAFullPaint) {
  // A picture on the grid and a blended highlight make any double drawing show.
  colors.actColorAlpha = 128;
  HWND w = makeBar();
  const ReadoutBoxes& boxes = bar->readoutBoxes();
  auto differences = [&](const e2e::Capture& a, const e2e::Capture& b) {
    int n = 0;
    for (int y = 0; y < std::min(a.height, b.height); ++y)
      for (int x = 0; x < std::min(a.width, b.width); ++x)
        if (!boxes.clock.contains(x, y) && !boxes.indicator.contains(x, y) && !boxes.amPm.contains(x, y))
          n += a.at(x, y) != b.at(x, y);
    return n;
  };
  for (int step = 0; step < 3; ++step) {
    const e2e::Capture before = capture();
    // Another group, and the keyboard in another area: only the group display changes.
    groups->activeGroup = step % 2 ? 1 : 2;
    bar->repaintContent();
    settle();
    const e2e::Capture partial = capture();
    bar->repaintAll();
    settle();
    const e2e::Capture full = capture();
    EXPECT_GT(differences(before, partial), 0) << "step " << step;
    EXPECT_EQ(differences(partial, full), 0) << "step " << step;
  }
  (void)w;
}

TEST_F(BarPainting, TaskModeListsWindowsAndCommandButtons) {
  HWND listed = CreateWindowExW(0, L"STATIC", L"Painted task entry", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700,
                                500, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(listed, nullptr);
  SendMessageW(listed, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_WARNING)));
  HWND w = makeBar();
  bar->setTaskMode(true);
  settle();
  const e2e::Capture cap = capture(L"bar_task_mode");
  const BarLayout& l = bar->layout();
  EXPECT_TRUE(bar->taskMode());
  // The tab area now reaches past the grid's left edge to the command buttons.
  EXPECT_GT(l.tabArea.right, l.grid.left);
  bool found = false;
  for (size_t i = 1; i < bar->tasks().size(); ++i) found |= bar->tasks()[i].window == listed;
  EXPECT_TRUE(found);
  EXPECT_GT(countIn(cap, l.tabArea, packed(colors.colors[kGroupName])), 20) << "task titles";
  // Command buttons with their labels in CommandName.
  EXPECT_GT(countIn(cap, l.commandButtons[0], packed(colors.colors[kCommandButton])), 20);
  EXPECT_GT(countIn(cap, l.commandButtons[0], packed(colors.colors[kCommandName])), 3);
  // No application images in task mode.
  EXPECT_EQ(countIn(cap, {0, 0, cap.width, cap.height}, kMagenta), 0);
  DestroyWindow(listed);
  (void)w;
}

}  // namespace
}  // namespace vorbin

namespace vorbin {
namespace {

TEST_F(BarPainting, ClockTickRedrawsTheReadoutsAndEmptiesTheMarkOnThe24HourClock) {
  HWND w = makeBar();
  const ReadoutBoxes& boxes = bar->readoutBoxes();
  ASSERT_GT(boxes.amPm.width(), 0);
  const uint32_t markColour = packed(colors.colors[kFuncKeyLabel]);
  EXPECT_GT(countIn(capture(), boxes.amPm, markColour), 3);
  const e2e::Capture before = capture();

  settings.is24Hour = true;
  SendMessageW(w, WM_TIMER, kTimerClock, 0);
  e2e::pumpFor(60);
  const e2e::Capture after = capture();
  EXPECT_EQ(countIn(after, boxes.amPm, markColour), 0) << "the mark is gone";
  // The box keeps its place and shows the frame's colour.
  EXPECT_EQ(after.at(boxes.amPm.left + 1, boxes.amPm.top + 1), packed(colors.colors[kBord]));
  // Only the readouts changed.
  int changedElsewhere = 0;
  for (int y = 0; y < after.height; ++y)
    for (int x = 0; x < after.width; ++x)
      if (!boxes.clock.contains(x, y) && !boxes.amPm.contains(x, y) && !boxes.indicator.contains(x, y))
        changedElsewhere += after.at(x, y) != before.at(x, y);
  EXPECT_EQ(changedElsewhere, 0);
}

TEST_F(BarPainting, TallerBarShowsMoreRowsAndALargerFontWidensIt) {
  addItem(1, 16, L"Fifth row", solidImage(255, 0, 255));  // row 4 of the four-column grid
  HWND w = makeBar();
  const BarLayout first = bar->layout();
  ASSERT_EQ(first.visibleRows, 4);
  EXPECT_FALSE(bar->slotGeometry(1, 16).has_value());

  // Drag the bottom edge down to the height of five rows.
  RECT r;
  GetWindowRect(w, &r);
  SendMessageW(w, WM_NCLBUTTONDOWN, HTBOTTOM, MAKELPARAM(r.left + 20, r.bottom - 1));
  const int target = clientHeightForRows(first, 5);
  SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(20, target - 1));
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(20, target - 1));
  UpdateWindow(w);
  e2e::pumpFor(60);
  GetClientRect(w, &r);
  ASSERT_EQ(r.bottom, target);
  EXPECT_EQ(bar->layout().visibleRows, 5);
  const auto geo = bar->slotGeometry(1, 16);
  ASSERT_TRUE(geo.has_value());
  const PixelRect body = imageBody(*geo);
  EXPECT_EQ(countIn(capture(L"bar_five_rows"), body, kMagenta), body.width() * body.height());

  settings.fontSize = 2;
  SendMessageW(w, WM_SETTINGCHANGE, SPI_SETICONTITLELOGFONT, 0);
  e2e::pumpFor(60);
  GetClientRect(w, &r);
  EXPECT_GT(bar->layout().H, first.H);
  EXPECT_EQ(r.right, bar->layout().width);
  EXPECT_GT(r.right, first.width);
}

}  // namespace
}  // namespace vorbin

namespace vorbin {
namespace {

// The launcher's strips as drawn, for the comparison of their scales: frame 0
// of a strip drawn over black into a 32-bit picture of its own size.
struct DrawnStrip {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

std::optional<DrawnStrip> drawStrip(int id, int frameWidth, int height = 0) {
  const ColourSlot fk = makeSlot({255, 128, 128}, 50, SlotKind::kArea);
  const ColourSlot light = makeSlot({0, 255, 0}, 50, SlotKind::kArea);
  ImageStrip strip;
  if (!strip.load(GetModuleHandleW(nullptr), id, frameWidth, &fk, &light, height)) return std::nullopt;
  DrawnStrip d;
  d.width = strip.frameWidth();
  d.height = strip.height();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = d.width;
  info.bmiHeader.biHeight = -d.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!target) {
    DeleteDC(dc);
    return std::nullopt;
  }
  HGDIOBJ old = SelectObject(dc, target);
  strip.draw(dc, 0, 0, 0);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  d.pixels.assign(p, p + static_cast<size_t>(d.width) * d.height);
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  return d;
}

// The strips drawn for 150 % and 200 % are the 100 % ones with every pixel
// made a block of whole pixels: the same colours, nothing blended.
TEST(ScaledStrips, EveryScaleIsTheOriginalInWholePixelBlocks) {
  struct Strip {
    int id, frame, height;
  } strips[] = {
      {IDB_MODE_GLYPHS, 16, 11}, {IDB_KEY_UP, 160, 16}, {IDB_KEY_DOWN, 160, 16}, {IDB_LAMPS, 20, 7}};
  for (const Strip& s : strips) {
    const auto base = drawStrip(s.id, s.frame);
    ASSERT_TRUE(base.has_value()) << s.id;
    EXPECT_EQ(base->height, s.height) << s.id;
    for (int percent : {150, 200}) {
      SCOPED_TRACE(testing::Message() << "strip " << s.id << " at " << percent << " %");
      const int frame = s.frame * percent / 100;
      const auto big = drawStrip(stripResourceId(s.id, percent), frame);
      ASSERT_TRUE(big.has_value());
      EXPECT_EQ(big->width, frame);
      EXPECT_EQ(big->height, (s.height * percent + 50) / 100);
      int wrong = 0;
      for (int y = 0; y < big->height; ++y)
        for (int x = 0; x < big->width; ++x)
          wrong += big->at(x, y) != base->at(x * base->width / big->width, y * base->height / big->height);
      EXPECT_EQ(wrong, 0);
    }
  }
}

// A key face loaded for a key of another height repeats its rows evenly:
// at 32 rows it is the 200 % face narrowed back to 100 % columns.
TEST(ScaledStrips, KeyFacesTakeTheKeysHeightRowByRow) {
  const auto tall = drawStrip(IDB_KEY_UP, 160, 32);
  const auto doubled = drawStrip(IDB_KEY_UP_200, 320);
  ASSERT_TRUE(tall && doubled);
  ASSERT_EQ(tall->height, 32);
  int wrong = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 160; ++x) wrong += tall->at(x, y) != doubled->at(2 * x, y);
  EXPECT_EQ(wrong, 0);
  // 20 rows (125 %): the two light rows at the top become two or three, and
  // the face keeps its plain middle and its dark bottom edge.
  const auto odd = drawStrip(IDB_KEY_UP, 160, 20);
  const auto plain = drawStrip(IDB_KEY_UP, 160);
  ASSERT_TRUE(odd && plain);
  ASSERT_EQ(odd->height, 20);
  EXPECT_EQ(odd->at(80, 0), plain->at(80, 0));
  EXPECT_EQ(odd->at(80, 10), plain->at(80, 8));
  EXPECT_EQ(odd->at(80, 19), plain->at(80, 15));
  EXPECT_NE(odd->at(80, 0), odd->at(80, 10));
}

}  // namespace
}  // namespace vorbin
