// The mouse page as a user drives it, against the simulated mouse on its
// cable and through its receiver: every settings control changes the
// mouse's settings block, and a re-plugged mouse shows what was set.

// First: it names a parameter "slots", which Qt's headers make a keyword.
#include "protocol/simulated_mouse.h"

#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "devices/mouse/mouse_memory_map.h"
#include "devices/velmora_mouse_device.h"
#include "panels/macro_device.h"
#include "platform/folders.h"
#include "platform/product.h"
#include "profiles/profile_paths.h"
#include "services/diag_log.h"
#include "tools/devsim/simulator.h"
#include "ui/notify.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

using devsim::Device;
using devsim::MemoryArea;
using devsim::Port;

bool WaitFor(const std::function<bool()>& condition, int ms = 8000)
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

// One user action on a control of the page.
struct Action {
    const char* control;
    int value;           // combo index, slider value; ignored for clicks and edits
    const char* typed;   // edits: the text typed before leaving the edit
    size_t blockByte;    // where the settings block holds it
    uint8_t expected;
};

class MousePageTest : public ::testing::TestWithParam<MouseConnection> {
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
        if (GetParam().receiver) {
            ASSERT_TRUE(sim->Plug(Port::MouseReceiver));
        }
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(RegisterInstanceMessage());
        ASSERT_TRUE(window.Create(nullptr, kProductTitle));
    }
    void TearDown() override
    {
        window.Close(IDCANCEL);
        sim->Stop();
    }

    Port MousePort() const { return GetParam().receiver ? Port::MouseReceiver : Port::MouseCable; }
    CVelmoraMouseDevice* Page() { return qobject_cast<CVelmoraMouseDevice*>(window.Pages().mice.value(0)); }
    bool LoadedTimes(int times) { return Page() && Page()->LoadCount() >= times && Page()->IsWorkerIdle(); }
    bool Shows()
    {
        const CDeviceOptionUI* entry = window.DeviceList().EntryOf(Page());
        return entry && entry->IsEntryVisible();
    }
    void Plug()
    {
        if (GetParam().receiver) {
            sim->SetLinked(true);
        } else {
            ASSERT_TRUE(sim->Plug(Port::MouseCable));
        }
    }
    void Unplug()
    {
        if (GetParam().receiver)
            sim->SetLinked(false);
        else
            sim->Unplug(Port::MouseCable);
    }
    template <class T>
    T* Control(const char* name)
    {
        T* control = Page() ? Page()->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    uint8_t BlockByte(size_t at) const
    {
        const auto profile = sim->ReadArea(Device::Mouse, MemoryArea::Settings, kMouseCurrentProfile, 1);
        const size_t start = profile ? profile->front() * kMouseProfileSpan : 0;
        const auto byte = sim->ReadArea(Device::Mouse, MemoryArea::Settings, start + at, 1);
        return byte ? byte->front() : 0xEE;
    }
    void Perform(const Action& action)
    {
        const QString name = QString::fromLatin1(action.control);
        QWidget* control = Page()->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << action.control;
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            combo->setCurrentIndex(action.value);
        } else if (auto* slider = qobject_cast<QSlider*>(control)) {
            slider->setValue(action.value);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(QString::fromLatin1(action.typed));
            SendNotify(edit, QStringLiteral("killfocus"));
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->click();
        }
        ASSERT_TRUE(WaitFor([&] { return Page()->IsWorkerIdle(); }));
    }

    QTemporaryDir home;
    std::unique_ptr<devsim::CDeviceSimulator> sim;
    CMainWnd window;
};

constexpr size_t StageByte(size_t stage, size_t field)
{
    return DpiStageOffset(stage) + field;
}

const Action kActions[] = {
    {"polling_rate_option_1", 0, "", kBlockReportRate, 1},
    {"Silent_Altitude_option_1", 0, "", kBlockLiftOff, 1},
    {"Linear_Calibration_option_1", 0, "", kBlockLinearCalibration, 1},
    {"Ripple_option_1", 0, "", kBlockRipple, 1},
    {"Anti_Shake_combo_timeSelect", 3, "", kBlockDebounce, 3},
    {"device_sleep1_combo", 4, "", kBlockSleep1, 10},
    {"device_sleep2_combo", 6, "", kBlockSleep2, 30},
    {"ble_sleep1_combo", 0, "", kBlockBleSleep1, 1},
    {"ble_sleep2_combo", 7, "", kBlockBleSleep2, 60},
    {"logo_led_mode_combo", 2, "", kBlockLogoLightMode, 2},
    {"DPI_slider_2", 63, "", StageByte(2, kStageCodeX), 63},
    {"DPI_edit_3", 0, "3200", StageByte(3, kStageCodeX), 63},
    {"DPI_enable_check_5", 0, "", StageByte(5, kStageEnabled), 0},
    {"DPI_select_check_4", 0, "", kBlockActiveDpiStage, 4},
};

}  // namespace

TEST_P(MousePageTest, EveryControlReachesTheMouseAndComesBackAfterReplugging)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    for (const Action& action : kActions) {
        Perform(action);
        EXPECT_EQ(BlockByte(action.blockByte), action.expected) << action.control;
    }
    EXPECT_EQ(Page()->LastWriteResult(), kResultSuccess);

    const int loads = Page()->LoadCount();
    Unplug();
    ASSERT_TRUE(WaitFor([&] { return !Shows(); }));
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(loads + 1); }));
    EXPECT_TRUE(Control<QAbstractButton>("polling_rate_option_1")->isChecked());
    EXPECT_TRUE(Control<QAbstractButton>("Ripple_option_1")->isChecked());
    EXPECT_EQ(Control<QComboBox>("Anti_Shake_combo_timeSelect")->currentIndex(), 3);
    EXPECT_EQ(Control<QComboBox>("device_sleep2_combo")->currentIndex(), 6);
    EXPECT_EQ(Control<QComboBox>("ble_sleep2_combo")->currentIndex(), 7);
    EXPECT_EQ(Control<QComboBox>("logo_led_mode_combo")->currentIndex(), 2);
    EXPECT_EQ(Control<QSlider>("DPI_slider_2")->value(), 63);
    EXPECT_EQ(Control<QLineEdit>("DPI_edit_3")->text(), "3200");
    EXPECT_FALSE(Control<QAbstractButton>("DPI_enable_check_5")->isChecked());
    EXPECT_FALSE(Control<QWidget>("DPI_layout_5")->isEnabled());
    EXPECT_TRUE(Control<QAbstractButton>("DPI_select_check_4")->isChecked());
    EXPECT_FALSE(Control<QAbstractButton>("DPI_enable_check_4")->isEnabled()) << "the active stage stays on";
}

TEST_P(MousePageTest, TheMousesOwnDpiButtonShowsOnThePage)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    ASSERT_TRUE(sim->PressDpiButton(2));
    EXPECT_TRUE(WaitFor([&] { return Control<QAbstractButton>("DPI_select_check_2")->isChecked(); }));
    EXPECT_FALSE(Control<QAbstractButton>("DPI_enable_check_2")->isEnabled());
}

TEST_P(MousePageTest, SettingsTabsTurnWithTheirOptions)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    auto* tabs = Control<QStackedWidget>("mouse_device_seting_layout");
    for (int tab : {2, 1, 0}) {
        Control<QAbstractButton>(QStringLiteral("mouse_device_seting_option_%1").arg(tab).toLatin1().constData())
            ->click();
        EXPECT_EQ(tabs->currentIndex(), tab);
    }
    Page()->ShowSettingsTab(9);
    EXPECT_EQ(tabs->currentIndex(), 0) << "a tab beyond the layout's shows the first";
    EXPECT_TRUE(Control<QAbstractButton>("mouse_device_seting_option_0")->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Connections, MousePageTest, kMouseConnections, ConnectionName);

TEST_P(MousePageTest, AMouseNotSetUpIsReportedAndAFreshOneIsSetUp)
{
    struct Case {
        uint8_t marker;
        bool errorShown;
        uint8_t markerAfter;
    };
    const Case cases[] = {{0x42, true, 0x42}, {0x00, false, kInfoSetUpDone}};
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    auto* error = window.findChild<QWidget*>(QStringLiteral("Error_device_Link"));
    ASSERT_NE(error, nullptr);
    for (const Case& c : cases) {
        Unplug();
        ASSERT_TRUE(WaitFor([&] { return !Shows(); }));
        ASSERT_TRUE(sim->WriteArea(Device::Mouse, MemoryArea::Info, kInfoSetUpMarker, {c.marker}));
        Plug();
        EXPECT_TRUE(WaitFor([&] { return Shows() && Page()->IsWorkerIdle() && error->isHidden() != c.errorShown; }))
            << int{c.marker};
        const auto marker = sim->ReadArea(Device::Mouse, MemoryArea::Info, kInfoSetUpMarker, 1);
        ASSERT_TRUE(marker);
        EXPECT_EQ(marker->front(), c.markerAfter) << int{c.marker};
    }
}

TEST_P(MousePageTest, DefaultsComeBackOnThePageAndTheMouse)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    const MouseSettings before = Page()->Settings();
    Perform({"polling_rate_option_0", 0, "", kBlockReportRate, 0});
    Perform({"DPI_slider_0", 99, "", StageByte(0, kStageCodeX), 99});
    ASSERT_EQ(BlockByte(kBlockReportRate), 0);

    EXPECT_EQ(Page()->HandleFeatureEvent(PageEvent::Of("command", "default_btn")), 1);
    ASSERT_TRUE(WaitFor([&] { return Page()->IsWorkerIdle(); }));
    EXPECT_EQ(Page()->Settings()[kReportRate], before[kReportRate]);
    EXPECT_EQ(BlockByte(kBlockReportRate), before[kReportRate]);
    EXPECT_EQ(Control<QSlider>("DPI_slider_0")->value(), Page()->DpiStages().front().dpiX);
    EXPECT_NE(BlockByte(StageByte(0, kStageCodeX)), 99);
}

TEST_P(MousePageTest, TheSensorLineStaysWhenTheTextsAreLoadedAgain)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    auto* info = Control<QLabel>("mouse_info_text");
    ASSERT_TRUE(info->text().contains("3395")) << info->text().toStdString();
    CResourceManager::GetInstance().ReloadText(&window);
    EXPECT_TRUE(info->text().contains("3395")) << info->text().toStdString();
}

TEST_P(MousePageTest, AKeyBoundToAMacroCarriesItToTheMouse)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    CMacroLibrary library;
    library.SetFolder(GetProfileDirectory(kMouseFamilyName));
    library.Load();
    ASSERT_TRUE(library.Add());
    ASSERT_TRUE(library.Add());
    ASSERT_EQ(library.SaveEvents(1, {{true, 4, 1, 20}, {false, 4, 1, 0}}), MacroSave::kSaved);

    std::vector<KeyListEntry> keys = Page()->Profile().ReadKeyList();
    ASSERT_GE(keys.size(), kMouseKeyCount);
    keys[3].assigned = {kKeyTypeMacroRepeatMode, 1, 2};   // macro 1: the first the keys use
    keys[4].assigned = {kKeyTypeMacroRepeatCount, 7, 1};  // there is no macro 7
    Page()->Profile().WriteKeyList(keys);
    Page()->SaveProfile();
    ASSERT_EQ(Page()->WriteCurrentKeys(), 1);
    ASSERT_TRUE(WaitFor([&] { return Page()->IsWorkerIdle(); }));
    EXPECT_EQ(Page()->LastKeyWriteResult(), kResultSuccess);
    EXPECT_EQ(Page()->LastMacroWriteResult(), kMacroImageSent);

    // Keys 3 and 4 lie at positions 4 and 3 of the simulated mouse's table.
    const auto table = sim->ReadArea(Device::Mouse, MemoryArea::KeyTable, 0, 5 * kKeyCodeSize);
    ASSERT_TRUE(table);
    EXPECT_EQ(std::vector<uint8_t>(table->begin() + 12, table->begin() + 15),
              (std::vector<uint8_t>{kKeyTypeMacroRepeatMode, 0, 2}));
    EXPECT_EQ(std::vector<uint8_t>(table->begin() + 9, table->begin() + 12),
              (std::vector<uint8_t>{0x10, 0x08, 0x00}))
        << "a key naming a missing macro gets its default code";
    const auto image = sim->ReadArea(Device::Mouse, MemoryArea::Macro, 0, 16);
    ASSERT_TRUE(image);
    EXPECT_NE(*image, std::vector<uint8_t>(16, 0)) << "the macro image reached the mouse";
}

TEST_P(MousePageTest, AnAssignedKeyIsListedAndSavedAtOnce)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    auto* list = Control<QTableWidget>("device_setkeyinfo_list");
    ASSERT_GT(list->rowCount(), 3);
    const QString before = list->item(3, 1)->text();

    std::vector<KeyListEntry> keys = Page()->GetKeyList();
    ASSERT_GT(keys.size(), 3u);
    keys[3].assigned = {0x10, 0x04, 0x00};  // the middle button
    Page()->SetKeyList(keys);

    EXPECT_NE(list->item(3, 1)->text(), before);
    EXPECT_EQ(list->item(3, 1)->text(), list->item(2, 1)->text()) << "key 2 is the middle button";
    CMouseProfiledata saved;
    saved.LoadProfile(Page()->GetProfilePathText().toStdString());
    EXPECT_EQ(saved.ReadKeyList().at(3).assigned, keys[3].assigned);
}

TEST_P(MousePageTest, AGameEventLightsTheMouseAndLeavesTheProfileAlone)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    const LightInfoRecord own = Page()->Profile().ReadLightInfo();
    LightInfoRecord flash = own;
    flash.light = own.light == 4 ? 1 : 4;
    flash.red = static_cast<uint8_t>(own.red ^ 0xFF);

    ASSERT_EQ(Page()->WriteLightState(flash), 1);
    ASSERT_TRUE(WaitFor([&] { return Page()->IsWorkerIdle(); }));
    EXPECT_EQ(BlockByte(kBlockBrightness), flash.light);
    EXPECT_EQ(BlockByte(kBlockRed), flash.red);
    EXPECT_EQ(Page()->Profile().ReadLightInfo().Bytes(), own.Bytes());

    ASSERT_EQ(Page()->WriteSettings(0, 0), 1);  // the profile's lighting comes back
    ASSERT_TRUE(WaitFor([&] { return Page()->IsWorkerIdle(); }));
    EXPECT_EQ(BlockByte(kBlockRed), own.red);
}

TEST_P(MousePageTest, TheSameModeButtonSharesTheLightingAndHandsItToTheSyncThread)
{
    Plug();
    ASSERT_TRUE(WaitFor([&] { return LoadedTimes(1); }));
    auto* same = Control<QWidget>("deng_same_mode");
    LightInfoRecord shared = Page()->Preview().State();
    shared.selectItem = 1;  // breathing: every family has it
    shared.light = 3;
    shared.red = 0x12;
    Page()->TakeSharedLighting(shared);
    Page()->SetLightingSync(0);
    ASSERT_TRUE(WaitFor([&] { return Page()->IsWorkerIdle(); }));

    SendNotify(same, QStringLiteral("click"), 0);
    ASSERT_TRUE(WaitFor([&] { return Page()->IsWorkerIdle(); }));
    EXPECT_EQ(Page()->GetLightingSync(), 1);
    EXPECT_EQ(Page()->Profile().ReadLightInfo().Bytes(), shared.Bytes());
    EXPECT_EQ(BlockByte(kBlockBrightness), 3);
    EXPECT_EQ(BlockByte(kBlockRed), 0x12);
}
