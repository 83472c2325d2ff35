// The printer on the calculator window: its buttons under the mouse, PRINT/SPACE from the
// keyboard and from a running program, listings, the roll across a restart, the paper viewer
// and printing the roll to a PDF file.
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "panel/pictures.h"
#include "panel/rollprint.h"
#include "tests/window_fixture.h"

namespace orrindale::testing {
namespace {

using layout::PrintButton;

QPoint Centre(const layout::Box& b) {
    return QPoint((b.X1 + b.X2) / 2, (b.Y1 + b.Y2) / 2);
}
QPoint ButtonAt(PrintButton b) {
    return Centre(layout::kPrintButtons[static_cast<size_t>(b)].Area);
}

// A started, switched-on calculator with the given printer buttons latched.
TmainFM& Ready(Window& win, std::initializer_list<PrintButton> latched) {
    TmainFM& w = win.Start();
    win.PowerOn();
    for (PrintButton b : latched)
        win.Click(ButtonAt(b));
    return w;
}

void Set(TCalcRegister& r, long double value) {
    ASSERT_TRUE(ExtToReg(r, value));
}
long double Value(const TCalcRegister& r) {
    long double v = 0;
    RegToExt(r, v);
    return v;
}

// Runs the feed until it stops.
void WaitForFeed(Window& win, TmainFM&) {
    win.FireUntilStopped("feedTimer");
}

TEST(PrintSpace, PrintsTheLatchedRegistersThenABlankLineOnTheNextPress) {
    struct Case {
        std::initializer_list<PrintButton> latched;
        std::vector<int> registers; // 0 X, 1 Y, 2 Z, -1 blank line
    };
    const Case cases[] = {
        {{PrintButton::On, PrintButton::X, PrintButton::Z}, {0, 2}},
        {{PrintButton::On}, {-1}},
        {{PrintButton::On, PrintButton::Y}, {1}},
    };
    for (const Case& c : cases) {
        Window win;
        TmainFM& w = Ready(win, c.latched);
        Calculator& calc = w.Engine();
        Set(calc.XReg, 12.5);
        Set(calc.YReg, -3);
        Set(calc.ZReg, 400);
        QStringList expected;
        for (int r : c.registers) {
            const TCalcRegister* regs[] = {&calc.XReg, &calc.YReg, &calc.ZReg};
            expected << (r < 0
                             ? QString(kBlankPrintLine)
                             : QString::fromStdString(calc.FormatRegister(*regs[r], true, false)));
        }
        win.Type(Qt::Key_T);
        WaitForFeed(win, w);
        EXPECT_EQ(w.PaperRoll(), expected);
        win.Type(Qt::Key_T); // at once again: the paper only advances
        WaitForFeed(win, w);
        expected << kBlankPrintLine;
        EXPECT_EQ(w.PaperRoll(), expected);
    }
}

TEST(PrintSpace, HeldDownFeedsBlankLinesFourTimesASecond) {
    Window win;
    TmainFM& w = Ready(win, {PrintButton::On, PrintButton::X});
    const QString x =
        QString::fromStdString(w.Engine().FormatRegister(w.Engine().XReg, true, false));
    win.KeyDown(Qt::Key_T);
    for (int tick = 0; tick < 8; ++tick) // two seconds
        ASSERT_TRUE(win.Fire("feedTimer"));
    const qsizetype whileHeld = w.PaperRoll().size();
    win.KeyUp(Qt::Key_T);
    WaitForFeed(win, w);
    // Eight ticks in two seconds, fewer if the machine is slow; never more.
    EXPECT_GE(whileHeld, 6);
    EXPECT_LE(whileHeld, 8);
    EXPECT_LE(w.PaperRoll().size(), whileHeld + 1); // the blank queued at the last tick
    EXPECT_FALSE(w.PaperFeeding());
    ASSERT_FALSE(w.PaperRoll().isEmpty());
    EXPECT_EQ(w.PaperRoll().first(), x);
    EXPECT_EQ(w.PaperRoll().count(kBlankPrintLine), w.PaperRoll().size() - 1);
}

TEST(PrintButtons, LatchOnAClickAndReleaseOnAClickOfTheirPicture) {
    for (PrintButton b : {PrintButton::On, PrintButton::X, PrintButton::Y, PrintButton::Z}) {
        Window win;
        TmainFM& w = Ready(win, {});
        const QString picture = pictures::PrintButtonDown(b);
        auto latched = [&] {
            return b == PrintButton::On ? w.PrinterOn() : w.PrintSwitch(static_cast<int>(b) - 1);
        };
        win.Click(ButtonAt(b));
        EXPECT_TRUE(latched());
        EXPECT_TRUE(w.Scene().IsShown(picture));
        // The edge of the picture, outside the button's own area, counts as the picture.
        const layout::Rect& r = layout::kPrintButtons[static_cast<size_t>(b)].Pressed;
        win.Click(QPoint(r.Left + r.Width / 2, r.Top + 1));
        EXPECT_FALSE(latched());
        EXPECT_FALSE(w.Scene().IsShown(picture));
        EXPECT_EQ(win.sounds.played.filter(QRegularExpression("^s1")),
                  QStringList({"s1d", "s1d", "s1u"}));
    }
}

TEST(PrintButtons, TheListButtonShowsOnlyWhileHeld) {
    Window win;
    TmainFM& w = Ready(win, {});
    const QString picture = pictures::PrintButtonDown(PrintButton::L);
    win.Mouse(QEvent::MouseButtonPress, ButtonAt(PrintButton::L));
    EXPECT_TRUE(w.Scene().IsShown(picture));
    win.Mouse(QEvent::MouseButtonRelease, ButtonAt(PrintButton::L));
    EXPECT_FALSE(w.Scene().IsShown(picture));
    EXPECT_EQ(win.sounds.played.filter(QRegularExpression("^s1")), QStringList({"s1d", "s1u"}));
    EXPECT_EQ(w.Engine().ListingMode, 0); // the printer is off: no listing
}

TEST(PrintButtons, ThePrinterCountsAsOnOnlyWithThePower) {
    Window win;
    TmainFM& w = win.Start();
    win.Click(ButtonAt(PrintButton::On));
    EXPECT_FALSE(w.PrinterOn());
    win.PowerOn();
    EXPECT_TRUE(w.PrinterOn());
}

TEST(FeedButton, FeedsBlankLinesWhileHeldAndStopsOnRelease) {
    for (bool printerOn : {true, false}) {
        Window win;
        TmainFM& w = Ready(win, {});
        if (printerOn) win.Click(ButtonAt(PrintButton::On));
        win.sounds.played.clear();
        win.Mouse(QEvent::MouseButtonPress, Centre(layout::kFeedArea));
        EXPECT_TRUE(w.Scene().IsShown(pictures::kFeedDown));
        for (int tick = 0; tick < 4; ++tick)
            win.Fire("feedTimer");
        win.Mouse(QEvent::MouseButtonRelease, Centre(layout::kFeedArea));
        EXPECT_FALSE(w.Scene().IsShown(pictures::kFeedDown));
        EXPECT_FALSE(w.PaperFeeding());
        EXPECT_EQ(win.sounds.played, QStringList({"s1d", "s1u"}));
        if (printerOn) {
            EXPECT_GE(w.PaperRoll().size(), 3);
            EXPECT_LE(w.PaperRoll().size(), 4);
            EXPECT_EQ(w.PaperRoll().count(kBlankPrintLine), w.PaperRoll().size());
        } else {
            EXPECT_TRUE(w.PaperRoll().isEmpty());
        }
    }
}

// ---- Listings
// -------------------------------------------------------------------------------------

void Store(Calculator& calc, const std::vector<int>& codes) {
    int row = 0, step = 0;
    for (int code : codes) {
        calc.RegisterFile[static_cast<size_t>(row)][step] = code;
        AdvancePc(row, step);
    }
    calc.PcRow = calc.PcStep = 0;
}

TEST(Listing, FromAnEndStepWithNoRegisterLatchedPrintsNothing) {
    Window win;
    TmainFM& w = Ready(win, {PrintButton::On});
    Store(w.Engine(), {046});
    win.Click(ButtonAt(PrintButton::L));
    WaitForFeed(win, w);
    EXPECT_TRUE(w.PaperRoll().isEmpty());
    EXPECT_EQ(w.Engine().PcStep, 1);
    EXPECT_EQ(w.Engine().ListingMode, 0);
}

TEST(Listing, StopEndsItAndRestoresTheRegistersInRunMode) {
    Window win;
    TmainFM& w = Ready(win, {PrintButton::On});
    Calculator& calc = w.Engine();
    Store(calc, std::vector<int>(40, 001));
    Set(calc.ZReg, 7);
    Set(calc.XReg, 5);
    win.Click(ButtonAt(PrintButton::L));
    win.Fire("feedTimer");
    win.Fire("feedTimer");
    EXPECT_EQ(calc.ListingMode, 2);
    win.Type(Qt::Key_3); // keys wait while the listing runs
    EXPECT_EQ(Value(calc.XReg), 5);
    win.Type(Qt::Key_O); // STOP
    EXPECT_EQ(calc.ListingMode, 0);
    EXPECT_FALSE(w.PaperFeeding());
    EXPECT_EQ(Value(calc.ZReg), 7);
    EXPECT_EQ(Value(calc.XReg), 0);
    const qsizetype listed = w.PaperRoll().size();
    EXPECT_GE(listed, 1);
    EXPECT_EQ(calc.PcStep, listed);
    EXPECT_EQ(w.PaperRoll().first(), "S0P0MMMMMMMMM01");
}

// ---- Running programs
// -------------------------------------------------------------------------------

TEST(RunningProgram, WaitsForEachLineToFeedBeforeItsNextStep) {
    Window win;
    TmainFM& w = Ready(win, {PrintButton::On, PrintButton::Y});
    Calculator& calc = w.Engine();
    Store(calc, {001, 033, 045, 044, 000, 000}); // 1 + PRINT GO TO 0 0
    const QStringList& roll = w.PaperRoll();
    // A feed tick every eighth sleep of the run loop, as 250 ms ticks come between 30 ms sleeps;
    // STOP once four lines are out.
    int sleeps = 0;
    win.WhileAsleep = [&] {
        if (++sleeps % 8 == 0) win.Fire("feedTimer");
        if (roll.size() == 4) calc.ExecuteKey(pos::Stop);
    };
    calc.ExecuteKey(pos::Cont);
    win.Fire("ChgModeTimer");
    ASSERT_FALSE(calc.Running);
    ASSERT_EQ(roll.size(), 4);
    // Y counts the passes: the lines read 1, 2, 3, ... in the same layout.
    for (int i = 0; i < roll.size(); ++i)
        EXPECT_EQ(roll[i], QString(roll[0]).replace('1', QString::number(i + 1))) << i;
    // At most the line of the last pass is left waiting: the program never ran ahead.
    // (STOP may also land between the addition and the PRINT/SPACE that prints its sum.)
    EXPECT_LE(calc.PrintQueue.size(), 1u);
    const long double printed = roll.size() + static_cast<qsizetype>(calc.PrintQueue.size());
    EXPECT_GE(Value(calc.YReg), printed);
    EXPECT_LE(Value(calc.YReg), printed + 1);
}

TEST(RunningProgram, PrintSpaceWithThePrinterOffStopsIt) {
    Window win;
    TmainFM& w = Ready(win, {PrintButton::Y}); // ON not latched
    Calculator& calc = w.Engine();
    Store(calc, {001, 033, 045, 044, 000, 000});
    int sleeps = 0;
    win.WhileAsleep = [&] {
        if (++sleeps == 100) calc.ExecuteKey(pos::Stop); // had it not stopped by itself
    };
    calc.ExecuteKey(pos::Cont);
    win.Fire("ChgModeTimer");
    EXPECT_FALSE(calc.Running);
    EXPECT_TRUE(w.PaperRoll().isEmpty());
    EXPECT_EQ(Value(calc.YReg), 1); // stopped on the first PRINT/SPACE, not by STOP
}

// ---- The roll across a restart
// ----------------------------------------------------------------------

QStringList NumberedLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QString("SSSS%1SSSSSSSSS").arg(i, 2, 10, QChar('0'));
    return lines;
}

QImage PaperLine(const QString& line) {
    QImage bitmap = NewPrintLineBitmap();
    return ScaledPrintLine(bitmap, line,
                           QSize(layout::kPrintLine.Width, layout::kPrintLine.Height));
}

TEST(PaperRoll, IsSavedAtCloseAndItsLastFiveLinesShowAfterARestart) {
    Window win;
    {
        TmainFM& w = Ready(win, {PrintButton::On});
        w.PaperRoll() = NumberedLines(11);
        w.Engine().PrintQueue = {"SSSS12SSSSSSSSS"};
        w.StartPaperFeed();
        WaitForFeed(win, w);
        ASSERT_TRUE(win.Close());
    }
    TmainFM& w = win.Start();
    ASSERT_EQ(w.PaperRoll(), NumberedLines(12));
    const QImage& paper = w.Printer().Model().Paper();
    const layout::Rect at = layout::kPrintLine;
    for (int line = 8; line <= 12; ++line)
        EXPECT_EQ(paper.copy(at.Left, at.Top - 13 * (12 - line), at.Width, at.Height),
                  PaperLine(w.PaperRoll()[line - 1]))
            << "line " << line;
}

TEST(PaperRoll, ARollFileLongerThanTheRollIsDamagedAndTheRollStartsEmpty) {
    for (const int lines : {printer::kRollLimit, printer::kRollLimit + 1}) {
        Window win;
        QStringList roll;
        while (roll.size() < lines)
            roll += NumberedLines(std::min(99, lines - static_cast<int>(roll.size())));
        {
            TmainFM& w = win.Start();
            w.PaperRoll() = roll;
            ASSERT_TRUE(win.Close());
        }
        TmainFM& w = win.Start();
        EXPECT_EQ(w.PaperRoll(), lines <= printer::kRollLimit ? roll : QStringList()) << lines;
        // The damaged roll is kept aside, and the user told where.
        EXPECT_EQ(win.messages.LastText().contains("pf9B.dat.damaged"),
                  lines > printer::kRollLimit);
    }
}

TEST(PaperRoll, DiscardTearsItOffAndEmptiesTheViewer) {
    Window win;
    TmainFM& w = win.Start();
    w.PaperRoll() = NumberedLines(30);
    w.Printer().View();
    win.sounds.played.clear();
    w.Printer().Discard();
    EXPECT_EQ(win.sounds.played, QStringList({"rip"}));
    EXPECT_TRUE(w.PaperRoll().isEmpty());
    EXPECT_EQ(w.Printer().Model().PaperTop(), layout::kPaperTopAtReset);
    EXPECT_EQ(w.Printer().Model().Paper(), pictures::FormPicture(pictures::kPaper));
}

// ---- The paper viewer
// ---------------------------------------------------------------------------------

TplistFM& Viewer(Window& win, TmainFM& w) {
    w.Printer().View();
    return win.PaperWindow();
}

QImage ViewerLine(const QString& line) {
    QImage bitmap = NewPrintLineBitmap();
    return ScaledPrintLine(bitmap, line, QSize(TplistFM::kLineWidth, TplistFM::kLineHeight),
                           printer::kViewerDotRim);
}

QImage ViewerBand(const TplistFM& v, int slot) {
    return v.Picture().copy(TplistFM::kLineLeft, TplistFM::kFirstLineTop + 18 * slot,
                            TplistFM::kLineWidth, TplistFM::kLineHeight);
}

TEST(PaperViewer, ShowsTheLastTwentyLinesAndScrollsBack) {
    Window win;
    TmainFM& w = win.Start();
    w.PaperRoll() = NumberedLines(25);
    TplistFM& v = Viewer(win, w);
    ASSERT_TRUE(v.isVisible());
    EXPECT_EQ(v.size(), QSize(187, 360));
    EXPECT_EQ(v.windowTitle(), "Printer Paper");
    EXPECT_EQ(v.ScrollBar().maximum(), 5);
    EXPECT_EQ(v.ScrollBar().value(), 5);
    EXPECT_EQ(v.ScrollBar().pageStep(), 20);
    EXPECT_EQ(ViewerBand(v, 0), ViewerLine(w.PaperRoll()[5]));   // line 6 on top
    EXPECT_EQ(ViewerBand(v, 19), ViewerLine(w.PaperRoll()[24])); // line 25 at the bottom
    // The wheel over the paper scrolls back too.
    QWheelEvent wheel(QPointF(60, 100), v.mapToGlobal(QPointF(60, 100)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&v, &wheel);
    EXPECT_LT(v.ScrollBar().value(), 5);
    v.ScrollBar().setValue(0);
    EXPECT_EQ(ViewerBand(v, 0), ViewerLine(w.PaperRoll()[0]));
    // A line printed while the viewer shows jumps it to the end again.
    win.PowerOn();
    win.Click(ButtonAt(PrintButton::On));
    win.Type(Qt::Key_T);
    WaitForFeed(win, w);
    EXPECT_EQ(v.ScrollBar().maximum(), 6);
    EXPECT_EQ(ViewerBand(v, 19), ViewerLine(kBlankPrintLine));
}

TEST(PaperViewer, RollTextShowsEachPrintedLineInTheDisplaysCharacters) {
    struct Case {
        const char* line;
        const char* text;
    };
    const Case cases[] = {
        {"SSSSSSS12P5SSSS", "       12.5"},      // blanks at the end dropped
        {"MSSSS1P23SSSSM05", "-    1.23    -0"}, // a sixteenth cell is off the paper
        {"SSSSSSSSSSSSSSS", ""},                 // a fed blank line
        {"S3PAMMMMMMMMM27", " 3.a---------27"},  // a listing line
        {"SBCDEF?x", " bcdEF"},                  // what has no glyph prints as a blank
    };
    QStringList roll;
    QString expected;
    for (const Case& c : cases) {
        roll << c.line;
        expected += QString(c.text) + '\n';
    }
    EXPECT_EQ(RollText(roll), expected);
}

TEST(PaperViewer, RollPictureIsEveryLineAsTheViewerPaintsIt) {
    const QStringList roll = NumberedLines(25);
    const QImage picture = RollPicture(roll, 1);
    ASSERT_EQ(picture.size(), QSize(166, 2 + 25 * 18));
    for (int slot : {0, 12, 24})
        EXPECT_EQ(picture.copy(TplistFM::kLineLeft, TplistFM::kFirstLineTop + 18 * slot,
                               TplistFM::kLineWidth, TplistFM::kLineHeight),
                  ViewerLine(roll[slot]))
            << slot;
    EXPECT_EQ(RollPicture(roll, 2).size(), QSize(332, 2 * (2 + 25 * 18)));
    EXPECT_TRUE(RollPicture({}, 1).isNull());
}

TEST(PaperViewer, SavesTheRollAsPictureAndTextAndReportsAFailure) {
    Window win;
    TmainFM& w = win.Start();
    w.PaperRoll() = NumberedLines(3);
    TplistFM& v = Viewer(win, w);
    win.files.Script(win.File("roll.txt"));
    v.SaveAsText();
    QFile text(win.File("roll.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), "    01\n    02\n    03\n");
    win.files.Script(win.File("roll.png"));
    v.SaveAsPicture();
    EXPECT_EQ(QImage(win.File("roll.png"), "PNG"), RollPicture(w.PaperRoll(), 1));
    EXPECT_EQ(win.files.asked.back().Filter, "PNG Picture (*.png)");
    win.files.Script(win.File("no folder/roll.txt"));
    v.SaveAsText();
    EXPECT_EQ(win.messages.LastText(), "ERROR: Failed to save file");
    EXPECT_FALSE(QFile::exists(win.File("no folder/roll.txt")));
}

TEST(PaperViewer, GoesBesideTheMainWindow) {
    struct Case {
        MainBounds main;
        int screenWidth;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 800, 50}, 1280, {800, 50}},   // room on the right
        {{1000, 1200, 10}, 1280, {813, 10}}, // on the left
        {{300, 1093, 0}, 1280, {113, 0}},    // would end exactly at the screen's edge: left
        {{100, 1200, 20}, 1280, {457, 20}},  // no room either side: centred over it
        {{187, 1200, 20}, 1280, {413, 20}},  // left would be 0: centred too
    };
    for (const Case& c : cases)
        EXPECT_EQ(TplistFM::PlaceBeside(c.main, 187, c.screenWidth), c.expected)
            << c.main.Left << ".." << c.main.Right;
}

// ---- Printing the roll
// ----------------------------------------------------------------------------------

int PdfPages(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(pdf.readAll());
    return static_cast<int>(text.count(QRegularExpression("/Type\\s*/Page(?![a-zA-Z])")));
}

// Lines in one full column, from the page's own measures.
int LinesPerColumn(const QString& file) {
    QPrinter printer(QPrinter::HighResolution);
    ScriptedPrinterChooser::Configure(printer, file);
    const RollPageLayout l =
        RollLayoutFor(printer.logicalDpiX(), printer.width(), printer.height());
    return (l.Bottom - l.Margin) / l.LinePitch + 1;
}

TEST(PrintRoll, PutsThreeColumnsOnAPageAndStartsAnotherOnlyForMoreLines) {
    Window win;
    TmainFM& w = win.Start();
    const QString file = win.File("roll.pdf");
    const int column = LinesPerColumn(file);
    ASSERT_GT(column, 5);
    struct Case {
        int lines, pages;
    };
    for (Case c :
         {Case{1, 1}, Case{3 * column, 1}, Case{3 * column + 1, 2}, Case{6 * column + 1, 3}}) {
        w.PaperRoll() = NumberedLines(c.lines);
        QFile::remove(file);
        win.printers.Script(file);
        w.Printer().PrintRoll();
        EXPECT_EQ(PdfPages(file), c.pages) << c.lines << " lines";
    }
    EXPECT_TRUE(win.messages.Messages().empty());
}

TEST(PrintRoll, ACancelledDialogPrintsNothingAndAFailureIsReported) {
    Window win;
    TmainFM& w = win.Start();
    w.PaperRoll() = NumberedLines(4);
    win.printers.Script(win.File("roll.pdf"), false);
    w.Printer().PrintRoll();
    EXPECT_FALSE(win.Exists("roll.pdf"));
    EXPECT_TRUE(win.messages.Messages().empty());

    win.printers.Script(win.File("no such folder/roll.pdf"));
    w.Printer().PrintRoll();
    ASSERT_EQ(win.messages.Messages().size(), 1u);
    EXPECT_EQ(win.messages.Messages()[0].kind, MessageKind::Error);
    EXPECT_TRUE(win.messages.LastText().startsWith("ERROR: "));
}

} // namespace
} // namespace orrindale::testing
