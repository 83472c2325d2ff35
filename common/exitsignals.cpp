#include "common/exitsignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace orrindale {

namespace {

// The write end of the living ExitSignals' pipe: a handler can reach nothing but a global, and
// may do nothing but write to it.
volatile std::sig_atomic_t writeEnd = -1;

extern "C" void WriteSignal(int signal) {
    const int saved = errno; // the interrupted code may be about to read errno
    const unsigned char number = static_cast<unsigned char>(signal);
    if (writeEnd >= 0) (void)!::write(writeEnd, &number, 1);
    errno = saved;
}

void Handle(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : ExitSignals::kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

ExitSignals::ExitSignals(std::function<void(int)> received, QObject* parent)
    : QObject(parent), received_(std::move(received)) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ExitSignals::Read);
    writeEnd = pipe_[1];
    Handle(WriteSignal);
}

ExitSignals::~ExitSignals() {
    if (!notifier_) return;
    Handle(SIG_DFL);
    writeEnd = -1;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void ExitSignals::Read() {
    unsigned char numbers[64];
    ssize_t n;
    while ((n = ::read(pipe_[0], numbers, sizeof numbers)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            if (!told_) {
                told_ = true;
                received_(numbers[i]);
            }
}

} // namespace orrindale
