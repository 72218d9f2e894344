// The clock readout: its text, the a.m./p.m. mark, and which parts a timer
// tick has to repaint (the clock remembers the last minute and mark shown,
// the indicator its last value).
#pragma once

#include <string>
#include <string_view>

namespace vorbin {

struct ClockTime {
  int month = 1, day = 1, hour = 0, minute = 0;
};

// "MM/DD HH:MM", the hour 00..23 with is24Hour, else 01..12.
std::wstring clockText(const ClockTime& t, bool is24Hour);
// "a.m." or "p.m." (hour above 11).
std::wstring_view amPmMark(int hour);

struct ReadoutRepaint {
  bool clock = false;
  bool amPm = false;  // redraw the a.m./p.m. box
  bool indicator = false;
};

class ReadoutMemory {
 public:
  // What changed since the last tick; the first tick repaints everything.
  ReadoutRepaint tick(const ClockTime& t, bool is24Hour, int indicatorValue);
  // After a full repaint of the bar, everything is drawn again.
  void forget() { *this = ReadoutMemory{}; }

 private:
  bool m_known = false;
  ClockTime m_time;
  bool m_is24 = false;
  bool m_pm = false;
  int m_indicator = 0;
};

}  // namespace vorbin
