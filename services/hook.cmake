# The capture messages without widgets join the core library, the grab the UI library.
target_sources(kestrova_core PRIVATE hook_message.cpp)
target_sources(kestrova_ui PRIVATE device_hook.cpp)
