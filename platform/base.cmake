target_sources(kestrova_core PRIVATE start_task.cpp trace.cpp)
