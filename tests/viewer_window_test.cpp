// The program memory viewer window, offscreen: its look, editing, the save question, text
// listings, sending to memory, and the way in from the calculator's menu.
#include <QClipboard>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableView>
#include <QTest>
#include <sys/stat.h>

#include "viewer/view.h"
#include "viewer/viewmodel.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {

Services ServicesOf(Window& win) {
    Services s;
    s.ProgramFolder = win.File("");
    s.Messages = &win.messages;
    s.Printers = &win.printers;
    s.Files = &win.files;
    return s;
}

// The File menu as shown: captions of visible entries, "Save File As" opened into its items.
QStringList VisibleMenu(const TviewFM& view) {
    QStringList texts;
    const QMenu* file = view.findChild<QMenuBar*>()->actions().at(0)->menu();
    for (QAction* a : file->actions()) {
        if (!a->isVisible() || a->isSeparator()) continue;
        texts << a->text() + (a->isEnabled() ? "" : " (off)");
        if (a->menu())
            for (QAction* sub : a->menu()->actions())
                texts << ">" + sub->text() + (sub->isEnabled() ? "" : " (off)");
    }
    return texts;
}

QAction* MenuAction(const TviewFM& view, const QString& caption) {
    for (QAction* a : view.findChildren<QAction*>())
        if (a->text() == caption) return a;
    return nullptr;
}

// Types into an instruction cell as a user does: the cursor onto it, keys, Return.
void TypeInto(TviewFM& view, int row, const QString& text, bool finish = true) {
    QTableView* grid = view.Grid();
    const QModelIndex cell = grid->model()->index(row, ViewTableModel::InstructionColumn);
    grid->setCurrentIndex(cell);
    // The first key opens the cell's editor, which takes the rest.
    QTest::keyClicks(grid, text.left(1));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, text.mid(1));
    if (!finish) return;
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor closes by a posted call
}

QString ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(Viewer, LayoutColoursAndMenusOfBothModes) {
    Window win;
    win.Start();
    TviewFM view(ServicesOf(win), ProgramMemoryOf(win.Start().Engine()));
    view.show();
    QTableView* grid = view.Grid();
    EXPECT_EQ(grid->objectName(), "codeSG");
    EXPECT_EQ(grid->size(), QSize(397, 404));
    EXPECT_LE(view.width(), 415);
    EXPECT_EQ(view.windowTitle(), "HP-9100B Program Memory Viewer []");
    EXPECT_EQ(QFontInfo(grid->font()).pixelSize(), 13);
    EXPECT_TRUE(QFontInfo(grid->font()).fixedPitch());
    EXPECT_EQ(grid->rowHeight(0), QFontMetrics(grid->font()).height() + 4);
    const int widths[] = {64, 47, 256};
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(grid->columnWidth(c), widths[c]);
    EXPECT_FALSE(grid->horizontalHeader()->isVisible());
    EXPECT_FALSE(grid->verticalHeader()->isVisible());
    // The calculator is off: empty rows, and nothing to send to.
    EXPECT_EQ(grid->model()->rowCount(), 392);
    EXPECT_EQ(grid->model()->index(391, 1).data().toString(), "00");
    EXPECT_EQ(grid->model()->index(391, 2).data().toString(), "");
    EXPECT_EQ(VisibleMenu(view),
              (QStringList{"New", "Copy To Clipboard", "Load As Text", "Save File As", ">Text",
                           ">Optical Card (off)", "Send To Memory (off)", "Print Until END",
                           "Print All", "Exit"}));
    const struct {
        int row, column;
        QColor colour;
        bool editable;
    } cells[] = {{0, 0, {255, 255, 211}, false},
                 {195, 0, {255, 255, 211}, false},
                 {196, 0, {255, 223, 236}, false},
                 {391, 1, {231, 247, 240}, false},
                 {5, 2, QColor(), true}};
    for (const auto& c : cells) {
        const QModelIndex cell = grid->model()->index(c.row, c.column);
        const QVariant background = cell.data(Qt::BackgroundRole);
        EXPECT_EQ(background.isValid(), c.colour.isValid()) << c.row;
        if (c.colour.isValid()) {
            EXPECT_EQ(background.value<QBrush>().color(), c.colour) << c.row;
        }
        EXPECT_EQ(bool(cell.flags() & Qt::ItemIsEditable), c.editable) << c.column;
        EXPECT_EQ(bool(cell.flags() & Qt::ItemIsSelectable), c.editable) << c.column;
    }

    ViewerMemory memory;
    memory.On = true;
    memory.Read = [] { return std::vector<TKeyCode>(ViewTable::kExpandedSteps, 033); };
    TviewFM expanded(ServicesOf(win), memory, true);
    expanded.show();
    EXPECT_EQ(VisibleMenu(expanded),
              (QStringList{"New", "Load (off)", "Save (off)", "Send To Memory", "Exit"}));
    const QModelIndex last = expanded.Grid()->model()->index(3471, 0);
    EXPECT_EQ(last.data().toString(), "247.d");
    EXPECT_EQ(last.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 255, 211));
    EXPECT_EQ(expanded.Table().Instruction(3471), expanded.Table().Instruction(0)); // read too
}

TEST(Viewer, TypingAnInstructionShowsItsCodeAndMarksBadOnes) {
    Window win;
    TviewFM view(ServicesOf(win), ProgramMemoryOf(win.Start().Engine()));
    view.show();
    QAbstractItemModel* model = view.Grid()->model();
    TypeInto(view, 0, "add", false);
    EXPECT_EQ(model->index(0, 1).data().toString(), "33"); // while the cell is being edited
    QTest::keyClick(view.Grid()->indexWidget(model->index(0, 2)), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(view.Modified());
    // A click on an address or a code lands on the instruction of its row.
    QTableView* grid = view.Grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(model->index(3, 0)).center());
    EXPECT_EQ(grid->currentIndex(), model->index(3, 2));
    TypeInto(view, 1, "Adder");
    EXPECT_EQ(model->index(1, 1).data().toString(), "00");
    EXPECT_EQ(model->index(1, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(255, 193, 193));
    EXPECT_FALSE(view.SaveTextClick());
    EXPECT_EQ(win.messages.LastText(), "Program code has errors");
    // A character beyond one byte is no key name, even where its low byte would spell one.
    model->setData(model->index(2, 2), QString("Ad") + QChar(0x164), Qt::EditRole);
    EXPECT_FALSE(view.Table().Valid(2));
}

TEST(Viewer, SaveQuestionBeforeNewLoadAndClosing) {
    using A = MessageAnswer;
    enum Action { New, Load, Close };
    const struct {
        Action action;
        A answer;
        bool saved, happened;
    } cases[] = {{New, A::Cancel, false, false}, {New, A::No, false, true},
                 {New, A::Yes, true, true},      {Load, A::Cancel, false, false},
                 {Load, A::No, false, true},     {Close, A::Cancel, false, false},
                 {Close, A::Yes, true, true}};
    for (const auto& c : cases) {
        Window win;
        TviewFM view(ServicesOf(win), ProgramMemoryOf(win.Start().Engine()));
        view.show();
        TypeInto(view, 0, "Subtract");
        const QString saved = win.File("saved.txt"), other = win.File("other.txt");
        WriteFile(other, "Add\r\n");
        win.messages.Script(c.answer);
        if (c.saved) win.files.Script(saved);
        if (c.action == Load && c.happened) win.files.Script(other);
        if (c.action == New) view.NewClick();
        if (c.action == Load) view.LoadAsTextClick();
        if (c.action == Close) view.close();
        SCOPED_TRACE(int(c.action) * 10 + int(c.answer));
        EXPECT_EQ(win.messages.Messages().back().text,
                  "Program has been modified\r\rSave changes?");
        EXPECT_EQ(QFile::exists(saved), c.saved);
        const std::string first = view.Table().Instruction(0);
        if (c.action == Close)
            EXPECT_EQ(view.isVisible(), !c.happened);
        else
            EXPECT_EQ(first, !c.happened ? "Subtract" : c.action == New ? "" : "Add");
    }
}

TEST(Viewer, TextListingsSaveLoadAndReportBadFiles) {
    Window win;
    TviewFM view(ServicesOf(win), ProgramMemoryOf(win.Start().Engine()));
    view.show();
    TypeInto(view, 0, "pi");
    TypeInto(view, 391, "End");
    const QString path = win.File("prog.v1.txt");
    win.files.Script(path);
    ASSERT_TRUE(view.SaveTextClick());
    EXPECT_EQ(win.files.asked.back().Caption, "Save Program File");
    EXPECT_TRUE(win.files.asked.back().Start.endsWith("/*.txt"));
    EXPECT_EQ(win.files.asked.back().Filter, "Text Files (*.txt);;All Files (*.*)");
    EXPECT_EQ(view.windowTitle(), "HP-9100B Program Memory Viewer [prog]");
    const QString text = ReadFile(path);
    EXPECT_EQ(text.count("\r\n"), 392);
    EXPECT_TRUE(text.startsWith("+0.0 56 pi\r\n+0.1 00 \r\n"));
    EXPECT_TRUE(text.endsWith("-d.d 46 End\r\n"));

    // A file that cannot be read leaves the table and its name alone; a pipe, which would
    // never end, is not read at all.
    ASSERT_EQ(::mkfifo(NativePath(win.File("pipe.txt")).c_str(), 0600), 0);
    const std::pair<const char*, const char*> unreadable[] = {
        {"missing.txt", "No such file or directory"}, {"pipe.txt", "not a regular file"}};
    for (const auto& [name, reason] : unreadable) {
        win.files.Script(win.File(name));
        view.LoadAsTextClick();
        EXPECT_EQ(win.messages.LastText(),
                  "ERROR: Failed to open file\r\r" + win.File(name) + "\r\r" + reason);
    }
    EXPECT_EQ(view.Table().Instruction(0), "pi");
    EXPECT_EQ(view.FileName(), path);
    // A bad line: table and name stay together, as they were, and the next save proposes the
    // file the table came from.
    WriteFile(win.File("bad.txt"), "Subtract\r\n+0.1 Multiply\r\n+0.2 Adder\r\nAdd\r\n");
    win.files.Script(win.File("bad.txt"));
    view.LoadAsTextClick();
    EXPECT_EQ(win.messages.LastText(), "Invalid code found - Adder\r\r" + win.File("bad.txt"));
    EXPECT_EQ(view.Table().Instruction(0), "pi");
    EXPECT_EQ(view.Table().Instruction(1), "");
    EXPECT_EQ(view.Table().Instruction(391), "End");
    EXPECT_EQ(view.windowTitle(), "HP-9100B Program Memory Viewer [prog]");
    win.files.Script(QString());
    view.SaveTextClick();
    EXPECT_EQ(win.files.asked.back().Start, path);
    // The saved file reads back whole.
    win.files.Script(path);
    view.LoadAsTextClick();
    EXPECT_EQ(win.files.asked.back().Caption, "Load Program File");
    EXPECT_TRUE(win.files.asked.back().Start.endsWith("/*.txt"));
    EXPECT_EQ(view.Table().Code(0), "56");
    EXPECT_EQ(view.Table().Instruction(391), "End");
    EXPECT_FALSE(view.Modified());

    view.CopyToClipboardClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
}

TEST(Viewer, SendToMemoryAsksAndWritesNothingWhenARowIsBad) {
    Window win;
    Calculator& calc = win.Start().Engine();
    win.PowerOn();
    calc.RegisterFile[0][0] = 001;
    TviewFM view(ServicesOf(win), ProgramMemoryOf(calc));
    view.show();
    EXPECT_TRUE(MenuAction(view, "Send To Memory")->isEnabled());
    EXPECT_EQ(view.Table().Instruction(0), "1");
    TypeInto(view, 0, "Add");
    TypeInto(view, 10, "Adder");
    win.messages.Script(MessageAnswer::No);
    view.SendToMemoryClick();
    EXPECT_EQ(win.messages.LastText(), "This will overwrite current memory\r\rContinue?");
    win.messages.Script(MessageAnswer::Yes);
    view.SendToMemoryClick();
    EXPECT_EQ(win.messages.LastText(), "Program code has errors");
    EXPECT_EQ(calc.RegisterFile[0][0], 001);
    EXPECT_EQ(view.Grid()->currentIndex().row(), 10);
    TypeInto(view, 10, "Cont");
    TypeInto(view, 200, "End");
    win.messages.Script(MessageAnswer::Yes);
    view.SendToMemoryClick();
    EXPECT_EQ(calc.RegisterFile[0][0], 033);
    EXPECT_EQ(calc.RegisterFile[0][10], 047);
    EXPECT_EQ(calc.RegisterFile[16][4], 046); // step 200: the second bank's row 0
    EXPECT_TRUE(view.Modified());             // memory is no file

    ViewerMemory off = ProgramMemoryOf(calc);
    off.On = false;
    TviewFM offView(ServicesOf(win), off);
    offView.SendToMemoryClick();
    EXPECT_EQ(win.messages.LastText(),
              "Code can only be transferred to memory when the calculator is turned on");
}

namespace {
// The factorial of the user guide, keyed on the PC keyboard in PRGM mode; then RUN and END.
void KeyFactorial(Window& win, TmainFM& w) {
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Return, {}}, {Qt::Key_1, {}}, {Qt::Key_W, {}},     {Qt::Key_X, {}},
        {Qt::Key_Return, {}}, {Qt::Key_1, {}}, {Qt::Key_Minus, {}}, {Qt::Key_Y, shift},
        {Qt::Key_0, {}},      {Qt::Key_C, {}}, {Qt::Key_U, {}},     {Qt::Key_O, shift},
        {Qt::Key_U, shift},   {Qt::Key_G, {}}, {Qt::Key_0, {}},     {Qt::Key_3, {}}};
    win.Type(Qt::Key_O, shift);
    w.SetModeSwitch(true);
    for (const auto& [key, mods] : keys)
        win.Type(key, mods);
    w.SetModeSwitch(false);
    win.Type(Qt::Key_O, shift);
}

// Keys n, runs the program to its stop and gives X.
long double RunWith(Window& win, Calculator& calc, int n) {
    win.Type(Qt::Key_0 + n);
    win.Type(Qt::Key_N); // CONT
    win.FireUntilStopped("ChgModeTimer");
    long double x = 0;
    RegToExt(calc.XReg, x);
    return x;
}
} // namespace

TEST(Viewer, AProgramSurvivesATextListingAndAMemoryReset) {
    Window win;
    TmainFM& w = win.Start();
    Calculator& calc = w.Engine();
    win.PowerOn();
    KeyFactorial(win, w);
    const long double keyed = RunWith(win, calc, 5);
    ASSERT_EQ(keyed, 120);
    const QString path = win.File("factorial.txt");
    {
        TviewFM view(ServicesOf(win), ProgramMemoryOf(calc));
        view.show();
        win.files.Script(path);
        ASSERT_TRUE(view.SaveTextClick());
    }
    win.messages.Script(MessageAnswer::Yes);
    w.ResetNow();
    win.messages.Messages();
    ASSERT_EQ(listing::ReadProgram(calc)[3], 0);
    {
        TviewFM view(ServicesOf(win), ProgramMemoryOf(calc));
        view.show();
        win.files.Script(path);
        view.LoadAsTextClick();
        win.messages.Script(MessageAnswer::Yes);
        view.SendToMemoryClick();
    }
    win.Type(Qt::Key_O, Qt::ShiftModifier);
    EXPECT_EQ(RunWith(win, calc, 5), keyed);
}

TEST(Viewer, OpensFromTheMenuButNotWhileAProgramRuns) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    QAction* entry = nullptr;
    for (QAction* a : w.PopupMenu()->actions())
        if (a->text() == "View Program Memory") entry = a;
    ASSERT_TRUE(entry && entry->isEnabled());
    QString caption;
    bool modal = false;
    QTimer::singleShot(0, &w, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        ASSERT_TRUE(shown);
        caption = shown->windowTitle();
        modal = shown->isModal();
        shown->close();
    });
    entry->trigger();
    EXPECT_EQ(caption, "HP-9100B Program Memory Viewer []");
    EXPECT_TRUE(modal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    w.Engine().Running = true;
    entry->trigger();
    w.Engine().Running = false;
    EXPECT_EQ(win.messages.LastText(), "Please stop program running to view code");
    EXPECT_EQ(win.messages.Messages().back().kind, MessageKind::Information);
}
