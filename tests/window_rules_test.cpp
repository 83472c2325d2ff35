// Rules every window keeps. Escape closes a window only when its press and its release both
// reached that window: an Escape whose press closed a menu or a dialog must not close the
// window behind it, and a dialog closes on Escape wherever its focus is. A message box opens
// over the window the user works in. A peripheral window opens clear of the calculator and of
// the other open ones where the screen has room.
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTableWidget>
#include <functional>

#include "cards/magnetic/cardnames.h"
#include "cards/marked/cardeditor.h"
#include "cards/marked/cardtitle.h"
#include "cards/marked/readerart.h"
#include "common/escapeclose.h"
#include "common/messages.h"
#include "common/placement.h"
#include "memexp/instructioncard.h"
#include "memexp/memart.h"
#include "memexp/memorymap.h"
#include "plotter/plotart.h"
#include "plotter/tuner.h"
#include "viewer/view.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;
using orrindale::testing::WriteScrambledBytes;

namespace {

void SendEscape(QWidget* to, QEvent::Type type) {
    QKeyEvent e(type, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &e);
}

// Every window that closes on Escape, each made and shown beside a running calculator.
struct Windows {
    Window win;
    TmainFM* main = nullptr;
    Services services;
    std::vector<std::unique_ptr<QWidget>> owned;

    Windows() {
        orrindale::testing::WriteScrambledPng(win.File(files::kPlotterPicture), plotart::Body());
        orrindale::testing::WriteScrambledPng(win.File(files::kCardReaderPicture),
                                              readerart::RenderReader());
        QByteArray card;
        QBuffer buffer(&card);
        buffer.open(QIODevice::WriteOnly);
        cardart::RenderBlankCard().save(&buffer, "BMP");
        WriteScrambledBytes(win.File(files::kCardEditorPicture), card.toStdString());
        WriteScrambledBytes(win.File(files::kExtMemoryPicture),
                            memart::Bmp24(memart::RenderPanel()));
        main = &win.Start();
        services.ProgramFolder = win.File("");
        services.Messages = &win.messages;
        services.Documents = &win.opener;
        services.Bounds = &win.bounds;
        services.Printers = &win.printers;
        services.Files = &win.files;
    }
    QWidget* Peripheral(Peripherals::Kind kind) {
        main->PeripheralWindows().Open(kind);
        win.Pump();
        return main->PeripheralWindows().Window(kind);
    }
    template <typename W, typename... Args> QWidget* Own(Args&&... args) {
        owned.push_back(std::make_unique<W>(std::forward<Args>(args)...));
        return owned.back().get();
    }
};

} // namespace

TEST(Escape, EveryWindowClosesOnlyOnAWholeEscape) {
    using Kind = Peripherals::Kind;
    const std::vector<std::pair<const char*, std::function<QWidget*(Windows&)>>> windows = {
        {"calculator", [](Windows& w) { return static_cast<QWidget*>(w.main); }},
        {"plotter", [](Windows& w) { return w.Peripheral(Kind::Plotter); }},
        {"9101A panel", [](Windows& w) { return w.Peripheral(Kind::ExtMemory); }},
        {"memory map", [](Windows& w) { return w.Own<TmapFM>("Protect Line:   0"); }},
        {"instruction card", [](Windows& w) { return w.Own<TmmpnFM>(w.services); }},
        {"card reader", [](Windows& w) { return w.Peripheral(Kind::CardReader); }},
        {"paper viewer", [](Windows& w) { return static_cast<QWidget*>(&w.win.PaperWindow()); }},
        {"program viewer",
         [](Windows& w) { return w.Own<TviewFM>(w.services, ProgramMemoryOf(w.main->Engine())); }},
        {"card editor",
         [](Windows& w) {
             return w.Own<TprgCrdFM>(w.services, w.main->PeripheralWindows().CardStack());
         }},
        {"card names", [](Windows& w) { return w.Own<TcardFM>(); }},
        {"card title", [](Windows& w) { return w.Own<TtitleFM>(w.services); }},
        {"plotter speed", [](Windows& w) { return w.Own<TtunerFM>(); }},
    };
    for (const auto& [name, make] : windows) {
        SCOPED_TRACE(name);
        Windows w;
        QWidget* window = make(w);
        ASSERT_NE(window, nullptr);
        window->show();
        w.win.Pump();
        SendEscape(window, QEvent::KeyRelease); // its press closed a menu or a dialog
        w.win.Pump();
        EXPECT_TRUE(window->isVisible());
        SendEscape(window, QEvent::KeyPress);
        w.win.Pump();
        EXPECT_TRUE(window->isVisible()) << "closed on the press";
        SendEscape(window, QEvent::KeyRelease);
        w.win.Pump();
        EXPECT_FALSE(window->isVisible());
    }
}

// Keys go to the widget with the focus: a text field, a list. Escape there closes the dialog
// all the same; only a cell being edited keeps it, to cancel the edit.
TEST(Escape, ClosesADialogWhereverItsFocusIs) {
    const std::vector<std::pair<const char*, std::function<QWidget*(Windows&)>>> dialogs = {
        {"card names", [](Windows& w) { return w.Own<TcardFM>(); }},
        {"card title", [](Windows& w) { return w.Own<TtitleFM>(w.services); }},
        {"card editor",
         [](Windows& w) {
             return w.Own<TprgCrdFM>(w.services, w.main->PeripheralWindows().CardStack());
         }},
        {"card reader", [](Windows& w) { return w.Peripheral(Peripherals::Kind::CardReader); }},
    };
    for (const auto& [name, make] : dialogs) {
        // Each field and list of the dialog in turn, in a dialog of its own.
        for (int field = 0;; ++field) {
            SCOPED_TRACE(::testing::Message() << name << " field " << field);
            Windows w;
            QWidget* dialog = make(w);
            dialog->show();
            w.win.Pump();
            QList<QWidget*> fields;
            for (QWidget* child : dialog->findChildren<QWidget*>())
                if (qobject_cast<QLineEdit*>(child) || qobject_cast<QAbstractItemView*>(child))
                    fields.push_back(child);
            if (field >= fields.size()) {
                EXPECT_TRUE(field > 0 || std::string(name) == "card reader") << "no fields";
                break;
            }
            fields[field]->setFocus();
            SendEscape(fields[field], QEvent::KeyPress);
            SendEscape(fields[field], QEvent::KeyRelease);
            w.win.Pump();
            EXPECT_FALSE(dialog->isVisible());
        }
    }
    QDialog dialog;
    EscapeCloser::Install(&dialog);
    auto* table = new QTableWidget(1, 1, &dialog);
    table->setItem(0, 0, new QTableWidgetItem("7"));
    dialog.show();
    table->editItem(table->item(0, 0));
    auto* edit = table->findChild<QLineEdit*>();
    ASSERT_TRUE(edit);
    SendEscape(edit, QEvent::KeyPress);
    SendEscape(edit, QEvent::KeyRelease);
    EXPECT_TRUE(dialog.isVisible()) << "the cell's edit is cancelled, not the dialog";
}

TEST(Escape, APressBeforeTheWindowLostTheKeyboardDoesNotCount) {
    Window win;
    TmainFM& w = win.Start();
    win.KeyDown(Qt::Key_Escape);
    QEvent away(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&w, &away);
    win.KeyUp(Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
}

TEST(Escape, HeldAfterItsPressClosedABoxItsRepeatsCloseNothing) {
    Window win;
    TmainFM& w = win.Start();
    // The repeats of a held key come as a release and a press of one time stamp, here
    // unmarked as repeats, as the toolkit sometimes lets them through.
    for (const auto& [type, time] : {std::pair{QEvent::KeyRelease, 700},
                                     {QEvent::KeyPress, 700},
                                     {QEvent::KeyRelease, 740},
                                     {QEvent::KeyPress, 740},
                                     {QEvent::KeyRelease, 900}}) {
        QKeyEvent e(type, Qt::Key_Escape, Qt::NoModifier);
        e.setTimestamp(time);
        QCoreApplication::sendEvent(&w, &e);
    }
    EXPECT_TRUE(w.isVisible());
}

TEST(Escape, LeavesTheCalculatorOpenWhileThePlotterIs) {
    Windows w;
    ASSERT_NE(w.Peripheral(Peripherals::Kind::Plotter), nullptr);
    SendEscape(w.main, QEvent::KeyPress);
    SendEscape(w.main, QEvent::KeyRelease);
    EXPECT_TRUE(w.main->isVisible());
}

TEST(MessageBoxes, OpenOverTheWindowTheUserLastWorkedIn) {
    QWidget calculator, plotter, menu(nullptr, Qt::Popup);
    BoxMessenger boxes(&calculator);
    EXPECT_EQ(boxes.AskingWindow(), &calculator); // nothing touched yet
    auto* knob = new QWidget(&plotter);
    for (QWidget* w : {&calculator, &plotter, &menu})
        w->show();
    const auto press = [](QWidget* w) {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    };
    press(knob);
    EXPECT_EQ(boxes.AskingWindow(), &plotter);
    press(&menu); // a menu is never the window that asks
    EXPECT_EQ(boxes.AskingWindow(), &plotter);
    plotter.hide();
    EXPECT_NE(boxes.AskingWindow(), &plotter);
}

TEST(Placement, AWindowMovesOnlyOffWhatItWouldCoverToTheNearestClearPlace) {
    // The calculator by its outline: the printer, narrower than the case, leaves the frame's
    // upper corners free.
    const QRect screen(0, 0, 1280, 800), wide(0, 0, 1920, 1080);
    const QRegion calculator =
        QRegion(270, 148, 740, 505) - QRegion(270, 148, 180, 170) - QRegion(890, 148, 120, 170);
    const QRegion plotter(480, 148, 800, 580);
    const QSize memory(400, 150);
    // The same on a wider screen, the plotter against its right edge.
    const QRegion calculatorWide(590, 287, 740, 505), plotterWide(1120, 287, 800, 580);
    const struct {
        QPoint first;
        QSize size;
        std::vector<QRegion> taken;
        QRect screen;
        QPoint at;
    } cases[] = {
        // Within the frame but clear of the outline: kept.
        {{300, 150}, {100, 100}, {calculator}, screen, {300, 150}},
        // Off the plotter, into the corner the outline leaves.
        {{880, 148}, memory, {calculator, plotter}, screen, {0, 148}},
        // Above the plotter: nearer than left of the calculator.
        {{1330, 287}, memory, {calculatorWide, plotterWide}, wide, {1330, 137}},
        // No room on the screen: where its own rule put it.
        {{480, 148}, {800, 580}, {calculator}, screen, {480, 148}},
        // Room only beyond the screen's edge counts as none.
        {{600, 0}, memory, {QRegion(0, 0, 700, 600)}, QRect(0, 0, 1000, 600), {600, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceClear(c.first, c.size, c.taken, c.screen), c.at) << c.first.x();
}

TEST(Placement, EachPeripheralOpensClearOfTheCalculatorAndTheOthersWhereThereIsRoom) {
    using Kind = Peripherals::Kind;
    // The calculator mostly beyond the screen's edges, to leave room beside it.
    const struct {
        QPoint calculator;
        std::vector<Kind> opened;
    } cases[] = {
        {{-400, 300}, {Kind::ExtMemory, Kind::CardReader}},
        {{-400, 300}, {Kind::CardReader, Kind::ExtMemory}},
        {{-700, 590}, {Kind::Plotter}}, // beside it the plotter would cover its top rows
    };
    for (const auto& c : cases) {
        Windows w;
        w.main->move(c.calculator);
        const QRect screen = w.main->screen()->availableGeometry();
        std::vector<QRegion> taken{ShapeOnScreen(*w.main)};
        for (Kind kind : c.opened) {
            SCOPED_TRACE(static_cast<int>(kind));
            QWidget* window = w.Peripheral(kind);
            ASSERT_NE(window, nullptr);
            const QRect at = window->frameGeometry();
            EXPECT_TRUE(screen.contains(at));
            for (const QRegion& shape : taken)
                EXPECT_FALSE(shape.intersects(at));
            taken.push_back(ShapeOnScreen(*window));
        }
    }
}
