target_sources(kestrova_core PRIVATE
  hid_capabilities.cpp
  hid_device.cpp
  hid_hidraw_backend.cpp
  hid_report_descriptor.cpp
  hid_share_table.cpp
  hid_vhid_backend.cpp
  hid_wait.cpp)
