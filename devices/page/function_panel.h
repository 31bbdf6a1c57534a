#pragma once
// Which tabs a function-panel type selects on a page: the page's
// "device_function_switch" and its "device_key_function_switch".

constexpr int kTabUnchanged = -1;

// The function-panel types the pages name (the operation tabs' numbers).
constexpr int kLightingFunctionPanel = 1;
constexpr int kKeyFunctionPanel = 2;

struct FunctionPanelTabs {
    int functionTab;
    int keyFunctionTab;  // kTabUnchanged: left as it is
    bool operator==(const FunctionPanelTabs&) const = default;
};

// Type 4 is the key panel's fourth view on keyboard and mouse pages and the
// sound view elsewhere.
constexpr FunctionPanelTabs FunctionPanelTabsFor(int type, bool keyboardOrMouse)
{
    switch (type) {
    case 2:
    case 6:
        return {0, 1};
    case 3:
    case 8:
        return {1, kTabUnchanged};
    case 4:
        return keyboardOrMouse ? FunctionPanelTabs{3, kTabUnchanged} : FunctionPanelTabs{0, 2};
    case 7:
        return {0, 2};
    case 5:
        return {2, kTabUnchanged};
    case 9:
        return {4, kTabUnchanged};
    default:
        return {0, 0};
    }
}
