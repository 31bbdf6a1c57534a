#pragma once
// Lighting synchronisation across devices, without widgets: one effect shown
// on every device at once. Each family numbers its effects differently; the
// common effects below translate between them. A step yields one colour and
// brightness for all devices, packed as red + green x 256 + blue x 65536 +
// brightness x 16777216.

#include "devices/page/light_tables.h"
#include "profiles/records.h"

#include <cstdint>
#include <optional>

enum class SyncEffect : uint8_t { kBreathing = 0, kStatic = 1, kBlinking = 2, kColorCycle = 3, kOff = 4 };
enum class SyncFamily : uint8_t { kKeyboard, kMouse, kPadOrHeadset };

// The common effect of a family's effect code; none for codes without one.
std::optional<SyncEffect> CommonEffect(SyncFamily family, uint8_t code);
uint8_t FamilyEffectCode(SyncFamily family, SyncEffect effect);

// Bytes of a page's lighting record the synchronisation reads.
struct SyncState {
    SyncEffect effect = SyncEffect::kStatic;
    uint8_t level = 0;  // brightness level 0..4
    uint8_t speed = 0;  // 0..4
    uint8_t breathingStep = 1;
    bool colorful = false;
    Rgb color;
};
constexpr size_t kSyncRecordSize = 8;

// The family whose effect codes a device kind uses; none for kinds without
// lights to share.
std::optional<SyncFamily> SyncFamilyOfKind(int kind);
// A page's light state with the shared state put in: the effect in the
// family's own code, level, speed, breathing step, colourful flag and colour.
LightInfoRecord SharedLightInfo(LightInfoRecord own, SyncFamily family, const SyncState& state);
// Effect (family code), level, speed, breathing step, colourful flag, red, green, blue.
std::optional<SyncState> SyncStateFromRecord(SyncFamily family, const uint8_t* record);

class CLightingSyncEffect {
public:
    explicit CLightingSyncEffect(const SyncState& state) : state_(state) {}
    // Ticks between steps at the state's speed.
    int IntervalTicks() const { return kBlinkPeriods[ClampLevel(state_.speed)]; }
    // One step at the time given (a steady clock in milliseconds).
    uint32_t Step(uint32_t nowMs);
    const SyncState& State() const { return state_; }
    uint8_t ColorIndex() const { return colorIndex_; }

private:
    static uint32_t Pack(Rgb color, uint8_t brightness);
    uint8_t Brightness() const { return kBrightnessLevels[ClampLevel(state_.level)]; }
    uint32_t Breathe();
    uint32_t Blink(uint32_t nowMs);
    void AdvanceColor(int by);

    SyncState state_;
    uint8_t breathing_ = 0;
    uint8_t colorIndex_ = 0;
    bool lit_ = false;
    uint32_t lastToggleMs_ = 0;
};
