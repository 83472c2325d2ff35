// Marked cards without windows: the stack file, the reader's feed and the editor's card.
#include "cards/marked/cardstack.h"

#include <gtest/gtest.h>

#include "cards/marked/cardfeed.h"
#include "cards/marked/markedcard.h"
#include "engine/registers.h"
#include "fake_host.h"
#include "panel_test_util.h"

namespace orrindale {
namespace {

using testing::Machine;
using testing::TempFolder;

std::string Line(int value, int fields = kCardRows) {
    std::string line;
    for (int i = 0; i < fields; ++i)
        line += std::to_string(value) + "~";
    return line;
}
TextList Titles() {
    return {"name", "title", "01", "02", "2024"};
}
TextList WithCards(int count, const std::string& entry = "-1~0~" + Line(0)) {
    TextList lines = Titles();
    for (int i = 0; i < count; ++i)
        lines.push_back(entry);
    return lines;
}

// ---- The stack file ---------------------------------------------------------------------------

TEST(CardStackFile, LinesAreCountedAndChecked) {
    const struct {
        const char* what;
        TextList lines;
        bool loads;
    } cases[] = {
        {"99 cards", WithCards(99), true},
        {"100 cards", WithCards(100), false},
        {"titles only", Titles(), true},
        {"four lines", {"a", "b", "c", "d"}, false},
        {"28 fields", WithCards(1, "-1~0~" + Line(0, 28)), false},
        {"30 fields", WithCards(1, "-1~0~" + Line(0, 30)), false},
        {"empty card line", WithCards(1, "-1~-1~"), true},
        {"row value 127", WithCards(1, "0~0~" + Line(127)), true},
        {"row value 128", WithCards(1, "0~0~" + Line(128)), false},
        {"row value -1", WithCards(1, "0~0~" + Line(-1)), false},
        {"field not a number", WithCards(1, "0~0~x~" + Line(0, 28)), false},
        {"marks True/False", WithCards(1, "True~false~"), true},
        {"used mark not boolean", WithCards(1, "yes~0~"), false},
        {"no row-29 mark", WithCards(1, "-1~"), false},
        {"no marks at all", WithCards(1, ""), false},
    };
    for (const auto& c : cases) {
        TCardStack stack;
        CardLines list;
        stack.Used[5] = true;
        list[5] = "left over";
        EXPECT_EQ(stack.ReadStackLines(c.lines, list), c.loads) << c.what;
        if (!c.loads) {
            // A corrupt file leaves nothing of itself, nor of what was there before.
            EXPECT_EQ(stack.UsedCount(), 0) << c.what;
            EXPECT_TRUE(list[0].empty() && list[5].empty()) << c.what;
            EXPECT_TRUE(stack.Titles.Name.empty()) << c.what;
        }
    }
}

TEST(CardStackFile, MarksTitlesAndLinesLoad) {
    TCardStack stack;
    CardLines list;
    TextList lines = Titles();
    lines.push_back("0~0~");
    lines.push_back("-1~-1~" + Line(5));
    ASSERT_TRUE(stack.ReadStackLines(lines, list));
    EXPECT_EQ(stack.Titles.Name, "name");
    EXPECT_EQ(stack.Titles.Year, "2024");
    EXPECT_FALSE(stack.Used[0]);
    EXPECT_TRUE(stack.Used[1] && stack.Row29[1]);
    EXPECT_EQ(list[1], Line(5));
    EXPECT_EQ(stack.NthUsed(0), 1);
    EXPECT_EQ(stack.NthUsed(1), -1);
}

TEST(CardStackFile, WrittenStackReadsBack) {
    TempFolder folder;
    TCardStack stack;
    CardLines list;
    stack.Titles = {"Ann", "Sums", "03", "04", "2023"};
    stack.Used[2] = stack.Row29[2] = true;
    list[2] = Line(9);
    const std::string path = folder.File("s.ocf");
    ASSERT_TRUE(stack.SaveStackFile(path, list));
    // All 99 cards from the editor; the example line of an unused empty card.
    const TextList written = stack.StackFileLines(list);
    EXPECT_EQ(written.size(), 5u + 99u);
    EXPECT_EQ(written[5], "0~0~");
    EXPECT_EQ(written[7], "-1~-1~" + Line(9));
    TCardStack back;
    CardLines backList;
    ASSERT_TRUE(back.LoadStackFile(path, backList));
    EXPECT_EQ(back.Titles.Title, "Sums");
    EXPECT_EQ(back.Used, stack.Used);
    EXPECT_EQ(back.Row29, stack.Row29);
    EXPECT_EQ(backList, list);
}

TEST(CardStackFile, ExportWritesOnlyItsCards) {
    TCardStack stack;
    CardLines list;
    EXPECT_EQ(stack.StackFileLines(list, 2).size(), 7u);
}

TEST(CardStackFile, MissingFileLeavesTheStackEmpty) {
    TempFolder folder;
    TCardStack stack;
    CardLines list;
    stack.Used[0] = true;
    EXPECT_FALSE(stack.LoadStackFile(folder.File("none.ocf"), list));
    EXPECT_EQ(stack.UsedCount(), 0);
}

TEST(CardLines, RowsOfALine) {
    EXPECT_EQ(RowsOfLine("").at(0), 0);
    EXPECT_EQ(RowsOfLine("5~x~7~").at(1), 0);
    EXPECT_EQ(RowsOfLine("5~x~7~").at(2), 7);
    CardRows rows{};
    rows[28] = 127;
    EXPECT_EQ(RowsOfLine(LineOfRows(rows)), rows);
}

// ---- The reader's feed --------------------------------------------------------------------------

struct Reader {
    Machine m;
    TCardStack stack;
    CardLines list;
    MarkedCardFeed feed;

    void Put(int card, const CardRows& rows, bool row29 = false) {
        list[static_cast<size_t>(card)] = LineOfRows(rows);
        stack.Used[static_cast<size_t>(card)] = true;
        stack.Row29[static_cast<size_t>(card)] = row29;
    }
    // Feeds the next card through all its ticks.
    void FeedCard() {
        feed.Start(stack, list);
        for (int t = 0; t < MarkedCardFeed::kTicks; ++t)
            feed.Tick(m.calc);
    }
    TKeyCode Step(int step) const { return m.calc.RegisterFile[step / 14][step % 14] & 63; }
    int Pc() const { return m.calc.PcRow * 14 + m.calc.PcStep; }
};

// Row r holds the code of digit (r % 10): each row is told apart by its code.
CardRows Digits() {
    CardRows rows{};
    const TKeyPos digit[] = {keypos::Digit0, keypos::Digit1, keypos::Digit2, keypos::Digit3,
                             keypos::Digit4, keypos::Digit5, keypos::Digit6, keypos::Digit7,
                             keypos::Digit8, keypos::Digit9};
    for (int r = 0; r < kCardRows; ++r)
        rows[static_cast<size_t>(r)] = KeyCodeOf[static_cast<size_t>(digit[r % 10])];
    return rows;
}

TEST(CardFeed, PrgmModeKeysEveryRowOfTheCard) {
    const struct {
        const char* what;
        int endRow; // -1 for none
        bool row29;
        int keyed;
    } cases[] = {
        {"28 rows without the row-29 mark", -1, false, 28},
        {"29 rows with it", -1, true, 29},
        {"a row of 127 at row 5 ends the card", 5, true, 5},
    };
    for (const auto& c : cases) {
        Reader r;
        r.m.calc.ProgramMode = true;
        CardRows rows = Digits();
        if (c.endRow >= 0) rows[static_cast<size_t>(c.endRow)] = kEndOfCard;
        r.Put(0, rows, c.row29);
        r.FeedCard();
        EXPECT_EQ(r.Pc(), c.keyed) << c.what;
        for (int s = 0; s < c.keyed; ++s)
            EXPECT_EQ(r.Step(s), rows[static_cast<size_t>(s)]) << c.what << " step " << s;
        EXPECT_EQ(r.feed.Count(), 1) << c.what;
    }
}

TEST(CardFeed, RunModeLosesTheRowsAfterASlowKey) {
    Reader r;
    r.m.calc.ProgramMode = false;
    CardRows rows = Digits();
    rows[0] = KeyCodeOf[keypos::SinX];
    r.Put(0, rows);
    r.FeedCard();
    // SinX, then rows 11 to 27: the ten rows after it passed unread.
    EXPECT_EQ(r.Step(0), KeyCodeOf[keypos::SinX]);
    EXPECT_EQ(r.Step(1), rows[11]);
    EXPECT_EQ(r.Step(2), rows[12]);
    EXPECT_EQ(r.Pc(), 1 + 17);
}

// A program exported as cards and fed in RUN mode is carried out as the card passes: the ten
// sevens after SinX go by unread while it works, END sends the counter home, and the empty
// rows after it key the digit 0, each into program memory and into X.
TEST(CardFeed, ExportedProgramFedInRunModeIsCarriedOutAsItIsRead) {
    Machine source;
    source.Program("3 0 SINx 7 7 7 7 7 7 7 7 7 7 SHUP End");
    std::vector<int> codes;
    for (int step = 0; step < 2 * 14; ++step)
        codes.push_back(source.calc.RegisterFile[static_cast<size_t>(step / 14)][step % 14]);
    const std::vector<std::string> cards = CardsUntilEnd(codes);
    ASSERT_EQ(cards.size(), 1u);
    Reader r;
    r.m.calc.ProgramMode = false;
    r.list[0] = cards[0];
    r.stack.Used[0] = true;
    r.FeedCard();

    Machine hand;
    hand.Keys("3 0 SINx SHUP End 0 0 0 0 0 0 0 0 0 0 0 0 0");
    EXPECT_EQ(r.m.calc.YReg, hand.calc.YReg);
    EXPECT_EQ(r.m.calc.XReg, hand.calc.XReg);
    EXPECT_EQ(r.Step(0), KeyCodeOf[keypos::Digit0]); // the first empty row, after END
    EXPECT_EQ(r.Pc(), 13);
}

TEST(CardFeed, RowsOf64To126AreNoInstruction) {
    Reader r;
    r.m.calc.ProgramMode = true;
    CardRows rows = Digits();
    rows[0] = 64;
    rows[1] = 126;
    r.Put(0, rows);
    r.FeedCard();
    EXPECT_EQ(r.Step(0), rows[2]);
    EXPECT_EQ(r.Pc(), 26);
}

TEST(CardFeed, SwitchingOffStopsTheReadingButTheCardCounts) {
    Reader r;
    r.m.calc.ProgramMode = true;
    r.Put(0, Digits());
    r.feed.Start(r.stack, r.list);
    r.feed.Tick(r.m.calc);
    r.m.calc.PowerOn = false;
    for (int t = 1; t < MarkedCardFeed::kTicks; ++t)
        r.feed.Tick(r.m.calc);
    EXPECT_EQ(r.Pc(), 2);
    EXPECT_EQ(r.feed.Count(), 1);
}

TEST(CardFeed, TheCardMovesFromTheMouthToThePile) {
    Reader r;
    r.Put(0, CardRows{});
    r.feed.Start(r.stack, r.list);
    std::vector<MarkedCardFeed::Step> steps;
    for (int t = 0; t < MarkedCardFeed::kTicks; ++t)
        steps.push_back(r.feed.Tick(r.m.calc));
    EXPECT_EQ(steps.front().X, 119);
    EXPECT_EQ(steps.front().Y, 136);
    EXPECT_EQ(steps.back().X, 35);
    EXPECT_EQ(steps.back().Y, 45);
    EXPECT_TRUE(steps[6].MovePile);
    EXPECT_FALSE(steps[5].MovePile || steps[7].MovePile || steps[13].Finished);
    EXPECT_TRUE(steps.back().Finished);
    EXPECT_EQ(steps.back().PileTop, 45); // the first card: count was 0
    EXPECT_FALSE(r.feed.Moving());
}

TEST(CardFeed, ThePileStartsAgainEveryFifteenCards) {
    Reader r;
    for (int card = 0; card < 17; ++card)
        r.Put(card, CardRows{});
    const int expected[] = {45, 44, 30, 44}; // before cards 1, 2, 16 and 17
    const int at[] = {0, 1, 15, 16};
    int done = 0;
    for (int k = 0; k < 4; ++k) {
        while (done < at[k]) {
            r.FeedCard();
            ++done;
        }
        EXPECT_EQ(r.feed.PileTop(), expected[k]) << "card " << at[k] + 1;
    }
}

TEST(CardFeed, CardFeedChecks) {
    using Check = MarkedCardFeed::FeedCheck;
    Reader r;
    EXPECT_EQ(r.feed.Check(r.m.calc, r.stack), Check::Ignored); // no cards
    r.Put(0, CardRows{});
    r.m.calc.ProgramMode = true;
    EXPECT_EQ(r.feed.Check(r.m.calc, r.stack), Check::Ready);
    r.m.calc.ProgramMode = false;
    EXPECT_EQ(r.feed.Check(r.m.calc, r.stack), Check::AskRunMode);
    r.m.calc.PowerOn = false;
    EXPECT_EQ(r.feed.Check(r.m.calc, r.stack), Check::Ignored);
    r.m.calc.Running = true;
    EXPECT_EQ(r.feed.Check(r.m.calc, r.stack), Check::ProgramRunning);
    r.m.calc.Running = false;
    r.m.calc.PowerOn = true;
    r.feed.Start(r.stack, r.list);
    EXPECT_EQ(r.feed.Check(r.m.calc, r.stack), Check::Ignored); // a card is moving
    r.feed.Reset();
    EXPECT_EQ(r.feed.Count(), 0);
    EXPECT_FALSE(r.feed.Moving());
}

// ---- The editor's card --------------------------------------------------------------------------

struct Editor {
    TCardStack stack;
    CardLines list;
    MarkedCard card;
    int X(int column) const { return cardgrid::kColumnX[static_cast<size_t>(column)] + 5; }
    int Y(int row) const { return cardgrid::kRowY[static_cast<size_t>(row)] + 3; }
};

TEST(EditorCard, MarkClicks) {
    const struct {
        const char* what;
        int before;
        int column;
        MarkButton button;
        int after;
    } cases[] = {
        {"left on column 0 of 0", 0, 0, MarkButton::Left, 64},
        {"left on column 1 of 64", 64, 1, MarkButton::Left, 96},
        {"left on a set mark clears it", 96, 1, MarkButton::Left, 64},
        {"right on 5", 5, 3, MarkButton::Other, 0},
        {"right on 0", 0, 6, MarkButton::Other, 127},
    };
    for (const auto& c : cases) {
        Editor e;
        e.card.Current = 3;
        e.card.Rows[7] = c.before;
        EXPECT_EQ(e.card.Click(e.X(c.column), e.Y(7), c.button, e.stack, e.list), CardHit::Mark)
            << c.what;
        EXPECT_EQ(e.card.Rows[7], c.after) << c.what;
        EXPECT_EQ(e.card.Row, 7) << c.what;
        EXPECT_TRUE(e.stack.Used[3]) << c.what;
        EXPECT_EQ(RowsOfLine(e.list[3])[7], c.after) << c.what;
    }
}

TEST(EditorCard, ClicksBesideTheMarks) {
    Editor e;
    e.card.Current = 0;
    e.card.Row = 9;
    // Between two columns and between two rows nothing is marked; the row goes back to 0.
    EXPECT_EQ(e.card.Click(e.X(0) + 9, e.Y(0), MarkButton::Left, e.stack, e.list), CardHit::None);
    EXPECT_EQ(e.card.Click(e.X(0), cardgrid::kRowY[0] + 8, MarkButton::Left, e.stack, e.list),
              CardHit::None);
    EXPECT_EQ(e.card.Row, 0);
    EXPECT_FALSE(e.stack.Used[0]);
    EXPECT_TRUE(e.list[0].empty());
    // The row-29 box toggles its mark and stores the card.
    EXPECT_EQ(e.card.Click(240, 450, MarkButton::Left, e.stack, e.list), CardHit::Row29Box);
    EXPECT_TRUE(e.stack.Row29[0] && e.stack.Used[0]);
    EXPECT_EQ(e.list[0], Line(0));
    e.card.Click(236, 446, MarkButton::Left, e.stack, e.list);
    EXPECT_FALSE(e.stack.Row29[0]);
    // Without a current card (the viewer's unseen editor) a click does nothing.
    e.card.Current = -1;
    EXPECT_EQ(e.card.Click(e.X(0), e.Y(0), MarkButton::Left, e.stack, e.list), CardHit::None);
}

TEST(EditorCard, InstructionDoubleClickWritesAndWraps) {
    Editor e;
    e.card.Current = 0;
    e.card.Row = 28;
    e.card.EnterKey(keypos::Add, e.stack, e.list);
    EXPECT_EQ(e.card.Rows[28], 033); // octal 33
    EXPECT_EQ(e.card.Row, 0);
    e.card.EnterKey(keypos::Sqrt, e.stack, e.list);
    EXPECT_EQ(e.card.Row, 1);
    EXPECT_TRUE(e.stack.Used[0]);
    EXPECT_EQ(RowsOfLine(e.list[0])[28], 27);
}

TEST(EditorCard, ListingIsCutIntoCards) {
    std::vector<int> codes(392, 0);
    for (int s = 0; s <= 30; ++s)
        codes[static_cast<size_t>(s)] = s % 10 + 1;
    const auto cards = CardsOfListing(codes);
    ASSERT_EQ(cards.size(), 2u);
    const CardRows second = RowsOfLine(cards[1]);
    EXPECT_EQ(second[0], codes[28]);
    EXPECT_EQ(second[2], codes[30]);
    EXPECT_EQ(second[3], 0);
    EXPECT_EQ(second[28], 0);
    EXPECT_EQ(CountChar('~', cards[1]), kCardRows);
    // Nothing but zeros: every code is taken, 14 cards.
    EXPECT_EQ(CardsOfListing(std::vector<int>(392, 0)).size(), 14u);
}

TEST(EditorCard, ExportStopsAtTheFirstEnd) {
    std::vector<int> codes(392, 5);
    codes[40] = 38;
    const auto cards = CardsUntilEnd(codes);
    ASSERT_EQ(cards.size(), 2u);
    const CardRows second = RowsOfLine(cards[1]);
    EXPECT_EQ(second[12], 38);
    EXPECT_EQ(second[13], 0);
    EXPECT_EQ(CardsUntilEnd(std::vector<int>(392, 5)).size(), 14u);
    codes[27] = 38;
    EXPECT_EQ(CardsUntilEnd(codes).size(), 1u);
}

} // namespace
} // namespace orrindale
