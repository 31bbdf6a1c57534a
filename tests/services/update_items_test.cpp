#include "services/update_items.h"

#include "profiles/json_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

UpdateRecord Record(UpdateState state, const char* offered = "V0107")
{
    UpdateRecord record;
    record.state = state;
    record.name = QStringLiteral("MS");
    record.currentVersion = QStringLiteral("V0105");
    record.offeredVersion = QString::fromLatin1(offered);
    return record;
}

}  // namespace

TEST(UpdateItemsTest, OnlyOfferedOrFailedItemsCanBeChecked)
{
    CUpdateItems items({Record(UpdateState::NotOffered), Record(UpdateState::Offered),
                        Record(UpdateState::UpToDate), Record(UpdateState::Failed)});
    EXPECT_FALSE(items.SetChecked(0, true));
    EXPECT_TRUE(items.SetChecked(1, true));
    EXPECT_FALSE(items.SetChecked(2, true));
    EXPECT_TRUE(items.SetChecked(3, true));
    EXPECT_FALSE(items.SetChecked(4, true));
    EXPECT_FALSE(items.SetChecked(-1, true));
    EXPECT_TRUE(items.AnyChecked());
}

TEST(UpdateItemsTest, RelaysWalkTheQueueAndEndWithTheWindowStatus)
{
    CUpdateItems items({Record(UpdateState::Offered), Record(UpdateState::OfferedAgain), Record(UpdateState::Offered)});
    EXPECT_EQ(items.Relay(CUpdateItems::kRelayFinished, 0), std::nullopt) << "no item current yet";
    items.SetChecked(0, true);
    items.SetChecked(1, true);
    items.QueueChecked();
    EXPECT_EQ(items.Records()[0].state, UpdateState::Queued);
    EXPECT_EQ(items.Records()[2].state, UpdateState::Offered);
    EXPECT_EQ(items.Current(), 0);
    EXPECT_FALSE(items.CanClose());

    items.Relay(CUpdateItems::kRelayProgress, 140);
    EXPECT_EQ(items.Records()[0].progress, 100);
    EXPECT_EQ(items.Relay(CUpdateItems::kRelayFinished, 0), std::nullopt) << "item 1 still waits";
    EXPECT_EQ(items.Records()[0].currentVersion, QStringLiteral("V0107"));
    EXPECT_TRUE(items.Records()[0].offeredVersion.isEmpty());
    EXPECT_EQ(items.Current(), 1);

    // The last checked item done while item 2 is still offered: its check comes back.
    EXPECT_EQ(items.Relay(CUpdateItems::kRelayFinished, 0), UpdateWindowStatus::HaveUpdate);
    EXPECT_TRUE(items.Records()[2].checkEnabled);
    EXPECT_TRUE(items.CanClose());
}

TEST(UpdateItemsTest, AFailedItemCanBeTriedAgainAndTheLastDoneSaysUpToDate)
{
    CUpdateItems items({Record(UpdateState::Offered)});
    items.SetChecked(0, true);
    items.QueueChecked();
    items.Relay(CUpdateItems::kRelayFailedToo, 0);
    EXPECT_EQ(items.Records()[0].state, UpdateState::Failed);
    EXPECT_TRUE(items.CanClose());
    EXPECT_EQ(items.Relay(CUpdateItems::kRelayFinished, 0), UpdateWindowStatus::UpToDate);
    EXPECT_EQ(items.Current(), -1);
}

TEST(UpdateItemsTest, TheLastCheckDateIsWrittenWhenMissingOrDamaged)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("updatetime.config").toStdString();
    for (const char* damaged : {"", "[1]", "{\"updatelasttime\": 3}", "{\"updatelasttime\": {\"value\": 7}}"}) {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
        file.close();
        EXPECT_EQ(ReadLastCheckDate(path, DateText(2026, 12, 1)), QStringLiteral("2026-12-1")) << damaged;
    }
    EXPECT_EQ(ReadLastCheckDate(path, DateText(2027, 1, 2)), QStringLiteral("2026-12-1")) << "kept once stored";
    EXPECT_EQ(FirmwareVersionText(0x106), QStringLiteral("V0106"));
}
