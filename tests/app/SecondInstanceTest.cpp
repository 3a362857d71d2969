#include "fixtures/TestPaths.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

const std::string kDemo = std::string(DRUVEL_TEST_DATA) + "/../../resources/demo/druvel-demo.mid";

QProcessEnvironment DruvelEnvironment(const TempDir& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString folder = QString::fromStdString(home.Path());
    env.insert(QStringLiteral("DRUVEL_HOME"), folder);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Under the sanitizer build the programs' exit codes must stay theirs, not the leak
    // checker's verdict on the GUI libraries' process-lifetime caches.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    env.insert(QStringLiteral("DRUVEL_MIDI_OUT"),
               QStringLiteral("capture:") + folder + QStringLiteral("/c.txt"));
    return env;
}

bool WaitFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// The real program, twice: the second hands its paths to the first and ends.
TEST(SecondInstance, HandsItsPathsToTheRunningOneWhichSavesThemAtExit) {
    QCoreApplication app(argc, argv);
    TempDir home;
    const std::string spaced = home.File("b c.mid");
    std::string longFolder = home.Path();
    for (int i = 0; i < 4; ++i)
        longFolder += "/" + std::string(80, static_cast<char>('p' + i));
    std::filesystem::create_directories(longFolder);
    const std::string longPath = longFolder + "/song.mid";
    ASSERT_GT(longPath.size(), 300u);
    std::filesystem::copy_file(kDemo, spaced);
    std::filesystem::copy_file(kDemo, longPath);

    QProcess first;
    first.setProcessEnvironment(DruvelEnvironment(home));
    first.start(QStringLiteral(DRUVEL_GUI), {});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(home.File("druvel.socket")); }, 15000))
        << "the first instance never listened";

    QProcess second;
    second.setProcessEnvironment(DruvelEnvironment(home));
    second.start(QStringLiteral(DRUVEL_GUI),
                 {QString::fromStdString(spaced), QString::fromStdString(longPath)});
    ASSERT_TRUE(second.waitForFinished(15000)) << "the second instance kept running";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(std::filesystem::exists(home.File("DRUV.INI"))) << "only the first one saves";

    first.terminate(); // closes the window as the user would
    ASSERT_TRUE(first.waitForFinished(15000));
    const std::string ini = ReadFileBytes(home.File("DRUV.INI"));
    const std::size_t recentSpaced = ini.find(spaced);
    const std::size_t recentLong = ini.find(longPath);
    ASSERT_NE(recentSpaced, std::string::npos) << ini;
    ASSERT_NE(recentLong, std::string::npos) << ini;
    EXPECT_LT(recentLong, recentSpaced) << "the last added is the most recent";
}

} // namespace
