// The main window's router and message table, driven with a recording page
// and a window whose questions to the user and the system are answered here.

#include "app/exchange_rules.h"
#include "app/main_messages.h"
#include "app/main_wnd.h"
#include "app/registered_messages.h"
#include "panels/macro_event.h"
#include "platform/folders.h"
#include "platform/message_socket.h"
#include "platform/product.h"
#include "services/diag_log.h"
#include "ui/ui_init.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool RunEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class RecordingPage : public CVelmoraUSBDevice {
public:
    using CVelmoraUSBDevice::CVelmoraUSBDevice;
    int HandleFeatureEvent(const PageEvent& event) override
    {
        events.push_back(event);
        return answer;
    }
    int WriteCurrentKeys() override
    {
        ++keyWrites;
        return 1;
    }
    std::vector<PageEvent> events;
    int answer = 1;
    int keyWrites = 0;
};

class TestMainWnd : public CMainWnd {
public:
    struct Question {
        QString titleId;
        QString text;
        bool withCancel;
    };
    std::vector<Question> questions;
    int userAnswer = 1;
    QString chosenFile;
    QStringList started;  // program, then its arguments and folder
    bool ended = false;

protected:
    int ShowMessage(const QString& titleId, const QString& text, bool, bool withCancel) override
    {
        questions.push_back({titleId, text, withCancel});
        return userAnswer;
    }
    QString ChooseFile(FileDialogMode, FileKind) override { return chosenFile; }
    bool StartProgram(const QString& program, const QStringList& arguments, const QString& folder) override
    {
        started = QStringList{program} + arguments + QStringList{folder};
        return true;
    }
    void EndProgram() override { ended = true; }
};

}  // namespace

class MainWndRouterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_DATA_HOME", home.path().toUtf8().constData(), 1);
        setenv("XDG_RUNTIME_DIR", home.path().toUtf8().constData(), 1);
        setenv("KESTROVA_VHID_DIR", home.filePath("bus").toUtf8().constData(), 1);
        QDir(home.path()).mkdir(kLogFolderName);
        QDir(home.path()).mkdir("bus");
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(RegisterInstanceMessage());
        RegisterProcessMessages();
        ASSERT_TRUE(window.Create(nullptr, kProductTitle));
        page = new RecordingPage(window.GetRoot());
        page->SetDeviceKind(kKindMouseCable);
        page->SetPowerDisplay(1);  // pages keep the window-hidden flag only with their power display on
        window.Pages().Add(page);
        window.Pages().current = page;
        RunEventsUntil([&] { return window.isVisible(); });
    }

    // A notification from a control of that name inside the window.
    void Notify(const QString& type, const QString& sender, WPARAM wParam = 0)
    {
        auto* control = window.findChild<QWidget*>(sender);
        if (!control) {
            control = new QWidget(window.GetRoot());
            control->setObjectName(sender);
        }
        SendNotify(control, type, wParam);
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendWindowMessage(window.GetHWND(), message, wParam, lParam);
    }
    bool Shown() const { return window.isVisible() && !window.isMinimized(); }
    bool ErrorLayoutShown() const { return window.findChild<QWidget*>("Error_device_Link")->isVisibleTo(&window); }

    QTemporaryDir home;
    TestMainWnd window;
    RecordingPage* page = nullptr;
};

// A sender name for a route: an index for prefixes, a tail for "begins with".
static QString SenderFor(const NotifyRoute& route)
{
    const QString name = QString::fromLatin1(route.name.data(), static_cast<qsizetype>(route.name.size()));
    if (route.match == NameMatch::Indexed || route.match == NameMatch::IndexedCase)
        return name + "2";
    return route.match == NameMatch::StartsWith ? name + "some_edit" : name;
}

TEST_F(MainWndRouterTest, EveryHandOffRowReachesThePageFeatureItNames)
{
    for (const NotifyRoute& route : NotifyRoutes()) {
        if (route.action != RouteAction::HandOff && route.action != RouteAction::HandOffThenWriteKeys)
            continue;
        const QString type = QString::fromLatin1(route.type.data(), static_cast<qsizetype>(route.type.size()));
        const QString sender = SenderFor(route);
        page->SetDeviceKind(route.need == PageNeed::Keyboard ? kKindKeyboard : kKindMouseCable);
        page->events.clear();
        if (type == "menu") {
            MenuCmd command;
            command.szName = sender;
            Send(WM_MENUCLICK, reinterpret_cast<WPARAM>(&command));
        } else {
            Notify(type, sender, 1);
        }
        ASSERT_EQ(page->events.size(), 1u) << type.toStdString() << " " << sender.toStdString();
        EXPECT_EQ(page->events[0].feature, route.feature) << sender.toStdString();
        EXPECT_EQ(page->events[0].name, sender);
        EXPECT_EQ(page->events[0].index, SplitControlName(sender).index);
    }
}

TEST_F(MainWndRouterTest, RoutesForAnotherKindOfPageOrNoPageDoNothing)
{
    page->SetDeviceKind(kKindMousePad);
    Notify("click", "errordevice_connect_btn");  // mouse pages only
    Notify("click", "reset_repeat_btn");         // keyboard pages only
    Notify("itemselect", "ble_sleep1_combo");
    EXPECT_TRUE(page->events.empty());

    window.Pages().current = nullptr;
    for (const NotifyRoute& route : NotifyRoutes()) {
        // Menus, closing and the settings window (modal) are not routes to a page.
        if (route.type != "menu" && route.action != RouteAction::Exit && route.action != RouteAction::WindowInit &&
            route.action != RouteAction::OpenSettingsAtEdge)
            Notify(QString::fromLatin1(route.type.data(), static_cast<qsizetype>(route.type.size())),
                   SenderFor(route), 1);
    }
    EXPECT_TRUE(page->events.empty());
    EXPECT_FALSE(window.IsClosed());
}

TEST_F(MainWndRouterTest, WindowRoutesActOnTheWindowAndTheCurrentPage)
{
    Notify("selectchanged", "macro_Op_tab", 1);
    EXPECT_EQ(page->GetFunctionPanel(), 3);
    Notify("selectchanged", "key_Op_tab", 0);  // a tab losing its selection changes nothing
    EXPECT_EQ(page->GetFunctionPanel(), 3);

    Notify("click", "control_light_status");
    EXPECT_EQ(window.GetLightingControl(), 0);
    EXPECT_EQ(page->GetLightingControl(), 0);
    Notify("click", "control_light_status");
    EXPECT_EQ(page->GetLightingControl(), 1);

    auto* edit = new QLineEdit(window.GetRoot());
    edit->setObjectName("kelvo_DPI_edit_2");
    Notify("movevaluechanged", "kelvo_DPI_slider_2", 1600);
    EXPECT_EQ(edit->text(), "1600");

    Notify("click", "key_butt_prosave");
    EXPECT_TRUE(RunEventsUntil([&] { return page->keyWrites == 1; }));
}

TEST_F(MainWndRouterTest, TrayClickTogglesTheWindow)
{
    ASSERT_TRUE(Shown());
    Send(UIMSG_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_FALSE(Shown());
    EXPECT_EQ(page->GetWindowHidden(), 1);
    Send(UIMSG_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_TRUE(Shown());
    EXPECT_EQ(page->GetWindowHidden(), 0);
    window.showMinimized();
    Send(UIMSG_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_TRUE(Shown());
}

TEST_F(MainWndRouterTest, WhileSuspendedOnlyDeviceMessagesAreHandled)
{
    Send(WM_POWERBROADCAST, PBT_APMSUSPEND);
    EXPECT_TRUE(window.IsSuspended());
    EXPECT_EQ(page->GetLightingControl(), 0);
    Send(UIMSG_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_TRUE(Shown());
    Send(FindRegisteredMessage("WM_HOOK_KEY_SINGLEKEY_MSG"), 1, 2);
    Send(FindRegisteredMessage("Game_Start"), 1, 2);
    EXPECT_TRUE(page->events.empty());
    Notify("click", "key_butt_prosave");
    ASSERT_TRUE(RunEventsUntil([&] { return !window.IsTimerRunning(CMainWnd::kKeyWriteTimer); }));
    EXPECT_EQ(page->keyWrites, 0);  // the write timer's expiry was ignored
    // The discovery's slot changes are still followed.
    Send(WM_USB_MAINMESS_DEVICE_IS_INITUI, 0);
    EXPECT_TRUE(ErrorLayoutShown());

    Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
    EXPECT_EQ(page->GetLightingControl(), 1);
    Send(UIMSG_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_FALSE(Shown());
    Send(FindRegisteredMessage("Game_Start"), 1, 2);
    ASSERT_EQ(page->events.size(), 1u);
    EXPECT_EQ(page->events[0].feature, PageFeature::GameEvents);
}

TEST_F(MainWndRouterTest, HitKeyCaptureIsIgnored)
{
    Send(FindRegisteredMessage("WM_HOOK_KEY_HITKEY_MSG"), 1, 2);
    EXPECT_TRUE(page->events.empty());
}

// A key typed into the window while a capture is armed, as the window system
// delivers it (X11 key code 38 is A).
static void TypeA(CMainWnd& window)
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent key(type, Qt::Key_A, Qt::NoModifier, 38, 0, 0);
        QCoreApplication::sendEvent(window.windowHandle(), &key);
    }
}

TEST_F(MainWndRouterTest, KeyEditFocusCapturesKeysForTheKeyPanelOnly)
{
    // Other programs may send the capture messages by name: nothing is read.
    Send(FindRegisteredMessage("WM_HOOK_KEY_SINGLEKEY_MSG"), 256, 2);
    EXPECT_TRUE(page->events.empty());

    Send(WM_KEY_HOOK_SWITCH, 1);
    EXPECT_EQ(window.Hook().Mode(), kHookSingleKey);
    page->events.clear();
    TypeA(window);
    ASSERT_EQ(page->events.size(), 2u);
    EXPECT_EQ(page->events[0].feature, PageFeature::Capture);
    EXPECT_EQ(page->events[0].name, "WM_HOOK_KEY_SINGLEKEY_MSG");
    EXPECT_EQ(page->events[1].value, kKeyUpMessage);

    Send(WM_KEY_HOOK_SWITCH, 0);
    EXPECT_FALSE(window.Hook().IsInstalled());
    page->events.clear();
    TypeA(window);
    EXPECT_TRUE(page->events.empty());
}

TEST_F(MainWndRouterTest, MacroCaptureLocksTheInterfaceUntilItEnds)
{
    const auto deviceList = [&] { return window.findChild<QWidget*>("device_select_layout"); };
    ASSERT_NE(deviceList(), nullptr);
    const std::function<void()> endings[] = {
        [&] {
            page->answer = kMacroCaptureEnded;
            Notify("click", "macro_btn_stopredio");
        },
        [&] { window.hide(); },
        [&] {
            QEvent deactivate(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(&window, &deactivate);
        },
        [&] { Send(WM_DEVICE_ENTRY_STATE, 0, 0); },  // the recording page's device is not open
    };
    for (const auto& end : endings) {
        window.show();
        page->answer = kHookMacroBefore;
        page->events.clear();
        page->keyWrites = 0;
        Notify("click", "macro_btn_starredio");
        ASSERT_EQ(window.Hook().Mode(), kHookMacroBefore);
        EXPECT_FALSE(deviceList()->isEnabled());
        TypeA(window);
        ASSERT_EQ(page->events.size(), 3u);
        EXPECT_EQ(page->events[1].feature, PageFeature::Macros);
        EXPECT_EQ(page->events[1].name, "WM_HOOK_KEY_KBMACROPREVIOUS_MSG");
        EXPECT_EQ(page->events[1].value, kKeyDownMessage);

        page->events.clear();
        end();
        EXPECT_FALSE(window.Hook().IsInstalled());
        EXPECT_TRUE(deviceList()->isEnabled());
        // The editor stopped: by its own button, or told by the window.
        ASSERT_FALSE(page->events.empty());
        EXPECT_TRUE(page->events.back().name == "capture_ended" || page->events.back().name == "macro_btn_stopredio");
    }
}

TEST_F(MainWndRouterTest, FirmwareBelow0x106AsksAndDecliningEndsTheProgram)
{
    window.userAnswer = 0;
    Send(WM_DEVICE_FIRMWARE_VERSION, 0, 0x105);
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].titleId, "UpdateTiShi");
    EXPECT_EQ(window.questions[0].text, "UpdateTiShiText");
    EXPECT_TRUE(window.questions[0].withCancel);
    EXPECT_TRUE(window.ended);
    EXPECT_TRUE(window.started.isEmpty());
    EXPECT_TRUE(window.IsNoDeviceShown());
}

TEST_F(MainWndRouterTest, FirmwareUpdateConfirmedStartsTheUpdateProgram)
{
    Send(WM_DEVICE_FIRMWARE_VERSION, 0, 0x105);
    EXPECT_FALSE(window.ended);
    EXPECT_TRUE(page->IsUpdating());
    const QString folder = QString::fromStdString(ResourceFolder(kUpdateFolderName));
    EXPECT_EQ(window.started, (QStringList{folder + kFirmwareUpdateProgram, kFirmwareUpdateArguments, folder}));

    Send(WM_DEVICE_FIRMWARE_VERSION, 0, 0x106);
    EXPECT_FALSE(page->IsUpdating());
    EXPECT_FALSE(window.IsNoDeviceShown());
    EXPECT_EQ(window.questions.size(), 1u);
}

TEST_F(MainWndRouterTest, DataBlocksFillOnlyTheirBuffers)
{
    const QByteArray sound(kSoundDataBytes, '\x11');
    SendCopyData(window.GetHWND(), 0, kSoundDataKind, sound);
    EXPECT_EQ(window.CopyDataBuffer(kSoundDataKind), sound);
    SendCopyData(window.GetHWND(), 0, kSoundDataKind, QByteArray(kSoundDataBytes + 1, '\x22'));
    SendCopyData(window.GetHWND(), 0, kSoundDataKind, QByteArray(16, '\x22'));
    EXPECT_EQ(window.CopyDataBuffer(kSoundDataKind), sound);  // refused, the last good block stays

    SendCopyData(window.GetHWND(), 0, kStyleColorKind, QByteArray(kStyleColorBytes - 1, '\x33'));
    EXPECT_TRUE(window.CopyDataBuffer(kStyleColorKind).isEmpty());
    SendCopyData(window.GetHWND(), 0, kStyleColorKind, QByteArray(100, '\x44'));
    EXPECT_EQ(window.CopyDataBuffer(kStyleColorKind), QByteArray(kStyleColorBytes, '\x44'));
}

TEST_F(MainWndRouterTest, ProfileNamesAreCheckedBeforeTheRename)
{
    auto* edit = new QLineEdit(page);
    edit->setObjectName("device_profile_name_edit");
    struct Case {
        QString name;
        const char* message;  // nullptr: handed to the profile panel
    };
    for (const Case& c : std::initializer_list<Case>{
             {"", "message_text_5_1"},
             {"ABCDEFGHIJKLMNOPQ", "message_text_34"},          // 17 letters
             {QString::fromUtf8("配置文件名称"), "message_text_34"},  // 6 CJK: 18 bytes
             {"fps=1", "message_text_35"},
             {"My Mouse", "message_text_35"},
             {"ABCDEFGHIJKLMNOP", nullptr},  // 16 letters
             {QString::fromUtf8("配置文件名"), nullptr},  // 15 bytes
         }) {
        window.questions.clear();
        page->events.clear();
        edit->setText(c.name);
        Notify("click", "device_profile_edit_save_btn");
        if (c.message) {
            ASSERT_EQ(window.questions.size(), 1u) << c.name.toStdString();
            EXPECT_EQ(window.questions[0].text, c.message) << c.name.toStdString();
            EXPECT_TRUE(page->events.empty());
        } else {
            ASSERT_EQ(page->events.size(), 1u) << c.name.toStdString();
            EXPECT_EQ(page->events[0].text, c.name);
            EXPECT_TRUE(window.questions.empty());  // the panel answered 1: renamed
        }
    }
}

TEST_F(MainWndRouterTest, ProfileImportHandsTheFileToThePanelAndTellsItsAnswer)
{
    window.chosenFile.clear();  // the dialog was cancelled
    Notify("click", "device_import_btn");
    EXPECT_TRUE(page->events.empty());

    window.chosenFile = home.filePath("game.json");
    struct Case {
        int answer;
        const char* message;  // nullptr: none
    };
    for (const Case& c : std::initializer_list<Case>{
             {0, nullptr},  // no profile panel answered
             {ProfileCommandAnswer(ProfileResult::Done), "message_text_32"},
             {ProfileCommandAnswer(ProfileResult::ListFull), "message_profile_list_full"},
             {ProfileCommandAnswer(ProfileResult::NotAProfile), "message_profile_not_a_profile"},
             {ProfileCommandAnswer(ProfileResult::NameTooLong), "message_text_34"},
         }) {
        window.questions.clear();
        page->events.clear();
        page->answer = c.answer;
        Notify("click", "device_import_btn");
        ASSERT_EQ(page->events.size(), 1u);
        EXPECT_EQ(page->events[0].text, window.chosenFile);
        if (c.message) {
            ASSERT_EQ(window.questions.size(), 1u) << c.answer;
            EXPECT_EQ(window.questions[0].text, c.message);
        } else {
            EXPECT_TRUE(window.questions.empty()) << c.answer;
        }
    }
}

TEST_F(MainWndRouterTest, ProfileCommandsAskFirst)
{
    window.userAnswer = 0;
    Notify("click", "device_sub_btn");
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].text, "message_text_30");
    EXPECT_TRUE(page->events.empty());

    window.userAnswer = 1;
    Notify("click", "device_add_btn");
    ASSERT_EQ(page->events.size(), 1u);
    EXPECT_EQ(page->events[0].name, "device_add_btn");

    window.questions.clear();
    window.userAnswer = 0;
    Notify("click", "device_reset_btn");
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].text, "message_text_22");
    EXPECT_EQ(page->events.size(), 1u);
}

TEST_F(MainWndRouterTest, LongMacroFileNamesAreRefused)
{
    window.chosenFile = home.filePath("fifteen_chars.mac");
    Notify("click", "macro_btn_import");
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].text, "message_text_37");
    EXPECT_TRUE(page->events.empty());
    window.chosenFile = home.filePath("short.mac");
    Notify("click", "macro_btn_import");
    EXPECT_EQ(page->events.size(), 1u);
}

TEST_F(MainWndRouterTest, WorkToolGetsTheStatusBlock)
{
    class StatusTool : public WindowImplBase {
    public:
        QByteArray block;
        std::uintptr_t kind = 0;

    protected:
        QString GetSkinFile() override { return QString(); }
        QString GetWindowClassName() const override { return "WorkTool"; }
        LRESULT HandleMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) override
        {
            handled = message == WM_COPYDATA;
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (handled && data->dwData == kWorkToolStatusKind) {
                kind = data->dwData;
                block = QByteArray(static_cast<const char*>(data->lpData), data->cbData);
            }
            return 0;
        }
    } tool;
    tool.Create(nullptr, "WorkTool");
    Send(UWM_WORKTOOL_QUERY_MSG);  // nobody listens yet: skipped
    CMessageServer server;
    ASSERT_TRUE(server.Listen("WorkTool"));
    Send(UWM_WORKTOOL_QUERY_MSG);
    EXPECT_TRUE(RunEventsUntil([&] { return !tool.block.isEmpty(); }));
    EXPECT_EQ(tool.block, WorkToolStatusBlock());
}

TEST_F(MainWndRouterTest, OtherProgramsMessagesWithAnyParametersAreHarmless)
{
    const QStringList names = {kProductTitle,          kSetWndRelayMessageName, kLightClaimMessageName,
                               kLightStateMessageName, kWorkToolQueryMessageName, kAudioCtrlMessageName,
                               "WM_HOOK_KEY_SINGLEKEY_MSG", "WM_HOOK_KEY_MSMACRO_MSG", "Game_Kill"};
    const std::pair<WPARAM, LPARAM> parameters[] = {{0, 0}, {1, 2}, {1, -1}, {~WPARAM{0}, 0x7fffffff}};
    for (const QString& name : names) {
        const UINT message = FindRegisteredMessage(name);
        ASSERT_NE(message, 0u) << name.toStdString();
        for (const auto& [wParam, lParam] : parameters) {
            Send(message, wParam, lParam);
            SendWindowMessageData(window.GetHWND(), message, wParam, static_cast<std::uintptr_t>(lParam),
                                  QByteArray(3, '\xff'));
        }
    }
    for (const auto& [kind, size] : std::initializer_list<std::pair<std::uintptr_t, int>>{
             {1, 0}, {1, 7}, {2, 1}, {~std::uintptr_t{0}, 5000}}) {
        SendCopyData(window.GetHWND(), 0, kind, QByteArray(size, '\x7f'));
    }
    Send(WM_COPYDATA, 0, 0);  // no data record at all
    EXPECT_FALSE(window.IsClosed());
    EXPECT_TRUE(window.CopyDataBuffer(kSoundDataKind).isEmpty());
}

TEST_F(MainWndRouterTest, ActivityAndLightingOwnershipReachThePages)
{
    Send(WM_ACTIVATE, 1);
    EXPECT_EQ(page->GetWindowActive(), 1);
    Send(WM_ACTIVATE, 0);
    EXPECT_EQ(page->GetWindowActive(), 0);
    Send(WM_MOUSEHOVER);
    EXPECT_EQ(page->GetWindowActive(), 1);

    struct Case {
        WPARAM wParam;
        LPARAM lParam;
        int lighting;  // the flag afterwards
    };
    for (const Case& c : std::initializer_list<Case>{
             {1, 0, 0}, {1, 1, 1}, {0, 0, 1}, {1, 5, 1}, {1, 0, 0}, {2, 1, 0}}) {
        Send(UWM_LIGHT_STATE_MSG, c.wParam, c.lParam);
        EXPECT_EQ(window.GetLightingControl(), c.lighting) << c.wParam << "," << c.lParam;
        EXPECT_EQ(page->GetLightingControl(), c.lighting);
    }
}

TEST_F(MainWndRouterTest, DeviceDataCheckShowsAndHidesTheNotReadyLayout)
{
    Send(WM_USB_MAINMESS_DEVICE_IS_INITUI, 0);
    EXPECT_TRUE(ErrorLayoutShown());
    Send(WM_USB_MAINMESS_DEVICE_IS_INITUI, 1);
    EXPECT_FALSE(ErrorLayoutShown());
}
