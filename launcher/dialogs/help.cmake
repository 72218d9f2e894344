# The help popup, the window details and the tips of the day.
vb_core_sources(vbcore ${CMAKE_CURRENT_LIST_DIR}/help_rules.cpp ${CMAKE_CURRENT_LIST_DIR}/tips_rules.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE ${CMAKE_CURRENT_LIST_DIR}/help_popup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tips_dialog.cpp)
  # The tips files sit beside the program; a changed file is copied again.
  foreach(_vb_tips tips-e.dat tips-j.dat)
    configure_file(${VB_SOURCE_ROOT}/launcher/resources/tips/${_vb_tips} ${CMAKE_BINARY_DIR}/bin/${_vb_tips}
                   COPYONLY)
  endforeach()
endif()
