// The device list against the simulator: arrivals and departures reach the
// main window from its discovery thread, as they do in the program.

#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "devices/velmora_mouse_device.h"
#include "platform/folders.h"
#include "platform/product.h"
#include "services/diag_log.h"
#include "tools/devsim/simulator.h"
#include "ui/ui_init.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using devsim::Device;
using devsim::Port;

// Runs the event loop until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int ms = 6000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class DeviceListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_DATA_HOME", home.path().toUtf8().constData(), 1);
        const QString bus = home.filePath("bus");
        setenv("KESTROVA_VHID_DIR", bus.toUtf8().constData(), 1);
        QDir(home.path()).mkdir(kLogFolderName);
        QDir(home.path()).mkdir("bus");
        sim = std::make_unique<devsim::CDeviceSimulator>(bus.toStdString());
        ASSERT_TRUE(sim->Start());
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(RegisterInstanceMessage());
        ASSERT_TRUE(window.Create(nullptr, kProductTitle));
    }
    void TearDown() override
    {
        window.Close(IDCANCEL);
        sim->Stop();
    }

    CDeviceList& List() { return window.DeviceList(); }
    CVelmoraUSBDevice* MousePage() { return window.Pages().mice.value(0); }
    CDeviceOptionUI* EntryOf(CVelmoraUSBDevice* page) { return List().EntryOf(page); }
    bool Shows(CVelmoraUSBDevice* page)
    {
        const CDeviceOptionUI* entry = EntryOf(page);
        return entry && entry->IsEntryVisible();
    }
    bool IsCurrent(CVelmoraUSBDevice* page) { return page && window.CurrentPage() == page; }
    bool Loaded(CVelmoraUSBDevice* page, int times = 1) { return page && page->LoadCount() >= times; }
    void Click(const char* name)
    {
        auto* button = window.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    QTemporaryDir home;
    std::unique_ptr<devsim::CDeviceSimulator> sim;
    CMainWnd window;
};

}  // namespace

TEST_F(DeviceListTest, AMouseOnItsCableAppearsSelectedAndIsRead)
{
    ASSERT_TRUE(sim->Plug(Port::MouseCable));
    ASSERT_TRUE(WaitFor([&] { return Loaded(MousePage()) && MousePage()->IsNotificationOpen(kKindMouseCable); }));
    CVelmoraUSBDevice* page = MousePage();
    EXPECT_NE(qobject_cast<CVelmoraMouseDevice*>(page), nullptr);
    EXPECT_TRUE(Shows(page));
    EXPECT_TRUE(IsCurrent(page));
    EXPECT_FALSE(window.IsNoDeviceShown());
    EXPECT_EQ(page->IsReceiver(), 0);
    EXPECT_EQ(page->InfoBlock()[0], 0xAA);  // the information block's magic
    // The battery: on its cable the mouse charges.
    ASSERT_TRUE(WaitFor([&] { return EntryOf(page)->Power()->LevelText() == "80%"; }));
    EXPECT_EQ(page->GetPowerStatus().power, kPowerCharging);

    sim->Unplug(Port::MouseCable);
    ASSERT_TRUE(WaitFor([&] { return !Shows(page); }));
    EXPECT_EQ(window.CurrentPage(), nullptr);
    EXPECT_TRUE(window.IsNoDeviceShown());
    EXPECT_FALSE(page->Channel().IsOpen());
}

TEST_F(DeviceListTest, CableAndReceiverShareOnePage)
{
    ASSERT_TRUE(sim->Plug(Port::MouseReceiver));
    ASSERT_TRUE(WaitFor([&] { return Shows(MousePage()) && Loaded(MousePage()); }));
    CVelmoraUSBDevice* page = MousePage();
    EXPECT_EQ(page->IsReceiver(), 1);
    EXPECT_TRUE(IsCurrent(page));

    ASSERT_TRUE(sim->MoveMouse(Port::MouseCable));  // the cable goes in, the receiver stays
    ASSERT_TRUE(WaitFor([&] { return page->IsReceiver() == 0 && Loaded(page, 2); }));
    EXPECT_EQ(window.Pages().all.size(), 1);
    EXPECT_TRUE(Shows(page));
    EXPECT_TRUE(IsCurrent(page));

    ASSERT_TRUE(sim->MoveMouse(Port::MouseReceiver));  // the cable comes out
    ASSERT_TRUE(WaitFor([&] { return page->IsReceiver() == 1 && Loaded(page, 3); }));
    EXPECT_EQ(window.Pages().all.size(), 1);
    EXPECT_TRUE(Shows(page));
}

TEST_F(DeviceListTest, PullingTheCableWaitsForTheRadioInsteadOfHidingTheMouse)
{
    ASSERT_TRUE(sim->Plug(Port::MouseCable));
    ASSERT_TRUE(sim->Plug(Port::MouseReceiver));
    ASSERT_TRUE(WaitFor([&] { return Loaded(MousePage()) && MousePage()->IsNotificationOpen(kKindMouseReceiver); }));
    CVelmoraUSBDevice* page = MousePage();
    const int loads = page->LoadCount();

    // The radio comes up 700 ms after the cable is out: later than the first
    // connection check, sooner than the mouse's 25 tries give up.
    ASSERT_TRUE(sim->MoveMouse(Port::MouseReceiver));
    sim->SetLinked(false);  // before the program sees the cable go
    QTimer::singleShot(700, [&] { sim->SetLinked(true); });
    bool everHidden = false;
    EXPECT_TRUE(WaitFor(
        [&] {
            everHidden = everHidden || !Shows(page);
            return page->IsReceiver() == 1 && Loaded(page, loads + 1);
        },
        4000));
    EXPECT_FALSE(everHidden);
}

TEST_F(DeviceListTest, PluggingTheReceiverWhileTheCableIsInKeepsTheCable)
{
    ASSERT_TRUE(sim->Plug(Port::MouseCable));
    ASSERT_TRUE(WaitFor([&] { return Loaded(MousePage()); }));
    ASSERT_TRUE(sim->Plug(Port::MouseReceiver));
    ASSERT_TRUE(WaitFor([&] { return MousePage()->IsNotificationOpen(kKindMouseReceiver); }));
    EXPECT_EQ(MousePage()->IsReceiver(), 0);
    EXPECT_TRUE(MousePage()->Channel().IsOpen());
    EXPECT_TRUE(Shows(MousePage()));
}

TEST_F(DeviceListTest, AMouseSwitchedOffHidesItsEntryAndComesBackReadAgain)
{
    ASSERT_TRUE(sim->Plug(Port::MousePad));
    ASSERT_TRUE(sim->Plug(Port::MouseReceiver));
    ASSERT_TRUE(WaitFor([&] { return Shows(MousePage()) && Loaded(MousePage()); }));
    CVelmoraUSBDevice* mouse = MousePage();
    CVelmoraUSBDevice* pad = window.Pages().mousePads.value(0);
    ASSERT_NE(pad, nullptr);
    EXPECT_TRUE(IsCurrent(pad));  // the first device visible keeps the selection
    EntryOf(mouse)->SelectButton()->click();
    ASSERT_TRUE(IsCurrent(mouse));

    const int loads = mouse->LoadCount();
    sim->SetLinked(false);
    ASSERT_TRUE(WaitFor([&] { return !Shows(mouse); }));
    EXPECT_TRUE(IsCurrent(pad));

    sim->SetLinked(true);
    ASSERT_TRUE(WaitFor([&] { return Shows(mouse) && Loaded(mouse, loads + 1); }));
    EXPECT_TRUE(IsCurrent(pad));  // another device is visible: the selection stays there
}

TEST_F(DeviceListTest, PreviousAndNextWithOneDeviceChangeNothing)
{
    ASSERT_TRUE(sim->Plug(Port::MouseCable));
    ASSERT_TRUE(WaitFor([&] { return IsCurrent(MousePage()); }));
    Click("device_select_prev");
    Click("device_select_next");
    EXPECT_TRUE(IsCurrent(MousePage()));
    EXPECT_EQ(List().VisibleCount(), 1);
}
