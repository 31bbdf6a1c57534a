target_sources(kestrova_core PRIVATE vhid_bus.cpp)
