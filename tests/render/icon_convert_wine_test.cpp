// Icons to images and back on real GDI: depth choice, masks, alpha, packing,
// decoration, the launcher's own icons and the search for an item's icon.
#include "launcher/render/icon_convert.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <functional>
#include <vector>

#include "framework/handle.h"
#include "launcher/render/pair_codec.h"

namespace vorbin {
namespace {

using Bytes = std::vector<std::uint8_t>;
using PixelFn = std::function<std::uint32_t(int x, int y)>;  // 0xAARRGGBB, x, y from the top left

// An icon drawn pixel by pixel into a 32-bit section; `transparent` pixels
// get mask bit 1 and colour 0.
HICON makeIcon(const PixelFn& pixel, const std::function<bool(int, int)>& transparent, int size = 32) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(size * ((size + 15) / 16 * 2)), 0);
  const int stride = (size + 15) / 16 * 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const bool clear = transparent(x, y);
      static_cast<std::uint32_t*>(bits)[y * size + x] = clear ? 0 : pixel(x, y);
      if (clear) mask[static_cast<std::size_t>(y * stride + x / 8)] |= 0x80 >> (x % 8);
    }
  HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, mask.data());
  ICONINFO iconInfo{TRUE, 0, 0, maskBitmap, colour};
  HICON icon = CreateIconIndirect(&iconInfo);
  DeleteObject(colour);
  DeleteObject(maskBitmap);
  return icon;
}

bool outsideDisc(int x, int y) { return (x - 16) * (x - 16) + (y - 16) * (y - 16) > 14 * 14; }

ImagePixels pixelsOf(const IconImage& image) {
  const IconImage plain = unpackedImage(image);
  if (plain.empty()) return {};
  return pixelsFromColour(std::span<const std::uint8_t>(plain.bits).subspan(128), plain.colourDepth());
}

std::uint32_t pixelAt(const ImagePixels& pixels, int x, int y) {
  return pixels.at(static_cast<std::size_t>((31 - y) * 32 + x));
}

class IconConvert : public testing::Test {
 protected:
  void SetUp() override { setKeepImagesPacked(false); }
  void TearDown() override { setKeepImagesPacked(false); }
};

TEST_F(IconConvert, DepthIsTheSmallestThatKeepsEveryPixel) {
  struct Case {
    const char* what;
    PixelFn pixel;
    int depth;
  } cases[] = {
      {"palette colours only", [](int x, int) { return x < 16 ? 0x00FF0000u : 0x00008080u; }, 4},
      {"other colours, no alpha",
       [](int x, int y) { return 0x00102030u + static_cast<std::uint32_t>(x * 4 + y); }, 24},
      {"alpha", [](int x, int) { return x < 16 ? 0x80400000u : 0xFF0000FFu; }, 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fw::IconHandle icon(makeIcon(c.pixel, outsideDisc));
    ASSERT_TRUE(icon);
    const IconImage image = imageFromIcon(icon.get(), false, true);
    ASSERT_EQ(image.depth, static_cast<std::uint32_t>(c.depth));
    ASSERT_EQ(image.bits.size(), imageByteSize(c.depth));
    EXPECT_TRUE(maskTransparent(image.bits, 0, 0));
    EXPECT_FALSE(maskTransparent(image.bits, 16, 16));
    const ImagePixels pixels = pixelsOf(image);
    const std::uint32_t expected = c.pixel(20, 16) & (c.depth == 32 ? 0xFFFFFFFFu : 0x00FFFFFFu);
    EXPECT_EQ(pixelAt(pixels, 20, 16), expected);

    // And back: the icon made from the image reads as the same image.
    fw::IconHandle again(iconFromImage(image));
    ASSERT_TRUE(again);
    EXPECT_EQ(imageFromIcon(again.get(), false, false).bits, image.bits);
  }
}

TEST_F(IconConvert, PackedImagesWhenKeptPackedAndAllowed) {
  fw::IconHandle icon(makeIcon(
      [](int x, int y) { return 0x00000000u + static_cast<std::uint32_t>((x ^ y) * 5); }, outsideDisc));
  const IconImage plain = imageFromIcon(icon.get(), false, true);
  ASSERT_EQ(plain.depth, 24u);
  setKeepImagesPacked(true);
  const IconImage packed = imageFromIcon(icon.get(), false, true);
  ASSERT_TRUE(packed.packed());
  EXPECT_EQ(packed.colourDepth(), 24);
  EXPECT_EQ(blobHeader(packed.bits) & 0xFFFF, packed.bits.size() - 4);
  EXPECT_EQ(unpackedImage(packed).bits, plain.bits);
  EXPECT_FALSE(imageFromIcon(icon.get(), false, false).packed());  // packing not allowed
  // A packed image makes the same icon.
  fw::IconHandle fromPacked(iconFromImage(packed));
  ASSERT_TRUE(fromPacked);
  setKeepImagesPacked(false);
  EXPECT_EQ(imageFromIcon(fromPacked.get(), false, false).bits, plain.bits);
}

TEST_F(IconConvert, MonochromeOtherSizedAndUnreadableIcons) {
  // Monochrome: AND mask over XOR image; white XOR pixels come out as palette white.
  std::uint8_t andBits[128], xorBits[128];
  for (int i = 0; i < 128; ++i) {
    andBits[i] = i < 64 ? 0xFF : 0x00;        // top half transparent
    xorBits[i] = (i % 4 == 0) ? 0xFF : 0x00;  // left 8 pixels white
  }
  fw::IconHandle mono(CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 1, andBits, xorBits));
  ASSERT_TRUE(mono);
  const IconImage image = imageFromIcon(mono.get(), false, true);
  ASSERT_EQ(image.depth, 4u);
  EXPECT_TRUE(maskTransparent(image.bits, 5, 3));
  EXPECT_FALSE(maskTransparent(image.bits, 5, 20));
  const ImagePixels pixels = pixelsOf(image);
  EXPECT_EQ(pixelAt(pixels, 3, 20), 0x00FFFFFFu);
  EXPECT_EQ(pixelAt(pixels, 20, 20), 0u);

  // A 48x48 icon is taken as 32x32.
  fw::IconHandle big(makeIcon([](int, int) { return 0x000000FFu; }, [](int, int) { return false; }, 48));
  const IconImage fromBig = imageFromIcon(big.get(), false, true);
  ASSERT_EQ(fromBig.depth, 4u);
  EXPECT_EQ(pixelAt(pixelsOf(fromBig), 31, 31), 0x000000FFu);

  // No icon, a destroyed icon, and an image without bits.
  EXPECT_TRUE(imageFromIcon(nullptr, false, true).empty());
  HICON gone = makeIcon([](int, int) { return 0u; }, outsideDisc);
  EXPECT_FALSE(imageFromIcon(gone, true, true).empty());  // destroys it
  EXPECT_TRUE(imageFromIcon(gone, false, true).empty());
  EXPECT_EQ(iconFromImage(IconImage{}), nullptr);
  IconImage damaged;
  damaged.depth = 24 | kImagePackedFlag;
  damaged.bits = {10, 0, 0, 0, 1, 2, 3};
  EXPECT_EQ(iconFromImage(damaged), nullptr);
}

TEST_F(IconConvert, LauncherIconsLoadWithTransparencyAndAlpha) {
  for (int id : {kIconDefaultItem, kIconPlaceholder, kIconPromptDecoration, kIconExplorerDecoration,
                 kIconFindDecoration}) {
    SCOPED_TRACE(id);
    fw::IconHandle icon(loadLauncherIcon(id));
    ASSERT_TRUE(icon);
    const IconImage image = imageFromIcon(icon.get(), false, false);
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(image.depth, 32u);                       // the 32-bit image with its soft shadow is chosen
    EXPECT_TRUE(maskTransparent(image.bits, 31, 31));  // every icon leaves the corner clear
  }
  // The decorations keep to the top left, where the shrunk item leaves room.
  const IconImage badge =
      imageFromIcon(fw::IconHandle(loadLauncherIcon(kIconPromptDecoration)).get(), false, false);
  EXPECT_FALSE(maskTransparent(badge.bits, 2, 2));
  EXPECT_TRUE(maskTransparent(badge.bits, 20, 20));
}

TEST_F(IconConvert, ComposedImagesKeepTheItemsDepth) {
  fw::IconHandle blue(makeIcon([](int, int) { return 0x000000FFu; }, [](int, int) { return false; }));
  const IconImage item = imageFromIcon(blue.get(), false, false);
  ASSERT_EQ(item.depth, 4u);
  fw::IconHandle badge(loadLauncherIcon(kIconPromptDecoration));

  const IconImage shrunk = composeImage(item, badge.get(), false);
  ASSERT_EQ(shrunk.depth, 4u);
  ASSERT_EQ(shrunk.bits.size(), 640u);
  const ImagePixels pixels = pixelsOf(shrunk);
  EXPECT_EQ(pixelAt(pixels, 31, 31), 0x000000FFu);  // the item, lower right
  EXPECT_EQ(pixelAt(pixels, 8, 8), 0x000000FFu);
  EXPECT_EQ(pixelAt(pixels, 3, 1), 0x00FFFF00u);  // the yellow badge, top left
  EXPECT_TRUE(maskTransparent(shrunk.bits, 1, 30));
  EXPECT_TRUE(maskTransparent(shrunk.bits, 30, 1));

  const IconImage over = composeImage(item, badge.get(), true);
  const ImagePixels overPixels = pixelsOf(over);
  EXPECT_EQ(pixelAt(overPixels, 3, 1), 0x00FFFF00u);
  EXPECT_EQ(pixelAt(overPixels, 1, 30), 0x000000FFu);  // the whole item shows
  EXPECT_FALSE(maskTransparent(over.bits, 1, 30));

  // Packed in, packed out when images are kept packed.
  setKeepImagesPacked(true);
  const IconImage packedItem = makeImage(item.bits, 4, true);
  const IconImage packedResult = composeImage(packedItem, badge.get(), false);
  EXPECT_TRUE(packedResult.packed());
  EXPECT_EQ(unpackedImage(packedResult).bits, shrunk.bits);
  EXPECT_TRUE(composeImage(IconImage{}, badge.get(), false).empty());
}

std::wstring systemFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\" + name;
}

TEST_F(IconConvert, ItemIconsComeFromIconFileTargetOrTheLauncher) {
  const IconImage defaultImage =
      imageFromIcon(fw::IconHandle(loadLauncherIcon(kIconDefaultItem)).get(), false, false);
  const IconImage placeholder =
      imageFromIcon(fw::IconHandle(loadLauncherIcon(kIconPlaceholder)).get(), false, false);
  const std::wstring shell32 = systemFile(L"shell32.dll");
  const std::wstring notepad = systemFile(L"notepad.exe");

  {  // an icon file
    ItemIconSource source{shell32, 3, L"", {}, 0};
    IconImage target;
    fw::IconHandle used(imageForItem(source, target, nullptr, false));
    ASSERT_TRUE(used);
    EXPECT_FALSE(target.empty());
    EXPECT_NE(target.bits, defaultImage.bits);
    EXPECT_EQ(imageFromIcon(used.get(), false, false).bits, target.bits);
  }
  {  // a command line: the program's icon
    const std::wstring command = notepad + L" readme.txt";
    ItemIconSource source{L"", 0, command, {}, 0};
    IconImage target;
    EXPECT_EQ(imageForItem(source, target, nullptr, true), nullptr);  // destroyed after use
    EXPECT_FALSE(target.empty());
    EXPECT_NE(target.bits, defaultImage.bits);
  }
  {  // nothing to go by: the default item icon
    ItemIconSource source{L"", 0, L"", {}, 0};
    IconImage target;
    fw::IconHandle used(imageForItem(source, target, nullptr, false));
    EXPECT_EQ(target.bits, defaultImage.bits);
  }
  {  // a prompting item with nothing: the placeholder, undecorated
    ItemIconSource source{L"", 0, L"", {}, kItemFlagPrompt};
    IconImage target;
    fw::IconHandle used(imageForItem(source, target, nullptr, false));
    EXPECT_EQ(target.bits, placeholder.bits);
  }
  {  // an existing image is kept when nothing is found and nothing decorates
    IconImage existing = placeholder;
    ItemIconSource source{L"", 0, L"", {}, 0};
    IconImage target;
    // No path and no icon file but an image: it is copied, not replaced by 188.
    EXPECT_EQ(imageForItem(source, target, &existing, false), nullptr);
    EXPECT_EQ(target.bits, placeholder.bits);
    // The target may be the existing image itself.
    EXPECT_EQ(imageForItem(source, existing, &existing, false), nullptr);
    EXPECT_EQ(existing.bits, placeholder.bits);
  }
}

TEST_F(IconConvert, DecoratedAndIdListItems) {
  const std::wstring notepad = systemFile(L"notepad.exe");
  ItemIconSource plainSource{L"", 0, notepad, {}, 0};
  IconImage plain;
  fw::IconHandle plainIcon(imageForItem(plainSource, plain, nullptr, false));
  ASSERT_FALSE(plain.empty());

  for (std::uint32_t flags : {kItemFlagPrompt, kItemFlagExplorer, kItemFlagRootOrFind}) {
    SCOPED_TRACE(flags);
    ItemIconSource source{L"", 0, notepad, {}, flags};
    IconImage decorated;
    fw::IconHandle used(imageForItem(source, decorated, nullptr, false));
    ASSERT_FALSE(decorated.empty());
    EXPECT_EQ(decorated.colourDepth(), plain.colourDepth());
    EXPECT_NE(decorated.bits, plain.bits);
    EXPECT_FALSE(maskTransparent(decorated.bits, 2, 2));  // the decoration shows at the top left
  }

  // A folder item opened in Explorer: the whole folder icon with the
  // decoration drawn over it, the path kept whole although it has a blank.
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring blankFolder = std::wstring(folder) + L"a folder";
  CreateDirectoryW(blankFolder.c_str(), nullptr);
  SHFILEINFOW info{};
  ASSERT_TRUE(SHGetFileInfoW(blankFolder.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON));
  const IconImage folderImage = imageFromIcon(info.hIcon, true, false);
  ItemIconSource folderSource{L"", 0, blankFolder, {}, kItemFlagFolder | kItemFlagExplorer};
  IconImage folderTarget;
  fw::IconHandle folderIcon(imageForItem(folderSource, folderTarget, nullptr, false));
  fw::IconHandle explorerBadge(loadLauncherIcon(kIconExplorerDecoration));
  EXPECT_EQ(folderTarget.bits, composeImage(folderImage, explorerBadge.get(), true).bits);
  EXPECT_NE(folderTarget.bits, composeImage(folderImage, explorerBadge.get(), false).bits);
  RemoveDirectoryW(blankFolder.c_str());

  // An item-ID list target (the "My Computer" folder) and a damaged one.
  PIDLIST_ABSOLUTE pidl = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl), S_OK);
  const Bytes list(reinterpret_cast<const std::uint8_t*>(pidl),
                   reinterpret_cast<const std::uint8_t*>(pidl) + ILGetSize(pidl));
  CoTaskMemFree(pidl);
  ItemIconSource idSource{L"", 0, L"::drives", list, kItemFlagIdList};
  IconImage fromList;
  fw::IconHandle listIcon(imageForItem(idSource, fromList, nullptr, false));
  EXPECT_TRUE(listIcon);
  EXPECT_FALSE(fromList.empty());

  Bytes damaged = list;
  damaged[0] = 0xFF;  // first entry claims more bytes than the list holds
  damaged[1] = 0x7F;
  ItemIconSource damagedSource{L"", 0, L"::drives", damaged, kItemFlagIdList};
  IconImage fallback;
  fw::IconHandle fallbackIcon(imageForItem(damagedSource, fallback, nullptr, false));
  const IconImage defaultImage =
      imageFromIcon(fw::IconHandle(loadLauncherIcon(kIconDefaultItem)).get(), false, false);
  EXPECT_EQ(fallback.bits, defaultImage.bits);
}

}  // namespace
}  // namespace vorbin
