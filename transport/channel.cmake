# Supported devices, discovery and the command channel.
target_sources(kestrova_core PRIVATE device_table.cpp device_discovery.cpp command_channel.cpp)
