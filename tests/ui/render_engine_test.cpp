// The drawing helpers of custom controls.
#include "ui/render_engine.h"

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
