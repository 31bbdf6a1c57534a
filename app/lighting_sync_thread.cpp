#include "app/lighting_sync_thread.h"

#include "devices/velmora_usb_device.h"

#include <chrono>

namespace {

uint32_t SteadyMs()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

void CLightingSync::AddPage(CVelmoraUSBDevice* page)
{
    std::lock_guard<std::mutex> guard(mutex_);
    pages_.push_back(page);
}

void CLightingSync::SetEffect(const SyncState& state)
{
    std::lock_guard<std::mutex> guard(mutex_);
    effect_.emplace(state);
}

bool CLightingSync::AnyPageDriving()
{
    std::lock_guard<std::mutex> guard(mutex_);
    if (!effect_)
        return false;
    for (CVelmoraUSBDevice* page : pages_) {
        if (page->Channel().IsOpen() && page->GetLightingSync())
            return true;
    }
    return false;
}

void CLightingSync::Push(uint32_t color)
{
    for (CVelmoraUSBDevice* page : pages_)
        page->SetSyncColor(color);
}

void CLightingSync::Run(const CStopEvent& stop)
{
    uint32_t lastTick = SteadyMs();
    int ticks = 0;
    while (!stop.Wait(std::chrono::milliseconds(1))) {
        if (!AnyPageDriving()) {
            if (stop.Wait(std::chrono::milliseconds(kIdleLookMs)))
                return;
            continue;
        }
        const uint32_t now = SteadyMs();
        if (now - lastTick <= 1)
            continue;
        lastTick = now;
        std::lock_guard<std::mutex> guard(mutex_);
        if (++ticks < effect_->IntervalTicks())
            continue;
        ticks = 0;
        Push(effect_->Step(now));
    }
}
