#include "tools/ctl/ctl_memory.h"

#include "tools/devsim/control_socket.h"
#include "transport/vhid_bus.h"

#include <cstdio>

namespace {

constexpr const char* kSimulatedPathPrefix = "vhid:";

int ShowSimulatedArea(const CtlOptions& options, const char* area,
                      std::vector<std::string> (*describe)(const std::vector<uint8_t>&))
{
    std::optional<CtlDevice> device = LocateDevice(options);
    if (!device)
        return kExitNoDevice;
    std::printf("%s: %s\n", device->name.c_str(), device->controlPath.c_str());
    if (device->controlPath.rfind(kSimulatedPathPrefix, 0) != 0) {
        std::fprintf(stderr, "error: the %s has no command that reads its %s memory back; only a simulated "
                             "device shows it\n", FamilyName(options.family), area);
        return kExitExchangeFailed;
    }
    std::string dump;
    const std::string command = std::string("dump ") + FamilyName(options.family) + " " + area;
    if (devsim::AskSimulator(vhid::BusDirectory(), command, dump) != devsim::SimulatorReply::kOk) {
        std::fprintf(stderr, "error: the simulator serving %s did not answer \"%s\"%s\n",
                     vhid::BusDirectory().c_str(), command.c_str(), dump.empty() ? "" : (": " + dump).c_str());
        return kExitExchangeFailed;
    }
    const std::optional<std::vector<uint8_t>> memory = ParseAreaDump(dump);
    if (!memory) {
        std::fprintf(stderr, "error: the simulator's dump could not be read\n");
        return kExitExchangeFailed;
    }
    std::printf("%s memory, %zu bytes:\n", area, memory->size());
    for (const std::string& line : describe(*memory))
        std::printf("  %s\n", line.c_str());
    return kExitOk;
}

}  // namespace

int RunMacroMemory(const CtlOptions& options)
{
    if (options.family == CtlFamily::kMousePad) {
        std::fprintf(stderr, "error: the mouse pad keeps no macros\n");
        return kExitUsage;
    }
    return ShowSimulatedArea(options, "macro", DescribeMacroMemory);
}

int RunRecoilMemory(const CtlOptions& options)
{
    if (options.family != CtlFamily::kMouse) {
        std::fprintf(stderr, "error: only the mouse keeps recoil patterns\n");
        return kExitUsage;
    }
    return ShowSimulatedArea(options, "recoil", DescribeRecoilMemory);
}
