# Macro files and device images on any content.
kestrova_add_fuzzer(macro_files_fuzz
  ${CMAKE_SOURCE_DIR}/fuzz/macro_files_fuzz.cpp
  ${CMAKE_SOURCE_DIR}/panels/macro_event.cpp
  ${CMAKE_SOURCE_DIR}/panels/macro_image.cpp
  ${CMAKE_SOURCE_DIR}/panels/macro_key_tables.cpp
  ${CMAKE_SOURCE_DIR}/panels/macro_library.cpp
  ${CMAKE_SOURCE_DIR}/panels/macro_recorder.cpp
  ${CMAKE_SOURCE_DIR}/services/hook_message.cpp
  ${CMAKE_SOURCE_DIR}/profiles/atomic_file.cpp
  ${CMAKE_SOURCE_DIR}/profiles/json_file.cpp
  ${CMAKE_SOURCE_DIR}/platform/trace.cpp)
target_link_libraries(macro_files_fuzz PRIVATE Qt6::Core JsonCpp::JsonCpp)
