# Repainting a keyboard's worth of lit key buttons.
add_executable(bench_key_panel ${CMAKE_CURRENT_LIST_DIR}/bench_key_panel.cpp)
target_link_libraries(bench_key_panel PRIVATE kestrova_ui)
kestrova_warnings(bench_key_panel)
add_dependencies(bench_key_panel kestrova_resources)
