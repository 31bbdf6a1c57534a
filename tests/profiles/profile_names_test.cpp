#include "profiles/profile_names.h"

#include <gtest/gtest.h>

// The router shows the message of the first check a typed name fails.
TEST(ProfileNamesTest, TypedNamesAreCheckedInOrder)
{
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"", "message_text_5_1"},
        {"abcdefghijklmnop", ""},
        {"abcdefghijklmnopq", "message_text_34"},
        // Five CJK characters are 15 bytes, six are 18.
        {"\xE9\xBC\xA0\xE9\xBC\xA0\xE9\xBC\xA0\xE9\xBC\xA0\xE9\xBC\xA0", ""},
        {"\xE9\xBC\xA0\xE9\xBC\xA0\xE9\xBC\xA0\xE9\xBC\xA0\xE9\xBC\xA0\xE9\xBC\xA0", "message_text_34"},
        {"My Mouse", "message_text_35"},
        {"a=b", "message_text_35"},
        {"a\\b", "message_text_35"},
        {"<>:\"/|?#%&*", "message_text_35"},
        {"a b c d e f g h i", "message_text_34"},
        {"Gaming_2-x.y", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ProfileNameMessageId(CheckProfileName(c.name)), c.message) << c.name;
}

TEST(ProfileNamesTest, NamesCompareWithoutCaseBeyondAscii)
{
    EXPECT_TRUE(SameProfileName("Profile1", "PROFILE1"));
    EXPECT_TRUE(SameProfileName("\xC3\x84rger", "\xC3\xA4RGER"));  // Ärger, äRGER
    EXPECT_FALSE(SameProfileName("Profile1", "Profile1 "));
}

TEST(ProfileNamesTest, NewNamesSkipEveryNameInUse)
{
    EXPECT_EQ(NewProfileName({}), "Profile1");
    EXPECT_EQ(NewProfileName({"Profile1", "profile2"}), "Profile3");
    EXPECT_EQ(NewProfileName({"PROFILE3", "Profile1", "profile2"}), "Profile4");
    EXPECT_EQ(NewProfileName({"Profile2"}), "Profile1");

    EXPECT_EQ(CopyProfileName("A", {"A"}), "A copy");
    EXPECT_EQ(CopyProfileName("A", {"A", "a COPY"}), "A copy copy");

    EXPECT_EQ(ImportProfileName("A", {}), "A");
    EXPECT_EQ(ImportProfileName("A", {"A"}), "A(1)");
    EXPECT_EQ(ImportProfileName("A", {"A", "A(1)"}), "A(1)(2)");
}
