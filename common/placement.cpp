#include "common/placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdlib>

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

QPoint PlaceClear(const QPoint& first, const QSize& size, const std::vector<QRegion>& taken,
                  const QRect& screen) {
    QRegion all;
    for (const QRegion& shape : taken)
        all += shape;
    const auto clear = [&all, &size](QPoint at) { return !all.intersects(QRect(at, size)); };
    if (clear(first)) return first;
    const int w = size.width(), h = size.height();
    std::vector<int> xs{first.x(), screen.left(), screen.right() + 1 - w};
    std::vector<int> ys{first.y(), screen.top(), screen.bottom() + 1 - h};
    for (const QRegion& shape : taken) {
        const QRect r = shape.boundingRect();
        xs.insert(xs.end(), {r.left() - w, r.right() + 1, r.left(), r.right() + 1 - w});
        ys.insert(ys.end(), {r.top() - h, r.bottom() + 1, r.top(), r.bottom() + 1 - h});
    }
    QPoint best = first;
    long long least = -1;
    for (int y : ys)
        for (int x : xs) {
            // On the screen; a window larger than the screen keeps its top-left corner on it.
            const QPoint at(std::max(screen.left(), std::min(x, screen.right() + 1 - w)),
                            std::max(screen.top(), std::min(y, screen.bottom() + 1 - h)));
            const long long moved = std::llabs(static_cast<long long>(at.x()) - first.x()) +
                                    std::llabs(static_cast<long long>(at.y()) - first.y());
            if ((least < 0 || moved < least) && clear(at)) {
                least = moved;
                best = at;
            }
        }
    return best;
}

QRegion ShapeOnScreen(const QWidget& window) {
    const QRegion mask = window.mask();
    if (mask.isEmpty()) return window.frameGeometry();
    return mask.translated(window.geometry().topLeft());
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
