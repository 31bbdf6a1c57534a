target_sources(kestrova_ui PRIVATE
  controls/chart_view.cpp
  controls/combo_edit_element.cpp
  controls/device_key_button.cpp
  controls/image_buttons.cpp
  controls/meters.cpp
  controls/register_controls.cpp
  controls/select_panel.cpp
  controls/wnd_ui.cpp)
