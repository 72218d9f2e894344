// Thumbnail settings dialog (see thumbnail_dialog.h).
#include "launcher/dialogs/thumbnail_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "launcher/dialogs/item_sheet_rules.h"
#include "launcher/dialogs/thumb_dialog_rules.h"
#include "launcher/model/item_record.h"
#include "launcher/model/profile.h"
#include "launcher/model/settings.h"
#include "launcher/resources/resource_ids.h"

namespace vorbin {

CThumbnailDialog::CThumbnailDialog(UINT templateId, HINSTANCE resources, const ThumbnailChoice& initial)
    : CMappedDialog(templateId, resources), m_full(templateId == IDD_THUMB_FULL), m_choice(initial) {
  m_choice.ratio = std::clamp(m_choice.ratio, 0, 100);
}

std::span<const fw::MessageEntry<CThumbnailDialog>> CThumbnailDialog::messageMap() {
  using D = CThumbnailDialog;
  static const fw::MessageEntry<D> entries[] = {
      {WM_HSCROLL, &D::onScroll},
      {WM_VSCROLL, &D::onScroll},
  };
  return entries;
}

std::span<const fw::CommandEntry<CThumbnailDialog>> CThumbnailDialog::commandMap() {
  using D = CThumbnailDialog;
  static const fw::CommandEntry<D> entries[] = {{IDC_THUMB_RATIO, EN_CHANGE, &D::onRatioEdited}};
  return entries;
}

bool CThumbnailDialog::onInitDialog() {
  HWND ratioSlider = item(IDC_THUMB_RATIO_SLIDER), quality = item(IDC_THUMB_QUALITY);
  SendMessageW(ratioSlider, TBM_SETRANGE, FALSE, MAKELPARAM(0, kRatioSliderMax));
  SendMessageW(ratioSlider, TBM_SETLINESIZE, 0, 1);
  SendMessageW(ratioSlider, TBM_SETPAGESIZE, 0, 1);
  SendMessageW(ratioSlider, TBM_SETPOS, TRUE, ratioSliderPosition(m_choice.ratio));
  SendMessageW(quality, TBM_SETRANGE, FALSE, MAKELPARAM(kQualityStepMin, kQualityStepMax));
  SendMessageW(quality, TBM_SETLINESIZE, 0, 1);
  SendMessageW(quality, TBM_SETPAGESIZE, 0, 1);
  SendMessageW(quality, TBM_SETPOS, TRUE, qualityStep(m_choice.quality));
  HWND spin = item(IDC_THUMB_RATIO_SPIN);
  SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(item(IDC_THUMB_RATIO)), 0);
  SendMessageW(spin, UDM_SETRANGE32, 0, 100);
  SendMessageW(item(IDC_THUMB_RATIO), EM_LIMITTEXT, 4, 0);
  setRatioField(m_choice.ratio);
  if (m_full) {
    SetDlgItemTextW(m_hwnd, IDC_ITEM_TITLE, m_choice.title.c_str());
    SendMessageW(item(IDC_ITEM_COMMENT), EM_LIMITTEXT, kMaxCommentChars, 0);
    SetDlgItemTextW(m_hwnd, IDC_ITEM_COMMENT, m_choice.comment.c_str());
  }
  return true;
}

void CThumbnailDialog::setRatioField(int ratio) {
  m_settingField = true;
  SendMessageW(item(IDC_THUMB_RATIO_SPIN), UDM_SETPOS32, 0, ratio);
  SetDlgItemInt(m_hwnd, IDC_THUMB_RATIO, static_cast<UINT>(ratio), FALSE);
  m_settingField = false;
}

LRESULT CThumbnailDialog::onScroll(WPARAM, LPARAM lParam) {
  HWND from = reinterpret_cast<HWND>(lParam);
  if (from == item(IDC_THUMB_RATIO_SLIDER)) {
    const int position = static_cast<int>(SendMessageW(from, TBM_GETPOS, 0, 0));
    setRatioField(position * 10);
  } else if (from == item(IDC_THUMB_RATIO_SPIN)) {
    const int value = static_cast<int>(SendMessageW(from, UDM_GETPOS32, 0, 0));
    SendMessageW(item(IDC_THUMB_RATIO_SLIDER), TBM_SETPOS, TRUE, ratioSliderPosition(value));
  }
  return 0;
}

void CThumbnailDialog::onRatioEdited() {
  if (m_settingField) return;
  const RatioField field = readRatioField(fw::windowText(item(IDC_THUMB_RATIO)));
  if (field.rewrite) setRatioField(field.value);
  SendMessageW(item(IDC_THUMB_RATIO_SLIDER), TBM_SETPOS, TRUE, ratioSliderPosition(field.value));
}

void CThumbnailDialog::onOK() {
  m_choice.ratio = readRatioField(fw::windowText(item(IDC_THUMB_RATIO))).value;
  m_choice.quality = qualityOfStep(static_cast<int>(SendMessageW(item(IDC_THUMB_QUALITY), TBM_GETPOS, 0, 0)));
  if (m_full) {
    m_choice.title = fw::windowText(item(IDC_ITEM_TITLE));
    m_choice.comment = boundedComment(fw::windowText(item(IDC_ITEM_COMMENT)));
  }
  endDialog(IDOK);
}

bool runThumbnailDialog(HWND owner, UINT templateId, HINSTANCE resources, ThumbnailChoice& choice) {
  CThumbnailDialog dialog(templateId, resources, choice);
  if (dialog.doModal(owner) != IDOK) return false;
  choice = dialog.choice();
  return true;
}

void storeThumbnailChoice(const ThumbnailChoice& choice, Settings* settings, Profile* profile) {
  const int ratio = std::clamp(choice.ratio, 0, 100), quality = std::clamp(choice.quality, 25, 100);
  if (settings) {
    settings->thumbRatio = ratio;
    settings->thumbQuality = quality;
  }
  if (profile) {
    profile->setInt(kSettingsSection, L"ThumbRatio", ratio);
    profile->setInt(kSettingsSection, L"ThumbQuality", quality);
  }
}

}  // namespace vorbin
