#include "profile_test_files.h"

#include "profiles/profile_bindings.h"
#include "profiles/profile_list.h"

namespace {

class StandInWindowSource : public IActiveWindowSource {
public:
    bool IsSupported() const override { return supported; }
    ProgramNames ActiveProgram() override { return program; }

    bool supported = true;
    ProgramNames program;
};

}  // namespace

class ProfileBindingsTest : public ProfileFolderTest {
protected:
    void SetUp() override
    {
        ProfileFolderTest::SetUp();
        Put("ProfileList.ini", R"({"profilelist": [{"profilename": "Desk", "profileUUID": "desk"},
            {"profilename": "Shooter", "profileUUID": "shooter"}, {"profilename": "Racer", "profileUUID": "racer"}],
            "profileselect": 0})");
        list.SetPaths(PathOf(""), PathOf("none.Json"));
        list.SetCurrentChangedHandler([this] { ++reloads; });
        list.InitProfiles();
        bindings.Load(PathOf(""));
        ASSERT_TRUE(bindings.SetPrograms("shooter", {"shooter.exe"}));
        ASSERT_TRUE(bindings.SetPrograms("racer", {"racer"}));
    }

    void Bring(const std::string& executable, const std::string& process = "")
    {
        source.program = {executable, process.empty() ? executable : process};
        bindings.Poll();
    }

    std::string Current() const { return list.GetCurrentProfileId(); }
    int Remembered() const { return ReadJsonFile(PathOf("ProfileList.ini"))["profileselect"].asInt(); }

    StandInWindowSource source;
    CProfileList list;
    CProfileBindingController bindings{list, source};
    int reloads = 0;
};

TEST_F(ProfileBindingsTest, BoundProgramInFrontSelectsItsProfileUntilItLeaves)
{
    Bring("editor");
    EXPECT_EQ(Current(), "desk");
    Bring("loader64", "shooter.exe");
    EXPECT_EQ(Current(), "shooter");
    Bring("racer");
    EXPECT_EQ(Current(), "racer");
    bindings.Poll();  // nothing new in front
    EXPECT_EQ(reloads, 2);
    Bring("editor");
    EXPECT_EQ(Current(), "desk");
    EXPECT_EQ(reloads, 3);
    EXPECT_EQ(Remembered(), 0) << "the user's choice stays the one remembered";
}

TEST_F(ProfileBindingsTest, UsersChoiceWhileFollowingStays)
{
    Bring("shooter.exe");
    list.SelectProfile(2);
    Bring("editor");
    EXPECT_EQ(Current(), "racer");
    EXPECT_EQ(Remembered(), 2);
}

TEST_F(ProfileBindingsTest, NothingFollowsWhereTheDesktopDoesNotTellOrTheUserSaysNo)
{
    source.supported = false;
    EXPECT_FALSE(bindings.IsSupported());
    Bring("shooter.exe");
    EXPECT_EQ(Current(), "desk");

    source.supported = true;
    Bring("shooter.exe");
    ASSERT_EQ(Current(), "shooter");
    ASSERT_TRUE(bindings.SetEnabled(false));
    bindings.Poll();
    EXPECT_EQ(Current(), "desk");
    Bring("racer");
    EXPECT_EQ(Current(), "desk");
}

TEST_F(ProfileBindingsTest, BindingsAreKeptBesideTheListInAFileOfTheirOwn)
{
    const std::string listBytes = Bytes(PathOf("ProfileList.ini"));
    // The shooter's program moves to the desk profile; names are cleaned.
    ASSERT_TRUE(bindings.SetPrograms("desk", {" shooter.exe ", "", "bin/x", "office", "office"}));
    EXPECT_EQ(Bytes(PathOf("ProfileList.ini")), listBytes);

    StandInWindowSource otherSource;
    CProfileBindingController reloaded(list, otherSource);
    reloaded.Load(PathOf(""));
    EXPECT_EQ(reloaded.ProgramsOf("desk"), (std::vector<std::string>{"shooter.exe", "office"}));
    EXPECT_TRUE(reloaded.ProgramsOf("shooter").empty());
    EXPECT_EQ(reloaded.ProgramsOf("racer"), std::vector<std::string>{"racer"});
    EXPECT_TRUE(reloaded.IsEnabled());
}

TEST_F(ProfileBindingsTest, DamagedBindingsFileIsSetAside)
{
    Put(kProfileBindingsFileName, "{\"bindings\": [");
    bindings.Load(PathOf(""));
    EXPECT_TRUE(bindings.ProgramsOf("shooter").empty());
    EXPECT_EQ(Bytes(PathOf(std::string(kProfileBindingsFileName) + ".damaged")), "{\"bindings\": [");
}

TEST_F(ProfileBindingsTest, NewBindingCountsForTheProgramAlreadyInFront)
{
    Bring("editor");
    ASSERT_TRUE(bindings.SetPrograms("racer", {"editor"}));
    bindings.Poll();
    EXPECT_EQ(Current(), "racer");
}
