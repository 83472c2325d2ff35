#include "panel/rollprint.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

#include "common/choosers.h"
#include "panel/printermodel.h"

namespace orrindale {

RollPageLayout RollLayoutFor(int dotsPerInch, int pageWidth, int pageHeight) {
    RollPageLayout l;
    l.Margin = dotsPerInch;
    l.ColumnWidth = (pageWidth - 2 * dotsPerInch) / 3;
    l.LineWidth = static_cast<int>(1.5 * dotsPerInch);
    // Flatter than the full-size picture, as the lines are on the panel's paper.
    l.LineHeight = l.LineWidth * 8 / 110;
    l.LinePitch = static_cast<int>(1.5 * l.LineHeight);
    l.Bottom = pageHeight - dotsPerInch;
    return l;
}

namespace {
QString Failure(PrintJob& job, QPainter& painter, const char* what) {
    job.Abort();
    if (painter.isActive()) painter.end();
    return QStringLiteral("ERROR: ") + QString::fromLatin1(what);
}
} // namespace

QString PrintRoll(const QStringList& roll, PrintJob& job) {
    QPagedPaintDevice& printer = job.Device();
    printer.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer)) return Failure(job, painter, "The printer did not start.");
    const RollPageLayout l =
        RollLayoutFor(printer.logicalDpiX(), printer.width(), printer.height());
    QImage bitmap = NewPrintLineBitmap();
    int column = 0, x = l.Margin, y = l.Margin;
    bool pageFull = false;
    for (const QString& line : roll) {
        // A new page only when a line is left to go on it, so that a roll filling its last
        // column exactly does not end with a blank sheet.
        if (pageFull) {
            if (!printer.newPage()) return Failure(job, painter, "The printer refused a page.");
            pageFull = false;
        }
        // A blank line leaves the paper as it is; scaling it at printer resolution is wasted.
        if (std::any_of(line.begin(), line.end(), [](QChar c) { return PrinterGlyph(c) >= 0; }))
            painter.drawImage(x, y,
                              ScaledPrintLine(bitmap, line, QSize(l.LineWidth, l.LineHeight)));
        y += l.LinePitch;
        if (y > l.Bottom) {
            if (++column > 2) {
                column = 0;
                pageFull = true;
            }
            x = column * l.ColumnWidth + l.Margin;
            y = l.Margin;
        }
    }
    if (!painter.end() || job.Failed())
        return QStringLiteral("ERROR: The document could not be finished.");
    return {};
}

} // namespace orrindale
