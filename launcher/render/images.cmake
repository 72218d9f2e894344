# Icon images and the pair codec: the pure codec and image rules in vbcore,
# the conversion to and from icons in vblauncher, the launcher's own icons in vorbin2k.
vb_core_sources(vbcore
  ${CMAKE_CURRENT_LIST_DIR}/pair_codec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/icon_image.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE ${CMAKE_CURRENT_LIST_DIR}/icon_convert.cpp)
  target_sources(vorbin2k PRIVATE ${CMAKE_CURRENT_LIST_DIR}/images.rc)
endif()
