// The new-item wizard: page 1 takes the target (typed or browsed), page 2 the
// title, the kind and its options. The caller makes the button from the result.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/property_sheet.h"
#include "launcher/dialogs/item_sheet.h"

namespace vorbin {

struct NewItemChoice {
  std::wstring target;          // a command line, a folder or a URL
  std::vector<uint8_t> idList;  // with kItemIdList
  std::wstring title;
  uint32_t flags = 0;
  std::wstring pattern;  // prompting items only
};

class CNewPageTarget;
class CNewPageName;

class CNewPropertySheet : public fw::CPropertySheet {
 public:
  explicit CNewPropertySheet(const ItemSheetContext& context);
  ~CNewPropertySheet() override;

  // Runs modally; the choice when the wizard was finished.
  std::optional<NewItemChoice> run(HWND owner);

 private:
  NewItemChoice m_choice;
  std::unique_ptr<CNewPageTarget> m_target;
  std::unique_ptr<CNewPageName> m_name;
  bool m_finished = false;

  friend class CNewPageTarget;
  friend class CNewPageName;
};

}  // namespace vorbin
