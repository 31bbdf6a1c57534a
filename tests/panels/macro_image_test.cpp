// The event-list image byte for byte: macro sets, recoil patterns, the limits
// of its 16-bit fields, and reading an image back from device memory.

#include "panels/macro_image.h"
#include "panels/recoil_patterns.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

MacroEvent Down(int type, int button, long long delay)
{
    return {true, button, type, delay};
}

MacroEvent Up(int type, int button, long long delay)
{
    return {false, button, type, delay};
}

TEST(MacroImage, SmallSetLaidOutByteForByte)
{
    // A 3-step macro and a 1-step one.
    const std::vector<std::vector<MacroEvent>> set = {
        {Down(kMacroKey, 0x04, 50), Up(kMacroKey, 0x04, 300), Down(kMacroMouseButton, 0x01, 0x1234)},
        {Up(kMacroModifierKey, 0x02, 10)},
    };
    const Bytes expected = {
        0xAA, 0x55, 0x2C, 0x00, 0x02, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // magic, 44 bytes, 2 macros
        0x14, 0x00, 0x24, 0x00,                                             // blocks at 20 and 36
        0x03, 0x00, 0x00, 0x00,                                             // 3 events
        0x32, 0x00, 0x8A, 0x04, 0x2C, 0x01, 0x0A, 0x04, 0x34, 0x12, 0x81, 0x01,
        0x01, 0x00, 0x00, 0x00,  // 1 event
        0x0A, 0x00, 0x09, 0x02,
    };
    EXPECT_EQ(PackMacroImage(set), expected);
}

TEST(MacroImage, OneMacroOfThreeEventsIsThirtyFourBytes)
{
    const auto image = PackMacroImage({std::vector<MacroEvent>(3, Down(kMacroKey, 4, 10))});
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), 34u);
    EXPECT_EQ(Bytes(image->begin(), image->begin() + 6), (Bytes{0xAA, 0x55, 0x22, 0x00, 0x01, 0x00}));
}

TEST(MacroImage, DelaysAndButtonsAreHeldToTheirFieldsInsteadOfWrapping)
{
    struct Case {
        MacroEvent step;
        std::array<uint8_t, 4> bytes;
    };
    const Case cases[] = {
        {Down(kMacroKey, 4, 70000), {0xFF, 0xFF, 0x8A, 0x04}},
        {Down(kMacroKey, 4, 65536), {0xFF, 0xFF, 0x8A, 0x04}},
        {Up(kMacroKey, 4, -5), {0x00, 0x00, 0x0A, 0x04}},
        {Up(kMacroHorizontalMove, 300, 1), {0x01, 0x00, 0x04, 0xFF}},
        {Up(0xFF, 1, 1), {0x01, 0x00, 0x7F, 0x01}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeDeviceEvent(c.step), c.bytes) << c.step.delay;
}

TEST(MacroImage, OverSixtyFiveThousandBytesIsNotPacked)
{
    // 16 + 6 + 4 * 16379 = 65538
    EXPECT_FALSE(PackMacroImage({std::vector<MacroEvent>(16379)}));
    EXPECT_TRUE(PackMacroImage({std::vector<MacroEvent>(16378)}));
}

TEST(MacroImage, ReadsBackWhatWasPacked)
{
    const std::vector<std::vector<MacroEvent>> set = {{Down(kMacroKey, 4, 50)}, {}, {Up(kMacroMouseButton, 2, 7)}};
    Bytes memory = *PackMacroImage(set);
    memory.resize(memory.size() + 100, 0xEE);  // the rest of the device's memory
    const auto image = UnpackMacroImage(memory);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->length, 42u);
    EXPECT_EQ(image->offsets, (std::vector<uint16_t>{22, 30, 34}));
    EXPECT_EQ(image->blocks, (std::vector<std::vector<DeviceMacroEvent>>{{{50, 0x8A, 4}}, {}, {{7, 0x01, 2}}}));
}

TEST(MacroImage, DamagedImagesAreRefusedWithAReason)
{
    const Bytes good = *PackMacroImage({{Down(kMacroKey, 4, 50)}});
    struct Case {
        size_t at;
        uint8_t value;
    };
    const Case damages[] = {
        {0, 0x00},   // magic
        {2, 0xFF},   // length past the bytes
        {4, 0x09},   // more offsets than the length holds
        {16, 0x40},  // offset past the length
        {18, 0x05},  // more events than the length holds
    };
    EXPECT_FALSE(UnpackMacroImage(Bytes(good.begin(), good.begin() + 10)));
    for (const Case& damage : damages) {
        Bytes bytes = good;
        bytes[damage.at] = damage.value;
        std::string why;
        EXPECT_FALSE(UnpackMacroImage(bytes, &why)) << damage.at;
        EXPECT_FALSE(why.empty());
    }
}

TEST(RecoilImage, BulletStepsEncodeAsTheDeviceExpects)
{
    const RecoilBullet bullet{3, 12, 90, true, false};  // 3 left, 12 down, 90 ms
    Bytes bytes;
    for (const MacroEvent& step : RecoilBulletSteps(bullet)) {
        const auto encoded = EncodeDeviceEvent(step);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    }
    EXPECT_EQ(bytes, (Bytes{0x0A, 0x00, 0x81, 0x01, 0x00, 0x00, 0x01, 0x01, 0x05, 0x00, 0x84, 0x03,
                            0x5A, 0x00, 0x05, 0x0C, 0x00, 0x00, 0x84, 0x00, 0x00, 0x00, 0x05, 0x00}));
}

TEST(RecoilImage, FourFullPatternsLieAtTheirFixedOffsets)
{
    const std::vector<std::vector<MacroEvent>> patterns(kRecoilPatternCount,
                                                        std::vector<MacroEvent>(kMaxRecoilEvents));
    const auto image = PackMacroImage(patterns);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 2920u);
    EXPECT_EQ((*image)[2], 0x68);
    EXPECT_EQ((*image)[3], 0x0B);
    const auto unpacked = UnpackMacroImage(*image);
    ASSERT_TRUE(unpacked);
    EXPECT_EQ(unpacked->offsets, (std::vector<uint16_t>{24, 748, 1472, 2196}));
    for (const auto& block : unpacked->blocks)
        EXPECT_EQ(block.size(), 180u);
}

}  // namespace
