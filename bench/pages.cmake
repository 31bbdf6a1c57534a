# The UI thread's longest stall while a device page reads and loses its device.
add_executable(bench_page_stall ${CMAKE_CURRENT_LIST_DIR}/bench_page_stall.cpp)
target_link_libraries(bench_page_stall PRIVATE kestrova_app kestrova_devsim_lib)
kestrova_warnings(bench_page_stall)
add_dependencies(bench_page_stall kestrova_resources)
