# The small modal windows: message box, about and settings windows.
target_sources(kestrova_app PRIVATE about_wnd.cpp dialog_wnd.cpp msg_wnd.cpp set_wnd.cpp)
