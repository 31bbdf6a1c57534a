#pragma once
// The part every simulated device shares: its memories and the device side
// of the 64-byte command protocol. One CFirmware per physical device; the
// mouse keeps the same one on its cable and behind its receiver.

#include "transport/command_frame.h"
#include "transport/device_memory.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

enum class MemoryArea : uint8_t {
    Info,           // the 34-byte information block
    Settings,       // current profile number at 0, then the profile blocks
    KeyTable,       // three bytes per key position
    KeyAttributes,  // one byte per key position: its place in the light buffers
    KeyColors,      // per-key colour groups, 512 bytes apart
    Macro,          // macro image; usable size = info byte 6 x 128
    Recoil,         // recoil image
    LightStream,    // the last streamed light frame
    Status,         // battery level, power state and the like
    HeadsetLights,  // the headset's last light frame, by group, plane and light
};
constexpr size_t kMemoryAreaCount = 10;

const char* AreaName(MemoryArea area);
std::optional<MemoryArea> AreaByName(std::string_view name);

// Status bytes beyond the shared ones (transport/device_memory.h).
constexpr size_t kStatusWireless = 3;
constexpr size_t kStatusAreaSize = 56;

// Factory contents of a device, built by the device files.
struct FirmwareImage {
    std::string name;
    uint16_t version = 0x0100;
    std::array<std::vector<uint8_t>, kMemoryAreaCount> areas;
    std::vector<uint8_t> commands;  // command codes the device answers
};

void PutU16(std::vector<uint8_t>& bytes, size_t at, uint16_t value);

class CFirmware {
public:
    explicit CFirmware(FirmwareImage factory);

    // Runs one request and builds the reply the device sends back.
    CommandFrame Execute(const CommandFrame& request);

    const std::string& Name() const { return factory_.name; }
    uint16_t Version() const { return version_; }
    void SetVersion(uint16_t version) { version_ = version; }

    std::optional<std::vector<uint8_t>> Read(MemoryArea area, size_t offset, size_t length) const;
    bool Write(MemoryArea area, size_t offset, const std::vector<uint8_t>& bytes);
    const std::vector<uint8_t>& Area(MemoryArea area) const { return areas_[Index(area)]; }
    // Bytes of an area the host may address (the macro area is cut to info byte 6 x 128).
    size_t UsableSize(MemoryArea area) const;

    void FactoryReset();
    // Session state a real device loses when it is pulled.
    void PowerCycle();

    bool InConfigSession() const { return inConfig_; }
    bool HostDrivesLighting() const { return hostLighting_; }
    uint32_t StreamedChunks() const { return streamedChunks_; }

private:
    static size_t Index(MemoryArea area) { return static_cast<size_t>(area); }
    bool Supports(uint8_t command) const;
    uint8_t RunCommand(const CommandFrame& request, CommandFrame& reply);
    uint8_t RunControl(uint8_t command, CommandFrame& reply);

    FirmwareImage factory_;
    uint16_t version_;
    std::array<std::vector<uint8_t>, kMemoryAreaCount> areas_;
    bool inConfig_ = false;
    bool hostLighting_ = false;
    uint32_t streamedChunks_ = 0;
};

}  // namespace devsim
