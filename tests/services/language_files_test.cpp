// The complete language files hold every text identifier the program shows:
// each text of every layout in the skin folder, the identifiers the code
// uses, and the names in the default data. Code identifiers are found in
// the sources as string literals handed to the text functions, and as
// literals of the identifier families the tables and messages use, so new
// code is checked without being listed here.

#include "platform/folders.h"
#include "ui/dialog_builder.h"
#include "ui/resource_manager.h"
#include "ui/ui_init.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QWidget>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <memory>

namespace {

const char* const kCompleteLanguages[] = {"lan_en.xml", "lan_cn.xml"};

// Calls that take text identifiers: every literal of the call's statement.
const QRegularExpression kIdentifierCall(QStringLiteral(
    R"re(\b(?:SetTextId|SetWidgetTextId|GetText|HasText|NumberText|ShowMessageBox|ShowMessage)\s*\(([^;{}]*))re"));
const QRegularExpression kLiteral(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
// Families of identifiers that tables, pages and data files name.
const QRegularExpression kFamilyLiteral(QStringLiteral(
    R"re("((?:message_text|mouse_key|keyboard_key|custem|media|web|wed|light_mode|light_area|light_set|Phone_type|mouse_move_to)_(?!\.\.\.")[^"\s]+|gun_\d_txt|\w+_device_name_text|system_(?:power|sleep|wake_up))")re"));

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList FilesUnder(const QString& folder, const QStringList& patterns)
{
    QStringList files;
    QDirIterator it(folder, patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

bool NeedsText(const QString& identifier)
{
    static const QRegularExpression kLetter(QStringLiteral("\\p{L}"));
    // A format that composes identifiers at run time ("%1_device_name_text") names no text itself.
    return identifier.contains(kLetter) && !identifier.contains(QLatin1Char('%'));
}

void Collect(const QRegularExpression& pattern, const QString& text, const QString& where,
             QMap<QString, QString>& found)
{
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        for (int group = 1; group <= pattern.captureCount(); ++group) {
            QString identifier = match.captured(group);
            if (!identifier.isEmpty() && NeedsText(identifier))
                found.insert(identifier.replace(QStringLiteral("\\\""), QStringLiteral("\"")), where);
        }
    }
}

// Stands in for the windows and pages that make their own classes (a device
// page is the root of its layout): a plain widget carries the texts as well.
class PlainWidgetBuilder : public IDialogBuilderCallback {
public:
    QWidget* CreateControl(const QString&, QWidget* parent) override { return new QWidget(parent); }
};

// identifier -> where it was met
QMap<QString, QString> LayoutIdentifiers()
{
    QMap<QString, QString> found;
    PlainWidgetBuilder builder;
    const QString skin = CResourceManager::GetInstance().GetResourcePath();
    for (const QString& layout : FilesUnder(skin, {"*.ui"})) {
        std::unique_ptr<QWidget> root(CDialogBuilder::Create(layout, &builder, nullptr));
        EXPECT_TRUE(root) << layout.toStdString();
        if (!root)
            continue;
        QList<QObject*> objects = root->findChildren<QObject*>();
        objects << root.get();
        for (const QObject* object : objects) {
            const QString identifier = object->property("textId").toString();
            if (NeedsText(identifier))
                found.insert(identifier, layout.mid(skin.size()));
        }
    }
    return found;
}

QMap<QString, QString> CodeIdentifiers()
{
    QMap<QString, QString> found;
    const QString source = QStringLiteral(KESTROVA_SOURCE_DIR);
    for (const char* folder : {"app", "devices", "panels", "profiles", "services", "transport", "ui", "platform"}) {
        for (const QString& file : FilesUnder(source + '/' + folder, {"*.h", "*.cpp"})) {
            const QString text = ReadText(file);
            const QString where = file.mid(source.size() + 1);
            for (auto call = kIdentifierCall.globalMatch(text); call.hasNext();)
                Collect(kLiteral, call.next().captured(1), where, found);
            Collect(kFamilyLiteral, text, where, found);
        }
    }
    for (const QString& file : FilesUnder(source + "/resources/DefaultData", {"*"}))
        Collect(kFamilyLiteral, ReadText(file), file.mid(source.size() + 1), found);
    return found;
}

}  // namespace

class LanguageFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareToolkit(QString::fromStdString(ResourceFolder(kSkinFolderName))));
    }
    void ExpectAllIn(const QMap<QString, QString>& identifiers)
    {
        for (const char* language : kCompleteLanguages) {
            ASSERT_TRUE(CResourceManager::GetInstance().LoadLanguage(language)) << language;
            for (auto it = identifiers.begin(); it != identifiers.end(); ++it) {
                EXPECT_TRUE(CResourceManager::GetInstance().HasText(it.key()))
                    << language << " lacks \"" << it.key().toStdString() << "\" (" << it.value().toStdString()
                    << ")";
            }
        }
    }
};

TEST_F(LanguageFilesTest, CompleteFilesHoldTheSameIdentifiersWithATextEach)
{
    QList<QSet<QString>> sets;
    for (const char* language : kCompleteLanguages) {
        QFile file(CResourceManager::GetInstance().FindFile(language));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << language;
        QXmlStreamReader xml(&file);
        QSet<QString> ids;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("Text"))
                continue;
            const QString id = xml.attributes().value("id").toString();
            EXPECT_FALSE(ids.contains(id)) << language << " twice: " << id.toStdString();
            EXPECT_FALSE(xml.attributes().value("value").trimmed().isEmpty()) << language << ": " << id.toStdString();
            ids.insert(id);
        }
        EXPECT_FALSE(xml.hasError()) << language << ": " << xml.errorString().toStdString();
        EXPECT_GT(ids.size(), 0) << language;
        sets << ids;
    }
    EXPECT_EQ(sets[0] - sets[1], QSet<QString>());
    EXPECT_EQ(sets[1] - sets[0], QSet<QString>());
}

TEST_F(LanguageFilesTest, EveryLayoutTextHasItsText)
{
    const QMap<QString, QString> identifiers = LayoutIdentifiers();
    EXPECT_TRUE(identifiers.contains("msgwnd_confirm"));  // the walk does reach the layouts
    ExpectAllIn(identifiers);
}

TEST_F(LanguageFilesTest, EveryIdentifierOfTheCodeAndTheDataHasItsText)
{
    const QMap<QString, QString> identifiers = CodeIdentifiers();
    EXPECT_TRUE(identifiers.contains("software_rev_text"));  // the scan does find the code's
    EXPECT_TRUE(identifiers.contains("light_mode_breathing"));
    ExpectAllIn(identifiers);
}
