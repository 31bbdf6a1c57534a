# Memory the message socket holds for senders that never finish a frame.
add_executable(bench_message_socket ${CMAKE_CURRENT_LIST_DIR}/bench_message_socket.cpp)
target_link_libraries(bench_message_socket PRIVATE kestrova_ui)
kestrova_warnings(bench_message_socket)
