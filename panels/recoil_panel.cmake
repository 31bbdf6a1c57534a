# The panel's widget joins the UI library.
target_sources(kestrova_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/shoot_control_ui.cpp)
