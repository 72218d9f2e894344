// Painting glue on real GDI: blending of kept areas, area fills with pictures
// and highlights, bevels, labels, image and icon drawing, recoloured strips,
// slot pictures, and copies within one DC, checked pixel by pixel in memory DCs.
#include <windows.h>

#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bitmap_ids.h"
#include "launcher/render/blit.h"
#include "launcher/render/dc_pixels.h"
#include "launcher/render/draw_image.h"
#include "launcher/render/image_strip.h"
#include "launcher/render/paint_primitives.h"
#include "launcher/render/slot_pictures.h"
#include "tests/painting/canvas.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

class PaintingTest : public ::testing::Test {
 protected:
  void SetUp() override { setBlendPath(BlendPath::kOwn); }
};

TEST_F(PaintingTest, KeptAreaBlendsBackWithOwnArithmetic) {
  Canvas c(20, 10);
  c.fill({200, 0, 0}, {0, 0, 20, 10});
  const KeptArea kept(c.dc(), {0, 0, 10, 10});
  c.fill({0, 0, 255}, {0, 0, 20, 10});
  c.fill({200, 0, 0}, {0, 5, 10, 10});  // unchanged part of the kept area
  kept.blendBack(c.dc(), 128);
  EXPECT_EQ(c.at(3, 2), mixed({200, 0, 0}, {0, 0, 255}, 128));
  EXPECT_EQ(c.at(3, 7), (Rgb{200, 0, 0}));   // unchanged pixels are skipped
  EXPECT_EQ(c.at(15, 2), (Rgb{0, 0, 255}));  // outside the area
}

TEST_F(PaintingTest, KeptAreaWeightZeroKeepsTheDrawing) {
  Canvas c(10, 10);
  c.fill({10, 20, 30}, {0, 0, 10, 10});
  const KeptArea kept(c.dc(), {0, 0, 10, 10});
  c.fill({90, 80, 70}, {0, 0, 10, 10});
  kept.blendBack(c.dc(), 0);
  EXPECT_EQ(c.at(5, 5), (Rgb{90, 80, 70}));
}

TEST_F(PaintingTest, SystemBlendAgreesWithinRounding) {
  setBlendPath(BlendPath::kSystem);
  Canvas c(10, 10);
  c.fill({200, 100, 0}, {0, 0, 10, 10});
  const KeptArea kept(c.dc(), {0, 0, 10, 10});
  c.fill({0, 100, 200}, {0, 0, 10, 10});
  kept.blendBack(c.dc(), 128);
  const Rgb got = c.at(4, 4), want = mixed({200, 100, 0}, {0, 100, 200}, 128);
  EXPECT_NEAR(got.r, want.r, 2);
  EXPECT_NEAR(got.g, want.g, 2);
  EXPECT_NEAR(got.b, want.b, 2);
}

TEST_F(PaintingTest, AreaFillPlainAndHighlighted) {
  Canvas c(30, 10);
  c.fill({1, 2, 3}, {0, 0, 30, 10});
  const ColourSlot slot = makeSlot({0, 128, 128}, 50, SlotKind::kArea);
  areaFill(c.dc(), {0, 0, 10, 10}, {0, 0}, slot, nullptr);
  EXPECT_EQ(c.at(5, 5), slot.base);
  // ActColorAlpha 0: the plain highlight colour, the base not painted first.
  areaFill(c.dc(), {10, 0, 20, 10}, {0, 0}, slot, nullptr, Rgb{255, 255, 255}, 0);
  EXPECT_EQ(c.at(15, 5), (Rgb{255, 255, 255}));
  // Otherwise the base shows through the highlight at the alpha.
  areaFill(c.dc(), {20, 0, 30, 10}, {0, 0}, slot, nullptr, Rgb{255, 255, 255}, 128);
  EXPECT_EQ(c.at(25, 5), mixed(slot.base, {255, 255, 255}, 128));
}

// A 4x3 picture with a distinct colour per pixel, as a display bitmap.
fw::Bitmap testPicture(HDC dc) {
  fw::Bitmap b(CreateCompatibleBitmap(dc, 4, 3));
  fw::MemoryDC mem(dc);
  fw::SelectScope use(mem, b.get());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) SetPixel(mem, x, y, RGB(x * 60, y * 100, 7));
  return b;
}

TEST_F(PaintingTest, PictureTilesFromTheGivenOrigin) {
  Canvas c(40, 20);
  fw::Bitmap pic = testPicture(c.dc());
  const ColourSlot slot = defaultSlot(SlotId::kApplBase);
  areaFill(c.dc(), {5, 5, 40, 20}, {2, 1}, slot, pic.get());
  // Pixel (x, y) shows picture pixel ((x - 2) mod 4, (y - 1) mod 3).
  for (int y = 5; y < 20; y += 4)
    for (int x = 5; x < 40; x += 3) {
      const int px = (x - 2) % 4, py = (y - 1) % 3;
      EXPECT_EQ(c.at(x, y), (Rgb{static_cast<std::uint8_t>(px * 60), static_cast<std::uint8_t>(py * 100), 7}))
          << x << "," << y;
    }
  EXPECT_NE(c.at(4, 4), (Rgb{0, 0, 7}));  // nothing outside the area
}

TEST_F(PaintingTest, OutlineAndBevelPixels) {
  Canvas c(20, 20);
  c.fill({128, 128, 128}, {0, 0, 20, 20});
  outline(c.dc(), {2, 2, 12, 12}, 0, 0);
  EXPECT_EQ(c.at(2, 2), (Rgb{0, 0, 0}));
  EXPECT_EQ(c.at(11, 11), (Rgb{0, 0, 0}));
  EXPECT_EQ(c.at(7, 11), (Rgb{0, 0, 0}));
  EXPECT_EQ(c.at(12, 12), (Rgb{128, 128, 128}));
  EXPECT_EQ(c.at(5, 5), (Rgb{128, 128, 128}));

  const Rgb light{250, 250, 250}, dark{20, 20, 20};
  bevel(c.dc(), {2, 2, 12, 12}, 1, -1, light, dark, 50);
  EXPECT_EQ(c.at(3, 7), light);   // left, moved in by 1
  EXPECT_EQ(c.at(7, 3), light);   // top
  EXPECT_EQ(c.at(10, 7), dark);   // right: one inside the moved right edge
  EXPECT_EQ(c.at(7, 10), dark);   // bottom
  EXPECT_EQ(c.at(3, 10), light);  // bottom-left corner belongs to the light half
  EXPECT_EQ(c.at(10, 3), dark);

  c.fill({128, 128, 128}, {0, 0, 20, 20});
  bevel(c.dc(), {2, 2, 12, 12}, 0, 0, light, dark, 0);
  bevel(c.dc(), {2, 2, 12, 12}, 0, 0, std::nullopt, dark, 10);
  EXPECT_EQ(c.count(light, {0, 0, 20, 20}), 0);
  EXPECT_GT(c.count(dark, {0, 0, 20, 20}), 0);
}

TEST_F(PaintingTest, EmbossedLabelReliefAndShortening) {
  Canvas c(200, 40);
  c.fill({128, 128, 128}, {0, 0, 200, 40});
  const ColourSlot white = makeSlot({255, 255, 255}, 60, SlotKind::kText);
  fw::SelectScope font(c.dc(), GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_FALSE(embossedLabel(c.dc(), L"Calc", {0, 0, 200, 20}, {}, &white));
  EXPECT_GT(c.count({255, 255, 255}, {0, 0, 200, 20}), 0);
  EXPECT_GT(c.count(white.dark[2], {0, 0, 200, 20}), 0);  // sunk relief of a light text

  EXPECT_TRUE(embossedLabel(c.dc(), L"A rather long program name", {0, 20, 30, 40}, {}, nullptr));
  EXPECT_GT(c.count({0, 0, 0}, {0, 20, 30, 40}), 0);
  EXPECT_EQ(c.count({0, 0, 0}, {30, 20, 200, 40}), 0);  // clipped to the box by fitting

  c.fill({128, 128, 128}, {0, 0, 200, 40});
  const ColourSlot flat = makeSlot({255, 255, 255}, 0, SlotKind::kText);
  embossedLabel(c.dc(), L"Flat", {0, 0, 200, 20}, {}, &flat);
  EXPECT_GT(c.count({255, 255, 255}, {0, 0, 200, 20}), 0);
  EXPECT_EQ(c.count(white.dark[2], {0, 0, 200, 20}), 0);
}

TEST_F(PaintingTest, ArrowGlyphColours) {
  Canvas c(20, 20);
  const ColourSlot darkFlat = makeSlot({0, 0, 40}, 0, SlotKind::kArea);
  c.fill(darkFlat.base, {0, 0, 20, 20});
  arrowGlyph(c.dc(), {0, 0, 20, 20}, true, 10, darkFlat);
  EXPECT_GT(c.count({192, 192, 192}, {0, 0, 20, 20}), 0);

  const ColourSlot shaded = defaultSlot(SlotId::kGroupBase);
  c.fill(shaded.base, {0, 0, 20, 20});
  arrowGlyph(c.dc(), {0, 0, 20, 20}, false, 10, shaded);
  EXPECT_EQ(c.count({192, 192, 192}, {0, 0, 20, 20}), 0);
  EXPECT_GT(c.count(shaded.dark[1], {0, 0, 20, 20}), 0);
}

// A depth-4 image: left half opaque in palette colour 9 (red), right half transparent (black).
IconImage halfRedImage() {
  std::vector<std::uint8_t> bits(640, 0);
  for (int row = 0; row < 32; ++row) {
    bits[row * 4 + 2] = bits[row * 4 + 3] = 0xFF;  // pixels 16..31 transparent
    for (int x = 0; x < 16; x += 2) bits[128 + row * 16 + x / 2] = 0x99;
  }
  return makeImage(bits, 4, false);
}

TEST_F(PaintingTest, DrawImageMaskWeightAndTint) {
  Canvas c(80, 40);
  const Rgb bg{0, 0, 200};
  c.fill(bg, {0, 0, 80, 40});
  const IconImage img = halfRedImage();
  ASSERT_TRUE(drawImage(c.dc(), img, {0, 0, 32, ImageDrawMode::kNormal, 0, std::nullopt}));
  EXPECT_EQ(c.at(5, 5), (Rgb{255, 0, 0}));
  EXPECT_EQ(c.at(25, 5), bg);

  ASSERT_TRUE(drawImage(c.dc(), img, {40, 0, 32, ImageDrawMode::kNormal, 128, std::nullopt}));
  EXPECT_EQ(c.at(45, 5), mixed(bg, {255, 0, 0}, 128));
  EXPECT_EQ(c.at(65, 5), bg);

  c.fill(bg, {0, 0, 80, 40});
  ASSERT_TRUE(drawImage(c.dc(), img, {0, 0, 16, ImageDrawMode::kNormal, 0, Rgb{255, 255, 255}}));
  EXPECT_EQ(c.at(3, 3), mixed({255, 0, 0}, {255, 255, 255}, 128));  // tinted shape, at half size
  EXPECT_EQ(c.at(12, 3), bg);
  EXPECT_EQ(c.at(20, 3), bg);  // nothing beyond 16 pixels

  ASSERT_TRUE(drawImage(c.dc(), img, {40, 0, 32, ImageDrawMode::kMaskOnly, 0, std::nullopt}));
  EXPECT_EQ(c.at(45, 5), (Rgb{0, 0, 0}));
  EXPECT_EQ(c.at(65, 5), bg);

  EXPECT_FALSE(drawImage(c.dc(), IconImage{}, {}));
}

TEST_F(PaintingTest, DrawIconFromHandle) {
  Canvas c(40, 40);
  const Rgb bg{0, 200, 0};
  c.fill(bg, {0, 0, 40, 40});
  // Mask: top half opaque (0), bottom half transparent (1); colour: top half yellow.
  std::vector<std::uint8_t> maskBits(32 * 4);
  for (int y = 16; y < 32; ++y)
    for (int b = 0; b < 4; ++b) maskBits[y * 4 + b] = 0xFF;
  fw::Bitmap mask(CreateBitmap(32, 32, 1, 1, maskBits.data()));
  std::vector<std::uint32_t> colourBits(32 * 32, 0);
  for (int i = 0; i < 16 * 32; ++i) colourBits[i] = 0x00FFFF00;
  fw::Bitmap colour(CreateBitmap(32, 32, 1, 32, colourBits.data()));
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_TRUE(icon);
  EXPECT_TRUE(drawIcon(c.dc(), icon, {4, 4, 32, ImageDrawMode::kNormal, 0, std::nullopt}));
  EXPECT_EQ(c.at(10, 10), (Rgb{255, 255, 0}));
  EXPECT_EQ(c.at(10, 30), bg);
  DestroyIcon(icon);
}

TEST_F(PaintingTest, ImageStripRecolouring) {
  Canvas c(60, 20);
  const Rgb bg{100, 100, 100};
  c.fill(bg, {0, 0, 60, 20});
  const ColourSlot fk = defaultSlot(SlotId::kFunctionKey);
  ColourSlot light = defaultSlot(SlotId::kLight);
  ImageStrip lamps;
  ASSERT_TRUE(lamps.load(GetModuleHandleW(nullptr), IDB_LAMPS, 20, &fk, &light));
  EXPECT_EQ(lamps.frameCount(), 2);
  EXPECT_EQ(lamps.height(), 7);
  lamps.draw(c.dc(), 0, 0, 1);  // the lit lamp
  EXPECT_EQ(c.at(0, 0), bg);    // index 12 never changes the destination
  EXPECT_EQ(c.at(5, 1), mixed(bg, light.base, 128));
  EXPECT_EQ(c.at(7, 1), mixed(bg, {255, 255, 255}, 128));  // drawn in its own palette colour

  light = makeSlot({0, 0, 255}, 50, SlotKind::kArea);
  ASSERT_TRUE(lamps.load(GetModuleHandleW(nullptr), IDB_LAMPS, 20, &fk, &light));
  lamps.draw(c.dc(), 30, 0, 1);
  EXPECT_EQ(c.at(35, 1), mixed(bg, {0, 0, 255}, 128));
  EXPECT_EQ(c.at(37, 1), mixed(bg, {255, 255, 255}, 128));
  lamps.draw(c.dc(), 30, 10, 7);  // no such frame: nothing
  EXPECT_EQ(c.count(bg, {30, 10, 50, 17}), 20 * 7);
}

TEST_F(PaintingTest, ModeGlyphsFollowBord) {
  Canvas c(40, 20);
  const Rgb bg{50, 50, 50};
  const ColourSlot a = makeSlot({0, 128, 192}, 50, SlotKind::kArea);
  const ColourSlot b = makeSlot({192, 64, 0}, 50, SlotKind::kArea);
  ImageStrip glyphs;
  for (const ColourSlot* s : {&a, &b}) {
    c.fill(bg, {0, 0, 40, 20});
    ASSERT_TRUE(glyphs.load(GetModuleHandleW(nullptr), IDB_MODE_GLYPHS, 16, s));
    glyphs.draw(c.dc(), 0, 0, 6);  // task details: light3 top edge, black rows
    EXPECT_EQ(c.at(3, 0), mixed(bg, s->light[3], 128));
    EXPECT_EQ(c.at(3, 1), mixed(bg, {0, 0, 0}, 128));
    EXPECT_EQ(c.at(0, 0), bg);
  }
}

TEST_F(PaintingTest, ImageStripRejectsWhatIsNotAStrip) {
  ImageStrip s;
  EXPECT_FALSE(s.load(GetModuleHandleW(nullptr), 4242, 16));
  EXPECT_FALSE(s.load(GetModuleHandleW(nullptr), IDB_PRESS_PATTERN, 8));  // monochrome
  EXPECT_FALSE(s.loaded());
}

std::wstring tempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

// A 24-bit 3x2 BMP file: top row red, green, blue; bottom row white.
void writeBmp(const std::wstring& path) {
  const std::uint8_t bottom[12] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0};
  const std::uint8_t top[12] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0};
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{sizeof(BITMAPINFOHEADER), 3, 2, 1, 24, BI_RGB, 24, 2835, 2835, 0, 0};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + 24;
  std::ofstream f(std::filesystem::path(path), std::ios::binary);
  f.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  f.write(reinterpret_cast<const char*>(&ih), sizeof ih);
  f.write(reinterpret_cast<const char*>(bottom), 12);
  f.write(reinterpret_cast<const char*>(top), 12);
}

class PictureTest : public PaintingTest {
 protected:
  void SetUp() override {
    PaintingTest::SetUp();
    CoInitialize(nullptr);
  }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(PictureTest, LoadsAtNaturalSize) {
  const std::wstring path = tempPath(L"vb_paint_pic.bmp");
  writeBmp(path);
  fw::Bitmap b = loadPictureFile(path);
  ASSERT_TRUE(b);
  BITMAP bm{};
  GetObjectW(b.get(), sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_EQ(bm.bmHeight, 2);
  Canvas c(3, 2);
  fw::MemoryDC mem(c.dc());
  {
    fw::SelectScope use(mem, b.get());
    BitBlt(c.dc(), 0, 0, 3, 2, mem, 0, 0, SRCCOPY);
  }
  EXPECT_EQ(c.at(0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(c.at(2, 0), (Rgb{0, 0, 255}));
  EXPECT_EQ(c.at(1, 1), (Rgb{255, 255, 255}));
  DeleteFileW(path.c_str());
}

TEST_F(PictureTest, SameFileInOtherCaseIsSharedAndTiledFromTheBar) {
  const std::wstring path = tempPath(L"vb_shared_pic.bmp");
  writeBmp(path);
  SlotPictures pics;
  std::array<std::wstring, kPictureValueCount> names;
  names[static_cast<int>(PictureValue::kBord)] = path;
  std::wstring upper = path;
  for (auto& ch : upper) ch = static_cast<wchar_t>(towupper(ch));
  names[static_cast<int>(PictureValue::kAppl)] = upper;
  int resolved = 0;
  pics.load(names, [&](const std::wstring& n) {
    ++resolved;
    return n;
  });
  EXPECT_EQ(resolved, 1);
  ASSERT_TRUE(pics.picture(SlotId::kBord));
  EXPECT_EQ(pics.picture(SlotId::kApplBase), pics.picture(SlotId::kBord));
  EXPECT_EQ(pics.fileName(SlotId::kApplBase), upper);
  EXPECT_FALSE(pics.picture(SlotId::kGroupBase));
  const POINT bar{0, 0}, area{50, 60};
  EXPECT_EQ(pics.tileOrigin(SlotId::kApplBase, bar, area).x, 0);
  EXPECT_EQ(pics.tileOrigin(SlotId::kGroupBase, bar, area).x, 50);
  DeleteFileW(path.c_str());
}

TEST_F(PictureTest, UndecodableFileLeavesAPlainFill) {
  const std::wstring path = tempPath(L"vb_broken_pic.bmp");
  {
    std::ofstream f(std::filesystem::path(path), std::ios::binary);
    f << "this is not a picture at all, just some text in a file";
  }
  SlotPictures pics;
  std::array<std::wstring, kPictureValueCount> names;
  names[static_cast<int>(PictureValue::kFunc)] = path;
  names[static_cast<int>(PictureValue::kCmd)] = tempPath(L"vb_missing_pic.bmp");
  pics.load(names, nullptr);
  EXPECT_FALSE(pics.picture(SlotId::kFunctionKey));
  EXPECT_FALSE(pics.picture(SlotId::kCommandButton));
  EXPECT_EQ(pics.fileName(SlotId::kFunctionKey), path);

  Canvas c(10, 10);
  const ColourSlot fk = defaultSlot(SlotId::kFunctionKey);
  areaFill(c.dc(), {0, 0, 10, 10}, {0, 0}, fk, pics.picture(SlotId::kFunctionKey));
  EXPECT_EQ(c.count(fk.base, {0, 0, 10, 10}), 100);
  DeleteFileW(path.c_str());
}

TEST_F(PaintingTest, BlitAndScrollWithinOneDc) {
  Canvas c(10, 10);
  for (int y = 0; y < 10; ++y) c.fill({0, static_cast<std::uint8_t>(y * 20), 0}, {0, y, 10, y + 1});
  // Overlapping copy one row down: each row takes the colour of the row above.
  blitWithin(c.dc(), {0, 1}, {0, 0}, 10, 9);
  for (int y = 1; y < 10; ++y) EXPECT_EQ(c.at(5, y).g, (y - 1) * 20) << y;

  for (int x = 0; x < 10; ++x) c.fill({static_cast<std::uint8_t>(x * 20), 0, 0}, {x, 0, x + 1, 10});
  const UncoveredStrips s = scrollArea(c.dc(), {0, 0, 10, 10}, -3, 0, false);
  for (int x = 0; x < 7; ++x) EXPECT_EQ(c.at(x, 5).r, (x + 3) * 20) << x;
  EXPECT_EQ(s.horizontal.left, 7);
  EXPECT_EQ(s.horizontal.right, 10);

  const UncoveredStrips sys = scrollArea(c.dc(), {0, 0, 10, 10}, 0, 2, true);
  EXPECT_EQ(sys.vertical.bottom, 2);
  EXPECT_EQ(c.at(0, 5).r, 60);
}

TEST_F(PaintingTest, PressAnimationStripAndShift) {
  Canvas c(20, 20);
  c.fill({200, 200, 200}, {0, 0, 20, 20});
  c.fill({0, 0, 255}, {0, 10, 20, 11});
  HBITMAP pattern = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PRESS_PATTERN));
  ASSERT_TRUE(pattern);
  const RECT button{0, 0, 20, 20};
  pressAnimationStep(c.dc(), button, pattern, 0);
  const int dark = c.count({0, 0, 0}, {0, 0, 20, 4});
  EXPECT_EQ(dark, 40);  // every other pixel of the 4-pixel strip
  EXPECT_EQ(c.count({0, 0, 0}, {0, 4, 20, 20}), 0);
  for (int step = 1; step <= 3; ++step) pressAnimationStep(c.dc(), button, pattern, step);
  EXPECT_EQ(c.at(5, 13), (Rgb{0, 0, 255}));  // the blue line moved three pixels down
  EXPECT_NE(c.at(5, 10), (Rgb{0, 0, 255}));
  DeleteObject(pattern);
}

TEST_F(PaintingTest, LayoutMetricsFollowTheFontSettings) {
  Canvas c(10, 10);
  FontSettings s;
  const LayoutMetrics normal = measureLayoutMetrics(c.dc(), s, 25, 0, 4);
  EXPECT_GT(normal.textHeight, 5);
  EXPECT_GT(normal.ascent, 0);
  EXPECT_LE(normal.ascent, normal.textHeight);
  EXPECT_EQ(normal.tabTextHeight, normal.textHeight);
  EXPECT_GT(normal.captionButtonHeight, 2);
  EXPECT_EQ(normal.scrollBtnSize, 4);

  s.smallFont = true;
  const LayoutMetrics small = measureLayoutMetrics(c.dc(), s, 25, 0, 4);
  EXPECT_LT(small.textHeight, normal.textHeight);
  EXPECT_EQ(small.tabTextHeight, normal.tabTextHeight);  // tabs ignore SmallFont

  s = FontSettings{};
  s.fontSize = 2;
  EXPECT_GT(measureLayoutMetrics(c.dc(), s, 25, 0, 4).textHeight, normal.textHeight);

  s = FontSettings{};
  s.userFont = true;
  s.fontName = L"Arial";
  s.userFontSize = 20;
  const LayoutMetrics user = measureLayoutMetrics(c.dc(), s, 25, 0, 4);
  EXPECT_GT(user.textHeight, normal.textHeight);
  EXPECT_GT(computeBarLayout(user, false, 600).H, computeBarLayout(normal, false, 600).H);
}

TEST_F(PaintingTest, FontMakerSelectsUntilDestroyed) {
  Canvas c(10, 10);
  HGDIOBJ before = GetCurrentObject(c.dc(), OBJ_FONT);
  {
    FontMaker big(c.dc(), -30, 0, 700, true, L"Arial");
    TEXTMETRICW tm{};
    GetTextMetricsW(c.dc(), &tm);
    EXPECT_GE(tm.tmHeight, 30);
    EXPECT_EQ(tm.tmWeight, 700);
    EXPECT_TRUE(tm.tmItalic);
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_FONT), big.font());
  }
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_FONT), before);
  // Weight -1: semi-bold at small heights (the font may round it to bold), normal above 20.
  {
    FontMaker small(c.dc(), -18, 0, -1, false, L"Arial");
    TEXTMETRICW tm{};
    GetTextMetricsW(c.dc(), &tm);
    EXPECT_GE(tm.tmWeight, 600);
  }
  FontMaker large(c.dc(), -30, 0, -1, false, L"Arial");
  TEXTMETRICW tm{};
  GetTextMetricsW(c.dc(), &tm);
  EXPECT_EQ(tm.tmWeight, 400);
}

TEST_F(PaintingTest, StripsHaveTheirFramesInTwoColourSchemes) {
  Canvas c(200, 100);
  c.fill({128, 128, 128}, {0, 0, 200, 100});
  const HINSTANCE self = GetModuleHandleW(nullptr);
  int y = 0;
  for (Rgb base : {Rgb{0, 128, 192}, Rgb{160, 64, 32}}) {
    const ColourSlot bord = makeSlot(base, 50, SlotKind::kArea);
    const ColourSlot fk = makeSlot({base.b, base.g, base.r}, 50, SlotKind::kArea);
    const ColourSlot light = defaultSlot(SlotId::kLight);
    ImageStrip combo, glyphs, up, down, lamps;
    ASSERT_TRUE(combo.load(self, IDB_COMBO_IMAGES, 16));
    ASSERT_TRUE(glyphs.load(self, IDB_MODE_GLYPHS, 16, &bord));
    ASSERT_TRUE(up.load(self, IDB_KEY_UP, 40, &fk));
    ASSERT_TRUE(down.load(self, IDB_KEY_DOWN, 40, &fk));
    ASSERT_TRUE(lamps.load(self, IDB_LAMPS, 20, &fk, &light));
    EXPECT_EQ(combo.frameCount(), 8);  // 128 x 16, eight folder and drive images
    EXPECT_EQ(combo.height(), 16);
    EXPECT_EQ(glyphs.frameCount(), 7);
    EXPECT_GE(up.width(), 120);  // wide enough for any key
    EXPECT_EQ(up.height(), 16);
    for (int f = 0; f < 8; ++f) combo.draw(c.dc(), f * 18, y, f);
    for (int f = 0; f < 7; ++f) glyphs.draw(c.dc(), f * 18, y + 18, f);
    areaFill(c.dc(), {0, y + 31, 86, y + 47}, {0, 0}, fk, nullptr);
    up.draw(c.dc(), 0, y + 31, 0);
    down.draw(c.dc(), 44, y + 31, 0);
    lamps.draw(c.dc(), 10, y + 37, 0);
    lamps.draw(c.dc(), 54, y + 37, 1);
    y += 50;
  }
  // The folder keeps its own yellow whatever the colours; the transparent corner shows grey.
  EXPECT_EQ(c.at(2, 3), mixed({128, 128, 128}, {255, 255, 0}, 128));
  EXPECT_EQ(c.at(2, 53), mixed({128, 128, 128}, {255, 255, 0}, 128));
  EXPECT_EQ(c.at(0, 0), (Rgb{128, 128, 128}));
  e2e::Capture cap;
  cap.width = 200;
  cap.height = 100;
  cap.pixels = readPixels(c.dc(), {0, 0, 200, 100});
  EXPECT_TRUE(cap.saveBmp(e2e::artifactDir() + L"\\painting_strips.bmp"));
}

}  // namespace
}  // namespace vorbin
