# Stand-ins that need the GUI library.
target_sources(kestrova_ui PRIVATE private_fonts.cpp session_bus.cpp)
target_link_libraries(kestrova_ui PRIVATE Qt6::DBus)
