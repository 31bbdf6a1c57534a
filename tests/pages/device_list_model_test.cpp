#include "app/device_list_model.h"

#include <gtest/gtest.h>

class DeviceListModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i)
            model.Add();
    }
    CDeviceListModel model;
};

TEST_F(DeviceListModelTest, EntriesStartHiddenAndOneSelectionHoldsAtATime)
{
    EXPECT_EQ(model.VisibleCount(), 0);
    EXPECT_EQ(model.Current(), -1);
    model.Select(0, true, true);
    model.Select(2, true, true);
    EXPECT_EQ(model.Current(), 2);
    EXPECT_FALSE(model.Entry(0).selected);
    EXPECT_TRUE(model.Entry(0).visible);
    model.Select(2, false, false);
    EXPECT_EQ(model.Current(), -1);  // hiding does not select another by itself
    model.Select(7, true, true);      // out of range: ignored
    EXPECT_EQ(model.VisibleCount(), 1);
}

TEST_F(DeviceListModelTest, PreviousAndNextSkipHiddenEntriesAndStopAtTheEnds)
{
    model.Select(1, true, true);
    EXPECT_EQ(model.Previous(), -1);  // one device: nothing to change to
    EXPECT_EQ(model.Next(), -1);
    model.Select(0, true, false);
    model.Select(2, false, false);
    EXPECT_EQ(model.Previous(), 0);
    EXPECT_EQ(model.Next(), -1);
    model.Select(2, true, false);
    EXPECT_EQ(model.Next(), 2);
}

TEST_F(DeviceListModelTest, SynchronisationNeedsTwoVisibleMarkedEntries)
{
    model.Select(0, true, true);
    model.Select(1, true, false);
    model.SetSynchro(0, true);
    model.Select(0, true, true);
    EXPECT_FALSE(model.Entry(0).synchro);  // alone it is cleared
    model.SetSynchro(1, true);
    model.SetSynchro(0, true);
    model.Select(0, true, true);
    EXPECT_TRUE(model.Entry(0).synchro);
    EXPECT_TRUE(model.Entry(1).synchro);
    model.Select(1, false, false);  // one of them leaves
    EXPECT_FALSE(model.Entry(0).synchro);
}

TEST(IdentitySlot, EveryInterfaceOfADeviceMapsToItsControlSlot)
{
    struct Case {
        int slot, identity;
    };
    // Rows: 0..3 keyboard (cable and second slot), 4..7 mouse (cable, receiver), 8, 9 mouse pad, 10 headset.
    const Case cases[] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 4}, {5, 4}, {6, 4}, {7, 4},
                          {8, 8}, {9, 8}, {10, 10}, {11, -1}, {-1, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(IdentitySlot(c.slot), c.identity) << c.slot;
}
