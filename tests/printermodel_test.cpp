// The printer without its window: dot characters, the climbing paper, feed ticks, listings,
// the 400-line roll and the start-up picture.
#include <gtest/gtest.h>

#include "engine/keys.h"
#include "engine/null_host.h"
#include "panel/layout.h"
#include "panel/printermodel.h"

namespace orrindale {
namespace {

// ---- Dot characters
// -------------------------------------------------------------------------------

// Reads the 7 rows of character position k back from a rendered line: a dot is there when the
// inside of its rectangle has the fill colour.
std::array<int, 7> ReadGlyph(const QImage& bitmap, int k) {
    std::array<int, 7> rows{};
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 5; ++j)
            if (bitmap.pixel(7 * j + 45 * k - i + 6 + 2, 9 * i + 3) == qRgb(96, 96, 96))
                rows[static_cast<size_t>(i)] |= 16 >> j;
    return rows;
}

TEST(RenderPrintLine, DrawsEachCharacterAtItsPositionWithItsDots) {
    struct Case {
        const char* text;
        int k;
        std::array<int, 7> rows;
    };
    const Case cases[] = {
        {"2", 0, {31, 1, 1, 15, 16, 16, 15}},
        {"SSS7", 3, {31, 1, 1, 1, 1, 1, 1}},
        {"SA", 1, {15, 1, 1, 15, 17, 17, 31}},
        {"SSSSSSSSSSSSSSD", 14, {1, 1, 1, 15, 17, 17, 31}},
        {"SSSSSM", 5, {0, 0, 0, 14, 0, 0, 0}},
        {"SSP", 2, {0, 0, 0, 0, 0, 0, 12}},
        {"S9", 1, {31, 17, 17, 31, 1, 1, 31}},
        {"xS S", 0, {0, 0, 0, 0, 0, 0, 0}},              // no glyph: a blank position
        {"SSSSSSSSSSSSSSS8", 15, {0, 0, 0, 0, 0, 0, 0}}, // beyond fifteen: not printed
    };
    QImage bitmap = NewPrintLineBitmap();
    for (const Case& c : cases) {
        RenderPrintLine(bitmap, c.text);
        EXPECT_EQ(ReadGlyph(bitmap, c.k), c.rows) << c.text;
    }
}

TEST(RenderPrintLine, DotsAreFiveByEightWithARimAndLeanRight) {
    QImage bitmap = NewPrintLineBitmap();
    RenderPrintLine(bitmap, "1"); // one dot per row, in the middle column
    const QRgb rim = qRgb(128, 128, 128), fill = qRgb(96, 96, 96), white = qRgb(255, 255, 255);
    for (int i = 0; i < 7; ++i) {
        const int left = 14 - i + 6, top = 9 * i; // each row one pixel further left
        EXPECT_EQ(bitmap.pixel(left, top), rim) << i;
        EXPECT_EQ(bitmap.pixel(left + 4, top + 7), rim) << i;
        EXPECT_EQ(bitmap.pixel(left + 1, top + 1), fill) << i;
        EXPECT_EQ(bitmap.pixel(left + 3, top + 6), fill) << i;
        EXPECT_EQ(bitmap.pixel(left + 5, top), white) << i; // right edge exclusive
        EXPECT_EQ(bitmap.pixel(left - 1, top), white) << i;
        EXPECT_EQ(bitmap.pixel(left, top + 8), white) << i; // bottom edge exclusive
    }
    RenderPrintLine(bitmap, "1", printer::kViewerDotRim);
    EXPECT_EQ(bitmap.pixel(20, 0), qRgb(0, 0, 0));
    EXPECT_EQ(bitmap.pixel(21, 1), fill);
}

// ---- Paper and feed
// -------------------------------------------------------------------------------

// An untouched paper picture whose rows can be told apart: row y of the panel has red y. At
// scale 2 each row of the panel is two rows of the picture.
QImage RowCodedPaper(int scale = 1) {
    QImage paper(layout::kPaper.Width * scale, layout::kPaper.Height * scale, QImage::Format_RGB32);
    for (int y = 0; y < paper.height(); ++y)
        for (int x = 0; x < paper.width(); ++x)
            paper.setPixel(x, y, qRgb(y / scale, 40, 40));
    paper.setDevicePixelRatio(scale);
    return paper;
}

// The red of a row of the panel, from the last of its rows in the picture: that one is off
// whenever the rows moved by a row of the picture too many or too few.
int RedOfRow(const QImage& paper, int y) {
    const int scale = static_cast<int>(paper.devicePixelRatio());
    return qRed(paper.pixel(0, y * scale + scale - 1));
}
bool WhiteRow(const QImage& paper, int y) {
    const int scale = static_cast<int>(paper.devicePixelRatio());
    for (int row = y * scale; row < (y + 1) * scale; ++row)
        for (int x = 0; x < paper.width(); ++x)
            if (paper.pixel(x, row) != qRgb(255, 255, 255)) return false;
    return true;
}

QImage PaperBand(const QImage& paper, int top) {
    const layout::Rect at = layout::kPrintLine;
    return paper.copy(at.Left, top, at.Width, at.Height);
}

QImage Scaled(const QString& line) {
    QImage bitmap = NewPrintLineBitmap();
    return ScaledPrintLine(bitmap, line,
                           QSize(layout::kPrintLine.Width, layout::kPrintLine.Height));
}

struct Rig {
    explicit Rig(int pictureScale = 1) : scale(pictureScale) {}
    int scale;
    NullEngineHost host;
    Calculator calc{host};
    QStringList roll;
    bool latched[3] = {false, false, false};
    bool feedHeld = false;
    int lastKey = 0;
    int rollChanges = 0, redraws = 0;
    PrinterModel model{calc, roll, RowCodedPaper(scale), Panel()};

    PrinterModel::Panel Panel() {
        PrinterModel::Panel p;
        p.PrintSwitch = [this](int which) { return latched[which]; };
        p.FeedHeld = [this] { return feedHeld; };
        p.LastKey = [this] { return lastKey; };
        p.RollChanged = [this] { ++rollChanges; };
        p.RedrawDisplay = [this] { ++redraws; };
        return p;
    }
};

TEST(FeedPaper, MovesThePaperUpThirteenRowsAndWhitensTheBottom) {
    // The paper picture drawn at 2x moves the same rows of the panel, each two rows of its own.
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        Rig rig(scale);
        EXPECT_EQ(rig.model.PaperTop(), 54);
        rig.model.FeedPaper();
        EXPECT_EQ(rig.model.PaperTop(), 41);
        const QImage& paper = rig.model.Paper();
        for (int y = 0; y < 41; ++y)
            ASSERT_EQ(RedOfRow(paper, y), y) << "above the edge: untouched, row " << y;
        for (int y = 41; y <= 68; ++y)
            ASSERT_EQ(RedOfRow(paper, y), y + 13) << "moved up, row " << y;
        for (int y = 69; y <= 81; ++y)
            ASSERT_TRUE(WhiteRow(paper, y)) << "new paper, row " << y;
        // Filled: every feed still moves 13 rows, the two rows above the edge never change.
        for (int expected : {28, 15, 2, 2, 2, 2}) {
            rig.model.FeedPaper();
            EXPECT_EQ(rig.model.PaperTop(), expected);
        }
        for (int y : {0, 1})
            EXPECT_EQ(RedOfRow(rig.model.Paper(), y), y);
        for (int y = 2; y <= 81; ++y)
            ASSERT_TRUE(WhiteRow(rig.model.Paper(), y)) << y;
        // After a reset (a torn-off roll) the new paper is white again, not the old print.
        for (int i = 0; i < 6; ++i) {
            rig.model.PrintOnPaper("888888888888888");
            rig.model.FeedPaper();
        }
        rig.model.ResetPaper();
        rig.model.FeedPaper();
        for (int y = 69; y <= 81; ++y)
            EXPECT_TRUE(WhiteRow(rig.model.Paper(), y)) << y;
    }
}

TEST(PrinterTick, PrintsTheQueueALineATickAndStopsWhenItEmpties) {
    Rig rig;
    rig.calc.PrintQueue = {"SS1P5SSSSSSSSSS", "SM2SSSSSSSSSSSS"};
    EXPECT_TRUE(rig.model.Tick());
    EXPECT_EQ(PaperBand(rig.model.Paper(), 70), Scaled("SS1P5SSSSSSSSSS"));
    EXPECT_FALSE(rig.model.Tick());
    EXPECT_EQ(PaperBand(rig.model.Paper(), 70), Scaled("SM2SSSSSSSSSSSS"));
    EXPECT_EQ(PaperBand(rig.model.Paper(), 57), Scaled("SS1P5SSSSSSSSSS"));
    EXPECT_EQ(rig.roll, QStringList({"SS1P5SSSSSSSSSS", "SM2SSSSSSSSSSSS"}));
    EXPECT_EQ(rig.rollChanges, 2);
    // Nothing queued (the queue was emptied under a running feed): the feed just stops.
    EXPECT_FALSE(rig.model.Tick());
    EXPECT_EQ(rig.roll.size(), 2);
}

TEST(PrinterTick, KeepsFeedingBlankLinesWhileTheFeedOrPrintSpaceIsHeld) {
    struct Case {
        bool feedHeld;
        int lastKey;
        bool keepsFeeding;
    };
    for (Case c : {Case{true, 0, true}, Case{false, pos::PrintSpace, true},
                   Case{false, pos::Stop, false}, Case{false, 0, false}}) {
        Rig rig;
        rig.feedHeld = c.feedHeld;
        rig.lastKey = c.lastKey;
        rig.calc.PrintQueue = {kBlankPrintLine};
        EXPECT_EQ(rig.model.Tick(), c.keepsFeeding) << c.feedHeld << " " << c.lastKey;
        EXPECT_EQ(rig.calc.PrintQueue.size(), c.keepsFeeding ? 1u : 0u);
    }
}

TEST(PrinterTick, TheFourHundredAndFirstLineIsPrintedButNotKept) {
    Rig rig;
    for (int i = 0; i < 400; ++i)
        rig.roll.append(kBlankPrintLine);
    rig.calc.PrintQueue = {"S4P01SSSSSSSSSS"};
    EXPECT_FALSE(rig.model.Tick());
    EXPECT_EQ(rig.roll.size(), 400);
    EXPECT_FALSE(rig.roll.contains("S4P01SSSSSSSSSS"));
    EXPECT_EQ(rig.rollChanges, 0);
    EXPECT_EQ(PaperBand(rig.model.Paper(), 70), Scaled("S4P01SSSSSSSSSS"));
}

// ---- Listing
// --------------------------------------------------------------------------------------

void Store(Calculator& calc, std::initializer_list<int> codes) {
    int row = 0, step = 0;
    for (int code : codes) {
        calc.RegisterFile[static_cast<size_t>(row)][step] = code;
        AdvancePc(row, step);
    }
}

TEST(Listing, PrintsOneStepPerTickUpToTheEndWhichPrintsWhenARegisterIsLatched) {
    for (bool latched : {false, true}) {
        Rig rig;
        rig.latched[2] = latched;
        Store(rig.calc, {001, 033, 046, 002});
        rig.calc.ProgramMode = true;
        ASSERT_TRUE(rig.model.StartListing(true));
        EXPECT_EQ(rig.calc.ListingMode, 1);
        int ticks = 0;
        while (rig.model.Tick() && ticks < 10)
            ++ticks;
        QStringList expected = {"S0P0MMMMMMMMM01", "S0P1MMMMMMMMM33"};
        if (latched) expected << "S0P2MMMMMMMMM46";
        EXPECT_EQ(rig.roll, expected) << latched;
        EXPECT_EQ(rig.calc.PcStep, 3) << "left after the END step";
        EXPECT_EQ(rig.calc.ListingMode, 0);
    }
}

} // namespace
} // namespace orrindale
