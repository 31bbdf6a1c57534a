// The lighting and recoil panels on a small mouse page of their own, against
// the simulated mouse on its cable: what the user does in a panel reaches the
// mouse's settings block and recoil memory.

// First: the simulated mouse's helpers name a variable "slots", which the Qt
// headers below take as a keyword.
#include "protocol/recording_sink.h"
#include "protocol/simulated_mouse.h"
#include "protocol/temp_bus.h"
#include "tools/devsim/simulator.h"

#include "devices/mouse/mouse_device_core.h"
#include "panels/light_control_ui.h"
#include "panels/macro_image.h"
#include "panels/shoot_control_ui.h"
#include "platform/folders.h"
#include "profiles/json_file.h"
#include "profiles/profile_paths.h"
#include "ui/ui_init.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using devsim::Device;
using devsim::MemoryArea;

// The mouse page as far as the panels need it: its light state lives in its
// profile, and WriteSettings sends the profile's block.
class CLitMousePage : public CVelmoraUSBDevice {
public:
    explicit CLitMousePage(const std::string& profilePath)
    {
        SetDeviceKind(kKindMouseCable);
        SetFamilyName(QString::fromLatin1(kMouseFamilyName));
        profile.SetDefaultProfilePath(DefaultProfilePath(kMouseFamilyName));
        profile.SetProfilePath(profilePath);
        profile.LoadProfile(profilePath);
        auto* box = new QVBoxLayout(this);
        light = new CLightControlUI(this);
        light->setObjectName(QStringLiteral("LightControlItem"));
        shoot = new CShootControlUI(this);
        shoot->setObjectName(QStringLiteral("ShootControlItem"));
        box->addWidget(light);
        box->addWidget(shoot);
    }
    ~CLitMousePage() override { StopThreads(); }

    void Bind() { BindFeaturePanels(); }
    void SetLightOptions(uint32_t a, uint32_t b, uint32_t c, uint32_t d) override
    {
        CVelmoraUSBDevice::SetLightOptions(a, b, c, d);
        profile.WriteLightInfo(Preview().State());
    }
    void SaveProfile() override { profile.Save(); }
    int ApplyProfileLighting() override
    {
        Preview().SetState(profile.ReadLightInfo());
        return 1;
    }
    int WriteSettings(int slot, int firstByte, int, int, int) override
    {
        ++writes;
        return core.WriteSettings(profile, static_cast<uint8_t>(slot), static_cast<uint8_t>(firstByte));
    }
    int WriteLightState(const LightInfoRecord& state) override
    {
        CVelmoraUSBDevice::WriteLightState(state);
        MouseBlockValues values;
        core.TakeBlockInto(values, {}, BlockFields::kAll);
        values.light = state;
        return core.WriteValues(values, 0, 0);
    }

    CMouseProfiledata profile;
    CMouseDeviceCore core{Channel()};
    CLightControlUI* light = nullptr;
    CShootControlUI* shoot = nullptr;
    int writes = 0;
};

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(folder_.isValid());
        defaults_ = GetDefaultDataDirectory();
        SetProfileFolders(folder_.path().toStdString(), defaults_);
        ASSERT_TRUE(sim_.Start());
        page_ = std::make_unique<CLitMousePage>(GetProfileDirectory(kMouseFamilyName) + "p.Json");
        OpenSimulatedMouse(sim_, discovery_, slots_, page_->Channel(), false);
        ASSERT_EQ(page_->core.ReadDeviceData(), DeviceDataOutcome::kComplete);
        ASSERT_EQ(page_->core.ReadBlock(), kResultSuccess);
        page_->ApplyProfileLighting();
        page_->Bind();
        const DefaultLightNames names = ReadDefaultLightNames(DefaultLightNamesPath(), kMouseSlot);
        QStringList modes;
        for (const std::wstring& name : names.modeNames)
            modes << QString::fromStdWString(name);
        ASSERT_GE(modes.size(), 8);
        page_->light->FillLightModes(modes, names.modeVisible, kMouseBrightnessMax, kMouseSpeedMax);
    }
    void TearDown() override
    {
        page_.reset();
        SetProfileFolders({}, {});
    }

    uint8_t Block(size_t offset) const { return sim_.ReadArea(Device::Mouse, MemoryArea::Settings, offset, 1)->at(0); }
    CControlUI In(QWidget* panel, const char* name) const { return FindSubControlByName(panel, QString::fromLatin1(name)); }
    int Send(PageFeature feature, const char* type, const char* name, int64_t value = 0, int index = -1)
    {
        PageEvent event = PageEvent::Of(QString::fromLatin1(type), QString::fromLatin1(name), value);
        event.feature = feature;
        event.index = index;
        return page_->HandleFeatureEvent(event);
    }
    void WaitForWorker()
    {
        QElapsedTimer clock;
        clock.start();
        while (!page_->IsWorkerIdle() && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::processEvents();
    }

    QTemporaryDir folder_;
    std::string defaults_;
    TempBus bus_;
    devsim::CDeviceSimulator sim_{bus_.Directory()};
    CSlotList slots_;
    RecordingSink sink_;
    CDeviceDiscovery discovery_{slots_, sink_};
    std::unique_ptr<CLitMousePage> page_;
};

TEST_F(PanelTest, LightingControlsChangeTheMouse)
{
    page_->SetLightingSync(1);
    ASSERT_EQ(Send(PageFeature::Lighting, "itemselect", "light_combo_modeSelect", 2), 1);
    EXPECT_EQ(Block(kBlockLightEffect), 2);
    EXPECT_EQ(page_->GetLightingSync(), 0);
    EXPECT_EQ(In(page_->light, "light_combo_modeSelect").GetCurSel(), 2);
    EXPECT_FALSE(In(page_->light, kLightColorSection).IsEnabled());  // mode 2 has no colour

    Send(PageFeature::Lighting, "valuechanged", "deng_light_slider", 3);
    Send(PageFeature::Lighting, "valuechanged", "deng_speed_slider", 1);
    EXPECT_EQ(Block(kBlockBrightness), 3);
    EXPECT_EQ(Block(kBlockSpeed), 4 - 1);

    page_->SetLightingSync(1);
    In(page_->light, "color_option_1").SetBkColor(0xFFFF8000);
    Send(PageFeature::Lighting, "click", "color_option_1", 0, 1);
    EXPECT_EQ(page_->GetLightingSync(), 1);  // a swatch keeps synchronisation
    EXPECT_EQ((std::array{Block(kBlockRed), Block(kBlockGreen), Block(kBlockBlue)}),
              (std::array<uint8_t, 3>{0xFF, 0x80, 0x00}));
    EXPECT_EQ(In(page_->light, "deng_edit_G").GetText(), "128");
    EXPECT_EQ(page_->profile.ReadLightInfo().green, 0x80);  // kept in the profile too
}

TEST_F(PanelTest, TypedColourIsHeldAndEndsMultiColour)
{
    Send(PageFeature::Lighting, "selectchanged", "deng_7color_check", 1);
    EXPECT_EQ(Block(kBlockMultiColor), 1);
    In(page_->light, "deng_edit_G").SetText(QStringLiteral("300"));
    Send(PageFeature::Lighting, "killfocus", "deng_edit_G");
    EXPECT_EQ(In(page_->light, "deng_edit_G").GetText(), "255");
    EXPECT_EQ(Block(kBlockGreen), 255);
    EXPECT_EQ(Block(kBlockMultiColor), 0);
    EXPECT_FALSE(In(page_->light, "deng_7color_check").IsSelected());
}

TEST_F(PanelTest, OnlyTheDirectionCheckThatBecameSelectedCounts)
{
    Send(PageFeature::Lighting, "selectchanged", "deng_FXL_check", 1);
    EXPECT_EQ(page_->Preview().State().fx, 1);
    const int writes = page_->writes;
    EXPECT_EQ(Send(PageFeature::Lighting, "selectchanged", "deng_FXR_check", 0), 0);  // the partner's deselection
    EXPECT_EQ(page_->writes, writes);
    Send(PageFeature::Lighting, "selectchanged", "deng_FXR_check", 1);
    EXPECT_EQ(page_->Preview().State().fx, 0);
    EXPECT_FALSE(In(page_->light, "deng_FXL_check").IsSelected());
}

TEST_F(PanelTest, MouseLayoutFollowsTheMode)
{
    for (int mode : {6, 7}) {
        Send(PageFeature::Lighting, "itemselect", "light_combo_modeSelect", mode);
        EXPECT_TRUE(In(page_->light, kLightEffectSection).IsEnabled()) << mode;
        EXPECT_EQ(In(page_->light, kLightBrightnessSection).IsEnabled(), mode == 7) << mode;
        EXPECT_FALSE(In(page_->light, kLightColorSection).IsEnabled()) << mode;
        EXPECT_EQ(In(page_->light, "deng_same_mode").IsVisible(), mode == 6) << mode;
    }
}

TEST_F(PanelTest, GameLightingIsNotKeptInTheProfile)
{
    Send(PageFeature::Lighting, "itemselect", "light_combo_modeSelect", 1);
    PageEvent game = PageEvent::Of(QStringLiteral("message"), QStringLiteral("Game_Start"), 1, 3);
    game.feature = PageFeature::GameEvents;
    page_->HandleFeatureEvent(game);
    EXPECT_EQ(Block(kBlockLightEffect), 3);
    EXPECT_EQ(page_->profile.ReadLightInfo().selectItem, 1);
    CMouseProfiledata saved;
    saved.LoadProfile(page_->profile.GetProfilePath());
    EXPECT_EQ(saved.ReadLightInfo().selectItem, 1);

    Send(PageFeature::GameEvents, "timer", "game_event_end");
    EXPECT_EQ(Block(kBlockLightEffect), 1);
    EXPECT_EQ(In(page_->light, "light_combo_modeSelect").GetCurSel(), 1);
}

TEST_F(PanelTest, RecoilBulletsAreEditedAndSent)
{
    CShootControlUI& shoot = *page_->shoot;
    EXPECT_EQ(shoot.SelectedBullet(), 0);
    shoot.SelectPreviousBullet();
    EXPECT_EQ(In(&shoot, "bullet_select_index").GetText(), "1");
    shoot.SelectBullet(29);
    shoot.SelectNextBullet();
    EXPECT_EQ(shoot.SelectedBullet(), 29);
    EXPECT_EQ(In(&shoot, "bullet_select_index").GetText(), "30");

    Send(PageFeature::Recoil, "selectchanged", "bullet_op_4", 1, 4);
    In(&shoot, "bullet_x_eidt").SetText(QStringLiteral("3"));
    In(&shoot, "bullet_y_eidt").SetText(QStringLiteral("12"));
    In(&shoot, "bullet_delay_eidt").SetText(QStringLiteral("70000"));
    In(&shoot, "bullet_x_check").SetSelected(true, false);
    Send(PageFeature::Recoil, "killfocus", "bullet_delay_eidt");
    EXPECT_EQ(In(&shoot, "bullet_delay_eidt").GetText(), "65535");  // what the mouse can keep
    EXPECT_EQ(In(&shoot, "bullet_x_check").Widget()->property("textId"), "mouse_move_to_left_text");
    EXPECT_EQ(shoot.Patterns().ReadBullet(0, 4), (RecoilBullet{3, 12, 65535, true, false}));

    // Another pattern shows its own bullet 5.
    Send(PageFeature::Recoil, "selectchanged", "shoot_gun_op_2", 1, 2);
    EXPECT_EQ(shoot.SelectedBullet(), 4);
    EXPECT_EQ(In(&shoot, "bullet_x_eidt").GetText(), QString::number(shoot.Patterns().ReadBullet(2, 4).x));
    EXPECT_EQ(In(&shoot, "shoot_image_display_switch").As<QStackedWidget>()->currentIndex(), 2);

    ASSERT_EQ(Send(PageFeature::Recoil, "click", "shootdate_save_btn"), 1);
    WaitForWorker();
    const std::optional<std::vector<uint8_t>> image = shoot.Patterns().BuildImage();
    ASSERT_TRUE(image);
    EXPECT_EQ(sim_.ReadArea(Device::Mouse, MemoryArea::Recoil, 0, image->size()), image);
    const auto sent = UnpackMacroImage(*image);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->blocks[0][4 * 6 + 3], (DeviceMacroEvent{0xFFFF, 0x05, 12}));
}

TEST_F(PanelTest, RecoilFilesAreRestoredAndImportsChecked)
{
    CShootControlUI& shoot = *page_->shoot;
    const std::string working = shoot.Patterns().WorkingPath(1);
    std::ofstream(working, std::ios::trunc) << "not json";
    page_->Bind();  // the page is built again
    EXPECT_FALSE(ReadJsonFile(working).isNull());

    const std::string bad = folder_.path().toStdString() + "/bad.shoot";
    std::ofstream(bad) << "{\"Events\": 5}";
    const std::string before = ReadWholeFile(shoot.Patterns().WorkingPath(0));
    PageEvent import = PageEvent::Of(QStringLiteral("command"), QStringLiteral("shootdate_import_btn"), 0, 0,
                                     QString::fromStdString(bad));
    import.feature = PageFeature::Recoil;
    EXPECT_EQ(page_->HandleFeatureEvent(import), RecoilImportAnswer(RecoilImport::kNotAPattern));
    EXPECT_EQ(ReadWholeFile(shoot.Patterns().WorkingPath(0)), before);
}

}  // namespace
