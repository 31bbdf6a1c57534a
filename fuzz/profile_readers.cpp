// Any bytes as a profile file, a light configuration and a light effect: every
// reader and writer of every family runs over them, and the profile is saved.

#include "profiles/default_light.h"
#include "profiles/hs6533_profiledata.h"
#include "profiles/json_file.h"
#include "profiles/keyboard_profiledata.h"
#include "profiles/mouse_profiledata.h"

#include "fuzz/work_folder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void Put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

constexpr const char* kSections[] = {
    "LightInfo",   "AudioLightInfo",  "LightList",       "KeyList",        "DPIStages",
    "SystemStages", "ReportStages",   "CustomLightMode", "SystemSetStages", "EQHzValueInfo",
    "CustomEQNameInfo", "CustomEQHzValueInfo",
};

// Half of the inputs become one section of an otherwise well-formed profile,
// so the readers meet damaged sections and not only damaged files.
std::string ProfileText(const uint8_t* data, size_t size)
{
    const std::string raw(reinterpret_cast<const char*>(data), size);
    if (size == 0 || data[0] >= 0x80)
        return raw;
    const char* section = kSections[data[0] % std::size(kSections)];
    return std::string("{\"Device\": [{\"") + section + "\": " + raw.substr(1) + "}]}";
}

void ExerciseCommon(CBasicProfiledata& profile, const std::string& profilePath)
{
    profile.SetDefaultProfilePath(WorkFolder() + "default.Json");
    profile.SetProfilePath(profilePath);
    profile.LoadProfile(profilePath);
    profile.LoadLightConfig(WorkFolder() + "kelvo_light.config");
    profile.SetBuiltInLightModeCount(1);
    profile.WriteLightInfo(profile.ReadLightInfo());
    profile.WriteAudioLightInfo(profile.ReadAudioLightInfo());
    profile.ReadLightList();
    profile.ReadCustomLightEffect();
    profile.ReadCustomLightNames();
    profile.WriteKeyList(profile.ReadKeyList());
    profile.LoadOtherProfile(profilePath);
    profile.WriteOtherKeyList(profile.ReadOtherKeyList());
}

void ExerciseMouse(const std::string& path)
{
    CMouseProfiledata mouse;
    ExerciseCommon(mouse, path);
    mouse.WriteDpiStages(mouse.ReadDpiStages());
    mouse.WriteActiveDpiStage(mouse.GetActiveDpiStage());
    mouse.WriteMouseSettings(mouse.ReadMouseSettings());
    mouse.Save();
}

void ExerciseKeyboard(const std::string& path)
{
    CKeyboardProfiledata keyboard;
    ExerciseCommon(keyboard, path);
    keyboard.WriteKeyboardSettings(keyboard.ReadKeyboardSettings());
    const int group = keyboard.ReadLightInfo().customGroup;
    keyboard.WriteCustomLightColors(keyboard.ReadCustomLightColors(group, 8), group);
    keyboard.WriteCustomLightGroup(keyboard.ReadCustomLightGroup());
    keyboard.Save();
}

void ExerciseHeadset(const std::string& path)
{
    CHs6533Profiledata headset;
    ExerciseCommon(headset, path);
    const HeadsetSettings settings = headset.ReadHeadsetSettings();
    headset.WriteHeadsetSettings(settings);
    headset.WriteEqValues(settings.eqType, headset.ReadEqValues(settings.eqType));
    headset.WriteCustomEqValues(settings.customEqSelectIndex, headset.ReadCustomEqValues(settings.customEqSelectIndex));
    headset.WriteCustomEqNames(headset.ReadCustomEqNames());
    headset.SaveOther(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string folder = WorkFolder();
    const std::string raw(reinterpret_cast<const char*>(data), size);
    const std::string profile = ProfileText(data, size);
    // The same bytes serve as every other file the readers open.
    for (const char* name : {"default.Json", "kelvo_light.config", "effect.light", "default_light.json"})
        Put(folder + name, raw);
    ReadDefaultLightNames(folder + "default_light.json", static_cast<int>(size % 5));

    const std::string profilePath = folder + "profile.Json";
    for (auto* exercise : {&ExerciseMouse, &ExerciseKeyboard, &ExerciseHeadset}) {
        Put(profilePath, profile);
        exercise(profilePath);
    }
    CBasicProfiledata pad;
    Put(profilePath, profile);
    ExerciseCommon(pad, profilePath);
    pad.SaveEntry(ParseJsonText(raw), profilePath);
    return 0;
}
