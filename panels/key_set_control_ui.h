#pragma once
// CKeySetControlUI: the key-setting panel: what a device key does.

#include "devices/feature_panel.h"

class CKeySetControlUI : public CFeaturePanel {
public:
    explicit CKeySetControlUI(QWidget* parent = nullptr);
};
