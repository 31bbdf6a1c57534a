// kestrova-preview: one of the program's windows as the program shows it,
// in a language of the catalogue, without devices. For translators checking
// their texts and for the screenshots of the documentation.

#include "app/about_wnd.h"
#include "app/msg_wnd.h"
#include "app/set_wnd.h"
#include "panels/light_control_ui.h"
#include "panels/shoot_control_ui.h"
#include "platform/folders.h"
#include "services/color_select_wnd.h"
#include "services/interface_language.h"
#include "services/skin_frame.h"
#include "ui/app_style.h"
#include "ui/ui_init.h"

#include <QApplication>
#include <QFrame>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: kestrova-preview main|skin|message|about|settings|color|lighting|recoil [LANGUAGE-INDEX]\n"
    "  shows the main window's layout, with the skin window, a message box, the\n"
    "  about or the settings window, the colour picker, or the lighting or recoil\n"
    "  panel over it, in the language of that index of Language.config (default 1);\n"
    "  closing the main layout ends it\n";
constexpr std::array<const char*, 8> kWindows = {"main",     "skin",  "message",  "about",
                                                 "settings", "color", "lighting", "recoil"};

class CLayoutPreview : public WindowImplBase {
protected:
    QString GetSkinFile() override { return QStringLiteral("XML_MAIN"); }
    QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }
    void InitWindow() override { setWindowFlag(Qt::FramelessWindowHint); }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override
    {
        if (uMsg == WM_DESTROY)
            QCoreApplication::quit();
        return WindowImplBase::HandleMessage(uMsg, wParam, lParam, bHandled);
    }
};

// A mouse whose firmware the update program could replace, and the program.
std::vector<UpdateRecord> SampleUpdateRows()
{
    UpdateRecord mouse;
    mouse.state = UpdateState::Offered;
    mouse.name = QStringLiteral("ms_device_name_text");
    mouse.currentVersion = FirmwareVersionText(0x105);
    mouse.offeredVersion = FirmwareVersionText(0x106);
    UpdateRecord program;
    program.name = QStringLiteral("app_device_name_text");
    program.currentVersion = QStringLiteral("V0101");
    return {mouse, program};
}

// A panel on its own, in a framed popup over the main layout (no page: it
// shows its layout as a page would first show it).
void ShowPanel(CLayoutPreview& main, QWidget* panel)
{
    auto* frame = new QFrame(&main, Qt::Tool | Qt::FramelessWindowHint);
    frame->setObjectName(QStringLiteral("root"));
    frame->setAttribute(Qt::WA_StyledBackground);
    auto* box = new QVBoxLayout(frame);
    box->setContentsMargins(24, 24, 24, 24);
    box->addWidget(panel);
    frame->adjustSize();
    frame->move(main.geometry().center() - frame->rect().center());
    frame->show();
}

void OpenOver(CLayoutPreview& main, const char* window, int language)
{
    if (std::strcmp(window, "skin") == 0) {
        CSkinFrame::Open(&main, main.FindControl("skinbtn").Widget(), [](QWidget*) { return QString(); });
    } else if (std::strcmp(window, "message") == 0) {
        ShowMessageBox(&main, "UpdateTiShi", "UpdateTiShiText", main.GetDPI(), true, true);
    } else if (std::strcmp(window, "about") == 0) {
        static QPointer<WindowImplBase> about;
        ShowAboutWindow(&main, main.GetDPI(), about);
    } else if (std::strcmp(window, "settings") == 0) {
        static QPointer<WindowImplBase> settings;
        ShowSettingsWindow(&main, main.GetDPI(), language, SampleUpdateRows(), true, settings);
    } else if (std::strcmp(window, "color") == 0) {
        static QPointer<WindowImplBase> picker;
        PickStageColor(&main, main.GetDPI(), 0xFFFF2D47, picker);
    } else if (std::strcmp(window, "lighting") == 0 || std::strcmp(window, "recoil") == 0) {
        ShowPanel(main, std::strcmp(window, "lighting") == 0 ? static_cast<QWidget*>(new CLightControlUI)
                                                             : new CShootControlUI);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const char* window = argc > 1 ? argv[1] : "";
    const bool known =
        std::any_of(kWindows.begin(), kWindows.end(), [window](const char* name) { return std::strcmp(window, name) == 0; });
    if (!known || argc > 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QApplication app(argc, argv);
    PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName)));
    ApplyBaseStyle(app);
    CInterfaceLanguage language;
    language.LoadFirstLanguage();
    const int languageIndex = argc > 2 ? std::atoi(argv[2]) : 1;
    language.Apply(languageIndex);

    CLayoutPreview main;
    main.Create(nullptr, QStringLiteral("Kestrova preview"));
    main.CenterWindow();
    main.ShowWindow(true);
    QTimer::singleShot(300, &main, [&main, window, languageIndex] { OpenOver(main, window, languageIndex); });
    return app.exec();
}
