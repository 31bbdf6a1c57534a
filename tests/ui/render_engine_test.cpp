// The drawing helpers of custom controls.
#include "ui/render_engine.h"

#include "ui/image_string.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class RenderEngineTest : public ::testing::Test {
protected:
    RenderEngineTest() { canvas.fill(Qt::transparent); }
    QImage canvas{20, 20, QImage::Format_ARGB32_Premultiplied};
};

TEST_F(RenderEngineTest, RectIsAFrameOfItsSize)
{
    {
        QPainter painter(&canvas);
        CRenderEngine::DrawRect(painter, canvas.rect(), 2, 0xFFFF0000);
    }
    for (const QPoint inFrame : {QPoint(0, 0), QPoint(1, 10), QPoint(19, 19), QPoint(10, 18)})
        EXPECT_EQ(canvas.pixel(inFrame), 0xFFFF0000) << inFrame.x() << "," << inFrame.y();
    for (const QPoint inside : {QPoint(2, 2), QPoint(10, 10), QPoint(17, 17)})
        EXPECT_EQ(qAlpha(canvas.pixel(inside)), 0) << inside.x() << "," << inside.y();
}

TEST_F(RenderEngineTest, TintedImageTakesTheColourAndKeepsItsTransparency)
{
    QTemporaryDir folder;
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, 0xFFFFFFFF);
    image.setPixel(1, 0, 0x00000000);
    const QString file = folder.filePath("light.png");
    ASSERT_TRUE(image.save(file));

    QImage plain = canvas;
    {
        QPainter painter(&canvas);
        ASSERT_TRUE(CRenderEngine::DrawImageString(painter, canvas.rect(), file, 0xFF00FF00, 255, true));
        QPainter untinted(&plain);
        ASSERT_TRUE(CRenderEngine::DrawImageString(untinted, plain.rect(), file, 0xFF00FF00, 255, false));
    }
    EXPECT_EQ(canvas.pixel(2, 10), 0xFF00FF00);
    EXPECT_EQ(qAlpha(canvas.pixel(17, 10)), 0);
    EXPECT_EQ(plain.pixel(2, 10), 0xFFFFFFFF);

    QPainter painter(&canvas);
    EXPECT_FALSE(CRenderEngine::DrawImageString(painter, canvas.rect(), "missing.png", 0, 255, true));
}

TEST_F(RenderEngineTest, TextsAreDrawnInTheirColourInsideTheRect)
{
    {
        QPainter painter(&canvas);
        QFont font;
        font.setPixelSize(14);
        CRenderEngine::DrawText(painter, QRect(0, 0, 10, 20), QStringLiteral("W"), 0xFF0000FF, font,
                                Qt::AlignCenter);
        CRenderEngine::DrawHtmlText(painter, QRect(10, 0, 10, 20), QStringLiteral("<b>WWWW</b>"),
                                    0xFF0000FF, font);
    }
    int leftInk = 0;
    int rightInk = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb pixel = canvas.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            EXPECT_EQ(qRed(pixel), 0);
            (x < 10 ? leftInk : rightInk) += 1;
        }
    }
    EXPECT_GT(leftInk, 0);
    EXPECT_GT(rightInk, 0);
}

// A 4 x 4 picture, red on the left half and blue on the right, drawn over
// the 20 x 20 canvas as image strings say.
TEST_F(RenderEngineTest, ImageStringsChooseSourceDestinationMaskAndFade)
{
    QTemporaryDir folder;
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(0xFFFF0000);
    for (int y = 0; y < 4; ++y)
        for (int x = 2; x < 4; ++x)
            image.setPixel(x, y, 0xFF0000FF);
    const QString file = folder.filePath("halves.png");
    ASSERT_TRUE(image.save(file));

    struct Case {
        const char* what;
        QString modifier;
        QRgb topLeft;
        QRgb bottomRight;
    };
    const Case cases[] = {
        {"whole picture stretched", "", 0xFFFF0000, 0xFF0000FF},
        {"source: right half only", "source='2,0,4,4'", 0xFF0000FF, 0xFF0000FF},
        {"dest: top left quarter only", "dest='0,0,10,10'", 0xFFFF0000, 0},
        {"dest cut at the control's edge", "dest='10,10,40,40'", 0, 0xFF0000FF},
        {"mask: red drawn transparent", "mask='#FF0000'", 0, 0xFF0000FF},
        {"source beyond the picture is clipped", "source='2,0,99,99'", 0xFF0000FF, 0xFF0000FF},
        {"numbers at the int limits", "source='-2147483648,-2147483648,2147483647,2147483647'", 0xFFFF0000,
         0xFF0000FF},
    };
    for (const Case& test : cases) {
        canvas.fill(Qt::transparent);
        {
            QPainter painter(&canvas);
            ASSERT_TRUE(CRenderEngine::DrawImageString(painter, canvas.rect(), ComposeImageString(file, test.modifier)))
                << test.what;
        }
        EXPECT_EQ(canvas.pixel(1, 1), test.topLeft) << test.what;
        EXPECT_EQ(canvas.pixel(18, 18), test.bottomRight) << test.what;
    }

    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        CRenderEngine::DrawImageString(painter, canvas.rect(), ComposeImageString(file, "fade='0'"));
    }
    EXPECT_EQ(qAlpha(canvas.pixel(1, 1)), 0) << "fade 0 draws nothing";
}
