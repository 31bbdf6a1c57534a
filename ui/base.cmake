target_sources(kestrova_ui PRIVATE dpi.cpp)
