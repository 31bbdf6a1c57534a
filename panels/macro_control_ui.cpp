#include "panels/macro_control_ui.h"

#include "panels/macro_commands.h"
#include "profiles/profile_paths.h"
#include "ui/control.h"
#include "ui/dialog_builder.h"
#include "ui/notify.h"
#include "ui/window_impl_base.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr const char* kLayoutName = "XML\\CustomControlXML\\MacroControl.xml";
constexpr int kRowHeight = 30;
constexpr int kDelayEditHeight = 25;
constexpr int kDelayEditMaxChars = 6;
constexpr int kMaxTypedDelay = 999999;  // six digits
constexpr int kScrollDelayMs = 50;      // then the selected row is scrolled into view

// The property the style sheet picks a row label's look by.
constexpr const char* kStyleProperty = "macroStyle";

const char* StyleName(MacroRowStyle style)
{
    switch (style) {
    case MacroRowStyle::kKeyboard:
        return "macro_label_keyboard_style";
    case MacroRowStyle::kMouse:
        return "macro_label_mouse_style";
    case MacroRowStyle::kNone:
        break;
    }
    return "";
}

QLabel* MakeLabel(QWidget* row, const char* style, const QString& text, const char* textId)
{
    auto* label = new QLabel(row);
    label->setProperty(kStyleProperty, QString::fromLatin1(style));
    label->setIndent(3);
    if (*textId != '\0')
        CControlUI(label).SetTextId(QString::fromLatin1(textId));
    else
        label->setText(text);
    return label;
}

// One step: key label, state label, delay edit. An overflow row is empty.
QWidget* MakeActionRow(const MacroRow& step)
{
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("macro_action"));
    row->setFixedHeight(kRowHeight);
    if (!step.event)
        return row;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 6, 0);
    const MacroRowLabel label = LabelOfStep(*step.event);
    layout->addWidget(MakeLabel(row, StyleName(label.style), QString(), label.textId), 2);
    if (label.isMovement)
        layout->addWidget(MakeLabel(row, "macro_label_text_style", QString::number(step.event->button), ""), 1);
    else if (step.event->down)
        layout->addWidget(MakeLabel(row, "macro_label_down_style", QString(), "macro_action_down_text"), 1);
    else
        layout->addWidget(MakeLabel(row, "macro_label_up_style", QString(), "macro_action_up_text"), 1);
    auto* delay = new QLineEdit(QString::number(step.delayShown), row);
    delay->setObjectName(QStringLiteral("macro_delay"));
    delay->setProperty(kStyleProperty, QStringLiteral("macro_label_text_style"));
    delay->setFixedHeight(kDelayEditHeight);
    CControlUI(delay).SetNumberOnly(true);
    CControlUI(delay).SetMaxChar(kDelayEditMaxChars);
    layout->addWidget(delay, 1);
    return row;
}

using StepEdit = void (CMacroRecorder::*)();
struct NamedStepEdit {
    const char* name;
    StepEdit edit;
};
constexpr NamedStepEdit kStepEdits[] = {
    {"macro_btn_up", &CMacroRecorder::MoveActionUp},
    {"macro_btn_down", &CMacroRecorder::MoveActionDown},
    {"macro_btn_uptop", &CMacroRecorder::MoveActionToTop},
    {"macro_btn_downbottom", &CMacroRecorder::MoveActionToBottom},
    {"macro_btn_delete", &CMacroRecorder::DeleteAction},
    {"macro_btn_deleteall", &CMacroRecorder::DeleteAllActions},
};

StepEdit StepEditOf(const QString& name)
{
    for (const NamedStepEdit& step : kStepEdits)
        if (name == QLatin1String(step.name))
            return step.edit;
    return nullptr;
}

int TypedNumber(const QWidget* edit, int highest)
{
    const auto* line = qobject_cast<const QLineEdit*>(edit);
    const long long typed = line ? LeadingDecimal(line->text().toStdString()) : 0;
    return static_cast<int>(std::clamp<long long>(typed, 0, highest));
}

}  // namespace

const CMacroControlUI::NamedCommand CMacroControlUI::kCommands[] = {
    {"macro_name_list", &CMacroControlUI::ShowSelectedMacro},
    {"macro_btn_cancel", &CMacroControlUI::ShowSelectedMacro},
    {"macro_btn_name_add", &CMacroControlUI::AddMacro},
    {"macro_btn_name_sub", &CMacroControlUI::DeleteMacro},
    {"macro_btn_name_edit", &CMacroControlUI::RenameMacro},
    {"macro_btn_import", &CMacroControlUI::ImportMacro},
    {"macro_btn_export", &CMacroControlUI::ExportMacro},
    {"macro_btn_save", &CMacroControlUI::SaveMacro},
    {"macro_delay", &CMacroControlUI::SaveMacro},
    {"macro_btn_stopredio", &CMacroControlUI::StopCapture},
    {"capture_ended", &CMacroControlUI::StopCapture},
};

CMacroControlUI::CMacroControlUI(QWidget* parent) : CFeaturePanel(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content_ = CDialogBuilder::Create(QString::fromLatin1(kLayoutName), nullptr, this);
    if (content_ == nullptr)
        return;
    layout->addWidget(content_);
    for (const char* edit : {"macro_fixed_time_edit", "mouse_x_left_edit", "mouse_x_right_edit", "mouse_y_up_edit",
                             "mouse_y_down_edit"})
        CControlUI(Find(edit)).SetNumberOnly(true);
    scrollTimer_.setSingleShot(true);
    scrollTimer_.setInterval(kScrollDelayMs);
    connect(&scrollTimer_, &QTimer::timeout, this, [this] {
        if (QListWidget* list = ActionList(); list && list->currentItem())
            list->scrollToItem(list->currentItem());
    });
    if (QListWidget* list = ActionList())
        connect(list, &QListWidget::currentRowChanged, this, [this](int row) { recorder_.Select(row); });
    ShowSelectedMacro();
}

QWidget* CMacroControlUI::Find(const char* name) const
{
    return content_ ? content_->findChild<QWidget*>(QString::fromLatin1(name)) : nullptr;
}

QListWidget* CMacroControlUI::NameList() const
{
    return qobject_cast<QListWidget*>(Find("macro_name_list"));
}

QListWidget* CMacroControlUI::ActionList() const
{
    return qobject_cast<QListWidget*>(Find("macro_action_list"));
}

void CMacroControlUI::SetPage(CVelmoraUSBDevice* page)
{
    CFeaturePanel::SetPage(page);
    if (page != nullptr && library_.Folder().empty() && !page->GetFamilyName().isEmpty()) {
        SetMacroFolder(GetProfileDirectory(page->GetFamilyName().toStdString()));
        LoadMacroList();
    }
}

void CMacroControlUI::SetMacroFolder(const std::string& folder)
{
    library_.SetFolder(folder);
}

void CMacroControlUI::LoadMacroList()
{
    if (library_.Folder().empty())
        return;
    library_.Load();
    FillNameList(-1);
    ShowSelectedMacro();
}

int CMacroControlUI::SelectedMacro() const
{
    const QListWidget* list = NameList();
    const int row = list ? list->currentRow() : -1;
    return row >= 0 && static_cast<size_t>(row) < library_.Entries().size() ? row : -1;
}

int CMacroControlUI::Ask(const char* textId, bool withCancel)
{
    const WindowImplBase* window = OwnerWindow(this);
    if (window == nullptr)
        return 0;
    return static_cast<int>(SendWindowMessageData(window->GetHWND(), WM_PANEL_MESSAGE, withCancel ? 1 : 0, 0,
                                                  QByteArray(textId)));
}

int CMacroControlUI::HandleFeatureEvent(const PageEvent& event)
{
    if (event.type == QLatin1String("message"))
        return CaptureEvent(event);
    for (const NamedCommand& command : kCommands)
        if (event.name == QLatin1String(command.name))
            return (this->*command.run)(event);
    const std::string name = event.name.toStdString();
    if (CaptureCommandOf(name))
        return StartCapture(event);
    if (MouseInsertCommandOf(name))
        return InsertMouseStep(event);
    if (StepEditOf(event.name) != nullptr)
        return EditSteps(event);
    return 0;
}

// --- The macro list --------------------------------------------------------

void CMacroControlUI::FillNameList(int selected)
{
    QListWidget* list = NameList();
    if (list == nullptr)
        return;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const MacroEntry& entry : library_.Entries()) {
        auto* item = new QListWidgetItem(QString::fromStdWString(entry.name), list);
        item->setToolTip(item->text());
        item->setData(Qt::UserRole, QString::fromStdString(entry.guid));
        item->setSizeHint(QSize(0, kRowHeight));
    }
    list->setCurrentRow(selected);
}

void CMacroControlUI::SetActionAreaEnabled(bool enabled)
{
    for (const char* name : {"macro_action_layout", "mouse_move_layout", "macro_btn_export", "macro_btn_name_sub",
                             "macro_btn_name_edit", "macro_btn_starredio"})
        CControlUI(Find(name)).SetEnabled(enabled);
}

int CMacroControlUI::ShowSelectedMacro(const PageEvent&)
{
    const int selected = SelectedMacro();
    SetActionAreaEnabled(selected >= 0);
    recorder_.Show(selected >= 0 ? library_.ReadEvents(static_cast<size_t>(selected)) : std::vector<MacroEvent>{});
    ShowRows();
    const QString name =
        selected >= 0 ? QString::fromStdWString(library_.Entries()[static_cast<size_t>(selected)].name) : " ";
    CControlUI(Find("macro_edit_macroname")).SetText(name);
    return 1;
}

void CMacroControlUI::MacroListChanged()
{
    // The key panel's macro choices follow the list.
    if (CVelmoraUSBDevice* page = Page()) {
        PageEvent changed = PageEvent::Of("command", "macro_list_changed");
        changed.feature = PageFeature::Keys;
        page->HandleFeatureEvent(changed);
    }
}

int CMacroControlUI::AddMacro(const PageEvent&)
{
    if (Ask("message_text_29", true) != 1)
        return 0;
    const std::optional<size_t> added = library_.Add();
    if (!added) {
        Ask(library_.Entries().size() >= kMaxMacros ? "message_text_33" : "message_text_file_write");
        return 0;
    }
    FillNameList(static_cast<int>(*added));
    ShowSelectedMacro();
    MacroListChanged();
    return 1;
}

int CMacroControlUI::DeleteMacro(const PageEvent&)
{
    const int selected = SelectedMacro();
    if (selected < 0 || Ask("message_text_4", true) != 1)
        return 0;
    const std::string family = Page() ? Page()->GetFamilyName().toStdString() : std::string();
    const MacroDeletion deletion =
        DeleteMacroFromFamily(library_, static_cast<size_t>(selected), library_.Folder(), DefaultProfilePath(family),
                              [this] { return Ask("message_text_2", true) == 1; });
    if (!deletion.deleted)
        return 0;
    if (!deletion.unsavedProfiles.empty())
        Ask("message_text_file_write");
    FillNameList(library_.Entries().empty() ? -1 : 0);
    ShowSelectedMacro();
    if (CVelmoraUSBDevice* page = Page(); page && deletion.currentKeysChanged) {
        page->ReloadProfile();
        page->WriteCurrentKeys();
    }
    MacroListChanged();  // after the reload, so the key panel shows the repaired keys
    return 1;
}

int CMacroControlUI::RenameMacro(const PageEvent&)
{
    const int selected = SelectedMacro();
    if (selected < 0)
        return 0;
    const auto index = static_cast<size_t>(selected);
    const QString typed = CControlUI(Find("macro_edit_macroname")).GetText();
    const MacroRename result = library_.Rename(index, typed.toStdWString());
    const QString name = QString::fromStdWString(library_.Entries()[index].name);
    CControlUI(Find("macro_edit_macroname")).SetText(name);
    if (result != MacroRename::kRenamed) {
        Ask(MacroRenameMessage(result));
        return 0;
    }
    QListWidgetItem* item = NameList()->item(selected);
    item->setText(name);
    item->setToolTip(name);
    MacroListChanged();
    return 1;
}

int CMacroControlUI::ImportMacro(const PageEvent& event)
{
    const MacroImport result = library_.Import(event.text.toStdString());
    if (const char* message = MacroImportMessage(result); *message != '\0')
        Ask(message);
    if (result != MacroImport::kImported)
        return 0;
    FillNameList(static_cast<int>(library_.Entries().size()) - 1);
    ShowSelectedMacro();
    MacroListChanged();
    return 1;
}

int CMacroControlUI::ExportMacro(const PageEvent& event)
{
    const int selected = SelectedMacro();
    if (selected < 0)
        return 0;
    if (!library_.Export(static_cast<size_t>(selected), event.text.toStdString())) {
        Ask("message_text_file_write");
        return 0;
    }
    return 1;
}

void CMacroControlUI::TakeDelayEdits()
{
    QListWidget* list = ActionList();
    for (int row = 0; list && row < list->count(); ++row) {
        QWidget* widget = list->itemWidget(list->item(row));
        auto* edit = widget ? widget->findChild<QLineEdit*>(QStringLiteral("macro_delay")) : nullptr;
        if (edit == nullptr)
            continue;
        if (edit->text().isEmpty())
            edit->setText(QStringLiteral("0"));
        recorder_.SetShownDelay(row, TypedNumber(edit, kMaxTypedDelay));
    }
}

int CMacroControlUI::SaveMacro(const PageEvent&)
{
    const int selected = SelectedMacro();
    if (selected < 0)
        return 0;
    TakeDelayEdits();
    bool truncated = false;
    const std::vector<MacroEvent> events = recorder_.EventsToSave(&truncated);
    const MacroSave saved = library_.SaveEvents(static_cast<size_t>(selected), events);
    if (truncated) {
        ShowRows();
        Ask("message_text_26_1");
    }
    if (saved == MacroSave::kNotWritten)
        Ask("message_text_file_write");
    return saved == MacroSave::kSaved ? 1 : 0;
}

// --- The steps -------------------------------------------------------------

void CMacroControlUI::ShowRows()
{
    QListWidget* list = ActionList();
    if (list == nullptr)
        return;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const MacroRow& step : recorder_.Rows()) {
        auto* item = new QListWidgetItem(list);
        item->setSizeHint(QSize(0, kRowHeight));
        QWidget* row = MakeActionRow(step);
        row->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(row, &QWidget::customContextMenuRequested, this, [this, list, item, row] {
            SelectRow(list->row(item));
            SendNotify(row, QStringLiteral("itemactivate"));
        });
        list->setItemWidget(item, row);
        AttachNotifications(row);
    }
    list->setCurrentRow(recorder_.Selected());
    CControlUI(Find("macro_tab_macroaction_edit")).SetEnabled(!recorder_.Rows().empty() && !recorder_.IsCapturing());
}

void CMacroControlUI::SelectRow(int row)
{
    recorder_.Select(row);
    if (QListWidget* list = ActionList()) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(recorder_.Selected());
    }
}

int CMacroControlUI::ConstantDelay()
{
    QWidget* edit = Find("macro_fixed_time_edit");
    const FixedDelay fixed = ApplyFixedDelay(static_cast<unsigned long long>(TypedNumber(edit, kMaxTypedDelay)));
    if (fixed.value != constantDelay_ && *fixed.messageId != '\0')
        Ask(fixed.messageId);
    CControlUI(edit).SetText(QString::number(fixed.value));
    constantDelay_ = fixed.value;
    return constantDelay_;
}

void CMacroControlUI::SetEditingEnabled(bool enabled)
{
    for (const char* name : {"macro_name_tab", "macro_action_list", "macro_tab_macrodelay_edit"})
        CControlUI(Find(name)).SetEnabled(enabled);
    CControlUI(Find("macro_tab_macroaction_edit")).SetEnabled(enabled && !recorder_.Rows().empty());
    CControlUI(Find("macro_btn_starredio")).SetVisible(enabled);
    CControlUI(Find("macro_btn_stopredio")).SetVisible(!enabled);
}

int CMacroControlUI::StartCapture(const PageEvent& event)
{
    const std::optional<MacroCaptureCommand> command = CaptureCommandOf(event.name.toStdString());
    if (!command || SelectedMacro() < 0 || recorder_.IsCapturing())
        return 0;
    const bool constantChosen = CControlUI(Find("macro_check_time")).IsSelected();
    const DelayMode mode = DelayModeOf(command->delays, constantChosen);
    const int delay = mode == DelayMode::kConstant ? ConstantDelay() : constantDelay_;
    // The stop button takes the start button's place: a click there ends the
    // capture and is not recorded.
    if (const QWidget* start = Find("macro_btn_starredio"))
        recorder_.SetStopButtonArea(QRect(start->mapToGlobal(QPoint(0, 0)), start->size()));
    recorder_.StartCapture(mode, delay);
    SetEditingEnabled(false);
    return static_cast<int>(command->target);
}

int CMacroControlUI::StopCapture(const PageEvent&)
{
    if (recorder_.IsCapturing()) {
        recorder_.StopCapture();
        SetEditingEnabled(true);
        ShowRows();
        SaveMacro();
    }
    return kMacroCaptureEnded;
}

int CMacroControlUI::CaptureEvent(const PageEvent& event)
{
    const std::optional<MacroCaptureMessage> capture = MacroCaptureMessageOf(event.name.toStdString());
    if (!capture || event.extra == 0)
        return 0;
    const auto message = static_cast<uint32_t>(event.value);
    const bool changed =
        capture->mouse
            ? recorder_.CaptureMouse(capture->target, message, *reinterpret_cast<const HookMouseRecord*>(event.extra))
            : recorder_.CaptureKey(capture->target, message, *reinterpret_cast<const HookKeyRecord*>(event.extra));
    if (!changed)
        return 0;
    ShowRows();
    scrollTimer_.start();
    return 1;
}

int CMacroControlUI::InsertMouseStep(const PageEvent& event)
{
    const std::optional<MouseInsertCommand> command = MouseInsertCommandOf(event.name.toStdString());
    if (!command || SelectedMacro() < 0 || recorder_.IsCapturing())
        return 0;
    const int distance = command->distanceEdit ? TypedNumber(Find(command->distanceEdit), kMaxTypedDelay) : 0;
    for (const uint32_t message : command->messages)
        recorder_.InsertMouseAction(message, command->variant, distance, constantDelay_);
    ShowRows();
    SaveMacro();
    scrollTimer_.start();
    return 1;
}

int CMacroControlUI::EditSteps(const PageEvent& event)
{
    if (SelectedMacro() < 0 || recorder_.IsCapturing())
        return 0;
    (recorder_.*StepEditOf(event.name))();
    ShowRows();
    SaveMacro();
    scrollTimer_.start();
    return 1;
}
