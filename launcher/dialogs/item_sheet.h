// The item property sheet: the common page (command, title, folder, show
// state, comment, hot key, icon) and the option page (kind, pattern, folder
// options) of one existing button, plus the shell's own pages of its target.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/handle.h"
#include "framework/property_sheet.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"

namespace vorbin {

// What the sheets need from the launcher.
struct ItemSheetContext {
  GroupTable* groups = nullptr;   // registers the item's hot key again; may be null
  Settings* settings = nullptr;   // WildCard, the remembered browse and icon folders; may be null
  HINSTANCE resources = nullptr;  // the language library (null: the application's)
};

class CSetApplComPage;
class CSetApplOptPage;
class CSetUrl;

class CSetApplSheet : public fw::CPropertySheet {
 public:
  // options bit 0: the item has no image of its own to show or compare against.
  CSetApplSheet(Item& item, unsigned options, const ItemSheetContext& context);
  ~CSetApplSheet() override;

  // Runs modally at the pointer. True on OK: the item is updated in memory
  // (its hot key registered again); the caller saves it and repaints it.
  // shellFile: a file whose type's shell pages are added (empty: the target's).
  bool run(HWND owner, const std::wstring& shellFile = {});
  // After OK: the web picture the item named before a new capture replaced
  // it (empty if none); the caller deletes it once no button names it.
  const std::wstring& replacedPicture() const { return m_replacedPicture; }

 protected:
  void onInitialized() override;

 private:
  void addShellPagesFor(const std::wstring& file);

  Item& m_item;
  ItemSheetContext m_context;
  std::unique_ptr<CSetApplComPage> m_common;
  std::unique_ptr<CSetApplOptPage> m_options;
  std::unique_ptr<CSetUrl> m_url;  // web items: the page's thumbnail
  std::wstring m_shellFile;
  std::wstring m_replacedPicture;
};

// Opens the shell's property sheet of an item's target: the ID list, or the
// resolved command (the folder for prompting items). A target that does not
// exist is reported. False when nothing was opened.
bool showTargetProperties(const std::wstring& command, const std::wstring& folder, uint32_t flags,
                          const std::vector<uint8_t>& idList, HWND owner);

}  // namespace vorbin
