# Dropping onto the bar and dragging buttons out of it.
vb_core_sources(vbcore drop_formats.cpp drop_moves.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE drop_target.cpp drop_handler.cpp drop_legacy.cpp drag_source.cpp)
endif()
