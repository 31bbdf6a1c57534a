# Device access and the udev rule file made from the supported-device table.
target_sources(kestrova_core PRIVATE device_access.cpp)
set_property(SOURCE device_access.cpp TARGET_DIRECTORY kestrova_core APPEND PROPERTY COMPILE_DEFINITIONS
  KESTROVA_RULES_FROM_BIN="${KESTROVA_RULES_FROM_BIN}")
