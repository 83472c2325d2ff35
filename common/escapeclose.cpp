#include "common/escapeclose.h"

#include <QAbstractItemView>
#include <QCoreApplication>
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
    // The keys go to the widget with the focus, and a text field takes Escape as its own: only
    // a filter on the whole program sees them before the field does.
    QCoreApplication::instance()->installEventFilter(closer);
    return closer;
}

EscapeCloser::EscapeCloser(QWidget* window, std::function<void()> close)
    : QObject(window), window_(window), close_(std::move(close)) {}

bool EscapeCloser::InWindow(QObject* watched) const {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window_) return false;
    // A cell being edited in a list or table takes Escape to cancel the edit.
    for (QWidget* above = widget->parentWidget(); above && above != window_;
         above = above->parentWidget())
        if (qobject_cast<QAbstractItemView*>(above)) return false;
    return true;
}

bool EscapeCloser::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || !InWindow(watched)) break;
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
        if (watched != window_) break;
        // A press seen before another window took the keyboard does not pair with a later
        // release.
        pressed_ = false;
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orrindale
