// Clock text and the repaint memory of the readouts.
#include "launcher/render/clock_text.h"

#include <algorithm>

namespace vorbin {

namespace {
void twoDigits(std::wstring& out, int v) {
  v = std::clamp(v, 0, 99);
  out += static_cast<wchar_t>(L'0' + v / 10);
  out += static_cast<wchar_t>(L'0' + v % 10);
}
}  // namespace

std::wstring clockText(const ClockTime& t, bool is24Hour) {
  int hour = t.hour;
  if (!is24Hour) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  std::wstring out;
  twoDigits(out, t.month);
  out += L'/';
  twoDigits(out, t.day);
  out += L' ';
  twoDigits(out, hour);
  out += L':';
  twoDigits(out, t.minute);
  return out;
}

std::wstring_view amPmMark(int hour) { return hour > 11 ? L"p.m." : L"a.m."; }

ReadoutRepaint ReadoutMemory::tick(const ClockTime& t, bool is24Hour, int indicatorValue) {
  ReadoutRepaint r;
  const bool pm = t.hour > 11;
  r.clock = !m_known || t.minute != m_time.minute || t.hour != m_time.hour || t.day != m_time.day ||
            t.month != m_time.month || is24Hour != m_is24;
  // The mark box exists only on the 12-hour clock; it changes with the hour's half or the setting.
  r.amPm = !is24Hour && (!m_known || pm != m_pm || is24Hour != m_is24);
  r.indicator = !m_known || indicatorValue != m_indicator;
  m_known = true;
  m_time = t;
  m_is24 = is24Hour;
  m_pm = pm;
  m_indicator = indicatorValue;
  return r;
}

}  // namespace vorbin
