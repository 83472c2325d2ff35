// For the picture generators: a window picture drawn at 2x whose window takes its outline (every
// pixel not of the sky colour) from the 1x picture.
#pragma once

#include <QImage>

namespace orrindale {

// The 2x edge is sharper than the 1x one, so some of its pixels just inside the outline are
// still sky, and would show as a pale fringe around the window. Each takes the colour of the 1x
// pixel it lies in, as the 1x picture shows there.
inline QImage FillSkyInsideOutline(const QImage& twice, const QImage& once, QRgb sky) {
    QImage sharp = twice.convertToFormat(QImage::Format_RGB32);
    const QImage outline = once.convertToFormat(QImage::Format_RGB32);
    sky |= 0xFF000000u;
    for (int y = 0; y < sharp.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(sharp.scanLine(y));
        const QRgb* under = reinterpret_cast<const QRgb*>(outline.constScanLine(y / 2));
        for (int x = 0; x < sharp.width(); ++x)
            if (row[x] == sky && under[x / 2] != sky) row[x] = under[x / 2];
    }
    return sharp;
}

} // namespace orrindale
