#include "app/exchange_rules.h"

#include <QtEndian>
#include <gtest/gtest.h>

TEST(ExchangeRules, DataBlocksAreTakenOnlyAtTheSizeTheirKindPromises)
{
    struct Case {
        std::uintptr_t kind;
        std::size_t size;
        std::size_t taken;
    };
    for (const Case& c : std::initializer_list<Case>{
             {1, 2000, 2000},
             {1, 1999, 0},
             {1, 2001, 0},  // never more than the sound buffer holds
             {1, 0, 0},
             {2, 23, 0},
             {2, 24, 24},
             {2, 4096, 24},  // the colours are the first 24 bytes
             {5, 1024, 0},
             {0, 2000, 0},
         }) {
        EXPECT_EQ(CopyDataBytesTaken(c.kind, c.size), c.taken) << c.kind << "/" << c.size;
    }
}

TEST(ExchangeRules, WorkToolStatusBlockListsVersionAndFamilies)
{
    const QByteArray block = WorkToolStatusBlock();
    ASSERT_EQ(block.size(), kWorkToolStatusBytes);
    const auto value = [&](int i) { return qFromLittleEndian<uint32_t>(block.constData() + 4 * i); };
    EXPECT_EQ(value(0), 2u);
    EXPECT_EQ(value(1), 3u);
    EXPECT_EQ(value(2), 0u);
    EXPECT_EQ(value(3), 2u);
    ASSERT_EQ(value(4), 4u);
    // Mouse first: vendor, product and kind 2 (the cable).
    EXPECT_NE(value(5), 0u);
    EXPECT_NE(value(6), 0u);
    EXPECT_EQ(value(7), 2u);
    for (int i = 5 + 3 * 4; i < kWorkToolStatusBytes / 4; ++i)
        ASSERT_EQ(value(i), 0u) << i;
}

TEST(ExchangeRules, FirmwareBelow0x106IsOfferedAnUpdate)
{
    EXPECT_TRUE(NeedsFirmwareUpdate(0x105));
    EXPECT_TRUE(NeedsFirmwareUpdate(0));
    EXPECT_FALSE(NeedsFirmwareUpdate(0x106));
    EXPECT_FALSE(NeedsFirmwareUpdate(0x200));
}
