#pragma once
// What the main window exchanges with other programs and with the firmware
// update, decided without a window: which data blocks it takes, the status
// block it answers "WorkTool" with, and when a firmware update is offered.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Data blocks other programs send as WM_COPYDATA: kind 1 carries 500 sound
// samples of 32 bits, kind 2 six colour values of 32 bits. A block of
// another size is not what its kind promises and is refused.
inline constexpr std::uintptr_t kSoundDataKind = 1;
inline constexpr std::uintptr_t kStyleColorKind = 2;
inline constexpr std::size_t kSoundDataBytes = 2000;
inline constexpr std::size_t kStyleColorBytes = 24;

// The buffer size a block of this kind fills (the bytes taken), or 0 when
// the block is refused: kind 1 only with exactly 2000 bytes, kind 2 only
// with at least 24 (what follows them is not read).
std::size_t CopyDataBytesTaken(std::uintptr_t kind, std::size_t size);

// The status reply to the window "WorkTool": dwData 5, a 1024-byte block of
// 32-bit little-endian values: the program's four version numbers, the
// number of device families, then vendor id, product id and kind per family;
// zero after that.
inline constexpr std::uintptr_t kWorkToolStatusKind = 5;
inline constexpr int kWorkToolStatusBytes = 1024;
QByteArray WorkToolStatusBlock();

// The mouse firmware from which on no update is offered.
inline constexpr int kCurrentFirmwareVersion = 0x106;
inline constexpr const char* kFirmwareUpdateProgram = "TQ4F07-V0106-20251208.exe";
inline constexpr const char* kFirmwareUpdateArguments = "On the upgrade";
inline bool NeedsFirmwareUpdate(int version)
{
    return version < kCurrentFirmwareVersion;
}
