#include "panel/instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

// Plain local sockets rather than the toolkit's network module: that module and the libraries
// it draws in (Kerberos, the proxy finder) would load at every start for this one small use.

namespace orrindale {

namespace {
constexpr char kHeader[] = "orrindale-open 1";
constexpr int kConnectWaitMs = 1000; // a running calculator answers at once

// The socket's address; false when the path does not fit one.
bool Address(const QByteArray& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// A stream socket with the time limit on connecting and writing; -1 when none can be made.
int NewSocket() {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    timeval limit{kConnectWaitMs / 1000, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    return fd;
}

// True when the process at the other end of fd runs as this user: a socket in the shared
// temporary folder may have been put there by someone else.
bool PeerIsUs(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

bool SendAll(int fd, const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent,
                                 static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += n;
    }
    return true;
}
} // namespace

// One later start's connection: its bytes until it closes, at most a message's worth.
class InstanceLink::Caller final : public QObject {
public:
    Caller(int fd, InstanceLink* link)
        : QObject(link), fd_(fd), notifier_(fd, QSocketNotifier::Read, this) {
        connect(&notifier_, &QSocketNotifier::activated, this, [this, link] { Read(link); });
    }
    ~Caller() override { ::close(fd_); }

private:
    void Read(InstanceLink* link) {
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
        if (n > 0 && message_.size() + n <= kMaxMessage) {
            message_.append(buffer, n);
            return;
        }
        // The end of the message, a failed read, or more than a message: done with this one.
        notifier_.setEnabled(false);
        if (n == 0) link->received_(Decode(message_));
        deleteLater();
    }

    int fd_;
    QSocketNotifier notifier_;
    QByteArray message_;
};

InstanceLink::InstanceLink(const QString& stateFolder, QObject* parent)
    : QObject(parent), name_(ServerName(stateFolder)) {}

InstanceLink::~InstanceLink() {
    if (listener_ < 0) return;
    ::close(listener_);
    ::unlink(QFile::encodeName(name_).constData());
}

QString InstanceLink::ServerName(const QString& stateFolder) {
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(stateFolder), QCryptographicHash::Sha256);
    const QString name = "orrindale-" + QString::fromLatin1(hash.toHex().left(24));
    // The session's runtime folder is the user's own; without one the socket goes to the
    // temporary folder, where only its owner may use it and a caller checks who answers.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return (runtime.isEmpty() ? QDir::tempPath() : runtime) + "/" + name;
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
    sockaddr_un address;
    if (!Address(QFile::encodeName(name_), address)) return false;
    const int fd = NewSocket();
    if (fd < 0) return false;
    const bool taken =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        PeerIsUs(fd) && SendAll(fd, Encode(paths));
    ::close(fd);
    return taken;
}

bool InstanceLink::Listen(std::function<void(const QStringList&)> received) {
    received_ = std::move(received);
    const QByteArray path = QFile::encodeName(name_);
    sockaddr_un address;
    if (!Address(path, address)) return false;
    const int fd = NewSocket();
    if (fd < 0) return false;
    // No calculator answered: a meeting point left by one that was killed is stale.
    ::unlink(path.constData());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 8) != 0 ||
        ::fcntl(fd, F_SETFL, O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    listener_ = fd;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &InstanceLink::Accept);
    return true;
}

void InstanceLink::Accept() {
    int fd;
    while ((fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0)
        new Caller(fd, this);
}

} // namespace orrindale
