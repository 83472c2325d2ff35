// One calculator per state folder: the lock on the folder, the hand-over of files to its holder,
// and the holder's guard against callers that crowd, idle or find no descriptor left.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <latch>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "panel/instance.h"

using namespace orrindale;
using Outcome = InstanceLink::Outcome;

namespace {

// The runtime and temporary folders of the starts, fresh private folders; and the state folder.
// The variables are restored at the end.
class Environment {
public:
    Environment() {
        Set("XDG_RUNTIME_DIR", runtime.path());
        Set("TMPDIR", temp.path());
    }
    ~Environment() {
        for (const auto& [name, value] : kept_)
            value ? qputenv(name, *value) : qunsetenv(name);
    }
    void Set(const char* name, const QString& value) {
        kept_.emplace_back(name, qEnvironmentVariableIsSet(name)
                                     ? std::optional<QByteArray>(qgetenv(name))
                                     : std::nullopt);
        value.isNull() ? qunsetenv(name) : qputenv(name, QFile::encodeName(value));
    }
    QString Folder() const { return folder.path() + "/"; }

    QTemporaryDir runtime, temp, folder;

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> kept_;
};

InstanceLink::Limits Quick() {
    InstanceLink::Limits limits;
    limits.AnswerMs = 150;
    limits.RetryMs = 5;
    limits.IdleMs = 40;
    limits.AcceptPauseMs = 20;
    return limits;
}

// A later start on a thread of its own, as another process would make it, while this thread
// serves as the holder.
std::future<Outcome> StartElsewhere(const QString& folder, const QStringList& paths) {
    return std::async(std::launch::async, [folder, paths] {
        InstanceLink link(folder, Quick());
        return link.Start(paths);
    });
}

// Runs this thread's events until done comes true; false after ten seconds.
template <class Done> bool ServeUntil(Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 10000) return false;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}

Outcome Served(std::future<Outcome> later) {
    ServeUntil(
        [&] { return later.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return later.get();
}

// A listening socket at path that nobody serves; closed (and removed) at the end.
class Planted {
public:
    explicit Planted(const QString& path) : path_(QFile::encodeName(path)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path_.constData(), std::size_t(path_.size()));
        ::unlink(path_.constData());
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ok = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
             ::listen(fd_, 8) == 0;
    }
    ~Planted() {
        ::close(fd_);
        ::unlink(path_.constData());
    }
    bool ok = false;

private:
    QByteArray path_;
    int fd_ = -1;
};

// A raw connection to the holder's socket, as a caller that never finishes its message.
int Connect(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// True once the holder closed the connection.
bool ClosedByHolder(int fd) {
    char byte;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

} // namespace

TEST(InstanceLink, TheHandedOverMessageCarriesEveryPathAndNothingElse) {
    const QStringList paths{"/home/u/plain.ptf", "/tmp/two words.mcf", "/tmp/line\nbreak.ocf",
                            "/tmp/\xc3\xa9t\xc3\xa9.exm", "/tmp/100%.txt"};
    EXPECT_EQ(InstanceLink::Decode(InstanceLink::Encode(paths)), paths);
    EXPECT_EQ(InstanceLink::Decode(InstanceLink::Encode({})), QStringList());

    // More than are opened at once: the calculator names those beyond as not opened.
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many.append(QString("/f%1.mcf").arg(i));
    EXPECT_EQ(InstanceLink::Decode(InstanceLink::Encode(many)), many);

    const QByteArray hostile[] = {
        "",
        "/etc/passwd\n",
        "orrindale-open 2\n/a.mcf\n",
        "orrindale-open 1\n" + QByteArray(InstanceLink::kMaxMessage, 'a'),
    };
    for (const QByteArray& message : hostile)
        EXPECT_TRUE(InstanceLink::Decode(message).isEmpty()) << message.left(40).toStdString();
}

TEST(InstanceLink, TheLockOnTheFolderAllowsOneHolderWhateverTheEnvironment) {
    Environment env;
    QTemporaryDir other, otherRuntime, otherTemp;
    const QString folder = env.Folder();
    const QString alias = other.path() + "/alias";
    ASSERT_TRUE(QFile::link(env.folder.path(), alias));
    std::optional<InstanceLink> holder(std::in_place, folder);
    ASSERT_EQ(holder->Start({}), Outcome::Primary);

    // Another start on the folder, named or run otherwise: never a second holder.
    const struct {
        const char* what;
        QString folder, runtime, temp;
    } cases[] = {
        {"the same folder", folder, env.runtime.path(), env.temp.path()},
        {"the folder through a link", alias + "/", env.runtime.path(), env.temp.path()},
        {"another runtime folder", folder, otherRuntime.path(), env.temp.path()},
        {"no runtime folder, another temporary one", folder, QString(), otherTemp.path()},
    };
    for (const auto& c : cases) {
        env.Set("XDG_RUNTIME_DIR", c.runtime);
        env.Set("TMPDIR", c.temp);
        EXPECT_NE(InstanceLink(c.folder, Quick()).Start({"/a.mcf"}), Outcome::Primary) << c.what;
    }
    env.Set("XDG_RUNTIME_DIR", env.runtime.path());
    env.Set("TMPDIR", env.temp.path());
    EXPECT_EQ(InstanceLink(other.path(), Quick()).Start({}), Outcome::Primary)
        << "another folder has its own holder";
    // A folder that cannot hold the lock file has its lock in the runtime folder.
    const QString missing = other.path() + "/missing/";
    InstanceLink first(missing, Quick());
    EXPECT_EQ(first.Start({}), Outcome::Primary);
    EXPECT_NE(InstanceLink(missing, Quick()).Start({}), Outcome::Primary);
    holder.reset();
    EXPECT_TRUE(QFile::exists(folder + InstanceLink::kLockName)) << "the lock file stays";
    EXPECT_EQ(InstanceLink(folder, Quick()).Start({}), Outcome::Primary)
        << "the folder is free once its holder ended";
}

// A listener put where the hand-over used to go or goes now, by anyone, with no holder of the
// folder's lock behind it: the start that takes the lock is the holder and gets the files.
TEST(InstanceLink, AListenerPlantedWhereTheSocketGoesTakesNoFiles) {
    Environment env;
    const QString folder = env.Folder();
    QString socket;
    {
        InstanceLink first(folder);
        ASSERT_EQ(first.Start({}), Outcome::Primary);
        socket = first.ServerPath();
    }
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256);
    const QString oldName = QDir::tempPath() + "/orrindale-" + hash.toHex().left(24);
    for (const QString& where : {oldName, socket}) {
        Planted planted(where);
        ASSERT_TRUE(planted.ok) << where.toStdString();
        InstanceLink holder(folder, Quick());
        ASSERT_EQ(holder.Start({}), Outcome::Primary) << where.toStdString();
        QStringList received;
        ASSERT_TRUE(holder.Listen([&](const QStringList& paths) { received = paths; }));
        EXPECT_EQ(Served(StartElsewhere(folder, {"/home/u/sum.mcf"})), Outcome::HandedOver);
        EXPECT_EQ(received, QStringList{"/home/u/sum.mcf"}) << where.toStdString();
    }
}

TEST(InstanceLink, AHolderThatDoesNotAnswerIsReportedAfterTheLimit) {
    enum class Holder { LockOnly, NeverServes };
    for (const Holder kind : {Holder::LockOnly, Holder::NeverServes}) {
        Environment env;
        const QString folder = env.Folder();
        std::optional<InstanceLink> holder;
        const int lock = ::open(QFile::encodeName(folder + InstanceLink::kLockName).constData(),
                                O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (kind == Holder::LockOnly) {
            ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);
        } else {
            // A holder stopped (or hung) once it listened: its loop never runs again.
            holder.emplace(folder);
            ASSERT_EQ(holder->Start({}), Outcome::Primary);
            ASSERT_TRUE(holder->Listen([](const QStringList&) {}));
        }
        InstanceLink later(folder, Quick());
        QElapsedTimer waited;
        waited.start();
        EXPECT_EQ(later.Start({"/a.mcf"}), Outcome::HolderSilent);
        EXPECT_GE(waited.elapsed(), Quick().AnswerMs);
        EXPECT_LT(waited.elapsed(), 5000);
        EXPECT_TRUE(later.Problem().contains("does not answer")) << later.Problem().toStdString();
        EXPECT_TRUE(later.Problem().contains(folder));
        ::close(lock);
    }
}

// Without XDG_RUNTIME_DIR the runtime folder is offered in the shared temporary folder, where
// another user may have put a link to a folder of theirs first: the socket does not go there.
TEST(InstanceLink, ARuntimeFolderThatIsNotPrivateIsNotUsed) {
    Environment env;
    QTemporaryDir elsewhere;
    env.Set("XDG_RUNTIME_DIR", QString());
    const QString planted = env.temp.path() + "/runtime-" + ::getpwuid(::geteuid())->pw_name;
    ASSERT_TRUE(QFile::link(elsewhere.path(), planted));
    InstanceLink holder(env.Folder());
    ASSERT_EQ(holder.Start({}), Outcome::Primary);
    EXPECT_TRUE(holder.ServerPath().isEmpty()) << holder.ServerPath().toStdString();
    EXPECT_FALSE(holder.Listen([](const QStringList&) {}));
    EXPECT_TRUE(
        QDir(elsewhere.path())
            .isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot));
    // A later start cannot reach the holder and says so at once.
    InstanceLink later(env.Folder());
    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(later.Start({}), Outcome::HolderSilent);
    EXPECT_LT(waited.elapsed(), 1000);
    EXPECT_TRUE(later.Problem().contains("no private runtime folder"));
}

TEST(InstanceLink, CallersAreLimitedInNumberAndInIdleTime) {
    Environment env;
    InstanceLink::Limits limits = Quick();
    limits.MaxCallers = 2;
    InstanceLink holder(env.Folder(), limits);
    ASSERT_EQ(holder.Start({}), Outcome::Primary);
    ASSERT_TRUE(holder.Listen([](const QStringList&) {}));
    QElapsedTimer idle;
    idle.start();
    int callers[3];
    for (int& fd : callers)
        ASSERT_GE(fd = Connect(holder.ServerPath()), 0);
    ASSERT_TRUE(ServeUntil([&] { return holder.Callers() == 2 && holder.AcceptWakes() > 0; }));
    EXPECT_FALSE(ClosedByHolder(callers[0]));
    EXPECT_FALSE(ClosedByHolder(callers[1]));
    EXPECT_TRUE(ClosedByHolder(callers[2])) << "the third is turned away at once";

    ASSERT_TRUE(ServeUntil([&] { return holder.Callers() == 0; }));
    EXPECT_GE(idle.elapsed(), limits.IdleMs * 9 / 10);
    for (const int fd : callers) {
        EXPECT_TRUE(ClosedByHolder(fd));
        ::close(fd);
    }
}

// The listener's wakes while no descriptor is left for a caller: one, then a pause; the
// callers are served once descriptors free.
TEST(InstanceLink, NoDescriptorLeftPausesTheListenerInsteadOfSpinning) {
    Environment env;
    InstanceLink::Limits limits = Quick();
    limits.AcceptPauseMs = 300; // longer than the fifty turns of the loop below, even when loaded
    InstanceLink holder(env.Folder(), limits);
    ASSERT_EQ(holder.Start({}), Outcome::Primary);
    ASSERT_TRUE(holder.Listen([](const QStringList&) {}));
    int callers[3];
    for (int& fd : callers)
        ASSERT_GE(fd = Connect(holder.ServerPath()), 0);

    // Asked before the descriptors run out: the sanitizer's first check of the listener's type
    // needs a descriptor of its own, and later ones find the answer it keeps.
    ASSERT_FALSE(holder.AcceptPaused());
    rlimit kept{};
    ::getrlimit(RLIMIT_NOFILE, &kept);
    rlimit low = kept;
    low.rlim_cur = 256;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> fillers;
    for (int fd; (fd = ::dup(0)) >= 0;)
        fillers.push_back(fd);
    for (int i = 0; i < 50; ++i)
        QCoreApplication::processEvents();
    const int wakes = holder.AcceptWakes();
    const bool paused = holder.AcceptPaused();
    for (const int fd : fillers)
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &kept);
    EXPECT_GE(wakes, 1);
    EXPECT_LE(wakes, 2) << "the listener woke the loop at every turn";
    EXPECT_TRUE(paused);
    EXPECT_EQ(holder.Callers(), 0);

    EXPECT_TRUE(ServeUntil([&] { return holder.Callers() == 3; }));
    EXPECT_FALSE(holder.AcceptPaused());
    for (const int fd : callers)
        ::close(fd);
}

// Twenty starts at the same moment on one folder: one holder, and every other start's file
// taken by it. More callers come than the holder serves at once; those turned away try again.
TEST(InstanceLink, TwentyStartsAtOnceMakeOneHolderThatTakesEveryFile) {
    Environment env;
    constexpr int kStarts = 20;
    InstanceLink::Limits limits;
    limits.RetryMs = 5;
    std::latch ready(kStarts);
    QMutex lock;
    QStringList opened; // by the holder: its own file and those handed to it
    std::vector<Outcome> outcomes(kStarts);
    std::vector<QThread*> starts;
    for (int i = 0; i < kStarts; ++i) {
        starts.push_back(QThread::create([&, i] {
            const QString file = QString("/home/u/card%1.mcf").arg(i);
            InstanceLink link(env.Folder(), limits);
            ready.arrive_and_wait();
            outcomes[i] = link.Start({file});
            if (outcomes[i] != Outcome::Primary) return;
            QEventLoop loop;
            const auto open = [&](const QStringList& files) {
                QMutexLocker locked(&lock);
                opened += files;
                if (opened.size() == kStarts) loop.quit();
            };
            open({file});
            link.Listen(open);
            QTimer::singleShot(20000, &loop, &QEventLoop::quit);
            if (opened.size() < kStarts) loop.exec();
        }));
        starts.back()->start();
    }
    for (QThread* start : starts) {
        EXPECT_TRUE(start->wait(30000));
        delete start;
    }
    EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), Outcome::Primary), 1);
    EXPECT_EQ(std::count(outcomes.begin(), outcomes.end(), Outcome::HandedOver), kStarts - 1);
    opened.sort();
    opened.removeDuplicates();
    EXPECT_EQ(opened.size(), kStarts);
}

// A Qt core application for the event loop; the links need no display.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
