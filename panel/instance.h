// One calculator per state folder. A second start on the folder of a running calculator hands
// it the files it was given (the running one opens them and comes to the front) and ends: two
// calculators on one folder would each write their state at close, the last over the first.
// Calculators on different folders never meet: the meeting point is named after the folder.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace orrindale {

class InstanceLink final : public QObject {
public:
    explicit InstanceLink(const QString& stateFolder, QObject* parent = nullptr);
    ~InstanceLink() override;

    // True when a calculator on the same folder runs and took the files (absolute paths); this
    // start then ends.
    bool HandOver(const QStringList& paths);
    // From now on this start is the calculator of its folder: files handed over by later
    // starts go to received. False when the meeting point cannot be made (this calculator then
    // runs alone).
    bool Listen(std::function<void(const QStringList& paths)> received);

    // The meeting point of a folder: a socket in the user's runtime folder.
    static QString ServerName(const QString& stateFolder);
    // The message a second start sends, and its reading; a message that is not one gives no
    // files, and it never gives more than kMaxFiles.
    static QByteArray Encode(const QStringList& paths);
    static QStringList Decode(const QByteArray& message);
    static constexpr int kMaxFiles = 256;
    static constexpr qsizetype kMaxMessage = 1 << 20;

private:
    class Caller;
    void Accept();

    QString name_;
    int listener_ = -1; // the listening socket, once this start listens
    std::function<void(const QStringList&)> received_;
};

} // namespace orrindale
