#include "profiles/operation_tabs.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

constexpr std::array<OperationTab, kOperationTabCount> kTabs{{
    {1, "deng_Op_tab"},
    {2, "key_Op_tab"},
    {3, "macro_Op_tab"},
    {4, "system_Op_tab"},
    {5, "cursor_Op_tab"},
    {6, "6533_voice_Op_tab"},
    {7, "magic_Op_tab"},
    {8, "Virtual7.1_Op_tab"},
    {9, "otherset_Op_tab"},
}};

enum TabNumber { kKeys = 2, kMacros = 3, kSystem = 4, kCursor = 5, kVoice = 6, kMagic = 7, kVirtual = 8 };

struct KindTabs {
    int kind;
    std::initializer_list<int> hidden;
    std::initializer_list<int> shown;
};

// Kinds 2 and 6 (the mouse) and any kind not listed take the layout's tabs.
const KindTabs kKindTabs[] = {
    {1, {kCursor}, {}},
    {3, {kCursor, kMacros, kSystem, kKeys}, {}},
    {4, {kCursor, kMacros, kKeys}, {}},
    {5, {kCursor, kMacros, kSystem, kKeys}, {}},
    {7, {kCursor, kMacros, kSystem, kKeys}, {kVoice, kMagic, kVirtual}},
};

bool IsHeadsetSoundTab(int number)
{
    return number == kVoice || number == kMagic || number == kVirtual;
}

bool Holds(std::initializer_list<int> numbers, int number)
{
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

}  // namespace

std::span<const OperationTab> OperationTabs()
{
    return kTabs;
}

bool OperationTabShown(int deviceKind, int number)
{
    for (const KindTabs& row : kKindTabs) {
        if (row.kind != deviceKind)
            continue;
        if (Holds(row.hidden, number))
            return false;
        if (Holds(row.shown, number))
            return true;
    }
    return !IsHeadsetSoundTab(number);
}
