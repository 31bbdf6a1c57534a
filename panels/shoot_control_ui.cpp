#include "panels/shoot_control_ui.h"

CShootControlUI::CShootControlUI(QWidget* parent) : CFeaturePanel(parent) {}
