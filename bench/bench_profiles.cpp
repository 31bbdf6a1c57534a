// Loading and saving a keyboard profile that holds every per-key colour group,
// measured against a bare JsonCpp parse and styled write of the same file in
// the same run. Goal: a ratio of at most 1.3.

#include "profiles/json_file.h"
#include "profiles/keyboard_profiledata.h"

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

namespace {

constexpr int kKeys = 170;
constexpr int kRounds = 150;
constexpr double kGoal = 1.3;

Json::Value KeyboardEntry()
{
    Json::Value entry;
    for (int key = 0; key < kKeys; ++key) {
        entry["KeyList"][key]["Assignment"] = 0x200000 + key;
        entry["KeyList"][key]["DefaultAssignment"] = 0x200000 + key;
        entry["LightList"][key] = Json::Value();
    }
    for (const char* name : {"SelectItem", "Light", "Speed", "Fx", "MultiColor", "Red", "Green", "Blue",
                             "ZZCCLedMode", "CustomGroup", "OldLedmode"})
        entry["LightInfo"][name] = 1;
    for (const char* name : {"Repeat", "RepeatDelay", "Key6Flag", "PollingRate", "WFlag", "WinFlag"})
        entry["SystemStages"][name] = 1;
    for (const char* name : {"AudioMode", "BkColorR", "BkColorG", "BkColorB", "FgColorR", "FgColorG", "FgColorB",
                             "7ColorFlags", "ColorTypeFlags"})
        entry["AudioLightInfo"][name] = 1;
    Json::Value& custom = entry["CustomLightMode"];
    custom["CustomLightModeGroupIndex"] = 1;
    for (int group = 0; group < kCustomColorGroupCount; ++group)
        for (int key = 0; key < kKeys; ++key) {
            Json::Value& color = custom["LightColorInfo"][group][key];
            color["Red"] = (key * 7 + group) % 256;
            color["Green"] = (key * 13) % 256;
            color["Blue"] = (key * 29 + group * 50) % 256;
            color["Alpha"] = 255;
        }
    Json::Value document;
    document["profilename"] = "Profile1";
    document["profileUUID"] = "2024_03_05_07_08_09_012";
    document["Device"][0] = entry;
    return document;
}

// What a keyboard page does when it binds a profile and the user paints a key.
void LoadAndSave(const std::string& path, int round)
{
    CKeyboardProfiledata profile;
    profile.SetProfilePath(path);
    profile.LoadProfile(profile.GetProfilePath());
    profile.ReadKeyList();
    const LightInfoRecord light = profile.ReadLightInfo();
    profile.ReadLightList();
    profile.ReadAudioLightInfo();
    profile.ReadKeyboardSettings();
    const int group = profile.ReadCustomLightGroup();
    std::vector<LightColor> colors = profile.ReadCustomLightColors(group, kKeys);
    colors[static_cast<size_t>(round % kKeys)] = {light.red, light.green, light.blue, 255};
    profile.WriteCustomLightColors(colors, group);
    profile.Save();
}

void BareJsonCpp(const std::string& path, const std::string& outPath)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string text(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0).read(text.data(), static_cast<std::streamsize>(text.size()));
    Json::Value root;
    Json::Reader().parse(text, root, true);
    std::ofstream(outPath, std::ios::binary) << Json::StyledWriter().write(root);
}

double FastestMs(const std::vector<double>& samples)
{
    return *std::min_element(samples.begin(), samples.end());
}

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double TimeMs(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const std::string path = folder.path().toStdString() + "/keyboard.Json";
    const std::string barePath = folder.path().toStdString() + "/bare.Json";
    if (WriteJsonFile(path, KeyboardEntry()) != 0)
        return 1;

    // Each round times both, in turns, so a change of the machine's other load
    // weighs on both sides of the round's ratio alike.
    std::vector<double> profileMs, bareMs, ratios;
    for (int round = 0; round < kRounds; ++round) {
        const auto profile = [&] { profileMs.push_back(TimeMs([&] { LoadAndSave(path, round); })); };
        const auto bare = [&] { bareMs.push_back(TimeMs([&] { BareJsonCpp(path, barePath); })); };
        if (round % 2 == 0) {
            profile();
            bare();
        } else {
            bare();
            profile();
        }
        ratios.push_back(profileMs.back() / bareMs.back());
    }
    // Other work on the machine only ever adds time: the fastest rounds show
    // what each side costs.
    const double ratio = FastestMs(profileMs) / FastestMs(bareMs);
    std::printf("keyboard profile (%zu bytes, %d keys, %d colour groups)\n", ReadWholeFile(path).size(), kKeys,
                kCustomColorGroupCount);
    std::printf("  load + save:                  %7.3f ms (fastest of %d rounds)\n", FastestMs(profileMs), kRounds);
    std::printf("  JsonCpp parse + styled write: %7.3f ms\n", FastestMs(bareMs));
    std::printf("  ratio %.2f (goal <= %.1f): %s; median of the rounds' ratios %.2f\n", ratio, kGoal,
                ratio <= kGoal ? "met" : "NOT met", Median(ratios));
    return 0;
}
