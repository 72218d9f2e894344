# The group sheet, folder registration and the modal-loop deferral of the bar.
vb_core_sources(vbcore
  group_sheet_rules.cpp
  ${VB_SOURCE_ROOT}/launcher/bar/modal_busy.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE group_sheet.cpp)
endif()
