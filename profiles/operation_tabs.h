#pragma once
// The row of operation tabs above a device page: their numbers and control
// names, and which of them a device kind hides or shows.

#include <span>

struct OperationTab {
    int number;        // 1 lighting .. 9 other settings
    const char* name;  // the tab's control
};

inline constexpr int kOperationTabCount = 9;

// The nine tabs in number order.
std::span<const OperationTab> OperationTabs();

// Whether a device kind's page shows tab `number`. Kinds that say nothing of
// a tab get the layout's own choice: the headset's sound tabs hidden, the
// others shown, so no tab stays behind from the page shown before.
bool OperationTabShown(int deviceKind, int number);
