#include "app/registered_messages.h"

#include "platform/product.h"
#include "platform/trace.h"

#include <array>

UINT UWM_INSTANCE_MSG = 0;
UINT UWM_SETWND_RELAY_MSG = 0;
UINT UWM_LIGHT_CLAIM_MSG = 0;
UINT UWM_LIGHT_STATE_MSG = 0;
UINT UWM_WORKTOOL_QUERY_MSG = 0;
UINT UWM_AUDIO_CTRL_MSG = 0;

namespace {

constexpr std::array<const char*, 19> kHookMessageNames = {
    "WM_HOOK_KEY_SINGLEKEY_MSG",       "WM_HOOK_KEY_HITKEY_MSG",          "WM_HOOK_KEY_KBMACRO_MSG",
    "WM_HOOK_KEY_KBMACROPREVIOUS_MSG", "WM_HOOK_KEY_KBMACROLATER_MSG",    "WM_HOOK_KEY_KBMACROSINGLE_MSG",
    "WM_HOOK_MOU_SINGLEKEY_MSG",       "WM_HOOK_MOU_HITKEY_MSG",          "WM_HOOK_MOU_KBMACRO_MSG",
    "WM_HOOK_KEY_MSMACRO_MSG",         "WM_HOOK_KEY_MSMACROPREVIOUS_MSG", "WM_HOOK_KEY_MSMACROLATER_MSG",
    "WM_HOOK_KEY_MSMACROSINGLE_MSG",   "WM_HOOK_MOU_MSMACRO_MSG",         "UWM_MOUSERBUTTONDOWN_USER_MSG",
    "UWM_MOUSELBUTTONUP_USER_MSG",     "UWM_MOUSELBUTTONDOWN_USER_MSG",   "UWM_MOUSERBUTTONUP_USER_MSG",
    "UWM_MOUSEMOVE_USER_MSG",
};
constexpr std::array<const char*, 4> kGameMessageNames = {"Game_Start", "Game_End", "Game_Kill", "Game_Death"};

template <size_t N>
const char* RegisteredName(const std::array<const char*, N>& names, UINT message)
{
    if (message == 0)
        return nullptr;
    for (const char* name : names) {
        if (FindRegisteredMessage(QString::fromLatin1(name)) == message)
            return name;
    }
    return nullptr;
}

}  // namespace

bool RegisterInstanceMessage()
{
    UWM_INSTANCE_MSG = RegisterWindowMessage(QString::fromUtf8(kProductTitle));
    TraceF("软件标示：%u", UWM_INSTANCE_MSG);
    return UWM_INSTANCE_MSG >= kFirstRegisteredMessage && UWM_INSTANCE_MSG <= kLastRegisteredMessage;
}

void RegisterProcessMessages()
{
    UWM_SETWND_RELAY_MSG = RegisterWindowMessage(kSetWndRelayMessageName);
    UWM_LIGHT_CLAIM_MSG = RegisterWindowMessage(kLightClaimMessageName);
    UWM_LIGHT_STATE_MSG = RegisterWindowMessage(kLightStateMessageName);
    UWM_WORKTOOL_QUERY_MSG = RegisterWindowMessage(kWorkToolQueryMessageName);
    UWM_AUDIO_CTRL_MSG = RegisterWindowMessage(kAudioCtrlMessageName);
    for (const char* name : kHookMessageNames)
        RegisterWindowMessage(QString::fromLatin1(name));
    for (const char* name : kGameMessageNames)
        RegisterWindowMessage(QString::fromLatin1(name));
}

const char* HookMessageName(UINT message)
{
    return RegisteredName(kHookMessageNames, message);
}

const char* GameMessageName(UINT message)
{
    return RegisteredName(kGameMessageNames, message);
}
