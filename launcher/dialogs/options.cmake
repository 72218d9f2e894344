# The options sheet with its behaviour and timing pages.
vb_core_sources(vbcore options_rules.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE options_sheet.cpp behavior_page.cpp timing_page.cpp)
endif()
