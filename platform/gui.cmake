# Stand-ins that need the GUI library.
target_sources(kestrova_ui PRIVATE private_fonts.cpp)
