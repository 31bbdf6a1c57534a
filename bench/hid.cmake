# A 64-byte request/reply through CHidDevice on the virtual HID bus against a bare Unix-socket round trip.
add_executable(bench_hid_roundtrip ${CMAKE_CURRENT_LIST_DIR}/bench_hid_roundtrip.cpp)
target_link_libraries(bench_hid_roundtrip PRIVATE kestrova_core)
kestrova_warnings(bench_hid_roundtrip)
