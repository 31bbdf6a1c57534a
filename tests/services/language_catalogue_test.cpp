#include "services/language_catalogue.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class LanguageCatalogueTest : public ::testing::Test {
protected:
    std::string Write(const QByteArray& text)
    {
        QFile file(dir.filePath("Language.config"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName().toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(LanguageCatalogueTest, DamagedCataloguesReadAsEmpty)
{
    CLanguageCatalogue catalogue;
    EXPECT_FALSE(catalogue.Load(dir.filePath("missing").toStdString()));
    for (const char* text : {"", "{", "[]", "{\"Language\": 3}", "{\"Language\": {\"a\": 1}}", "\xff\xfe"}) {
        EXPECT_FALSE(catalogue.Load(Write(text))) << text;
        EXPECT_EQ(catalogue.Count(), 0) << text;
        EXPECT_EQ(catalogue.At(0), nullptr);
    }
}

TEST_F(LanguageCatalogueTest, ElementsOfTheWrongKindKeepTheirPlaceWithEmptyMembers)
{
    CLanguageCatalogue catalogue;
    ASSERT_TRUE(catalogue.Load(Write(R"({"Language": [
        7,
        {"Language_ID": "520", "Language_file": 5},
        {"Language_ID": -1},
        {"Language_ID": 4294967296},
        {"Language_ID": 520, "Language_name": "en", "Language_file": "lan_en.xml", "Language_text": "English"}
    ]})")));
    ASSERT_EQ(catalogue.Count(), 5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(catalogue.At(i)->id) << i;
        EXPECT_TRUE(catalogue.At(i)->file.isEmpty()) << i;
    }
    EXPECT_EQ(catalogue.IndexOfId(520), 4);
    EXPECT_EQ(catalogue.At(4)->file, "lan_en.xml");
    EXPECT_EQ(catalogue.At(4)->caption, "English");
    EXPECT_EQ(catalogue.At(5), nullptr);
    EXPECT_EQ(catalogue.At(-1), nullptr);
}

TEST_F(LanguageCatalogueTest, SavedIndexFollowsTheStoredIdElseTheDefaultId)
{
    CLanguageCatalogue withDefault;
    ASSERT_TRUE(withDefault.Load(Write(
        R"({"Language": [{"Language_ID": 510}, {"Language_ID": 530}, {"Language_ID": 520}, {"Language_ID": 530}]})")));
    CLanguageCatalogue withoutDefault;
    ASSERT_TRUE(withoutDefault.Load(Write(R"({"Language": [{"Language_ID": 510}, {"Language_ID": 530}]})")));
    CLanguageCatalogue empty;
    const struct {
        const CLanguageCatalogue& catalogue;
        bool settingsExist;
        std::optional<uint32_t> stored;
        int index;
    } cases[] = {
        {withDefault, true, std::nullopt, 2},  // first start: the default id
        {withDefault, true, 530u, 1},          // the first of two equal ids
        {withDefault, true, 999u, 0},
        {withDefault, false, 530u, 0},         // nothing to read
        {withoutDefault, true, std::nullopt, 0},
        {empty, true, 530u, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SavedLanguageIndex(c.catalogue, c.settingsExist, c.stored), c.index)
            << c.settingsExist << " " << c.stored.value_or(0);
}

TEST(InterfaceFace, OwnFacesForTheirLanguagesAndOneFaceAfterThem)
{
    const struct {
        int index;
        int previous;
        const char* face;  // nullptr: the fonts stay
    } cases[] = {
        {15, 1, "Noto Sans Thai"},
        {0, 1, "汉仪菱心体简"},
        {2, 0, "Noto Sans CJK TC Regular"},
        {1, 15, "Verdana Unicode MS"},
        {1, 0, "Verdana Unicode MS"},
        {1, 2, "Verdana Unicode MS"},
        {1, -1, "Verdana Unicode MS"},
        {3, 1, nullptr},
        {1, 3, nullptr},
        {-1, 4, nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<QString> face = InterfaceFaceFor(c.index, c.previous);
        if (c.face)
            EXPECT_EQ(face, QString::fromUtf8(c.face)) << c.index << " after " << c.previous;
        else
            EXPECT_FALSE(face) << c.index << " after " << c.previous;
    }
}

TEST(FormatWithNumber, OneIntegerTakesTheNumberEverythingElseShowsAsItIs)
{
    const struct {
        const char* format;
        const char* shown;
    } cases[] = {
        {"%d events", "-42 events"},
        {"%i, %u, %ld", "-42, %u, %ld"},
        {"%lld", "-42"},
        {"[%5d] [%-5d]", "[  -42] [%-5d]"},
        {"%s of %d", "%s of -42"},
        {"%n%d", "%n-42"},
        {"%x %p %f %d", "%x %p %f -42"},
        {"100%% done: %d", "100% done: -42"},
        {"%999d", "%999d"},
        {"no number", "no number"},
        {"ends in %", "ends in %"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatWithNumber(QString::fromUtf8(c.format), -42), QString::fromUtf8(c.shown)) << c.format;
    EXPECT_EQ(FormatWithNumber("%d 个", 9000000000LL), "9000000000 个");
}
