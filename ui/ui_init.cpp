#include "ui/ui_init.h"

#include "ui/color_palette.h"
#include "ui/control_factory.h"
#include "ui/controls/register_controls.h"
#include "ui/resource_manager.h"

bool PrepareToolkit(const QString& skinFolder)
{
    CResourceManager& resources = CResourceManager::GetInstance();
    resources.SetResourcePath(skinFolder);
    CControlFactory::GetInstance().RegistControl(QStringLiteral("CColorPaletteUI"),
                                                 CreateControlOf<CColorPaletteUI>);
    RegisterCustomControls();
    return resources.LoadResource();
}
