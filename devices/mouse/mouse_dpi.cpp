#include "devices/mouse/mouse_dpi.h"

#include "devices/mouse/mouse_memory_map.h"

#include <algorithm>

namespace {

// Slider ranges of the sensors that have their own.
constexpr DpiRange k8925Range{0, 149};
constexpr DpiRange k3395Range{0, 519};
constexpr int k3104TopMargin = 10;  // its slider ends this far below the highest position
constexpr int k3104Ceiling = 8000;
// 0x3325 changes from steps of the DPI step to steps of 200 dpi above this code.
constexpr int k3325FineCodes = 48;

DpiRange RangeOf(uint16_t sensor, int highest, std::optional<DpiRange> layoutRange)
{
    switch (sensor) {
    case kSensor8925:
        return k8925Range;
    case kSensor3395:
        return k3395Range;
    case kSensor3104:
        return {0, std::max(0, highest - k3104TopMargin)};
    default:
        return layoutRange.value_or(DpiRange{0, highest});
    }
}

}  // namespace

CDpiMapping::CDpiMapping(const uint8_t* infoBlock, std::optional<DpiRange> layoutRange)
    : sensor_(GetU16(infoBlock, kInfoSensor)),
      step_(infoBlock[kInfoDpiStep]),
      highest_(GetU16(infoBlock, kInfoDpiMax)),
      base_(GetU16(infoBlock, kInfoDpiBase)),
      range_(RangeOf(sensor_, highest_, layoutRange))
{
}

int CDpiMapping::ClampCode(int code) const
{
    return std::clamp(code, range_.lowest, std::max(range_.lowest, range_.highest));
}

int CDpiMapping::HighestValue() const
{
    return std::max(kDpiValueCeiling, CodeToValue(std::max(range_.lowest, range_.highest)));
}

int CDpiMapping::CodeToValue(int c) const
{
    switch (sensor_) {
    case kSensor3395:
        return 50 * c + 50;
    case kSensor8925:
        return c < 100 ? 50 * c + 50 : 100 * c - 4900;
    case kSensor3104:
        if (c <= 1)
            return c == 0 ? 200 : 400;
        return std::min(c <= 52 ? 50 * c + 300 : 100 * c - 2400, k3104Ceiling);
    case kSensor3325:
        if (c > k3325FineCodes)
            return k3325FineCodes * step_ + 200 * c + base_ - 9600;
        return step_ * c + base_;
    default:
        return step_ * c + base_;
    }
}

int CDpiMapping::ValueToCode(int value, int currentCode) const
{
    if (UsesDpiStep() && step_ == 0)
        return currentCode;
    const int v = std::clamp(value, kDpiValueFloor, HighestValue());
    // The two formulas of these sensors are not inverses of each other (typed
    // 5200 would show 5000): take the code whose shown value comes nearest.
    if (sensor_ == kSensor3325 || sensor_ == kSensor3104)
        return NearestCode(v);
    return ClampCode(FormulaCode(v));
}

int CDpiMapping::FormulaCode(int v) const
{
    switch (sensor_) {
    case kSensor3395:
        return (v - 50) / 50;
    case kSensor8925:
        return v > 5000 ? (v / 2 - 50) / 50 + 50 : (v - 50) / 50;
    default:
        return (v - base_) / step_;
    }
}

// Shown values never fall as the code rises, so the first code at or above
// the value and the one before it are the only candidates; a tie goes to
// the lower code.
int CDpiMapping::NearestCode(int value) const
{
    int low = range_.lowest;
    int high = std::max(range_.lowest, range_.highest);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CodeToValue(middle) < value)
            low = middle + 1;
        else
            high = middle;
    }
    if (low > range_.lowest && value - CodeToValue(low - 1) <= CodeToValue(low) - value) {
        --low;
        while (low > range_.lowest && CodeToValue(low - 1) == CodeToValue(low))
            --low;
    }
    return low;
}

int CDpiMapping::ShownCode(uint16_t storedX) const
{
    return sensor_ == kSensor8925 ? storedX & 0xFF : storedX;
}

bool CDpiMapping::StoreCode(DpiStage& stage, int code) const
{
    const int kept = ClampCode(code);
    switch (sensor_) {
    case kSensor8925:
        stage.dpiX = static_cast<uint16_t>((kept & 0xFF) * 0x0101);
        return true;
    case kSensor3104:
    case kSensor3395:
        stage.dpiX = static_cast<uint16_t>(kept);
        return true;
    default:
        return false;
    }
}

bool CDpiMapping::UsesDpiStep() const
{
    return sensor_ != kSensor3395 && sensor_ != kSensor8925 && sensor_ != kSensor3104;
}
