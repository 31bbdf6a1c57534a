# The application shell: a library the tests link, and the program itself.
add_library(kestrova_app STATIC
  device_list.cpp
  device_list_model.cpp
  device_option_ui.cpp
  exchange_rules.cpp
  file_dialogs.cpp
  frame_rules.cpp
  lighting_sync_thread.cpp
  main_discovery_sink.cpp
  main_wnd.cpp
  main_wnd_capture.cpp
  main_wnd_files.cpp
  main_wnd_messages.cpp
  main_wnd_routes.cpp
  main_wnd_tray.cpp
  notify_routes.cpp
  program.cpp
  program_icon.cpp
  registered_messages.cpp)
target_link_libraries(kestrova_app PUBLIC kestrova_ui)
kestrova_warnings(kestrova_app)

add_executable(kestrova main.cpp)
target_link_libraries(kestrova PRIVATE kestrova_app)
kestrova_warnings(kestrova)
add_dependencies(kestrova kestrova_resources)
