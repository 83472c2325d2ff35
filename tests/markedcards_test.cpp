// The marked card windows, offscreen: the reader fed from a stack file, the editor's marks,
// files and printing, the title dialog, and the viewer's export read back by the reader.
#include <QBuffer>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>

#include "cards/marked/cardeditor.h"
#include "cards/marked/cardreader.h"
#include "cards/marked/cardtitle.h"
#include "cards/marked/readerart.h"
#include "viewer/view.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {

void WriteScrambled(const QString& path, const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    for (char& c : bytes)
        c = static_cast<char>(c ^ 0xB7);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

void WriteCardPictures(Window& win) {
    WriteScrambled(win.File(files::kCardReaderPicture), readerart::RenderReader(), "PNG");
    WriteScrambled(win.File(files::kCardEditorPicture), cardart::RenderBlankCard(), "BMP");
}

QAction* PeripheralsEntry(TmainFM& w, const QString& caption) {
    for (QAction* a : w.PopupMenu()->actions())
        if (a->menu() && a->text() == "Peripherals")
            for (QAction* entry : a->menu()->actions())
                if (entry->text() == caption) return entry;
    return nullptr;
}

TcardReadFM* OpenReader(TmainFM& w) {
    PeripheralsEntry(w, "Marked Card Reader")->trigger();
    return qobject_cast<TcardReadFM*>(w.PeripheralWindows().Window(Peripherals::Kind::CardReader));
}

// A stack of two used cards: card 1 keys 1 2 3 and ends, card 2 keys 4.
std::string TwoCardStack(Window& win) {
    TCardStack stack;
    CardLines list;
    CardRows one{}, two{};
    one = {KeyCodeOf[keypos::Digit1], KeyCodeOf[keypos::Digit2], KeyCodeOf[keypos::Digit3],
           kEndOfCard};
    two = {KeyCodeOf[keypos::Digit4], kEndOfCard};
    list[0] = LineOfRows(one);
    list[1] = LineOfRows(two);
    stack.Used[0] = stack.Used[1] = true;
    const std::string path = win.File("two.ocf").toStdString();
    stack.SaveStackFile(path, list);
    return path;
}

// Closes whatever modal dialog opens next, after fill has had its way with it.
template <typename Dialog>
void AnswerNextDialog(QObject* context, std::function<void(Dialog&)> fill) {
    QTimer::singleShot(0, context, [fill] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        fill(*dialog);
    });
}

} // namespace

TEST(MarkedCardReader, FeedsAStackInPrgmModeAndGoesAwayOnClose) {
    Window win;
    WriteCardPictures(win);
    TmainFM& w = win.Start();
    win.PowerOn();
    w.SetModeSwitch(true);
    TcardReadFM* reader = OpenReader(w);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->CardLabel()->text(), "0/0");
    win.files.Script(QString::fromStdString(TwoCardStack(win)));
    reader->LoadStackClick();
    EXPECT_EQ(reader->CardLabel()->text(), "0/2");
    reader->cardFeedClick();
    EXPECT_EQ(win.sounds.played.last(), "cfd");
    EXPECT_TRUE(reader->CardMoving());
    EXPECT_TRUE(w.Display().DisplayBlanked);
    auto* timer = reader->findChild<QTimer*>("cardTimer");
    ASSERT_TRUE(timer && timer->isActive());
    EXPECT_EQ(timer->interval(), 50);
    int ticks = 0;
    while (timer->isActive() && ticks < 100) {
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        ++ticks;
    }
    EXPECT_EQ(ticks, 15);
    EXPECT_FALSE(w.Display().DisplayBlanked);
    EXPECT_TRUE(reader->PileShown());
    EXPECT_EQ(reader->CardLabel()->text(), "1/2");
    const auto& mem = w.Engine().RegisterFile;
    EXPECT_EQ(mem[0][0] & 63, KeyCodeOf[keypos::Digit1]);
    EXPECT_EQ(mem[0][2] & 63, KeyCodeOf[keypos::Digit3]);
    EXPECT_EQ(w.Engine().PcStep, 3);
    // A stack loaded again starts at its first card.
    win.files.Script(QString::fromStdString(TwoCardStack(win)));
    reader->LoadStackClick();
    EXPECT_EQ(reader->CardLabel()->text(), "0/2");
    EXPECT_FALSE(reader->PileShown());

    // The editor is refused while the reader exists.
    PeripheralsEntry(w, "Marked Card Editor")->trigger();
    EXPECT_EQ(win.messages.LastText(), "Please close card reader periferal to access editor");

    reader->ResetStackClick();
    EXPECT_EQ(reader->CardLabel()->text(), "0/2");
    reader->close();
    win.FireUntilStopped("ChgModeTimer");
    EXPECT_EQ(w.PeripheralWindows().Window(Peripherals::Kind::CardReader), nullptr);
    EXPECT_EQ(w.PeripheralWindows().CardStack().UsedCount(), 0);
}

TEST(MarkedCardReader, ResetStackInTheMiddleOfACardBringsTheDisplayBack) {
    Window win;
    WriteCardPictures(win);
    TmainFM& w = win.Start();
    win.PowerOn();
    w.SetModeSwitch(true);
    TcardReadFM* reader = OpenReader(w);
    win.files.Script(QString::fromStdString(TwoCardStack(win)));
    reader->LoadStackClick();
    reader->cardFeedClick();
    auto* timer = reader->findChild<QTimer*>("cardTimer");
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    ASSERT_TRUE(w.Display().DisplayBlanked);
    reader->ResetStackClick();
    EXPECT_FALSE(w.Display().DisplayBlanked);
    EXPECT_FALSE(timer->isActive());
    EXPECT_FALSE(reader->CardMoving() || reader->PileShown());
    EXPECT_EQ(reader->CardLabel()->text(), "0/2");
    // The next feed starts again with the first card, after the two rows the first tick read.
    reader->cardFeedClick();
    while (timer->isActive())
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    EXPECT_EQ(reader->CardLabel()->text(), "1/2");
    EXPECT_EQ(w.Engine().RegisterFile[0][2] & 63, KeyCodeOf[keypos::Digit1]);
}

TEST(MarkedCardReader, RunModeAsksFirstAndACorruptStackIsReported) {
    Window win;
    WriteCardPictures(win);
    TmainFM& w = win.Start();
    win.PowerOn();
    w.SetModeSwitch(false);
    TcardReadFM* reader = OpenReader(w);
    win.files.Script(QString::fromStdString(TwoCardStack(win)));
    reader->LoadStackClick();
    win.messages.Script(MessageAnswer::No);
    reader->cardFeedClick();
    EXPECT_TRUE(win.messages.LastText().startsWith("The calculator is in RUN mode\r"));
    EXPECT_FALSE(reader->CardMoving());
    win.files.Script(win.File("broken.ocf"));
    SaveScrambledTextList(win.File("broken.ocf"), QStringList{"a", "b"});
    reader->LoadStackClick();
    EXPECT_EQ(win.messages.LastText(), "ERROR: Program file data is corrupt\r\r" +
                                           win.File("broken.ocf") +
                                           "\r\rnot a card stack file, or a damaged one");
    EXPECT_EQ(reader->CardLabel()->text(), "0/0");
}

TEST(MarkedCardReader, MarksLeftByTheEditorDoNotCountInTheReader) {
    Window win;
    WriteCardPictures(win);
    TmainFM& w = win.Start();
    w.PeripheralWindows().CardStack().Used[4] = true; // as an editor leaves them
    TcardReadFM* reader = OpenReader(w);
    EXPECT_EQ(reader->CardLabel()->text(), "0/0");
}

TEST(MarkedCardReader, WithoutItsPictureItIsReleased) {
    Window win;
    TmainFM& w = win.Start();
    EXPECT_EQ(OpenReader(w), nullptr);
    win.FireUntilStopped("ChgModeTimer");
    EXPECT_EQ(w.PeripheralWindows().Window(Peripherals::Kind::CardReader), nullptr);
}

// The window takes the outline of its picture: what lies outside it is not shown.
TEST(MarkedCardReader, ButtonAndCountLabelStandWithinItsOutline) {
    Window win;
    WriteCardPictures(win);
    TmainFM& w = win.Start();
    TcardReadFM* reader = OpenReader(w);
    ASSERT_TRUE(reader);
    for (const QWidget* part :
         {static_cast<QWidget*>(reader->CardLabel()), reader->findChild<QWidget*>("cardFeedSB")}) {
        SCOPED_TRACE(part->objectName().toStdString());
        EXPECT_TRUE((QRegion(part->geometry()) - reader->mask()).isEmpty());
    }
}

TEST(MarkedCardReader, StandsWhereItHidesNeitherDisplayNorKeys) {
    // The calculator centred on the screen; its display and keyboard (keys, switches and the
    // wheel) where the panel has them.
    auto place = [](QSize screen, QPoint main = QPoint(-1, -1)) {
        if (main.x() < 0) main = QPoint((screen.width() - 740) / 2, (screen.height() - 505) / 2);
        const QRect display(main + QPoint(205, 233), QSize(177, 58));
        const QRect keys(main + QPoint(72, 340), QPoint(main + QPoint(689, 473)));
        const QPoint at = ReaderPlace(QRect(main, QSize(740, 505)), {display, keys},
                                      QSize(370, 250), QRect(QPoint(0, 0), screen));
        const QRect reader(at, QSize(370, 250));
        return std::tuple(at, reader.intersects(display) || reader.intersects(keys));
    };
    const struct {
        QSize screen;
        QPoint main; // (-1, -1): centred
        QPoint at;
        bool hides;
    } cases[] = {
        {{1920, 1080}, {-1, -1}, {220, 542}, false},    // to the left, bottoms level
        {{1280, 1024}, {-1, -1}, {270, 9}, false},      // no room beside: above
        {{1280, 800}, {-1, -1}, {0, 0}, false},         // over the upper left corner of the case
        {{1920, 1080}, {1180, 300}, {810, 555}, false}, // left again
        {{800, 600}, {30, 47}, {-1, -1}, false},        // above the keys, right of the display
        {{740, 505}, {0, 0}, {370, 0}, true},           // no room anywhere: hides the least
    };
    for (const auto& c : cases) {
        const auto [at, hides] = place(c.screen, c.main);
        if (c.at.x() >= 0) {
            EXPECT_EQ(at, c.at) << c.screen.width() << "x" << c.screen.height();
        }
        EXPECT_EQ(hides, c.hides) << c.screen.width() << "x" << c.screen.height();
        EXPECT_TRUE(QRect(QPoint(0, 0), c.screen).contains(QRect(at, QSize(370, 250))));
    }
}

TEST(CardTitle, DateAndCharacterChecks) {
    Window win;
    Services s;
    s.Messages = &win.messages;
    const struct {
        const char* name;
        const char* date;
        bool accepted;
        const char* dateAfter;
        const char* nameAfter;
        const char* message;
    } cases[] = {
        {"Ann", "1/2/2024", true, "01/02/2024", "Ann", ""},
        {"Ann", "", true, "", "Ann", ""},
        {"Ann", "31/02/2024", false, "31/02/2024", "Ann", "ERROR: Invalid date"},
        {"A~n", "", false, "", "A~n", "ERROR: Invalid character found in text: ~|"},
        {"\t", "", true, "", "", ""},
        // What the stack file cannot hold is refused, not dropped.
        {"N\u00e4me \u2603", "", false, "", "N\u00e4me \u2603",
         "ERROR: Invalid character found in text: \u00e4\u2603\r\rA card holds only letters "
         "without accents, digits, spaces and the signs of an English keyboard"},
    };
    for (const auto& c : cases) {
        TtitleFM dialog(s);
        dialog.nameEdit->setText(QString::fromUtf8(c.name));
        dialog.dateEdit->setText(c.date);
        dialog.okSBClick();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.name << c.date;
        EXPECT_EQ(dialog.dateEdit->text(), c.dateAfter);
        EXPECT_EQ(dialog.nameEdit->text(), QString::fromUtf8(c.nameAfter));
        if (*c.message) {
            EXPECT_EQ(win.messages.LastText(), QString::fromUtf8(c.message));
        }
    }
    TtitleFM dialog(s);
    dialog.PutTitle("", "", "");
    EXPECT_EQ(dialog.dateEdit->text(), TodayText());
}

TEST(MarkedCardEditor, MarksSaveAndPrintSevenCardsOnTwoPages) {
    Window win;
    WriteCardPictures(win);
    win.Start();
    Services s;
    s.ProgramFolder = win.File("");
    s.Messages = &win.messages;
    s.Printers = &win.printers;
    s.Files = &win.files;
    TCardStack stack;
    TprgCrdFM editor(s, stack);
    editor.show();
    ASSERT_TRUE(editor.PictureLoaded());
    EXPECT_EQ(editor.FileLabel()->text(), "[..]");
    const QPoint mark(cardgrid::kColumnX[0] + 3, cardgrid::kRowY[2] + 3);
    editor.CardClick(mark, MarkButton::Left);
    EXPECT_EQ(editor.Card().Rows[2], 64);
    EXPECT_TRUE(editor.Modified());
    EXPECT_EQ(editor.CardList()->item(0)->text(), "Card: 01 [Used]");
    editor.instLBDblClick(keypos::Add - 1);
    EXPECT_EQ(editor.Card().Rows[2], 27);
    for (int card = 1; card < 7; ++card) {
        editor.cardsLBClick(card);
        editor.instLBDblClick(keypos::Sqrt - 1);
    }
    const QString path = win.File("seven.ocf");
    win.files.Script(path);
    ASSERT_TRUE(editor.SaveClick());
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(editor.FileLabel()->text(), "seven");
    TCardStack back;
    CardLines lines;
    ASSERT_TRUE(back.LoadStackFile(path.toStdString(), lines));
    EXPECT_EQ(back.UsedCount(), 7);

    const QString pdf = win.File("cards.pdf");
    win.messages.Script(MessageAnswer::Yes);
    win.printers.Script(pdf);
    editor.PrintClick();
    EXPECT_EQ(win.messages.LastText(), "2 pages will be printed\r\rContinue?");
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished());
    EXPECT_TRUE(QString(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2")));
    EXPECT_EQ(editor.Card().Current, 6); // the card current before printing
}

TEST(MarkedCardEditor, ViewerExportReadsBackThroughTheReader) {
    Window win;
    WriteCardPictures(win);
    TmainFM& w = win.Start();
    win.PowerOn();
    w.SetModeSwitch(true);
    // A program of 30 steps and END: two cards.
    auto& calc = w.Engine();
    for (int s = 0; s < 30; ++s)
        calc.RegisterFile[static_cast<size_t>(s / 14)][s % 14] = KeyCodeOf[keypos::Digit7];
    calc.RegisterFile[2][2] = 38;
    const QString stackPath = win.File("export.ocf");
    win.files.Script(stackPath);
    QTimer::singleShot(0, &w, [&] {
        auto* viewer = qobject_cast<TviewFM*>(QApplication::activeModalWidget());
        ASSERT_TRUE(viewer);
        AnswerNextDialog<TtitleFM>(viewer, [viewer](TtitleFM& d) {
            // Over the viewer that asked, not where the unseen editor would put it.
            EXPECT_LE((d.geometry().center() - viewer->geometry().center()).manhattanLength(), 2);
            d.nameEdit->setText("Me");
            d.okSBClick();
        });
        viewer->OpticalCardClick();
        viewer->close();
    });
    w.ViewProgramMemory();
    TCardStack stack;
    CardLines lines;
    ASSERT_TRUE(stack.LoadStackFile(stackPath.toStdString(), lines));
    EXPECT_EQ(stack.UsedCount(), 2);
    EXPECT_EQ(stack.Titles.Name, "Me");

    for (auto& reg : calc.RegisterFile)
        reg = TCalcRegister{};
    calc.PcRow = calc.PcStep = 0;
    TcardReadFM* reader = OpenReader(w);
    win.files.Script(stackPath);
    reader->LoadStackClick();
    auto* timer = reader->findChild<QTimer*>("cardTimer");
    for (int card = 0; card < 2; ++card) {
        reader->cardFeedClick();
        while (timer->isActive())
            QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    }
    EXPECT_EQ(calc.RegisterFile[1][13] & 63, KeyCodeOf[keypos::Digit7]);
    EXPECT_EQ(calc.RegisterFile[2][2] & 63, 38);
}

namespace {
Services EditorServices(Window& win) {
    Services s;
    s.ProgramFolder = win.File("");
    s.Messages = &win.messages;
    s.Files = &win.files;
    return s;
}
} // namespace

// A changed stack is offered for saving before New, Open, a text import and closing: Cancel
// stops the action, No lets it go on, Yes saves first and goes on only when the save worked.
TEST(MarkedCardEditor, SaveQuestionBeforeNewOpenImportAndClose) {
    Window win;
    WriteCardPictures(win);
    const QString stackFile = QString::fromStdString(TwoCardStack(win));
    const QString textFile = win.File("prog.txt"), saved = win.File("saved.ocf");
    enum Action { New, Open, Import, Close };
    const struct {
        Action action;
        MessageAnswer answer;
        const char* saveTo; // the save dialog's answer after Yes; "" cancels it
        bool goesOn;
    } cases[] = {
        {New, MessageAnswer::Cancel, nullptr, false},    {New, MessageAnswer::No, nullptr, true},
        {Open, MessageAnswer::Cancel, nullptr, false},   {Open, MessageAnswer::Yes, "s", true},
        {Import, MessageAnswer::Cancel, nullptr, false}, {Import, MessageAnswer::No, nullptr, true},
        {Close, MessageAnswer::Cancel, nullptr, false},  {Close, MessageAnswer::Yes, "", false},
        {Close, MessageAnswer::Yes, "s", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "action " << c.action << " case " << (&c - cases));
        QFile::remove(saved);
        TCardStack stack;
        TprgCrdFM editor(EditorServices(win), stack);
        bool imported = false;
        editor.SetProgramTextReader([&imported](const QString&, QWidget*) {
            imported = true;
            return std::optional<std::vector<int>>(std::vector<int>(392, 1));
        });
        editor.show();
        editor.CardClick({cardgrid::kColumnX[0] + 3, cardgrid::kRowY[2] + 3}, MarkButton::Left);
        ASSERT_TRUE(editor.Modified());
        win.messages.Script(c.answer);
        if (c.saveTo) win.files.Script(*c.saveTo ? saved : QString());
        const bool dialogAfter = c.goesOn && (c.action == Open || c.action == Import);
        if (dialogAfter) win.files.Script(c.action == Open ? stackFile : textFile);
        switch (c.action) {
        case New: editor.NewClick(); break;
        case Open: editor.OpenClick(); break;
        case Import: editor.TextFileClick(); break;
        case Close: editor.reject(); break;
        }
        EXPECT_EQ(win.messages.LastText(), "Program data has changed\r\rSave changes?");
        EXPECT_EQ(QFile::exists(saved), c.saveTo && *c.saveTo);
        const bool wentOn = c.action == New      ? editor.Card().Rows[2] == 0
                            : c.action == Open   ? editor.FileName() == stackFile
                            : c.action == Import ? imported
                                                 : !editor.isVisible();
        EXPECT_EQ(wentOn, c.goesOn);
        EXPECT_EQ(editor.Modified(), !c.goesOn);
    }
}

TEST(MarkedCardEditor, AStackMadeFromATextIsProposedBesideIt) {
    Window win;
    WriteCardPictures(win);
    TCardStack stack;
    TprgCrdFM editor(EditorServices(win), stack);
    editor.SetProgramTextReader([](const QString&, QWidget*) {
        return std::optional<std::vector<int>>(std::vector<int>(392, 1));
    });
    editor.show();
    win.files.Script(win.File("sinx.v2.txt"));
    editor.TextFileClick();
    EXPECT_EQ(editor.FileLabel()->text(), "sinx");
    EXPECT_EQ(stack.Titles.Title, "sinx");
    win.files.Script(QString());
    EXPECT_FALSE(editor.SaveClick());
    EXPECT_EQ(win.files.asked.back().Start, win.File("sinx.v2.ocf"));
}

// A stack dropped on the editor opens in it, after the save question, as Open opens it; a
// listing is made into cards as Text makes them.
TEST(MarkedCardEditor, ADroppedStackOpensAndADroppedListingIsMadeIntoCards) {
    Window win;
    WriteCardPictures(win);
    const QString stackFile = QString::fromStdString(TwoCardStack(win));
    TCardStack stack;
    TprgCrdFM editor(EditorServices(win), stack);
    editor.SetProgramTextReader([](const QString&, QWidget*) {
        return std::optional<std::vector<int>>(std::vector<int>(392, 1));
    });
    editor.show();
    auto drop = [&editor](const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        // As a real drag, it enters first: the toolkit drops only where a drag entered.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&editor, &enter);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&editor, &event);
        QCoreApplication::processEvents(); // the files open once the drop has ended
        return event.isAccepted();
    };
    editor.CardClick({cardgrid::kColumnX[0] + 3, cardgrid::kRowY[2] + 3}, MarkButton::Left);
    win.messages.Script(MessageAnswer::No);
    ASSERT_TRUE(drop(stackFile));
    EXPECT_EQ(win.messages.LastText(), "Program data has changed\r\rSave changes?");
    EXPECT_EQ(editor.FileName(), stackFile);
    EXPECT_TRUE(stack.Used[1]);
    ASSERT_TRUE(drop(win.File("sinx.txt")));
    EXPECT_EQ(editor.FileName(), win.File("sinx.ocf"));
    EXPECT_EQ(stack.Titles.Title, "sinx");
}

TEST(MarkedCardEditor, EraseClearsTheCardOnlyAfterYes) {
    Window win;
    WriteCardPictures(win);
    TCardStack stack;
    TprgCrdFM editor(EditorServices(win), stack);
    editor.show();
    editor.CardClick({cardgrid::kBoxLeft + 2, cardgrid::kBoxTop + 2}, MarkButton::Left);
    editor.instLBDblClick(keypos::Add - 1);
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        win.messages.Script(answer);
        editor.EraseClick();
        EXPECT_EQ(win.messages.LastText(), "This will erase all marks on this card\r\rContinue");
        const bool erased = answer == MessageAnswer::Yes;
        EXPECT_EQ(editor.Lines()[0].empty(), erased);
        EXPECT_EQ(stack.Used[0], !erased);
        EXPECT_EQ(stack.Row29[0], !erased);
        EXPECT_EQ(editor.Card().Rows[0] == 0, erased);
        EXPECT_EQ(editor.CardList()->item(0)->text(), erased ? "Card: 01" : "Card: 01 [Used]");
    }
}

// A stack is written only under its own extension: a name chosen with another file kind's
// extension has it corrected, one without any gets it, and a corrected name that exists is
// asked about, as the dialog asks about the name chosen.
TEST(MarkedCardEditor, SaveWritesAStackOnlyUnderItsOwnExtension) {
    const struct {
        const char* typed;
        const char* written;        // null when nothing is written
        MessageAnswer replace = {}; // the answer about an existing corrected name
    } cases[] = {
        {"prog.txt", "prog.ocf"},
        {"prog.MCF", "prog.ocf"},
        {"v1.2 sum", "v1.2 sum.ocf"},
        {"kept.OCF", "kept.OCF"},
        {"old.txt", nullptr, MessageAnswer::No},
        {"old.txt", "old.ocf", MessageAnswer::Yes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Window win;
        WriteCardPictures(win);
        for (const char* other : {"prog.txt", "prog.MCF", "old.txt", "old.ocf"}) {
            QFile file(win.File(other));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("keep me\r\n");
        }
        TCardStack stack;
        TprgCrdFM editor(EditorServices(win), stack);
        editor.show();
        editor.CardClick({cardgrid::kColumnX[0] + 3, cardgrid::kRowY[2] + 3}, MarkButton::Left);
        win.files.Script(win.File(c.typed));
        if (c.replace != MessageAnswer{}) win.messages.Script(c.replace);
        EXPECT_EQ(editor.SaveClick(), c.written != nullptr);
        if (c.replace != MessageAnswer{}) {
            EXPECT_EQ(win.messages.LastText(),
                      "old.ocf already exists.\r\rDo you want to replace it?");
        }
        for (const char* other : {"prog.txt", "prog.MCF", "old.txt"}) {
            QFile file(win.File(other));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), "keep me\r\n") << other;
        }
        if (!c.written) continue;
        EXPECT_EQ(editor.FileName(), win.File(c.written));
        TCardStack back;
        CardLines lines;
        EXPECT_TRUE(back.LoadStackFile(win.File(c.written).toStdString(), lines));
        EXPECT_TRUE(back.Used[0]);
    }
}

// However the list's current card was chosen, the card shown is that card, and the marks and
// Erase act on it.
TEST(MarkedCardEditor, TheCardShownFollowsTheListsCurrentCard) {
    const struct {
        Qt::Key key;
        int presses;
        int card; // index of the card current after the presses, from card 96
    } cases[] = {
        {Qt::Key_Up, 2, 93},  {Qt::Key_Down, 1, 96},   {Qt::Key_Home, 1, 0},
        {Qt::Key_End, 1, 98}, {Qt::Key_PageUp, 1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        Window win;
        WriteCardPictures(win);
        TCardStack stack;
        TprgCrdFM editor(EditorServices(win), stack);
        editor.show();
        QListWidget* list = editor.CardList();
        list->scrollToItem(list->item(95));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(95)).center());
        ASSERT_EQ(editor.Card().Current, 95);
        for (int i = 0; i < c.presses; ++i)
            QTest::keyClick(list, c.key);
        const int card = list->currentRow();
        if (c.card >= 0) {
            EXPECT_EQ(card, c.card);
        }
        ASSERT_NE(card, 95);
        EXPECT_EQ(editor.Card().Current, card);
        editor.CardClick({cardgrid::kColumnX[0] + 3, cardgrid::kRowY[2] + 3}, MarkButton::Left);
        EXPECT_TRUE(stack.Used[static_cast<size_t>(card)]);
        EXPECT_FALSE(stack.Used[95]);
        EXPECT_EQ(list->item(card)->text().right(6), "[Used]");
        stack.Used[95] = true; // a used card that Erase must leave alone
        win.messages.Script(MessageAnswer::Yes);
        editor.EraseClick();
        EXPECT_FALSE(stack.Used[static_cast<size_t>(card)]);
        EXPECT_TRUE(stack.Used[95]);
    }
}

TEST(MarkedCardEditor, WithoutItsPictureItSaysSoAndCloses) {
    Window win;
    TCardStack stack;
    TprgCrdFM editor(EditorServices(win), stack);
    editor.show();
    EXPECT_EQ(win.messages.LastText(), "ERROR: Could not load data file");
    EXPECT_FALSE(editor.PictureLoaded());
    QCoreApplication::processEvents();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.result(), QDialog::Rejected);
}

TEST(CardPictures, CaptionAndTrayStandInsideTheirOutlines) {
    // The blank card's caption under the title strip stands whole above the card's lower edge.
    const QImage card = cardart::RenderBlankCard();
    const QRgb cream = card.pixel(10, 10);
    auto inked = [&card, cream](int y) {
        for (int x = 3; x < 120; ++x)
            if (card.pixel(x, y) != cream) return true;
        return false;
    };
    bool caption = false;
    for (int y = card.height() - 11; y < card.height() - 2; ++y)
        caption = caption || inked(y);
    EXPECT_TRUE(caption);
    EXPECT_FALSE(inked(card.height() - 2)) << "the caption runs into the edge";
    // The reader's case is its outline: on each row, away from the rounded corners, the last
    // pixel before the sky on the right is the case's own edge, as on the left.
    const QImage reader = readerart::RenderReader();
    for (int y = 30; y <= 230; ++y) {
        if (y > 120 && y < 145) continue;
        int x = reader.width() - 1;
        while (x > 0 && reader.pixelColor(x, y) == readerart::kSky)
            --x;
        EXPECT_EQ(reader.pixel(x, y), reader.pixel(10, y)) << "row " << y;
    }
}
