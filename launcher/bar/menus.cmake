# The bar's context menus, the function keys' menus and the hot-key capture.
vb_core_sources(vbcore menu_rules.cpp)
if(VB_WINDOWS)
  target_sources(vblauncher PRIVATE bar_menus.cpp shell_menu.cpp hot_key_capture.cpp)
endif()
