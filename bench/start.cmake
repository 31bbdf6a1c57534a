# Start-up time and resident memory of the program against a bare Qt window.
add_executable(bare_qt_window ${CMAKE_CURRENT_LIST_DIR}/bare_qt_window.cpp)
target_link_libraries(bare_qt_window PRIVATE Qt6::Widgets)
kestrova_warnings(bare_qt_window)

add_executable(bench_start ${CMAKE_CURRENT_LIST_DIR}/bench_start.cpp)
target_link_libraries(bench_start PRIVATE kestrova_devsim_lib kestrova_core PkgConfig::XCB)
kestrova_warnings(bench_start)
add_dependencies(bench_start bare_qt_window kestrova)
