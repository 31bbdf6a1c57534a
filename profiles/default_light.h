#pragma once
// The built-in light modes and light zones of each device family, from
// "default_light.json" in the default data folder.

#include <string>
#include <vector>

struct DefaultLightNames {
    // Three parallel lists, one element per built-in mode: its name (a text
    // identifier), whether the lighting panel shows it, and the mode's code on
    // the device.
    std::vector<std::wstring> modeNames;
    std::vector<bool> modeVisible;
    std::vector<int> modeValues;
    std::vector<std::wstring> zoneNames;
};

// Empty lists when the file or the family's slot is missing.
DefaultLightNames ReadDefaultLightNames(const std::string& path, int familySlot);

// The mode whose device code is `value`, or `value` itself when no mode has it.
int LightModeOfValue(const DefaultLightNames& names, int value);
// The device code of a mode, or the mode number itself when it is not built in.
int LightValueOfMode(const DefaultLightNames& names, int mode);
