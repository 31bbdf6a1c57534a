#include "devices/velmora_usb_device.h"
#include "ui/controls/device_key_button.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class CTestPage : public CVelmoraUSBDevice {
public:
    using CVelmoraUSBDevice::OnNotification;
    void RefreshFromDevice() override { ++refreshes; }
    int refreshes = 0;
};

CDeviceKeyButtonUI* AddButton(QWidget* parent, const char* name)
{
    auto* button = new CDeviceKeyButtonUI(parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QStackedWidget* AddStack(QWidget* parent, const char* name, int tabs)
{
    auto* stack = new QStackedWidget(parent);
    stack->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < tabs; ++i)
        stack->addWidget(new QWidget);
    return stack;
}

void RunEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace

TEST(PageBase, ControlsOutsideASelectPanelAreNotBoundButLedsStillCompute)
{
    CTestPage page;
    page.SetLayoutPath(QStringLiteral("XML\\DeviceXml\\mousedevice.xml"));
    page.SetKeyCount(11);
    page.SetLightCount(15);
    AddButton(&page, "key_3");
    AddButton(&page, "light_0");
    page.BindKeyAndLightControls();
    for (const auto& control : page.KeyControls() + page.LightControls())
        EXPECT_TRUE(control.isNull());
    LightInfoRecord state;
    state.light = 4;
    state.blue = 255;
    page.Preview().SetState(state);
    page.PreviewStatic();
    EXPECT_EQ(page.GetLedColor(14), PackLed({0, 0, 255}, 192));
}

TEST(PageBase, KeysAndLightsBindByTheirNumberWithinTheCounts)
{
    CTestPage page;
    page.SetLayoutPath(QStringLiteral("XML\\DeviceXml\\mousedevice.xml"));
    page.SetKeyCount(11);
    page.SetLightCount(2);
    auto* panel = new QWidget(&page);
    panel->setObjectName(QStringLiteral("SelectPanel"));
    CDeviceKeyButtonUI* key3 = AddButton(panel, "KEY_3");
    AddButton(panel, "key_20");  // beyond the page's 11 keys
    AddButton(panel, "key_x");
    CDeviceKeyButtonUI* light1 = AddButton(panel, "light_1");
    page.BindKeyAndLightControls();
    EXPECT_EQ(page.KeyControls()[3], key3);
    EXPECT_EQ(std::count_if(page.KeyControls().begin(), page.KeyControls().end(),
                            [](const auto& control) { return !control.isNull(); }),
              1);
    EXPECT_EQ(page.LightControls()[1], light1);
    EXPECT_EQ(light1->GetLightLevel(), 255);
    EXPECT_EQ(page.GetLedColor(1), PackLed({255, 255, 255}, 255));

    // An empty layout path clears the lists.
    page.SetLayoutPath(QString());
    page.BindKeyAndLightControls();
    EXPECT_EQ(page.GetKeyCount(), 0);
    EXPECT_EQ(page.GetLightCount(), 0);
}

TEST(PageBase, RenderLightsPaintsOnlyVisibleLightControls)
{
    CTestPage page;
    page.SetLayoutPath(QStringLiteral("layout"));
    page.SetLightCount(2);
    auto* panel = new QWidget(&page);
    panel->setObjectName(QStringLiteral("SelectPanel"));
    new QVBoxLayout(panel);
    CDeviceKeyButtonUI* shown = AddButton(panel, "light_0");
    CDeviceKeyButtonUI* hidden = AddButton(panel, "light_1");
    page.BindKeyAndLightControls();
    page.show();
    hidden->hide();
    page.SetLedColor(0, PackLed({10, 20, 30}, 99));
    page.SetLedColor(1, PackLed({10, 20, 30}, 99));
    page.RenderLights();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown->GetLightColor() & 0xFFFFFF, qRgb(10, 20, 30) & 0xFFFFFF);
    EXPECT_EQ(shown->GetLightLevel(), 99);
    EXPECT_EQ(hidden->GetLightLevel(), 255);
}

TEST(PageBase, FunctionPanelTypeFourDependsOnTheFamily)
{
    struct Case {
        int kind;
        int functionTab, keyFunctionTab;
    };
    const Case cases[] = {{kKindMouseCable, 3, 0}, {kKindMousePad, 0, 2}};
    for (const Case& c : cases) {
        CTestPage page;
        page.SetDeviceKind(c.kind);
        QStackedWidget* function = AddStack(&page, "device_function_switch", 5);
        QStackedWidget* keyFunction = AddStack(&page, "device_key_function_switch", 3);
        page.ShowFunctionPanel(4);
        EXPECT_EQ(function->currentIndex(), c.functionTab) << c.kind;
        EXPECT_EQ(keyFunction->currentIndex(), c.keyFunctionTab) << c.kind;
        EXPECT_EQ(page.GetFunctionPanel(), 4);
    }
    CTestPage bare;  // a page without the containers only keeps the type
    bare.ShowFunctionPanel(9);
    EXPECT_EQ(bare.GetFunctionPanel(), 9);
}

TEST(PageBase, SyncRequestsCloseTogetherCauseOneRefresh)
{
    CTestPage page;
    page.OnNotification(CVelmoraUSBDevice::kSyncRequestCode);
    page.OnNotification(CVelmoraUSBDevice::kSyncRequestCode);
    page.OnNotification(0x1002);  // another code: no refresh
    RunEventsFor(250);
    EXPECT_EQ(page.refreshes, 1);
}

TEST(PageBase, LightOptionsUnpackLittleEndian)
{
    CTestPage page;
    page.SetLightOptions(0x04030201, 0x08070605, 0x0C0B0A09, 0x0E0D);
    const LightInfoRecord& state = page.Preview().State();
    EXPECT_EQ(state.selectItem, 1);
    EXPECT_EQ(state.blue, 8);
    EXPECT_EQ(state.oldLedMode, 14);
}
