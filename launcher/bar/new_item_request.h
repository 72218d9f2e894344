// The record every button made without the item wizard arrives as: a Program
// Manager additem, a drop, a folder registration, message 0x0520.
#pragma once

#include <cstdint>
#include <string>

#include "launcher/services/id_list.h"

namespace vorbin {

// Request bit beyond the item flags: the short thumbnail dialog.
inline constexpr uint32_t kRequestShortThumbnail = 0x10000;
// The captured-picture field when no capture is wanted.
inline constexpr intptr_t kNoCaptureMark = -1;

struct NewItemRequest {
  uint32_t flags = 0;   // creation flags: item flags plus request bits
  std::wstring target;  // path, command line or web address
  IdListBytes idList;   // with kItemIdList: the item-ID list the target stands for
  std::wstring title;
  std::wstring folder;  // default folder
  std::wstring iconFile;
  int iconIndex = 0;
  // -1: the first free slot of the current group. It is the default so that a
  // request that never chose a slot cannot overwrite slot 0.
  int slot = -1;
  // A window picture (bitmap handle) for a thumbnail; 0 when one was wanted
  // but none could be taken; kNoCaptureMark (the default) when none is wanted.
  intptr_t picture = kNoCaptureMark;
};

}  // namespace vorbin
