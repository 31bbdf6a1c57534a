#pragma once
// Share modes of open interfaces within this process, as the system enforces
// them on HID handles: an exclusive handle shares reading only, so it cannot
// be opened beside a writer and no writer can be opened beside it.

#include "transport/hid_backend.h"

#include <memory>
#include <string>

class HidShareClaim {
public:
    // Nothing when an open handle of the path forbids this access.
    static std::unique_ptr<HidShareClaim> Take(const std::string& path, const HidAccess& access);
    ~HidShareClaim();
    HidShareClaim(const HidShareClaim&) = delete;
    HidShareClaim& operator=(const HidShareClaim&) = delete;

private:
    HidShareClaim(std::string path, const HidAccess& access) : path_(std::move(path)), access_(access) {}
    const std::string path_;
    const HidAccess access_;
};
