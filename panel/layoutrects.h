// The panel layout's rectangles as the toolkit's, for the windows that place and hit-test them.
#pragma once

#include <QRect>

#include "panel/layout.h"

namespace orrindale::layout {

inline QRect ToQRect(const Rect& r) {
    return QRect(r.Left, r.Top, r.Width, r.Height);
}
// A box holds both its corners.
inline QRect ToQRect(const Box& b) {
    return QRect(QPoint(b.X1, b.Y1), QPoint(b.X2, b.Y2));
}

} // namespace orrindale::layout
