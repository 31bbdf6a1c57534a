#include "app/registered_messages.h"

#include "platform/product.h"

#include <gtest/gtest.h>
#include <set>

TEST(RegisteredMessages, InstanceMessageIsTheProductTitlesNumber)
{
    ASSERT_TRUE(RegisterInstanceMessage());
    EXPECT_EQ(UWM_INSTANCE_MSG, RegisterWindowMessage(QString::fromUtf8(kProductTitle)));
}

TEST(RegisteredMessages, ProcessMessagesAreDistinctAndRegistered)
{
    ASSERT_TRUE(RegisterInstanceMessage());
    RegisterProcessMessages();
    const std::set<UINT> numbers = {UWM_INSTANCE_MSG, UWM_SETWND_RELAY_MSG, UWM_LIGHT_CLAIM_MSG,
                                    UWM_LIGHT_STATE_MSG, UWM_WORKTOOL_QUERY_MSG, UWM_AUDIO_CTRL_MSG};
    EXPECT_EQ(numbers.size(), 6u);
    for (UINT number : numbers) {
        EXPECT_GE(number, kFirstRegisteredMessage);
        EXPECT_LE(number, kLastRegisteredMessage);
    }
    EXPECT_EQ(FindRegisteredMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBE19}"), UWM_AUDIO_CTRL_MSG);
    EXPECT_EQ(FindRegisteredMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}"), UWM_SETWND_RELAY_MSG);
}
