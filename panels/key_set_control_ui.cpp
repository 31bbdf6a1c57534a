#include "panels/key_set_control_ui.h"

CKeySetControlUI::CKeySetControlUI(QWidget* parent) : CFeaturePanel(parent) {}
