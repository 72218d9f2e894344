// The tip of the day: one tip from the tips file beside the program, a button
// for the next one and the choice whether tips open at start-up. Where the
// file was left is kept in the profile's Tip section.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/gdi.h"

namespace vorbin {

class Profile;

// The tips file read whole (within its bound) and its time stamp text.
struct TipsFile {
  bool opened = false;
  std::vector<uint8_t> bytes;
  std::wstring stamp;
};
// The language's tips file in folder, or the other language's.
TipsFile readTipsFile(const std::wstring& folder, int language);

// Whether the tips open as the launcher starts.
bool tipsWantedAtStartUp(const Profile& profile, const std::wstring& folder, int language, bool noLogo);

class CTipsDialog : public fw::CMappedDialog<CTipsDialog> {
 public:
  CTipsDialog(Profile& profile, const std::wstring& folder, int language);
  ~CTipsDialog() override;

  static std::span<const fw::MessageEntry<CTipsDialog>> messageMap();
  static std::span<const fw::CommandEntry<CTipsDialog>> commandMap();

 protected:
  bool onInitDialog() override;
  void onOK() override;

 private:
  void readNextTip();
  void onNext();
  LRESULT onPaint(WPARAM, LPARAM);
  LRESULT onCtlColorStatic(WPARAM, LPARAM);
  RECT controlRect(int id) const;

  Profile& m_profile;
  TipsFile m_file;
  int64_t m_pos = 0;
  bool m_atStartUp = true;
  bool m_haveTip = false;
  std::wstring m_tip;
  fw::Font m_headingFont;
  fw::Brush m_white;
};

}  // namespace vorbin
