// A profile of many groups and items, as a long-used launcher would have, for
// the load benchmarks in memory and in the registry.
#pragma once

#include <string>

#include "launcher/model/group_table.h"
#include "launcher/model/profile.h"
#include "launcher/model/settings.h"
#include "launcher/render/pair_codec.h"

namespace vorbin::bench {

// Fills the profile with groups x itemsPerGroup items with images, targets and texts.
inline void fillProfile(Profile& profile, int groups, int itemsPerGroup) {
  std::wstring order = L" 0";
  for (int g = 1; g <= groups; ++g) order += L" " + std::to_wstring(g);
  profile.setString(kSettingsSection, L"Order", order);
  profile.setString(kSettingsSection, L"IsV416Later", L"Yes");
  for (int g = 1; g <= groups; ++g) {
    const std::wstring section = L"Group" + std::to_wstring(g);
    profile.setString(section, L"@Title", L"Group number " + std::to_wstring(g));
    for (int i = 0; i < itemsPerGroup; ++i) {
      Item item;
      item.title = L"Program " + std::to_wstring(g) + L"-" + std::to_wstring(i);
      item.setTargetPath(L"C:\\Program Files\\Vendor " + std::to_wstring(i) + L"\\program.exe");
      item.folder = L"C:\\Program Files\\Vendor " + std::to_wstring(i);
      item.text5 = L"A short comment about the program";
      int depth = i % 3 == 0 ? 24 : 4;
      item.image.depth = static_cast<uint32_t>(depth);
      item.image.bits.resize(imageByteSize(depth));
      for (size_t b = 0; b < item.image.bits.size(); ++b)
        item.image.bits[b] = static_cast<uint8_t>(b < 128 ? 0 : ((b / 16) * 7 + i) & 0x77);
      profile.setBinary(section, itemValueName(item.title, i), packPairs(encodeItemRecord(item)));
    }
  }
}

}  // namespace vorbin::bench
