#include "controls/CLSGraphicsBuffer.h"
#include "controls/ControlFonts.h"

#include <QFontInfo>
#include <QPainter>

#include <gtest/gtest.h>

TEST(GraphicsBuffer, ResizeBeforeCreateDoesNothing) {
    CLSGraphicsBuffer buffer;
    EXPECT_FALSE(buffer.Resize(10, 10));
    EXPECT_TRUE(buffer.IsNull());
    EXPECT_EQ(buffer.Width(), 0);
}

TEST(GraphicsBuffer, PictureAtRatioTwoHasTwiceThePixels) {
    CLSGraphicsBuffer buffer;
    ASSERT_TRUE(buffer.Create(30, 12, 2.0));
    EXPECT_EQ(buffer.Width(), 30);
    EXPECT_EQ(buffer.Image().width(), 60);
    EXPECT_EQ(buffer.Image().height(), 24);
    // A fractional scale still covers the whole widget.
    ASSERT_TRUE(buffer.Create(7, 3, 1.5));
    EXPECT_EQ(buffer.Image().width(), 11);
    EXPECT_EQ(buffer.Image().height(), 5);
    // Resize keeps the ratio.
    ASSERT_TRUE(buffer.Resize(5, 5));
    EXPECT_EQ(buffer.Image().width(), 8);
    EXPECT_DOUBLE_EQ(buffer.DevicePixelRatio(), 1.5);
}

TEST(GraphicsBuffer, EmptySizeStillGivesAPicture) {
    CLSGraphicsBuffer buffer;
    ASSERT_TRUE(buffer.Create(0, -4));
    EXPECT_EQ(buffer.Width(), 1);
    EXPECT_EQ(buffer.Height(), 1);
}

TEST(GraphicsBuffer, NewPictureStartsInTheBackgroundColour) {
    CLSGraphicsBuffer buffer;
    buffer.SetBkColor(QColor(10, 20, 30));
    ASSERT_TRUE(buffer.Create(4, 4));
    ASSERT_TRUE(buffer.Resize(6, 6));
    EXPECT_EQ(buffer.Image().pixelColor(5, 5), QColor(10, 20, 30));
}

TEST(GraphicsBuffer, PainterAndCopyWorkInLogicalPixels) {
    CLSGraphicsBuffer buffer;
    ASSERT_TRUE(buffer.Create(10, 10, 2.0));
    buffer.Fill(Qt::black);
    buffer.FillRect(QRect(5, 0, 5, 10), Qt::white);
    EXPECT_EQ(buffer.Image().pixelColor(9, 0), QColor(Qt::black));
    EXPECT_EQ(buffer.Image().pixelColor(10, 0), QColor(Qt::white));

    QImage target(40, 20, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2.0);
    target.fill(Qt::red);
    QPainter painter(&target);
    buffer.BitBlt(painter, QPoint(5, 0));
    painter.end();
    EXPECT_EQ(target.pixelColor(9, 0), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(10, 0), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(29, 19), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(30, 0), QColor(Qt::red));
}

TEST(GraphicsBuffer, OpaqueTextPaintsItsCellTransparentDoesNot) {
    CLSGraphicsBuffer buffer;
    ASSERT_TRUE(buffer.Create(60, 30));
    buffer.SelectFont(ControlFonts::Make("Times New Roman", 20));
    buffer.Fill(Qt::black);
    buffer.SetBkColor(Qt::blue);
    buffer.SetTextColor(Qt::white);
    buffer.SetBkMode(CLSGraphicsBuffer::BkMode::Transparent);
    buffer.TextOut(0, 0, QStringLiteral("  "));
    EXPECT_EQ(buffer.Image().pixelColor(2, 2), QColor(Qt::black));
    buffer.SetBkMode(CLSGraphicsBuffer::BkMode::Opaque);
    buffer.TextOut(0, 0, QStringLiteral("  "));
    EXPECT_EQ(buffer.Image().pixelColor(2, 2), QColor(Qt::blue));
}

TEST(ControlFonts, WindowsFacesResolveToTheirStandIns) {
    EXPECT_EQ(QFontInfo(ControlFonts::Make("ＭＳ Ｐゴシック", 16)).family(),
              QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(ControlFonts::Make("MS UI Gothic", 16)).family(),
              QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(ControlFonts::Make("Times New Roman", 16)).family(),
              QStringLiteral("Liberation Serif"));
}

TEST(ControlFonts, PositiveHeightIsTheCellNegativeTheEm) {
    const QFont cell = ControlFonts::Make("Times New Roman", 30, ControlFonts::kWeightBold, true);
    EXPECT_NEAR(QFontMetrics(cell).height(), 30, 2);
    EXPECT_TRUE(cell.bold());
    EXPECT_TRUE(cell.italic());
    EXPECT_EQ(ControlFonts::Make("Times New Roman", -30).pixelSize(), 30);
}

// The information line's strip is 12 pixels high: a font whose cell is taller loses the
// bottoms of p, g, y and _.
TEST(ControlFonts, InterfaceFontIsTheGothicFaceInATwelvePixelCell) {
    const QFont font = ControlFonts::InterfaceFont();
    EXPECT_EQ(font.family().toStdString(), "ＭＳ Ｐゴシック");
    EXPECT_EQ(QFontInfo(font).family().toStdString(), "IPAPGothic");
    const QFontMetrics metrics(font);
    EXPECT_LE(metrics.height(), 12);
    EXPECT_GE(metrics.height(), 11);
}
