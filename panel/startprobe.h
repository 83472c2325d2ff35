// Start-up helpers. AtFirstUse defers work until the window is used.
// FirstPaintProbe is the start-up measurement for bench/startup.sh. With ORRINDALE_FIRST_PAINT=<ms>
// in the environment the watched window prints "first-paint <ns since the epoch>" to standard error
// once its first paint is done, and the program quits <ms> later (so that the work queued behind
// the first paint counts towards the peak memory too). Without the variable nothing is watched.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>

namespace orrindale {

// Runs a task at the first sign that the window is being used: the pointer moving over it, a
// button or a key pressed. Work only use needs (the audio output) waits for it; a window that
// appears under a resting pointer does not count.
class AtFirstUse final : public QObject {
public:
    static void Run(QObject* window, std::function<void()> task) {
        window->installEventFilter(new AtFirstUse(window, std::move(task)));
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
            if (task_) task_(); // before the event itself, which may want the work done
            task_ = nullptr;
            break;
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    AtFirstUse(QObject* parent, std::function<void()> task)
        : QObject(parent), task_(std::move(task)) {}
    std::function<void()> task_;
};

class FirstPaintProbe final : public QObject {
public:
    // Watches `window` when the variable is set; the probe is a child of the window.
    static void Watch(QObject* window) {
        bool ok = false;
        const int linger = qEnvironmentVariableIntValue("ORRINDALE_FIRST_PAINT", &ok);
        if (!ok) return;
        window->installEventFilter(new FirstPaintProbe(window, linger));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Queued: runs once this paint has been drawn and flushed to the screen.
            QTimer::singleShot(0, this, [this] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::fprintf(
                    stderr, "first-paint %lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                QTimer::singleShot(linger_, qApp, [] { QCoreApplication::exit(0); });
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    FirstPaintProbe(QObject* parent, int linger) : QObject(parent), linger_(linger) {}
    bool seen_ = false;
    int linger_;
};

} // namespace orrindale
