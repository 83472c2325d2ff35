// Printing listings to PDF files, read back with pdftotext: the header on every page, and every
// line in its column and page, in order.
#include <QProcess>
#include <QRegularExpression>

#include "viewer/view.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {

// The text of a PDF, laid out as printed; pages are separated by form feeds.
QString PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct PrintedListing {
    QStringList headers;
    QStringList lines; // read down the first column, then the second, the third, page by page
};

PrintedListing ReadPrinted(const QString& text) {
    PrintedListing printed;
    for (const QString& page : text.split('\f', Qt::SkipEmptyParts)) {
        QStringList rows = page.split('\n', Qt::SkipEmptyParts);
        if (rows.isEmpty()) continue;
        printed.headers << rows.takeFirst().trimmed();
        QStringList columns[3];
        for (const QString& row : rows) {
            // Columns stand far apart; within a listing line words are one space apart.
            const QStringList cells =
                row.trimmed().split(QRegularExpression("\\s{2,}"), Qt::SkipEmptyParts);
            for (int c = 0; c < cells.size() && c < 3; ++c)
                columns[c] << cells[c];
        }
        for (const QStringList& column : columns)
            printed.lines += column;
    }
    return printed;
}

QStringList Expected(const TviewFM& view, bool untilEnd) {
    QStringList lines;
    for (const std::string& line : view.Table().Lines(untilEnd))
        lines << QString::fromStdString(line).trimmed();
    return lines;
}

} // namespace

TEST(ViewerPrinting, BothWaysPutEveryLineInItsPlace) {
    Window win;
    Services services;
    services.ProgramFolder = win.File("");
    services.Messages = &win.messages;
    services.Printers = &win.printers;
    services.Files = &win.files;
    ViewerMemory memory;
    memory.On = true;
    memory.Read = [] {
        std::vector<TKeyCode> codes(listing::kSteps);
        for (size_t n = 0; n < codes.size(); ++n)
            codes[n] = n == 40 ? 046 : n % 2 ? 001 + n % 7 : 033; // END at step 40
        return codes;
    };
    TviewFM view(services, memory);
    view.show();
    win.files.Script(win.File("digits.and.more.txt"));
    ASSERT_TRUE(view.SaveTextClick());

    const struct {
        bool untilEnd;
        int lines;
    } cases[] = {{false, 392}, {true, 41}};
    for (const auto& c : cases) {
        const QString pdf = win.File(c.untilEnd ? "end.pdf" : "all.pdf");
        win.printers.Script(pdf);
        if (c.untilEnd)
            view.PrintUntilEndClick();
        else
            view.PrintAllClick();
        const PrintedListing printed = ReadPrinted(PdfText(pdf));
        SCOPED_TRACE(c.lines);
        ASSERT_FALSE(printed.headers.isEmpty());
        EXPECT_GT(printed.headers.size(), 1); // the test's short pages need several
        for (const QString& header : printed.headers)
            EXPECT_EQ(header, "Program File: digits");
        EXPECT_EQ(printed.lines.size(), c.lines);
        EXPECT_EQ(printed.lines, Expected(view, c.untilEnd));
    }

    // A cancelled print dialog prints nothing.
    win.printers.Script(win.File("none.pdf"), false);
    view.PrintAllClick();
    EXPECT_FALSE(QFile::exists(win.File("none.pdf")));
}
