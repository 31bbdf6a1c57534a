#include "panels/light_control_ui.h"

CLightControlUI::CLightControlUI(QWidget* parent) : CFeaturePanel(parent) {}
