#pragma once
// A simulator in a fresh temporary bus directory, answering without delay.

#include "raw_bus_client.h"
#include "tools/devsim/simulator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

inline constexpr const char* kMouseCommand = "hid#vid_320f&pid_22a9&mi_01&col02#sim-mouse-1";
inline constexpr const char* kMouseNotify = "hid#vid_320f&pid_22a9&mi_00&col03#sim-mouse-1";
inline constexpr const char* kReceiverCommand = "hid#vid_320f&pid_22aa&mi_01&col04#sim-receiver-1";
inline constexpr const char* kReceiverNotify = "hid#vid_320f&pid_22aa&mi_01&col03#sim-receiver-1";
inline constexpr const char* kKeyboardCommand = "hid#vid_320f&pid_0000&mi_01&col04#sim-keyboard-1";
inline constexpr const char* kMousePadCommand = "hid#vid_320f&pid_1004&mi_01&col04#sim-mousepad-1";
inline constexpr const char* kHeadset = "hid#vid_0c76&pid_1630&mi_03#sim-headset-1";

class DevsimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/devsim-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        sim_ = std::make_unique<devsim::CDeviceSimulator>(directory_);
        ASSERT_TRUE(sim_->Start());
        for (size_t i = 0; i < devsim::kDeviceCount; ++i)
            sim_->SetLatency(static_cast<devsim::Device>(i), 0);
    }

    void TearDown() override
    {
        sim_->Stop();
        std::filesystem::remove_all(directory_);
    }

    std::string PathOf(const std::string& socketName) const { return directory_ + "/" + socketName; }
    std::unique_ptr<CRawBusClient> Connect(const std::string& socketName) const
    {
        return std::make_unique<CRawBusClient>(PathOf(socketName));
    }

    devsim::CDeviceSimulator& Sim() { return *sim_; }

private:
    std::string directory_;
    std::unique_ptr<devsim::CDeviceSimulator> sim_;
};
