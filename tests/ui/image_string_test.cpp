// The image-string syntax of layouts and controls.
#include "ui/image_string.h"

#include <functional>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* what;
    QString text;
    QString modifier;
    TImageString expected;
};

TImageString Image(std::function<void(TImageString&)> fill)
{
    TImageString image;
    fill(image);
    return image;
}

}  // namespace

TEST(ImageStringTest, ParsesEveryKeyAndToleratesBadValues)
{
    const ParseCase cases[] = {
        {"plain file name", "key.png", {}, Image([](auto& i) { i.file = "key.png"; })},
        {"blanks around a plain name", "  key.png ", {}, Image([](auto& i) { i.file = "key.png"; })},
        {"every key",
         "file='a.png' restype='PNG' source='0,0,40,20' dest='2,3,12,13' corner='1,2,3,4' mask='#FF00FF' "
         "fade='128' hole='true' xtiled='true' ytiled='TRUE' hsl='false'",
         {},
         Image([](auto& i) {
             i.file = "a.png";
             i.resType = "PNG";
             i.source = QRect(0, 0, 40, 20);
             i.dest = QRect(2, 3, 10, 10);
             i.corner = QMargins(1, 2, 3, 4);
             i.mask = 0xFFFF00FF;
             i.fade = 128;
             i.hole = i.xTiled = i.yTiled = true;
         })},
        {"res and double quotes, keys without case", "RES=\"b.png\" Mask=\"0x00ff00\"", {},
         Image([](auto& i) {
             i.file = "b.png";
             i.mask = 0xFF00FF00;
         })},
        {"modifier overrides", "file='a.png' fade='10'", "fade='200' dest='0,0,5,5'",
         Image([](auto& i) {
             i.file = "a.png";
             i.fade = 200;
             i.dest = QRect(0, 0, 5, 5);
         })},
        {"malformed values are ignored", "file='a.png' source='1,2,3' dest='a,b,c,d' fade='x' mask='zz'", {},
         Image([](auto& i) { i.file = "a.png"; })},
        {"fade kept within 0..255", "file='a.png' fade='900'", "fade='-5'", Image([](auto& i) {
             i.file = "a.png";
             i.fade = 0;
         })},
        {"unterminated value stops parsing", "fade='7' file='a.png", {}, Image([](auto& i) { i.fade = 7; })},
        {"missing quote stops parsing", "fade='7' file=a.png", {}, Image([](auto& i) { i.fade = 7; })},
        {"empty", "", {}, TImageString{}},
        {"unknown keys are skipped", "glow='3' file='c.png'", {}, Image([](auto& i) { i.file = "c.png"; })},
    };
    for (const ParseCase& test : cases)
        EXPECT_EQ(ParseImageString(test.text, test.modifier), test.expected) << test.what;
}

TEST(ImageStringTest, ComposedStringsKeepTheImageAndAddTheModifier)
{
    const QRect window(30, 10, 100, 50);
    const TImageString fromName = ParseImageString(ComposeImageString("hand.png", SourceModifier(window)));
    EXPECT_EQ(fromName.file, "hand.png");
    EXPECT_EQ(fromName.source, window);

    const TImageString fromPairs = ParseImageString(ComposeImageString("file='rec.png' dest='0,0,8,8'", "fade='80'"));
    EXPECT_EQ(fromPairs.file, "rec.png");
    EXPECT_EQ(fromPairs.dest, QRect(0, 0, 8, 8));
    EXPECT_EQ(fromPairs.fade, 80);
}
