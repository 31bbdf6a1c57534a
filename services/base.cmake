target_sources(kestrova_core PRIVATE diag_log.cpp)
