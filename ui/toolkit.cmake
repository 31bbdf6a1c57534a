target_sources(kestrova_ui PRIVATE
  app_style.cpp
  color_palette.cpp
  control.cpp
  control_factory.cpp
  dialog_builder.cpp
  font_table.cpp
  image_string.cpp
  menu_wnd.cpp
  notify.cpp
  render_engine.cpp
  resource_manager.cpp
  tray_icon.cpp
  widget_text.cpp
  ui_init.cpp
  window_impl_base.cpp)
