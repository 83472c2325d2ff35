// Where windows and dialogs open: a peripheral window beside the calculator, a dialog centred on
// the window that asked for it, a modal window centred on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace orrindale {

// Where a peripheral window first opens, level with the calculator's top as far as the screen
// allows: right of the calculator when it fits on the screen, else left of it, else against the
// screen's edge on the side with more room. Centred on the screen without a calculator frame,
// or when the screen is narrower than the window.
QPoint PlaceBeside(const QRect& calculator, const QSize& size, const QRect& screen);

// Moves a dialog about to show so that it stands centred on the window of its parent, the
// window that asked for it; nothing when that window is not shown.
void CentreOnAsker(QWidget& dialog);

// Moves a window so that it stands centred on its screen's free area.
void CentreOnScreen(QWidget& window);

} // namespace orrindale
