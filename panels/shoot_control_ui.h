#pragma once
// CShootControlUI: the recoil panel: four patterns of 30 bullets each.

#include "devices/feature_panel.h"

class CShootControlUI : public CFeaturePanel {
public:
    explicit CShootControlUI(QWidget* parent = nullptr);
};
