#pragma once
// What the protocol benchmarks share: a bus directory of their own with the
// device simulator on it, and a discovery sink that ignores its reports.

#include "tools/devsim/simulator.h"
#include "transport/device_discovery.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

class NullDiscoverySink : public CDiscoverySink {
public:
    void OnSlotArrived(int) override {}
    void OnSlotReleased(int) override {}
    void OnFirstPass() override {}
};

class BenchBus {
public:
    BenchBus()
    {
        char pattern[] = "/tmp/kestrova-bench-XXXXXX";
        if (const char* made = ::mkdtemp(pattern)) {
            directory_ = made;
            ::setenv("KESTROVA_VHID_DIR", made, 1);
            sim_ = std::make_unique<devsim::CDeviceSimulator>(directory_);
            started_ = sim_->Start();
        }
    }
    ~BenchBus()
    {
        if (sim_)
            sim_->Stop();
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    BenchBus(const BenchBus&) = delete;
    BenchBus& operator=(const BenchBus&) = delete;

    bool Started() const { return started_; }
    const std::string& Directory() const { return directory_; }
    devsim::CDeviceSimulator& Simulator() { return *sim_; }

private:
    std::string directory_;
    std::unique_ptr<devsim::CDeviceSimulator> sim_;
    bool started_ = false;
};
