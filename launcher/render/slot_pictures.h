// Background pictures of the colour slots, decoded by the system's picture
// loader into screen-compatible bitmaps; slots naming the same file share one.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "framework/gdi.h"
#include "launcher/render/colour_slots.h"

namespace vorbin {

// The picture values of the Colors section, in the order of kPictureSlots.
enum class PictureValue : int { kBord, kGroup, kAppl, kFunc, kCmd };
inline constexpr int kPictureValueCount = 5;
std::wstring_view pictureValueName(PictureValue v);  // "Bord_pic" ...
SlotId pictureSlot(PictureValue v);

// Decodes a picture file (BMP, GIF, JPEG ... whatever the system's loader
// reads) into a new screen-compatible bitmap at its natural size; null when
// the file cannot be read or decoded, or its size is 0.
fw::Bitmap loadPictureFile(const std::wstring& path);

class SlotPictures {
 public:
  // Turns a picture value into a file path (skin folder or data folder).
  using Resolver = std::function<std::wstring(const std::wstring& name)>;

  // Loads the five pictures; empty names leave their slots without one.
  void load(const std::array<std::wstring, kPictureValueCount>& names, const Resolver& resolve);
  void clear();

  HBITMAP picture(SlotId slot) const;
  const std::wstring& fileName(SlotId slot) const;
  // A slot showing the same picture as Bord is tiled from the bar's origin, so
  // that one picture runs on under all areas; otherwise from its area's origin.
  POINT tileOrigin(SlotId slot, POINT barOrigin, POINT areaOrigin) const;

 private:
  struct Entry {
    std::wstring name;
    std::shared_ptr<fw::Bitmap> bitmap;
  };
  const Entry* entry(SlotId slot) const;
  std::array<Entry, kPictureValueCount> m_entries;
};

}  // namespace vorbin
