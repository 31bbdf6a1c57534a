# Stand-ins for operating-system services that need no GUI.
target_sources(kestrova_core PRIVATE
  folders.cpp instance_lock.cpp settings_file.cpp stop_event.cpp termination_signals.cpp
  worker_slots.cpp)
set_property(SOURCE folders.cpp TARGET_DIRECTORY kestrova_core APPEND PROPERTY COMPILE_DEFINITIONS
  KESTROVA_DATA_FROM_BIN="${KESTROVA_DATA_FROM_BIN}")
