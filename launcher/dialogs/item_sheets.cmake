# The item property sheet, the new-item wizard and the shortcut files.
vb_core_sources(vbcore ${CMAKE_CURRENT_LIST_DIR}/item_sheet_rules.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/item_sheet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/new_item_wizard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../services/shortcut_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../bar/bar_item_sheets.cpp)
endif()
