# Which operation tabs a device kind shows: widget-free, in the core library.
target_sources(kestrova_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/operation_tabs.cpp)
