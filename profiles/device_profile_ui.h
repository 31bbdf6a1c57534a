#pragma once
// CDeviceProfileUI: the profile list of a device page and its commands.

#include "devices/feature_panel.h"

class CDeviceProfileUI : public CFeaturePanel {
public:
    explicit CDeviceProfileUI(QWidget* parent = nullptr);
};
