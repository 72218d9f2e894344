// The thumbnail settings dialog: ratio (slider in tens, spin and field),
// JPEG quality in four steps, and in its full form the new item's title and comment.
#pragma once
#include <windows.h>

#include <span>
#include <string>

#include "framework/dialog.h"

namespace vorbin {

class Profile;
struct Settings;

struct ThumbnailChoice {
  int ratio = 30;    // percent, 0: no thumbnail
  int quality = 50;  // 25, 50, 75 or 100 after the dialog
  std::wstring title, comment;  // the full form only
};

class CThumbnailDialog : public fw::CMappedDialog<CThumbnailDialog> {
 public:
  // templateId: IDD_THUMB_SHORT or IDD_THUMB_FULL (with title and comment).
  CThumbnailDialog(UINT templateId, HINSTANCE resources, const ThumbnailChoice& initial);
  static std::span<const fw::MessageEntry<CThumbnailDialog>> messageMap();
  static std::span<const fw::CommandEntry<CThumbnailDialog>> commandMap();
  const ThumbnailChoice& choice() const { return m_choice; }

 protected:
  bool onInitDialog() override;
  void onOK() override;

 private:
  LRESULT onScroll(WPARAM wParam, LPARAM lParam);
  void onRatioEdited();
  void setRatioField(int ratio);

  bool m_full;
  ThumbnailChoice m_choice;
  bool m_settingField = false;
};

// Runs the dialog modally; true on OK with choice updated.
bool runThumbnailDialog(HWND owner, UINT templateId, HINSTANCE resources, ThumbnailChoice& choice);
// Keeps the chosen ratio and quality in the settings and, when a profile is
// given, saves them at once.
void storeThumbnailChoice(const ThumbnailChoice& choice, Settings* settings, Profile* profile);

}  // namespace vorbin
