# The active window comes from the X server through xcb.
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET GLOBAL xcb)
target_sources(kestrova_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/active_window.cpp)
target_link_libraries(kestrova_core PRIVATE PkgConfig::XCB)
