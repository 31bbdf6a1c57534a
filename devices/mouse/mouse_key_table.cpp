#include "devices/mouse/mouse_key_table.h"

#include <algorithm>
#include <cstring>

namespace {

KeyFunctionCode DefaultCodeOf(size_t key)
{
    const KeyCodeBytes& bytes = kMouseDefaultKeyCodes[key];
    return {bytes[0], bytes[1], bytes[2]};
}

}  // namespace

bool NamesMacro(const KeyFunctionCode& code)
{
    return code.type == kKeyTypeMacroRepeatMode || code.type == kKeyTypeMacroRepeatCount;
}

void CMouseKeyTable::Take(const uint8_t* table, size_t keyCount)
{
    keyCount_ = std::min(keyCount, kMaxBlockSize / kKeyCodeSize);
    table_.fill(0);
    std::memcpy(table_.data(), table, ByteCount());
    read_ = true;
    FindKeys();
}

// Each key takes the first position holding its default code; a position
// already taken by an earlier key is not given out twice.
void CMouseKeyTable::FindKeys()
{
    map_ = MakeEmptyMap();
    for (size_t key = 0; key < kMouseKeyCount; ++key) {
        for (size_t position = 0; position < keyCount_; ++position) {
            const bool taken = std::find(map_.begin(), map_.end(), position) != map_.end();
            if (!taken && CodeAt(position) == DefaultCodeOf(key)) {
                map_[key] = static_cast<uint8_t>(position);
                break;
            }
        }
    }
}

KeyFunctionCode CMouseKeyTable::CodeAt(size_t position) const
{
    const uint8_t* at = table_.data() + position * kKeyCodeSize;
    return {at[0], at[1], at[2]};
}

uint8_t CMouseKeyTable::Position(size_t key) const
{
    return key < map_.size() ? map_[key] : kKeyNotFound;
}

std::optional<KeyFunctionCode> CMouseKeyTable::CodeOf(size_t key) const
{
    const uint8_t position = Position(key);
    if (position == kKeyNotFound)
        return std::nullopt;
    return CodeAt(position);
}

std::vector<size_t> CMouseKeyTable::UnplacedKeys() const
{
    std::vector<size_t> unplaced;
    for (size_t key = 0; key < kMouseKeyCount; ++key) {
        if (map_[key] == kKeyNotFound)
            unplaced.push_back(key);
    }
    return unplaced;
}

void CMouseKeyTable::CopyCodesInto(std::vector<KeyListEntry>& keys) const
{
    for (size_t key = keys.size(); key < kMouseKeyCount; ++key) {
        const uint16_t number = static_cast<uint16_t>(key);
        keys.push_back({number, DefaultCodeOf(key), number, DefaultCodeOf(key)});
    }
    for (size_t key = 0; key < kMouseKeyCount; ++key) {
        if (const std::optional<KeyFunctionCode> code = CodeOf(key))
            keys[key].assigned = *code;
    }
}

std::vector<uint8_t> CMouseKeyTable::WithAssignments(const std::vector<KeyListEntry>& keys,
                                                     const MacroPlace& macroPlace) const
{
    std::vector<uint8_t> table(table_.begin(), table_.begin() + static_cast<std::ptrdiff_t>(ByteCount()));
    for (size_t key = 0; key < std::min(keys.size(), kMouseKeyCount); ++key) {
        const uint8_t position = map_[key];
        if (position == kKeyNotFound)
            continue;
        KeyFunctionCode code = keys[key].assigned;
        if (NamesMacro(code)) {
            const std::optional<uint8_t> place = macroPlace ? macroPlace(code.value1) : std::nullopt;
            code = place ? KeyFunctionCode{code.type, *place, code.value2} : keys[key].defaultCode;
        }
        uint8_t* at = table.data() + position * kKeyCodeSize;
        at[0] = code.type;
        at[1] = code.value1;
        at[2] = code.value2;
    }
    return table;
}
