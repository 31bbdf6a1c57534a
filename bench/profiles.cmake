# Load and save of a full keyboard profile against bare JsonCpp.
add_executable(bench_profiles ${CMAKE_CURRENT_LIST_DIR}/bench_profiles.cpp)
target_link_libraries(bench_profiles PRIVATE kestrova_core)
kestrova_warnings(bench_profiles)
