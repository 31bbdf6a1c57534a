// Notifications: what each kind of control raises, and where it goes.
#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

class NotifyTest : public ::testing::Test {
public:
    void SetUp() override
    {
        UseTestSkin();
        ASSERT_TRUE(window.Create(nullptr, QStringLiteral("test")));
        window.notifies.clear();
    }

    template <class T>
    T* Control(const char* name)
    {
        T* widget = window.FindControl(QString::fromLatin1(name)).As<T>();
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    TestWindow window;
};

TEST_F(NotifyTest, ClickReachesNotifyWithTypeAndSender)
{
    Control<QPushButton>("closebtn")->click();
    ASSERT_EQ(window.notifies.size(), 1u);
    EXPECT_EQ(window.notifies[0].type, QStringLiteral("click"));
    EXPECT_EQ(window.notifies[0].sender, QStringLiteral("closebtn"));
}

TEST_F(NotifyTest, UserActionsRaiseTheirTypes)
{
    struct Case {
        const char* sender;
        std::function<void(NotifyTest&)> act;
        std::vector<QString> types;
        WPARAM wParam;  // of the last notification
        LPARAM lParam;
    };
    const std::vector<Case> cases = {
        {"DPI_enable_check_2", [](NotifyTest& t) { t.Control<QCheckBox>("DPI_enable_check_2")->click(); },
         {"selectchanged", "click"}, 0, 0},
        {"device_sleep1_combo", [](NotifyTest& t) { t.Control<QComboBox>("device_sleep1_combo")->setCurrentIndex(2); },
         {"itemselect"}, 2, 0},
        {"DPI_slider_3", [](NotifyTest& t) { t.Control<QSlider>("DPI_slider_3")->triggerAction(QAbstractSlider::SliderPageStepAdd); },
         {"valuechanged"}, 10, 0},
        {"kelvo_DPI_edit_3", [](NotifyTest& t) {
             QLineEdit* edit = t.Control<QLineEdit>("kelvo_DPI_edit_3");
             edit->insert(QStringLiteral("800"));  // as typing does
             emit edit->returnPressed();
         },
         {"textchanged", "return"}, 0, 0},
    };
    for (const Case& c : cases) {
        window.notifies.clear();
        c.act(*this);
        const QString sender = QString::fromLatin1(c.sender);
        EXPECT_EQ(window.TypesFrom(sender), c.types) << c.sender;
        ASSERT_FALSE(window.notifies.empty()) << c.sender;
        EXPECT_EQ(window.notifies.back().wParam, c.wParam) << c.sender;
        EXPECT_EQ(window.notifies.back().lParam, c.lParam) << c.sender;
    }
}

TEST_F(NotifyTest, SliderDragRaisesMovingValuesThenTheFinalOne)
{
    QSlider* slider = Control<QSlider>("DPI_slider_3");
    slider->setSliderDown(true);
    slider->setSliderPosition(40);
    slider->setSliderDown(false);
    EXPECT_EQ(window.TypesFrom(QStringLiteral("DPI_slider_3")),
              (std::vector<QString>{"movevaluechanged", "valuechanged"}));
    EXPECT_EQ(window.notifies.back().wParam, 40u);
}

TEST_F(NotifyTest, ListRaisesSelectionClickAndCheck)
{
    CControlUI list = window.FindControl(QStringLiteral("macro_name_list"));
    list.AddItem(QStringLiteral("first"));
    list.AddItem(QStringLiteral("second"));
    auto* widget = list.As<QListWidget>();
    QListWidgetItem* second = widget->item(1);
    second->setFlags(second->flags() | Qt::ItemIsUserCheckable);
    second->setCheckState(Qt::Unchecked);
    window.notifies.clear();

    widget->setCurrentRow(1);
    emit widget->itemClicked(second);
    second->setCheckState(Qt::Checked);
    second->setText(QStringLiteral("renamed"));  // no new check state: nothing
    EXPECT_EQ(window.TypesFrom(QStringLiteral("macro_name_list")),
              (std::vector<QString>{"itemselect", "itemclick", "checkclick"}));
    EXPECT_EQ(window.notifies.back().wParam, 1u);
    EXPECT_EQ(window.notifies.back().lParam, 1);
}

TEST_F(NotifyTest, SettersNotifyOnlyWhenAskedTo)
{
    CControlUI check = window.FindControl(QStringLiteral("DPI_enable_check_2"));
    CControlUI combo = window.FindControl(QStringLiteral("device_sleep1_combo"));
    check.SetSelected(true, false);
    combo.SelectItem(1, false);
    window.FindControl(QStringLiteral("DPI_slider_3")).SetValue(30);
    window.FindControl(QStringLiteral("kelvo_DPI_edit_3")).SetText(QStringLiteral("400"));
    EXPECT_TRUE(window.notifies.empty());

    check.SetSelected(false);
    combo.SelectItem(2);
    EXPECT_EQ(window.TypesFrom(QStringLiteral("DPI_enable_check_2")), std::vector<QString>{"selectchanged"});
    ASSERT_EQ(window.TypesFrom(QStringLiteral("device_sleep1_combo")), std::vector<QString>{"itemselect"});
    EXPECT_EQ(window.notifies.back().wParam, 2u);
    EXPECT_EQ(window.notifies.back().lParam, 1);  // the silent selection counts as the old one
}

TEST(NotifyWindowTest, WindowInitArrivesOnceFromTheRoot)
{
    UseTestSkin();
    TestWindow window;
    ASSERT_TRUE(window.Create(nullptr, QStringLiteral("test")));
    EXPECT_TRUE(window.TypesFrom(QStringLiteral("root")).empty());  // not before the loop runs
    RunEventsUntil([] { return false; }, 20);
    EXPECT_EQ(window.TypesFrom(QStringLiteral("root")), std::vector<QString>{"windowinit"});
}

TEST_F(NotifyTest, EditRaisesSetFocusAndKillFocus)
{
    window.show();
    window.activateWindow();
    RunEventsUntil([&] { return window.isActiveWindow(); }, 500);
    QLineEdit* edit = Control<QLineEdit>("kelvo_DPI_edit_3");
    edit->setFocus();
    Control<QPushButton>("closebtn")->setFocus();
    EXPECT_EQ(window.TypesFrom(QStringLiteral("kelvo_DPI_edit_3")), (std::vector<QString>{"setfocus", "killfocus"}));
}

TEST_F(NotifyTest, ResizeRaisesWindowSizeFromTheRoot)
{
    window.show();
    window.resize(500, 420);
    RunEventsUntil([&] { return !window.TypesFrom(QStringLiteral("root")).empty(); }, 200);
    const std::vector<QString> types = window.TypesFrom(QStringLiteral("root"));
    EXPECT_NE(std::find(types.begin(), types.end(), QStringLiteral("windowsize")), types.end());
}

class PageRecorder : public CNotifyPump {
public:
    std::vector<QString> senders;

protected:
    void OnPumpNotify(TNotifyUI& msg) override { senders.push_back(msg.SenderName()); }
};

TEST_F(NotifyTest, VirtualWindowGetsItsSubPageEventsAfterTheWindow)
{
    PageRecorder page;
    ASSERT_TRUE(window.AddVirtualWnd(QStringLiteral("devicepage"), &page));
    EXPECT_FALSE(window.AddVirtualWnd(QStringLiteral("devicepage"), &page));
    Control<QPushButton>("page_btn")->click();
    Control<QPushButton>("closebtn")->click();
    EXPECT_EQ(page.senders, std::vector<QString>{"page_btn"});
    EXPECT_EQ(window.TypesFrom(QStringLiteral("page_btn")), std::vector<QString>{"click"});

    ASSERT_TRUE(window.RemoveVirtualWnd(QStringLiteral("devicepage")));
    Control<QPushButton>("page_btn")->click();
    EXPECT_EQ(page.senders.size(), 1u);
}

class CountingNotifier : public INotifyUI {
public:
    int count = 0;
    void Notify(TNotifyUI&) override { ++count; }
};

TEST_F(NotifyTest, AddedNotifiersHearEverything)
{
    CountingNotifier extra;
    window.AddNotifier(&extra);
    window.AddNotifier(&extra);
    Control<QPushButton>("closebtn")->click();
    EXPECT_EQ(extra.count, 1);
    window.RemoveNotifier(&extra);
    Control<QPushButton>("closebtn")->click();
    EXPECT_EQ(extra.count, 1);
}

TEST_F(NotifyTest, ControlsOutsideAnyWindowAndClosedWindowsHearNothing)
{
    QPushButton loose(QStringLiteral("loose"));
    EXPECT_FALSE(SendNotify(&loose, QStringLiteral("click")));

    QPushButton* close = Control<QPushButton>("closebtn");
    window.Close();
    close->click();
    EXPECT_TRUE(window.TypesFrom(QStringLiteral("closebtn")).empty());
}

TEST_F(NotifyTest, AsyncNotifyArrivesOnTheNextTurn)
{
    QPushButton* close = Control<QPushButton>("closebtn");
    ASSERT_TRUE(SendNotify(close, QStringLiteral("custom"), 7, 8, true));
    EXPECT_TRUE(window.TypesFrom(QStringLiteral("closebtn")).empty());
    EXPECT_TRUE(RunEventsUntil([&] { return !window.TypesFrom(QStringLiteral("closebtn")).empty(); }));
    EXPECT_EQ(window.TypesFrom(QStringLiteral("closebtn")), std::vector<QString>{"custom"});
    EXPECT_EQ(window.notifies.back().wParam, 7u);
}
