// Any bytes as a profile file, a light configuration and a light effect: every
// reader and writer of every family runs over them, and the profile is saved.

#include "profiles/default_light.h"
#include "profiles/hs6533_profiledata.h"
#include "profiles/json_file.h"
#include "profiles/keyboard_profiledata.h"
#include "profiles/mouse_profiledata.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// Memory-backed when possible: the saves flush to the disk.
std::string WorkFolder()
{
    static const std::string folder = [] {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/kestrova-fuzz-XXXXXX";
        return std::string(mkdtemp(pattern.data()) ? pattern : base) + "/";
    }();
    return folder;
}

void Put(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
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
    keyboard.WriteCustomLightColors(keyboard.ReadCustomLightColors(group, 170), group);
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
    // The same bytes serve as every file the readers open.
    for (const char* name : {"default.Json", "kelvo_light.config", "effect.light", "default_light.json"})
        Put(folder + name, data, size);
    ReadDefaultLightNames(folder + "default_light.json", static_cast<int>(size % 5));

    const std::string profilePath = folder + "profile.Json";
    for (auto* exercise : {&ExerciseMouse, &ExerciseKeyboard, &ExerciseHeadset}) {
        Put(profilePath, data, size);
        exercise(profilePath);
    }
    CBasicProfiledata pad;
    Put(profilePath, data, size);
    ExerciseCommon(pad, profilePath);
    pad.SaveEntry(ParseJsonText(std::string(reinterpret_cast<const char*>(data), size)), profilePath);
    return 0;
}
