// DPI step codes per sensor: shown values, typed values and slider ranges.

#include "devices/mouse/mouse_dpi.h"
#include "devices/mouse/mouse_memory_map.h"

#include <gtest/gtest.h>

#include <array>

namespace {

std::array<uint8_t, kInfoBlockSize> Info(uint16_t sensor, uint8_t step, uint16_t highest, uint16_t base)
{
    std::array<uint8_t, kInfoBlockSize> info{};
    SetU16(info.data(), kInfoSensor, sensor);
    info[kInfoDpiStep] = step;
    SetU16(info.data(), kInfoDpiMax, highest);
    SetU16(info.data(), kInfoDpiBase, base);
    return info;
}

struct Sensor {
    uint16_t code;
    uint8_t step;
    uint16_t highest;
    uint16_t base;
};
constexpr Sensor k3104{kSensor3104, 0, 100, 0};
constexpr Sensor k8925{kSensor8925, 0, 0, 0};
constexpr Sensor k3325{kSensor3325, 100, 300, 200};
constexpr Sensor k3395{kSensor3395, 0, 0, 0};
constexpr Sensor kOther{0x1234, 100, 50, 400};

CDpiMapping Mapping(const Sensor& s)
{
    const auto info = Info(s.code, s.step, s.highest, s.base);
    return CDpiMapping(info.data());
}

TEST(MouseDpiTest, CodesShowTheSensorsDotsPerInch)
{
    struct Case {
        Sensor sensor;
        int code;
        int shown;
    };
    const Case cases[] = {
        {k3104, 0, 200},   {k3104, 1, 400},   {k3104, 10, 800}, {k3104, 60, 3600},
        {k3104, 120, 8000},  // beyond 8000 stays 8000
        {k8925, 99, 5000}, {k8925, 100, 5100}, {k3325, 48, 5000}, {k3325, 49, 5200},
        {k3395, 0, 50},    {k3395, 519, 26000}, {kOther, 3, 700},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Mapping(c.sensor).CodeToValue(c.code), c.shown) << "sensor " << std::hex << c.sensor.code << std::dec
                                                                  << " code " << c.code;
}

TEST(MouseDpiTest, TypedValuesGiveCodesWithinTheSliderRange)
{
    struct Case {
        Sensor sensor;
        int typed;
        int code;
    };
    const Case cases[] = {
        {k3104, 3600, 60},
        {k3104, 2700, 48},   // shows 2700, where the truncating formula gave 2850
        {k3104, 400, 1},     // codes 1 and 2 both show 400: the lower
        {k3104, 8000, 90},  // the slider ends 10 below the highest position
        {k3104, 0, 0},
        {k8925, 10000, 149},
        {k8925, 5000, 99},
        {k3325, 5200, 49},  // shows 5200 again (the formula gave 48, showing 5000)
        {k3325, 5000, 48},
        {k3325, 5100, 48},  // 5000 and 5200 are as near: the lower
        {k3395, 99, 0},     // truncates, as its formulas are inverses
        {k3395, 10, 0},     // below 50 counts as 50
        {k3395, 12800, 255},  // its slider goes beyond 10000, and so does its edit
        {k3395, 99999, 519},
        {kOther, 900, 5},
        {kOther, 10000, 50},  // clamped to the highest position the mouse reports
        {kOther, 100, 0},     // below the base
    };
    for (const Case& c : cases)
        EXPECT_EQ(Mapping(c.sensor).ValueToCode(c.typed, 7), c.code) << "sensor " << std::hex << c.sensor.code
                                                                     << std::dec << " typed " << c.typed;
}

TEST(MouseDpiTest, ZeroDpiStepKeepsTheCurrentCode)
{
    for (const uint16_t sensor : {kSensor3325, uint16_t{0x1234}}) {
        const auto info = Info(sensor, 0, 300, 200);
        EXPECT_EQ(CDpiMapping(info.data()).ValueToCode(1600, 17), 17) << std::hex << sensor;
    }
}

TEST(MouseDpiTest, SliderRangesPerSensor)
{
    EXPECT_EQ(Mapping(k8925).SliderRange(), (DpiRange{0, 149}));
    EXPECT_EQ(Mapping(k3104).SliderRange(), (DpiRange{0, 90}));
    EXPECT_EQ(Mapping(k3395).SliderRange(), (DpiRange{0, 519}));
    EXPECT_EQ(Mapping(kOther).SliderRange(), (DpiRange{0, 50}));
    const auto info = Info(kOther.code, kOther.step, kOther.highest, kOther.base);
    EXPECT_EQ(CDpiMapping(info.data(), DpiRange{1, 80}).SliderRange(), (DpiRange{1, 80}));
    const auto tiny = Info(kSensor3104, 0, 4, 0);
    EXPECT_EQ(CDpiMapping(tiny.data()).SliderRange(), (DpiRange{0, 0}));
}

TEST(MouseDpiTest, StoredCodesFollowTheSensor)
{
    DpiStage stage{1, 0, 0x1111, 0x2222, 0, 0, 0};
    ASSERT_TRUE(Mapping(k8925).StoreCode(stage, 0x34));
    EXPECT_EQ(stage.dpiX, 0x3434);
    EXPECT_EQ(stage.dpiY, 0x2222);
    EXPECT_EQ(Mapping(k8925).ShownCode(0x3434), 0x34);
    ASSERT_TRUE(Mapping(k3395).StoreCode(stage, 700));  // beyond the slider: clamped
    EXPECT_EQ(stage.dpiX, 519);
    EXPECT_FALSE(Mapping(k3325).StoreCode(stage, 12));
    EXPECT_EQ(stage.dpiX, 519);
}

}  // namespace
