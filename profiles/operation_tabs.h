#pragma once
// The row of operation tabs above a device page: their numbers and control
// names, and which of them a device kind hides or shows.

#include <optional>
#include <span>

struct OperationTab {
    int number;        // 1 lighting .. 9 other settings
    const char* name;  // the tab's control
};

inline constexpr int kOperationTabCount = 9;

// The nine tabs in number order.
std::span<const OperationTab> OperationTabs();

// Whether a device kind hides (false) or shows (true) tab `number`; no value
// where the kind leaves the tab as the layout has it.
std::optional<bool> OperationTabShown(int deviceKind, int number);
