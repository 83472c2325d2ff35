#include "panel/instance.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <memory>

namespace orrindale {

namespace {
constexpr char kHeader[] = "orrindale-open 1";
constexpr int kConnectWait = 1000; // ms; a running calculator answers at once
} // namespace

InstanceLink::InstanceLink(const QString& stateFolder, QObject* parent)
    : QObject(parent), name_(ServerName(stateFolder)) {}

InstanceLink::~InstanceLink() = default;

QString InstanceLink::ServerName(const QString& stateFolder) {
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(stateFolder), QCryptographicHash::Sha256);
    const QString name = "orrindale-" + QString::fromLatin1(hash.toHex().left(24));
    // The session's runtime folder is the user's own; without one the socket goes to the
    // temporary folder, where the user access option still keeps it theirs.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? name : runtime + "/" + name;
}

QByteArray InstanceLink::Encode(const QStringList& paths) {
    QByteArray message(kHeader);
    for (const QString& path : paths)
        message += '\n' + QFile::encodeName(path).toPercentEncoding();
    return message + '\n';
}

QStringList InstanceLink::Decode(const QByteArray& message) {
    QStringList paths;
    if (message.size() > kMaxMessage) return paths;
    QList<QByteArray> lines = message.split('\n');
    if (lines.isEmpty() || lines.takeFirst() != kHeader) return paths;
    for (const QByteArray& line : lines) {
        if (line.isEmpty()) continue;
        if (paths.size() == kMaxFiles) break;
        paths.append(QFile::decodeName(QByteArray::fromPercentEncoding(line)));
    }
    return paths;
}

bool InstanceLink::HandOver(const QStringList& paths) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectWait)) return false;
    socket.write(Encode(paths));
    // What is still unwritten goes before the close.
    socket.waitForBytesWritten(kConnectWait);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectWait);
    return true;
}

bool InstanceLink::Listen(std::function<void(const QStringList&)> received) {
    received_ = std::move(received);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // No calculator answered: a meeting point left by one that was killed is stale.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) return false;
    connect(server_, &QLocalServer::newConnection, this, &InstanceLink::Accept);
    return true;
}

void InstanceLink::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // Freed with the socket's connections.
        auto message = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, socket, [socket, message] {
            *message += socket->readAll();
            if (message->size() > kMaxMessage) socket->abort();
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, message] {
            *message += socket->readAll();
            socket->deleteLater();
            received_(Decode(*message));
        });
    }
}

} // namespace orrindale
