// The card slot on the calculator window: the "Magnetic Card" menu, the card keys and the
// cycle run by the card timer, start-up and the close question.
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "cards/magnetic/cardnames.h"
#include "engine/null_host.h"
#include "panel/pictures.h"
#include "panel/scene.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {

QAction* CardAction(TmainFM& w, const QString& text) {
    for (QAction* entry : w.PopupMenu()->actions())
        if (entry->menu() && entry->text() == "Magnetic Card")
            for (QAction* action : entry->menu()->actions())
                if (action->text() == text) return action;
    throw std::logic_error("no card menu entry " + text.toStdString());
}
void Trigger(TmainFM& w, const QString& text) {
    QAction* action = CardAction(w, text);
    ASSERT_TRUE(action->isEnabled()) << text.toStdString();
    action->trigger();
}
QPoint Centre(const layout::Box& b) {
    return QPoint((b.X1 + b.X2) / 2, (b.Y1 + b.Y2) / 2);
}
const QPoint kRecord = Centre(layout::kCardRecordArea);
const QPoint kEnter = Centre(layout::kCardEnterArea);

// A window switched on with a new card whose side A holds a recorded program, not saved.
struct Slot {
    Window win;
    TmainFM& w = win.Start();
    Slot() {
        win.PowerOn();
        w.Cards().SetNamesEditor([this](QString& a, QString& b) {
            a = nameA;
            b = nameB;
            return true;
        });
        Trigger(w, "New");
    }
    ~Slot() {
        // The close question of a card left modified, with the power on or off, is not what
        // these tests are about.
        if (w.isVisible() && Card().cardModified) win.messages.Script(MessageAnswer::No);
        win.Close();
    }
    const TMagneticCard& Card() { return w.Cards().Card(); }
    void Program(std::initializer_list<int> codes) {
        int step = 0;
        for (int code : codes)
            w.Engine().RegisterFile[0][step++] = code;
    }
    void Record() {
        win.Click(kRecord);
        win.FireUntilStopped("cardTimer");
    }
    QString nameA = "sine", nameB = "cosine";
};

} // namespace

TEST(CardMenu, EntriesFollowThePowerAndTheCard) {
    Window win;
    TmainFM& w = win.Start();
    for (const char* entry : {"New", "Swap", "Eject", "Load", "Save"})
        EXPECT_FALSE(CardAction(w, entry)->isEnabled()) << entry;
    EXPECT_FALSE(CardAction(w, "Card A Write Protect")->isEnabled());
    EXPECT_FALSE(CardAction(w, "[]")->isEnabled());
    win.PowerOn();
    for (const char* entry : {"New", "Swap", "Eject", "Load", "Save"})
        EXPECT_TRUE(CardAction(w, entry)->isEnabled()) << entry;
    EXPECT_FALSE(CardAction(w, "Card B Write Protect")->isEnabled()) << "no card yet";
    Trigger(w, "New");
    EXPECT_TRUE(CardAction(w, "Card B Write Protect")->isEnabled());
    EXPECT_TRUE(w.Scene().IsShown("card_view"));
    w.SetPowerSwitch(false);
    win.Fire("ChgModeTimer");
    EXPECT_FALSE(CardAction(w, "Load")->isEnabled());
}

TEST(CardMenu, NewAndEjectAskAboutAModifiedCard) {
    for (const char* command : {"New", "Eject"}) {
        Slot s;
        s.Program({5, kEndCode});
        s.Record();
        ASSERT_TRUE(s.Card().cardModified);
        s.win.messages.Script(MessageAnswer::No);
        Trigger(s.w, command);
        EXPECT_EQ(s.win.messages.LastText(), "Confirm:\r\rProgram has not been saved - Continue?");
        EXPECT_EQ(s.Card().cardStepsA, (std::vector<int>{5, kEndCode})) << command;
        s.win.messages.Script(MessageAnswer::Yes);
        Trigger(s.w, command);
        EXPECT_TRUE(s.Card().cardStepsA.empty()) << command;
        EXPECT_EQ(s.Card().cardPresent, std::string(command) == "New");
        EXPECT_EQ(s.w.Scene().IsShown("card_side"), std::string(command) == "New");
    }
}

TEST(CardMenu, SaveAsksFileAndNamesAndLoadAsksAboutAModifiedCard) {
    Slot s;
    s.Program({1, 2, kEndCode});
    s.Record();
    const QString file = s.win.File("sine.old.mcf");
    s.win.files.Script(file);
    Trigger(s.w, "Save");
    ASSERT_EQ(s.win.files.asked.size(), 1u);
    EXPECT_EQ(s.win.files.asked[0].Caption, "Save Magnetic Card File");
    EXPECT_EQ(s.win.files.asked[0].Start, "*.mcf");
    EXPECT_EQ(s.win.files.asked[0].DefaultSuffix, "mcf");
    EXPECT_EQ(CardAction(s.w, "[sine]")->text(), "[sine]");
    EXPECT_FALSE(s.Card().cardModified);
    EXPECT_EQ(s.Card().cardNameA, "sine");

    s.Program({9, kEndCode});
    s.Record(); // modified again: Load asks first, and Cancel keeps the recording
    const std::vector<int> recorded = s.Card().cardStepsA;
    s.win.messages.Script(MessageAnswer::Cancel);
    Trigger(s.w, "Load");
    EXPECT_EQ(s.win.messages.LastText(), "Program Card has not been saved\r\rSave changes?");
    EXPECT_EQ(s.win.files.asked.size(), 1u) << "no file dialog after Cancel";
    EXPECT_EQ(s.Card().cardStepsA, recorded);
    EXPECT_TRUE(s.Card().cardModified);
    s.win.messages.Script(MessageAnswer::No);
    s.win.files.Script(file);
    Trigger(s.w, "Load");
    EXPECT_EQ(s.win.files.asked[1].Caption, "Open Magnetic Card File");
    EXPECT_EQ(s.Card().cardStepsA, (std::vector<int>{1, 2, kEndCode}));
    EXPECT_FALSE(s.Card().cardModified);
    // The next save starts from the file chosen in the load dialog.
    s.win.files.Script(QString());
    Trigger(s.w, "Save");
    EXPECT_EQ(s.win.files.asked[2].Start, file);
}

TEST(CardMenu, SaveWritesACardOnlyUnderItsOwnExtension) {
    Slot s;
    const QString listing = s.win.File("sine.txt");
    QFile file(listing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("+0.0 33 Add\r\n");
    file.close();
    s.win.files.Script(listing);
    Trigger(s.w, "Save");
    EXPECT_TRUE(s.win.Exists("sine.mcf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "+0.0 33 Add\r\n");
    EXPECT_EQ(CardAction(s.w, "[sine]")->text(), "[sine]");
    // Once more: the corrected name exists now, and is not replaced without a Yes.
    s.win.files.Script(listing);
    s.win.messages.Script(MessageAnswer::No);
    Trigger(s.w, "Save");
    EXPECT_EQ(s.win.messages.LastText(), "sine.mcf already exists.\r\rDo you want to replace it?");
}

TEST(CardMenu, CancelInTheNamesDialogCancelsTheSave) {
    Slot s;
    s.Program({1, kEndCode});
    s.Record();
    s.w.Cards().SetNamesEditor([](QString& a, QString&) {
        a = "changed";
        return false;
    });
    s.win.files.Script(s.win.File("c.mcf"));
    Trigger(s.w, "Save");
    EXPECT_FALSE(s.win.Exists("c.mcf"));
    EXPECT_TRUE(s.Card().cardModified);
    EXPECT_EQ(s.Card().cardNameA, "");
    EXPECT_EQ(CardAction(s.w, "[]")->text(), "[]");
}

TEST(CardMenu, FileThatFailsToLoadIsReportedAndKeepsTheCard) {
    const char* const corrupt = "ERROR: Program file data is corrupt";
    const char* const notCard = "not a magnetic card file, or a damaged one";
    const struct {
        const char* name;
        const char* message;
        const char* reason;
    } cases[] = {
        {"bad.mcf", corrupt, notCard},  // step 64
        {"text.mcf", corrupt, notCard}, // not a card file
        {"missing.mcf", "ERROR: Failed to open program file", "No such file or directory"},
    };
    for (const auto& c : cases) {
        Slot s;
        s.Program({7, kEndCode});
        s.Record();
        SaveScrambledTextList(s.win.File("bad.mcf"), QStringList{"a", "b", "0", "0", "64"});
        QFile text(s.win.File("text.mcf"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("+0.0 33 Add\r\n");
        text.close();
        s.win.messages.Script(MessageAnswer::No);
        s.win.files.Script(s.win.File(c.name));
        Trigger(s.w, "Load");
        EXPECT_EQ(s.win.messages.LastText(),
                  QString(c.message) + "\r\r" + s.win.File(c.name) + "\r\r" + c.reason)
            << c.name;
        EXPECT_EQ(s.Card().cardStepsA, (std::vector<int>{7, kEndCode})) << c.name;
        EXPECT_TRUE(s.Card().cardModified && s.Card().cardPresent) << c.name;
        EXPECT_TRUE(s.w.Scene().IsShown("card_view")) << c.name;
    }
}

TEST(CardMenu, CorruptRememberedCardIsNamedOnceTheCalculatorShows) {
    Window win;
    const QString file = win.File("kept.mcf");
    {
        TmainFM& w = win.Start();
        win.PowerOn();
        w.Cards().SetNamesEditor([](QString&, QString&) { return true; });
        Trigger(w, "New");
        win.files.Script(file);
        Trigger(w, "Save");
        ASSERT_TRUE(win.Close());
    }
    SaveScrambledTextList(file, QStringList{"a", "b", "0", "0", "99"});
    TmainFM& w = win.Start();
    win.Pump();
    EXPECT_EQ(win.messages.LastText(), "ERROR: Program file data is corrupt\r\r" + file +
                                           "\r\rnot a magnetic card file, or a damaged one");
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.Cards().Card().cardPresent);
}

TEST(CardSlot, ProtectedSideRefusesToRecord) {
    Slot s;
    Trigger(s.w, "Card A Write Protect");
    EXPECT_TRUE(CardAction(s.w, "Card A Write Protect")->isChecked());
    Trigger(s.w, "Swap"); // side B is not protected
    s.Program({3, kEndCode});
    s.Record();
    EXPECT_EQ(s.Card().cardStepsB, (std::vector<int>{3, kEndCode}));
    Trigger(s.w, "Swap");
    s.win.Click(kRecord);
    EXPECT_EQ(s.win.messages.LastText(), "Card A is write protected");
    EXPECT_FALSE(s.win.Fire("cardTimer"));
    EXPECT_TRUE(s.Card().cardStepsA.empty());
}

TEST(CardSlot, CycleHidesTheLabelsAndEntersTheSide) {
    Slot s;
    s.Program({4, kEndCode});
    s.Record();
    s.w.Engine().RegisterFile[0] = TCalcRegister{};
    s.w.Engine().PcRow = s.w.Engine().PcStep = 0;
    s.win.sounds.played.clear();
    s.win.Click(kEnter);
    EXPECT_EQ(s.win.sounds.played, (QStringList{"s1d", "cfd"}));
    auto* label = s.w.findChild<QLabel*>();
    ASSERT_TRUE(label);
    EXPECT_TRUE(label->isHidden());
    const QImage atRest = s.w.Cards().View();
    EXPECT_TRUE(s.win.Fire("cardTimer"));
    EXPECT_NE(s.w.Cards().View(), atRest) << "the card moves in";
    EXPECT_EQ(s.win.FireUntilStopped("cardTimer"), 15);
    EXPECT_EQ(s.w.Engine().RegisterFile[0][0], 4);
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(s.w.Cards().View(), atRest);
}

TEST(CardSlot, PowerOffInMidCycleLeavesTheCardAtRest) {
    for (int ticks : {3, 8}) {
        Slot s;
        s.Program({6, kEndCode});
        const QImage atRest = s.w.Cards().View();
        s.win.Click(kRecord);
        for (int i = 0; i < ticks; ++i)
            s.win.Fire("cardTimer");
        s.w.SetPowerSwitch(false);
        s.win.Fire("ChgModeTimer");
        EXPECT_FALSE(s.w.Cards().Cycling());
        EXPECT_EQ(s.w.Cards().View(), atRest);
        EXPECT_EQ(s.Card().cardStepsA.empty(), ticks < 6) << ticks;
        EXPECT_FALSE(s.w.findChild<QLabel*>()->isHidden());
    }
}

TEST(CardSlot, MenuCommandsEndACycleFirst) {
    for (const char* command : {"Eject", "New", "Swap", "Load"}) {
        Slot s;
        s.win.Click(kEnter);
        s.win.Fire("cardTimer");
        if (std::string(command) == "Load") s.win.files.Script(QString());
        Trigger(s.w, command);
        EXPECT_FALSE(s.w.Cards().Cycling() && std::string(command) != "Load") << command;
        if (std::string(command) == "Load") continue; // cancelled: the cycle goes on
        EXPECT_TRUE(s.w.Engine().DisplayOn) << command;
        // A new cycle can start at once.
        if (s.Card().cardPresent) {
            s.win.Click(kEnter);
            EXPECT_TRUE(s.w.Cards().Cycling()) << command;
        }
    }
}

// While a program runs the slot refuses its keys and its whole menu, saying why, as keyrun
// refuses the card tokens; the card stays as it was.
TEST(CardSlot, WhileAProgramRunsTheSlotRefusesWithAMessage) {
    const std::vector<std::pair<const char*, std::function<void(Slot&)>>> commands = {
        {"record", [](Slot& s) { s.win.Click(kRecord); }},
        {"enter", [](Slot& s) { s.win.Click(kEnter); }},
        {"New", [](Slot& s) { Trigger(s.w, "New"); }},
        {"Swap", [](Slot& s) { Trigger(s.w, "Swap"); }},
        {"Eject", [](Slot& s) { Trigger(s.w, "Eject"); }},
        {"Load", [](Slot& s) { Trigger(s.w, "Load"); }},
        {"Save", [](Slot& s) { Trigger(s.w, "Save"); }},
        {"protect", [](Slot& s) { Trigger(s.w, "Card A Write Protect"); }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        Slot s;
        s.Program({5, kEndCode});
        s.Record();
        s.w.Engine().Running = true;
        command(s);
        EXPECT_EQ(s.win.messages.LastText(), kSlotRunningRefusal);
        EXPECT_FALSE(s.w.Cards().Cycling());
        EXPECT_TRUE(s.Card().cardPresent);
        EXPECT_TRUE(s.Card().cardSide);
        EXPECT_EQ(s.Card().cardStepsA, (std::vector<int>{5, kEndCode}));
        EXPECT_FALSE(s.Card().protectA);
        EXPECT_FALSE(CardAction(s.w, "Card A Write Protect")->isChecked());
        EXPECT_TRUE(s.win.files.asked.empty());
        s.w.Engine().Running = false;
    }
    // A card file dropped on the window or named on the command line is refused the same way.
    Slot s;
    s.w.Engine().Running = true;
    EXPECT_EQ(s.w.Cards().OpenCardFile(s.win.File("none.mcf")).Message, kSlotRunningRefusal);
    s.w.Engine().Running = false;
}

TEST(CardSlot, KeysWithoutACardOnlySpringBack) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    win.sounds.played.clear();
    win.Click(kRecord);
    EXPECT_EQ(win.sounds.played, (QStringList{"s1d", "s1u"}));
    EXPECT_FALSE(w.Cards().Cycling());
    win.messages.Messages(); // nothing was shown
    Trigger(w, "Swap");
    EXPECT_EQ(win.messages.LastText(), "A card is not in the reader slot");
}

TEST(CardClose, NoStillSavesTheStateAndCancelKeepsTheWindow) {
    Slot s;
    s.Program({2, kEndCode});
    s.Record();
    s.win.messages.Script(MessageAnswer::Cancel);
    EXPECT_FALSE(s.win.Close());
    EXPECT_FALSE(s.win.Exists(files::kMachineState));
    s.win.messages.Script(MessageAnswer::No);
    EXPECT_TRUE(s.win.Close());
    EXPECT_EQ(s.win.messages.LastText(), "Program Card has not been saved\r\rSave changes?");
    EXPECT_TRUE(s.win.Exists(files::kMachineState));
    EXPECT_TRUE(s.win.Exists(files::kPaperRoll));
    EXPECT_TRUE(s.win.Exists(files::kPanelSettings));
}

TEST(CardClose, YesSavesTheCardAndStartUpLoadsItWithItsSide) {
    Window win;
    {
        TmainFM& w = win.Start();
        win.PowerOn();
        w.Cards().SetNamesEditor([](QString&, QString&) { return true; });
        Trigger(w, "New");
        Trigger(w, "Swap");
        w.Engine().RegisterFile[0][0] = kEndCode;
        win.Click(kRecord);
        win.FireUntilStopped("cardTimer");
        win.messages.Script(MessageAnswer::Yes);
        win.files.Script(win.File("kept.mcf"));
        ASSERT_TRUE(win.Close());
    }
    TmainFM& w = win.Start();
    EXPECT_TRUE(w.Cards().Card().cardPresent);
    EXPECT_FALSE(w.Cards().Card().cardSide);
    EXPECT_EQ(w.Cards().Card().cardStepsB, std::vector<int>{kEndCode});
    EXPECT_EQ(CardAction(w, "[kept]")->text(), "[kept]");
}

TEST(CardNames, FieldsHoldTwentyFiveCleanCharacters) {
    TcardFM dialog;
    EXPECT_EQ(dialog.windowTitle(), "Card Names");
    dialog.PutNames(QString(30, 'x'), "a\tb\x01");
    EXPECT_EQ(dialog.Edit1->text().size(), 25);
    dialog.PutNames("", "a\tb\x01");
    auto* ok = dialog.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(ok);
    ok->button(QDialogButtonBox::Ok)->click();
    QString a, b;
    dialog.GetNames(a, b);
    EXPECT_EQ(b, "a b");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    dialog.PutNames("   ", "");
    ok->button(QDialogButtonBox::Ok)->click();
    dialog.GetNames(a, b);
    EXPECT_EQ(a, "");
}

// What the card file cannot hold is refused, naming it, and the dialog stays open; nothing is
// dropped without a word.
TEST(CardNames, CharactersBeyondAsciiAreRefused) {
    const struct {
        const char* a;
        const char* b;
        const char* refused; // the characters named, or null when OK closes the dialog
    } cases[] = {
        {"N\u00e4me", "", "\u00e4"},
        {"ok", "\u2603 sn\u00f6w \u2603", "\u2603\u00f6"},
        {"caf\u00e9", "\U0001F600", "\u00e9"}, // side A first
        {"~plain|", "v1.2 sum", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.b);
        orrindale::testing::ScriptedMessenger messages;
        TcardFM dialog(nullptr, &messages);
        dialog.PutNames(QString::fromUtf8(c.a), QString::fromUtf8(c.b));
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.refused == nullptr);
        if (!c.refused) {
            EXPECT_TRUE(messages.Messages().empty());
            continue;
        }
        EXPECT_TRUE(messages.LastText().startsWith(
            "ERROR: Invalid character found in text: " + QString::fromUtf8(c.refused) + "\r\r"));
        QString a, b;
        dialog.GetNames(a, b);
        EXPECT_EQ(b, QString::fromUtf8(c.b)) << "kept for the user to mend";
    }
}

TEST(CardNames, OpensOverItsWindowWideEnoughForAWholeName) {
    QWidget asker;
    asker.setGeometry(300, 200, 740, 505);
    asker.show();
    TcardFM dialog(&asker);
    dialog.PutNames(QString(25, 'W'), "");
    dialog.show();
    EXPECT_LE((dialog.geometry().center() - asker.geometry().center()).manhattanLength(), 2);
    EXPECT_GE(dialog.Edit1->width(),
              QFontMetrics(dialog.Edit1->font()).horizontalAdvance(QString(25, 'W')));
}

namespace {

// A slot of its own with its pictures at one scale, as the window makes it on a screen of that
// device pixel ratio.
struct SlotAtScale {
    explicit SlotAtScale(int scale) : slot(calc, scene, services, WindowAt(scale)) {
        services.Messages = &messages;
        services.Sounds = &sounds;
        calc.PowerOn = true;
        slot.PlacePictures();
    }
    static CardSlot::Window WindowAt(int scale) {
        CardSlot::Window window;
        window.Repaint = [](QRect) {};
        window.ShowKeyLabels = [](bool) {};
        window.PictureScale = [scale] { return scale; };
        return window;
    }
    void Fire(int ticks) {
        auto* timer = slot.findChild<QTimer*>("cardTimer");
        for (int i = 0; i < ticks; ++i)
            QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    }
    NullEngineHost host;
    Calculator calc{host};
    PanelScene scene;
    orrindale::testing::ScriptedMessenger messages;
    orrindale::testing::RecordingSoundPlayer player;
    SoundSwitch sounds{player};
    Services services;
    CardSlot slot;
};

// The mean difference of the channels of two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// The first and last rows, in logical pixels, with ink of the written name in an area.
std::pair<int, int> InkRows(const QImage& picture, const QRect& area) {
    const int scale = static_cast<int>(picture.devicePixelRatio());
    int first = -1, last = -1;
    for (int y = area.top() * scale; y <= area.bottom() * scale; ++y)
        for (int x = area.left() * scale; x <= area.right() * scale; ++x)
            if (qGray(picture.pixel(x, y)) < 128) { // darker than the card's edge and lines
                if (first < 0) first = y / scale;
                last = y / scale;
            }
    return {first, last};
}

} // namespace

TEST(CardSlot, AtTwiceTheCardIsTheSameCardWithItsNameWrittenAtTwice) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/named.mcf";
    TMagneticCard card;
    card.cardNameA = "sine";
    card.cardNameB = "cosine";
    ASSERT_TRUE(card.SaveCardFile(NativePath(file)));
    SlotAtScale once(1), twice(2);
    for (SlotAtScale* s : {&once, &twice}) {
        s->slot.LoadCardFile(file, true);
        s->slot.StartCardCycle(CardMode::Enter);
        s->Fire(8); // half way in: the name strip is in view
    }
    const QImage& small = once.slot.View();
    const QImage& big = twice.slot.View();
    ASSERT_EQ(big.size(), small.size() * 2);
    ASSERT_EQ(big.devicePixelRatio(), 2);
    // Scaled down, the same picture but for the letters' hinting.
    EXPECT_LT(MeanDifference(
                  big.scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), small),
              5);
    // The name strip: the name as long as at 1x, but written at 2x rather than enlarged.
    const QRect strip(58, 0, 8, layout::kCardView.Height); // inside the strip's lines
    const auto [first, last] = InkRows(small, strip);
    ASSERT_GE(first, 0) << "no name written";
    const auto [first2x, last2x] = InkRows(big, strip);
    EXPECT_NEAR(first2x, first, 1);
    EXPECT_NEAR(last2x, last, 1);
    const QRect name(strip.left(), first, strip.width(), last - first + 1);
    const QRect name2x(name.topLeft() * 2, name.size() * 2);
    EXPECT_NE(big.copy(name2x), small.copy(name).scaled(name2x.size()));
}

TEST(CardSlot, TheNameOnTheCardIsTheWholeName) {
    // The ink of the name runs down the strip: a longer name runs further.
    const QRect strip(58, 0, 8, layout::kCardView.Height);
    std::vector<int> lengths;
    for (const char* name : {"v1", "v1.2 sum", "a/b.c d"}) {
        QTemporaryDir dir;
        const QString file = dir.path() + "/named.mcf";
        TMagneticCard card;
        card.cardNameA = name;
        ASSERT_TRUE(card.SaveCardFile(NativePath(file)));
        SlotAtScale s(1);
        s.slot.LoadCardFile(file, true);
        s.slot.StartCardCycle(CardMode::Enter);
        s.Fire(8);
        const auto [first, last] = InkRows(s.slot.View(), strip);
        ASSERT_GE(first, 0) << name;
        lengths.push_back(last - first);
    }
    EXPECT_GT(lengths[1], lengths[0] * 3) << "cut at its dot";
    EXPECT_GT(lengths[2], lengths[0] * 2) << "cut at its slash";
}
