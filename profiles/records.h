#pragma once
// The records the profile objects exchange with the device pages and panels.
// Plain values: copied in and out, no behaviour beyond packing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Device-family slots of the shared default-data files ("default_light.json",
// "kelvo_light.config"): the data index of each family.
enum DeviceFamilySlot : int {
    kKeyboardSlot = 0,
    kMouseSlot = 1,
    kMousePadSlot = 2,
    kHeadsetSlot = 3,
};

// What a key does: function type, then two values.
struct KeyFunctionCode {
    uint8_t type = 0;
    uint8_t value1 = 0;
    uint8_t value2 = 0;
    friend bool operator==(const KeyFunctionCode&, const KeyFunctionCode&) = default;
};

// Profiles store a code as one integer, type × 65536 + value1 × 256 + value2;
// bits above the three bytes are dropped.
constexpr int PackKeyCode(KeyFunctionCode code)
{
    return code.type * 65536 + code.value1 * 256 + code.value2;
}

constexpr KeyFunctionCode UnpackKeyCode(int packed)
{
    return {static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8),
            static_cast<uint8_t>(packed)};
}

struct KeyListEntry {
    uint16_t keyNumber = 0;
    KeyFunctionCode assigned;
    uint16_t defaultKeyNumber = 0;
    KeyFunctionCode defaultCode;
    friend bool operator==(const KeyListEntry&, const KeyListEntry&) = default;
};

// The light state of a device: fourteen bytes, in the order devices and the
// lighting panel exchange them.
struct LightInfoRecord {
    uint8_t selectItem = 0;  // light mode number
    uint8_t light = 0;       // brightness
    uint8_t speed = 0;
    uint8_t fx = 0;          // direction
    uint8_t multiColor = 0;  // 0 or 1
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t reserved[3] = {0, 0, 0};
    uint8_t zzccLedMode = 0;
    uint8_t customGroup = 0;
    uint8_t oldLedMode = 0;  // mode selected before the current one

    static constexpr size_t kSize = 14;
    std::array<uint8_t, kSize> Bytes() const
    {
        std::array<uint8_t, kSize> bytes{};
        std::memcpy(bytes.data(), this, kSize);
        return bytes;
    }
    static LightInfoRecord FromBytes(const std::array<uint8_t, kSize>& bytes)
    {
        LightInfoRecord record;
        std::memcpy(&record, bytes.data(), kSize);
        return record;
    }
    friend bool operator==(const LightInfoRecord&, const LightInfoRecord&) = default;
};
static_assert(sizeof(LightInfoRecord) == LightInfoRecord::kSize);

// Audio-reactive lighting: style, background and foreground colour.
struct AudioLightRecord {
    uint8_t audioMode = 0;
    uint8_t bkColorR = 0;
    uint8_t bkColorG = 0;
    uint8_t bkColorB = 0;
    uint8_t fgColorR = 0;
    uint8_t fgColorG = 0;
    uint8_t fgColorB = 0;
    uint8_t sevenColorFlags = 0;  // multi-colour, 0 or 1
    uint8_t colorTypeFlags = 0;   // colour the edits show: 1 foreground, 0 background
    friend bool operator==(const AudioLightRecord&, const AudioLightRecord&) = default;
};
static_assert(sizeof(AudioLightRecord) == 9);

// One element of a profile's light list, fourteen bytes.
struct LightListEntry {
    uint8_t regMode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;   // 0 or 1
    uint8_t multiColor = 0;  // 0 or 1
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t unused1[2] = {0, 0};
    uint8_t present = 0;  // 1 when the list held an element here
    uint8_t unused2[3] = {0, 0, 0};
    friend bool operator==(const LightListEntry&, const LightListEntry&) = default;
};
static_assert(sizeof(LightListEntry) == 14);

// One step of a custom light effect.
struct LedEffectStep {
    uint8_t regMode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColor = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t unused[8] = {};
    int32_t time = 0;   // milliseconds the step lasts
    int32_t cycle = 0;
    friend bool operator==(const LedEffectStep&, const LedEffectStep&) = default;
};

// One per-key colour of a keyboard colour group.
struct LightColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;
    friend bool operator==(const LightColor&, const LightColor&) = default;
};

struct DpiStage {
    uint8_t stageActive = 0;  // the stage is enabled
    uint8_t stageXY = 0;      // separate X and Y resolution
    uint16_t dpiX = 0;        // sensor step codes
    uint16_t dpiY = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const DpiStage&, const DpiStage&) = default;
};

// Positions of the mouse's sixteen settings values.
enum MouseSettingIndex : size_t {
    kDoubleClickTime = 0,
    kMouseSpeed = 1,
    kPointerPrecision = 2,
    kScrollPage = 3,
    kWheelScrollLines = 4,
    kReportRate = 5,
    kSilentAltitude = 6,
    kLinearCalibration = 7,
    kRipple = 8,
    kMouseSettingReserved = 9,
    kBleSleep1 = 10,
    kBleSleep2 = 11,
    kDeviceSleep1 = 12,
    kDeviceSleep2 = 13,
    kKeyDebounceTime = 14,
    kLogoLedMode = 15,
    kMouseSettingCount = 16,
};

struct MouseSettings {
    std::array<uint16_t, kMouseSettingCount> values{};
    uint16_t& operator[](size_t index) { return values[index]; }
    uint16_t operator[](size_t index) const { return values[index]; }
    friend bool operator==(const MouseSettings&, const MouseSettings&) = default;
};

struct KeyboardSettings {
    uint16_t repeat = 0;
    uint16_t repeatDelay = 0;
    uint16_t key6Flag = 0;
    uint16_t pollingRate = 0;
    uint16_t wFlag = 0;
    uint16_t winFlag = 0;
    friend bool operator==(const KeyboardSettings&, const KeyboardSettings&) = default;
};

struct HeadsetSettings {
    int magicEnable = 0;
    int magicType = 0;
    int eqType = 0;
    int customEqSelectIndex = 0;
    int micInSelect = 0;
    int micInValue = 0;
    int micMonitorSelect = 0;
    int micMonitorValue = 0;
    friend bool operator==(const HeadsetSettings&, const HeadsetSettings&) = default;
};
