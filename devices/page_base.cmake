# The device page base: a container control, so it joins the UI library.
target_sources(kestrova_ui PRIVATE velmora_usb_device.cpp)
