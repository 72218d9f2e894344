// The bar's picture: fonts and layout, the off-screen bar image, the whole
// bar and single buttons painted into it, the clock and indicator ticks (and
// the clock's timer), and the copies from the image to the window.
#include "launcher/bar/bar_view.h"

#include <algorithm>
#include <utility>

#include "framework/trace.h"
#include "hook/vorber2k.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/bar/bar_timers.h"
#include "launcher/bar/button_drag.h"
#include "launcher/render/clock_text.h"
#include "launcher/render/paint_primitives.h"
#include "launcher/render/pixel_rect_win.h"
#include "launcher/services/shell_helpers.h"

namespace vorbin {

namespace {

// The stored colours list the painter's slots first, in the painter's order,
// then its plain colours.
static_assert(kSlotCount == kActTitle && kActTitle + kPlainColourCount == kColorCount);
static_assert(static_cast<int>(SlotId::kBord) == kBord && static_cast<int>(SlotId::kApplBase) == kApplBase &&
              static_cast<int>(SlotId::kCommandName) == kCommandName &&
              static_cast<int>(SlotId::kLight) == kLight);

BarColours barColoursFrom(const Colors& c) {
  BarColours out;
  for (int i = 0; i < kSlotCount; ++i) {
    const ColorValue& v = c.colors[i];
    const auto id = static_cast<SlotId>(i);
    out.slots[i] = makeSlot(id, {v.r, v.g, v.b}, slotLevel(id, v.strength));
  }
  for (int i = 0; i < kPlainColourCount; ++i) {
    const ColorValue& v = c.colors[kActTitle + i];
    out.plain[i] = {v.r, v.g, v.b};
  }
  return out;
}

int textWidth(HDC dc, const wchar_t* text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  return size.cx;
}

// A picture value names a file in the data folder (else the program's
// folder); a full path is taken as it is.
std::wstring resolvePicture(const std::wstring& name, const std::wstring& programFolder) {
  const bool full = name.size() > 1 && (name[1] == L':' || (name[0] == L'\\' && name[1] == L'\\'));
  if (full) return name;
  return dataFolder(name.c_str(), programFolder, false);
}

ClockTime clockNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wMonth, now.wDay, now.wHour, now.wMinute};
}

int freeMemoryPercent() {
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  if (!GlobalMemoryStatusEx(&memory) || !memory.ullTotalPhys) return 0;
  return static_cast<int>(memory.ullAvailPhys * 100 / memory.ullTotalPhys);
}

}  // namespace

BarView::BarView(const Settings& settings, const Colors& colors, GroupTable& groups, Hooks hooks)
    : m_settings(settings), m_colors(colors), m_groups(groups), m_hooks(std::move(hooks)) {}

FontSettings BarView::fontSettings() const {
  const Settings& s = m_settings;
  FontSettings f;
  f.userFont = s.userFont;
  f.fontName = s.fontName;
  f.userFontSize = s.userFontSize;
  f.bold = s.isFontBold;
  f.italic = s.isFontItalic;
  f.fontSize = s.fontSize;
  f.smallFont = s.smallFont;
  return f;
}

void BarView::setDpi(int dpi) { m_dpi = dpi > 0 ? dpi : 0; }

void BarView::computeLayout(int clientHeight) {
  const Settings& s = m_settings;
  fw::WindowDC screen(nullptr);
  // Every font of the bar is made for the DPI of its monitor.
  const int dpi = m_dpi > 0 ? m_dpi : screenDpiY();
  setBarDpi(dpi);
  m_metrics =
      measureLayoutMetrics(screen, fontSettings(), m_colors.ellipseWidth, s.flatRatio, s.scrollBtnSize, dpi);
  m_buttonFont = baseButtonFont(fontSettings(), dpi);
  m_metrics.groupScrollBarWidth = s.grpScrollMode == 1 ? systemMetricAt(SM_CXVSCROLL, dpi) : 0;
  {
    // The task mode's command buttons fit their widest label.
    FontMaker font(screen, interfaceFontAt(dpi), 0);
    for (const CommandLabel& label : parseCommandLabels(resourceString(IDS_TASK_BUTTON_LABELS)))
      m_metrics.commandTextWidth =
          std::max(m_metrics.commandTextWidth, textWidth(screen, label.label.c_str()));
  }
  if (clientHeight <= 0) clientHeight = barDefaultHeight(computeBarLayout(m_metrics, s.taskMode, 0));
  takeLayout(computeBarLayout(m_metrics, s.taskMode, clientHeight));
  int clockW = 0, amPmW = 0, indicatorW = 0;
  {
    FontMaker clock(screen, m_layout.clockFontHeight, 0, -1, false, L"Arial");
    clockW = textWidth(screen, L"00/00 00:00") + 4;
    indicatorW = textWidth(screen, L"100") + 4;
  }
  {
    FontMaker mark(screen, m_layout.clockFontHeight, -20, 700, false, L"Arial");
    amPmW = textWidth(screen, L"p.m.") + 2;
  }
  m_readoutBoxes = placeReadouts(m_layout, clockW, amPmW, indicatorW);
  const RECT control = toRect(m_layout.controlBox);
  SetCtrlRect(&control);
  m_kit.colours = barColoursFrom(m_colors);
  m_kit.pictures = &m_pictures;
  m_kit.loadStrips(GetModuleHandleW(nullptr), m_layout);
  m_imageValid = false;
}

void BarView::takeLayout(const BarLayout& layout) {
  m_layout = layout;
  if (m_hooks.layoutTaken) m_hooks.layoutTaken(m_layout);
}

void BarView::loadColours() {
  m_kit.colours = barColoursFrom(m_colors);
  std::array<std::wstring, kPictureValueCount> names;
  for (int i = 0; i < kPictureValueCount; ++i) names[i] = m_colors.pictures[i];
  const std::wstring folder = m_settings.programFolder;
  m_pictures.load(names, [&](const std::wstring& name) { return resolvePicture(name, folder); });
  // The strips carry the slots' colours.
  if (m_layout.width > 0) m_kit.loadStrips(GetModuleHandleW(nullptr), m_layout);
  m_imageValid = false;
}

void BarView::repaintAll(HWND bar) {
  m_imageValid = false;
  if (bar) InvalidateRect(bar, nullptr, FALSE);
}

void BarView::repaintContent(HWND bar) {
  m_contentValid = false;
  if (bar) InvalidateRect(bar, nullptr, FALSE);
}

BarPaintState BarView::paintState(const BarScene& scene) {
  const Settings& s = m_settings;
  BarPaintState p;
  p.taskMode = s.taskMode;
  p.displayMode = s.taskMode ? s.taskDispMode : s.groupDispMode;
  p.dispModeButtons = s.dispModeButton;
  p.taskDetails = s.dispTaskDetails != 0;
  p.lampStates = {s.taskMode ? 1 : 0, s.mostTop ? 1 : 0, s.lockLevel > 0 ? 1 : 0};
  // A held function key shows its pressed face.
  const std::optional<Hit>& held = scene.pressedBox;
  if (held && held->area == hit_area::kFunctionKeys && held->index >= 0 &&
      held->index < static_cast<int>(p.keyStates.size()))
    p.keyStates[static_cast<size_t>(held->index)] = 0;
  p.maximized = scene.maximized;
  p.ellipseWidth = m_layout.ellipseWidth;
  p.flatRatio = s.flatRatio;
  p.is24Hour = s.is24Hour;
  const ClockTime now = clockNow();
  p.hour = now.hour;
  p.clockBox = toRect(m_readoutBoxes.clock);
  p.indicatorBox = toRect(m_readoutBoxes.indicator);
  p.amPmBox = toRect(m_readoutBoxes.amPm);
  p.clockText = clockText(now, s.is24Hour);
  const int percent = freeMemoryPercent();
  p.indicatorText = std::to_wstring(percent);
  p.indicatorColour =
      indicatorColour(percent, IndicatorKind::kFreePercent, m_kit.colours[PlainColourId::kIndicator]);
  if (s.taskMode) p.commandLabels = parseCommandLabels(resourceString(IDS_TASK_BUTTON_LABELS));
  // The readouts drawn now are what the clock remembers.
  m_readouts.forget();
  m_readouts.tick(now, s.is24Hour, percent);
  return p;
}

bool BarView::ensureBarImage(HDC reference, const BarScene& scene) {
  RECT client;
  GetClientRect(scene.bar, &client);
  const SIZE size{std::max(1L, client.right), std::max(1L, client.bottom)};
  const bool sameSize = m_barImage && size.cx == m_imageSize.cx && size.cy == m_imageSize.cy;
  if (m_imageValid && sameSize && m_contentValid) return false;
  const bool contentOnly = m_imageValid && sameSize;
  if (!sameSize) {
    m_barImage.reset(fw::createImageBitmap(size.cx, size.cy));
    if (!m_barImage) FW_TRACE_FAILURE("CreateDIBSection");
    m_imageSize = size;
  }
  // The areas reaching down to the bottom follow the client height and the mode.
  if (!contentOnly) takeLayout(computeBarLayout(m_metrics, m_settings.taskMode, size.cy));
  fw::MemoryDC memory(reference);
  fw::SelectScope select(memory, m_barImage.get());
  paintBarImage(memory, contentOnly, scene);
  m_imageValid = m_contentValid = true;
  return true;
}

void BarView::paintBarImage(HDC dc, bool contentOnly, const BarScene& scene) {
  if (m_hooks.imagePainting) m_hooks.imagePainting();
  const BarPaintState state = paintState(scene);
  if (contentOnly) {
    paintContentGround(dc, m_layout, m_kit, state);
  } else {
    paintWholeBar(dc, m_imageSize.cx, m_imageSize.cy, m_layout, m_kit, state);
  }
  if (state.taskMode) {
    paintTaskList(dc, scene);
  } else {
    paintGroupDisplay(dc, scene);
  }
}

void BarView::paintGroupDisplay(HDC dc, const BarScene& scene) {
  GroupTable& groups = m_groups;
  const Settings& s = m_settings;
  const Colors& c = m_colors;
  // Tabs: groups 1 .. the last before the placeholder.
  TabsPaint tabs;
  const size_t last = groups.placeholderIndex();
  for (size_t n = 1; n < last; ++n) {
    const Group& g = groups[n];
    tabs.tabs.push_back({g.title, g.image.empty() ? nullptr : &g.image});
  }
  tabs.current = groups.activeGroup;
  // The tabs show the current group in ActTitle while they hold the keyboard.
  if (scene.currentArea == 1) tabs.highlightColour = m_kit.colours[PlainColourId::kActTitle];
  tabs.actColorAlpha = c.actColorAlpha;
  tabs.imageWeight = c.nonActAlphaGp;
  const TabLayout tabLay = tabLayout(m_layout, s.groupDispMode);
  tabs.scrollOffset = groups.dispGroupOffset * tabLay.tabHeight;
  const std::vector<int> cut = paintTabs(dc, m_layout, m_kit, tabLay, tabs);
  for (size_t n = 1; n < last; ++n) groups[n].titleCut = 0;
  for (int n : cut) groups[static_cast<size_t>(n)].titleCut = 1;
  paintTabScrollButtons(dc, static_cast<int>(tabs.tabs.size()), tabLay);

  const int active = groups.activeGroup;
  if (active > 0 && static_cast<size_t>(active) < groups.size()) {
    fw::SaveDCScope save(dc);
    const RECT grid = toRect(m_layout.grid);
    IntersectClipRect(dc, grid.left, grid.top, grid.right, grid.bottom);
    const CellLayout cells = gridCells(m_layout, groups[active].buttonMode);
    const int shown = visibleSlots(m_layout, cells);
    const int first = firstVisibleSlot(active);
    for (int k = 0; k < shown; ++k) paintSlot(dc, active, first + k, scene.look(active, first + k), scene);
  }
  {
    fw::SaveDCScope save(dc);
    const RECT quick = toRect(m_layout.quickList);
    IntersectClipRect(dc, quick.left, quick.top, quick.right, quick.bottom);
    for (int slot = 0; quickButton(m_layout, slot).cell.top < m_layout.quickList.bottom; ++slot) {
      paintSlot(dc, 0, slot, scene.look(0, slot), scene);
    }
  }
  paintScrollColumn(dc);
}

int BarView::firstVisibleSlot(int group) const {
  const Group& g = m_groups[static_cast<size_t>(group)];
  const CellLayout cells = gridCells(m_layout, g.buttonMode);
  return std::max(0, g.dispOffset) * cells.columns * cells.slotsPerH;
}

void BarView::paintScrollColumn(HDC dc) {
  const ColourSlot& appl = m_kit.slot(SlotId::kApplBase);
  const POINT origin = m_kit.tileOrigin(SlotId::kApplBase, {m_layout.grid.left, m_layout.grid.top});
  for (const PixelRect& part : {m_layout.scrollNumber, m_layout.scrollUp, m_layout.scrollDown}) {
    if (part.height() <= 0) continue;
    const RECT r = toRect(part);
    areaFill(dc, r, origin, appl, m_kit.picture(SlotId::kApplBase));
    outline(dc, r, 0, 0);
    bevel(dc, r, 1, -1, appl.light[1], appl.dark[1], appl.level);
  }
  if (m_layout.scrollUp.height() > 0) {
    arrowGlyph(dc, toRect(m_layout.scrollUp), true, m_layout.scrollUp.width() / 4, appl);
    arrowGlyph(dc, toRect(m_layout.scrollDown), false, m_layout.scrollDown.width() / 4, appl);
  }
  const int active = m_groups.activeGroup;
  if (m_layout.scrollNumber.height() > 0 && active > 0 && static_cast<size_t>(active) < m_groups.size()) {
    fw::SaveDCScope save(dc);
    SetBkMode(dc, TRANSPARENT);
    FontMaker font(dc, interfaceFontAt(m_layout.dpi), 0);
    const std::wstring row = std::to_wstring(m_groups[static_cast<size_t>(active)].dispOffset + 1);
    embossedLabel(dc, row, toRect(m_layout.scrollNumber), {}, &m_kit.slot(SlotId::kApplName));
  }
}

std::optional<ButtonGeometry> BarView::slotGeometry(int group, int slot) const {
  if (group < 0 || slot < 0 || static_cast<size_t>(group) >= m_groups.size()) return std::nullopt;
  if (group == 0) {
    ButtonGeometry g = quickButton(m_layout, slot);
    if (g.cell.top >= m_layout.quickList.bottom) return std::nullopt;
    return g;
  }
  const CellLayout cells = gridCells(m_layout, m_groups[static_cast<size_t>(group)].buttonMode);
  const int index = slot - firstVisibleSlot(group);
  if (index < 0 || index >= visibleSlots(m_layout, cells)) return std::nullopt;
  return gridButton(m_layout, cells, index);
}

void BarView::paintSlot(HDC dc, int group, int slot, ButtonLook look, const BarScene& scene) {
  const std::optional<ButtonGeometry> geo = slotGeometry(group, slot);
  if (!geo) return;
  Item* item = m_groups.item(group, slot);
  if (!item) return;
  // Names are drawn in the button font the layout was measured with.
  const FontSettings fonts = fontSettings();
  FontMaker font(dc, m_buttonFont, buttonFontAdjustment(fonts.fontSize, fonts.smallFont));
  const Colors& c = m_colors;
  const bool quick = group == 0;
  const CellLayout cells = gridCells(m_layout, quick ? 2 : m_groups[static_cast<size_t>(group)].buttonMode);
  ButtonPaint b;
  b.cell = toRect(geo->cell);
  b.imageRect = toRect(geo->image);
  // Image-only cells highlight a square of the image's size around the image.
  b.highlightBox = geo->name ? b.cell
                             : RECT{b.imageRect.left - 2, b.imageRect.top - 2, b.imageRect.right + 2,
                                    b.imageRect.bottom + 2};
  if (geo->name) b.nameBox = toRect(*geo->name);
  b.name = item->title;
  b.image = item->image.empty() ? nullptr : &item->image;
  // Areas: 1 group tabs, 2 application grid, 3 quick list.
  const bool activeArea = scene.currentArea == (quick ? 3 : 2);
  b.highlighted = look.highlighted || look.selected;
  if (look.selected && (activeArea || scene.dragActive))
    b.highlightColour = m_kit.colours[PlainColourId::kActTitle];
  b.actColorAlpha = c.actColorAlpha;
  b.border = look.highlighted || look.selected;
  b.imageWeight = (activeArea || look.selected) ? c.actAlpha : quick ? c.nonActAlphaQk : c.nonActAlphaAp;
  b.tint = look.selected;
  b.centred = cells.columns > 1;
  b.tileOrigin = m_kit.tileOrigin(SlotId::kApplBase, {m_layout.grid.left, m_layout.grid.top});
  item->titleCut = paintButton(dc, m_kit, b) ? 1 : 0;
}

void BarView::repaintButton(int group, int slot, ButtonLook look, const BarScene& scene) {
  const std::optional<ButtonGeometry> geo = slotGeometry(group, slot);
  if (!scene.bar || !geo) return;
  ButtonDrag::Hidden hidden(scene.dragActive);
  fw::WindowDC window(scene.bar);
  const bool whole = ensureBarImage(window, scene);
  fw::MemoryDC memory(window);
  fw::SelectScope select(memory, m_barImage.get());
  if (whole) {
    // A new image already holds the button: the whole bar goes to the window.
    BitBlt(window, 0, 0, m_imageSize.cx, m_imageSize.cy, memory, 0, 0, SRCCOPY);
    return;
  }
  const RECT cell = toRect(geo->cell);
  const RECT area = toRect(group == 0 ? m_layout.quickList : m_layout.grid);
  RECT clip{};
  if (!IntersectRect(&clip, &cell, &area)) return;
  {
    fw::SaveDCScope save(memory);
    IntersectClipRect(memory, clip.left, clip.top, clip.right, clip.bottom);
    areaFill(memory, cell, m_kit.tileOrigin(SlotId::kApplBase, {m_layout.grid.left, m_layout.grid.top}),
             m_kit.slot(SlotId::kApplBase), m_kit.picture(SlotId::kApplBase));
    paintSlot(memory, group, slot, look, scene);
  }
  BitBlt(window, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, memory, clip.left,
         clip.top, SRCCOPY);
}

void BarView::paintTabScrollButtons(HDC dc, int tabCount, const TabLayout& tabs) {
  const int rowsOfTabs = (tabCount + tabs.perRow - 1) / std::max(1, tabs.perRow);
  // With the group scroll bar the layout leaves the drawn buttons empty.
  if (rowsOfTabs * tabs.tabHeight > m_layout.tabArea.height() && m_layout.groupScroll[0].height() > 0) {
    paintGroupScrollButton(dc, toRect(m_layout.groupScroll[0]), m_kit, true);
    paintGroupScrollButton(dc, toRect(m_layout.groupScroll[1]), m_kit, false);
  }
}

void BarView::paintTaskList(HDC dc, const BarScene& scene) {
  // Entry 0 of the table is a dummy; the listed windows are tabs 1, 2, ...
  TabsPaint list;
  HWND foreground = GetForegroundWindow();
  const size_t count = scene.tasks ? scene.tasks->size() : 0;
  const TabLayout tabs = tabLayout(m_layout, m_settings.taskDispMode);
  const int firstRow = scene.taskFirstRow ? scene.taskFirstRow() : 0;
  // The entries on the rows that meet the area (a part row below included).
  const long long firstShown = static_cast<long long>(firstRow) * tabs.perRow + 1;
  const long long lastShown =
      firstShown + (m_layout.tabArea.height() / std::max(1, tabs.tabHeight) + 1LL) * tabs.perRow - 1;
  for (size_t i = 1; i < count; ++i) {
    const TaskEntry& task = (*scene.tasks)[i];
    const long long n = static_cast<long long>(i);
    HICON icon = static_cast<HICON>(task.icon);
    if (!icon && n >= firstShown && n <= lastShown && scene.taskIcon)
      icon = scene.taskIcon(static_cast<int>(i));
    list.tabs.push_back({task.title, nullptr, icon, task.marked != 0, task.topmost != 0,
                         m_settings.dispTaskDetails ? task.details : std::wstring()});
    if (task.window == foreground) list.current = static_cast<int>(i);
  }
  list.highlightColour = m_kit.colours[PlainColourId::kActTitle];
  list.actColorAlpha = m_colors.actColorAlpha;
  list.imageWeight = 0;
  list.pressed = scene.pressedTask;
  // The list scrolls by rows, as the group tabs do.
  list.scrollOffset = firstRow * tabs.tabHeight;
  const std::vector<int> cut = paintTabs(dc, m_layout, m_kit, tabs, list);
  if (scene.tasksCut) scene.tasksCut(cut);
  paintTabScrollButtons(dc, static_cast<int>(list.tabs.size()), tabs);
}

void BarView::tickClock(const BarScene& scene) {
  HWND bar = scene.bar;
  if (!bar || !IsWindowVisible(bar) || IsIconic(bar)) return;
  const Settings& s = m_settings;
  const ClockTime now = clockNow();
  const int percent = freeMemoryPercent();
  const ReadoutRepaint redo = m_readouts.tick(now, s.is24Hour, percent);
  if (!redo.clock && !redo.amPm && !redo.indicator) return;
  if (!m_imageValid || !m_barImage) {
    InvalidateRect(bar, nullptr, FALSE);
    return;
  }
  ButtonDrag::Hidden hidden(scene.dragActive);
  fw::WindowDC window(bar);
  fw::MemoryDC memory(window);
  fw::SelectScope select(memory, m_barImage.get());
  auto copy = [&](const RECT& r) {
    BitBlt(window, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top, SRCCOPY);
  };
  const RECT clock = toRect(m_readoutBoxes.clock);
  if (redo.clock && clock.right > clock.left) {
    paintReadout(memory, clock, m_layout, m_kit, clockText(now, s.is24Hour),
                 m_kit.colours[PlainColourId::kIndicator]);
    copy(clock);
  }
  const RECT amPm = toRect(m_readoutBoxes.amPm);
  // On the 24-hour clock the mark's box is kept empty (it may still show a mark).
  if ((redo.amPm || (s.is24Hour && redo.clock)) && amPm.right > amPm.left) {
    if (s.is24Hour) {
      areaFill(memory, amPm, m_kit.tileOrigin(SlotId::kBord, {amPm.left, amPm.top}),
               m_kit.slot(SlotId::kBord), m_kit.picture(SlotId::kBord));
    } else {
      paintAmPm(memory, amPm, m_layout, m_kit, now.hour);
    }
    copy(amPm);
  }
  const RECT indicator = toRect(m_readoutBoxes.indicator);
  if (redo.indicator && indicator.right > indicator.left) {
    paintReadout(
        memory, indicator, m_layout, m_kit, std::to_wstring(percent),
        indicatorColour(percent, IndicatorKind::kFreePercent, m_kit.colours[PlainColourId::kIndicator]));
    copy(indicator);
  }
}

void BarView::paint(const BarScene& scene) {
  ButtonDrag::Hidden hidden(scene.dragActive);
  // A bar made on a monitor whose DPI is not the screen's gets no WM_DPICHANGED
  // for it: at its first paint it asks itself to take the DPI it is shown at.
  // Later changes come from the system.
  if (!m_dpiChecked) {
    m_dpiChecked = true;
    const int shownDpi = windowDpi(scene.bar);
    if (shownDpi != m_layout.dpi &&
        !PostMessageW(scene.bar, WM_DPICHANGED, MAKEWPARAM(shownDpi, shownDpi), 0))
      FW_TRACE_FAILURE("PostMessageW");
  }
  fw::PaintDC dc(scene.bar);
  ensureBarImage(dc, scene);
  fw::MemoryDC memory(dc);
  fw::SelectScope select(memory, m_barImage.get());
  const RECT& r = dc.paintRect();
  BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top, SRCCOPY);
}

void BarView::startClock(HWND bar) {
  if (m_clockRunning || !bar) return;
  m_clockRunning = SetTimer(bar, kTimerClock, 1000, nullptr) != 0;
  if (!m_clockRunning) FW_TRACE_FAILURE("SetTimer");
}

void BarView::stopClock(HWND bar) {
  if (!m_clockRunning) return;
  KillTimer(bar, kTimerClock);
  m_clockRunning = false;
}

}  // namespace vorbin
