#include "tools/ctl/ctl_profile.h"

#include "devices/mouse/mouse_device_core.h"
#include "profiles/json_access.h"
#include "profiles/json_file.h"
#include "profiles/profile_paths.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace {

// One NAME=VALUE of "set" that takes a number in a range.
struct NumberSetting {
    const char* name;
    int lowest;
    int highest;
    void (*put)(MouseBlockValues& values, int value);
};

template <MouseSettingIndex index>
void PutSetting(MouseBlockValues& values, int value)
{
    values.settings[index] = static_cast<uint16_t>(value);
}

constexpr NumberSetting kNumberSettings[] = {
    {"stage", 0, kDpiStageCount - 1, [](MouseBlockValues& v, int n) { v.activeStage = n; }},
    {"rate", 0, kMouseReportRateMax, PutSetting<kReportRate>},
    {"sleep1", 0, 255, PutSetting<kDeviceSleep1>},
    {"sleep2", 0, 255, PutSetting<kDeviceSleep2>},
    {"ble-sleep1", 0, 255, PutSetting<kBleSleep1>},
    {"ble-sleep2", 0, 255, PutSetting<kBleSleep2>},
    {"debounce", 0, 255, PutSetting<kKeyDebounceTime>},
    {"lift-off", 0, 1, PutSetting<kSilentAltitude>},
    {"effect", 0, kMouseFirstCustomEffect - 1,
     [](MouseBlockValues& v, int n) { v.light.selectItem = static_cast<uint8_t>(n); }},
    {"brightness", 0, kMouseBrightnessMax,
     [](MouseBlockValues& v, int n) { v.light.light = static_cast<uint8_t>(n); }},
    {"speed", 0, kMouseSpeedMax, [](MouseBlockValues& v, int n) { v.light.speed = static_cast<uint8_t>(n); }},
};

constexpr std::string_view kDpiPrefix = "dpi";
constexpr const char* kColourName = "colour";

// One change asked for: a table setting, a stage's DPI or the light colour.
struct Change {
    const NumberSetting* setting = nullptr;
    int stage = -1;  // DPI of this stage
    bool colour = false;
    int value = 0;
};

int UsageFailure(const std::string& message)
{
    std::fprintf(stderr, "error: %s\n", message.c_str());
    return kExitUsage;
}

std::optional<int> ParseNumber(std::string_view text, int base = 10)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<Change> ParseChange(const std::string& assignment, std::string& problem)
{
    const auto refuse = [&problem](std::string text) {
        problem = std::move(text);
        return std::optional<Change>();
    };
    const size_t equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const std::string_view text = equals == std::string::npos ? "" : std::string_view(assignment).substr(equals + 1);
    if (name == kColourName) {
        const std::string_view hex = text.starts_with("#") ? text.substr(1) : text;
        const std::optional<int> rgb = hex.size() == 6 ? ParseNumber(hex, 16) : std::nullopt;
        if (!rgb || *rgb < 0)
            return refuse("colour needs six hexadecimal digits, e.g. colour=FF8000");
        return Change{nullptr, -1, true, *rgb};
    }
    const std::optional<int> value = ParseNumber(text);
    if (name.starts_with(kDpiPrefix)) {
        const std::optional<int> stage = ParseNumber(std::string_view(name).substr(kDpiPrefix.size()));
        if (!stage || *stage < 0 || *stage >= static_cast<int>(kDpiStageCount) || !value || *value < 0 ||
            *value > kDpiValueCeiling)
            return refuse("dpiN=VALUE needs a stage 0..6 and 0..10000 dots per inch, e.g. dpi2=1600");
        return Change{nullptr, *stage, false, *value};
    }
    for (const NumberSetting& setting : kNumberSettings) {
        if (name != setting.name)
            continue;
        if (!value || *value < setting.lowest || *value > setting.highest)
            return refuse(name + " needs a number from " + std::to_string(setting.lowest) + " to " +
                          std::to_string(setting.highest));
        return Change{&setting, -1, false, *value};
    }
    return refuse("unknown setting \"" + name + "\" (see --help)");
}

// The mouse found, opened and read as the mouse page reads it.
class CtlMouse {
public:
    int Open(const CtlOptions& options, bool needKeys);
    CMouseDeviceCore& Core() { return core_; }
    const DefaultLightNames& LightNames() const { return lightNames_; }
    uint8_t Profile() const { return core_.CurrentProfile(); }

private:
    CCommandChannel channel_;
    CtlDevice device_;
    CMouseDeviceCore core_{channel_};
    DefaultLightNames lightNames_ = ReadDefaultLightNames(DefaultLightNamesPath(), kMouseSlot);
};

int CtlMouse::Open(const CtlOptions& options, bool needKeys)
{
    if (options.family != CtlFamily::kMouse)
        return UsageFailure("set, export and apply work on the mouse only");
    if (int failed = OpenDevice(options, channel_, device_))
        return failed;
    switch (core_.ReadDeviceData()) {
    case DeviceDataOutcome::kNotReady:
        std::fprintf(stderr, "error: the mouse is not ready\n");
        return kExitNoDevice;
    case DeviceDataOutcome::kInfoReadFailed:
        std::fprintf(stderr, "error: the mouse's information block could not be read or set up\n");
        return kExitExchangeFailed;
    case DeviceDataOutcome::kNotSetUp:
        std::fprintf(stderr, "error: the mouse's information block is not valid (\"kestrova-ctl info\" shows it)\n");
        return kExitExchangeFailed;
    case DeviceDataOutcome::kKeyTableSkipped:
        if (needKeys) {
            std::fprintf(stderr, "error: the mouse's key table could not be read\n");
            return kExitExchangeFailed;
        }
        break;
    case DeviceDataOutcome::kComplete:
        break;
    }
    const int result = core_.ReadBlock();
    return result == kResultSuccess ? kExitOk : ReportFailure("reading the settings block", result);
}

bool ApplyChange(const Change& change, const CDpiMapping& dpi, MouseBlockValues& values)
{
    if (change.setting != nullptr) {
        change.setting->put(values, change.value);
        std::printf("  %s = %d\n", change.setting->name, change.value);
    } else if (change.colour) {
        values.light.red = static_cast<uint8_t>(change.value >> 16);
        values.light.green = static_cast<uint8_t>(change.value >> 8);
        values.light.blue = static_cast<uint8_t>(change.value);
        std::printf("  colour = #%06X\n", static_cast<unsigned>(change.value));
    } else {
        DpiStage& stage = values.stages[static_cast<size_t>(change.stage)];
        const int code = dpi.ValueToCode(change.value, dpi.ShownCode(stage.dpiX));
        if (!dpi.StoreCode(stage, code)) {
            std::fprintf(stderr, "error: DPI codes of sensor 0x%04X are not stored by this program\n", dpi.Sensor());
            return false;
        }
        std::printf("  DPI stage %d = %d dpi (code %d)\n", change.stage, dpi.CodeToValue(code), code);
    }
    return true;
}

std::string FileProblem(const std::string& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return file + ": no such file";
    const Json::Value document = ReadJsonFile(file);
    if (document.isNull())
        return file + " is empty or not JSON";
    const Json::Value& entry = ElementOf(MemberOf(document, "Device"), 0);
    if (!entry.isObject())
        return file + " is not a profile: it has no \"Device\" entry";
    for (const char* section : {"DPIStages", "SystemStages", "ReportStages", "LightInfo"}) {
        if (!MemberOf(entry, section).isObject())
            return file + " is not a mouse profile: its entry has no \"" + section + "\" section";
    }
    return {};
}

// Stage codes the mouse's slider can't reach would be taken as other values.
std::string StageProblem(const std::vector<DpiStage>& stages, const CDpiMapping& dpi)
{
    const DpiRange range = dpi.SliderRange();
    for (size_t i = 0; i < std::min(stages.size(), kDpiStageCount); ++i) {
        for (const int code : {dpi.ShownCode(stages[i].dpiX), dpi.ShownCode(stages[i].dpiY)}) {
            if (code < range.lowest || code > range.highest)
                return "DPI stage " + std::to_string(i) + "'s code " + std::to_string(code) +
                       " lies outside this mouse's range " + std::to_string(range.lowest) + ".." +
                       std::to_string(range.highest);
        }
    }
    return {};
}

void WarnUnplaced(const std::vector<size_t>& keys, const char* consequence)
{
    for (size_t key : keys)
        std::fprintf(stderr,
                     "warning: key %zu: its default code is not in the mouse's key table, so its place is "
                     "unknown; %s\n",
                     key, consequence);
}

// Macros live in the program's macro files, which apply does not send.
void WarnMacroKeys(const std::vector<KeyListEntry>& keys)
{
    for (const KeyListEntry& key : keys) {
        if (NamesMacro(key.assigned))
            std::fprintf(stderr, "warning: key %u names macro %u; macros are not sent, so it gets its default code\n",
                         key.keyNumber, key.assigned.value1);
    }
}

}  // namespace

int RunSet(const CtlOptions& options, const std::vector<std::string>& assignments)
{
    if (assignments.empty())
        return UsageFailure("set needs at least one NAME=VALUE (see --help)");
    std::vector<Change> changes;
    for (const std::string& assignment : assignments) {
        std::string problem;
        const std::optional<Change> change = ParseChange(assignment, problem);
        if (!change)
            return UsageFailure(problem);
        changes.push_back(*change);
    }
    CtlMouse mouse;
    if (int failed = mouse.Open(options, false))
        return failed;
    MouseBlockValues values;
    mouse.Core().TakeBlockInto(values, mouse.LightNames(), BlockFields::kAll);
    const CDpiMapping dpi = mouse.Core().Dpi();
    std::printf("device profile %u:\n", mouse.Profile());
    for (const Change& change : changes) {
        if (!ApplyChange(change, dpi, values))
            return kExitExchangeFailed;
    }
    const int result = mouse.Core().WriteValues(values, mouse.Profile(), mouse.Profile());
    return result == kResultSuccess ? kExitOk : ReportFailure("writing the settings block", result);
}

int RunExport(const CtlOptions& options, const std::string& file)
{
    CtlMouse mouse;
    if (int failed = mouse.Open(options, true))
        return failed;
    CMouseProfiledata profile;
    profile.SetDefaultProfilePath(DefaultProfilePath(kMouseFamilyName));
    profile.LoadProfile(file);
    profile.SetProfilePath(file);
    mouse.Core().TakeBlockInto(profile, mouse.LightNames(), BlockFields::kAll);
    std::vector<KeyListEntry> keys = profile.ReadKeyList();
    mouse.Core().KeyTable().CopyCodesInto(keys);
    WarnUnplaced(mouse.Core().KeyTable().UnplacedKeys(), "it is exported as the profile had it");
    profile.WriteKeyList(keys);
    if (!profile.Save()) {
        std::fprintf(stderr, "error: %s could not be written\n", file.c_str());
        return kExitUsage;
    }
    std::printf("device profile %u exported to %s\n", mouse.Profile(), file.c_str());
    return kExitOk;
}

int RunApply(const CtlOptions& options, const std::string& file)
{
    if (const std::string problem = FileProblem(file); !problem.empty())
        return UsageFailure(problem);
    CtlMouse mouse;
    if (int failed = mouse.Open(options, true))
        return failed;
    CMouseProfiledata profile;
    profile.LoadProfile(file);
    if (const std::string problem = StageProblem(profile.ReadDpiStages(), mouse.Core().Dpi()); !problem.empty())
        return UsageFailure(file + ": " + problem);
    int result = mouse.Core().WriteSettings(profile, mouse.Profile(), mouse.Profile());
    if (result != kResultSuccess)
        return ReportFailure("writing the settings block", result);
    const std::vector<KeyListEntry> keys = profile.ReadKeyList();
    if (!keys.empty()) {
        WarnUnplaced(mouse.Core().KeyTable().UnplacedKeys(), "it is not written");
        WarnMacroKeys(keys);
        result = mouse.Core().WriteKeyAssignments(keys);
        if (result != kResultSuccess)
            return ReportFailure("writing the key table", result);
    }
    std::printf("%s applied to device profile %u\n", file.c_str(), mouse.Profile());
    return kExitOk;
}
