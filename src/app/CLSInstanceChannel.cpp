#include "app/CLSInstanceChannel.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {

// Each message is a 32-bit big-endian length and the path's bytes; the answer is one byte.
constexpr char kAck = '\x06';
constexpr quint32 kMaxPathBytes = 1u << 20;

QByteArray Frame(const std::string& path) {
    QByteArray message;
    const quint32 size = static_cast<quint32>(path.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        message.append(static_cast<char>((size >> shift) & 0xFF));
    message.append(path.data(), static_cast<qsizetype>(path.size()));
    return message;
}

bool AnswersOn(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool answered = probe.waitForConnected(1000);
    probe.abort();
    return answered;
}

} // namespace

CLSInstanceChannel::CLSInstanceChannel(QObject* parent) : QObject(parent) {}

CLSInstanceChannel::~CLSInstanceChannel() = default;

QString CLSInstanceChannel::DefaultName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("druvel.socket"));
    return QDir(QDir::tempPath())
        .filePath(QStringLiteral("druvel-%1.socket").arg(static_cast<qulonglong>(::getuid())));
}

bool CLSInstanceChannel::Listen(const QString& name, PathHandler onPath) {
    if (AnswersOn(name))
        return false;
    // Nobody answers: whatever socket file is there was left by an instance that died.
    QLocalServer::removeServer(name);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name))
        return false;
    m_server = std::move(server);
    m_onPath = std::move(onPath);
    connect(m_server.get(), &QLocalServer::newConnection, this,
            &CLSInstanceChannel::AcceptConnections);
    return true;
}

bool CLSInstanceChannel::IsListening() const {
    return m_server && m_server->isListening();
}

void CLSInstanceChannel::AcceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadMessages(socket); });
        ReadMessages(socket);
    }
}

void CLSInstanceChannel::ReadMessages(QLocalSocket* socket) {
    for (;;) {
        if (socket->bytesAvailable() < 4)
            return;
        const QByteArray head = socket->peek(4);
        quint32 size = 0;
        for (char byte : head)
            size = (size << 8) | static_cast<unsigned char>(byte);
        if (size > kMaxPathBytes) {
            socket->abort();
            return;
        }
        if (socket->bytesAvailable() < 4 + static_cast<qint64>(size))
            return;
        socket->read(4);
        const QByteArray path = socket->read(size);
        // Acknowledge before handling: the handler may show an error box, and the sender must
        // not time out behind it.
        socket->write(&kAck, 1);
        socket->flush();
        if (m_onPath)
            m_onPath(std::string(path.constData(), static_cast<std::size_t>(path.size())));
    }
}

CLSInstanceChannel::HandOver CLSInstanceChannel::Send(const QString& name,
                                                      const std::vector<std::string>& paths,
                                                      int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return HandOver::NoInstance;
    for (const std::string& path : paths) {
        socket.write(Frame(path));
        if (!socket.waitForBytesWritten(timeoutMs))
            return HandOver::Failed;
        while (socket.bytesAvailable() < 1) {
            if (!socket.waitForReadyRead(timeoutMs))
                return HandOver::Failed;
        }
        char answer = 0;
        if (socket.read(&answer, 1) != 1 || answer != kAck)
            return HandOver::Failed;
    }
    socket.disconnectFromServer();
    return HandOver::Handed;
}
