// Languages and skins applied to windows: texts, fonts, the stored
// language, the skin window's choices and their record.

#include "../platform/temp_home.h"
#include "platform/folders.h"
#include "platform/settings_file.h"
#include "services/interface_language.h"
#include "services/skin_frame.h"
#include "ui/app_style.h"
#include "ui/font_table.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class LayoutWindow : public WindowImplBase {
public:
    explicit LayoutWindow(QString layout) : layout_(std::move(layout)) {}

protected:
    QString GetSkinFile() override { return layout_; }
    QString GetWindowClassName() const override { return QStringLiteral("LookTestWnd"); }

private:
    QString layout_;
};

std::string RealCatalogue()
{
    return DefaultDataFolder() + kLanguageCatalogueName;
}

enum CatalogueIndex { kChinese = 0, kEnglish = 1, kGerman = 5, kThai = 15 };

}  // namespace

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(window.Create(nullptr, "test"));
    }
    QString Shown(const char* control) const { return window.FindControl(control).GetText(); }

    TempXdgFolder config{"XDG_CONFIG_HOME"};
    LayoutWindow window{"XML_MSG"};
};

TEST_F(LanguageTest, SwitchingShowsTheNewTextsAndRemembersTheChoice)
{
    CInterfaceLanguage language(RealCatalogue());
    ASSERT_TRUE(language.LoadFirstLanguage());
    CResourceManager::GetInstance().ReloadText();
    EXPECT_EQ(Shown("confirm_btn"), "确定");
    EXPECT_FALSE(SettingsFileExists());

    ASSERT_TRUE(language.Apply(kEnglish));
    EXPECT_EQ(Shown("confirm_btn"), "OK");
    EXPECT_EQ(ReadLanguageId(), 520u);  // the settings file was created for it
    EXPECT_FALSE(language.Apply(kEnglish));

    ASSERT_TRUE(language.Apply(kChinese));
    EXPECT_EQ(Shown("cancel_btn"), "取消");
    EXPECT_EQ(CInterfaceLanguage(RealCatalogue()).ReadSavedIndex(), kChinese);  // the next start
}

TEST_F(LanguageTest, FirstStartTakesTheDefaultIdWhenTheSettingsExist)
{
    EXPECT_EQ(CInterfaceLanguage(RealCatalogue()).ReadSavedIndex(), kChinese);  // no settings yet
    ASSERT_TRUE(RecordInstalledVersion("2.3.0.2"));
    EXPECT_EQ(CInterfaceLanguage(RealCatalogue()).ReadSavedIndex(), kEnglish);  // id 520
}

TEST_F(LanguageTest, LanguageWithoutItsFileShowsEnglish)
{
    CInterfaceLanguage language(RealCatalogue());
    language.LoadFirstLanguage();
    ASSERT_TRUE(language.Apply(kGerman));
    EXPECT_EQ(Shown("confirm_btn"), "OK");
    EXPECT_EQ(ReadLanguageId(), 560u);
}

TEST_F(LanguageTest, MissingOrDamagedCatalogueKeepsTheTextsAndStoresNothing)
{
    QTemporaryDir dir;
    QFile damaged(dir.filePath("Language.config"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{\"Language\": [");
    damaged.close();
    for (const std::string& path : {dir.filePath("missing").toStdString(), damaged.fileName().toStdString()}) {
        CInterfaceLanguage language(path);
        language.LoadFirstLanguage();
        CResourceManager::GetInstance().ReloadText();
        EXPECT_EQ(language.ReadSavedIndex(), 0);
        EXPECT_TRUE(language.Apply(kEnglish));
        EXPECT_EQ(Shown("confirm_btn"), "确定");
        EXPECT_FALSE(ReadLanguageId());
    }
}

TEST_F(LanguageTest, FontsChangeFaceOnlyAtTheLanguagesWithTheirOwn)
{
    CInterfaceLanguage language(RealCatalogue());
    const auto face = [] { return CFontTable::GetInstance().GetFont(0, 96).family(); };
    language.Apply(kThai);
    EXPECT_EQ(face(), "Noto Sans Thai");
    language.Apply(kEnglish);
    EXPECT_EQ(face(), InterfaceFamily("Verdana Unicode MS"));
    EXPECT_EQ(CFontTable::GetInstance().GetFont(50, 96).bold(), true);
    CFontTable::GetInstance().AddFont(0, "Kept", 15);
    language.Apply(kGerman);
    EXPECT_EQ(face(), "Kept");
    language.Apply(kChinese);
    EXPECT_EQ(face(), InterfaceFamily("汉仪菱心体简"));
}

// The faces the languages name are not installed under those names: the
// fonts use the family that stands in for them, so no text goes through a
// search of every system font; a face with no stand-in installed stays.
TEST(InterfaceFamilyTest, AFaceIsUsedByTheNameOfAnInstalledStandIn)
{
    const QStringList installed = QFontDatabase::families();
    ASSERT_TRUE(installed.contains("DejaVu Sans"));
    const QString latin = InterfaceFamily("Verdana Unicode MS");
    EXPECT_TRUE(installed.contains(latin)) << latin.toStdString();
    EXPECT_EQ(InterfaceFamily("DejaVu Sans"), "DejaVu Sans");
    EXPECT_EQ(InterfaceFamily("No Such Face Anywhere"), "No Such Face Anywhere");
}

// The skin's sheet sizes the texts and a widget it has styled keeps its
// family unless the sheet lets fonts pass down: the language's face still
// reaches a text shown before the language was applied, with the size the
// sheet gives it.
TEST(InterfaceStyleTest, TheFaceReachesTextsTheSkinStyledBefore)
{
    ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
    ASSERT_TRUE(ApplyBaseStyle(*qApp));
    TempXdgFolder config{"XDG_CONFIG_HOME"};
    LayoutWindow window{"XML_MSG"};
    ASSERT_TRUE(window.Create(nullptr, "test"));
    window.ShowWindow(true);
    QWidget* text = window.FindControl("confirm_btn").Widget();
    ASSERT_NE(text, nullptr);
    const int sheetSize = QFontInfo(text->font()).pixelSize();
    CInterfaceLanguage language(RealCatalogue());
    language.Apply(kThai);
    EXPECT_EQ(QFontInfo(text->font()).family(), "Noto Sans Thai");
    EXPECT_EQ(QFontInfo(text->font()).pixelSize(), sheetSize);
}

TEST_F(LanguageTest, NumberTextFormatsTheLanguagesText)
{
    CInterfaceLanguage language(RealCatalogue());
    language.Apply(kEnglish);
    EXPECT_TRUE(NumberText("message_text_16", 7).contains(" 7 "));
    EXPECT_EQ(NumberText("no_such_text_%d", 7), "no_such_text_7");
}

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
        ASSERT_TRUE(window.Create(nullptr, "test"));
        window.ShowWindow(true);
    }
    void TearDown() override
    {
        if (frame)
            frame->Close();
    }
    CSkinFrame* Open()
    {
        frame = CSkinFrame::Open(&window, window.FindControl("skinbtn").Widget(),
                                 [this](QWidget*) { return chosenImage; });
        return frame;
    }
    void Click(const char* name, int which = 0)
    {
        const QList<QPushButton*> buttons = frame->findChildren<QPushButton*>(name);
        ASSERT_GT(buttons.size(), which) << name;
        buttons[which]->click();
    }
    CControlUI Root() const { return window.FindControl("root"); }
    std::optional<SkinChangedParam> Record() const { return ReadSkinRecord(SkinRecordPath()); }
    QString WriteImage(const char* name, bool valid)
    {
        const QString path = pictures.filePath(name);
        if (valid) {
            QImage image(40, 30, QImage::Format_ARGB32);
            image.fill(Qt::darkRed);
            EXPECT_TRUE(image.save(path, "PNG"));
        } else {
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("\x89PNG broken");
        }
        return path;
    }

    TempXdgFolder data{"XDG_DATA_HOME"};
    QTemporaryDir pictures;
    LayoutWindow window{"XML_MAIN"};
    CRootSkinReceiver receiver{window};
    QPointer<CSkinFrame> frame;
    QString chosenImage;
};

TEST_F(SkinTest, StockChoicesReachTheBackgroundAndTheRecord)
{
    ASSERT_TRUE(Open());
    Click("skin_image_btn", 1);
    EXPECT_EQ(Root().GetBkImage(), "common/skin/skin_2.png");
    EXPECT_EQ(Record()->image, "common/skin/skin_2.png");

    Click("skin_color");
    EXPECT_EQ(frame->FindControl("skin_tab").As<QStackedWidget>()->currentIndex(), 1);
    Click("skin_color_btn", 2);
    EXPECT_EQ(Root().GetBkColor(), 0xFF2A0D14u);
    EXPECT_TRUE(Root().GetBkImage().isEmpty());
    EXPECT_TRUE(Record()->useColour);
    EXPECT_EQ(Record()->colour, 0xFF2A0D14u);

    Click("skin_reset");
    EXPECT_EQ(Root().GetBkImage(), kDefaultBackground);
    EXPECT_EQ(Root().GetBkColor(), 0u);
    QFile record(QString::fromStdString(SkinRecordPath()));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QByteArray text = record.readAll();
    EXPECT_TRUE(text.contains("FLAGS=0")) << text.constData();
    EXPECT_TRUE(text.contains("IMAGE=common/background.png")) << text.constData();
}

TEST_F(SkinTest, OwnImageIsTakenOnlyWhenChosenAndReadable)
{
    ASSERT_TRUE(Open());
    Click("skin_image_btn", 0);
    const QString before = Root().GetBkImage();
    for (const QString& refused : {QString(), WriteImage("broken.png", false), pictures.filePath("gone.png")}) {
        chosenImage = refused;
        Click("skin_Custom");
        EXPECT_EQ(Root().GetBkImage(), before) << refused.toStdString();
        EXPECT_EQ(Record()->image, before);
    }
    chosenImage = WriteImage("mine.png", true);
    Click("skin_Custom");
    EXPECT_EQ(Root().GetBkImage(), chosenImage);
    EXPECT_EQ(Record()->image, chosenImage);
}

TEST_F(SkinTest, RecordedChoiceComesBackAtTheNextStart)
{
    const QString mine = WriteImage("mine.png", true);
    const struct {
        SkinChangedParam recorded;
        QString image;  // shown afterwards
    } cases[] = {
        {{false, 0, "common/skin/skin_3.png"}, "common/skin/skin_3.png"},
        {{false, 0, mine}, mine},
        {{false, 0, "common/skin/none.png"}, mine},  // a missing image changes nothing
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteSkinRecord(SkinRecordPath(), c.recorded));
        receiver.RestoreSaved();
        EXPECT_EQ(Root().GetBkImage(), c.image);
    }
    ASSERT_TRUE(WriteSkinRecord(SkinRecordPath(), {true, 0xFF101822, {}}));
    receiver.RestoreSaved();
    EXPECT_EQ(Root().GetBkColor(), 0xFF101822u);
    EXPECT_TRUE(Root().GetBkImage().isEmpty());
}

TEST_F(SkinTest, OpensUnderItsAnchorOneAtATime)
{
    ASSERT_TRUE(Open());
    EXPECT_EQ(Open(), frame.data());
    QWidget* anchor = window.FindControl("skinbtn").Widget();
    const QPoint corner = anchor->mapToGlobal(QPoint(anchor->width(), anchor->height()));
    EXPECT_EQ(frame->pos(), QPoint(corner.x() - frame->width(), corner.y()));
}
