// The timing page of the options sheet: the opening switches, where the bar
// opens at the pointer (with its preview), the delays and the file types.
#pragma once
#include <windows.h>

#include "framework/gdi.h"
#include "framework/property_sheet.h"
#include "launcher/dialogs/options_page.h"
#include "launcher/dialogs/options_rules.h"

namespace vorbin {

class CTimingPage : public fw::CMappedDialog<CTimingPage, fw::CPropertyPage> {
 public:
  explicit CTimingPage(OptionsPageLink link);

  static std::span<const fw::CommandEntry<CTimingPage>> commandMap();
  static std::span<const fw::MessageEntry<CTimingPage>> messageMap();

 protected:
  bool onInitDialog() override;
  bool onSetActive() override;
  bool onKillActive() override;
  bool onApply() override;
  void onReset() override;

 private:
  void onChanged();
  void onPatternEdited();
  void onResetPosition();
  LRESULT onScroll(WPARAM, LPARAM);
  LRESULT onDrawItem(WPARAM, LPARAM);
  void takeValues();
  AppearPosition sliderPosition() const;

  OptionsPageLink m_link;
  fw::Bitmap m_picture;
  bool m_fixingPattern = false;  // a field is being rewritten without its vertical bars
};

}  // namespace vorbin
