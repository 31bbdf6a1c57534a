# The profile readers on any file content.
kestrova_add_fuzzer(profile_readers_fuzz
  ${CMAKE_SOURCE_DIR}/fuzz/profile_readers.cpp
  ${CMAKE_SOURCE_DIR}/profiles/atomic_file.cpp
  ${CMAKE_SOURCE_DIR}/profiles/basic_profiledata.cpp
  ${CMAKE_SOURCE_DIR}/profiles/damaged_file.cpp
  ${CMAKE_SOURCE_DIR}/profiles/default_light.cpp
  ${CMAKE_SOURCE_DIR}/profiles/hs6533_profiledata.cpp
  ${CMAKE_SOURCE_DIR}/profiles/json_access.cpp
  ${CMAKE_SOURCE_DIR}/profiles/json_file.cpp
  ${CMAKE_SOURCE_DIR}/profiles/keyboard_profiledata.cpp
  ${CMAKE_SOURCE_DIR}/profiles/mouse_profiledata.cpp
  ${CMAKE_SOURCE_DIR}/profiles/profile_paths.cpp
  ${CMAKE_SOURCE_DIR}/platform/folders.cpp
  ${CMAKE_SOURCE_DIR}/platform/trace.cpp)
target_link_libraries(profile_readers_fuzz PRIVATE Qt6::Core JsonCpp::JsonCpp)
# Profile paths lead to the data folders, which the program finds beside itself.
target_compile_definitions(profile_readers_fuzz PRIVATE KESTROVA_DATA_FROM_BIN="${KESTROVA_DATA_FROM_BIN}")
