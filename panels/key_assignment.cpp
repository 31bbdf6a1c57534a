#include "panels/key_assignment.h"

#include "panels/key_functions.h"
#include "panels/macro_key_tables.h"

#include <algorithm>

namespace {

// Pages that show a code as one row of a table.
struct RowPage {
    uint8_t type;
    int page;
    KeyCodeTable (*table)();
};
constexpr RowPage kRowPages[] = {
    {kFunctionMouseButton, kPageMouseButton, MouseButtonTable},
    {kFunctionDpi, kPageDpi, DpiTable},
    {kFunctionConsumer, kPageMedia, MediaTable},
    {kFunctionSystem, kPageSystem, SystemTable},
    {kFunctionCombination, kPageCombination, KeyCombinationTable},
};

constexpr int kModifierBoxes = 4;  // left Ctrl, Shift, Alt, Win
constexpr int kMaxNibble = 15;
constexpr int kMaxSpeed = 0x7F;
constexpr int kWheelBase = 128;
constexpr int kMaxMacroRepeatMode = 3;
constexpr int kRecoilPatterns = 4;

const RowPage* RowPageOfType(uint8_t type)
{
    const auto page = std::find_if(std::begin(kRowPages), std::end(kRowPages),
                                   [type](const RowPage& p) { return p.type == type; });
    return page == std::end(kRowPages) ? nullptr : page;
}

const RowPage* RowPageOfPage(int number)
{
    const auto page = std::find_if(std::begin(kRowPages), std::end(kRowPages),
                                   [number](const RowPage& p) { return p.page == number; });
    return page == std::end(kRowPages) ? nullptr : page;
}

int RowOf(KeyCodeTable table, KeyFunctionCode code)
{
    const KeyCodeRow* row = FindRowByCode(table, code);
    return row == nullptr ? -1 : static_cast<int>(row - table.data());
}

// A right-hand modifier shows in the box of its left-hand twin.
int ModifierBoxOf(uint8_t modifiers)
{
    const int left = (modifiers | modifiers >> 4) & 0x0F;
    for (int box = 1; box <= kModifierBoxes; ++box) {
        if (left == 1 << (box - 1))
            return box;
    }
    return 0;
}

uint8_t Byte(int& value, int low, int high)
{
    value = std::clamp(value, low, high);
    return static_cast<uint8_t>(value);
}

void ShowMotion(KeyFunctionCode code, KeyPanelValues& values)
{
    values.count = code.value1 >> 4;
    values.delay = code.value1 & kMaxNibble;
    const bool second = (code.value2 & kDirectionBit) != 0;
    const int magnitude = code.value2 & kMaxSpeed;
    values.direction = second ? 1 : 0;
    values.speed = second && code.type == kFunctionWheel ? kWheelBase - magnitude : magnitude;
}

KeyFunctionCode ReadMotion(uint8_t type, KeyPanelValues& values)
{
    const uint8_t timing = static_cast<uint8_t>(Byte(values.count, 0, kMaxNibble) << 4 | Byte(values.delay, 0, kMaxNibble));
    // A wheel of no steps does nothing; 128 - 0 would not fit in seven bits.
    const int lowest = type == kFunctionWheel ? 1 : 0;
    const uint8_t amount = Byte(values.speed, lowest, kMaxSpeed);
    if (values.direction != 1)
        return {type, timing, amount};
    const int magnitude = type == kFunctionWheel ? kWheelBase - amount : amount;
    return {type, timing, static_cast<uint8_t>(magnitude | kDirectionBit)};
}

KeyFunctionCode ReadMacro(KeyPanelValues& values)
{
    const uint8_t macro = values.macro < 0 ? 0 : Byte(values.macro, 0, 255);
    if (values.macroRepeat == kMacroRepeatCountItem)
        return {kFunctionMacroRepeatCount, macro, Byte(values.macroCycles, 0, 255)};
    return {kFunctionMacroRepeatMode, macro, Byte(values.macroRepeat, 0, kMaxMacroRepeatMode)};
}

}  // namespace

KeyPanelValues ShowKeyFunction(KeyFunctionCode code)
{
    KeyPanelValues values;
    if (const RowPage* page = RowPageOfType(code.type)) {
        values.page = page->page;
        values.row = RowOf(page->table(), code);
        return values;
    }
    switch (code.type) {
    case kFunctionHorizontalSwing:
    case kFunctionWheel:
        values.page = code.type == kFunctionWheel ? kPageWheel : kPageSwing;
        ShowMotion(code, values);
        break;
    case kFunctionFire:
        values.page = kPageFire;
        values.fireInterval = code.value1;
        values.fireCount = code.value2;
        break;
    case kFunctionKeyboard:
        values.page = kPageKeyboard;
        values.modifierBox = ModifierBoxOf(code.value1);
        values.key = code.value2;
        break;
    case kFunctionMacroRepeatMode:
    case kFunctionMacroRepeatCount:
        values.page = kPageMacro;
        values.macro = code.value1;
        values.macroRepeat = code.type == kFunctionMacroRepeatCount ? kMacroRepeatCountItem : code.value2;
        values.macroCycles = code.type == kFunctionMacroRepeatCount ? code.value2 : 0;
        break;
    case kFunctionRecoil:
        values.page = kPageRecoil;
        values.row = code.value1 < kRecoilPatterns ? code.value1 : -1;
        break;
    default:
        break;
    }
    return values;
}

KeyFunctionCode ReadKeyFunction(KeyPanelValues& values)
{
    if (const RowPage* page = RowPageOfPage(values.page)) {
        const KeyCodeTable table = page->table();
        if (values.row < 0 || static_cast<size_t>(values.row) >= table.size())
            return {};
        return table[static_cast<size_t>(values.row)].code;
    }
    switch (values.page) {
    case kPageSwing:
        return ReadMotion(kFunctionHorizontalSwing, values);
    case kPageWheel:
        return ReadMotion(kFunctionWheel, values);
    case kPageFire:
        return {kFunctionFire, Byte(values.fireInterval, kMinFireInterval, 255), Byte(values.fireCount, 0, 255)};
    case kPageKeyboard: {
        const bool ticked = values.modifierBox >= 1 && values.modifierBox <= kModifierBoxes;
        return {kFunctionKeyboard, static_cast<uint8_t>(ticked ? 1 << (values.modifierBox - 1) : 0), values.key};
    }
    case kPageMacro:
        return ReadMacro(values);
    case kPageRecoil:
        return {kFunctionRecoil, values.row < 0 ? uint8_t{0} : Byte(values.row, 0, kRecoilPatterns - 1), 0};
    default:
        return {};
    }
}

bool StoreKeyAssignment(std::vector<KeyListEntry>& keys, int selectedKey, KeyFunctionCode code)
{
    if (selectedKey < 0 || static_cast<size_t>(selectedKey) >= keys.size())
        return false;
    keys[static_cast<size_t>(selectedKey)].assigned = code;
    return true;
}

bool IsLastLeftButton(const std::vector<KeyListEntry>& keys, int key)
{
    constexpr KeyFunctionCode left{kFunctionMouseButton, kMouseButtonLeft, 0};
    if (key < 0 || static_cast<size_t>(key) >= keys.size() || keys[static_cast<size_t>(key)].assigned != left)
        return false;
    return std::count_if(keys.begin(), keys.end(), [&left](const KeyListEntry& e) { return e.assigned == left; }) == 1;
}

bool TakeCapturedKey(KeyPanelValues& values, uint32_t virtualKey, bool extended)
{
    const MacroKeyRow* row = FindKeyByVirtualKey(virtualKey, extended);
    if (row == nullptr || (row->modifierBit == 0 && row->usage == 0))
        return false;
    values.page = kPageKeyboard;
    if (row->modifierBit != 0)
        values.modifierBox = ModifierBoxOf(row->modifierBit);
    else
        values.key = row->usage;
    return true;
}
