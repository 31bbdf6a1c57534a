#include "profiles/device_profile_ui.h"

CDeviceProfileUI::CDeviceProfileUI(QWidget* parent) : CFeaturePanel(parent) {}
