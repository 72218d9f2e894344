# Painting of the bar: colour slots and shades, the layout, label fitting,
# blending, image strips, pictures, and the launcher's own bitmaps.
vb_core_sources(vbcore
  ${CMAKE_CURRENT_LIST_DIR}/colour_slots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bar_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/label_fit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/strip_palette.cpp)
