// The timing page: switches, the place at the pointer with its preview, the
// delay spins (typed numbers read within their bounds) and the five file types
// that make up WildCard.
#include "launcher/dialogs/timing_page.h"

#include <commctrl.h>

#include <algorithm>

#include "launcher/resources/resource_ids.h"

namespace vorbin {

namespace {

struct Switch {
  int id;
  bool Settings::*field;
};
const Switch kSwitches[] = {
    {IDC_ALWAYS_OPEN_APPL, &Settings::alwaysOpenAppl},
    {IDC_GROW_BY_FILL, &Settings::growByFill},
    {IDC_USUALLY_TOP_GROUP, &Settings::usuallyTopGroup},
    {IDC_SUPER_LOCK, &Settings::superLock},
};

struct Spin {
  int edit;
  int spin;
  int Settings::*field;
  SpinBounds bounds;
};
const Spin kSpins[] = {
    {IDC_CLOSE_DELAY, IDC_CLOSE_DELAY_SPIN, &Settings::closeDelayTime, kCloseDelayBounds},
    {IDC_SELECT_DELAY, IDC_SELECT_DELAY_SPIN, &Settings::intervalAtSel, kIntervalAtSelBounds},
    {IDC_SCROLL_REPEAT, IDC_SCROLL_REPEAT_SPIN, &Settings::intervalAtScroll, kIntervalAtScrollBounds},
    {IDC_SCROLL_TIME, IDC_SCROLL_TIME_SPIN, &Settings::scrollTime, kScrollTimeBounds},
};

constexpr AppearPosition kDefaultPosition{};
// The program's own arrow, drawn where the bar would open.
constexpr int kPreviewPointer = 227;
constexpr int kMaxFieldChars = 260;

std::wstring fieldText(HWND dialog, int id) {
  wchar_t buffer[kMaxFieldChars + 1] = {};
  GetDlgItemTextW(dialog, id, buffer, kMaxFieldChars + 1);
  return buffer;
}

void setSlider(HWND slider, int low, int high, int position) {
  SendMessageW(slider, TBM_SETRANGE, FALSE, MAKELPARAM(low, high));
  SendMessageW(slider, TBM_SETTICFREQ, high - low >= 50 ? 10 : 1, 0);
  SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

}  // namespace

CTimingPage::CTimingPage(OptionsPageLink link)
    : CMappedDialog(IDD_OPTIONS_TIMING, link.resources), m_link(std::move(link)) {}

std::span<const fw::CommandEntry<CTimingPage>> CTimingPage::commandMap() {
  using P = CTimingPage;
  static const fw::CommandEntry<P> entries[] = {
      {IDC_ALWAYS_OPEN_APPL, BN_CLICKED, &P::onChanged},
      {IDC_GROW_BY_FILL, BN_CLICKED, &P::onChanged},
      {IDC_USUALLY_TOP_GROUP, BN_CLICKED, &P::onChanged},
      {IDC_SUPER_LOCK, BN_CLICKED, &P::onChanged},
      {IDC_APPEAR_DEFAULT, BN_CLICKED, &P::onResetPosition},
      {IDC_CLOSE_DELAY, EN_CHANGE, &P::onChanged},
      {IDC_SELECT_DELAY, EN_CHANGE, &P::onChanged},
      {IDC_SCROLL_REPEAT, EN_CHANGE, &P::onChanged},
      {IDC_SCROLL_TIME, EN_CHANGE, &P::onChanged},
      {IDC_PATTERN_FIRST + 0, EN_CHANGE, &P::onPatternEdited},
      {IDC_PATTERN_FIRST + 1, EN_CHANGE, &P::onPatternEdited},
      {IDC_PATTERN_FIRST + 2, EN_CHANGE, &P::onPatternEdited},
      {IDC_PATTERN_FIRST + 3, EN_CHANGE, &P::onPatternEdited},
      {IDC_PATTERN_FIRST + 4, EN_CHANGE, &P::onPatternEdited},
      {IDC_DESCRIPTION_FIRST + 0, EN_CHANGE, &P::onPatternEdited},
      {IDC_DESCRIPTION_FIRST + 1, EN_CHANGE, &P::onPatternEdited},
      {IDC_DESCRIPTION_FIRST + 2, EN_CHANGE, &P::onPatternEdited},
      {IDC_DESCRIPTION_FIRST + 3, EN_CHANGE, &P::onPatternEdited},
      {IDC_DESCRIPTION_FIRST + 4, EN_CHANGE, &P::onPatternEdited},
  };
  return entries;
}

std::span<const fw::MessageEntry<CTimingPage>> CTimingPage::messageMap() {
  using P = CTimingPage;
  static const fw::MessageEntry<P> entries[] = {
      {WM_HSCROLL, &P::onScroll},
      {WM_VSCROLL, &P::onScroll},
      {WM_DRAWITEM, &P::onDrawItem},
  };
  return entries;
}

bool CTimingPage::onInitDialog() {
  const Settings& s = m_link.settings;
  for (const Switch& sw : kSwitches)
    CheckDlgButton(m_hwnd, sw.id, s.*(sw.field) ? BST_CHECKED : BST_UNCHECKED);
  const AppearPosition place = appearPosition(s.appearPos);
  setSlider(item(IDC_APPEAR_X), kPercentBounds.min, kPercentBounds.max, place.horizontal);
  setSlider(item(IDC_APPEAR_Y), kPercentBounds.min, kPercentBounds.max, place.vertical);
  setSlider(item(IDC_SCROLL_BUTTON_SIZE), kScrollBtnSizeBounds.min, kScrollBtnSizeBounds.max,
            std::clamp(s.scrollBtnSize, kScrollBtnSizeBounds.min, kScrollBtnSizeBounds.max));
  for (const Spin& spin : kSpins) {
    const int value = std::clamp(s.*(spin.field), spin.bounds.min, spin.bounds.max);
    SendDlgItemMessageW(m_hwnd, spin.spin, UDM_SETRANGE32, static_cast<WPARAM>(spin.bounds.min),
                        spin.bounds.max);
    SendDlgItemMessageW(m_hwnd, spin.spin, UDM_SETPOS32, 0, value);
    SetDlgItemTextW(m_hwnd, spin.edit, std::to_wstring(value).c_str());
  }
  const PatternPairs pairs = splitWildCard(s.wildCard);
  m_fixingPattern = true;
  for (int i = 0; i < kPatternPairs; ++i) {
    SendDlgItemMessageW(m_hwnd, IDC_DESCRIPTION_FIRST + i, EM_LIMITTEXT, kMaxFieldChars, 0);
    SendDlgItemMessageW(m_hwnd, IDC_PATTERN_FIRST + i, EM_LIMITTEXT, kMaxFieldChars, 0);
    SetDlgItemTextW(m_hwnd, IDC_DESCRIPTION_FIRST + i, withoutBars(pairs[i].description).c_str());
    SetDlgItemTextW(m_hwnd, IDC_PATTERN_FIRST + i, withoutBars(pairs[i].pattern).c_str());
  }
  m_fixingPattern = false;
  m_picture.reset(static_cast<HBITMAP>(LoadImageW(m_link.resources, MAKEINTRESOURCEW(IDB_APPEAR_PICTURE),
                                                  IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  return true;
}

bool CTimingPage::onSetActive() {
  // The behaviour page hands its switches to the copy when it is left.
  const bool atPointer = m_link.settings.openAtClickPos;
  for (int id : {IDC_APPEAR_X, IDC_APPEAR_Y, IDC_APPEAR_DEFAULT}) EnableWindow(item(id), atPointer);
  const bool closing = m_link.settings.noActiveToClose;
  for (int id : {IDC_CLOSE_DELAY, IDC_CLOSE_DELAY_SPIN, IDC_CLOSE_DELAY_LABEL})
    EnableWindow(item(id), closing);
  return true;
}

void CTimingPage::onChanged() { setModified(); }

void CTimingPage::onPatternEdited() {
  if (m_fixingPattern) return;
  // Typed bars are refused by the dialog filter; pasted ones go here.
  HWND field = GetFocus();
  for (int i = 0; i < kPatternPairs; ++i) {
    for (int id : {IDC_DESCRIPTION_FIRST + i, IDC_PATTERN_FIRST + i}) {
      const std::wstring text = fieldText(m_hwnd, id);
      if (text.find(L'|') == std::wstring::npos) continue;
      DWORD caret = 0;
      SendDlgItemMessageW(m_hwnd, id, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
      const std::wstring clean = withoutBars(text);
      const auto removedBefore = static_cast<DWORD>(
          std::count(text.begin(), text.begin() + std::min<size_t>(caret, text.size()), L'|'));
      m_fixingPattern = true;
      SetDlgItemTextW(m_hwnd, id, clean.c_str());
      m_fixingPattern = false;
      if (item(id) == field)
        SendDlgItemMessageW(m_hwnd, id, EM_SETSEL, caret - removedBefore, caret - removedBefore);
    }
  }
  setModified();
}

void CTimingPage::onResetPosition() {
  SendDlgItemMessageW(m_hwnd, IDC_APPEAR_X, TBM_SETPOS, TRUE, kDefaultPosition.horizontal);
  SendDlgItemMessageW(m_hwnd, IDC_APPEAR_Y, TBM_SETPOS, TRUE, kDefaultPosition.vertical);
  InvalidateRect(item(IDC_APPEAR_PICTURE), nullptr, FALSE);
  setModified();
}

LRESULT CTimingPage::onScroll(WPARAM, LPARAM lParam) {
  const auto slider = reinterpret_cast<HWND>(lParam);
  if (slider == item(IDC_APPEAR_X) || slider == item(IDC_APPEAR_Y))
    InvalidateRect(item(IDC_APPEAR_PICTURE), nullptr, FALSE);
  if (slider) setModified();
  return 0;
}

AppearPosition CTimingPage::sliderPosition() const {
  return {static_cast<int>(SendDlgItemMessageW(m_hwnd, IDC_APPEAR_X, TBM_GETPOS, 0, 0)),
          static_cast<int>(SendDlgItemMessageW(m_hwnd, IDC_APPEAR_Y, TBM_GETPOS, 0, 0))};
}

LRESULT CTimingPage::onDrawItem(WPARAM, LPARAM lParam) {
  auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (!draw || draw->CtlID != IDC_APPEAR_PICTURE) return notHandled();
  const RECT& r = draw->rcItem;
  drawStretched(draw->hDC, r, m_picture.get());
  // The pointer where the bar would open.
  const AppearPosition place = sliderPosition();
  const int x = r.left + (r.right - r.left - 1) * place.horizontal / 100;
  const int y = r.top + (r.bottom - r.top - 1) * place.vertical / 100;
  auto pointer = static_cast<HCURSOR>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPreviewPointer),
                                                 IMAGE_CURSOR, 0, 0, LR_SHARED));
  if (!pointer) pointer = LoadCursorW(nullptr, IDC_ARROW);
  POINT hotSpot{};
  ICONINFO info{};
  if (GetIconInfo(pointer, &info)) {
    hotSpot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
  DrawIconEx(draw->hDC, x - hotSpot.x, y - hotSpot.y, pointer, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
  return TRUE;
}

void CTimingPage::takeValues() {
  Settings& s = m_link.settings;
  for (const Switch& sw : kSwitches) s.*(sw.field) = IsDlgButtonChecked(m_hwnd, sw.id) == BST_CHECKED;
  s.appearPos = appearPosValue(sliderPosition());
  s.scrollBtnSize =
      std::clamp(static_cast<int>(SendDlgItemMessageW(m_hwnd, IDC_SCROLL_BUTTON_SIZE, TBM_GETPOS, 0, 0)),
                 kScrollBtnSizeBounds.min, kScrollBtnSizeBounds.max);
  for (const Spin& spin : kSpins) {
    s.*(spin.field) = readSpinText(fieldText(m_hwnd, spin.edit), spin.bounds, s.*(spin.field));
    // Show what was taken, so a refused number does not linger in the field.
    SetDlgItemTextW(m_hwnd, spin.edit, std::to_wstring(s.*(spin.field)).c_str());
  }
  PatternPairs pairs;
  for (int i = 0; i < kPatternPairs; ++i)
    pairs[i] = {fieldText(m_hwnd, IDC_DESCRIPTION_FIRST + i), fieldText(m_hwnd, IDC_PATTERN_FIRST + i)};
  s.wildCard = joinWildCard(pairs);
}

bool CTimingPage::onKillActive() {
  takeValues();
  return true;
}

bool CTimingPage::onApply() {
  takeValues();
  if (m_link.applied) m_link.applied();
  if (m_link.ending) m_link.ending();
  return true;
}

void CTimingPage::onReset() {
  if (m_link.ending) m_link.ending();
}

}  // namespace vorbin
