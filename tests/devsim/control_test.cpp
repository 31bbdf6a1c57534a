// The text commands: what they change, and a clear error for anything else.

#include "devsim_fixture.h"

#include "tools/devsim/control_commands.h"

using devsim::Device;
using devsim::MemoryArea;
using devsim::RunControlCommand;

TEST_F(DevsimTest, ControlCommandsActOnTheSimulator)
{
    for (const char* line : {"plug receiver", "unlink", "battery mouse 15 charging", "info mouse marker 0x42",
                             "poke mouse settings 0x100 aa55", "fault mouse status fe WriteMemory 2",
                             "version mouse 0x0105"})
        EXPECT_TRUE(RunControlCommand(Sim(), line).ok) << line;
    EXPECT_TRUE(Sim().IsPlugged(devsim::Port::MouseReceiver));
    EXPECT_FALSE(Sim().IsLinked());
    EXPECT_EQ(Sim().ReadArea(Device::Mouse, MemoryArea::Status, 0, 2), (std::vector<uint8_t>{15, 1}));
    EXPECT_EQ(Sim().ReadArea(Device::Mouse, MemoryArea::Info, 7, 1), std::vector<uint8_t>{0x42});
    EXPECT_EQ(Sim().ReadArea(Device::Mouse, MemoryArea::Settings, 0x100, 2), (std::vector<uint8_t>{0xAA, 0x55}));
    EXPECT_EQ(Sim().FirmwareVersion(Device::Mouse), 0x0105);
    EXPECT_NE(Sim().DescribeFaults(Device::Mouse), "none");
    EXPECT_TRUE(RunControlCommand(Sim(), "quit").quit);
}

TEST_F(DevsimTest, ControlCommandsRefuseWhatTheyCannotDo)
{
    for (const char* line : {"frobnicate", "plug toaster", "battery mouse", "battery mouse 300",
                             "notify mouse 0x10000", "fault mouse status zz WriteMemory",
                             "fault mouse status fe \xc3\xa9" "crire", "fault mouse close 0",
                             "poke mouse settings 4096 00", "poke mouse settings 0 abc", "info mouse colour 1",
                             "dump mouse nowhere", "latency mouse -5", "press mouse dpi 7", "notify keyboard 0x0401"}) {
        const devsim::ControlReply reply = RunControlCommand(Sim(), line);
        EXPECT_FALSE(reply.ok) << line;
        EXPECT_EQ(reply.text.rfind("error: ", 0), 0u) << line;
    }
}
