#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include <memory>

// The application object widget tests need, made before the first test and gone before exit
// (a QApplication left to static destruction crashes once a widget was shown). Another suite
// may have made one already.
class WordTestAppEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[14] = "test_controls";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

// gtest owns the environments it is given.
inline ::testing::Environment* const wordTestAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new WordTestAppEnvironment);
