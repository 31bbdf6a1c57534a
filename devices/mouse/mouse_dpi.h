#pragma once
// The mouse's DPI step codes: a stage stores its sensor's step code, which is
// also its slider position; the dots per inch shown and typed follow from the
// sensor named in the information block.

#include "profiles/records.h"

#include <cstdint>
#include <optional>

struct DpiRange {
    int lowest = 0;
    int highest = 0;
    friend bool operator==(const DpiRange&, const DpiRange&) = default;
};

// What a stage's edit accepts; typed values below kDpiValueFloor count as it.
// Sensors whose slider reaches beyond kDpiValueCeiling accept up to its end.
constexpr int kDpiValueFloor = 50;
constexpr int kDpiValueCeiling = 10000;

class CDpiMapping {
public:
    // From a DeviceInfoBlock. Sensors without a range of their own keep
    // `layoutRange` (the page's slider); without one, 0 to the highest DPI
    // position the device reports.
    explicit CDpiMapping(const uint8_t* infoBlock, std::optional<DpiRange> layoutRange = std::nullopt);

    uint16_t Sensor() const { return sensor_; }
    DpiRange SliderRange() const { return range_; }
    int ClampCode(int code) const;
    // The highest value a stage's edit takes: the slider's end, at least kDpiValueCeiling.
    int HighestValue() const;

    // DpiCodeToValue: the dots per inch a code stands for.
    int CodeToValue(int code) const;
    // DpiValueToCode: the code for a typed value, within the slider range.
    // A sensor whose DPI step is 0 keeps `currentCode`.
    int ValueToCode(int value, int currentCode) const;
    // The code a stage shows for its stored X value.
    int ShownCode(uint16_t storedX) const;
    // Puts a code into a stage's X field as this sensor keeps it; false (and
    // the stage unchanged) for sensors whose codes the page doesn't store.
    bool StoreCode(DpiStage& stage, int code) const;

private:
    bool UsesDpiStep() const;
    int NearestCode(int value) const;
    int FormulaCode(int value) const;

    uint16_t sensor_;
    int step_;
    int highest_;
    int base_;
    DpiRange range_;
};
