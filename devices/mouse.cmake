target_sources(kestrova_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/mouse/mouse_device_core.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mouse/mouse_dpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mouse/mouse_key_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mouse/mouse_lighting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mouse/mouse_page_rules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mouse/mouse_settings_block.cpp)
