#include "ui/controls/register_controls.h"

#include "devices/velmora_mouse_device.h"
#include "panels/key_set_control_ui.h"
#include "panels/light_control_ui.h"
#include "panels/macro_control_ui.h"
#include "panels/shoot_control_ui.h"
#include "profiles/device_profile_ui.h"
#include "ui/control_factory.h"
#include "ui/controls/chart_view.h"
#include "ui/controls/combo_edit_element.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/image_buttons.h"
#include "ui/controls/meters.h"
#include "ui/controls/select_panel.h"
#include "ui/controls/wnd_ui.h"

void RegisterCustomControls()
{
    CControlFactory& factory = CControlFactory::GetInstance();
    factory.RegistControl(QStringLiteral("CCircleProgressUI"), CreateControlOf<CCircleProgressUI>);
    factory.RegistControl(QStringLiteral("CChartViewUI"), CreateControlOf<CChartViewUI>);
    factory.RegistControl(QStringLiteral("CWndUI"), CreateControlOf<CWndUI>);
    factory.RegistControl(QStringLiteral("CSelectPanelUI"), CreateControlOf<CSelectPanelUI>);
    factory.RegistControl(QStringLiteral("CDeviceKeyButtonUI"), CreateControlOf<CDeviceKeyButtonUI>);
    factory.RegistControl(QStringLiteral("CComboEditContainerElementUI"),
                          CreateControlOf<CComboEditContainerElementUI>);
    factory.RegistControl(QStringLiteral("CHandImgButtonUI"), CreateControlOf<CHandImgButtonUI>);
    factory.RegistControl(QStringLiteral("CHandImgSelectButtonUI"), CreateControlOf<CHandImgSelectButtonUI>);
    factory.RegistControl(QStringLiteral("CRedioMacroButtonUI"), CreateControlOf<CRedioMacroButtonUI>);
    factory.RegistControl(QStringLiteral("CAudioRecordUI"), CreateControlOf<CAudioRecordUI>);
    factory.RegistControl(QStringLiteral("CLightControlUI"), CreateControlOf<CLightControlUI>);
    factory.RegistControl(QStringLiteral("CMacroControlUI"), CreateControlOf<CMacroControlUI>);
    factory.RegistControl(QStringLiteral("CKeySetControlUI"), CreateControlOf<CKeySetControlUI>);
    factory.RegistControl(QStringLiteral("CDeviceProfileUI"), CreateControlOf<CDeviceProfileUI>);
    factory.RegistControl(QStringLiteral("CShootControlUI"), CreateControlOf<CShootControlUI>);
    factory.RegistControl(QStringLiteral("CVelmoraMouseDevice"), CreateControlOf<CVelmoraMouseDevice>);
}
