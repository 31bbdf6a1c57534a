#include "panels/light_panel_rules.h"

#include "panels/macro_event.h"
#include "transport/device_table.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

constexpr int8_t K = -1;  // keep: the row says nothing of this control

// The columns every set-up's rows share, then the further ones.
enum Column { kE, kM, kC, kP, kB, kS, kD, kColorRow, kSame, kColumnCount };
constexpr std::array<const char*, kSame> kColumnControls = {
    kLightEffectSection, kLightMultiColorCheck,  kLightColorSection,    kLightPaletteSection,
    kLightBrightnessSection, kLightSpeedSection, kLightDirectionSection, nullptr,
};

struct Row {
    std::initializer_list<int> modes;  // empty: every mode no other row names
    std::array<int8_t, kColumnCount> columns;
};

template <size_t N>
const Row& RowFor(const std::array<Row, N>& rows, int mode)
{
    for (const Row& row : rows) {
        if (std::find(row.modes.begin(), row.modes.end(), mode) != row.modes.end())
            return row;
    }
    return rows.back();
}

void ApplyRow(const Row& row, const char* colorRow, LightLayoutPlan& plan)
{
    for (int column = kE; column < kSame; ++column) {
        const char* control = column == kColorRow ? colorRow : kColumnControls[column];
        if (control && row.columns[column] != K)
            plan.enabled.emplace_back(control, row.columns[column] == 1);
    }
    if (row.columns[kSame] != K)
        plan.sameMode = row.columns[kSame] == 1;
}

// Mouse (kind 2); the colour-row column is "deng_rgb_layout".
const std::array<Row, 9> kMouseRows = {{
    {{0}, {1, 0, 1, 1, 1, 0, 0, 1, 1}},
    {{1, 9}, {1, 0, 1, 1, 1, 1, 0, 1, 1}},
    {{2, 3, 4}, {1, 0, 0, 0, 1, 1, 0, 0, 1}},
    {{5}, {1, 1, 0, 0, 1, 1, 0, 0, 1}},
    {{6}, {1, 0, 0, 0, 0, 0, 0, 0, 1}},
    {{7}, {1, 0, 0, 0, 1, 1, 0, K, K}},
    {{8}, {1, 1, 1, 1, 1, 1, 0, K, 1}},
    {{10}, {1, 0, 0, 0, 1, 1, 0, 0, K}},
    {{}, {1, 0, 0, 0, 0, 0, 0, K, K}},
}};

// Mouse pad (kinds 3, 4, 7); no colour-row column.
const std::array<Row, 6> kMousePadRows = {{
    {{0}, {1, 1, 1, 1, 1, 1, K, K, K}},
    {{1}, {1, 0, 0, 0, 1, 1, 0, K, 1}},
    {{2, 4}, {1, 1, 1, 1, 1, 1, 0, K, 1}},
    {{3}, {1, 0, 1, 1, 1, 0, 0, K, 1}},
    {{8}, {1, 0, 0, 0, 0, 0, 0, K, 1}},
    {{}, {1, 0, 0, 0, 0, 0, 0, K, K}},
}};

// The fifth set-up (kind 5): direction and same-mode button untouched.
const std::array<Row, 4> kFifthRows = {{
    {{0, 2, 3}, {1, 1, 1, 1, 1, 1, K, K, K}},
    {{1}, {1, 0, 1, 1, 1, 0, K, K, K}},
    {{4}, {1, 0, 0, 0, 1, 1, K, K, K}},
    {{}, {1, 0, 0, 0, 0, 0, K, K, K}},
}};

// Keyboard (kind 1); the colour-row column is "light_color_layout". What a
// row does beyond the columns is in KeyboardExtras.
const std::array<Row, 18> kKeyboardRows = {{
    {{1, 2}, {1, 1, 1, 1, 1, 1, K, K, K}},
    {{3, 24}, {1, 1, 1, 1, 1, 1, K, K, K}},
    {{4}, {1, 0, 0, 0, 1, 1, 0, 0, 1}},
    {{5, 23}, {1, 0, 1, 1, 1, 1, 0, K, 1}},
    {{6}, {1, 1, 1, 1, 1, 0, 0, K, 1}},
    {{7, 8, 9, 10, 13, 14, 15, 22, 25}, {1, 1, 1, 1, 1, 1, 0, K, K}},
    {{11, 26}, {1, 0, 0, 0, 1, 1, 0, 0, K}},
    {{12}, {1, 0, 0, 0, 1, 1, K, K, K}},
    {{16}, {1, 1, 1, 1, 1, 0, 0, K, K}},
    {{17}, {1, 0, 0, 0, 1, 1, 0, 0, K}},
    {{18}, {1, 0, 0, 0, 1, 0, 1, 0, K}},
    {{20}, {1, 0, 1, 1, 1, 0, 0, K, K}},
    {{21}, {1, 1, 1, 1, 1, 1, K, K, K}},
    {{27}, {1, 0, 0, 0, 1, 1, 0, K, K}},
    {{28}, {1, 0, 0, 0, 0, 0, 0, K, 1}},
    {{29}, {1, 1, 1, 1, 1, 0, K, K, K}},
    {{30}, {1, 0, 0, 0, 1, 0, 0, 0, K}},
    {{}, {1, 0, 0, 0, 0, 0, 0, K, K}},
}};

void FirstStep(LightLayoutPlan& plan)
{
    plan.sameMode = false;
    plan.enabled.emplace_back(kLightDirectionSection, true);
}

void KeyboardFirstStep(LightLayoutPlan& plan)
{
    FirstStep(plan);
    plan.visible = {{kLightCustomSection, false}, {kLightSpeedSection, true}, {kLightZzccRow, false},
                    {kLightAudioRow, false}};
    plan.enabled.emplace_back(kLightColorRow, true);
    plan.directionTexts = {"light_set_right_to_left_text", "light_set_left_to_right_text"};
    plan.colorTab = 0;
}

void KeyboardExtras(int mode, LightLayoutPlan& plan)
{
    switch (mode) {
    case 3:
    case 24:
        plan.directionTexts = {"light_set_clockwise_text", "light_set_anticlockwise_text"};
        break;
    case 12:
        plan.directionTexts = {"light_set_down_to_up_text", "light_set_up_to_down_text"};
        break;
    case 17:
        plan.visible.emplace_back(kLightSpeedSection, false);
        plan.visible.emplace_back(kLightZzccRow, true);
        break;
    case 18:
        plan.directionTexts = {"light_set_outside_to_inside_text", "light_set_inside_to_outside_text"};
        break;
    case 20:
        plan.visible.emplace_back(kLightCustomSection, true);
        plan.visible.emplace_back(kLightSpeedSection, false);
        break;
    case 21:
        plan.directionTexts = {"light_set_up_to_down_text", "light_set_down_to_up_text"};
        break;
    case 29:
        plan.visible.emplace_back(kLightSpeedSection, false);
        plan.visible.emplace_back(kLightAudioRow, true);
        plan.colorTab = 1;
        break;
    default:
        break;
    }
}

template <class List>
auto LastWord(const List& list, const char* control) -> std::optional<bool>
{
    std::optional<bool> word;
    for (const auto& [name, on] : list) {
        if (QLatin1String(name) == QLatin1String(control))
            word = on;
    }
    return word;
}

}  // namespace

bool LightLayoutPlan::Enabled(const char* section) const
{
    return LastWord(enabled, section).value_or(false);
}

std::optional<bool> LightLayoutPlan::Visible(const char* section) const
{
    return LastWord(visible, section);
}

LightLayoutPlan LightLayoutFor(int kind, int mode)
{
    LightLayoutPlan plan;
    switch (kind) {
    case 1:
        KeyboardFirstStep(plan);
        ApplyRow(RowFor(kKeyboardRows, mode), kLightColorRow, plan);
        KeyboardExtras(mode, plan);
        break;
    case 2:
        FirstStep(plan);
        ApplyRow(RowFor(kMouseRows, mode), kLightRgbSection, plan);
        break;
    case 3:
    case 4:
    case 7:
        FirstStep(plan);
        ApplyRow(RowFor(kMousePadRows, mode), nullptr, plan);
        break;
    case 5:
        ApplyRow(RowFor(kFifthRows, mode), nullptr, plan);
        break;
    default:
        break;
    }
    return plan;
}

int LightSetupKind(int pageKind)
{
    if (pageKind == kKindMouseReceiver)
        return kKindMouseCable;
    return pageKind == kKindKeyboardSecond ? kKindKeyboard : pageKind;
}

int LightFamilySlot(int pageKind)
{
    switch (LightSetupKind(pageKind)) {
    case kKindKeyboard:
        return kKeyboardSlot;
    case kKindMouseCable:
        return kMouseSlot;
    case kKindMousePad:
        return kMousePadSlot;
    case kKindHeadset:
        return kHeadsetSlot;
    default:
        return -1;
    }
}

LightInfoRecord ApplyLightChange(LightInfoRecord record, LightChange change, uint32_t value)
{
    const auto byte = static_cast<uint8_t>(value);
    switch (change) {
    case LightChange::Mode:
        record.oldLedMode = record.selectItem;
        record.selectItem = byte;
        break;
    case LightChange::Brightness:
        record.light = byte;
        break;
    case LightChange::Speed:
        record.speed = byte;
        break;
    case LightChange::Direction:
        record.fx = byte;
        break;
    case LightChange::MultiColor:
        record.multiColor = value != 0 ? 1 : 0;
        break;
    case LightChange::Color:
        record.red = static_cast<uint8_t>(value >> 16);
        record.green = static_cast<uint8_t>(value >> 8);
        record.blue = byte;
        record.multiColor = 0;
        break;
    case LightChange::Red:
    case LightChange::Green:
    case LightChange::Blue: {
        uint8_t& component = change == LightChange::Red     ? record.red
                           : change == LightChange::Green ? record.green
                                                          : record.blue;
        component = static_cast<uint8_t>(std::min<uint32_t>(value, 255));
        record.multiColor = 0;
        break;
    }
    case LightChange::ZzccMode:
        record.zzccLedMode = byte;
        break;
    case LightChange::CustomGroup:
        record.customGroup = byte;
        break;
    }
    return record;
}

bool LightChangeEndsSync(LightChange change)
{
    return change != LightChange::Color && change != LightChange::ZzccMode && change != LightChange::CustomGroup;
}

ColorComponentText ColorComponentFromText(const QString& text)
{
    constexpr long long kMaxComponent = 255;
    const int value = static_cast<int>(std::clamp(LeadingDecimal(text.toStdString()), 0LL, kMaxComponent));
    ColorComponentText result{value, std::nullopt};
    if (text != QString::number(value))
        result.shown = QString::number(value);
    return result;
}

std::array<uint32_t, 4> PackLightOptions(const LightInfoRecord& record)
{
    std::array<uint32_t, 4> words{};
    const std::array<uint8_t, LightInfoRecord::kSize> bytes = record.Bytes();
    for (size_t i = 0; i < bytes.size(); ++i)
        words[i / 4] |= static_cast<uint32_t>(bytes[i]) << (8 * (i % 4));
    return words;
}

uint8_t AudioColorTarget(uint8_t currentTarget, bool backgroundChecked, bool foregroundChecked)
{
    return backgroundChecked && (currentTarget == 1 || !foregroundChecked) ? 0 : 1;
}

LightInfoRecord ApplyGameEvent(LightInfoRecord record, int64_t change, int64_t value)
{
    if (change == 0) {
        std::array<uint8_t, LightInfoRecord::kSize> bytes = record.Bytes();
        for (size_t i = 0; i < 4; ++i)
            bytes[i] = static_cast<uint8_t>(value >> (8 * i));
        return LightInfoRecord::FromBytes(bytes);
    }
    if (change == 1 || change == 2)
        record.selectItem = static_cast<uint8_t>(value);
    return record;
}
