// Conversion between icons and IconImage, and the choice of an item's
// picture (its own icon, the shell's, or a launcher icon, decorated).
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <string_view>

#include "launcher/render/icon_image.h"

namespace vorbin {

// Reads a 32x32 icon into an image at the smallest faithful depth (4, 24 or
// 32); packs it when `allowPacking` and keepImagesPacked() are both set.
// An icon that cannot be read gives an empty image.
IconImage imageFromIcon(HICON icon, bool destroyIcon, bool allowPacking);

// A new icon (the caller destroys it) drawn from `image`; null when the
// image has no bits or cannot be unpacked.
HICON iconFromImage(const IconImage& image);

// `image` with `decoration`: without `overlayOnTop` the decoration fills the
// square and the image, shrunk to 24x24, covers its lower right part; with it
// the decoration is drawn over the image. The result has the image's depth
// (packed when keepImagesPacked()). An empty image for an empty input.
IconImage composeImage(const IconImage& image, HICON decoration, bool overlayOnTop);

// One of the launcher's own icons (kIconDefaultItem ...) at 32x32, from the
// program's resources; the caller destroys it.
HICON loadLauncherIcon(int resourceId);

// What an item's picture is made from.
struct ItemIconSource {
  std::wstring_view iconFile;            // icon file named by the item, may be empty
  int iconIndex = 0;                     // icon index in it; set by the associated-icon lookup
  std::wstring_view path;                // the item's target path (or command line)
  std::span<const std::uint8_t> idList;  // the target item-ID list when flags has kItemFlagIdList
  std::uint32_t flags = 0;               // item flags
};

// Finds the item's icon (its icon file, the shell's icon of its target, the
// associated icon, or launcher icon 188), decorates it by the item's flags
// and stores the result in `target`. With neither an icon nor a decoration
// `existing` (may be null) is copied. Returns the icon used, or null when
// none was found or `destroyIcon` was set (the icon is then destroyed).
HICON imageForItem(ItemIconSource& source, IconImage& target, const IconImage* existing, bool destroyIcon);

}  // namespace vorbin
