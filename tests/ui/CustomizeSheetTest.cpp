#include "settings/CLSCustomizePages.h"
#include "settings/CLSDRUVSettings.h"
#include "settings/ui/CLSColorPreview.h"
#include "settings/ui/CLSCustomizePage.h"
#include "settings/ui/CLSCustomizeSheet.h"
#include "settings/ui/CLSNumberEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const QString kRecentWarning =
    QStringLiteral("最近開いたファイルの最大数は 0 ～ 32767 の間で指定してください。");
const QString kWidthWarning =
    QStringLiteral("スペクトラムの幅は 1 ～ 100 の間で指定してください。");

struct Warning {
    QWidget* owner;
    QString text;
};

class CustomizeSheet : public ::testing::Test {
protected:
    void SetUp() override {
        CLSCustomizePages::SetLastPage(CLSCustomizePages::kGeneral);
        for (int i = 10; i >= 1; --i)
            settings.AddRecentFile(CLSTString(("/songs/" + std::to_string(i) + ".mid").c_str()));
    }

    std::unique_ptr<CLSCustomizeSheet> Open() {
        auto sheet = std::make_unique<CLSCustomizeSheet>(settings, nullptr);
        sheet->SetApplied([this] { ++applied; });
        sheet->SetWarn([this](QWidget* owner, const QString& text) {
            warnings.push_back({owner, text});
        });
        sheet->SetShowHelp([this](int topic) { topics.push_back(topic); });
        sheet->SetColorChooser([this](QWidget*, QColor initial) -> std::optional<QColor> {
            offered.push_back(initial);
            return chosen;
        });
        return sheet;
    }

    static CLSNumberEdit& Field(const CLSCustomizeSheet& sheet, int page) {
        return *sheet.Page(page)->NumberField();
    }
    static QCheckBox& Box(const CLSCustomizeSheet& sheet, int page, int index) {
        return *sheet.Page(page)->findChildren<QCheckBox*>().at(index);
    }
    static QPushButton& Button(const CLSCustomizeSheet& sheet, QDialogButtonBox::StandardButton b) {
        return *sheet.Button(b);
    }
    static void Visit(CLSCustomizeSheet& sheet, std::initializer_list<int> pages) {
        for (int page : pages)
            sheet.Tabs().setCurrentIndex(page);
    }

    CLSDRUVSettings settings;
    int applied = 0;
    std::vector<Warning> warnings;
    std::vector<int> topics;
    std::vector<QColor> offered;
    std::optional<QColor> chosen;
};

TEST_F(CustomizeSheet, OpensOnThePageLastShownAndBuildsPagesOnlyWhenShown) {
    {
        auto sheet = Open();
        EXPECT_EQ(sheet->windowTitle(), QStringLiteral("カスタマイズ"));
        ASSERT_EQ(sheet->Tabs().count(), 3);
        EXPECT_EQ(sheet->Tabs().tabText(1), QStringLiteral("スペクトラム"));
        EXPECT_EQ(sheet->Tabs().currentIndex(), 0);
        EXPECT_NE(sheet->Page(0), nullptr);
        EXPECT_EQ(sheet->Page(2), nullptr);
        Visit(*sheet, {2});
        EXPECT_NE(sheet->Page(2), nullptr);
        sheet->reject();
    }
    auto again = Open();
    EXPECT_EQ(again->Tabs().currentIndex(), 2);
    EXPECT_EQ(again->Page(0), nullptr);
    EXPECT_EQ(again->Page(1), nullptr);
}

TEST_F(CustomizeSheet, ARefusedRecentMaximumKeepsItsPageWhileTheOthersApply) {
    auto sheet = Open();
    sheet->show();
    Visit(*sheet, {1, 2, 0});
    Field(*sheet, 0).SetText(QStringLiteral("40000"));
    Box(*sheet, 0, 0).click(); // folder search off
    QTest::keyClick(sheet->Page(1)->findChild<QComboBox*>(), Qt::Key_Down);
    Box(*sheet, 2, 0).click(); // velocity on
    Field(*sheet, 2).SetText(QStringLiteral("500"));

    Button(*sheet, QDialogButtonBox::Ok).click();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, kRecentWarning);
    EXPECT_EQ(warnings[0].owner, sheet->Page(0));
    EXPECT_EQ(applied, 2);
    EXPECT_EQ(settings.RecentMax(), 10);
    EXPECT_TRUE(settings.GetFlag(CLSDRUVSettings::SearchSubFolder));
    EXPECT_EQ(settings.SpectrumType, 1);
    EXPECT_TRUE(settings.GetFlag(CLSDRUVSettings::AdjustVelocity));
    EXPECT_EQ(settings.WordTraceAheadTime, 500);
    // Left open on the refused page, so the edit is not lost.
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->Tabs().currentIndex(), 0);

    Field(*sheet, 0).SetText(QStringLiteral("3"));
    Button(*sheet, QDialogButtonBox::Ok).click();
    EXPECT_EQ(warnings.size(), 1u);
    EXPECT_EQ(applied, 5);
    EXPECT_EQ(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(settings.RecentFiles().size(), 3u);
    EXPECT_FALSE(settings.GetFlag(CLSDRUVSettings::SearchSubFolder));
}

TEST_F(CustomizeSheet, TheWarningIsABoxCaptionedDruvel) {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                caption = box->windowTitle();
                text = box->text();
                icon = box->icon();
                box->accept();
            }
        }
    });
    CLSCustomizeSheet::ShowWarning(nullptr, kWidthWarning);
    EXPECT_EQ(caption, QStringLiteral("Druvel"));
    EXPECT_EQ(text, kWidthWarning);
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST_F(CustomizeSheet, AnEmptyWidthIsRefusedAndEmptyCountsAreZero) {
    auto sheet = Open();
    Visit(*sheet, {1, 2});
    for (int page = 0; page < 3; ++page) {
        QLineEdit* edit = Field(*sheet, page).findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(Field(*sheet, page).Text(), QString()) << page;
    }
    EXPECT_EQ(sheet->ApplyPages(), 2);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, kWidthWarning);
    EXPECT_EQ(settings.MeterWidth, 14);
    EXPECT_EQ(settings.RecentMax(), 0);
    EXPECT_TRUE(settings.RecentFiles().empty());
    EXPECT_EQ(settings.WordTraceAheadTime, 0);
}

TEST_F(CustomizeSheet, TheNumberFieldTakesDigitsOnlyAndStepsWithinItsRange) {
    auto sheet = Open();
    Visit(*sheet, {1});
    CLSNumberEdit& width = Field(*sheet, 1);
    QLineEdit* edit = width.findChild<QLineEdit*>();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("4a0-0"));
    EXPECT_EQ(width.Text(), QStringLiteral("400")); // kept as typed, refused on apply
    width.stepBy(-1);
    EXPECT_EQ(width.Text(), QStringLiteral("99"));
    width.SetText(QString());
    width.stepBy(-5);
    EXPECT_EQ(width.Text(), QStringLiteral("1"));
    width.stepBy(1000);
    EXPECT_EQ(width.Text(), QStringLiteral("100"));
}

TEST_F(CustomizeSheet, AChosenColourIsStoredAtOnceAndOutlivesCancel) {
    CLSCustomizePages::SetLastPage(CLSCustomizePages::kSpectrum);
    auto sheet = Open();
    QPushButton* bottom = nullptr;
    for (QPushButton* button : sheet->Page(1)->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("最も下の色(&B)..."))
            bottom = button;
    ASSERT_NE(bottom, nullptr);

    bottom->click(); // cancelled
    EXPECT_EQ(settings.SpectrumColor(CLSDRUVSettings::SpectrumBottom), 0xFF0000u);
    EXPECT_FALSE(Button(*sheet, QDialogButtonBox::Apply).isEnabled());

    chosen = QColor(0, 0, 128);
    bottom->click();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], QColor(0, 0, 255));
    EXPECT_EQ(settings.SpectrumColor(CLSDRUVSettings::SpectrumBottom), 0x800000u);
    EXPECT_TRUE(Button(*sheet, QDialogButtonBox::Apply).isEnabled());
    sheet->reject();
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(settings.SpectrumColor(CLSDRUVSettings::SpectrumBottom), 0x800000u);
}

TEST_F(CustomizeSheet, ThePreviewIsTheRecordsGradientInASixPixelBlackFrame) {
    settings.SpectrumColor(CLSDRUVSettings::SpectrumTop) = 0x00FF00; // green
    settings.SpectrumColor(CLSDRUVSettings::SpectrumBottom) = 0xFFFFFF;
    CLSCustomizePages::SetLastPage(CLSCustomizePages::kSpectrum);
    auto sheet = Open();
    const auto* page = static_cast<CLSCustomizeSpectrumPage*>(sheet->Page(1));
    const QSize logical = page->Preview().sizeHint();
    const QImage image = page->Preview().Render(2.0);
    ASSERT_EQ(image.size(), logical * 2); // every device pixel drawn, nothing scaled up
    const int frame = 2 * CLSColorPreview::kFrame;
    EXPECT_EQ(image.pixel(frame - 1, frame), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(frame, frame - 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(image.width() - frame, image.height() - frame), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(frame, frame), qRgb(0, 255, 0));
    const QRgb last = image.pixel(frame, image.height() - frame - 1);
    EXPECT_GT(qRed(last), 200);
    EXPECT_GT(qBlue(last), 200);
}

TEST_F(CustomizeSheet, APageBuiltAfterOpeningGetsAllTheRoomItNeeds) {
    auto sheet = Open();
    sheet->show();
    QApplication::processEvents();
    Visit(*sheet, {1});
    QTest::qWait(50);
    const auto* page = static_cast<CLSCustomizeSpectrumPage*>(sheet->Page(1));
    EXPECT_EQ(page->Preview().size(), page->Preview().sizeHint()) << "the preview is squeezed";
}

TEST_F(CustomizeSheet, ApplyRunsOncePerBuiltPage) {
    CLSCustomizePages::SetLastPage(CLSCustomizePages::kSpectrum);
    auto sheet = Open();
    sheet->show();
    QPushButton& apply = Button(*sheet, QDialogButtonBox::Apply);
    EXPECT_FALSE(apply.isEnabled());
    QTest::keyClick(sheet->Page(1)->findChild<QComboBox*>(), Qt::Key_Down);
    ASSERT_TRUE(apply.isEnabled());
    apply.click();
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(apply.isEnabled());

    Visit(*sheet, {0, 2});
    Box(*sheet, 2, 1).click();
    apply.click();
    EXPECT_EQ(applied, 4);
    EXPECT_TRUE(settings.GetFlag(CLSDRUVSettings::NoSendExclusive));
}

TEST_F(CustomizeSheet, HelpShowsTheCurrentPagesTopic) {
    auto sheet = Open();
    Button(*sheet, QDialogButtonBox::Help).click();
    Visit(*sheet, {2});
    sheet->show();
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    QTest::keyClick(sheet->Page(2), Qt::Key_F1);
    EXPECT_EQ(topics, (std::vector<int>{103, 105}));
}

} // namespace
