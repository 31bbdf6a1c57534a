# The HID report-descriptor parser with report unpacking, and the virtual HID bus frame reader.
kestrova_add_fuzzer(hid_descriptor_fuzz
  ${CMAKE_SOURCE_DIR}/fuzz/hid_descriptor_fuzz.cpp
  ${CMAKE_SOURCE_DIR}/transport/hid_capabilities.cpp
  ${CMAKE_SOURCE_DIR}/transport/hid_report_descriptor.cpp
  ${CMAKE_SOURCE_DIR}/platform/trace.cpp)
kestrova_add_fuzzer(hid_bus_frame_fuzz
  ${CMAKE_SOURCE_DIR}/fuzz/hid_bus_frame_fuzz.cpp
  ${CMAKE_SOURCE_DIR}/transport/vhid_bus.cpp
  ${CMAKE_SOURCE_DIR}/platform/folder_safety.cpp)
