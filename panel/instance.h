// One calculator per state folder. Two calculators on one folder would each write their state
// at close, the last over the first; so the first start takes a lock on a file in the folder,
// held for its life, and a later start on the folder hands it the files it was given (the
// running one opens them and comes to the front) and ends. The lock lives in the folder
// itself, so the rule holds whatever the environment of each start.
//
// The files go over a local socket in the user's private runtime folder, named after the lock
// file. Only the start that holds the lock makes (or clears) the socket; a later start connects,
// sends its files, closes its side and waits for the word that they were taken. It tries again
// for a while when nobody listens yet (the holder may be starting at that very moment); when the
// holder does not answer within the limit (stopped, hung) it gives up without running.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QDeadlineTimer;
class QSocketNotifier;

namespace orrindale {

class InstanceLink final : public QObject {
public:
    // The time limits and the number of callers served at once; tests make them small.
    struct Limits {
        int AnswerMs = 10000;    // a later start waits this long for the holder to take its files
        int RetryMs = 25;        // between its tries while nobody listens
        int IdleMs = 5000;       // a caller that sends nothing for this long is dropped
        int MaxCallers = 16;     // callers served at once; further ones are closed at once
        int AcceptPauseMs = 250; // no descriptor left for a caller: accepting waits this long
    };

    explicit InstanceLink(const QString& stateFolder, QObject* parent = nullptr);
    InstanceLink(const QString& stateFolder, const Limits& limits, QObject* parent = nullptr);
    ~InstanceLink() override;

    enum class Outcome {
        Primary,     // this start is the calculator of its folder
        HandedOver,  // a calculator on the folder runs and took the files: this start ends
        HolderSilent // one runs but did not take them (Problem() says so): this start ends
    };
    // Takes the folder's lock or hands paths (absolute) to its holder.
    Outcome Start(const QStringList& paths);
    // What went wrong, for the user, after HolderSilent.
    const QString& Problem() const { return problem_; }

    // After Primary: from now on files handed over by later starts go to received. False when
    // there is no meeting point (no private runtime folder): this calculator then runs alone.
    bool Listen(std::function<void(const QStringList& paths)> received);

    // The lock file's name in the state folder. It is never removed: a start that removed it
    // could lock a new one beside a running holder.
    static constexpr char kLockName[] = ".orrindale.lock";
    // The socket, once Start() has found the lock file; empty without a private runtime folder.
    const QString& ServerPath() const { return server_; }
    // The caller connections open now, and whether the listener waits for a descriptor to free.
    int Callers() const { return callers_; }
    bool AcceptPaused() const;
    // How often the listener woke this calculator, for the tests that it does not spin.
    int AcceptWakes() const { return acceptWakes_; }

    // The message a later start sends, and its reading; a message that is not one gives no
    // files. It carries every file that fits in kMaxMessage: the calculator that takes them
    // opens a number of them and names the rest as not opened.
    static QByteArray Encode(const QStringList& paths);
    static QStringList Decode(const QByteArray& message);
    static constexpr qsizetype kMaxMessage = 1 << 20;

private:
    class Caller;
    enum class Lock { Taken, Held, None };
    Lock TryLock();
    bool OpenLockFile();
    void MakeListener();
    bool Offer(const QByteArray& message, const QDeadlineTimer& deadline) const;
    void Accept();
    void ResumeAccepting();
    void CallerClosed();

    QString folder_;
    Limits limits_;
    int lock_ = -1; // the lock file, open from the first Start()
    QString server_;
    int listener_ = -1; // the listening socket, made by the holder
    QSocketNotifier* accepting_ = nullptr;
    bool pauseTimed_ = false;
    int callers_ = 0;
    int acceptWakes_ = 0;
    QString problem_;
    std::function<void(const QStringList&)> received_;
};

} // namespace orrindale
