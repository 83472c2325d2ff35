// Escape closes a window only when both its press and its release reached that window.
//
// A press of Escape that closes a pop-up menu, a dialog or another window is taken by that
// menu or window; its release then arrives at whichever window is active next. Closing on the
// release alone would close that window too, and closing on the press alone lets the release
// fall through to the window behind. So every window that closes on Escape installs an
// EscapeCloser, which eats both events and closes only on a release whose press it saw, with
// no change of the active window in between. It watches the keys of every widget in the window,
// so Escape closes it wherever the focus is (a text field takes Escape as its own otherwise);
// only a cell being edited in a list or a table keeps Escape, to cancel the edit.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace orrindale {

class EscapeCloser final : public QObject {
public:
    // Watches `window`'s Escape; a whole Escape runs `close`, by default the window's own close
    // (a dialog's reject, so that a modal run returns as cancelled). Owned by the window.
    static EscapeCloser* Install(QWidget* window, std::function<void()> close = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EscapeCloser(QWidget* window, std::function<void()> close);
    // A widget of the watched window, the window itself or one with the focus in it.
    bool InWindow(QObject* watched) const;

    QWidget* window_;
    std::function<void()> close_;
    bool pressed_ = false;    // the press of the Escape now down came to this window
    quint64 lastRelease_ = 0; // the time stamp of the last Escape released here
};

} // namespace orrindale
