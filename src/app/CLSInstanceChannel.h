#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

// The single-instance hand-over: the first instance listens on a per-user local socket; a
// later one sends it each of its paths, one per message, and waits for each to be
// acknowledged before sending the next, so the running instance adds them in order.
class CLSInstanceChannel : public QObject {
    Q_OBJECT
public:
    using PathHandler = std::function<void(const std::string& path)>;

    enum class HandOver { NoInstance, Handed, Failed };

    explicit CLSInstanceChannel(QObject* parent = nullptr);
    ~CLSInstanceChannel() override;

    // This user's socket: in $XDG_RUNTIME_DIR when there is one (private to the user), else
    // in the temporary folder with the user id in its name.
    static QString DefaultName();

    // Starts listening; a socket left behind by a crashed instance is replaced. False when
    // another instance answers on the name (or the socket cannot be made).
    bool Listen(const QString& name, PathHandler onPath);
    bool IsListening() const;

    // Sends every path to the instance listening on name. NoInstance when none answers.
    static HandOver Send(const QString& name, const std::vector<std::string>& paths,
                         int timeoutMs = 5000);

private:
    void AcceptConnections();
    void ReadMessages(QLocalSocket* socket);

    std::unique_ptr<QLocalServer> m_server;
    PathHandler m_onPath;
};
