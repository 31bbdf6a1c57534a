#pragma once
// Key-reactive lighting state of a page: one level per key number (0 dark,
// 255 just lit), one spectrum phase per key and the ring of recent presses.

#include <array>
#include <cstdint>

class CReactiveKeys {
public:
    static constexpr int kKeyCount = 170;
    static constexpr int kRingSize = 23;
    static constexpr int kMarkedKeys = 9;  // key numbers the ring can light
    static constexpr int kAudioMode = 29;  // the audio effects decay in finer steps

    // Lowers the key's level by one step of the mode's decay; out-of-range keys are ignored.
    void StepReactiveLevel(int key, int mode);
    // Keys 0..8 whose ring byte of the same index is set light up fully.
    void MarkPressedKeys();
    // Non-zero: every ring byte one place up, the last becomes the first;
    // zero: one place down, the first becomes the last.
    void RotateRing(int direction);
    void ClearReactiveLevels();

    uint8_t Level(int key) const;  // 0 for an index out of range
    void SetLevel(int key, uint8_t level);
    std::array<uint8_t, kRingSize>& Ring() { return ring_; }
    std::array<uint8_t, kKeyCount>& Phases() { return phases_; }

private:
    std::array<uint8_t, kKeyCount> levels_{};
    std::array<uint8_t, kKeyCount> phases_{};
    std::array<uint8_t, kRingSize> ring_{};
};
