#include "app/file_dialogs.h"

#include <QFileDialog>

#include <array>
#include <utility>

void SetUpFileDialog(QFileDialog& chooser, FileDialogMode mode, FileKind kind)
{
    static constexpr std::array<std::pair<const char*, const char*>, 3> kFilters = {{
        {"Profile Files(*.json)", "json"},
        {"Macro Files(*.mac)", "mac"},
        {"Shoot Files(*.shoot)", "shoot"},
    }};
    const auto& [filter, extension] = kFilters[static_cast<size_t>(kind)];
    chooser.setNameFilter(QString::fromLatin1(filter));
    chooser.setDefaultSuffix(QString::fromLatin1(extension));
    const bool open = mode == FileDialogMode::Open;
    chooser.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    chooser.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
}
