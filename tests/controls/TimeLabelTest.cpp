#include "controls/CLSWndTimeLabel.h"

#include <QCoreApplication>
#include <QFontInfo>

#include <gtest/gtest.h>

#include <thread>

TEST(TimeLabel, TextIsHoursMinutesSeconds) {
    EXPECT_EQ(CLSWndTimeLabel::Text(0), "00:00:00");
    EXPECT_EQ(CLSWndTimeLabel::Text(3725), "01:02:05");
    EXPECT_EQ(CLSWndTimeLabel::Text(360000), "100:00:00");
}

TEST(TimeLabel, FontFollowsTheSize) {
    EXPECT_EQ(CLSWndTimeLabel::FontHeight(100, 30), 27);
    EXPECT_EQ(CLSWndTimeLabel::FontHeight(200, 30), 32);
    QWidget parent;
    parent.resize(300, 100);
    CLSWndTimeLabel label;
    label.Create(&parent, 1026);
    label.Move(0, 0, 200, 30);
    const QFont& font = label.LabelFont();
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Serif"));
}

TEST(TimeLabel, TextWithShadowOnBlack) {
    QWidget parent;
    parent.resize(300, 100);
    CLSWndTimeLabel label;
    label.Create(&parent, 1026);
    label.Move(0, 0, 160, 40);
    label.SetSeconds(3725);
    const QImage image = label.grab().toImage();
    bool text = false;
    bool shadow = false;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            text |= c == QColor(255, 255, 200);
            shadow |= c == QColor(70, 70, 70);
        }
    EXPECT_TRUE(text);
    EXPECT_TRUE(shadow);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
}

TEST(TimeLabelThreads, SecondsFromThePositionThreadRepaintOnTheGuiThread) {
    QWidget parent;
    parent.resize(300, 100);
    CLSWndTimeLabel label;
    label.Create(&parent, 1026);
    label.Move(0, 0, 160, 40);
    parent.show();
    std::thread feeder([&] {
        for (unsigned s = 0; s < 2000; ++s)
            label.SetSeconds(s);
    });
    while (label.Seconds() != 1999)
        QCoreApplication::processEvents();
    feeder.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(label.Seconds(), 1999u);
}
