#include "platform/private_fonts.h"

#include "platform/folders.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class PrivateFontsTest : public ::testing::Test {
protected:
    std::string Folder() const { return programFolder.path().toStdString() + '/'; }
    QString FontPath(int index) const { return programFolder.filePath(kPrivateFontFiles[index].path); }
    QTemporaryDir programFolder;
};

TEST_F(PrivateFontsTest, MissingFontFolderIsSkipped)
{
    CPrivateFonts fonts(Folder());
    EXPECT_EQ(fonts.LoadedCount(), 0);
    EXPECT_TRUE(fonts.Families().isEmpty());
}

TEST_F(PrivateFontsTest, BrokenAndMissingFontsAreSkippedOthersLoadAndAreRemovedAgain)
{
    // A real font from the program's own "Font" folder, under the third name.
    const QString source = QString::fromStdString(ProgramFolder()) + kPrivateFontFiles[2].path;
    if (!QFile::exists(source))
        GTEST_SKIP() << "no font beside the program to load";
    ASSERT_TRUE(QDir(programFolder.path()).mkdir("Font"));
    ASSERT_TRUE(QFile::copy(source, FontPath(2)));
    QFile broken(FontPath(0));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a font at all");
    broken.close();

    QStringList families;
    {
        CPrivateFonts fonts(Folder());
        EXPECT_EQ(fonts.LoadedCount(), 1);
        families = fonts.Families();
        ASSERT_FALSE(families.isEmpty());
    }
    // Removed again: a second load gets the family anew rather than failing.
    CPrivateFonts again(Folder());
    EXPECT_EQ(again.Families(), families);
}

TEST_F(PrivateFontsTest, OneFontUnderTwoNamesIsRegisteredOnce)
{
    const QString source = QString::fromStdString(ProgramFolder()) + kPrivateFontFiles[2].path;
    if (!QFile::exists(source))
        GTEST_SKIP() << "no font beside the program to load";
    ASSERT_TRUE(QDir(programFolder.path()).mkdir("Font"));
    ASSERT_TRUE(QFile::copy(source, FontPath(0)));
    ASSERT_TRUE(QFile::copy(source, FontPath(3)));

    CPrivateFonts fonts(Folder());
    EXPECT_EQ(fonts.LoadedCount(), 0) << "both names wait for a language that needs them";
    LoadRemainingPrivateFonts();
    LoadRemainingPrivateFonts();
    EXPECT_EQ(fonts.LoadedCount(), 1);
    EXPECT_FALSE(fonts.Families().isEmpty());
}
