#include "panels/key_set_control_ui.h"

#include "devices/page/function_panel.h"
#include "panels/key_functions.h"
#include "panels/macro_library.h"
#include "platform/trace.h"
#include "profiles/json_file.h"
#include "profiles/profile_paths.h"
#include "services/hook_message.h"
#include "ui/control.h"
#include "ui/dialog_builder.h"
#include "ui/resource_manager.h"
#include "ui/widget_text.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStackedWidget>

#include <algorithm>
#include <iterator>

namespace {

constexpr const char* kLayout = "XML\\CustomControlXML\\KeySetControl.xml";
constexpr const char* kFunctionCombo = "keyset_function_combo";
constexpr const char* kKeyEdit = "keyset_keyboard_text_edit";
constexpr const char* kMacroCombo = "keyset_macro_combo";
constexpr const char* kMacroRepeatCombo = "keyset_macro_over_combo";
constexpr const char* kMacroCycleLayout = "keyset_macro_cycle_layout";
constexpr const char* kModifierBoxPrefix = "key_ComBox_check_";
constexpr int kModifierBoxCount = 5;  // 0 none, then left Ctrl, Shift, Alt, Win
constexpr const char* kSaveButtons[] = {"key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"};
constexpr const char* kSingleKeyMessage = "WM_HOOK_KEY_SINGLEKEY_MSG";

// The function kinds "keyset_function_combo" offers, by page number.
constexpr const char* kFunctionTexts[] = {
    "close_text",          "keyset_function_mouse",    "keyset_function_swing", "keyset_function_wheel",
    "keyset_function_dpi", "mouse_key_fire_key",      "mouse_key_shortcut_key", "keyset_function_media",
    "keyset_function_system", "keyset_function_macro", "keyset_function_recoil", "keyset_function_combination",
};

// The pages that show a code as an item of one combo box, and the table
// that fills it (none: the layout lists the items).
struct RowCombo {
    int page;
    const char* combo;
    KeyCodeTable (*table)();
};
constexpr RowCombo kRowCombos[] = {
    {kPageMouseButton, "keyset_mousekey_combo", MouseButtonTable},
    {kPageDpi, "keyset_mousedpi_combo", DpiTable},
    {kPageMedia, "keyset_media_combo", MediaTable},
    {kPageSystem, "keyset_system_combo", SystemTable},
    {kPageRecoil, "keyset_gunkey_combo", nullptr},
    {kPageCombination, "keyset_combokey_combo", KeyCombinationTable},
};

// Swing and wheel: direction combo, count, delay and speed edits.
struct MotionControls {
    int page;
    const char* direction;
    const char* count;
    const char* delay;
    const char* speed;
};
constexpr MotionControls kMotions[] = {
    {kPageSwing, "keyset_mouseswing_combo", "keyset_mouseswing_num_edit", "keyset_mouseswing_delay_edit",
     "keyset_mouseswing_speed_edit"},
    {kPageWheel, "keyset_mousewheel_combo", "keyset_mousewheel_num_edit", "keyset_mousewheel_delay_edit",
     "keyset_mousewheel_speed_edit"},
};

QString Text(const char* textId)
{
    return CResourceManager::GetInstance().GetText(QString::fromLatin1(textId));
}

const RowCombo* RowComboOf(int page)
{
    for (const RowCombo& row : kRowCombos) {
        if (row.page == page)
            return &row;
    }
    return nullptr;
}

// -1 shows no item.
void ShowItem(CControlUI combo, int item)
{
    if (auto* box = combo.As<QComboBox>(); box && item < 0) {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(-1);
        return;
    }
    combo.SelectItem(item, false);
}

QString ModifierBoxName(int box)
{
    return QString::fromLatin1(kModifierBoxPrefix) + QString::number(box);
}

}  // namespace

CKeySetControlUI::CKeySetControlUI(QWidget* parent) : CFeaturePanel(parent)
{
    if (!CDialogBuilder::BuildInto(this, QString::fromLatin1(kLayout))) {
        Trace("key panel: layout missing");
        return;
    }
    FillCombos();
    if (QWidget* edit = FindSubControlByName(this, QString::fromLatin1(kKeyEdit)).Widget())
        edit->installEventFilter(this);
    FindSubControlByName(this, QStringLiteral("keyset_layout")).SetVisible(false);
    EnableSaveButtons(false);
}

void CKeySetControlUI::FillCombos()
{
    CControlUI functions = FindSubControlByName(this, QString::fromLatin1(kFunctionCombo));
    for (int page = 0; page < static_cast<int>(std::size(kFunctionTexts)); ++page)
        functions.AddItem(QString::fromLatin1(kFunctionTexts[page]), QString::number(page));
    for (const RowCombo& row : kRowCombos) {
        CControlUI combo = FindSubControlByName(this, QString::fromLatin1(row.combo));
        for (size_t i = 0; row.table && i < row.table().size(); ++i)
            combo.AddItem(QString::fromLatin1(row.table()[i].textId));
    }
    AdoptTextIds(this);  // the items above are text identifiers
}

void CKeySetControlUI::FillMacroCombo()
{
    CControlUI combo = FindSubControlByName(this, QString::fromLatin1(kMacroCombo));
    combo.RemoveAllItems();
    if (!Page() || Page()->GetFamilyName().isEmpty())
        return;
    CMacroLibrary macros;
    macros.SetFolder(GetProfileDirectory(Page()->GetFamilyName().toStdString()));
    macros.Load();
    for (const std::wstring& name : macros.Names())
        combo.AddItem(QString::fromStdWString(name));
}

void CKeySetControlUI::FollowKeyList()
{
    FillMacroCombo();
    CVelmoraUSBDevice* page = Page();
    const std::vector<KeyListEntry> keys = page->GetKeyList();
    const int key = page->GetSelectedKey();
    if (key >= 0 && key < std::ssize(keys)) {
        assigned_ = keys[static_cast<size_t>(key)].assigned;
        ShowKeyFunction(assigned_);
    }
    page->ShowKeyTexts();
}

int CKeySetControlUI::HandleFeatureEvent(const PageEvent& event)
{
    if (!IsMousePage(Page()) && !IsKeyboardPage(Page()))
        return 0;
    const QString& name = event.name;
    if (event.type == QLatin1String("command") &&
        (name == QLatin1String("macro_list_changed") || name == QLatin1String("profile_changed"))) {
        FollowKeyList();
        if (name == QLatin1String("profile_changed"))
            EnableSaveButtons(false);  // the switch sent the profile's keys
        return 1;
    }
    if (event.type == QLatin1String("click")) {
        if (name == QLatin1String("key_butt_keysave")) {
            StoreKeyAssignment();
        } else if (name == QLatin1String("key_butt_keydefalut") || name == QLatin1String("key_butt_keycancel")) {
            const bool toDefault = name == QLatin1String("key_butt_keydefalut");
            ShowKeyFunction(toDefault ? default_ : assigned_);
            EnableSaveButtons(toDefault);
        } else if (event.index >= 0) {
            return SelectKey(event.index);
        }
        return 1;
    }
    if (event.type == QLatin1String("itemselect") && name.startsWith(QLatin1String("keyset_"))) {
        if (name == QLatin1String(kFunctionCombo))
            ChooseFunctionPage(FindSubControlByName(this, name).GetItemUserData(static_cast<int>(event.value)).toInt());
        if (name == QLatin1String(kMacroRepeatCombo))
            FindSubControlByName(this, QString::fromLatin1(kMacroCycleLayout))
                .SetVisible(event.value == kMacroRepeatCountItem);
        StoreKeyAssignment();
        return 1;
    }
    if (event.type == QLatin1String("selectchanged") && name.startsWith(QLatin1String(kModifierBoxPrefix))) {
        TickModifierBox(event.index);
        StoreKeyAssignment();
        return 1;
    }
    if (event.type == QLatin1String("killfocus") && name.startsWith(QLatin1String("keyset_"))) {
        StoreKeyAssignment();
        return 1;
    }
    if (event.type == QLatin1String("message") && name == QLatin1String(kSingleKeyMessage) && event.extra != 0) {
        const auto* record = reinterpret_cast<const HookKeyRecord*>(event.extra);
        if (event.value == kKeyDownMessage || event.value == kSystemKeyDownMessage)
            TakeCapturedKey(record->virtualKey, (record->flags & kHookExtendedFlag) != 0);
        return 1;
    }
    if (event.type == QLatin1String("timer") && name == QLatin1String("key_butt_prosave")) {
        EnableSaveButtons(false);  // the device holds what the list holds
        return 1;
    }
    return 0;
}

// A key is shown only while the key tab is open and the profile can be read;
// on a mouse the last key with the left-button function can't be changed.
int CKeySetControlUI::SelectKey(int key)
{
    CVelmoraUSBDevice* page = Page();
    if (page->GetFunctionPanel() != kKeyFunctionPanel || ReadJsonFile(page->GetProfilePathText().toStdString()).isNull())
        return 0;
    const std::vector<KeyListEntry> keys = page->GetKeyList();
    if (IsMousePage(page) && IsLastLeftButton(keys, key))
        return kKeyKeepsLeftButton;
    if (key >= static_cast<int>(keys.size()))
        return 0;
    page->SelectKey(key);
    assigned_ = keys[static_cast<size_t>(key)].assigned;
    default_ = keys[static_cast<size_t>(key)].defaultCode;
    FillMacroCombo();
    FindSubControlByName(this, QStringLiteral("keyset_choose_key_text")).SetVisible(false);
    FindSubControlByName(this, QStringLiteral("keyset_layout")).SetVisible(true);
    ShowKeyFunction(assigned_);
    return 1;
}

void CKeySetControlUI::StoreKeyAssignment()
{
    CVelmoraUSBDevice* page = Page();
    if (!page)
        return;
    std::vector<KeyListEntry> keys = page->GetKeyList();
    if (!::StoreKeyAssignment(keys, page->GetSelectedKey(), ReadKeyFunction()))
        return;
    page->SetKeyList(keys);
    EnableSaveButtons(true);
}

void CKeySetControlUI::ChooseFunctionPage(int page)
{
    if (auto* pages = findChild<QStackedWidget*>(QStringLiteral("function_switch_tablayout")))
        pages->setCurrentIndex(page);
    if (page != kPageKeyboard)
        return;
    key_ = 0;
    FindSubControlByName(this, QString::fromLatin1(kKeyEdit)).SetText({});
    TickModifierBox(0);
}

// Exactly one box is ticked; box 0 means no modifier.
void CKeySetControlUI::TickModifierBox(int box)
{
    for (int i = 0; i < kModifierBoxCount; ++i)
        FindSubControlByName(this, ModifierBoxName(i)).SetSelected(i == box, false);
}

void CKeySetControlUI::TakeCapturedKey(uint32_t virtualKey, bool extended)
{
    KeyPanelValues values = ValuesShown();
    if (!::TakeCapturedKey(values, virtualKey, extended))
        return;
    ShowValues(values);
    StoreKeyAssignment();
}

// The key edit takes a pressed key as the key to assign, not as text.
bool CKeySetControlUI::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return CFeaturePanel::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress && !key->isAutoRepeat()) {
        const HookKeyMessage message =
            HookMessageForKey(key->key(), key->modifiers().toInt(), key->nativeScanCode(), true);
        TakeCapturedKey(message.record.virtualKey, (message.record.flags & kHookExtendedFlag) != 0);
    }
    return true;
}

void CKeySetControlUI::EnableSaveButtons(bool enabled)
{
    for (const char* button : kSaveButtons)
        FindSubControlByName(this, QString::fromLatin1(button)).SetEnabled(enabled);
}

void CKeySetControlUI::ShowKeyFunction(KeyFunctionCode code)
{
    ShowValues(::ShowKeyFunction(code));
}

KeyFunctionCode CKeySetControlUI::ReadKeyFunction()
{
    KeyPanelValues values = ValuesShown();
    const KeyFunctionCode code = ::ReadKeyFunction(values);
    ShowValues(values);  // what was brought into range
    return code;
}

void CKeySetControlUI::ShowValues(const KeyPanelValues& values)
{
    CControlUI functions = FindSubControlByName(this, QString::fromLatin1(kFunctionCombo));
    functions.SelectItem(values.page, false);
    if (auto* pages = findChild<QStackedWidget*>(QStringLiteral("function_switch_tablayout")))
        pages->setCurrentIndex(values.page);
    if (const RowCombo* row = RowComboOf(values.page))
        ShowItem(FindSubControlByName(this, QString::fromLatin1(row->combo)), values.row);
    for (const MotionControls& motion : kMotions) {
        if (motion.page != values.page)
            continue;
        ShowItem(FindSubControlByName(this, QString::fromLatin1(motion.direction)), values.direction);
        FindSubControlByName(this, QString::fromLatin1(motion.count)).SetValue(values.count);
        FindSubControlByName(this, QString::fromLatin1(motion.delay)).SetValue(values.delay);
        FindSubControlByName(this, QString::fromLatin1(motion.speed)).SetValue(values.speed);
    }
    if (values.page == kPageFire) {
        FindSubControlByName(this, QStringLiteral("keyset_mousefire_interval_edit")).SetValue(values.fireInterval);
        FindSubControlByName(this, QStringLiteral("keyset_mousefire_num_edit")).SetValue(values.fireCount);
    }
    if (values.page == kPageKeyboard) {
        TickModifierBox(values.modifierBox);
        key_ = values.key;
        const KeyCodeRow* row = FindRowByCode(KeyboardTable(), {kFunctionKeyboard, 0, values.key});
        FindSubControlByName(this, QString::fromLatin1(kKeyEdit)).SetText(row && values.key ? Text(row->textId) : QString());
    }
    if (values.page == kPageMacro) {
        ShowItem(FindSubControlByName(this, QString::fromLatin1(kMacroCombo)), values.macro);
        ShowItem(FindSubControlByName(this, QString::fromLatin1(kMacroRepeatCombo)), values.macroRepeat);
        FindSubControlByName(this, QString::fromLatin1(kMacroCycleLayout))
            .SetVisible(values.macroRepeat == kMacroRepeatCountItem);
        FindSubControlByName(this, QStringLiteral("keyset_macro_cycle_edit")).SetValue(values.macroCycles);
    }
}

KeyPanelValues CKeySetControlUI::ValuesShown()
{
    KeyPanelValues values;
    const CControlUI functions = FindSubControlByName(this, QString::fromLatin1(kFunctionCombo));
    bool chosen = false;
    values.page = functions.GetItemUserData(functions.GetCurSel()).toInt(&chosen);
    if (!chosen)
        values.page = -1;
    if (const RowCombo* row = RowComboOf(values.page))
        values.row = FindSubControlByName(this, QString::fromLatin1(row->combo)).GetCurSel();
    for (const MotionControls& motion : kMotions) {
        if (motion.page != values.page)
            continue;
        values.direction = FindSubControlByName(this, QString::fromLatin1(motion.direction)).GetCurSel();
        values.count = EditNumber(motion.count);
        values.delay = EditNumber(motion.delay);
        values.speed = EditNumber(motion.speed);
    }
    values.fireInterval = EditNumber("keyset_mousefire_interval_edit");
    values.fireCount = EditNumber("keyset_mousefire_num_edit");
    for (int box = 0; box < kModifierBoxCount; ++box) {
        if (FindSubControlByName(this, ModifierBoxName(box)).IsSelected())
            values.modifierBox = box;
    }
    values.key = key_;
    values.macro = FindSubControlByName(this, QString::fromLatin1(kMacroCombo)).GetCurSel();
    values.macroRepeat = std::max(FindSubControlByName(this, QString::fromLatin1(kMacroRepeatCombo)).GetCurSel(), 0);
    values.macroCycles = EditNumber("keyset_macro_cycle_edit");
    return values;
}

// What the user typed, as a decimal number; 0 when it is none.
int CKeySetControlUI::EditNumber(const char* name)
{
    return FindSubControlByName(this, QString::fromLatin1(name)).GetText().trimmed().toInt();
}
