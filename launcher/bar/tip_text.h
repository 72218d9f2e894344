// What the bar's tool tips say: the text of each hit area's tip under the
// three tip modes, and which areas carry a tool with which rectangle.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/interact/hit_areas.h"

namespace vorbin {

// ToolTipMode: 0 detailed tips, 1 titles only, 2 no text tips (picture tips stay).
inline constexpr int kTipsDetailed = 0;
inline constexpr int kTipsTitlesOnly = 1;
inline constexpr int kTipsOff = 2;

// One tool of the tip control: a hit code and the rectangle it covers.
struct TipTool {
  uint32_t code = 0;
  PixelRect rect;
  friend bool operator==(const TipTool&, const TipTool&) = default;
};

// Areas that can have a tip: group tabs (or tasks), grid, quick list, mode
// buttons, caption boxes and list scroll arrows.
bool areaHasTips(int area);

// The tools for the hit geometry, in the hit test's order of precedence (the
// tip control takes the first tool under the pointer). Grid tools carry the
// cell index, quick-list tools the row, tab tools the group or task entry.
std::vector<TipTool> tipTools(const HitGeometry& geometry);

// What a button's tip is made of. The info tip is asked only when it would be shown.
struct ButtonTipFacts {
  std::wstring_view title;
  bool titleCut = false;
  uint32_t flags = 0;
  std::wstring_view comment;  // text 5
  std::wstring_view folder;
  std::wstring_view target;               // the target as text (empty for item-ID lists)
  std::wstring_view pictureName;          // text 4
  std::function<std::wstring()> infoTip;  // the shell's tip for an item-ID-list target
};

// A web-address item naming a picture: its tip shows the picture in every mode.
bool hasPictureTip(uint32_t flags, std::wstring_view pictureName);

std::wstring buttonTipText(const ButtonTipFacts& facts, int mode);
// A group tab in group mode.
std::wstring groupTipText(std::wstring_view title, bool titleCut, int mode);
// A task entry: the cut title and, in mode 0, the program line made from
// pattern (string 1053) and the program's path, asked only in mode 0.
std::wstring taskTipText(std::wstring_view title, bool titleCut, int mode, std::wstring_view pattern,
                         const std::function<std::wstring()>& programPath);

// The pattern with its first "%s" replaced by path and its second by details
// (both inserted literally), "%%" made "%"; every other directive stays as
// written. Arguments the pattern has no "%s" for are left out.
std::wstring fillPathPattern(std::wstring_view pattern, std::wstring_view path, std::wstring_view details);

// The string id of a fixed tip (mode buttons, caption boxes, scroll arrows);
// 0 when the area has none or the mode shows no text.
unsigned fixedTipStringId(int area, int index, bool barMaximized, int mode);

}  // namespace vorbin
