// The options sheet: the copies, the three pages and the hand-over to the bar
// once the sheet has ended. The sheet is modeless, so it ends in the message
// loop: the pages post a null message when OK or Cancel is pressed and the
// loop's routing finishes the sheet when it sees the sheet has no page left.
#include "launcher/dialogs/options_sheet.h"

#include "framework/trace.h"
#include "launcher/bar/bar_messages.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"

namespace vorbin {

namespace {

constexpr int kSheetIcon = 362;

// The one sheet of the process.
std::unique_ptr<COptionsSheet> g_sheet;

OptionsPageLink pageLink(Settings& copy, const OptionsSheetContext& context, COptionsSheet& sheet,
                         bool& accepted, bool& ended) {
  return {copy, context.settings.hotKey, context.resources, [&accepted] { accepted = true; },
          [&sheet, &ended, bar = context.bar] {
            ended = true;
            // A message through the loop, whose routing then sees the sheet ended;
            // and one to the bar, which any loop (a modal dialog's too) dispatches.
            PostMessageW(sheet.hwnd(), WM_NULL, 0, 0);
            PostMessageW(bar, kMsgOptionsClosed, 0, 0);
          }};
}

// Loaded at each size rather than shared (a shared icon comes back at the size
// it was first loaded with), and kept for the next sheet: loading them is a
// fair part of opening one.
HICON sheetIcon(WPARAM which, int width, int height) {
  struct Cached {
    int width = 0, height = 0;
    fw::IconHandle icon;
  };
  static Cached cache[2];
  Cached& c = cache[which == ICON_BIG ? 0 : 1];
  if (!c.icon.get() || c.width != width || c.height != height) {
    c.icon.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kSheetIcon),
                                               IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
    c.width = width;
    c.height = height;
  }
  return c.icon.get();
}

}  // namespace

void drawStretched(HDC dc, const RECT& r, HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  fw::MemoryDC memory(dc);
  fw::SelectScope select(memory, bitmap);
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, info.bmWidth, info.bmHeight,
             SRCCOPY);
}

COptionsSheet::COptionsSheet(OptionsSheetContext context)
    : m_context(std::move(context)),
      m_settings(m_context.settings),
      m_colors(m_context.colors),
      m_behavior(pageLink(m_settings, m_context, *this, m_accepted, m_ended)),
      m_timing(pageLink(m_settings, m_context, *this, m_accepted, m_ended)) {
  m_appearance = std::make_unique<CAppearancePage>(
      AppearanceContext{m_settings, m_colors, m_context.profile, m_context.dataFolder, m_context.resources});
  addPage(&m_behavior);
  addPage(m_appearance.get());
  addPage(&m_timing);
  setCaption(resourceStringFrom(m_context.resources, IDS_OPTIONS_CAPTION, kMediumString));
  setFlags(PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP);
}

COptionsSheet::~COptionsSheet() { destroy(); }

bool COptionsSheet::open() {
  if (!create(m_context.bar)) return false;
  showIcon();
  return true;
}

void COptionsSheet::showIcon() {
  const struct {
    WPARAM which;
    int metricX, metricY;
  } sizes[] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
  for (const auto& size : sizes) {
    if (HICON icon = sheetIcon(size.which, GetSystemMetrics(size.metricX), GetSystemMetrics(size.metricY)))
      SendMessageW(hwnd(), WM_SETICON, size.which, reinterpret_cast<LPARAM>(icon));
  }
}

bool COptionsSheet::hasEnded() const { return !hwnd() || !IsWindow(hwnd()) || (m_ended && finished()); }

void COptionsSheet::finish() {
  if (!hwnd() || !IsWindow(hwnd())) return;
  const HWND bar = m_context.bar;
  if (m_accepted) {
    // The appearance page copies pictures and writes the look while its state is still there.
    const bool lookChanged = m_appearance->initialized() && m_appearance->commit();
    // The sheet goes out of sight at once but lives until the bar has taken
    // and saved the values: whoever waits for it to go finds them in force.
    ShowWindow(hwnd(), SW_HIDE);
    if (m_context.accept) m_context.accept(m_settings, lookChanged ? &m_colors : nullptr);
    destroy();
  } else {
    destroy();
  }
  PostMessageW(bar, kMsgOptionsClosed, 0, 0);
}

namespace {
// Ends the sheet outside g_sheet, so that loops the hand-over runs (a message
// box) find no sheet to route to.
void finishSheet() {
  std::unique_ptr<COptionsSheet> ending = std::move(g_sheet);
  ending->finish();
}
}  // namespace

HWND openOptionsSheet(OptionsSheetContext context) {
  if (g_sheet && g_sheet->hasEnded()) finishSheet();
  if (g_sheet) {
    SetForegroundWindow(g_sheet->hwnd());
    return g_sheet->hwnd();
  }
  auto sheet = std::make_unique<COptionsSheet>(std::move(context));
  if (!sheet->open()) return nullptr;
  g_sheet = std::move(sheet);
  return g_sheet->hwnd();
}

void finishEndedOptionsSheet() {
  if (g_sheet && g_sheet->hasEnded()) finishSheet();
}

bool routeOptionsSheetMessage(MSG& msg) {
  if (!g_sheet) return false;
  if (g_sheet->hasEnded()) {
    finishSheet();
    return false;
  }
  const bool consumed = g_sheet->preTranslateMessage(msg);
  // Enter or Escape may just have ended it.
  if (g_sheet && g_sheet->hasEnded()) finishSheet();
  return consumed;
}

}  // namespace vorbin
