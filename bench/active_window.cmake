# One look at the program in front, on an X11 display.
add_executable(bench_active_window ${CMAKE_CURRENT_LIST_DIR}/bench_active_window.cpp)
target_link_libraries(bench_active_window PRIVATE kestrova_core PkgConfig::XCB)
kestrova_warnings(bench_active_window)
