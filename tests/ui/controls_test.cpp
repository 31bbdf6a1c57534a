// The program's own controls: built from layouts by class name, the key
// selection by dragging, and the geometry of what they draw.
#include "ui_test_support.h"

#include "ui/controls/chart_view.h"
#include "ui/controls/combo_edit_element.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/image_buttons.h"
#include "ui/controls/meters.h"
#include "ui/controls/select_panel.h"
#include "ui/controls/wnd_ui.h"
#include "ui/image_string.h"

#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <thread>

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint point, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, point, widget->mapToGlobal(point), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

void Drag(QWidget* widget, QPoint from, QPoint to)
{
    SendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

}  // namespace

TEST(ControlRegistrationTest, EveryControlIsBuiltByFullAndShortName)
{
    UseTestSkin();
    const char* const names[][2] = {
        {"CCircleProgressUI", "CircleProgress"},
        {"CChartViewUI", "ChartView"},
        {"CWndUI", "Wnd"},
        {"CSelectPanelUI", "SelectPanel"},
        {"CDeviceKeyButtonUI", "DeviceKeyButton"},
        {"CHandImgButtonUI", "HandImgButton"},
        {"CHandImgSelectButtonUI", "HandImgSelectButton"},
        {"CRedioMacroButtonUI", "RedioMacroButton"},
        {"CAudioRecordUI", "AudioRecord"},
        {"CComboEditContainerElementUI", "ComboEditContainerElement"},
    };
    for (const auto& [full, shortName] : names) {
        for (const char* name : {full, shortName}) {
            std::unique_ptr<QWidget> control(CControlFactory::GetInstance().CreateControl(name, nullptr));
            ASSERT_NE(control, nullptr) << name;
            EXPECT_EQ(QString(control->metaObject()->className()), QString(full)) << name;
        }
    }
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestSkin();
        ASSERT_TRUE(window.Create(nullptr, QStringLiteral("controls")));
        RunEventsUntil([] { return false; }, 5);  // let "windowinit" pass
        window.notifies.clear();
        panel = window.FindControl("SelectPanel").As<CSelectPanelUI>();
        ASSERT_NE(panel, nullptr);
        for (const char* name : {"key_1", "key_2", "key_3"}) {
            keys.push_back(window.FindControl(name).As<CDeviceKeyButtonUI>());
            ASSERT_NE(keys.back(), nullptr) << name;
        }
    }

    std::vector<bool> Framed() const
    {
        std::vector<bool> framed;
        for (const CDeviceKeyButtonUI* key : keys)
            framed.push_back(key->IsDragSelected());
        return framed;
    }

    TestWindow window{QStringLiteral("XML_TEST_CONTROLS")};
    CSelectPanelUI* panel = nullptr;
    std::vector<CDeviceKeyButtonUI*> keys;  // key_1 at (20,20) 40x30, key_2 at (200,120), key_3 hidden at (100,60)
};

TEST_F(ControlsTest, LayoutAttributesReachTheControls)
{
    EXPECT_EQ(keys[0]->GetLightImage(), "file='light.png' fade='200'");
    EXPECT_EQ(keys[0]->GetKeysetImage(), "keyset.png") << "attribute names compare without case";
    const auto* chart = window.FindControl("chart").As<CChartViewUI>();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->GetView(), CChartViewUI::View::Histogram);
    EXPECT_NE(window.FindControl("ring").As<CCircleProgressUI>(), nullptr);
}

TEST_F(ControlsTest, DragMarksTheKeysItFramesInAnyDirection)
{
    struct Case {
        const char* what;
        QPoint from;
        QPoint to;
        std::vector<bool> framed;
    };
    const Case cases[] = {
        {"down and right over key 1", {5, 5}, {30, 30}, {true, false, false}},
        {"up and left over key 1", {30, 30}, {5, 5}, {true, false, false}},
        {"up and left over both, hidden key left out", {290, 190}, {10, 10}, {true, true, false}},
        {"straight down along key 2's column", {210, 100}, {210, 199}, {false, true, false}},
        {"over nothing clears the marks", {270, 5}, {290, 20}, {false, false, false}},
    };
    for (const Case& test : cases) {
        window.notifies.clear();
        Drag(panel, test.from, test.to);
        EXPECT_EQ(Framed(), test.framed) << test.what;
        EXPECT_EQ(window.TypesFrom("SelectPanel"), std::vector<QString>{"click_select_end"}) << test.what;
    }
}

TEST_F(ControlsTest, ClickWithoutMovementChangesNothingAndSaysNothing)
{
    Drag(panel, {290, 190}, {10, 10});
    window.notifies.clear();
    SendMouse(panel, QEvent::MouseButtonPress, {150, 180}, Qt::LeftButton);
    SendMouse(panel, QEvent::MouseMove, {150, 180}, Qt::LeftButton);
    SendMouse(panel, QEvent::MouseButtonRelease, {150, 180}, Qt::NoButton);
    EXPECT_EQ(Framed(), (std::vector<bool>{true, true, false}));
    EXPECT_TRUE(window.TypesFrom("SelectPanel").empty());

    panel->setEnabled(false);
    Drag(panel, {5, 5}, {290, 190});
    EXPECT_EQ(Framed(), (std::vector<bool>{true, true, false})) << "a disabled panel does not select";
}

TEST_F(ControlsTest, KeyDoubleClickRaisesDbclickWhileEnabled)
{
    SendMouse(keys[0], QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton);
    EXPECT_EQ(window.TypesFrom("key_1"), std::vector<QString>{"dbclick"});
    SendMouse(keys[0], QEvent::MouseButtonRelease, {5, 5}, Qt::NoButton);
    window.notifies.clear();
    keys[0]->setEnabled(false);
    SendMouse(keys[0], QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton);
    EXPECT_TRUE(window.TypesFrom("key_1").empty());
}

TEST_F(ControlsTest, KeyLightFromAWorkerArrivesOnTheUiThread)
{
    CDeviceKeyButtonUI* key = keys[1];
    std::thread worker([key] { key->SetKeyLight(0xFF00FF00, 120, true); });
    worker.join();
    EXPECT_FALSE(key->IsLightShown()) << "not touched from the worker";
    EXPECT_TRUE(RunEventsUntil([key] { return key->IsLightShown(); }));
    EXPECT_EQ(key->GetLightColor(), 0xFF00FF00u);
    EXPECT_EQ(key->GetLightLevel(), 120);
}

TEST(CircleProgressTest, RingSweepsItsShareOfTheRange)
{
    struct Case {
        int value, minimum, maximum, degrees;
    };
    const Case cases[] = {
        {50, 0, 100, 180}, {50, 20, 120, 180}, {0, 0, 100, 0},  {100, 0, 100, 360}, {1, 0, 3, 120},
        {7, 5, 5, 0},      {3, 5, 2, 0},       {200, 0, 100, 360}, {-10, 0, 100, 0},
    };
    for (const Case& test : cases)
        EXPECT_EQ(RingSweepDegrees(test.value, test.minimum, test.maximum), test.degrees)
            << test.value << " in " << test.minimum << ".." << test.maximum;
}

TEST(AudioRecordTest, WaveformStaysInsideTheControl)
{
    const QRect area(10, 20, 2000, 100);
    std::vector<int> samples(600, kWaveFullScale / 2);
    samples[0] = kWaveFullScale;
    samples[1] = 0;
    samples[2] = kWaveFullScale * 4;  // beyond the scale
    samples[3] = -50;
    const std::vector<QLine> lines = WaveformLines(area, samples);
    ASSERT_EQ(lines.size(), size_t(kWaveSampleCount)) << "at most 500 lines";
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].x1(), area.left() + 2 * int(i));
        EXPECT_EQ(lines[i].x2(), lines[i].x1());
        EXPECT_TRUE(area.contains(lines[i].p1()) && area.contains(lines[i].p2())) << i;
        EXPECT_EQ(lines[i].y2(), area.bottom());
    }
    EXPECT_EQ(lines[0].y1(), area.top()) << "full scale reaches the top";
    EXPECT_EQ(lines[1].y1(), area.bottom()) << "silence is one pixel";
    EXPECT_EQ(lines[2].y1(), area.top());
    EXPECT_EQ(lines[3].y1(), area.bottom());
    EXPECT_EQ(lines[4].y1(), area.top() + 50);

    EXPECT_EQ(WaveformLines(QRect(0, 0, 9, 10), samples).size(), 5u) << "a narrow control stops early";
    EXPECT_TRUE(WaveformLines(QRect(0, 0, 0, 10), samples).empty());

    CAudioRecordUI record;
    EXPECT_EQ(record.GetSamples()[0], 0);
    EXPECT_EQ(record.GetSamples()[255], 255);
    EXPECT_EQ(record.GetSamples()[256], 0);
    record.SetSamples({-1, 9000, 7});
    EXPECT_EQ(record.GetSamples()[0], 0);
    EXPECT_EQ(record.GetSamples()[1], kWaveFullScale);
    EXPECT_EQ(record.GetSamples()[2], 7);
}

TEST(ChartViewTest, NothingToScaleByDrawsNothing)
{
    const QRect area(0, 0, 200, 100);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(PieSlices({}).empty());
    EXPECT_TRUE(PieSlices({{"a", 0}, {"b", 0}}).empty()) << "total 0";
    EXPECT_TRUE(PieSlices({{"a", -3}, {"b", nan}}).empty());
    EXPECT_TRUE(HistogramBars(area, {{"a", 5}}, 0).empty()) << "pillar width 0";
    EXPECT_TRUE(HistogramBars(area, {{"a", 0}, {"b", -2}}, 10).empty()) << "largest value 0";

    CChartViewUI chart;
    chart.resize(200, 100);
    chart.AddItem("a", 0);
    chart.SetAttribute("view", "histpgram");
    EXPECT_FALSE(chart.grab().isNull());
    chart.SetAttribute("view", "pie");
    EXPECT_FALSE(chart.grab().isNull());
}

TEST(ChartViewTest, SharesFollowTheValues)
{
    const std::vector<TPieSlice> slices = PieSlices({{"a", 1}, {"b", -5}, {"c", 3}});
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_DOUBLE_EQ(slices[0].sweepDegrees, 90);
    EXPECT_DOUBLE_EQ(slices[1].sweepDegrees, 0) << "a negative value has no share";
    EXPECT_DOUBLE_EQ(slices[2].startDegrees, 90);
    EXPECT_DOUBLE_EQ(slices[2].sweepDegrees, 270);

    const QRect area(0, 0, 200, 100);
    const std::vector<QRect> bars = HistogramBars(area, {{"a", 4}, {"b", 2}}, 20);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0], QRect(20, 0, 20, 100)) << "gap of 2 * (200 / 20)";
    EXPECT_EQ(bars[1], QRect(60, 50, 20, 50));

    const std::vector<TChartItem> four = {{"a", 1}, {"b", 1}, {"c", 1}, {"d", 1}};
    EXPECT_EQ(HistogramBars(area, four, 90).size(), 3u) << "bars starting past the right edge are left out";
    const std::vector<QRect> wide = HistogramBars(area, four, std::numeric_limits<int>::max());
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].width(), area.width());
}

TEST(HandImgSelectButtonTest, PanningKeepsTheWindowInsideThePicture)
{
    const QSize picture(400, 300);
    struct Case {
        const char* what;
        QRect window;
        QPoint delta;
        QRect panned;
    };
    const Case cases[] = {
        {"mouse left moves the window right", {0, 0, 100, 100}, {-30, 0}, {30, 0, 100, 100}},
        {"mouse up moves it down", {0, 0, 100, 100}, {0, -40}, {0, 40, 100, 100}},
        {"not past the left edge", {10, 0, 100, 100}, {30, 0}, {0, 0, 100, 100}},
        {"not past the right edge", {280, 0, 100, 100}, {-50, 0}, {300, 0, 100, 100}},
        {"not past the bottom", {0, 190, 100, 100}, {0, -50}, {0, 200, 100, 100}},
        {"a picture smaller than the window stays", {0, 0, 500, 400}, {-30, 20}, {0, 0, 500, 400}},
    };
    for (const Case& test : cases)
        EXPECT_EQ(PanSourceWindow(test.window, test.delta, picture), test.panned) << test.what;
}

TEST(HandImgSelectButtonTest, DraggingPansOnlyAPictureLargerThanTheButton)
{
    QTemporaryDir folder;
    const QString large = folder.filePath("large.png");
    const QString small = folder.filePath("small.png");
    ASSERT_TRUE(QImage(400, 300, QImage::Format_RGB32).save(large));
    ASSERT_TRUE(QImage(50, 40, QImage::Format_RGB32).save(small));

    CHandImgSelectButtonUI button;
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    button.resize(100, 80);
    button.setProperty("handimage", large);
    EXPECT_EQ(ParseImageString(button.GetDrawnImage()).source, QRect(0, 0, 100, 80));
    Drag(&button, {60, 40}, {30, 30});
    EXPECT_EQ(ParseImageString(button.GetDrawnImage()).source, QRect(30, 10, 100, 80));

    button.setProperty("handimage", small);
    const QString before = button.GetDrawnImage();
    EXPECT_EQ(before, small);
    Drag(&button, {60, 40}, {10, 10});
    EXPECT_EQ(button.GetDrawnImage(), before);
    EXPECT_EQ(clicks, 0) << "panning is no click";
}

TEST(RedioMacroButtonTest, BlinkFadesBetween80And255)
{
    struct Case {
        TBlinkFade from;
        TBlinkFade to;
    };
    const Case cases[] = {
        {{255, false}, {235, false}}, {{95, false}, {80, true}},   {{100, false}, {80, true}},
        {{80, true}, {100, true}},    {{240, true}, {255, false}}, {{235, true}, {255, false}},
    };
    for (const Case& test : cases) {
        const TBlinkFade next = NextBlinkFade(test.from);
        EXPECT_EQ(next.level, test.to.level) << test.from.level;
        EXPECT_EQ(next.rising, test.to.rising) << test.from.level;
    }

    CRedioMacroButtonUI button;
    button.SetAttribute("redioimage", "rec.png");
    button.SetKeepBlinking(true);
    EXPECT_TRUE(RunEventsUntil([&] { return button.GetFadeLevel() < 255; }));
    button.SetKeepBlinking(false);
    EXPECT_EQ(button.GetFadeLevel(), 255);
}

TEST(CursorAttributeTest, NamesTheSystemCursors)
{
    EXPECT_EQ(CursorByName("hand"), Qt::PointingHandCursor);
    EXPECT_EQ(CursorByName("SIZEWE"), Qt::SizeHorCursor);
    EXPECT_EQ(CursorByName("no"), Qt::ForbiddenCursor);
    EXPECT_EQ(CursorByName("pointer"), std::nullopt);
}

TEST_F(ControlsTest, ComboEditElementSelectsItsRowAndNotesChanges)
{
    QListWidget list;
    list.resize(300, 200);
    for (int row = 0; row < 3; ++row)
        list.addItem(QString());
    std::vector<CComboEditContainerElementUI*> elements;
    for (int row = 0; row < 3; ++row) {
        elements.push_back(new CComboEditContainerElementUI);
        list.setItemWidget(list.item(row), elements.back());
    }
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.show();
    ASSERT_TRUE(elements[0]->GetText1());
    ASSERT_TRUE(elements[0]->GetDelayEdit());

    SendMouse(elements[1], QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton);
    EXPECT_EQ(list.currentRow(), 1);
    SendMouse(elements[2], QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(list.selectedItems().size(), 2);
    SendMouse(elements[2], QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(list.selectedItems().size(), 1) << "Control toggles";

    EXPECT_FALSE(elements[0]->IsChanged());
    emit elements[0]->GetDelayEdit().As<QLineEdit>()->returnPressed();
    EXPECT_TRUE(elements[0]->IsChanged());
    EXPECT_FALSE(elements[1]->IsChanged());
}

TEST(WndUITest, HostedWindowFollowsTheControl)
{
    QWidget root;
    root.resize(300, 200);
    auto* host = new CWndUI(&root);
    host->setGeometry(10, 20, 100, 50);
    auto* hosted = new QWidget(&root);
    host->Attach(hosted);
    root.show();
    EXPECT_EQ(hosted->geometry(), QRect(10, 20, 100, 50));
    EXPECT_TRUE(hosted->isVisible());

    host->setGeometry(40, 60, 80, 30);
    EXPECT_EQ(hosted->geometry(), QRect(40, 60, 80, 30));
    host->hide();
    EXPECT_FALSE(hosted->isVisible());
    host->show();
    EXPECT_TRUE(hosted->isVisible());
}
