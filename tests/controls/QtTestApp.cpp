#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The offscreen platform's usual screen, and beside it a second one at device pixel ratio 2
// for the tests of drawing on scaled screens.
constexpr char kScreens[] = R"({"screens": [
  {"name": "plain", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "dpr": 1},
  {"name": "scaled", "x": 800, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "dpr": 2}
]})";

void UseTwoOffscreenScreens(const QTemporaryDir& dir) {
    if (qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")) !=
            QStringLiteral("offscreen") ||
        !dir.isValid())
        return;
    QFile config(dir.filePath(QStringLiteral("screens.json")));
    if (config.open(QIODevice::WriteOnly) && config.write(kScreens) > 0) {
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    }
}

// Widgets and fonts need one application object for the whole test program.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr)
            return;
        UseTwoOffscreenScreens(m_configDir);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    QTemporaryDir m_configDir;
    int m_argc = 1;
    char m_name[16] = "test_controls";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
