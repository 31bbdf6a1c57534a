#include "ui/dpi.h"

#include "platform/trace.h"

#include <algorithm>
#include <array>

static constexpr std::array<int, 7> kAllowedDpi = {48, 72, 96, 120, 144, 168, 192};

bool IsAllowedDpi(int dpi)
{
    return std::find(kAllowedDpi.begin(), kAllowedDpi.end(), dpi) != kAllowedDpi.end();
}

int ValidDpi(int dpi)
{
    if (IsAllowedDpi(dpi))
        return dpi;
    TraceF("MAIN_WND DPI SET ERROR %d", dpi);
    return kDefaultDpi;
}

int ScaleForDpi(int value, int dpi)
{
    return (value * ValidDpi(dpi) + kDefaultDpi / 2) / kDefaultDpi;
}
