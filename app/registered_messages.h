#pragma once
// The process-wide registered window messages. Zero until registered.

#include "platform/window_messages.h"

extern UINT UWM_INSTANCE_MSG;         // the product title
extern UINT UWM_SETWND_RELAY_MSG;
extern UINT UWM_LIGHT_CLAIM_MSG;
extern UINT UWM_LIGHT_STATE_MSG;
extern UINT UWM_WORKTOOL_QUERY_MSG;
extern UINT UWM_AUDIO_CTRL_MSG;

inline constexpr const char* kSetWndRelayMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
inline constexpr const char* kLightClaimMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
inline constexpr const char* kLightStateMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";
inline constexpr const char* kWorkToolQueryMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}";
// The fourth-last character is E: other programs register it so.
inline constexpr const char* kAudioCtrlMessageName = "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}";

// UWM_INSTANCE_MSG, needed before the instance test. False when the number
// is outside the registered range.
bool RegisterInstanceMessage();
// The five GUID messages, the capture (hook) messages and the game events;
// the first instance registers them once the toolkit is prepared.
void RegisterProcessMessages();

// The messages a capture sends for each key or mouse event, and the game
// events other programs send. 0 for a number that is none of them.
const char* HookMessageName(UINT message);
const char* GameMessageName(UINT message);
inline constexpr const char* kHitKeyMessageName = "WM_HOOK_KEY_HITKEY_MSG";
