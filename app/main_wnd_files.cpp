// The main window's file dialogs and the commands that ask the user first:
// profile, macro and recoil import and export, profile add, delete, copy
// and rename, and restoring a device's default settings.

#include "app/main_wnd.h"
#include "panels/recoil_patterns.h"
#include "profiles/json_file.h"
#include "profiles/profile_names.h"

#include <QFileInfo>

namespace {

// Longer imported macro file names do not fit the macro list.
constexpr qsizetype kMaxMacroFileNameLength = 14;
// The profile panel answers add, copy and import with this when its list is full.
constexpr int kProfileListFull = 1;

PageEvent Command(const char* name, const QString& text = {})
{
    return PageEvent::Of("command", name, 0, 0, text);
}

bool IsProfileFile(const QString& path)
{
    const Json::Value document = ReadJsonFile(path.toStdString());
    return document.isObject() && document.isMember("profilename") && document.isMember("profileUUID");
}

}  // namespace

void CMainWnd::RunFileRoute(RouteAction action)
{
    switch (action) {
    case RouteAction::ProfileAdd:
    case RouteAction::ProfileDelete:
    case RouteAction::ProfileCopy:
        ConfirmProfileCommand(action);
        break;
    case RouteAction::ProfileImport:
        ImportProfile();
        break;
    case RouteAction::ProfileExport:
        if (const QString path = ChooseFile(FileDialogMode::Save, FileKind::Profile); !path.isEmpty())
            HandOff(PageFeature::Profiles, PageNeed::Any, Command("device_export_btn", path));
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
    if (!CurrentPage())
        return;
    const char* question = action == RouteAction::ProfileAdd      ? "message_text_28"
                           : action == RouteAction::ProfileDelete ? "message_text_30"
                                                                  : "message_text_27";
    const char* command = action == RouteAction::ProfileAdd      ? "device_add_btn"
                          : action == RouteAction::ProfileDelete ? "device_sub_btn"
                                                                 : "device_copy_btn";
    if (ShowMessage({}, QString::fromLatin1(question), true, true) != 1)
        return;
    const int result = HandOff(PageFeature::Profiles, PageNeed::Any, Command(command));
    if (action != RouteAction::ProfileDelete && result == kProfileListFull)
        ShowMessage({}, QStringLiteral("message_text_32"), true, false);
}

void CMainWnd::ImportProfile()
{
    if (!CurrentPage())
        return;
    const QString path = ChooseFile(FileDialogMode::Open, FileKind::Profile);
    if (path.isEmpty() || !IsProfileFile(path))
        return;
    // An imported profile is named after its file, by the rule of a typed name.
    if (IsProfileNameTooLong(FileTitleOf(path.toStdString()))) {
        ShowMessage({}, QStringLiteral("message_text_34"), true, false);
        return;
    }
    if (HandOff(PageFeature::Profiles, PageNeed::Any, Command("device_import_btn", path)) == kProfileListFull)
        ShowMessage({}, QStringLiteral("message_text_32"), true, false);
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
    // The panel answers as its rename does: 0 name in use, 1 done, 2 a blank name in the list.
    const int result = HandOff(PageFeature::Profiles, PageNeed::Any, Command("device_profile_edit_save_btn", name));
    if (result == 0)
        ShowMessage({}, QStringLiteral("message_text_5"), true, false);
    else if (result == 2)
        ShowMessage({}, QStringLiteral("message_text_25"), true, false);
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
