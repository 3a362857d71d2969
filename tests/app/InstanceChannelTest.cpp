#include "app/CLSInstanceChannel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

int argc = 1;
char arg0[] = "test_app";
char* argv[] = {arg0, nullptr};

class InstanceChannelTest : public ::testing::Test {
protected:
    QString SocketName() const { return dir.filePath(QStringLiteral("druvel.socket")); }

    // Runs the GUI thread's loop until the channel has handled `count` paths.
    void PumpUntil(const std::vector<std::string>& got, std::size_t count) {
        QElapsedTimer clock;
        clock.start();
        while (got.size() < count && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    QApplication app{argc, argv};
    QTemporaryDir dir;
};

TEST_F(InstanceChannelTest, SecondInstanceHandsEveryPathInOrder) {
    CLSInstanceChannel first;
    std::vector<std::string> got;
    ASSERT_TRUE(first.Listen(SocketName(), [&](const std::string& path) { got.push_back(path); }));

    const std::string spaced = "/music/b c.mid";
    const std::string longPath = "/music/" + std::string(320, 'x') + ".mid";
    const QString name = SocketName();
    auto sent = std::async(std::launch::async, [&] {
        return CLSInstanceChannel::Send(name, {spaced, longPath});
    });
    PumpUntil(got, 2);
    EXPECT_EQ(sent.get(), CLSInstanceChannel::HandOver::Handed);
    EXPECT_EQ(got, (std::vector<std::string>{spaced, longPath}));

    // A second listener on the same name defers to the running one.
    CLSInstanceChannel second;
    EXPECT_FALSE(second.Listen(name, {}));
}

TEST_F(InstanceChannelTest, NoInstanceAndStaleSocket) {
    EXPECT_EQ(CLSInstanceChannel::Send(SocketName(), {"/a.mid"}, 500),
              CLSInstanceChannel::HandOver::NoInstance);

    // A socket file nobody listens on, as a crashed instance leaves it.
    const QByteArray path = SocketName().toUtf8();
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.constData());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);

    CLSInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(SocketName(), {}));
    struct stat info {};
    ASSERT_EQ(::stat(path.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u) << "only the user may hand paths over";
}

} // namespace
