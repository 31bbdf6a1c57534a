#pragma once
// The mouse's key table as read from the device, and the key map: which
// table position belongs to each of the mouse's keys, found by the key's
// default code.

#include "devices/mouse/mouse_memory_map.h"
#include "profiles/records.h"
#include "transport/command_channel.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

// A macro key's number -> its place in the image of used macros, or nothing
// when no such macro exists (the key then gets its default code).
using MacroPlace = std::function<std::optional<uint8_t>(uint8_t macroNumber)>;

// The code's first byte says it names a macro (its value 1 is the number).
bool NamesMacro(const KeyFunctionCode& code);

class CMouseKeyTable {
public:
    // Keeps a table of `keyCount` positions (kKeyCodeSize bytes each) read from
    // the device and finds the keys in it.
    void Take(const uint8_t* table, size_t keyCount);
    bool IsRead() const { return read_; }
    size_t KeyCount() const { return keyCount_; }
    size_t ByteCount() const { return keyCount_ * kKeyCodeSize; }

    // The key's position in the table, or kKeyNotFound.
    uint8_t Position(size_t key) const;
    // The code the table holds for the key, when its position is known.
    std::optional<KeyFunctionCode> CodeOf(size_t key) const;

    // Keys whose default code was not found in the table.
    std::vector<size_t> UnplacedKeys() const;
    // The codes the table holds put into `keys` (extended to the mouse's keys
    // with their default codes); unplaced keys keep what `keys` held.
    void CopyCodesInto(std::vector<KeyListEntry>& keys) const;

    // The table as read, with the code of every placed key of `keys` put at
    // its position. A code that names a macro is renumbered by `macroPlace`,
    // or replaced by the key's default code when that has no place for it.
    std::vector<uint8_t> WithAssignments(const std::vector<KeyListEntry>& keys, const MacroPlace& macroPlace) const;

private:
    void FindKeys();
    KeyFunctionCode CodeAt(size_t position) const;

    std::array<uint8_t, kMaxBlockSize> table_{};
    size_t keyCount_ = 0;
    bool read_ = false;
    std::array<uint8_t, kMouseKeyCount> map_ = MakeEmptyMap();

    static constexpr std::array<uint8_t, kMouseKeyCount> MakeEmptyMap()
    {
        std::array<uint8_t, kMouseKeyCount> map{};
        map.fill(kKeyNotFound);
        return map;
    }
};
