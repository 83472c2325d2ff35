// Printing a program listing on a system printer: three columns of listing lines per page under
// the header "Program File: name", one inch of margin at the left and the top.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace orrindale {

class PrintJob;

// Where the lines lie on a page, in the printer's pixels.
struct ListingPageLayout {
    int Margin = 0;      // one inch
    int ColumnWidth = 0; // a third of the width inside the left and right margins
    int LineHeight = 0;  // the text height of "X"
    int FirstLineY = 0;  // the first line of a column: a blank line below the header
    int Bottom = 0;      // past this a column is full
};
ListingPageLayout ListingLayoutFor(int dotsPerInch, int pageWidth, int pageHeight, int lineHeight);

// The screen font as the printer takes it: the same face at the same size in points, so the
// listing looks on paper as it does in the table.
QFont PrinterFont(const QFont& screenFont);

// Prints the lines in portrait; a new page repeats the header. Returns an empty text on
// success, otherwise what went wrong, and the job is then aborted.
QString PrintListing(const QStringList& lines, const QString& header, const QFont& font,
                     PrintJob& job);

} // namespace orrindale
