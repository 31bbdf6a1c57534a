#pragma once
// Macros on the device: which macros the keys use, the codes the keys carry
// there, the repair of bindings when a macro is deleted, and the macro image
// sent with the key table.

#include "panels/macro_library.h"
#include "profiles/records.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CBasicProfiledata;
class CCommandChannel;

// Key-function types that bind a key to a macro (value1: macro index).
constexpr uint8_t kKeyMacroRepeatMode = 0x70;   // value2: repeat mode 0-3
constexpr uint8_t kKeyMacroRepeatCount = 0x71;  // value2: repeat count

constexpr bool IsMacroCode(KeyFunctionCode code)
{
    return code.type == kKeyMacroRepeatMode || code.type == kKeyMacroRepeatCount;
}

bool KeyListUsesMacro(const std::vector<KeyListEntry>& keys, int macroIndex);
// Keys bound to the deleted macro get their default code back, keys bound to
// a later macro follow it one place down. True when anything changed.
bool RepairMacroBindings(std::vector<KeyListEntry>& keys, int deletedIndex);
// The same for each profile file; the paths whose repaired key list could not
// be saved are returned.
std::vector<std::string> RepairProfilesAfterMacroDeletion(CBasicProfiledata& profile,
                                                          const std::vector<std::string>& profilePaths,
                                                          int deletedIndex);

struct MacroDeletion {
    bool deleted = false;
    bool currentKeysChanged = false;
    std::vector<std::string> unsavedProfiles;  // repaired, but could not be written
};
// Deletes macro `index` once the user agrees. confirmInUse is asked only when a
// key of the current key list uses the macro; declining, or a list file that
// can't be written, changes nothing anywhere. Then the keys of the other
// profiles and of the current list follow the list.
MacroDeletion DeleteMacroAndRepairBindings(CMacroLibrary& library, size_t index, CBasicProfiledata& profile,
                                           const std::vector<std::string>& otherProfilePaths,
                                           std::vector<KeyListEntry>& currentKeys,
                                           const std::function<bool()>& confirmInUse);

// Macro indices the keys use, in key order, each once: the image's order.
// Indices at or past macroCount are left out.
std::vector<int> CollectUsedMacros(const std::vector<KeyListEntry>& keys, size_t macroCount);
// The code a key carries on the device: a macro code's index becomes the
// macro's place in the image; a code naming a missing macro becomes the key's
// default code.
KeyFunctionCode DeviceKeyCode(const KeyListEntry& key, const std::vector<int>& usedMacros);

// Results of building and sending the macro image.
constexpr int kMacroImageSent = 0;    // also: nothing to send
constexpr int kMacroImageFailed = -1;  // device not ready, or an exchange failed

// The image of the used macros, for a device with memoryBytes of macro
// memory. 0 with the image, or the number of events too many: the event count
// of a macro over 60 when eventLimit is set, else the events past the memory.
int BuildMacroImage(const CMacroLibrary& library, const std::vector<int>& usedMacros, size_t memoryBytes,
                    bool eventLimit, std::vector<uint8_t>& image);

// BeginConfig, the image with WriteMacroData, EndConfig. The session is ended
// even after a failed write; the result is the first failing exchange's, or
// kResultSuccess. An image over 65535 bytes is not sent (kResultWriteFailed).
int WriteMacroImage(CCommandChannel& channel, const std::vector<uint8_t>& image);

// Reads the information block for the memory size, builds the image and
// writes it in one configuration session: kMacroImageSent, kMacroImageFailed
// or the positive count of BuildMacroImage (nothing is sent then).
int SendMacroImage(CCommandChannel& channel, const CMacroLibrary& library, const std::vector<int>& usedMacros,
                   bool eventLimit);
