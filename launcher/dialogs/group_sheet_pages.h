// The two pages of the group sheet (used by group_sheet.cpp only).
#pragma once
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/handle.h"
#include "framework/property_sheet.h"
#include "launcher/dialogs/group_sheet.h"
#include "launcher/dialogs/group_sheet_rules.h"
#include "launcher/render/icon_image.h"
#include "launcher/widgets/icon_picker.h"

namespace vorbin {

// What both pages and the sheet share while it runs.
struct GroupSheetState {
  const GroupSheetContext& context;
  const Group& group;             // as it was when the sheet opened
  bool registrationLast = false;  // the registration page was the last one shown
  bool accepted = false;          // OK was pressed
  std::wstring okLabel;           // the sheet's own OK text
  void setOkButton(HWND sheet, const std::wstring& label, bool enabled) const;
};

class CSetGroupPage : public fw::CMappedDialog<CSetGroupPage, fw::CPropertyPage> {
 public:
  explicit CSetGroupPage(GroupSheetState& state);
  static std::span<const fw::CommandEntry<CSetGroupPage>> commandMap();

  const std::wstring& title() const { return m_title; }
  int startUp() const { return startUpValue(m_checks); }
  int buttonMode() const { return m_buttonMode; }
  HICON shownIcon() const { return m_icon.get(); }
  bool standardPicture() const { return m_standard; }
  bool pictureChanged() const { return m_pictureChanged; }
  // The picked picture as a 32 x 32 image (empty with the standard picture).
  IconImage pictureImage() const;

 protected:
  bool onInitDialog() override;
  void doDataExchange(fw::DataExchange& dx) override;
  bool onSetActive() override;
  bool onApply() override;

 private:
  void showChecks();
  void showIcon();
  void updateOk();
  void startClicked(int id, StartUpBox box);
  void onStartClick();
  void onMinimizedClick();
  void onHiddenClick();
  void onTitleEdited();
  void onChangeIcon();
  void onStandardPicture();

  GroupSheetState& m_state;
  std::wstring m_title;
  StartUpChecks m_checks;
  int m_buttonMode = 0;
  fw::IconHandle m_icon;  // the group's own or the picked picture; none: standard
  bool m_standard = true;
  bool m_pictureChanged = false;
  std::unique_ptr<IconPicker> m_picker;  // made on first use
};

class CRegGroupPage : public fw::CMappedDialog<CRegGroupPage, fw::CPropertyPage> {
 public:
  // groupPage: the first page, or null when the sheet shows this page only.
  CRegGroupPage(GroupSheetState& state, const CSetGroupPage* groupPage, const RegisterFolder* given);
  static std::span<const fw::CommandEntry<CRegGroupPage>> commandMap();

  // What OK registers.
  RegisterFolder folder() const;
  const std::wstring& pattern() const { return m_pattern; }
  bool newGroup() const { return m_newGroup == BST_CHECKED; }
  const RegisterOptions& options() const { return m_options; }

 protected:
  bool onInitDialog() override;
  bool onSetActive() override;
  bool onKillActive() override;
  bool onApply() override;

 private:
  void showOptions();
  void updateOk();
  void onOptionClick();
  void onNewGroupClick();
  void onFolderEdited();
  void onPatternClosed();
  void onBrowse();

  GroupSheetState& m_state;
  const CSetGroupPage* m_groupPage;
  std::wstring m_folder;  // typed or browsed path, or the display name of m_idList
  IdListBytes m_idList;   // a shell folder without a path
  int m_kind = 0;         // 0 typed, 1 given as a path, 2 given as an ID list
  std::wstring m_pattern = L"*.*";
  RegisterOptions m_options;
  UINT m_newGroup = BST_UNCHECKED;
  fw::IconHandle m_standardIcon;
};

}  // namespace vorbin
