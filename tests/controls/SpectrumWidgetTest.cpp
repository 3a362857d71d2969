// The spectrum window: what its picture shows, its mute buttons and its scrolling.
#include "SpectrumTestSupport.h"
#include "engine/EngineHarness.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

namespace SG = SpectrumGeometry;
constexpr QRgb kDarkGrey = 0xFF404040u;
constexpr int kMeterX = SG::kMeterLeft; // first column's bar
constexpr int G = SpectrumFixture::kGradient;

QRgb GradientColor(int row) {
    return SpectrumGradientRow(row, G, DefaultSpectrumColors());
}

void SendMouse(QWidget* window, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(window->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}

void Click(QWidget* window, QPoint press, QPoint release) {
    SendMouse(window, QEvent::MouseButtonPress, press);
    SendMouse(window, QEvent::MouseMove, release);
    SendMouse(window, QEvent::MouseButtonRelease, release);
}

class SpectrumPicture : public ::testing::Test, public SpectrumFixture {};

TEST_F(SpectrumPicture, ContinuousMeterAtLevelZeroShowsItsLowestLitRow) {
    MIDITRACKINFOARRAY rows = MakeRows(1, 0);
    spectrum.SetDigital(false);
    spectrum.SetRows(&rows);
    const QImage picture = spectrum.Picture();
    ASSERT_EQ(picture.height(), SpectrumFixture::kHeight);
    EXPECT_EQ(picture.pixel(kMeterX, G + 3), GradientColor(G - 2));
    EXPECT_EQ(picture.pixel(kMeterX + 14, G + 3), GradientColor(G - 2));
    EXPECT_EQ(picture.pixel(kMeterX, G + 2), kDarkGrey);
    EXPECT_EQ(picture.pixel(kMeterX, SG::kMeterTop), kDarkGrey);
}

TEST_F(SpectrumPicture, ContinuousMeterAtFullLevelKeepsColoursAtTheirHeight) {
    MIDITRACKINFOARRAY rows = MakeRows(1, 127);
    spectrum.SetDigital(false);
    spectrum.SetRows(&rows);
    const QImage picture = spectrum.Picture();
    EXPECT_EQ(picture.pixel(kMeterX, SG::kMeterTop), kDarkGrey);
    EXPECT_EQ(picture.pixel(kMeterX, 5), GradientColor(0));
    EXPECT_EQ(picture.pixel(kMeterX, G + 3), GradientColor(G - 2));
}

TEST_F(SpectrumPicture, DigitalMeterLightsEverySegmentAt127AndNoneAt0) {
    MIDITRACKINFOARRAY rows = MakeRows(2, 127);
    rows[1].level.store(0);
    spectrum.SetRows(&rows);
    const QImage picture = spectrum.Picture();
    const int second = spectrum.Pitch() + kMeterX;
    const int count = SG::Digital(127, G).count;
    for (int i = 0; i < count; ++i) {
        const int top = SG::SegmentTop(i, G);
        EXPECT_EQ(picture.pixel(kMeterX, top), GradientColor(SG::SegmentSourceRow(i, G))) << i;
        EXPECT_EQ(picture.pixel(kMeterX, top + 1), GradientColor(SG::SegmentSourceRow(i, G) + 1));
        EXPECT_EQ(picture.pixel(second, top), kDarkGrey) << i;
        EXPECT_EQ(qGray(picture.pixel(kMeterX, top + 2)), 0) << i; // the gap stays black
    }
}

TEST_F(SpectrumPicture, LabelsAndOutlineAreDrawnInEveryColumn) {
    MIDITRACKINFOARRAY rows = MakeRows(2);
    spectrum.SetRows(&rows);
    const QImage picture = spectrum.Picture();
    const int pitch = spectrum.Pitch();
    EXPECT_EQ(picture.pixel(pitch, 50), 0xFF7F7F7Fu); // shared edge
    EXPECT_EQ(picture.pixel(10, 0), 0xFF7F7F7Fu);
    int labelPixels = 0;
    for (int y = SG::kLabelY; y < SpectrumFixture::kHeight - 1; ++y)
        for (int x = 2; x < 14; ++x)
            labelPixels += qRed(picture.pixel(x, y)) > 128 ? 1 : 0;
    EXPECT_GT(labelPixels, 20); // "Acoustic Grand Piano" reads down the strip
}

class SpectrumMute : public EngineHarness, public SpectrumFixture {};

TEST_F(SpectrumMute, TogglesOnlyWhenReleasedOverTheSameButton) {
    MIDITRACKINFOARRAY rows = MakeRows(3);
    spectrum.SetRows(&rows);
    QWidget* window = spectrum.Window();
    const int pitch = spectrum.Pitch();
    Click(window, {5, 8}, {50, 50});       // released outside
    Click(window, {5, 8}, {pitch + 5, 8}); // released on another button
    Click(window, {30, 8}, {5, 8});        // pressed beside the button
    EXPECT_FALSE(rows[0].muted || rows[1].muted || rows[2].muted);
    Click(window, {5, 8}, {12, 14});
    EXPECT_TRUE(rows[0].muted);
    EXPECT_FALSE(rows[1].muted);
    Click(window, {5, 8}, {5, 8});
    EXPECT_FALSE(rows[0].muted);
}

TEST_F(SpectrumMute, PressedButtonSinksAndRisesWithThePointer) {
    MIDITRACKINFOARRAY rows = MakeRows(1);
    spectrum.SetRows(&rows);
    QWidget* window = spectrum.Window();
    const QRgb raisedTopLeft = spectrum.Picture().pixel(2, 4);
    SendMouse(window, QEvent::MouseButtonPress, {5, 8});
    EXPECT_NE(spectrum.Picture().pixel(3, 5), raisedTopLeft); // moved one down and right, dark
    EXPECT_EQ(qGray(spectrum.Picture().pixel(2, 4)), 0);
    SendMouse(window, QEvent::MouseMove, {60, 60});
    EXPECT_EQ(spectrum.Picture().pixel(2, 4), raisedTopLeft);
    SendMouse(window, QEvent::MouseButtonRelease, {60, 60});
}

TEST_F(SpectrumMute, AButtonHeldAcrossASongChangeIsLetGo) {
    MIDITRACKINFOARRAY rows = MakeRows(3);
    spectrum.SetRows(&rows);
    QWidget* window = spectrum.Window();
    SendMouse(window, QEvent::MouseButtonPress, {5, 8});
    MIDITRACKINFOARRAY next = MakeRows(1);
    spectrum.SetRows(&next);
    (void)spectrum.Picture(); // repainted with the new song's rows
    SendMouse(window, QEvent::MouseMove, {6, 9});
    SendMouse(window, QEvent::MouseButtonRelease, {5, 8});
    EXPECT_FALSE(rows[0].muted || next[0].muted);
    Click(window, {5, 8}, {5, 8});
    EXPECT_TRUE(next[0].muted);
}

TEST_F(SpectrumMute, MutedRowsNoteOnsAreNotSoundedButItsNoteOffsAre) {
    SongBuilder b(100); // 5 ms a tick
    b.NoteOn(0, 0, 60, 100).NoteOff(20, 0, 60).NoteOn(40, 0, 62, 100).NoteOff(60, 0, 62);
    Load(b);
    spectrum.SetRows(&song.GetRows());
    PlayAt(0);
    Run(ms(150));
    Click(spectrum.Window(), {5, 8}, {5, 8});
    Run(ms(300));
    std::vector<std::vector<std::uint8_t>> notes;
    for (const RecordedMidiMessage& m : Notes())
        notes.push_back(m.bytes);
    const std::vector<std::vector<std::uint8_t>> expected = {
        {0x90, 60, 100}, {0x80, 60, 64}, {0x80, 62, 64}};
    EXPECT_EQ(notes, expected);
    EXPECT_EQ(song.GetRows()[0].sounding.load(), 0);
}

class SpectrumScroll : public ::testing::Test, public SpectrumFixture {
protected:
    SpectrumScroll() : SpectrumFixture(8 * 34 + 20) {}
};

TEST_F(SpectrumScroll, TwentyRowsWithAPageOfEightRunFromOneToThirteen) {
    MIDITRACKINFOARRAY rows = MakeRows(20);
    spectrum.SetRows(&rows);
    EXPECT_EQ(spectrum.Page(), 8);
    QScrollBar* bar = spectrum.Window()->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisibleTo(spectrum.Window()));
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 13);
    bar->setValue(40);
    EXPECT_EQ(spectrum.ScrollPosition(), 13);
    Click(spectrum.Window(), {5, 8}, {5, 8}); // the first column now shows row 13
    EXPECT_TRUE(rows[12].muted);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(spectrum.ScrollPosition(), 5);
}

TEST_F(SpectrumScroll, NewRowsScrollBackToTheStartAndHideTheBarWhenAllFit) {
    MIDITRACKINFOARRAY many = MakeRows(20);
    MIDITRACKINFOARRAY few = MakeRows(3);
    spectrum.SetRows(&many);
    spectrum.Window()->findChild<QScrollBar*>()->setValue(9);
    spectrum.SetRows(&few);
    EXPECT_EQ(spectrum.ScrollPosition(), 1);
    EXPECT_FALSE(spectrum.Window()->findChild<QScrollBar*>()->isVisibleTo(spectrum.Window()));
    EXPECT_EQ(spectrum.Picture().height(), SpectrumFixture::kHeight);
}

TEST(SpectrumWindow, OperationsWithoutAWindowDoNothingAndAParentMayDestroyIt) {
    CLSWndSpectrum spectrum;
    MIDITRACKINFOARRAY rows = MakeRows(2, 100, 1);
    spectrum.Move(0, 0, 100, 100);
    spectrum.Show(true);
    spectrum.SetRows(&rows);
    spectrum.Start();
    EXPECT_FALSE(spectrum.IsRunning());
    {
        QWidget parent;
        spectrum.Create(&parent, 1035);
        spectrum.Move(0, 0, 100, 100);
        spectrum.SetMeterWidth(0); // from an unchecked settings file
        EXPECT_EQ(spectrum.Pitch(), 20);
        spectrum.Start();
        EXPECT_TRUE(spectrum.IsRunning());
    } // the parent takes the window, and the thread with it
    EXPECT_FALSE(spectrum.IsRunning());
    EXPECT_EQ(spectrum.Window(), nullptr);
}

} // namespace
