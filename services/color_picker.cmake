# The colour picker: its swatch file joins the core library, its window the UI library.
target_sources(kestrova_core PRIVATE color_swatches.cpp)
target_sources(kestrova_ui PRIVATE color_select_wnd.cpp)
