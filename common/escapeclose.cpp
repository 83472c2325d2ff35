#include "common/escapeclose.h"

#include <QDialog>
#include <QKeyEvent>
#include <QWidget>
#include <utility>

namespace orrindale {

EscapeCloser* EscapeCloser::Install(QWidget* window, std::function<void()> close) {
    if (!close) {
        if (auto* dialog = qobject_cast<QDialog*>(window))
            close = [dialog] { dialog->reject(); };
        else
            close = [window] { window->close(); };
    }
    auto* closer = new EscapeCloser(window, std::move(close));
    window->installEventFilter(closer);
    return closer;
}

EscapeCloser::EscapeCloser(QWidget* window, std::function<void()> close)
    : QObject(window), close_(std::move(close)) {}

bool EscapeCloser::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape) break;
        const bool press = event->type() == QEvent::KeyPress;
        if (!press) lastRelease_ = key->timestamp();
        if (key->isAutoRepeat()) return true;
        if (press) {
            // A held key repeats as a release and a press of one time stamp. The toolkit marks
            // such pairs as repeats, but not always: a pair split across two reads of the
            // display connection comes through unmarked. Holding Escape after its press closed
            // a box must not close the window behind the box.
            if (key->timestamp() == 0 || key->timestamp() != lastRelease_) pressed_ = true;
        } else if (std::exchange(pressed_, false)) {
            close_();
        }
        return true;
    }
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        // A press seen before another window took the keyboard does not pair with a later
        // release.
        pressed_ = false;
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orrindale
