target_sources(kestrova_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/key_assignment.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_functions.cpp)
