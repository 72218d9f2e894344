// IconImage rules: sizes and depths, copying, packed and unpacked forms,
// the depth chosen for an icon and the decoration chosen for an item.
#include "launcher/render/icon_image.h"

#include <gtest/gtest.h>

#include <random>

#include "launcher/render/pair_codec.h"

namespace vorbin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A plausible image: a round mask and colour bands.
Bytes sampleBits(int depth, unsigned seed = 1) {
  Bytes bits(imageByteSize(depth));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if ((x - 16) * (x - 16) + (y - 16) * (y - 16) > 196) bits[y * 4 + x / 8] |= 0x80 >> (x % 8);
  std::mt19937 rng(seed);
  for (std::size_t i = 128; i < bits.size(); ++i)
    bits[i] = static_cast<std::uint8_t>((i / 96) * 17 + (rng() % 8 == 0 ? rng() % 3 : 0));
  return bits;
}

TEST(IconImageSizes, LengthsAndDepthsFollowEachOther) {
  EXPECT_EQ(imageByteSize(4), 640u);
  EXPECT_EQ(imageByteSize(24), 3200u);
  EXPECT_EQ(imageByteSize(32), 4224u);
  EXPECT_EQ(imageByteSize(8), 0u);
  EXPECT_EQ(kImageScratchBytes, imageByteSize(32));
  for (int depth : {4, 24, 32}) EXPECT_EQ(depthFromUnpackedLength(imageByteSize(depth)), depth);
  // Damaged lengths give no depth rather than a wrong one.
  for (std::size_t length : {0u, 100u, 128u, 639u, 641u, 1152u, 4225u, 6410u}) {
    EXPECT_EQ(depthFromUnpackedLength(length), 0) << length;
  }
}

TEST(IconImagePacking, PackedImagesUnpackToTheirBits) {
  for (int depth : {4, 24, 32}) {
    SCOPED_TRACE(depth);
    const Bytes bits = sampleBits(depth);
    const IconImage plain = makeImage(bits, depth, false);
    EXPECT_FALSE(plain.packed());
    EXPECT_EQ(plain.depth, static_cast<std::uint32_t>(depth));
    EXPECT_EQ(plain.bits, bits);

    const IconImage packed = makeImage(bits, depth, true);
    ASSERT_TRUE(packed.packed());
    EXPECT_EQ(packed.depth, static_cast<std::uint32_t>(depth) | kImagePackedFlag);
    EXPECT_EQ(packed.colourDepth(), depth);
    EXPECT_EQ(blobHeader(packed.bits), packed.bits.size() - 4);  // skip 0
    EXPECT_LT(packed.bits.size(), bits.size());

    Bytes scratch(kImageScratchBytes);
    const auto unpacked = unpackedImageBits(packed, scratch);
    EXPECT_TRUE(std::equal(unpacked.begin(), unpacked.end(), bits.begin(), bits.end()));
    EXPECT_EQ(unpackedImage(packed).bits, bits);
    EXPECT_EQ(unpackedImage(packed).depth, static_cast<std::uint32_t>(depth));
  }
  // Bits of the wrong length make no image.
  EXPECT_TRUE(makeImage(Bytes(641), 4, false).empty());
  EXPECT_TRUE(makeImage(Bytes(640), 8, true).empty());
}

TEST(IconImagePacking, DamagedOrShortImagesUnpackToNothing) {
  Bytes scratch(kImageScratchBytes);
  IconImage packed = makeImage(sampleBits(24), 24, true);
  // A blob that claims depth 32 but holds a 24-bit image is incomplete.
  IconImage wrongDepth = packed;
  wrongDepth.depth = 32 | kImagePackedFlag;
  EXPECT_TRUE(unpackedImageBits(wrongDepth, scratch).empty());
  // A truncated blob.
  IconImage truncated = packed;
  truncated.bits.resize(truncated.bits.size() / 2);
  EXPECT_TRUE(unpackedImageBits(truncated, scratch).empty());
  // A scratch area too small for the image.
  EXPECT_TRUE(unpackedImageBits(packed, std::span<std::uint8_t>(scratch).first(3199)).empty());
  // Unpacked bits shorter than their depth.
  IconImage shortBits;
  shortBits.depth = 32;
  shortBits.bits = Bytes(640);
  EXPECT_TRUE(unpackedImageBits(shortBits, scratch).empty());
  EXPECT_TRUE(unpackedImage(IconImage{}).empty());
}

TEST(IconImagePacking, BlobCutFromARecordUnpacksToTheImage) {
  // Record head (flags, prompt options, hot key), image, then texts.
  const Bytes image = sampleBits(32, 9);
  Bytes record{0x07, 0xF0, 0, 0, 0x41, 0x02};
  record.insert(record.end(), image.begin(), image.end());
  for (char c : std::string("C:\\Program Files\\App\\app.exe"))
    record.insert(record.end(), {static_cast<std::uint8_t>(c), 0});
  record.insert(record.end(), 10, 0);
  IconImage held;
  held.depth = 32 | kImagePackedFlag;
  held.bits = cutPackedRecord(packPairs(record), 6 + image.size());
  EXPECT_EQ(unpackedImage(held).bits, image);
}

TEST(IconImageCopy, CopiesOnlyTheImageBytes) {
  const Bytes bits = sampleBits(4);
  IconImage source = makeImage(bits, 4, false);
  source.bits.resize(700, 0x55);  // trailing bytes beyond the image are not copied
  IconImage target = makeImage(sampleBits(32), 32, true);
  copyImage(target, source);
  EXPECT_EQ(target.depth, 4u);
  EXPECT_EQ(target.bits, bits);

  const IconImage packed = makeImage(sampleBits(24), 24, true);
  IconImage packedSource = packed;
  packedSource.bits.insert(packedSource.bits.end(), {1, 2, 3});
  copyImage(target, packedSource);
  EXPECT_EQ(target.depth, packed.depth);
  EXPECT_EQ(target.bits, packed.bits);

  copyImage(target, IconImage{});
  EXPECT_TRUE(target.empty());
  EXPECT_EQ(target.depth, 0u);

  // A damaged source shorter than its depth copies what it has.
  IconImage damaged;
  damaged.depth = 32;
  damaged.bits = Bytes(100, 7);
  copyImage(target, damaged);
  EXPECT_EQ(target.bits, damaged.bits);
}

TEST(IconImageDepth, SmallestDepthThatKeepsEveryPixel) {
  std::vector<std::uint32_t> direct(1024, 0x00C0C0C0), viaPalette(1024, 0x00C0C0C0);
  EXPECT_EQ(chooseImageDepth(direct, viaPalette), 4);
  direct[1023] = 0x00C0C0C1;  // one pixel outside the palette
  EXPECT_EQ(chooseImageDepth(direct, viaPalette), 24);
  direct[0] = 0x01C0C0C0;  // any alpha at all
  EXPECT_EQ(chooseImageDepth(direct, viaPalette), 32);
  // Alpha alone, with matching colours, keeps depth 4 when the readings agree.
  viaPalette = direct;
  EXPECT_EQ(chooseImageDepth(direct, viaPalette), 4);
}

TEST(IconImageDecoration, ChosenByItemFlags) {
  struct Case {
    std::uint32_t flags;
    bool hasImageOrPath;
    int decoration, replacement;
  } cases[] = {
      {0, true, 0, 0},
      {kItemFlagPrompt, true, kIconPromptDecoration, 0},
      {kItemFlagPrompt, false, 0, kIconPlaceholder},
      {kItemFlagPrompt | kItemFlagExplorer, true, kIconPromptDecoration, 0},
      {kItemFlagExplorer, false, kIconExplorerDecoration, 0},
      {kItemFlagExplorer | kItemFlagRootOrFind, true, kIconExplorerDecoration, 0},
      {kItemFlagRootOrFind, true, kIconFindDecoration, 0},
      {kItemFlagFolder | kItemFlagIdList, true, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    const auto choice = chooseItemDecoration(c.flags, c.hasImageOrPath);
    EXPECT_EQ(choice.decoration, c.decoration);
    EXPECT_EQ(choice.replacementIcon, c.replacement);
  }
}

TEST(IconImageDecoration, ProgramPartIsTheFirstBlankSeparatedToken) {
  EXPECT_EQ(firstPathToken(L"notepad.exe readme.txt"), L"notepad.exe");
  EXPECT_EQ(firstPathToken(L"C:\\x.exe"), L"C:\\x.exe");
  EXPECT_EQ(firstPathToken(L""), L"");
  EXPECT_EQ(firstPathToken(L"  lead tail"), L"lead");
  EXPECT_EQ(firstPathToken(L"\"C:\\Program Files\\a.exe\" -x"), L"C:\\Program Files\\a.exe");
  EXPECT_EQ(firstPathToken(L"\"unterminated quote"), L"unterminated quote");
  EXPECT_EQ(firstPathToken(L"   "), L"");
}

TEST(IconImageDecoration, OnlyFilesThatCarryTheirOwnIconAreReadForIt) {
  struct Case {
    const wchar_t* path;
    bool varies;
  } cases[] = {
      {L"C:\\a\\notes.txt", false}, {L"C:\\a\\Report.DOCX", false}, {L"page.xhtml", false},
      {L"C:\\a\\tool.exe", true},   {L"C:\\a\\TOOL.EXE", true},    {L"lib.dll", true},
      {L"x.ico", true},               {L"Shortcut.lnk", true},          {L"site.url", true},
      {L"saver.scr", true},           {L"C:\\a\\noext", true},         {L"C:\\a.b\\noext", true},
      {L"trailing.", true},           {L"", true},                      {L"C:\\a\\.hidden", false},
  };
  for (const Case& c : cases) EXPECT_EQ(iconVariesPerFile(c.path), c.varies) << std::wstring(c.path).size();
}

// Pixels with the top-left pixel at x, y set in a bottom-up buffer.
std::size_t at(int x, int y) { return static_cast<std::size_t>((31 - y) * 32 + x); }

TEST(IconImagePixels, ColourPartsConvertToPixelsAndBack) {
  // Depth 4: the palette, nibbles high first.
  Bytes colour4(512);
  colour4[0] = 0x9F;  // bottom-left pixel red (9), next white (15)
  const ImagePixels p4 = pixelsFromColour(colour4, 4);
  ASSERT_EQ(p4.size(), 1024u);
  EXPECT_EQ(p4[0], 0x00FF0000u);
  EXPECT_EQ(p4[1], 0x00FFFFFFu);
  EXPECT_EQ(p4[2], 0u);
  EXPECT_EQ(colourFromPixels(p4, 4), colour4);
  // Off-palette colours go to the nearest entry.
  ImagePixels near(1024, 0x00C8C0BEu);
  near[1] = 0x00700000u;
  const Bytes c = colourFromPixels(near, 4);
  EXPECT_EQ(c[0], 0x71);  // silver (7), dark red (1)
  // Depth 24 drops alpha, depth 32 keeps it; blue, green, red byte order.
  ImagePixels p(1024, 0x80123456u);
  const Bytes c24 = colourFromPixels(p, 24), c32 = colourFromPixels(p, 32);
  ASSERT_EQ(c24.size(), 3072u);
  ASSERT_EQ(c32.size(), 4096u);
  EXPECT_EQ((Bytes{c24[0], c24[1], c24[2]}), (Bytes{0x56, 0x34, 0x12}));
  EXPECT_EQ((Bytes{c32[0], c32[1], c32[2], c32[3]}), (Bytes{0x56, 0x34, 0x12, 0x80}));
  EXPECT_EQ(pixelsFromColour(c24, 24)[5], 0x00123456u);
  EXPECT_EQ(pixelsFromColour(c32, 32)[5], 0x80123456u);
  EXPECT_TRUE(pixelsFromColour(Bytes(511), 4).empty());
  EXPECT_TRUE(colourFromPixels(ImagePixels(10), 24).empty());
}

struct Layer {
  Bytes mask = Bytes(128, 0xFF);  // all transparent
  ImagePixels pixels = ImagePixels(1024, 0);
  void paint(int x, int y, std::uint32_t colour) {
    mask[static_cast<std::size_t>(y * 4 + x / 8)] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
    pixels[at(x, y)] = colour;
  }
  ImageLayer view() const { return {mask, pixels}; }
};

TEST(IconImageCompose, ShrunkItemCoversTheLowerRightOfTheDecoration) {
  Layer item, decoration;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) item.paint(x, y, 0x000000FF);  // opaque blue square, no alpha
  decoration.paint(0, 0, 0x00FF0000);                           // red top-left pixel
  decoration.paint(20, 20, 0x00FF0000);                         // hidden under the item
  const ComposedImage out = composeLayers(item.view(), decoration.view(), false);
  ASSERT_EQ(out.mask.size(), 128u);
  EXPECT_FALSE(maskTransparent(out.mask, 0, 0));
  EXPECT_EQ(out.pixels[at(0, 0)], 0xFFFF0000u);  // no alpha in the decoration: opaque
  EXPECT_TRUE(maskTransparent(out.mask, 7, 7));
  EXPECT_TRUE(maskTransparent(out.mask, 31, 0));
  for (int y = 8; y < 32; ++y)
    for (int x = 8; x < 32; ++x) {
      ASSERT_FALSE(maskTransparent(out.mask, x, y));
      ASSERT_EQ(out.pixels[at(x, y)], 0xFF0000FFu) << x << "," << y;  // made opaque
    }
  EXPECT_EQ(out.pixels[at(5, 5)], 0u);  // transparent pixels are black
}

TEST(IconImageCompose, ShrinkKeepsTheItemMaskInItsPlace) {
  Layer item, decoration;
  item.paint(31, 31, 0x0000FF00);  // only the bottom-right pixel
  const ComposedImage out = composeLayers(item.view(), decoration.view(), false);
  EXPECT_FALSE(maskTransparent(out.mask, 31, 31));
  EXPECT_EQ(out.pixels[at(31, 31)], 0xFF00FF00u);
  EXPECT_TRUE(maskTransparent(out.mask, 8, 8));
  int opaque = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) opaque += !maskTransparent(out.mask, x, y);
  EXPECT_EQ(opaque, 1);
}

TEST(IconImageCompose, OverlayOnTopDrawsTheDecorationOverTheWholeItem) {
  Layer item, decoration;
  item.paint(0, 0, 0x00112233);
  item.paint(1, 0, 0x00445566);
  decoration.paint(1, 0, 0xFF00FF00);
  decoration.paint(2, 0, 0x80FF0000);  // half transparent over nothing
  decoration.paint(0, 1, 0x80FF0000);
  item.paint(0, 1, 0x000000FF);  // half transparent over blue: blended
  const ComposedImage out = composeLayers(item.view(), decoration.view(), true);
  EXPECT_EQ(out.pixels[at(0, 0)], 0x00112233u);  // the item, unshrunk
  EXPECT_EQ(out.pixels[at(1, 0)], 0xFF00FF00u);  // the decoration wins
  EXPECT_EQ(out.pixels[at(2, 0)], 0x80FF0000u);
  EXPECT_EQ(out.pixels[at(0, 1)], 0xFF80007Fu);
  EXPECT_TRUE(maskTransparent(out.mask, 3, 0));
  EXPECT_FALSE(maskTransparent(out.mask, 2, 0));
  // Short layers compose to nothing rather than reading past them.
  EXPECT_TRUE(composeLayers({item.mask, ImagePixels(10)}, decoration.view(), true).mask.empty());
}

}  // namespace
}  // namespace vorbin
