#include "app/registered_messages.h"

#include "platform/product.h"
#include "platform/trace.h"

UINT UWM_INSTANCE_MSG = 0;
UINT UWM_SETWND_RELAY_MSG = 0;
UINT UWM_LIGHT_CLAIM_MSG = 0;
UINT UWM_LIGHT_STATE_MSG = 0;
UINT UWM_WORKTOOL_QUERY_MSG = 0;
UINT UWM_AUDIO_CTRL_MSG = 0;

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
}
