// The behaviour page of the options sheet: where and how the bar opens, the
// general switches, the language and the bar hot key.
#pragma once
#include <windows.h>

#include <vector>

#include "framework/gdi.h"
#include "framework/property_sheet.h"
#include "launcher/dialogs/options_page.h"
#include "launcher/dialogs/options_rules.h"

namespace vorbin {

class CBehaviorPage : public fw::CMappedDialog<CBehaviorPage, fw::CPropertyPage> {
 public:
  explicit CBehaviorPage(OptionsPageLink link);

  static std::span<const fw::CommandEntry<CBehaviorPage>> commandMap();
  static std::span<const fw::MessageEntry<CBehaviorPage>> messageMap();

 protected:
  bool onInitDialog() override;
  bool onKillActive() override;
  bool onApply() override;
  void onReset() override;

 private:
  void onPlaceClicked();
  void onMouseButtonChosen();
  void onChanged();
  LRESULT onDrawItem(WPARAM, LPARAM);
  // Controls to the settings copy; false (message shown, old key back) when the hot key is taken.
  bool takeValues();
  bool hotKeyAvailable(int hotKey);
  void labelSecondaryButton();

  OptionsPageLink m_link;
  ActivationChecks m_places{};
  std::vector<LanguageEntry> m_languages;
  fw::Bitmap m_picture;
};

}  // namespace vorbin
