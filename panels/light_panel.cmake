# The lighting panel: its rules join the core library, its widget the UI library.
target_sources(kestrova_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/light_panel_rules.cpp)
target_sources(kestrova_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/light_control_ui.cpp)
