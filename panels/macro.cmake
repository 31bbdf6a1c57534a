# Macros and recoil patterns: files, recorder, device images. No widgets.
target_sources(kestrova_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/macro_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_device.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_event.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_key_tables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_library.cpp
  ${CMAKE_CURRENT_LIST_DIR}/macro_recorder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recoil_patterns.cpp)
