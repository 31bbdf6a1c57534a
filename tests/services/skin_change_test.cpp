#include "services/skin_change.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class SkinRecordTest : public ::testing::Test {
protected:
    std::string Path() const { return dir.filePath("main.ini").toStdString(); }
    void WriteRaw(const QByteArray& text)
    {
        QFile file(QString::fromStdString(Path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray ReadRaw() const
    {
        QFile file(QString::fromStdString(Path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(SkinRecordTest, EachChoiceReadsBackAsItWasMade)
{
    const struct {
        SkinChangedParam skin;
        bool reset;
        const char* flags;
    } cases[] = {
        {{false, 0, "common/skin/skin_2.png"}, false, "FLAGS=1"},
        {{false, 0, "/home/me/My pictures/wall, dark=1.png"}, false, "FLAGS=1"},
        {{false, 0, kDefaultBackground}, true, "FLAGS=0"},
        {{true, 0xFF1A0F12, {}}, false, "FLAGS=2"},
        {{true, 0x00000000, {}}, false, "FLAGS=2"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteSkinRecord(Path(), c.skin, c.reset));
        EXPECT_TRUE(ReadRaw().contains("[SKINIMAGE]"));
        EXPECT_TRUE(ReadRaw().contains(c.flags)) << ReadRaw().constData();
        const std::optional<SkinChangedParam> read = ReadSkinRecord(Path());
        ASSERT_TRUE(read) << c.flags;
        EXPECT_EQ(read->useColour, c.skin.useColour);
        EXPECT_EQ(read->colour, c.skin.colour);
        EXPECT_EQ(read->image, c.skin.image);
    }
}

TEST_F(SkinRecordTest, MissingOrDamagedRecordsGiveNothing)
{
    EXPECT_FALSE(ReadSkinRecord(Path()));
    for (const char* text : {
             "",
             "\x01\xff\xfe[[[=\n",
             "[OTHER]\nFLAGS=1\nIMAGE=a.png\n",
             "[SKINIMAGE]\nIMAGE=a.png\n",
             "[SKINIMAGE]\nFLAGS=abc\nIMAGE=a.png\n",
             "[SKINIMAGE]\nFLAGS=7\nIMAGE=a.png\n",
             "[SKINIMAGE]\nFLAGS=1\n",
             "[SKINIMAGE]\nFLAGS=2\n",
             "[SKINIMAGE]\nFLAGS=2\nCOLOR=zz0000FF\n",
             "[SKINIMAGE]\nFLAGS=2\nCOLOR=FF\n",
         }) {
        WriteRaw(text);
        EXPECT_FALSE(ReadSkinRecord(Path())) << text;
    }
}

TEST_F(SkinRecordTest, UnwritableRecordIsReported)
{
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder would be
    EXPECT_FALSE(WriteSkinRecord(dir.filePath("blocker/main.ini").toStdString(), {}, false));
}

TEST(SkinObserver, ReceiversGetCopiesAndMayLeaveWhileReceiving)
{
    struct Recorder : SkinReceiver {
        SkinObserver* observer = nullptr;
        Recorder* leaving = nullptr;
        std::vector<QString> images;
        int Receive(SkinChangedParam param) override
        {
            images.push_back(param.image);
            param.image.clear();  // a copy: the next receiver still sees the image
            if (leaving)
                observer->RemoveReceiver(leaving);
            return 1;
        }
    };
    SkinObserver observer;
    Recorder first, second;
    first.observer = &observer;
    first.leaving = &second;
    observer.AddReceiver(&first);
    observer.AddReceiver(&first);  // once only
    observer.AddReceiver(&second);
    observer.Broadcast({false, 0, "a.png"});
    EXPECT_EQ(first.images, std::vector<QString>{"a.png"});
    EXPECT_TRUE(second.images.empty());  // removed before its turn
    first.leaving = nullptr;
    observer.AddReceiver(&second);
    observer.Broadcast({false, 0, "b.png"});
    EXPECT_EQ(second.images, std::vector<QString>{"b.png"});
}
