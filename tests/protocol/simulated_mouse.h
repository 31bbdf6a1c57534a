#pragma once
// The simulated mouse reached as the mouse page reaches it, on its cable or
// through its receiver; tests run once per connection.

#include "tools/devsim/simulator.h"
#include "transport/command_channel.h"
#include "transport/device_discovery.h"

#include <gtest/gtest.h>

#include <string>

struct MouseConnection {
    const char* name;
    bool receiver;
};

inline const auto kMouseConnections = ::testing::Values(MouseConnection{"cable", false}, MouseConnection{"receiver", true});

inline std::string ConnectionName(const ::testing::TestParamInfo<MouseConnection>& info)
{
    return info.param.name;
}

// Plugs the mouse, lets discovery find it and opens its control interface on
// the channel, as the page does.
inline void OpenSimulatedMouse(devsim::CDeviceSimulator& sim, CDeviceDiscovery& discovery, const CSlotList& slots,
                               CCommandChannel& channel, bool receiver)
{
    ASSERT_TRUE(sim.Plug(receiver ? devsim::Port::MouseReceiver : devsim::Port::MouseCable));
    discovery.RunPass();
    const DeviceRecord slot = slots.Slot(receiver ? 6 : 4);
    ASSERT_EQ(slot.connected, 1);
    CHidDevice& control = receiver ? channel.ReceiverInterface() : channel.CableInterface();
    ASSERT_TRUE(control.Open(slot.path.c_str(), true, true, true, false));
    channel.SetConnectionMode(receiver ? kReceiverMode : kCableMode);
    channel.SetOpen(true);
}
