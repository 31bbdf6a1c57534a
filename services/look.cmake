# Languages and skins: the choices without windows join the core library,
# what touches windows and fonts the UI library.
target_sources(kestrova_core PRIVATE language_catalogue.cpp skin_change.cpp update_items.cpp)
target_sources(kestrova_ui PRIVATE interface_language.cpp skin_frame.cpp)
