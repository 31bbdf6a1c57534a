#include "transport/device_access.h"

#include "transport/device_table.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <utility>

// The rule file the build wrote from the table.
TEST(DeviceRulesTest, EveryProductOfTheTableHasItsRuleAndEveryLineIsARuleOrAComment)
{
    std::ifstream file(KESTROVA_UDEV_RULES_FILE);
    ASSERT_TRUE(file.is_open()) << KESTROVA_UDEV_RULES_FILE;
    const std::regex rule(R"(SUBSYSTEM=="hidraw", KERNELS=="\*:([0-9A-F]{4}):([0-9A-F]{4})\.\*", TAG\+="uaccess")");
    std::set<std::pair<unsigned long, unsigned long>> products;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, rule)) << line;
        products.emplace(std::stoul(match[1], nullptr, 16), std::stoul(match[2], nullptr, 16));
    }
    for (const DeviceRecord& row : SupportedDeviceTable)
        EXPECT_TRUE(products.count({row.vendorId, row.productId})) << std::hex << row.vendorId << ":" << row.productId;
}

TEST(DeviceAccessTest, OnlyAPresentSupportedHidrawNodeCanBeDenied)
{
    const char* const neverDenied[] = {
        "vhid:hid#vid_320f&pid_22a9&mi_01&col02#sim-mouse-1",  // simulated: no node
        "hidraw:hid#vid_1234&pid_5678#hidraw0",                // another maker's device
        "hidraw:hid#vid_320f&pid_22a9&mi_01&col02#hidraw999",  // gone: absent, not denied
        "hidraw:hid#vid_320f&pid_22a9&mi_01&col02#../tty0",    // not a node name
        "",
    };
    for (const char* path : neverDenied)
        EXPECT_EQ(DeniedDeviceNode(path), "") << path;
}

TEST(DeviceAccessTest, TextNamesTheDeviceTheNodeAndTheRuleFile)
{
    const std::string text = DeviceAccessText("hidraw:hid#vid_320f&pid_22aa&mi_01&col04#hidraw7", "/dev/hidraw7");
    for (const std::string& part : {std::string("mouse through its receiver"), std::string("320F:22AA"),
                                    std::string("/dev/hidraw7"), DeviceRuleFilePath()})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in: " << text;
    EXPECT_NE(DeviceRuleFilePath().find("/udev/rules.d/"), std::string::npos);
}
