target_sources(kestrova_core PRIVATE folder_safety.cpp)
