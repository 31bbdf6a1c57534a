target_sources(kestrova_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/basic_profiledata.cpp
  ${CMAKE_CURRENT_LIST_DIR}/damaged_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/default_light.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hs6533_profiledata.cpp
  ${CMAKE_CURRENT_LIST_DIR}/json_access.cpp
  ${CMAKE_CURRENT_LIST_DIR}/json_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyboard_profiledata.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mouse_profiledata.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_bindings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_paths.cpp)
