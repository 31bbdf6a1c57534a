target_sources(kestrova_core PRIVATE trace.cpp)
