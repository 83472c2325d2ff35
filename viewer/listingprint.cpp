#include "viewer/listingprint.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include "common/choosers.h"

namespace orrindale {

namespace {
// The table's pixel sizes were chosen on a screen of 96 dots per inch.
constexpr double kScreenDotsPerInch = 96.0;

QString Failure(PrintJob& job, QPainter& painter, const char* what) {
    job.Abort();
    if (painter.isActive()) painter.end();
    return QStringLiteral("ERROR: ") + QString::fromLatin1(what);
}
} // namespace

ListingPageLayout ListingLayoutFor(int dotsPerInch, int pageWidth, int pageHeight, int lineHeight) {
    ListingPageLayout l;
    l.Margin = dotsPerInch;
    l.ColumnWidth = (pageWidth - 2 * dotsPerInch) / 3;
    l.LineHeight = lineHeight;
    l.FirstLineY = dotsPerInch + 2 * lineHeight;
    l.Bottom = pageHeight - dotsPerInch;
    return l;
}

QFont PrinterFont(const QFont& screenFont) {
    QFont font = screenFont;
    if (screenFont.pixelSize() > 0)
        font.setPointSizeF(screenFont.pixelSize() * 72.0 / kScreenDotsPerInch);
    return font;
}

QString PrintListing(const QStringList& lines, const QString& header, const QFont& font,
                     PrintJob& job) {
    QPagedPaintDevice& printer = job.Device();
    printer.setPageOrientation(QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer)) return Failure(job, painter, "The printer did not start.");
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const ListingPageLayout l = ListingLayoutFor(printer.logicalDpiX(), printer.width(),
                                                 printer.height(), metrics.height());
    // Positions are the tops of the lines; text is drawn on its baseline.
    const auto draw = [&](int x, int y, const QString& text) {
        painter.drawText(x, y + metrics.ascent(), text);
    };
    draw(l.Margin, l.Margin, header);
    int column = 0, x = l.Margin, y = l.FirstLineY;
    bool pageFull = false;
    for (const QString& line : lines) {
        // A new page only when a line is left for it: no blank sheet after a full last page.
        if (pageFull) {
            if (!printer.newPage()) return Failure(job, painter, "The printer refused a page.");
            draw(l.Margin, l.Margin, header);
            pageFull = false;
        }
        draw(x, y, line);
        y += l.LineHeight;
        if (y > l.Bottom) {
            if (++column > 2) {
                column = 0;
                pageFull = true;
            }
            x = l.Margin + column * l.ColumnWidth;
            y = l.FirstLineY;
        }
    }
    if (!painter.end() || job.Failed())
        return QStringLiteral("ERROR: The document could not be finished.");
    return {};
}

} // namespace orrindale
