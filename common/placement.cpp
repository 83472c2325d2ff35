#include "common/placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace orrindale {

QPoint PlaceBeside(const QRect& calculator, const QSize& size, const QRect& screen) {
    QRect centred(QPoint(), size);
    centred.moveCenter(screen.center());
    if (calculator.isEmpty() || size.width() > screen.width()) return centred.topLeft();
    const int top = std::clamp(calculator.top(), screen.top(),
                               std::max(screen.top(), screen.bottom() + 1 - size.height()));
    const int roomRight = screen.right() - calculator.right();
    const int roomLeft = calculator.left() - screen.left();
    if (roomRight >= size.width()) return {calculator.right() + 1, top};
    if (roomLeft >= size.width()) return {calculator.left() - size.width(), top};
    // Against the screen's edge on the roomier side: over as little of the calculator as can be,
    // where centred it could hide the calculator whole.
    if (roomRight >= roomLeft) return {screen.right() + 1 - size.width(), top};
    return {screen.left(), top};
}

void CentreOnAsker(QWidget& dialog) {
    const QWidget* parent = dialog.parentWidget();
    const QWidget* asker = parent ? parent->window() : nullptr;
    if (!asker || !asker->isVisible()) return;
    dialog.adjustSize();
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(asker->frameGeometry().center());
    dialog.move(frame.topLeft());
}

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace orrindale
