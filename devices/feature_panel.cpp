#include "devices/feature_panel.h"

void CFeaturePanel::SetPage(CVelmoraUSBDevice* page)
{
    page_ = page;
}
