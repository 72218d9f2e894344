# Painting of the bar: colour slots and shades, the layout, label fitting,
# blending, image strips, pictures, and the launcher's own bitmaps.
vb_core_sources(vbcore
  ${CMAKE_CURRENT_LIST_DIR}/colour_slots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bar_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/label_fit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/blend.cpp
  ${CMAKE_CURRENT_LIST_DIR}/strip_palette.cpp)
vb_core_sources(vbcore ${CMAKE_CURRENT_LIST_DIR}/image_pixels.cpp)
vb_core_sources(vbcore ${CMAKE_CURRENT_LIST_DIR}/dpi_scale.cpp)
vb_core_headers(${CMAKE_CURRENT_LIST_DIR}/bitmap_ids.h)

if(VB_WINDOWS)
  # The painting glue is its own library so that its tests need no other glue.
  add_library(vbpainting STATIC
    ${CMAKE_CURRENT_LIST_DIR}/dc_pixels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/paint_primitives.cpp
    ${CMAKE_CURRENT_LIST_DIR}/draw_image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/slot_pictures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_strip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/blit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bar_fonts.cpp)
  target_link_libraries(vbpainting PUBLIC vbcore vbframework gdi32 user32 ole32 vb_delay_oleaut32 uuid)
  target_compile_definitions(vbpainting PUBLIC UNICODE _UNICODE)
  target_link_libraries(vblauncher PUBLIC vbpainting)
  # The bitmaps are named relative to the script; tests link the script too.
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/bitmaps.rc PROPERTIES
    INCLUDE_DIRECTORIES ${CMAKE_CURRENT_LIST_DIR}
    OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/bitmap_ids.h")
  target_sources(vorbin2k PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bitmaps.rc)
endif()
vb_core_sources(vbcore ${CMAKE_CURRENT_LIST_DIR}/command_labels.cpp)
if(VB_WINDOWS)
  target_sources(vbpainting PRIVATE ${CMAKE_CURRENT_LIST_DIR}/bar_painter.cpp)
endif()
vb_core_sources(vbcore ${CMAKE_CURRENT_LIST_DIR}/clock_text.cpp)
