// The two pages of the item property sheet (used by item_sheet.cpp only).
#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "framework/handle.h"
#include "framework/property_sheet.h"
#include "launcher/dialogs/item_sheet.h"
#include "launcher/dialogs/item_sheet_rules.h"
#include "launcher/render/icon_image.h"
#include "launcher/resources/ids_item_sheets.h"
#include "launcher/widgets/folder_combo.h"
#include "launcher/widgets/icon_picker.h"

namespace vorbin {

class CSetApplComPage : public fw::CMappedDialog<CSetApplComPage, fw::CPropertyPage> {
 public:
  CSetApplComPage(Item& item, unsigned options, const ItemSheetContext& context);
  static std::span<const fw::CommandEntry<CSetApplComPage>> commandMap();

  uint32_t flags() const { return m_flags; }
  void setFlags(uint32_t flags) { m_flags = flags; }
  const std::wstring& title() const { return m_title; }
  const std::wstring& command() const { return m_command; }
  bool idListTarget() const { return m_idListTarget; }
  bool accepted() const { return m_accepted; }
  // Writes what the pages hold into the item (after OK).
  void commit(const std::wstring& pattern);

 protected:
  bool onInitDialog() override;
  void doDataExchange(fw::DataExchange& dx) override;
  bool onSetActive() override;
  bool onKillActive() override;
  bool onApply() override;

 private:
  // Mode 1 (opening): a missing target shows as such. Mode -1 (leaving): a
  // missing target is reported and keeps the page. Rewrites the command with
  // the resolved program.
  bool verifyTarget(int mode);
  void updateRunAs(bool fromItem);
  void updateButtons();
  void showIcon();
  void rebuildShownIcon(const std::wstring& iconFile, int iconIndex);
  PictureSource pictureSource() const;

  void onTargetEdited();
  void onBrowse();
  void onChangeIcon();
  void onTargetProperties();

  Item& m_item;
  ItemSheetContext m_context;
  bool m_noImage = false;
  std::wstring m_command, m_title, m_typeName, m_kindText, m_comment, m_folder;
  int m_showIndex = 0;
  bool m_runAs = false, m_separate = false, m_separateEnabled = false;
  uint16_t m_hotKey = 0;
  uint32_t m_flags = 0;
  std::vector<uint8_t> m_idList;
  bool m_idListTarget = false;
  bool m_targetExists = false;
  bool m_accepted = false;
  PictureSource m_before;
  fw::IconHandle m_icon;        // the item's picture as shown
  fw::IconHandle m_pickedIcon;  // the user's choice or the browsed target's, as shown
  IconImage m_pickedImage;
  IconPicker m_iconPicker;
  FolderPathCombo m_folderCombo;  // the working folder (box 2051)
};

class CSetApplOptPage : public fw::CMappedDialog<CSetApplOptPage, fw::CPropertyPage> {
 public:
  CSetApplOptPage(Item& item, CSetApplComPage& common, const ItemSheetContext& context);
  static std::span<const fw::CommandEntry<CSetApplOptPage>> commandMap();

  // The pattern kept for a prompting item.
  std::wstring pattern() const { return m_pattern; }

 protected:
  bool onInitDialog() override;
  bool onSetActive() override;
  bool onKillActive() override;

 private:
  void showOptions();
  void onKind();
  void onOption(OptionBox box, int id);
  void onExplorer() { onOption(OptionBox::kExplorer, IDC_OPTION_EXPLORER); }
  void onRooted() { onOption(OptionBox::kRooted, IDC_OPTION_ROOTED); }
  void onFind() { onOption(OptionBox::kFind, IDC_OPTION_FIND); }

  CSetApplComPage& m_common;
  ItemSheetContext m_context;
  KindOptions m_options;
  std::wstring m_pattern;
};

}  // namespace vorbin
