# Web-page thumbnails: the scaler, the browser-window rules, the JPEG files,
# the capture, the settings dialogs and the web-link page.
vb_core_sources(vbcore ${VB_SOURCE_ROOT}/launcher/render/thumb_scale.cpp
  ${VB_SOURCE_ROOT}/launcher/services/page_window_rules.cpp thumb_dialog_rules.cpp)
# The JPEG coder is platform-free on libjpeg: the one cross-built for Windows,
# the system's natively (for its tests and fuzz target).
vb_core_library(vbjpeg)
vb_core_sources(vbjpeg ${VB_SOURCE_ROOT}/launcher/render/jpeg_codec.cpp)
if(VB_WINDOWS)
  # libjpeg is linked statically: no DLL beside the program.
  add_library(vb_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(vb_jpeg PROPERTIES IMPORTED_LOCATION ${VB_DEPS_DIR}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${VB_DEPS_DIR}/include)
  target_link_libraries(vbjpeg PUBLIC vb_jpeg)
  target_link_libraries(vblauncher PUBLIC vbjpeg)
  target_sources(vblauncher PRIVATE ${VB_SOURCE_ROOT}/launcher/render/jpeg_file.cpp
    ${VB_SOURCE_ROOT}/launcher/services/thumbnail_capture.cpp thumbnail_dialog.cpp url_page.cpp)
else()
  find_package(JPEG REQUIRED)
  target_link_libraries(vbjpeg PUBLIC JPEG::JPEG)
endif()
