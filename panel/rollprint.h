// Printing the paper roll on a system printer: three columns of lines per page, one inch of
// margin all round, each line an inch and a half wide.
#pragma once

#include <QString>
#include <QStringList>

namespace orrindale {

class PrintJob;

// How the lines lie on a page, in the printer's pixels.
struct RollPageLayout {
    int Margin = 0;      // one inch
    int ColumnWidth = 0; // a third of the width inside the margins
    int LineWidth = 0;   // an inch and a half
    int LineHeight = 0;  // the line picture's proportions
    int LinePitch = 0;   // line height and a half
    int Bottom = 0;      // a line may start at most here
};
RollPageLayout RollLayoutFor(int dotsPerInch, int pageWidth, int pageHeight);

// Prints the roll, oldest line first. Returns an empty text on success, otherwise what went
// wrong; the document is then aborted.
QString PrintRoll(const QStringList& roll, PrintJob& job);

} // namespace orrindale
