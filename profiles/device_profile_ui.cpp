#include "profiles/device_profile_ui.h"

#include "platform/trace.h"
#include "profiles/operation_tabs.h"
#include "profiles/profile_paths.h"
#include "ui/control.h"
#include "ui/dialog_builder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

constexpr const char* kLayout = "XML\\CustomControlXML\\DeviceProfile.xml";
constexpr const char* kCombo = "device_profile_combo";
constexpr const char* kNameEdit = "device_profile_name_edit";
constexpr const char* kMenu = "profile_menu_layout";
constexpr const char* kBindCheck = "profile_bind_check";
constexpr const char* kBindPrograms = "profile_bind_programs_edit";
constexpr const char* kBindUnsupported = "profile_bind_unsupported_text";

std::vector<std::string> SplitPrograms(const QString& text)
{
    std::vector<std::string> programs;
    for (const QString& name : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        programs.push_back(name.trimmed().toStdString());
    return programs;
}

QString JoinPrograms(const std::vector<std::string>& programs)
{
    QStringList names;
    for (const std::string& name : programs)
        names << QString::fromStdString(name);
    return names.join(QStringLiteral(", "));
}

}  // namespace

CDeviceProfileUI::CDeviceProfileUI(QWidget* parent) : CFeaturePanel(parent), source_(CreateActiveWindowSource())
{
    if (!CDialogBuilder::BuildInto(this, QString::fromLatin1(kLayout)))
        Trace("profile panel: layout missing");
    if (auto* check = findChild<QAbstractButton*>(QString::fromLatin1(kBindCheck)))
        connect(check, &QAbstractButton::clicked, this, &CDeviceProfileUI::EnableBindings);
    if (auto* edit = findChild<QLineEdit*>(QString::fromLatin1(kBindPrograms)))
        connect(edit, &QLineEdit::editingFinished, this, &CDeviceProfileUI::TakeBoundPrograms);
    bindingPoll_.setInterval(kBindingPollMilliseconds);
    connect(&bindingPoll_, &QTimer::timeout, this, [this] {
        if (bindings_)
            bindings_->Poll();
    });
    ShowProfileMenu(false);
}

CProfileList* CDeviceProfileUI::List() const
{
    return Page() ? &Page()->Profiles() : nullptr;
}

void CDeviceProfileUI::SetPage(CVelmoraUSBDevice* page)
{
    CFeaturePanel::SetPage(page);
    bindings_.reset();
    if (!page || page->GetFamilyName().isEmpty())
        return;
    const std::string family = page->GetFamilyName().toStdString();
    const std::string folder = GetProfileDirectory(family);
    CProfileList& list = page->Profiles();
    list.SetDeviceKind(page->GetDeviceKind());
    list.SetPaths(folder, DefaultProfilePath(family));
    list.SetCurrentChangedHandler([panel = QPointer<CDeviceProfileUI>(this)] {
        if (panel)
            panel->FollowCurrentProfile();
    });
    list.InitProfiles();
    bindings_.emplace(list, *source_);
    bindings_->Load(folder);
    ShowProfiles();
    ShowBindingOption();
    ShowOperationTabs();
    SelectOperationTab(1);
}

void CDeviceProfileUI::SetActiveWindowSource(std::unique_ptr<IActiveWindowSource> source)
{
    bindings_.reset();  // it holds the source
    source_ = std::move(source);
    SetPage(Page());
}

int CDeviceProfileUI::HandleFeatureEvent(const PageEvent& event)
{
    if (!List())
        return 0;
    if (event.type == QLatin1String("command"))
        return RunCommand(event);
    if (event.type == QLatin1String("timer") && event.name == QLatin1String(kCombo)) {
        const int chosen = FindSubControlByName(this, QString::fromLatin1(kCombo)).GetCurSel();
        return ProfileCommandAnswer(List()->SelectProfile(chosen));
    }
    if (event.type == QLatin1String("selectchanged") && event.name == QLatin1String("function_tab")) {
        SelectOperationTab(static_cast<int>(event.value));
        return 1;
    }
    if (event.name == QLatin1String("profile_fun_spread_btn")) {
        ShowProfileMenu(!IsProfileMenuShown());
        return 1;
    }
    return 0;
}

int CDeviceProfileUI::RunCommand(const PageEvent& event)
{
    CProfileList& list = *List();
    list.SetDeviceKind(Page()->GetDeviceKind());  // a mouse moves between cable and receiver
    const std::string text = event.text.toStdString();
    ProfileResult result = ProfileResult::NoCurrentProfile;
    if (event.name == QLatin1String("device_add_btn"))
        result = list.AddProfile();
    else if (event.name == QLatin1String("device_copy_btn"))
        result = list.CopyProfile();
    else if (event.name == QLatin1String("device_sub_btn"))
        result = list.DeleteProfile();
    else if (event.name == QLatin1String("device_profile_edit_save_btn"))
        result = list.RenameProfile(text);
    else if (event.name == QLatin1String("device_import_btn"))
        result = list.ImportProfile(text);
    else if (event.name == QLatin1String("device_export_btn"))
        result = list.ExportProfile(text);
    else if (event.name == QLatin1String("device_reset_btn"))
        result = list.ResetProfile();
    else
        return 0;
    ShowProfiles();  // a refused rename gets the current name back too
    return ProfileCommandAnswer(result);
}

// The combo box lists the profiles in list order with the current one chosen.
void CDeviceProfileUI::ShowProfiles()
{
    const CProfileList* list = List();
    auto* combo = findChild<QComboBox*>(QString::fromLatin1(kCombo));
    if (!list || !combo)
        return;
    CControlUI handle(combo);
    handle.RemoveAllItems();
    for (const ProfileEntry& entry : list->Entries()) {
        const QString name = QString::fromStdString(entry.name);
        const int item = handle.AddItem(name, name);
        combo->setItemData(item, name, Qt::ToolTipRole);
    }
    handle.SelectItem(list->GetCurrentIndex(), false);
    RevertNameEdit();
    if (bindings_)
        FindSubControlByName(this, QString::fromLatin1(kBindPrograms))
            .SetText(JoinPrograms(bindings_->ProgramsOf(list->GetCurrentProfileId())));
}

void CDeviceProfileUI::RevertNameEdit()
{
    const CControlUI combo = FindSubControlByName(this, QString::fromLatin1(kCombo));
    FindSubControlByName(this, QString::fromLatin1(kNameEdit)).SetText(combo.GetItemText(combo.GetCurSel()));
}

// The page loads the profile that is current now and the device follows, so
// no later save goes into a profile that is no longer current.
void CDeviceProfileUI::FollowCurrentProfile()
{
    ShowProfiles();
    CVelmoraUSBDevice* page = Page();
    if (!page)
        return;
    page->ReloadProfile();
    page->WriteSettings(0, 0, 0, 0, 0);
    page->WriteCurrentKeys();
    PageEvent changed = PageEvent::Of("command", "profile_changed");
    changed.feature = PageFeature::Keys;
    page->HandleFeatureEvent(changed);  // the key panel shows the new profile's keys
}

void CDeviceProfileUI::SelectOperationTab(int number)
{
    for (const OperationTab& tab : OperationTabs()) {
        auto* button = qobject_cast<QAbstractButton*>(FindSubControlByName(window(), tab.name).Widget());
        if (!button)
            continue;
        // An exclusive button can't be cleared while it is the checked one.
        const QSignalBlocker blocker(button);
        const bool exclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(tab.number == number);
        button->setAutoExclusive(exclusive);
    }
}

void CDeviceProfileUI::ShowOperationTabs()
{
    if (!Page())
        return;
    for (const OperationTab& tab : OperationTabs())
        FindSubControlByName(window(), tab.name).SetVisible(OperationTabShown(Page()->GetDeviceKind(), tab.number));
}

// Another device's page may have changed the tabs meanwhile.
void CDeviceProfileUI::showEvent(QShowEvent* event)
{
    CFeaturePanel::showEvent(event);
    ShowOperationTabs();
}

void CDeviceProfileUI::ShowProfileMenu(bool show)
{
    FindSubControlByName(this, QString::fromLatin1(kMenu)).SetVisible(show);
}

bool CDeviceProfileUI::IsProfileMenuShown()
{
    return FindSubControlByName(this, QString::fromLatin1(kMenu)).IsVisible();
}

// Where the desktop can't tell which program is in front, the option says
// so and stays off.
void CDeviceProfileUI::ShowBindingOption()
{
    const bool supported = bindings_ && bindings_->IsSupported();
    const bool enabled = supported && bindings_->IsEnabled();
    CControlUI check = FindSubControlByName(this, QString::fromLatin1(kBindCheck));
    check.SetSelected(enabled, false);
    check.SetEnabled(supported);
    FindSubControlByName(this, QString::fromLatin1(kBindPrograms)).SetEnabled(enabled);
    FindSubControlByName(this, QString::fromLatin1(kBindUnsupported)).SetVisible(!supported);
    if (enabled)
        bindingPoll_.start();
    else
        bindingPoll_.stop();
}

void CDeviceProfileUI::EnableBindings(bool enabled)
{
    if (bindings_ && !bindings_->SetEnabled(enabled))
        Trace("profile bindings: the choice could not be saved");
    if (bindings_ && !enabled)
        bindings_->Poll();  // gives the user's own choice back
    ShowBindingOption();
}

void CDeviceProfileUI::TakeBoundPrograms()
{
    const CProfileList* list = List();
    if (!bindings_ || !list || list->GetCurrentIndex() < 0)
        return;
    const QString text = FindSubControlByName(this, QString::fromLatin1(kBindPrograms)).GetText();
    if (!bindings_->SetPrograms(list->GetCurrentProfileId(), SplitPrograms(text)))
        Trace("profile bindings: the programs could not be saved");
    ShowProfiles();  // shows the names as kept (trimmed, without repeats)
}
