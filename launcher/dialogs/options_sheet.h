// The options sheet: modeless, one at a time, three pages working on copies
// of the settings and colours; OK hands the copies to the bar, Cancel drops them.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/handle.h"
#include "framework/property_sheet.h"
#include "launcher/dialogs/appearance_page.h"
#include "launcher/dialogs/behavior_page.h"
#include "launcher/dialogs/timing_page.h"

namespace vorbin {

struct OptionsSheetContext {
  const Settings& settings;  // the bar's live values, copied when the sheet opens
  const Colors& colors;
  Profile& profile;  // the appearance page writes the look here on OK
  HWND bar;          // owner; told with 0x047F when the sheet is gone
  std::wstring dataFolder;
  HINSTANCE resources;  // the language library
  // Takes the accepted copies over; colours only when the look changed.
  std::function<void(const Settings&, const Colors*)> accept;
};

class COptionsSheet : public fw::CPropertySheet {
 public:
  explicit COptionsSheet(OptionsSheetContext context);
  ~COptionsSheet() override;

  bool open();
  // OK or Cancel was pressed, or something else destroyed the window.
  bool hasEnded() const;
  // Hands over what was accepted, destroys the window and tells the bar.
  void finish();

 private:
  // After the sheet's own set-up, which would otherwise clear it.
  void showIcon();

  OptionsSheetContext m_context;
  Settings m_settings;  // the copies the pages edit
  Colors m_colors;
  bool m_accepted = false;
  bool m_ended = false;
  CBehaviorPage m_behavior;
  std::unique_ptr<CAppearancePage> m_appearance;
  CTimingPage m_timing;
};

// Opens the sheet, or brings the open one forward; its window, or null.
HWND openOptionsSheet(OptionsSheetContext context);
// The message loop's part: the open sheet's keyboard handling and its end
// once OK or Cancel was pressed. True when the message was consumed.
bool routeOptionsSheetMessage(MSG& msg);
// Ends the sheet if OK or Cancel was pressed; the bar calls it when told, as a
// modal dialog's loop (the sheet may open under one) never routes messages here.
void finishEndedOptionsSheet();

}  // namespace vorbin
