#include "panel/instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Plain local sockets rather than the toolkit's network module: that module and the libraries
// it draws in (Kerberos, the proxy finder) would load at every start for this one small use.

namespace orrindale {

namespace {
constexpr char kHeader[] = "orrindale-open 1";
// The holder's word that it took the files, sent once the caller closed its side.
constexpr char kTaken[] = "taken\n";
constexpr int kBacklog = 32;
// Callers taken per wake of the listener, so that a crowd does not hold up the window; the
// listener wakes again for the rest.
constexpr int kAcceptsPerWake = 64;

// The socket's address; false when the path does not fit one.
bool Address(const QByteArray& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

const sockaddr* AsSockaddr(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

// True when the process at the other end of fd runs as this user.
bool PeerIsUs(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

// Waits until fd is ready for events; false when the deadline passed first.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd ready{fd, events, 0};
        const int n = ::poll(&ready, 1, static_cast<int>(deadline.remainingTime()));
        if (n < 0 && errno == EINTR) continue;
        return n > 0;
    }
}

bool SendAll(int fd, const QByteArray& bytes, const QDeadlineTimer& deadline) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent,
                                 static_cast<std::size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!WaitFor(fd, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

// True when the holder says it took the files before the deadline; false when it closes
// without a word (it turned the caller away, or it ended).
bool HearTaken(int fd, const QDeadlineTimer& deadline) {
    QByteArray answer;
    while (answer.size() < qsizetype(sizeof kTaken) - 1) {
        char buffer[sizeof kTaken];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            answer.append(buffer, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!WaitFor(fd, POLLIN, deadline)) return false;
        } else {
            return false;
        }
    }
    return answer == kTaken;
}

// The user's runtime folder when it is a private one: a folder of this user, not a link to
// one, that no one else may enter. Without XDG_RUNTIME_DIR the toolkit offers one in the shared
// temporary folder, where another user may have made it first.
QString PrivateRuntimeFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) return {};
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return {};
    struct stat st {};
    const bool ours =
        ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 0777) == 0700;
    ::close(fd);
    return ours ? folder : QString();
}

QString Digest(const QByteArray& bytes) {
    return QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(24));
}

// A lock file, opened for locking only: a regular file, never a link.
int OpenLock(const QString& path, int mode) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          mode | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, S_IRUSR | S_IWUSR);
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The message for paths, as many as fit in one; the holder tells of those it does not open.
QByteArray MessageOf(QStringList paths) {
    QByteArray message = InstanceLink::Encode(paths);
    while (message.size() > InstanceLink::kMaxMessage) {
        paths.removeLast();
        message = InstanceLink::Encode(paths);
    }
    return message;
}
} // namespace

// One later start's connection: its bytes until it closes its side, at most a message's
// worth, and then the word that the files were taken. One that sends nothing for the idle
// limit is dropped.
class InstanceLink::Caller final : public QObject {
public:
    Caller(int fd, InstanceLink* link)
        : QObject(link), fd_(fd), link_(link), notifier_(fd, QSocketNotifier::Read, this) {
        connect(&notifier_, &QSocketNotifier::activated, this, &Caller::Read);
        idle_.setSingleShot(true);
        connect(&idle_, &QTimer::timeout, this, &Caller::Close);
        idle_.start(link->limits_.IdleMs);
    }
    ~Caller() override {
        if (fd_ < 0) return;
        notifier_.setEnabled(false);
        ::close(fd_);
    }

private:
    void Read() {
        char buffer[4096];
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (n > 0 && message_.size() + n <= kMaxMessage) {
            message_.append(buffer, n);
            idle_.start();
            return;
        }
        // A failed read, more than a message, or one that is not ours: no word, no files.
        if (n != 0 || !message_.startsWith(QByteArray(kHeader) + '\n')) return Close();
        // The caller hears that its files were taken before they are opened: opening them may
        // ask the user things, and the caller waits only so long.
        const QStringList paths = Decode(message_);
        ::send(fd_, kTaken, sizeof kTaken - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        InstanceLink* link = link_;
        Close();
        link->received_(paths);
    }

    void Close() {
        notifier_.setEnabled(false);
        idle_.stop();
        ::close(fd_);
        fd_ = -1;
        link_->CallerClosed();
        deleteLater();
    }

    int fd_;
    InstanceLink* link_;
    QSocketNotifier notifier_;
    QTimer idle_;
    QByteArray message_;
};

InstanceLink::InstanceLink(const QString& stateFolder, QObject* parent)
    : InstanceLink(stateFolder, Limits(), parent) {}

InstanceLink::InstanceLink(const QString& stateFolder, const Limits& limits, QObject* parent)
    : QObject(parent), folder_(stateFolder), limits_(limits) {}

InstanceLink::~InstanceLink() {
    // The socket goes while the lock is still held: a later holder never loses its own.
    if (listener_ >= 0) {
        delete accepting_;
        ::close(listener_);
        ::unlink(QFile::encodeName(server_).constData());
    }
    if (lock_ >= 0) ::close(lock_);
}

bool InstanceLink::OpenLockFile() {
    const QString runtime = PrivateRuntimeFolder();
    const QString path = QDir(folder_).filePath(kLockName);
    lock_ = OpenLock(path, O_RDWR | O_CREAT);
    // A folder that cannot be written now may hold the lock file made while it could.
    if (lock_ < 0) lock_ = OpenLock(path, O_RDONLY);
    // No lock file in the folder: no state is written there either, and the lock goes to the
    // runtime folder, where it keeps apart the starts of this user's session.
    if (lock_ < 0 && !runtime.isEmpty()) {
        QString folder = QFileInfo(folder_).canonicalFilePath();
        if (folder.isEmpty()) folder = QDir::cleanPath(folder_);
        lock_ = OpenLock(runtime + "/orrindale-" + Digest(QFile::encodeName(folder)) + ".lock",
                         O_RDWR | O_CREAT);
    }
    struct stat st {};
    if (lock_ < 0 || ::fstat(lock_, &st) != 0) return false;
    // Named after the lock file itself, the socket is the same however the folder was named.
    if (!runtime.isEmpty())
        server_ = runtime + "/orrindale-" +
                  Digest(QByteArray::number(quint64(st.st_dev)) + ':' +
                         QByteArray::number(quint64(st.st_ino)));
    return true;
}

InstanceLink::Lock InstanceLink::TryLock() {
    if (lock_ < 0 && !OpenLockFile()) return Lock::None;
    if (::flock(lock_, LOCK_EX | LOCK_NB) == 0) return Lock::Taken;
    return errno == EWOULDBLOCK ? Lock::Held : Lock::None;
}

InstanceLink::Outcome InstanceLink::Start(const QStringList& paths) {
    const Lock lock = TryLock();
    // Without a lock there is no rule to keep: this calculator runs alone, and never touches
    // a socket another may own.
    if (lock == Lock::None) return Outcome::Primary;
    if (lock == Lock::Taken) {
        MakeListener();
        return Outcome::Primary;
    }
    const QString folder = QDir::toNativeSeparators(folder_);
    if (server_.isEmpty()) {
        problem_ = QString("Orrindale is already running on the settings folder %1, and there is "
                           "no private runtime folder to reach it through.\r\rClose it and try "
                           "again.")
                       .arg(folder);
        return Outcome::HolderSilent;
    }
    const QByteArray message = MessageOf(paths);
    const QDeadlineTimer deadline(limits_.AnswerMs, Qt::PreciseTimer);
    for (;;) {
        if (Offer(message, deadline)) return Outcome::HandedOver;
        // The holder may have ended meanwhile: this start is the calculator then.
        if (TryLock() == Lock::Taken) {
            MakeListener();
            return Outcome::Primary;
        }
        if (deadline.hasExpired()) break;
        QThread::msleep(static_cast<unsigned long>(
            std::min<qint64>(limits_.RetryMs, deadline.remainingTime())));
    }
    problem_ = QString("Orrindale is already running on the settings folder %1 but does not "
                       "answer.\r\rClose it, or end it, and try again.")
                   .arg(folder);
    return Outcome::HolderSilent;
}

// Hands message to the holder: true once it said it took the files. False when nobody listens
// yet, or the holder turned the caller away or did not answer before the deadline.
bool InstanceLink::Offer(const QByteArray& message, const QDeadlineTimer& deadline) const {
    sockaddr_un address;
    if (!Address(QFile::encodeName(server_), address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    const bool taken = ::connect(fd, AsSockaddr(address), sizeof address) == 0 && PeerIsUs(fd) &&
                       SendAll(fd, message, deadline) && ::shutdown(fd, SHUT_WR) == 0 &&
                       HearTaken(fd, deadline);
    ::close(fd);
    return taken;
}

// The holder listens at once, before its window is made: later starts queue up and wait for
// their answer instead of finding nobody. They are served from Listen() on.
void InstanceLink::MakeListener() {
    const QByteArray path = QFile::encodeName(server_);
    sockaddr_un address;
    if (!Address(path, address)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    // What is there was left by a holder that was killed, or put there by someone else: with
    // the lock held, no calculator of this folder listens on it.
    ::unlink(path.constData());
    if (::bind(fd, AsSockaddr(address), sizeof address) != 0) {
        ::close(fd);
        return;
    }
    if (::listen(fd, kBacklog) != 0) {
        ::unlink(path.constData());
        ::close(fd);
        return;
    }
    listener_ = fd;
}

bool InstanceLink::Listen(std::function<void(const QStringList&)> received) {
    if (listener_ < 0) return false;
    received_ = std::move(received);
    if (!accepting_) {
        accepting_ = new QSocketNotifier(listener_, QSocketNotifier::Read, this);
        connect(accepting_, &QSocketNotifier::activated, this, &InstanceLink::Accept);
    }
    return true;
}

void InstanceLink::Accept() {
    ++acceptWakes_;
    for (int i = 0; i < kAcceptsPerWake; ++i) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            // Beyond the limit a caller is turned away at once; it tries again while it may.
            if (callers_ >= limits_.MaxCallers || !PeerIsUs(fd)) {
                ::close(fd);
            } else {
                ++callers_;
                new Caller(fd, this);
            }
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno != EMFILE && errno != ENFILE && errno != ENOBUFS && errno != ENOMEM) return;
        // No descriptor for the caller. The listener stays readable and would wake the loop
        // again at once: it sleeps until a caller closes, or for a while, as descriptors may
        // free elsewhere.
        accepting_->setEnabled(false);
        if (!pauseTimed_) {
            pauseTimed_ = true;
            QTimer::singleShot(limits_.AcceptPauseMs, this, [this] {
                pauseTimed_ = false;
                ResumeAccepting();
            });
        }
        return;
    }
}

void InstanceLink::ResumeAccepting() {
    if (accepting_) accepting_->setEnabled(true);
}

bool InstanceLink::AcceptPaused() const {
    return accepting_ && !accepting_->isEnabled();
}

void InstanceLink::CallerClosed() {
    --callers_;
    ResumeAccepting();
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
        paths.append(QFile::decodeName(QByteArray::fromPercentEncoding(line)));
    }
    return paths;
}

} // namespace orrindale
