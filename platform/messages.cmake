target_sources(kestrova_core PRIVATE window_messages.cpp)
target_sources(kestrova_ui PRIVATE message_socket.cpp)
