// The report descriptors the simulated collections announce must say what
// their HELLO says, as the program's HID layer reads both.

#include "tools/devsim/headset_device.h"
#include "tools/devsim/keyboard_device.h"
#include "tools/devsim/mouse_device.h"
#include "tools/devsim/mousepad_device.h"
#include "transport/hid_report_descriptor.h"

#include <gtest/gtest.h>

using namespace devsim;

TEST(DevsimDescriptorTest, EveryCollectionParsesToItsAnnouncedShape)
{
    for (const PortModel& port : {MouseCablePort(), MouseReceiverPort(), KeyboardPort(), MousePadPort(), HeadsetPort()}) {
        for (const InterfaceSpec& iface : port.interfaces) {
            SCOPED_TRACE(port.name + " interface " + std::to_string(iface.interfaceNumber) + " collection " +
                         std::to_string(iface.collection));
            const CollectionShape shape = ShapeOf(iface.kind);
            const auto parsed = ParseReportDescriptor(shape.descriptor.data(), shape.descriptor.size());
            ASSERT_TRUE(parsed);
            ASSERT_EQ(parsed->size(), 1u);
            const HidPreparsedData& collection = parsed->front();
            EXPECT_EQ(collection.UsagePage(), shape.usagePage);
            EXPECT_EQ(collection.Usage(), shape.usage);
            EXPECT_EQ(collection.ReportByteLength(HidP_Input), shape.inputLength);
            EXPECT_EQ(collection.ReportByteLength(HidP_Output), shape.outputLength);
            EXPECT_EQ(collection.ReportByteLength(HidP_Feature), shape.featureLength);
        }
    }
}

TEST(DevsimDescriptorTest, NotificationReportUnpacksToItsConsumerCode)
{
    for (CollectionKind kind : {CollectionKind::Consumer, CollectionKind::HeadsetControl}) {
        const CollectionShape shape = ShapeOf(kind);
        const auto parsed = ParseReportDescriptor(shape.descriptor.data(), shape.descriptor.size());
        ASSERT_TRUE(parsed);
        std::vector<uint8_t> report(shape.inputLength, 0);
        report[0] = kNotificationReportId;
        report[1] = 0x25;
        report[2] = 0x11;
        uint16_t usages[4] = {};
        uint32_t count = 4;
        EXPECT_EQ(parsed->front().GetUsages(HidP_Input, 0x000C, usages, &count, report.data(),
                                            static_cast<uint32_t>(report.size())), kHidStatusSuccess);
        ASSERT_EQ(count, 1u);
        EXPECT_EQ(usages[0], 0x1125);
    }
}
