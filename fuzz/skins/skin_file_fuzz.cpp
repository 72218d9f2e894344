// Feeds arbitrary skin files (key=value lines of the Colors and Settings
// sections) to the skin reader and checks that every picture name it keeps
// stays inside the skin folder and every number inside its range.
#include <cstddef>
#include <cstdint>
#include <string>

#include "launcher/dialogs/skin_rules.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorbin;
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));

  MemoryProfile skin;
  const wchar_t* section = kColorsSection;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(L'\n', at);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(at, end - at);
    at = end + 1;
    if (line == L"[Settings]") section = kSettingsSection;
    size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    skin.setString(section, line.substr(0, equals), line.substr(equals + 1));
  }

  Colors colors = defaultColors();
  readSkinColors(skin, colors);
  for (const std::wstring& picture : colors.pictures) {
    if (picture.empty()) continue;
    check(isBarePictureName(picture));
    std::wstring joined = L"C:\\data\\skin\\" + picture;
    check(fileNameOf(joined) == picture && folderOf(joined) == L"C:\\data\\skin\\");
    check(picture != L"." && picture != L"..");
  }
  for (const ColorValue& c : colors.colors)
    check(c.strength == kNoStrength || (c.strength >= -100 && c.strength <= 100));
  check(colors.ellipseWidth >= 0 && colors.ellipseWidth <= 1000);
  for (int v : {colors.actAlpha, colors.nonActAlphaGp, colors.nonActAlphaAp, colors.nonActAlphaQk,
                colors.actColorAlpha})
    check(v >= 0 && v <= 255);

  // The raw names as a save would find them in an old skin file.
  std::array<std::wstring, kPictureCount> oldNames;
  for (int i = 0; i < kPictureCount; ++i)
    oldNames[i] = skin.getText(kColorsSection, pictureName(PictureSlot(i)));
  for (const std::wstring& doomed : picturesToDelete(oldNames, colors.pictures)) {
    check(isBarePictureName(doomed));
    for (const std::wstring& kept : colors.pictures) check(!sameFileName(kept, doomed));
  }
  return 0;
}
