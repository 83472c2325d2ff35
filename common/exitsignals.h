// Ending on a signal as on a close.
//
// SIGTERM (sent by the desktop and the service manager at logout and shutdown), SIGHUP (the
// terminal closed) and SIGINT (Ctrl+C) would end the process on the spot, and everything done
// since the start would be lost. While an ExitSignals lives they are caught instead: the handler
// only writes the signal's number to a pipe, which is all a signal handler may safely do, and
// the event loop reads it there and hands it to the function given, which closes the program
// as the close box does, without questions. One signal is enough: those that follow while the
// program closes are read and dropped.
#pragma once

#include <QObject>
#include <csignal>
#include <functional>

class QSocketNotifier;

namespace orrindale {

class ExitSignals final : public QObject {
public:
    // Only one may live at a time: the handler writes to the pipe of the one that lives.
    explicit ExitSignals(std::function<void(int signal)> received, QObject* parent = nullptr);
    // The signals end the process at once again.
    ~ExitSignals() override;
    ExitSignals(const ExitSignals&) = delete;
    ExitSignals& operator=(const ExitSignals&) = delete;

    // False when the pipe could not be made; the signals then keep their usual effect.
    bool Catching() const { return notifier_ != nullptr; }

    static constexpr int kSignals[] = {SIGINT, SIGHUP, SIGTERM};

private:
    void Read();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    std::function<void(int)> received_;
    bool told_ = false;
};

} // namespace orrindale
