#include "app/set_wnd.h"

#include "app/main_messages.h"
#include "app/registered_messages.h"
#include "platform/folders.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Stands for the main window: keeps the language messages it gets.
class OwnerWnd : public CDialogWnd {
public:
    QList<WPARAM> languages;

protected:
    QString GetSkinFile() override { return QStringLiteral("AboutWnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("Owner"); }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override
    {
        if (uMsg == WM_LANGUAGE_CHANGED)
            languages.append(wParam);
        return CDialogWnd::HandleMessage(uMsg, wParam, lParam, bHandled);
    }
};

UpdateRecord Offered()
{
    UpdateRecord record;
    record.state = UpdateState::Offered;
    record.name = QStringLiteral("ms_device_name_text");
    record.currentVersion = QStringLiteral("V0105");
    record.offeredVersion = QStringLiteral("V0107");
    return record;
}

}  // namespace

class SetWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        RegisterProcessMessages();
        ASSERT_TRUE(owner.Create(nullptr, QStringLiteral("owner")));
    }
    void WhileOpen(std::vector<UpdateRecord> records, const std::function<void(CSetWnd&)>& inside)
    {
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<CSetWnd*>(settings.data());
            ASSERT_TRUE(window);
            inside(*window);
            window->findChild<QPushButton*>("closebtn")->click();
        });
        ShowSettingsWindow(&owner, 96, 1, std::move(records), true, settings);
    }

    OwnerWnd owner;
    QPointer<WindowImplBase> settings;
};

TEST_F(SetWndTest, ChoosingALanguageTellsTheMainWindowAtOnce)
{
    WhileOpen({}, [&](CSetWnd& window) {
        auto* combo = window.findChild<QComboBox*>("Language_combox_info");
        ASSERT_GT(combo->count(), 2);
        EXPECT_EQ(combo->currentIndex(), 1);
        combo->setCurrentIndex(2);
        QCoreApplication::processEvents();
    });
    EXPECT_EQ(owner.languages, QList<WPARAM>{2});
}

TEST_F(SetWndTest, AnItemOnItsWayKeepsTheWindowOpenUntilTheUpdateProgramReportsItDone)
{
    WhileOpen({Offered()}, [&](CSetWnd& window) {
        auto* update = window.findChild<QPushButton*>("update_fw_and_ap");
        EXPECT_FALSE(update->isEnabled()) << "nothing checked";
        window.findChild<QCheckBox*>("check_name_select")->click();
        EXPECT_TRUE(update->isEnabled());
        window.findChild<QPushButton*>("update_OK_btn")->click();
        EXPECT_EQ(window.Items().Records()[0].state, UpdateState::Queued);

        window.close();
        EXPECT_FALSE(window.IsClosed());
        SendWindowMessage(window.GetHWND(), UWM_SETWND_RELAY_MSG, CUpdateItems::kRelayFinished, 0);
        EXPECT_EQ(window.Items().Records()[0].currentVersion, QStringLiteral("V0107"));
    });
    EXPECT_TRUE(!settings || settings->IsClosed());
}
