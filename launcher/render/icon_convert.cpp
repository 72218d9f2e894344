// Conversion between icons and IconImage on GDI, and the choice of an
// item's picture from its icon file, its target and its flags.
#include "launcher/render/icon_convert.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "framework/handle.h"
#include "framework/trace.h"

namespace vorbin {
namespace {

// A bitmap header for 32x32 bottom-up bits of `depth`, with the fixed
// palette for depth 4 (written each time: a read may rewrite the table).
struct DibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colours[16]{};
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

DibInfo dibInfo(int depth) {
  DibInfo info;
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = kImageSide;
  info.header.biHeight = kImageSide;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(depth);
  info.header.biCompression = BI_RGB;
  if (depth == 4) {
    info.header.biClrUsed = 16;
    for (int i = 0; i < 16; ++i)
      info.colours[i] = {kImagePalette[i].blue, kImagePalette[i].green, kImagePalette[i].red, 0};
  }
  return info;
}

std::size_t colourBytes(int depth) { return imageByteSize(depth) - kImageMaskBytes; }

bool readBits(HDC dc, HBITMAP bitmap, int depth, std::uint8_t* out) {
  DibInfo info = dibInfo(depth);
  if (GetDIBits(dc, bitmap, 0, kImageSide, out, info.get(), DIB_RGB_COLORS) == kImageSide) return true;
  FW_TRACE_FAILURE("GetDIBits");
  return false;
}

// The icon's bitmaps, from a 32x32 copy when the icon has another size.
struct IconParts {
  fw::IconHandle resized;
  fw::Bitmap mask, colour;
};

bool iconParts(HICON icon, IconParts& parts) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) {
    FW_TRACE_FAILURE("GetIconInfo");
    return false;
  }
  parts.mask.reset(info.hbmMask);
  parts.colour.reset(info.hbmColor);
  BITMAP mask{};
  if (!GetObjectW(info.hbmMask, sizeof mask, &mask)) {
    FW_TRACE_FAILURE("GetObjectW");
    return false;
  }
  const int height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
  if (mask.bmWidth == kImageSide && height == kImageSide) return true;
  parts.resized.reset(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, kImageSide, kImageSide, 0)));
  if (!parts.resized) {
    FW_TRACE_FAILURE("CopyImage");
    return false;
  }
  ICONINFO resized{};
  if (!GetIconInfo(parts.resized.get(), &resized)) {
    FW_TRACE_FAILURE("GetIconInfo");
    return false;
  }
  parts.mask.reset(resized.hbmMask);
  parts.colour.reset(resized.hbmColor);
  return true;
}

// Mask and colour bits of an icon at its smallest faithful depth; 0 when unreadable.
int readIcon(HICON icon, std::vector<std::uint8_t>& bits) {
  IconParts parts;
  if (!icon || !iconParts(icon, parts)) return 0;
  fw::WindowDC screen(nullptr);
  std::uint8_t maskBits[2 * kImageMaskBytes]{};
  const LONG maskLength = parts.colour ? kImageMaskBytes : 2 * kImageMaskBytes;
  if (GetBitmapBits(parts.mask.get(), maskLength, maskBits) != maskLength) {
    FW_TRACE_FAILURE("GetBitmapBits");
    return 0;
  }
  bits.assign(maskBits, maskBits + kImageMaskBytes);

  int depth = 4;
  std::vector<std::uint8_t> colour(colourBytes(4));
  if (parts.colour) {
    std::vector<std::uint8_t> direct(colourBytes(32));
    if (!readBits(screen, parts.colour.get(), 4, colour.data()) ||
        !readBits(screen, parts.colour.get(), 32, direct.data()))
      return 0;
    depth = chooseImageDepth(pixelsFromColour(direct, 32), pixelsFromColour(colour, 4));
    if (depth == 32) colour = std::move(direct);
    if (depth == 24) {
      colour.assign(colourBytes(24), 0);
      if (!readBits(screen, parts.colour.get(), 24, colour.data())) return 0;
    }
  } else {
    // Monochrome icon: the lower half of the mask bitmap is the XOR image.
    fw::Bitmap xorImage(CreateBitmap(kImageSide, kImageSide, 1, 1, maskBits + kImageMaskBytes));
    if (!xorImage) FW_TRACE_FAILURE("CreateBitmap");
    if (!xorImage || !readBits(screen, xorImage.get(), 4, colour.data())) return 0;
  }
  bits.insert(bits.end(), colour.begin(), colour.end());
  return depth;
}

}  // namespace

IconImage imageFromIcon(HICON icon, bool destroyIcon, bool allowPacking) {
  fw::IconHandle owned(destroyIcon ? icon : nullptr);
  std::vector<std::uint8_t> bits;
  const int depth = readIcon(icon, bits);
  if (depth == 0) return {};
  return makeImage(bits, depth, allowPacking && keepImagesPacked());
}

HICON iconFromImage(const IconImage& image) {
  std::vector<std::uint8_t> scratch(kImageScratchBytes);
  const auto bits = unpackedImageBits(image, scratch);
  if (bits.empty()) return nullptr;
  const int depth = image.colourDepth();
  fw::Bitmap mask(CreateBitmap(kImageSide, kImageSide, 1, 1, bits.data()));
  if (!mask) FW_TRACE_FAILURE("CreateBitmap");
  fw::WindowDC screen(nullptr);
  DibInfo info = dibInfo(depth);
  fw::Bitmap colour;
  if (depth == 32) {
    // A 32-bit section keeps the alpha channel whatever the display's depth.
    void* pixels = nullptr;
    colour.reset(CreateDIBSection(screen, info.get(), DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!colour || !pixels) {
      FW_TRACE_FAILURE("CreateDIBSection");
      return nullptr;
    }
    std::memcpy(pixels, bits.data() + kImageMaskBytes, colourBytes(32));
  } else {
    colour.reset(CreateBitmap(kImageSide, kImageSide, GetDeviceCaps(screen, PLANES),
                              GetDeviceCaps(screen, BITSPIXEL), nullptr));
    if (!colour) {
      FW_TRACE_FAILURE("CreateBitmap");
      return nullptr;
    }
    if (SetDIBits(screen, colour.get(), 0, kImageSide, bits.data() + kImageMaskBytes, info.get(),
                  DIB_RGB_COLORS) != kImageSide) {
      FW_TRACE_FAILURE("SetDIBits");
      return nullptr;
    }
  }
  if (!mask) return nullptr;
  ICONINFO iconInfo{TRUE, 0, 0, mask.get(), colour.get()};
  HICON icon = CreateIconIndirect(&iconInfo);
  if (!icon) FW_TRACE_FAILURE("CreateIconIndirect");
  return icon;
}

IconImage composeImage(const IconImage& image, HICON decoration, bool overlayOnTop) {
  const IconImage item = unpackedImage(image);
  if (item.empty()) return {};
  const int depth = item.colourDepth();
  std::vector<std::uint8_t> decorationBits;
  const int decorationDepth = readIcon(decoration, decorationBits);
  if (decorationDepth == 0) return makeImage(item.bits, depth, keepImagesPacked());

  const auto itemBits = std::span<const std::uint8_t>(item.bits);
  const auto decoBits = std::span<const std::uint8_t>(decorationBits);
  const ImagePixels itemPixels = pixelsFromColour(itemBits.subspan(kImageMaskBytes), depth);
  const ImagePixels decoPixels = pixelsFromColour(decoBits.subspan(kImageMaskBytes), decorationDepth);
  const ComposedImage composed = composeLayers({itemBits.first(kImageMaskBytes), itemPixels},
                                               {decoBits.first(kImageMaskBytes), decoPixels}, overlayOnTop);
  if (composed.mask.empty()) return {};
  std::vector<std::uint8_t> bits = composed.mask;
  const std::vector<std::uint8_t> colour = colourFromPixels(composed.pixels, depth);
  bits.insert(bits.end(), colour.begin(), colour.end());
  return makeImage(bits, depth, keepImagesPacked());
}

HICON loadLauncherIcon(int resourceId) {
  auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                            IMAGE_ICON, kImageSide, kImageSide, 0));
  if (!icon) FW_TRACE_FAILURE("LoadImageW");
  return icon;
}

namespace {

// The size of an item-ID list that ends inside `bytes`, or 0.
std::size_t idListSize(std::span<const std::uint8_t> bytes) {
  std::size_t pos = 0;
  while (bytes.size() - pos >= 2) {
    const std::size_t cb = bytes[pos] | bytes[pos + 1] << 8;
    if (cb == 0) return pos + 2;
    if (cb < 2 || cb > bytes.size() - pos) return 0;
    pos += cb;
  }
  return 0;
}

HICON shellIcon(const wchar_t* pathOrIdList, UINT extra) {
  SHFILEINFOW info{};
  const DWORD attributes = (extra & SHGFI_USEFILEATTRIBUTES) ? FILE_ATTRIBUTE_NORMAL : 0;
  if (!SHGetFileInfoW(pathOrIdList, attributes, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON | extra))
    return nullptr;
  return info.hIcon;
}

HICON associatedIcon(std::wstring_view file, int& iconIndex) {
  wchar_t buffer[MAX_PATH]{};
  file.copy(buffer, MAX_PATH - 1);
  WORD index = static_cast<WORD>(iconIndex);
  HICON icon = ExtractAssociatedIconW(GetModuleHandleW(nullptr), buffer, &index);
  if (icon) iconIndex = index;
  return icon;
}

bool fileExists(const std::wstring& path) {
  if (path.empty()) return false;
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  wchar_t found[MAX_PATH];
  return SearchPathW(nullptr, path.c_str(), nullptr, MAX_PATH, found, nullptr) != 0;
}

// The program named by an item's command line, for its icon.
std::wstring programOf(std::wstring_view path) {
  std::wstring whole(path);
  if (whole.find(L'"') == std::wstring::npos && fileExists(whole)) return whole;
  return std::wstring(firstPathToken(path));
}

// A document whose icon is its type's: asked for by type, the shell reads
// neither the file nor its folder (in a folder of thousands of files that
// reading is what registration would spend its time on).
bool isTypeDocument(const ItemIconSource& source, const std::wstring& program) {
  if ((source.flags & kItemFlagFolder) || iconVariesPerFile(program)) return false;
  const DWORD attributes = GetFileAttributesW(program.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HICON findItemIcon(ItemIconSource& source) {
  HICON icon = nullptr;
  if (!source.iconFile.empty()) {
    const std::wstring file(source.iconFile);
    ExtractIconExW(file.c_str(), source.iconIndex, &icon, nullptr, 1);
  }
  if (icon || source.path.empty()) return icon;
  if (source.flags & kItemFlagIdList) {
    if (idListSize(source.idList) == 0) return nullptr;
    // Copied so the list is aligned and owned for the call.
    std::vector<std::uint8_t> list(source.idList.begin(), source.idList.end());
    return shellIcon(reinterpret_cast<const wchar_t*>(list.data()), SHGFI_PIDL);
  }
  const std::wstring program =
      (source.flags & kItemFlagFolder) ? std::wstring(source.path) : programOf(source.path);
  if (program.empty()) return nullptr;
  if (isTypeDocument(source, program) && (icon = shellIcon(program.c_str(), SHGFI_USEFILEATTRIBUTES)))
    return icon;
  icon = shellIcon(program.c_str(), 0);
  return icon ? icon : associatedIcon(program, source.iconIndex);
}

// The picture bits of the icon of a document type (see readIcon), asked of
// the shell once per extension and kept a few seconds: registering or
// dropping thousands of files of one type would otherwise ask for the icon,
// build it and read its bits back for every file. False when source is no
// such document or its type has no icon.
bool typeImage(const ItemIconSource& source, std::vector<std::uint8_t>& bits, int& depth) {
  if (!source.iconFile.empty() || source.path.empty() || (source.flags & (kItemFlagIdList | kItemFlagFolder)))
    return false;
  const std::wstring program = programOf(source.path);
  if (program.empty() || !isTypeDocument(source, program)) return false;
  constexpr DWORD kKeepMs = 5000;
  constexpr std::size_t kMaxTypes = 64;
  struct Entry {
    std::wstring extension;
    std::vector<std::uint8_t> bits;
    int depth = 0;
    DWORD asked = 0;
  };
  static std::mutex guard;
  static std::vector<Entry> cache;
  std::wstring extension = PathFindExtensionW(program.c_str());
  for (wchar_t& c : extension) c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  std::lock_guard<std::mutex> lock(guard);
  const DWORD now = GetTickCount();
  for (std::size_t i = 0; i < cache.size(); ++i) {
    if (cache[i].extension != extension) continue;
    if (now - cache[i].asked < kKeepMs) {
      bits = cache[i].bits;
      depth = cache[i].depth;
      return true;
    }
    cache.erase(cache.begin() + static_cast<std::ptrdiff_t>(i));
    break;
  }
  fw::IconHandle icon(shellIcon(program.c_str(), SHGFI_USEFILEATTRIBUTES));
  if (!icon) return false;
  depth = readIcon(icon.get(), bits);
  if (depth == 0) return false;
  if (cache.size() < kMaxTypes) cache.push_back({extension, bits, depth, now});
  return true;
}

}  // namespace

HICON imageForItem(ItemIconSource& source, IconImage& target, const IconImage* existing, bool destroyIcon) {
  std::vector<std::uint8_t> typeBits;
  int typeDepth = 0;
  // A caller that keeps no icon can take a document type's picture as it was read before.
  if (destroyIcon && typeImage(source, typeBits, typeDepth)) {
    const ItemIconChoice choice = chooseItemDecoration(source.flags, true);
    if (choice.decoration) {
      fw::IconHandle decoration(loadLauncherIcon(choice.decoration));
      target = composeImage(makeImage(typeBits, typeDepth, false), decoration.get(),
                            (source.flags & kItemFlagFolder) != 0);
    } else {
      target = makeImage(typeBits, typeDepth, keepImagesPacked());
    }
    return nullptr;
  }
  HICON icon = findItemIcon(source);
  const bool hasExisting = existing && !existing->empty();
  const ItemIconChoice choice =
      chooseItemDecoration(source.flags, icon || hasExisting || !source.path.empty());
  if (choice.replacementIcon && !icon) icon = loadLauncherIcon(choice.replacementIcon);
  if (!icon && !hasExisting) {
    if (!source.iconFile.empty()) icon = associatedIcon(source.iconFile, source.iconIndex);
    if (!icon) icon = loadLauncherIcon(kIconDefaultItem);
  }
  if (choice.decoration) {
    const IconImage base = icon ? imageFromIcon(icon, false, false) : unpackedImage(*existing);
    fw::IconHandle decoration(loadLauncherIcon(choice.decoration));
    target = composeImage(base, decoration.get(), (source.flags & kItemFlagFolder) != 0);
  } else if (icon) {
    target = imageFromIcon(icon, false, true);
  } else if (hasExisting && existing != &target) {
    copyImage(target, *existing);
  }
  if (destroyIcon && icon) {
    DestroyIcon(icon);
    return nullptr;
  }
  return icon;
}

}  // namespace vorbin
