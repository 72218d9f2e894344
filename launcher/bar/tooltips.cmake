# The bar's tool tips: their texts and tools, and the tip control.
vb_core_sources(vbcore tip_text.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE bar_tooltips.cpp)
endif()
