// The texts of the bar's tool tips and the rectangles of their tools.
#include "launcher/bar/tip_text.h"

#include <algorithm>

#include "launcher/model/item_record.h"
#include "launcher/resources/ids_tooltips.h"

namespace vorbin {

namespace {

constexpr std::wstring_view kNewLine = L"\r\n";
// More cells than any screen holds: a damaged geometry cannot make the tool list huge.
constexpr size_t kMaxTools = 4096;

std::wstring joinLines(std::wstring_view first, std::wstring_view second) {
  std::wstring text(first);
  if (!first.empty() && !second.empty()) text += kNewLine;
  text += second;
  return text;
}

PixelRect clipTo(const PixelRect& r, const PixelRect& bounds) {
  PixelRect c{std::max(r.left, bounds.left), std::max(r.top, bounds.top), std::min(r.right, bounds.right),
              std::min(r.bottom, bounds.bottom)};
  return c;
}

bool empty(const PixelRect& r) { return r.left >= r.right || r.top >= r.bottom; }

void addTool(std::vector<TipTool>& tools, int area, int index, const PixelRect& rect) {
  if (empty(rect) || tools.size() >= kMaxTools) return;
  tools.push_back({hitCode(area, index), rect});
}

template <size_t N>
void addBoxes(std::vector<TipTool>& tools, int area, const std::array<HitRect, N>& boxes, size_t count = N) {
  for (size_t i = 0; i < std::min(count, N); ++i) addTool(tools, area, static_cast<int>(i), boxes[i]);
}

void addTabs(std::vector<TipTool>& tools, const HitGeometry& g) {
  if (g.tabWidth <= 0 || g.tabHeight <= 0 || g.tabsPerRow <= 0) return;
  // Only the rows in view; a tab scrolled away has no tool.
  const int firstRow = std::max(0, g.tabScrollOffset / g.tabHeight);
  for (int row = firstRow;; ++row) {
    const int top = g.tabArea.top + row * g.tabHeight - g.tabScrollOffset;
    if (top >= g.tabArea.bottom || tools.size() >= kMaxTools) break;
    for (int column = 0; column < g.tabsPerRow; ++column) {
      const long long n = static_cast<long long>(row) * g.tabsPerRow + column + 1;
      if (n > g.tabCount) return;
      const int left = g.tabArea.left + 1 + column * g.tabWidth;
      addTool(tools, hit_area::kTabs, static_cast<int>(n),
              clipTo({left, top, left + g.tabWidth, top + g.tabHeight}, g.tabArea));
    }
  }
}

void addCells(std::vector<TipTool>& tools, int area, const PixelRect& box, int columns, int width,
              int height) {
  if (width <= 0 || height <= 0 || columns <= 0 || empty(box)) return;
  const int rows = (box.height() + height - 1) / height;
  for (int row = 0; row < rows && tools.size() < kMaxTools; ++row) {
    for (int column = 0; column < columns && tools.size() < kMaxTools; ++column) {
      const int left = box.left + column * width, top = box.top + row * height;
      if (left >= box.right) break;
      addTool(tools, area, row * columns + column, clipTo({left, top, left + width, top + height}, box));
    }
  }
}

}  // namespace

bool areaHasTips(int area) {
  using namespace hit_area;
  return area == kTabs || area == kGrid || area == kQuick || area == kModes || area == kCaptionBoxes ||
         area == kListScroll;
}

std::vector<TipTool> tipTools(const HitGeometry& g) {
  using namespace hit_area;
  std::vector<TipTool> tools;
  // The hit test's order: the boxes first, then the group display. Areas that
  // have no tip still come in as holes, or a tool below would claim them.
  addBoxes(tools, kCaptionBoxes, g.captionBoxes);
  addTool(tools, kControlBox, 0, g.controlBox);
  addTool(tools, kCaption, 0, g.captionRow);
  addBoxes(tools, kFunctionKeys, g.functionKeys);
  addTool(tools, kLogo, 0, g.logoBox);
  addBoxes(tools, kModes, g.modeButtons);
  addTool(tools, kLoad, 0, g.loadBox);
  addTool(tools, kClock, 0, g.clockBox);
  if (g.taskMode) addBoxes(tools, kCommands, g.commandButtons);
  if (g.groupScrollShown) addBoxes(tools, kGroupScroll, g.groupScroll);
  addTabs(tools, g);
  // The tab area between and after the tabs is a hole too.
  addTool(tools, kTabs, -1, g.tabArea);
  addTool(tools, kListScroll, 1, g.scrollUp);
  addTool(tools, kListScroll, 2, g.scrollDown);
  if (g.quickCellHeight > 0)
    addCells(tools, kQuick, g.quickList, 1, std::max(1, g.quickList.width()), g.quickCellHeight);
  addCells(tools, kGrid, g.grid, g.gridColumns, g.cellWidth, g.cellHeight);
  return tools;
}

bool hasPictureTip(uint32_t flags, std::wstring_view pictureName) {
  return (flags & kItemUrl) != 0 && !pictureName.empty();
}

std::wstring buttonTipText(const ButtonTipFacts& f, int mode) {
  const bool picture = hasPictureTip(f.flags, f.pictureName);
  if (mode != kTipsDetailed && mode != kTipsTitlesOnly && mode != kTipsOff) mode = kTipsDetailed;
  if (mode == kTipsOff && !picture) return {};
  const bool titleLine = f.titleCut || (picture && mode != kTipsDetailed);
  const std::wstring_view first = titleLine ? f.title : std::wstring_view{};
  if (mode != kTipsDetailed) return std::wstring(first);
  if (!f.comment.empty()) return joinLines(first, f.comment);
  if (f.flags & (kItemPrompt | kItemFolder)) return joinLines(first, f.folder);
  if ((f.flags & kItemIdList) && f.infoTip) return joinLines(first, f.infoTip());
  return joinLines(first, f.target);
}

std::wstring groupTipText(std::wstring_view title, bool titleCut, int mode) {
  if (mode == kTipsOff || !titleCut) return {};
  return std::wstring(title);
}

std::wstring taskTipText(std::wstring_view title, bool titleCut, int mode, std::wstring_view pattern,
                         const std::function<std::wstring()>& programPath) {
  if (mode == kTipsOff) return {};
  const std::wstring_view first = titleCut ? title : std::wstring_view{};
  if (mode != kTipsDetailed || !programPath) return std::wstring(first);
  const std::wstring path = programPath();
  // A window whose program cannot be asked gets no program line.
  if (path.empty()) return std::wstring(first);
  return joinLines(first, fillPathPattern(pattern, path, L""));
}

std::wstring fillPathPattern(std::wstring_view pattern, std::wstring_view path, std::wstring_view details) {
  std::wstring out;
  out.reserve(pattern.size() + path.size() + details.size());
  int used = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t c = pattern[i];
    if (c != L'%' || i + 1 >= pattern.size()) {
      out += c;
      continue;
    }
    const wchar_t next = pattern[i + 1];
    if (next == L'%') {
      out += L'%';
      ++i;
    } else if (next == L's' && used < 2) {
      out += used == 0 ? path : details;
      ++used;
      ++i;
    } else {
      out += c;  // any other directive is plain text
    }
  }
  return out;
}

unsigned fixedTipStringId(int area, int index, bool barMaximized, int mode) {
  if (mode == kTipsOff) return 0;
  switch (area) {
    case hit_area::kModes:
      return index >= 0 && index <= 6 ? IDS_TIP_MODE_BUTTON + static_cast<unsigned>(index) : 0;
    case hit_area::kCaptionBoxes:
      if (index == 0) return barMaximized ? IDS_TIP_RESTORE : IDS_TIP_MAXIMIZE;
      return index == 1 ? IDS_TIP_CLOSE_BAR : 0;
    case hit_area::kListScroll:
      return index == 1 || index == 2 ? IDS_TIP_LIST_SCROLL + static_cast<unsigned>(index) : 0;
    default:
      return 0;
  }
}

}  // namespace vorbin
