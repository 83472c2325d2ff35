// The panel picture ("PM91B.dat") and the window's outline taken from it. Reading the two is
// the largest piece of work before the calculator can show, so the program starts it on a
// second thread as its very first step, at idle priority, while the toolkit connects to the
// display; the main window takes the result when it starts up (or reads the picture itself
// when nothing was started, as in the tests).
#pragma once

#include <QImage>
#include <QRegion>
#include <QString>
#include <future>

namespace orrindale {

struct PanelPicture {
    QImage Picture; // null when the file is missing or damaged
    QRegion Outline;
};

// The window's shape: every pixel of the panel picture that is not sky blue.
QRegion PanelMask(const QImage& panel);

// Reads and decodes the picture and builds its outline. Touches nothing but its own objects, so
// it may run on any thread.
PanelPicture ReadPanelPicture(const QString& path);

// ReadPanelPicture started on a thread of its own, which runs only on an otherwise idle core.
std::future<PanelPicture> PreloadPanelPicture(const QString& path);

} // namespace orrindale
