#include "panels/macro_control_ui.h"

CMacroControlUI::CMacroControlUI(QWidget* parent) : CFeaturePanel(parent) {}
