# The program picker, the icon picker and the progress dialog.
vb_core_sources(vbcore ${CMAKE_CURRENT_LIST_DIR}/picker_rules.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE ${CMAKE_CURRENT_LIST_DIR}/program_picker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/icon_picker.cpp ${CMAKE_CURRENT_LIST_DIR}/progress_dialog.cpp)
endif()
