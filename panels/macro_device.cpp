#include "panels/macro_device.h"

#include "panels/macro_image.h"
#include "profiles/basic_profiledata.h"
#include "transport/command_channel.h"

#include <algorithm>

namespace {

// Where the information block gives the macro memory, in units of 128 bytes.
constexpr size_t kInfoMacroUnitsAt = 6;
constexpr size_t kMacroUnitBytes = 128;

}  // namespace

bool KeyListUsesMacro(const std::vector<KeyListEntry>& keys, int macroIndex)
{
    return std::any_of(keys.begin(), keys.end(), [macroIndex](const KeyListEntry& key) {
        return IsMacroCode(key.assigned) && key.assigned.value1 == macroIndex;
    });
}

bool RepairMacroBindings(std::vector<KeyListEntry>& keys, int deletedIndex)
{
    bool changed = false;
    for (KeyListEntry& key : keys) {
        if (!IsMacroCode(key.assigned) || key.assigned.value1 < deletedIndex)
            continue;
        if (key.assigned.value1 == deletedIndex)
            key.assigned = key.defaultCode;
        else
            --key.assigned.value1;
        changed = true;
    }
    return changed;
}

std::vector<std::string> RepairProfilesAfterMacroDeletion(CBasicProfiledata& profile,
                                                          const std::vector<std::string>& profilePaths,
                                                          int deletedIndex)
{
    std::vector<std::string> unsaved;
    for (const std::string& path : profilePaths) {
        profile.LoadOtherProfile(path);
        std::vector<KeyListEntry> keys = profile.ReadOtherKeyList();
        if (!RepairMacroBindings(keys, deletedIndex))
            continue;
        profile.WriteOtherKeyList(keys);
        if (!profile.SaveOther(path))
            unsaved.push_back(path);
    }
    return unsaved;
}

MacroDeletion DeleteMacroAndRepairBindings(CMacroLibrary& library, size_t index, CBasicProfiledata& profile,
                                           const std::vector<std::string>& otherProfilePaths,
                                           std::vector<KeyListEntry>& currentKeys,
                                           const std::function<bool()>& confirmInUse)
{
    MacroDeletion deletion;
    const int macro = static_cast<int>(index);
    if (index >= library.Entries().size() || (KeyListUsesMacro(currentKeys, macro) && !confirmInUse()))
        return deletion;
    if (!library.Remove(index))
        return deletion;
    deletion.deleted = true;
    deletion.unsavedProfiles = RepairProfilesAfterMacroDeletion(profile, otherProfilePaths, macro);
    deletion.currentKeysChanged = RepairMacroBindings(currentKeys, macro);
    return deletion;
}

std::vector<int> CollectUsedMacros(const std::vector<KeyListEntry>& keys, size_t macroCount)
{
    std::vector<int> used;
    for (const KeyListEntry& key : keys) {
        const int index = key.assigned.value1;
        if (IsMacroCode(key.assigned) && static_cast<size_t>(index) < macroCount &&
            std::find(used.begin(), used.end(), index) == used.end())
            used.push_back(index);
    }
    return used;
}

KeyFunctionCode DeviceKeyCode(const KeyListEntry& key, const std::vector<int>& usedMacros)
{
    if (!IsMacroCode(key.assigned))
        return key.assigned;
    const auto place = std::find(usedMacros.begin(), usedMacros.end(), key.assigned.value1);
    if (place == usedMacros.end())
        return key.defaultCode;
    KeyFunctionCode code = key.assigned;
    code.value1 = static_cast<uint8_t>(place - usedMacros.begin());
    return code;
}

int BuildMacroImage(const CMacroLibrary& library, const std::vector<int>& usedMacros, size_t memoryBytes,
                    bool eventLimit, std::vector<uint8_t>& image)
{
    std::vector<std::vector<MacroEvent>> blocks;
    for (const int index : usedMacros) {
        blocks.push_back(library.ReadEvents(static_cast<size_t>(index)));
        if (eventLimit && blocks.back().size() > kMaxMacroEvents)
            return static_cast<int>(blocks.back().size());
    }
    const size_t size = MacroImageSize(blocks);
    if (size > memoryBytes)
        return static_cast<int>((size - memoryBytes) / kDeviceEventSize + 1);
    std::optional<std::vector<uint8_t>> packed = PackMacroImage(blocks);
    if (!packed)  // only when the device reports more memory than an image can address
        return static_cast<int>((size - kMaxImageSize) / kDeviceEventSize + 1);
    image = std::move(*packed);
    return kMacroImageSent;
}

int WriteMacroImage(CCommandChannel& channel, const std::vector<uint8_t>& image)
{
    if (image.size() > kMaxImageSize)
        return kResultWriteFailed;
    int result = channel.BeginConfig();
    if (result != kResultSuccess)
        return result;
    result = channel.WriteMacroData(image.data(), static_cast<uint16_t>(image.size()));
    const int ended = channel.EndConfig();
    return result != kResultSuccess ? result : ended;
}

int SendMacroImage(CCommandChannel& channel, const CMacroLibrary& library, const std::vector<int>& usedMacros,
                   bool eventLimit)
{
    if (usedMacros.empty())
        return kMacroImageSent;
    uint8_t info[kInfoBlockSize] = {};
    if (!channel.IsOpen() || !channel.CheckLink() || channel.ReadInfoBlock(info) != kResultSuccess)
        return kMacroImageFailed;
    std::vector<uint8_t> image;
    const int built = BuildMacroImage(library, usedMacros, info[kInfoMacroUnitsAt] * kMacroUnitBytes, eventLimit,
                                      image);
    if (built != kMacroImageSent)
        return built;
    return WriteMacroImage(channel, image) == kResultSuccess ? kMacroImageSent : kMacroImageFailed;
}
