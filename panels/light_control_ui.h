#pragma once
// CLightControlUI: the lighting panel: effect, brightness, speed, direction and colours.

#include "devices/feature_panel.h"

class CLightControlUI : public CFeaturePanel {
public:
    explicit CLightControlUI(QWidget* parent = nullptr);
};
