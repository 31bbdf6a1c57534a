#pragma once
// CMacroControlUI: the macro editor: the macro list, its events and recording.

#include "devices/feature_panel.h"

class CMacroControlUI : public CFeaturePanel {
public:
    explicit CMacroControlUI(QWidget* parent = nullptr);
};
