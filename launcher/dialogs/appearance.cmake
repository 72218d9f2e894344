# The appearance page and skins.
vb_core_sources(vbcore ${CMAKE_CURRENT_LIST_DIR}/skin_rules.cpp)
# The skin names follow the backup tool's folder-name rules.
target_link_libraries(vbcore PUBLIC backupcore)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE ${CMAKE_CURRENT_LIST_DIR}/skin_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/appearance_page.cpp)
endif()
