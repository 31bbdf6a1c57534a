# The small modal windows: message box and about window.
target_sources(kestrova_app PRIVATE about_wnd.cpp dialog_wnd.cpp msg_wnd.cpp)
