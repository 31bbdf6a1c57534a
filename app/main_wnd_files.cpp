// The main window's file dialogs and the commands that ask the user first:
// profile, macro and recoil import and export, profile add, delete, copy
// and rename, and restoring a device's default settings.

#include "app/main_wnd.h"
#include "panels/recoil_patterns.h"
#include "profiles/json_file.h"
#include "profiles/profile_list.h"
#include "profiles/profile_names.h"

#include <QFileInfo>

#include <algorithm>
#include <iterator>

namespace {

// Longer imported macro file names do not fit the macro list.
constexpr qsizetype kMaxMacroFileNameLength = 14;

PageEvent Command(const char* name, const QString& text = {})
{
    return PageEvent::Of("command", name, 0, 0, text);
}

}  // namespace

void CMainWnd::RunFileRoute(RouteAction action)
{
    switch (action) {
    case RouteAction::ProfileAdd:
    case RouteAction::ProfileDelete:
    case RouteAction::ProfileCopy:
    case RouteAction::ProfileReset:
        ConfirmProfileCommand(action);
        break;
    case RouteAction::ProfileImport:
        ImportProfile();
        break;
    case RouteAction::ProfileExport:
        if (const QString path = ChooseFile(FileDialogMode::Save, FileKind::Profile); !path.isEmpty())
            ShowProfileAnswer(HandOff(PageFeature::Profiles, PageNeed::Any, Command("device_export_btn", path)), false);
        break;
    case RouteAction::ProfileRename:
        RenameProfile();
        break;
    case RouteAction::MacroImport:
        ImportMacro();
        break;
    case RouteAction::MacroExport:
        if (const QString path = ChooseFile(FileDialogMode::Save, FileKind::Macro); !path.isEmpty())
            HandOff(PageFeature::Macros, PageNeed::MouseOrKeyboard, Command("macro_btn_export", path));
        break;
    case RouteAction::RecoilImport:
    case RouteAction::RecoilExport:
        ImportExportRecoil(action == RouteAction::RecoilImport ? FileDialogMode::Open : FileDialogMode::Save);
        break;
    case RouteAction::RestoreDefaults:
        if (CurrentPage() && ShowMessage({}, QStringLiteral("message_text_22"), true, true) == 1)
            HandOff(PageFeature::DeviceSettings, PageNeed::Any, Command("default_btn"));
        break;
    default:
        break;
    }
}

void CMainWnd::ConfirmProfileCommand(RouteAction action)
{
    struct ProfileCommand {
        RouteAction action;
        const char* question;
        const char* command;
        bool tellSuccess;
    };
    static constexpr ProfileCommand kCommands[] = {
        {RouteAction::ProfileAdd, "message_text_28", "device_add_btn", true},
        {RouteAction::ProfileCopy, "message_text_27", "device_copy_btn", true},
        {RouteAction::ProfileDelete, "message_text_30", "device_sub_btn", false},
        {RouteAction::ProfileReset, "message_text_22", "device_reset_btn", false},
    };
    const auto* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                       [action](const ProfileCommand& row) { return row.action == action; });
    if (!CurrentPage() || command == std::end(kCommands))
        return;
    if (ShowMessage({}, QString::fromLatin1(command->question), true, true) != 1)
        return;
    ShowProfileAnswer(HandOff(PageFeature::Profiles, PageNeed::Any, Command(command->command)), command->tellSuccess);
}

// The profile panel decides what it takes: a file that is no profile, too
// large or badly named is refused there, and the user is told why.
void CMainWnd::ImportProfile()
{
    if (!CurrentPage())
        return;
    if (const QString path = ChooseFile(FileDialogMode::Open, FileKind::Profile); !path.isEmpty())
        ShowProfileAnswer(HandOff(PageFeature::Profiles, PageNeed::Any, Command("device_import_btn", path)), true);
}

void CMainWnd::RenameProfile()
{
    CVelmoraUSBDevice* page = CurrentPage();
    if (!page)
        return;
    const QString name = FindSubControlByName(page, QStringLiteral("device_profile_name_edit")).GetText();
    const ProfileNameCheck check = CheckProfileName(name.toStdString());
    if (check != ProfileNameCheck::Ok) {
        ShowMessage({}, QString::fromLatin1(ProfileNameMessageId(check)), true, false);
        return;
    }
    ShowProfileAnswer(HandOff(PageFeature::Profiles, PageNeed::Any, Command("device_profile_edit_save_btn", name)),
                      false);
}

// "message_text_32" tells that an add, copy or import was done; a refusal
// says why. Nothing is shown when no profile panel answered.
void CMainWnd::ShowProfileAnswer(int answer, bool tellSuccess)
{
    const std::optional<ProfileResult> result = ProfileResultOfAnswer(answer);
    if (!result)
        return;
    const char* message = *result != ProfileResult::Done ? ProfileResultMessageId(*result)
                          : tellSuccess                  ? "message_text_32"
                                                         : "";
    if (*message)
        ShowMessage({}, QString::fromLatin1(message), true, false);
}

void CMainWnd::ImportMacro()
{
    if (!IsMousePage(CurrentPage()) && !IsKeyboardPage(CurrentPage()))
        return;
    const QString path = ChooseFile(FileDialogMode::Open, FileKind::Macro);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).fileName().size() > kMaxMacroFileNameLength) {
        ShowMessage({}, QStringLiteral("message_text_37"), true, false);
        return;
    }
    HandOff(PageFeature::Macros, PageNeed::MouseOrKeyboard, Command("macro_btn_import", path));
}

void CMainWnd::ImportExportRecoil(FileDialogMode mode)
{
    if (!IsMousePage(CurrentPage()))
        return;
    const QString path = ChooseFile(mode, FileKind::Recoil);
    if (path.isEmpty())
        return;
    const bool import = mode == FileDialogMode::Open;
    const int answer =
        HandOff(PageFeature::Recoil, PageNeed::Mouse, Command(import ? "shootdate_import_btn" : "shootdate_export_btn", path));
    // A refused import says why; the working pattern stays as it was.
    if (import && answer < 0)
        ShowMessage({}, QString::fromLatin1(RecoilImportMessage(static_cast<RecoilImport>(-answer))), true, false);
}
