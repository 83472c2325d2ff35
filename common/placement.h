// Where windows and dialogs open: a peripheral window beside the calculator, a dialog centred on
// the window that asked for it, a modal window centred on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <vector>

class QWidget;

namespace orrindale {

// Where a peripheral window first opens, level with the calculator's top as far as the screen
// allows: right of the calculator when it fits on the screen, else left of it, else against the
// screen's edge on the side with more room. Centred on the screen without a calculator frame,
// or when the screen is narrower than the window.
QPoint PlaceBeside(const QRect& calculator, const QSize& size, const QRect& screen);

// Where a window of `size` opens whose own rule puts it at `first`: there when that covers none
// of `taken` (what the calculator and the other open windows cover on the screen); else at the
// nearest place on `screen` that covers none of them, sought level with and beside their edges
// and the screen's; with no such place, at `first` after all.
QPoint PlaceClear(const QPoint& first, const QSize& size, const std::vector<QRegion>& taken,
                  const QRect& screen);

// What a shown window covers on the screen: its mask where it has one (the calculator's outline,
// the plotter's and the reader's shapes), else its frame.
QRegion ShapeOnScreen(const QWidget& window);

// Moves a dialog about to show so that it stands centred on the window of its parent, the
// window that asked for it; nothing when that window is not shown.
void CentreOnAsker(QWidget& dialog);

// Moves a window so that it stands centred on its screen's free area.
void CentreOnScreen(QWidget& window);

} // namespace orrindale
