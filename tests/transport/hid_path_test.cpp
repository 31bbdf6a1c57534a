// Path functions, path limits and the hidraw enumeration on a fake sysfs tree.

#include "transport/hid_device.h"
#include "transport/hid_hidraw_backend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

struct PathCase {
    const char* path;
    uint16_t vid, pid, interfaceNumber, collection;
};

TEST(HidPathFunctions, ReadNumbersAfterTheirTokensIgnoringCase)
{
    const PathCase cases[] = {
        {R"(\\?\hid#vid_320f&pid_22a9&mi_01&col02#7&1&0&0000#{4d1e55b2})", 0x320F, 0x22A9, 1, 2},
        {"vhid:HID#VID_046D&PID_C077#sim", 0x046D, 0xC077, 0, 0},  // no "&mi_", no "&col"
        {"hidraw:hid#vid_1234&pid_5678&mi_03#hidraw4", 0x1234, 0x5678, 3, 0},
        {"hid#vid_12345&pid_&mi_zz&col1f", 0x2345, 0, 0, 0x1F},  // low 16 bits; no digits gives 0
        {"", 0, 0, 0, 0},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(ParseVid(c.path), c.vid) << c.path;
        EXPECT_EQ(ParsePid(c.path), c.pid) << c.path;
        EXPECT_EQ(ParseInterfaceNumber(c.path), c.interfaceNumber) << c.path;
        EXPECT_EQ(ParseCollectionNumber(c.path), c.collection) << c.path;
    }
    EXPECT_EQ(ParseVid(nullptr), 0);
}

TEST(HidPathFunctions, OpenRefusesPathsLongerThanThePathBuffer)
{
    CHidDevice hid;
    const std::string tooLong = "vhid:hid#vid_320f&pid_22a9#" + std::string(CHidDevice::kMaxPathUnits, 'a');
    EXPECT_FALSE(hid.Open(tooLong.c_str(), true, true, true, false));
    EXPECT_FALSE(hid.IsOpen());
    EXPECT_FALSE(hid.Open(nullptr, true, true, true, false));
    EXPECT_FALSE(hid.Open("com1", true, true, true, false));
}

TEST(HidrawBackend, MissingNodeFailsToOpenCleanly)
{
    CHidDevice hid;
    EXPECT_FALSE(hid.Open("hidraw:hid#vid_320f&pid_22a9#hidraw999", true, true, true, false));
    EXPECT_FALSE(hid.Open("hidraw:hid#vid_320f&pid_22a9#../../etc/passwd", true, false, true, false));
    EXPECT_FALSE(hid.IsOpen());
}

class FakeSysfs : public testing::Test {
protected:
    FakeSysfs() : root_(fs::temp_directory_path() / ("kestrova-sysfs-" + std::to_string(::getpid())))
    {
        fs::create_directories(root_ / "class");
    }
    ~FakeSysfs() override { fs::remove_all(root_); }

    static void Write(const fs::path& file, const std::string& text)
    {
        std::ofstream(file, std::ios::binary) << text;
    }

    // One hidraw node under a USB interface of a device with the given interface count.
    void AddNode(const std::string& node, const std::string& hidId, int interfaces, int interfaceNumber,
                 const std::vector<uint8_t>& descriptor)
    {
        const fs::path usbDevice = root_ / "devices" / node;
        const fs::path usbInterface = usbDevice / "1-1:1.0";
        const fs::path hidDevice = usbInterface / "0003:0001";
        fs::create_directories(hidDevice);
        Write(usbDevice / "bNumInterfaces", " " + std::to_string(interfaces) + "\n");
        Write(usbInterface / "bInterfaceNumber", "0" + std::to_string(interfaceNumber) + "\n");
        Write(hidDevice / "uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=stub\n");
        Write(hidDevice / "report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        fs::create_directories(root_ / "class" / node);
        fs::create_directory_symlink(hidDevice, root_ / "class" / node / "device");
    }

    std::vector<std::string> Enumerate() const
    {
        std::vector<std::string> paths;
        AppendHidrawPathsFrom((root_ / "class").string(), paths);
        return paths;
    }

    fs::path root_;
};

const std::vector<uint8_t> kThreeCollections = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0,
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0xC0};
const std::vector<uint8_t> kOneCollection = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08,
                                             0x95, 0x03, 0x81, 0x06, 0xC0};

TEST_F(FakeSysfs, EachTopLevelCollectionIsAnInterfaceNamedAsTheSystemNamesIt)
{
    AddNode("hidraw10", "0003:0000320F:000022A9", 2, 1, kThreeCollections);
    AddNode("hidraw2", "0003:0000046D:0000C077", 1, 0, kOneCollection);
    AddNode("hidraw3", "garbage", 1, 0, kOneCollection);
    const std::vector<std::string> expected = {
        "hidraw:hid#vid_046d&pid_c077#hidraw2",
        "hidraw:hid#vid_320f&pid_22a9&mi_01&col01#hidraw10",
        "hidraw:hid#vid_320f&pid_22a9&mi_01&col02#hidraw10",
        "hidraw:hid#vid_320f&pid_22a9&mi_01&col03#hidraw10",
    };
    const std::vector<std::string> paths = Enumerate();
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(ParseCollectionNumber(paths[3].c_str()), 3);
    EXPECT_EQ(ParseInterfaceNumber(paths[3].c_str()), 1);
}

TEST_F(FakeSysfs, NodeIsPresentWhileItBelongsToTheListedDevice)
{
    AddNode("hidraw10", "0003:0000320F:000022A9", 2, 1, kThreeCollections);
    AddNode("hidraw2", "0003:0000046D:0000C077", 1, 0, kOneCollection);
    const std::string classRoot = (root_ / "class").string();
    struct Case {
        const char* path;
        bool present;
    };
    const Case cases[] = {
        {"hidraw:hid#vid_320f&pid_22a9&mi_01&col02#hidraw10", true},
        {"hidraw:hid#vid_320f&pid_22a9&mi_01&col02#hidraw2", false},  // the number went to another device
        {"hidraw:hid#vid_320f&pid_22a9&mi_01&col02#hidraw7", false},  // unplugged
        {"hidraw:hid#vid_320f&pid_22a9#../hidraw10", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HidrawPresentIn(classRoot, c.path), c.present) << c.path;
}

TEST_F(FakeSysfs, NoClassDirectoryMeansNoInterface)
{
    std::vector<std::string> paths;
    AppendHidrawPathsFrom((root_ / "missing").string(), paths);
    EXPECT_TRUE(paths.empty());
    EXPECT_TRUE(Enumerate().empty());
}

}  // namespace
