target_sources(kestrova_core PRIVATE hook_message.cpp)
