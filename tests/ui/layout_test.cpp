// Layouts: resource names, the class lookup order, controls found by name,
// text identifiers.
#include "ui_test_support.h"

#include "ui/color_palette.h"
#include "ui/dialog_builder.h"
#include "ui/widget_text.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QPushButton>
#include <gtest/gtest.h>

class CTestGaugeUI : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
};

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseTestSkin();
        CControlFactory::GetInstance().RegistControl(QStringLiteral("CTestGaugeUI"), CreateControlOf<CTestGaugeUI>);
        CControlFactory::GetInstance().RegistControl(QStringLiteral("CColorPaletteUI"),
                                                     CreateControlOf<CColorPaletteUI>);
        ASSERT_TRUE(window.Create(nullptr, QStringLiteral("test")));
    }

    TestWindow window;
};

TEST_F(LayoutTest, RegisteredClassIsBuiltUnderItsShortName)
{
    const CControlUI gauge = window.FindControl(QStringLiteral("gauge"));
    ASSERT_TRUE(gauge);
    EXPECT_NE(gauge.As<CTestGaugeUI>(), nullptr);
    EXPECT_EQ(gauge.Widget()->property("lightimage").toString(), QStringLiteral("light.png"));
    EXPECT_NE(window.FindControl(QStringLiteral("deng_Color_Pallet")).As<CColorPaletteUI>(), nullptr);
}

TEST_F(LayoutTest, UnknownClassYieldsNoControlAndKeepsItsSiblings)
{
    EXPECT_FALSE(window.FindControl(QStringLiteral("mystery")));
    EXPECT_FALSE(window.FindControl(QStringLiteral("orphan_btn")));
    EXPECT_TRUE(window.FindControl(QStringLiteral("device_page")));
    EXPECT_TRUE(window.FindControl(QStringLiteral("No_device_Link")));
}

TEST_F(LayoutTest, WindowCallbackBuildsClassesNobodyElseKnows)
{
    EXPECT_EQ(window.pageControlsCreated, 1);
    const CControlUI page = window.FindControl(QStringLiteral("device_page"));
    ASSERT_TRUE(page);
    EXPECT_TRUE(window.FindSubControlByName(page, QStringLiteral("page_btn")));
}

TEST_F(LayoutTest, SubLayoutJoinsTheWindowUnderItsLayoutName)
{
    const CControlUI panel = window.FindControl(QStringLiteral("profile_panel"));
    ASSERT_TRUE(panel);
    CControlUI add = window.FindSubControlByName(panel, QStringLiteral("device_add_btn"));
    ASSERT_TRUE(add);
    add.As<QPushButton>()->click();
    EXPECT_EQ(window.TypesFrom(QStringLiteral("device_add_btn")), std::vector<QString>{"click"});
}

TEST_F(LayoutTest, ControlsAreFoundByNameAndMissingOnesAreFalse)
{
    EXPECT_EQ(window.FindControl(QStringLiteral("closebtn")).As<QPushButton>()->objectName(),
              QStringLiteral("closebtn"));
    EXPECT_EQ(window.FindControl(QStringLiteral("root")).Widget(), window.GetRoot());
    EXPECT_FALSE(window.FindControl(QStringLiteral("no_such_name")));
    EXPECT_FALSE(window.FindControl(QString()));
    EXPECT_FALSE(window.FindSubControlByName(window.FindControl(QStringLiteral("device_page")),
                                             QStringLiteral("closebtn")));
    EXPECT_FALSE(window.FindSubControlByName(CControlUI(), QStringLiteral("closebtn")));
}

TEST_F(LayoutTest, HandleTurnsFalseWhenItsControlGoes)
{
    CControlUI label = window.FindControl(QStringLiteral("No_device_Link"));
    delete label.Widget();
    EXPECT_FALSE(label);
    label.SetText(QStringLiteral("ignored"));  // no crash
    EXPECT_TRUE(label.GetText().isEmpty());
}

TEST_F(LayoutTest, MissingLayoutBuildsNothing)
{
    EXPECT_EQ(CDialogBuilder::Create(QStringLiteral("XML_NOT_THERE")), nullptr);
    EXPECT_EQ(CDialogBuilder::Create(QStringLiteral("res.xml")), nullptr);  // a file, but no layout
    TestWindow empty(QStringLiteral("XML_NOT_THERE"));
    EXPECT_FALSE(empty.Create(nullptr, QStringLiteral("empty")));
    EXPECT_FALSE(empty.FindControl(QStringLiteral("closebtn")));
}

TEST_F(LayoutTest, ResourceNamesAndPathsFindTheirFiles)
{
    const CResourceManager& resources = CResourceManager::GetInstance();
    EXPECT_TRUE(resources.FindFile(QStringLiteral("xml_test_menu")).endsWith(QStringLiteral("menus/test_menu.ui")));
    EXPECT_TRUE(resources.FindFile(QStringLiteral("menus\\test_menu.ui")).endsWith(QStringLiteral("menus/test_menu.ui")));
    EXPECT_TRUE(resources.FindFile(QStringLiteral("nothing.ui")).isEmpty());
}

TEST(ResourceFilesTest, DamagedIndexAndLanguageAreRefusedWithoutLoss)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("res.xml", "<Res><Item name=\"XML_MAIN\" path=\"main.ui\"/><Item");
    write("main.ui", "<ui/>");
    write("good_lan.xml", "<Language><Text id=\"a\" value=\"A\"/></Language>");
    write("bad_lan.xml", "<Language><Text id=\"a\" value=\"broken");

    CResourceManager& resources = CResourceManager::GetInstance();
    resources.SetResourcePath(folder.path());
    EXPECT_FALSE(resources.LoadResource());
    EXPECT_TRUE(resources.FindFile(QStringLiteral("XML_MAIN")).isEmpty());
    EXPECT_FALSE(resources.FindFile(QStringLiteral("main.ui")).isEmpty());  // paths still work

    ASSERT_TRUE(resources.LoadLanguage(QStringLiteral("good_lan.xml")));
    EXPECT_FALSE(resources.LoadLanguage(QStringLiteral("bad_lan.xml")));
    EXPECT_FALSE(resources.LoadLanguage(QStringLiteral("missing_lan.xml")));
    EXPECT_EQ(resources.GetText(QStringLiteral("a")), QStringLiteral("A"));  // the last good one stays
    resources.Release();
    UseTestSkin();
}

TEST(ResourceFilesTest, LanguageReadAheadServesOneLoadThenTheFileCountsAgain)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    };
    write("lan.xml", "<Language><Text id=\"a\" value=\"read ahead\"/></Language>");
    write("bad_lan.xml", "<Language><Text id=\"a\" value=\"broken");

    CResourceManager& resources = CResourceManager::GetInstance();
    resources.SetResourcePath(folder.path());
    ASSERT_TRUE(resources.ReadLanguageAhead(QStringLiteral("lan.xml")));
    EXPECT_FALSE(resources.ReadLanguageAhead(QStringLiteral("bad_lan.xml")));
    EXPECT_FALSE(resources.ReadLanguageAhead(QStringLiteral("missing_lan.xml")));
    write("lan.xml", "<Language><Text id=\"a\" value=\"on disk\"/></Language>");

    ASSERT_TRUE(resources.LoadLanguage(QStringLiteral("lan.xml")));
    EXPECT_EQ(resources.GetText(QStringLiteral("a")), QStringLiteral("read ahead"));
    EXPECT_FALSE(resources.LoadLanguage(QStringLiteral("bad_lan.xml")));
    EXPECT_EQ(resources.GetText(QStringLiteral("a")), QStringLiteral("read ahead"));
    ASSERT_TRUE(resources.LoadLanguage(QStringLiteral("lan.xml")));
    EXPECT_EQ(resources.GetText(QStringLiteral("a")), QStringLiteral("on disk"));
    resources.Release();
    UseTestSkin();
}

TEST_F(LayoutTest, TextIdentifiersFollowTheLanguage)
{
    CResourceManager& resources = CResourceManager::GetInstance();
    ASSERT_TRUE(resources.LoadLanguage(QStringLiteral("lan_test.xml")));
    resources.ReloadText(window.GetRoot());
    CControlUI close = window.FindControl(QStringLiteral("closebtn"));
    EXPECT_EQ(close.GetText(), QStringLiteral("Close"));
    EXPECT_EQ(window.FindControl(QStringLiteral("No_device_Link")).GetText(), QStringLiteral("not_in_language"));
    EXPECT_EQ(window.FindControl(QStringLiteral("device_sleep1_combo")).GetItemText(0), QStringLiteral("Slow"));

    // A text set by code is no identifier: a reload leaves it alone.
    close.SetText(QStringLiteral("typed by code"));
    resources.ReloadText(window.GetRoot());
    EXPECT_EQ(close.GetText(), QStringLiteral("typed by code"));
    close.SetTextId(QStringLiteral("menu_exit"));
    EXPECT_EQ(close.GetText(), QStringLiteral("Exit"));
    resources.Release();
    UseTestSkin();
}

#include "layout_test.moc"
