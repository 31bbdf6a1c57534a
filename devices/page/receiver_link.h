#pragma once
// Waiting for a mouse to link with its receiver after the page moved there
// (the cable was pulled): the mouse needs a moment to switch its radio on.

#include "transport/command_channel.h"

#include <chrono>
#include <functional>

inline constexpr int kLinkPollTries = 25;
inline constexpr std::chrono::milliseconds kLinkPollInterval{50};

// Asks the receiver up to kLinkPollTries times, kLinkPollInterval apart,
// whether its mouse is linked. `pause` waits between tries and says false
// when the wait was cut short (the page is going). True once linked.
bool AwaitReceiverLink(CCommandChannel& channel, const std::function<bool(std::chrono::milliseconds)>& pause);
