# The folder combo and the launcher's own file browser.
vb_core_sources(vbcore browser_rules.cpp ${VB_SOURCE_ROOT}/launcher/widgets/folder_rules.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE folder_file_dialog.cpp file_pick_start.cpp
    ${VB_SOURCE_ROOT}/launcher/widgets/folder_combo.cpp)
endif()
