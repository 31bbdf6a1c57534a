#include "app/file_dialogs.h"

#include <QFileDialog>
#include <gtest/gtest.h>

TEST(FileDialogs, EachKindDefaultsToItsOwnExtension)
{
    struct Case {
        FileKind kind;
        const char* filter;
        const char* extension;
    };
    for (const Case& c : std::initializer_list<Case>{
             {FileKind::Profile, "Profile Files(*.json)", "json"},
             {FileKind::Macro, "Macro Files(*.mac)", "mac"},
             {FileKind::Recoil, "Shoot Files(*.shoot)", "shoot"},
         }) {
        for (const FileDialogMode mode : {FileDialogMode::Open, FileDialogMode::Save}) {
            QFileDialog chooser;
            SetUpFileDialog(chooser, mode, c.kind);
            EXPECT_EQ(chooser.nameFilters(), QStringList{c.filter});
            EXPECT_EQ(chooser.defaultSuffix(), c.extension);
            const bool open = mode == FileDialogMode::Open;
            EXPECT_EQ(chooser.acceptMode(), open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
            EXPECT_EQ(chooser.fileMode(), open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        }
    }
}
