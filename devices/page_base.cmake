# The device page's logic without widgets joins the core library.
target_sources(kestrova_core PRIVATE
  page/light_tables.cpp page/light_preview.cpp page/reactive_keys.cpp
  page/notification_listener.cpp page/page_worker.cpp page/lighting_sync.cpp page/receiver_link.cpp)
# The device page base: a container control, so it joins the UI library.
target_sources(kestrova_ui PRIVATE velmora_usb_device.cpp velmora_mouse_device.cpp velmora_mouse_keys.cpp velmora_mouse_settings.cpp
  feature_panel.cpp)
