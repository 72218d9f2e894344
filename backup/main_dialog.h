// The main dialog: the list of backups with Save, Restore and Delete, and the
// name dialog that Save asks with.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "backup/operations.h"
#include "backup/resource_ids.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/handle.h"

namespace backup {

// Asks for the name to save under; OK only while the name is not empty.
class CNameDialog : public fw::CMappedDialog<CNameDialog> {
 public:
  explicit CNameDialog(std::vector<std::wstring> choices);
  const std::wstring& name() const { return m_name; }

  static std::span<const fw::CommandEntry<CNameDialog>> commandMap();

 protected:
  bool onInitDialog() override;
  void doDataExchange(fw::DataExchange& dx) override;

 private:
  void onEditUpdate();
  void onSelectionChange();

  std::vector<std::wstring> m_choices;
  std::wstring m_name;
};

class CBackupDialog : public fw::CMappedDialog<CBackupDialog> {
 public:
  explicit CBackupDialog(ToolContext context);

  static std::span<const fw::MessageEntry<CBackupDialog>> messageMap();
  static std::span<const fw::CommandEntry<CBackupDialog>> commandMap();
  static std::span<const fw::NotifyEntry<CBackupDialog>> notifyMap();

 protected:
  bool onInitDialog() override;

 private:
  LRESULT onSysCommand(WPARAM wParam, LPARAM lParam);
  void onSave();
  void onRestore();
  void onDelete();
  LRESULT onItemChanged(NMHDR* header);

  void setUpList();
  void fillList();
  void updateButtons();
  std::vector<std::wstring> listNames() const;
  std::wstring rowName(int index) const;
  int selectedRow() const;  // -1 = none
  HWND list() const { return item(IDC_BACKUP_LIST); }

  ToolContext m_context;
  fw::Font m_listFont;
  fw::IconHandle m_bigIcon;
  fw::IconHandle m_smallIcon;
};

}  // namespace backup
