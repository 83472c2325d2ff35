// The plotter window beside a real calculator, offscreen: its pop-up menu and the rules that
// enable it, the close question and the close deferred past a motion, the messages of the file
// dialogs, the speed dialog and printing. The motion and close timers are fired by hand.
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <sstream>

#include "common/placement.h"
#include "engine/null_host.h"

#include "plotter/plotart.h"
#include "plotter/plotexport.h"
#include "plotter/plotfile.h"
#include "plotter/plotwindow.h"
#include "plotter/tuner.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {

struct Plotter {
    Window win;
    TmainFM* main = nullptr;
    TplotFM* plot = nullptr;

    Plotter() {
        orrindale::testing::WriteScrambledPng(win.File(files::kPlotterPicture), plotart::Body());
        main = &win.Start();
        main->PeripheralWindows().Open(Peripherals::Kind::Plotter);
        win.Pump();
        plot = Shown();
    }
    TplotFM* Shown() {
        return qobject_cast<TplotFM*>(main->PeripheralWindows().Window(Peripherals::Kind::Plotter));
    }
    PlotterModel& Model() { return plot->Model(); }
    // Power on, mode ON, zeros at the corner and no trim: the pen stands at (0, 0).
    void Ready() {
        win.PowerOn();
        for (int knob = 1; knob <= 4; ++knob)
            Model().SetKnob(knob, knob <= 2 ? 0 : 125);
        Click(plotart::kOnArea);
    }
    // FMT SHIFT DOWN at the pen's place lowers it; the next one draws to (x, y).
    void DrawTo(int x, int y) {
        Model().PlotterCommand(2, 0, Model().penX, Model().penY, false, false);
        Model().PlotterCommand(2, 0, x, y, false, false);
        win.FireUntilStopped("motionTimer");
    }
    void MoveTo(int x, int y) {
        Model().PlotterCommand(3, 0, x, y, false, false);
        win.FireUntilStopped("motionTimer");
    }
    void Click(const QRect& area) {
        const QPoint at = area.center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, plot->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
            QCoreApplication::sendEvent(plot, &e);
        }
    }
    QMenu& Menu() {
        return *plot->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly).front();
    }
    QAction* Item(const QString& text, QMenu* in = nullptr) {
        for (QAction* a : (in ? in : &Menu())->actions())
            if (a->text() == text) return a;
        return nullptr;
    }
    QStringList Texts(QMenu& menu) {
        QStringList texts;
        for (QAction* a : menu.actions())
            texts << (a->isSeparator() ? QString("-") : a->text());
        return texts;
    }
    // Closes the plotter window; true when it went (and the calculator released it).
    bool ClosePlotter() {
        plot->close();
        win.Fire("ChgModeTimer");
        return Shown() == nullptr;
    }
    std::vector<int32_t> FileRecord(const QString& path) {
        TextList lines;
        std::vector<int32_t> record;
        if (!LoadScrambledTextList(NativePath(path), lines)) return {};
        ParsePlotRecord(lines, record);
        return record;
    }
};

// Closes the next modal dialog after fill has had its way with it.
template <typename Dialog>
void AnswerNextDialog(QObject* context, std::function<void(Dialog&)> fill) {
    QTimer::singleShot(0, context, [fill] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        fill(*dialog);
    });
}

QPushButton* Button(QWidget& dialog, const char* text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// Keys a program in PRGM mode from the first step, by card mnemonics, and returns to RUN.
void KeyProgram(Calculator& calc, const std::string& names) {
    calc.SetProgramMode(true);
    std::istringstream in(names);
    std::string name;
    while (in >> name)
        calc.ExecuteKeyByHand(KeyPosFromMnemonic(name).value());
    calc.SetProgramMode(false);
    calc.PcRow = calc.PcStep = 0;
}

// The engine with a plotter whose every motion ends at once, as keyrun runs programs.
class FinishingHost final : public NullEngineHost, public PlotterPort {
public:
    PlotterModel model;
    bool timer = false;
    void StartChgModeTimer() override { timer = true; }
    void StopChgModeTimer() override { timer = false; }
    PlotterPort* Plotter() override { return this; }
    PlotterReply Command(PlotterCommand c, int wheel, int x, int y) override {
        const PlotterReply r = model.Command(c, wheel, x, y);
        model.Finish();
        return r;
    }
    PlotterStatus State() const override { return model.State(); }
};

std::vector<int32_t> KeyrunRecord(const std::string& program) {
    FinishingHost host;
    Calculator calc(host);
    calc.PowerOn = calc.DisplayOn = true;
    host.model.CalcPowerChanged(true);
    host.model.SetMode(true, false);
    host.model.CentreControls();
    host.model.Finish();
    host.model.NewPlot();
    KeyProgram(calc, program);
    calc.ExecuteKeyByHand(keypos::Cont);
    for (int i = 0; i < 10000 && host.timer; ++i)
        calc.ChgModeTimerTimer();
    return host.model.plotRecord;
}

// A record drawn on a blank sheet, as a reopened plot is.
QImage Replayed(const std::vector<int32_t>& record) {
    PlotPaper paper;
    PlotterModel scratch;
    paper.Clear();
    paper.Replay(record, scratch);
    return paper.Image();
}

class RecordingFeed final : public CarriageSound {
public:
    explicit RecordingFeed(QStringList& log) : log_(log) {}
    bool Open(const QString& path) override {
        log_ << "open " + path.section('/', -1);
        return true;
    }
    void Play() override { log_ << "play"; }
    void Stop() override { log_ << "stop"; }

private:
    QStringList& log_;
};

} // namespace

TEST(PlotterWindow, LongMovesPlayTheCarriageSoundUntilTheyArrive) {
    struct Case {
        int x;
        bool soundsOn, plays;
    };
    const Case cases[] = {{250, true, false}, {3000, true, true}, {3000, false, false}};
    for (const Case& c : cases) {
        QTemporaryDir dir;
        orrindale::testing::RecordingSoundPlayer player;
        SoundSwitch sounds(player, c.soundsOn);
        Services services;
        services.ProgramFolder = dir.path() + "/";
        services.Sounds = &sounds;
        orrindale::testing::WriteScrambledPng(services.ProgramFile(files::kPlotterPicture),
                                              plotart::Body());
        QStringList heard;
        TplotFM plotter(services, {[] { return true; },
                                   nullptr,
                                   [&heard] { return std::make_unique<RecordingFeed>(heard); },
                                   {},
                                   {}});
        ASSERT_TRUE(plotter.LoadPicture());
        plotter.show();
        for (int knob = 1; knob <= 4; ++knob)
            plotter.Model().SetKnob(knob, knob <= 2 ? 0 : 125);
        plotter.Model().SetMode(true, false);
        plotter.Model().PlotterCommand(3, 0, c.x, 0, false, false);
        auto* timer = plotter.findChild<QTimer*>("motionTimer");
        while (timer->isActive())
            QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        EXPECT_EQ(plotter.Model().penX, c.x);
        SCOPED_TRACE(QString("%1 units, sounds %2").arg(c.x).arg(c.soundsOn).toStdString());
        ASSERT_FALSE(heard.isEmpty());
        EXPECT_EQ(heard.front(), "open Feed.wav");
        const qsizetype play = heard.indexOf("play");
        EXPECT_EQ(play >= 0, c.plays);
        if (play >= 0) {
            EXPECT_EQ(heard.mid(play), QStringList({"play", "stop"}));
        }
    }
}

TEST(PlotterWindow, MenuItemsStandInTheirOrder) {
    Plotter p;
    ASSERT_NE(p.plot, nullptr);
    EXPECT_EQ(p.Texts(p.Menu()), QStringList({"New", "Open", "Save", "Print", "-", "Pen Color",
                                              "Grid", "Plotter Speed", "Centre Controls", "-",
                                              "Export Picture", "-", "Help", "Close  (Esc)"}));
    EXPECT_EQ(p.Texts(*p.Item("Pen Color")->menu()),
              QStringList({"Black", "Red", "Blue", "Green"}));
    EXPECT_EQ(p.Texts(*p.Item("Grid")->menu()), QStringList({"None", "0.5 Inch", "1 inch"}));
    EXPECT_EQ(p.Texts(*p.Item("Export Picture")->menu()),
              QStringList({"SVG…", "PNG…", "PNG at Twice the Size…"}));
}

TEST(PlotterWindow, FileItemsOnlyInStandbyOrWithThePowerOff) {
    struct Case {
        bool power, on, enabled;
    };
    for (const Case c : {Case{false, false, true}, Case{false, true, true}, Case{true, false, true},
                         Case{true, true, false}}) {
        Plotter p;
        if (c.power) p.win.PowerOn();
        p.Click(c.on ? plotart::kOnArea : plotart::kSbyArea);
        for (const char* item : {"New", "Open", "Save", "Pen Color", "Grid"})
            EXPECT_EQ(p.Item(item)->isEnabled(), c.enabled)
                << item << " power " << c.power << " on " << c.on;
        EXPECT_TRUE(p.Item("Print")->isEnabled());
        EXPECT_TRUE(p.Item("Plotter Speed")->isEnabled());
    }
}

TEST(PlotterWindow, ColourAndGridItemsRecordTheirIndex) {
    struct Case {
        const char *menu, *item;
        int penIndex, gridIndex;
        int32_t entry;
    };
    for (const Case c : {Case{"Pen Color", "Black", 3, 0, -67}, Case{"Pen Color", "Red", 0, 0, -64},
                         Case{"Pen Color", "Blue", 2, 0, -66},
                         Case{"Pen Color", "Green", 1, 0, -65}, Case{"Grid", "None", 0, 0, -32},
                         Case{"Grid", "0.5 Inch", 0, 1, -33}, Case{"Grid", "1 inch", 0, 2, -34}}) {
        Plotter p;
        p.Item(c.item, p.Item(c.menu)->menu())->trigger();
        EXPECT_EQ(p.Model().penIndex, c.penIndex) << c.item;
        EXPECT_EQ(p.Model().gridIndex, c.gridIndex) << c.item;
        EXPECT_EQ(p.Model().plotRecord.back(), c.entry) << c.item;
    }
}

TEST(PlotterWindow, PenColorAndGridMarkTheCurrentChoice) {
    Plotter p;
    const auto marked = [&](const char* menu) {
        QStringList checked;
        for (QAction* a : p.Item(menu)->menu()->actions())
            if (a->isChecked()) checked << a->text();
        return checked;
    };
    p.Item("Blue", p.Item("Pen Color")->menu())->trigger();
    p.Item("1 inch", p.Item("Grid")->menu())->trigger();
    EXPECT_EQ(marked("Pen Color"), QStringList{"Blue"});
    EXPECT_EQ(marked("Grid"), QStringList{"1 inch"});
    // Chosen otherwise (an opened plot names its own): the menu shows it when it opens.
    p.Model().ChoosePen(1);
    p.Model().ChooseGrid(0);
    QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(5, 5),
                           p.plot->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(p.plot, &open);
    p.Menu().hide();
    EXPECT_EQ(marked("Pen Color"), QStringList{"Green"});
    EXPECT_EQ(marked("Grid"), QStringList{"None"});
}

TEST(PlotterWindow, CloseAsksAboutAChangedPlotAndAlwaysKeepsIt) {
    struct Case {
        MessageAnswer answer;
        bool closes;
    };
    for (const Case c : {Case{MessageAnswer::Cancel, false}, Case{MessageAnswer::No, true},
                         Case{MessageAnswer::Yes, true}}) {
        Plotter p;
        p.Model().AddPlotEntry(plot::PointEntry(25, 100));
        const QString saved = p.win.File("kept.ptf");
        p.win.messages.Script(c.answer);
        if (c.answer == MessageAnswer::Yes) p.win.files.Script(saved);
        EXPECT_EQ(p.ClosePlotter(), c.closes);
        EXPECT_EQ(p.win.messages.LastText(), "Plot has changed\r\rSave changes?");
        EXPECT_EQ(p.FileRecord(p.win.File(files::kCurrentPlot)).back(), 25 * 65536 + 100);
        EXPECT_EQ(QFile::exists(saved), c.answer == MessageAnswer::Yes);
    }
}

TEST(PlotterWindow, CloseDuringAMotionLiftsThePenAndClosesOnTheCloseTimer) {
    struct Case {
        MessageAnswer answer;
        bool closes;
    };
    for (const Case c : {Case{MessageAnswer::No, true}, Case{MessageAnswer::Cancel, false}}) {
        Plotter p;
        p.Ready();
        p.DrawTo(0, 0); // the pen down at the corner
        p.Model().PlotterCommand(2, 0, plot::kMaxX, plot::kMaxY, false, false);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(p.win.Fire("motionTimer"));
        p.win.messages.Script(c.answer);
        EXPECT_FALSE(p.ClosePlotter());
        EXPECT_FALSE(p.Model().moving);
        EXPECT_GT(p.Model().penX, 0);
        EXPECT_LT(p.Model().penX, plot::kMaxX);
        // The cut line ends where the pen stopped, and the pen is lifted there: on the sheet,
        // in the record and in the plot kept for the next start.
        const int32_t stop = plot::PointEntry(p.Model().penX, p.Model().penY);
        const std::vector<int32_t> end{stop, plot::kPenUp};
        EXPECT_FALSE(p.Model().penDown);
        EXPECT_EQ(std::vector<int32_t>(p.Model().plotRecord.end() - 2, p.Model().plotRecord.end()),
                  end);
        const std::vector<int32_t> kept = p.FileRecord(p.win.File(files::kCurrentPlot));
        ASSERT_GE(kept.size(), 2u);
        EXPECT_EQ(std::vector<int32_t>(kept.end() - 2, kept.end()), end);
        p.win.FireUntilStopped("motionTimer");
        EXPECT_EQ(plot::PointEntry(p.Model().penX, p.Model().penY), stop);
        // Asked once: the window goes a moment later by itself, or stays and takes commands.
        EXPECT_EQ(p.win.Fire("closeTimer"), c.closes);
        p.win.Fire("ChgModeTimer");
        EXPECT_EQ(p.Shown() == nullptr, c.closes);
        EXPECT_EQ(p.win.messages.Messages().size(), 1u);
        if (!c.closes) {
            EXPECT_EQ(p.Model().PlotterCommand(3, 0, 0, 0, false, false), PlotterReply::Taken);
        }
    }
}

TEST(PlotterWindow, FileDialogsReportWhatWentWrongOverThePlotter) {
    const QStringList plot{"-31", "-32", "-64", "65536"};
    struct Case {
        const char* name;
        QStringList lines; // empty: raw bytes, or no file when those are null too
        QByteArray raw;
        bool save;
        const char* message;
    };
    const char* const damaged =
        "ERROR: Plotter file data is corrupt\r\r%1\r\rnot a plot file, or a damaged one";
    const Case cases[] = {
        {"missing.ptf",
         {},
         {},
         false,
         "ERROR: Failed to open file\r\r%1\r\rNo such file or directory"},
        {"low.ptf",
         {"-31", "-300"},
         {},
         false,
         "ERROR: Plotter file data is corrupt\r\r%1\r\ra line holds no plot entry"},
        {"text.ptf",
         {"-31", "pen"},
         {},
         false,
         "ERROR: Plotter file data is corrupt\r\r%1\r\ra line holds no plot entry"},
        {"random.ptf", {}, QByteArray("\x01\xfe\x7f\x00\x93garbage", 12), false, damaged},
        {"empty.ptf", {}, QByteArray(""), false, damaged},
        {"cut.ptf", plot, {}, false, damaged},
        {"no folder/x.ptf", {}, {}, true, "ERROR: Failed to save file"},
    };
    for (const Case& c : cases) {
        Plotter p;
        p.Model().AddPlotEntry(plot::PointEntry(1, 2));
        const std::vector<int32_t> before = p.Model().plotRecord;
        const QString path = p.win.File(c.name);
        if (!c.lines.isEmpty()) {
            ASSERT_TRUE(SaveScrambledTextList(path, c.lines));
        }
        if (!c.raw.isNull()) {
            QFile raw(path);
            ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
            raw.write(c.raw);
        }
        if (c.name == std::string("cut.ptf")) {
            ASSERT_TRUE(QFile::resize(path, QFile(path).size() - 3));
        }
        p.win.files.Script(path);
        if (c.save)
            EXPECT_FALSE(p.plot->SavePlotAs());
        else
            p.plot->OpenPlot();
        ASSERT_EQ(p.win.messages.Messages().size(), 1u) << c.name;
        EXPECT_EQ(p.win.messages.LastText(), QString(c.message).replace("%1", path)) << c.name;
        EXPECT_EQ(p.win.messages.Messages().back().over, p.plot) << c.name;
        EXPECT_EQ(p.Model().plotRecord, before) << c.name;
        EXPECT_TRUE(p.Model().plotChanged) << c.name;
        EXPECT_EQ(p.win.files.asked.back().Caption,
                  c.save ? "Save Plotter File" : "Open Plotter File");
    }
}

TEST(PlotterWindow, ADamagedKeptPlotIsToldInOneBoxOverThePlotter) {
    // A line that holds no plot entry, and a file that is no plot at all.
    for (const bool badLine : {true, false}) {
        Window win;
        orrindale::testing::WriteScrambledPng(win.File(files::kPlotterPicture), plotart::Body());
        const QString kept = win.File(files::kCurrentPlot);
        if (badLine) {
            ASSERT_TRUE(SaveScrambledTextList(kept, {"-31", "x"}));
        } else {
            QFile file(kept);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("\x01\xfe cut");
        }
        TmainFM& main = win.Start();
        main.PeripheralWindows().Open(Peripherals::Kind::Plotter);
        win.Pump();
        QWidget* plot = main.PeripheralWindows().Window(Peripherals::Kind::Plotter);
        ASSERT_NE(plot, nullptr);
        // One box, the start's notice, naming the file it put aside.
        ASSERT_EQ(win.messages.Messages().size(), 1u) << badLine;
        EXPECT_TRUE(win.messages.LastText().contains(kept))
            << win.messages.LastText().toStdString();
        EXPECT_EQ(win.messages.Messages().back().over, plot);
    }
}

TEST(PlotterWindow, GridWipesTheScreenAndTheReopenedFileDrawsBoth) {
    Plotter p;
    p.Ready();
    p.DrawTo(3000, 2000);
    const QRgb red = plotart::PenColour(0).rgb(), aqua = qRgb(0, 255, 255);
    const QPoint onLine(plot::PaperX(1200), plot::PaperY(800)); // off the grid
    ASSERT_EQ(p.plot->Paper().pixel(onLine), red);
    p.Click(plotart::kSbyArea);
    p.Item("0.5 Inch", p.Item("Grid")->menu())->trigger();
    EXPECT_NE(p.plot->Paper().pixel(onLine), red);
    const QString path = p.win.File("grid.ptf");
    p.win.files.Script(path);
    ASSERT_TRUE(p.plot->SavePlotAs());
    p.Item("None", p.Item("Grid")->menu())->trigger();
    p.win.files.Script(path);
    p.Item("Open")->trigger();
    EXPECT_FALSE(p.Model().plotChanged);
    EXPECT_EQ(p.Model().gridIndex, 1); // as the record left it
    EXPECT_EQ(p.plot->Paper().pixel(onLine), red);
    int gridDots = 0;
    for (int x = 22; x < 638; ++x)
        gridDots += p.plot->Paper().pixel(x, 22) == aqua;
    EXPECT_GT(gridDots, 100);
    EXPECT_EQ(p.win.files.asked.back().Start, "*.ptf");
    EXPECT_EQ(p.win.files.asked.back().Filter, "Plotter File (*.ptf);;All Files (*.*)");
}

TEST(PlotterWindow, ExportPictureAfterAGridChangeIsTheSheetOnTheScreen) {
    Plotter p;
    p.Ready();
    p.DrawTo(1000, 800); // wiped by the grid change below
    p.Click(plotart::kSbyArea);
    p.Item("Blue", p.Item("Pen Color")->menu())->trigger();
    p.Item("0.5 Inch", p.Item("Grid")->menu())->trigger();
    p.Click(plotart::kOnArea); // the pen goes home to the corner, lifted
    p.win.FireUntilStopped("motionTimer");
    // Straight across, as the screen's pen steps draw it pixel for pixel as a replay would.
    p.MoveTo(1500, 2000);
    p.DrawTo(6000, 2000);
    for (const PlotPictureKind kind : {PlotPictureKind::Png, PlotPictureKind::Svg}) {
        const QString path = p.win.File(kind == PlotPictureKind::Png ? "shown.png" : "shown.svg");
        p.win.files.Script(path);
        p.plot->ExportPicture(kind);
        if (kind == PlotPictureKind::Png) {
            QImage exported(path);
            ASSERT_FALSE(exported.isNull());
            EXPECT_EQ(exported.convertToFormat(QImage::Format_RGB32),
                      p.plot->Paper().convertToFormat(QImage::Format_RGB32));
            continue;
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString svg = QString::fromUtf8(file.readAll());
        EXPECT_EQ(svg.count("stroke=\"#00ffff\""), 1); // one grid
        EXPECT_EQ(svg.count("<path stroke="), 1);      // the line drawn since, in blue
        EXPECT_TRUE(svg.contains(QRegularExpression(
            "<path stroke=\"#0000ff\" d=\"M1500 2000(L1500 2000)?L6000 2000\"")));
    }
    // The plot keeps both lines, for a reopened sheet and the print.
    EXPECT_NE(PlotSvg(p.Model().plotRecord, p.Model().penIndex).find("L1000 800"),
              std::string::npos);
}

TEST(PlotterWindow, ExportPictureProposesANameAndWritesTheRecordOrSaysWhyNot) {
    Plotter p;
    p.Ready();
    p.DrawTo(3000, 2000);
    const QString path = p.win.File("drawn.svg");
    p.win.files.Script(path);
    p.Item("SVG…", p.Item("Export Picture")->menu())->trigger();
    EXPECT_EQ(p.win.files.asked.back().Start, "plot.svg");
    EXPECT_EQ(p.win.files.asked.back().Filter, "SVG Picture (*.svg)");
    QFile svg(path);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_EQ(svg.readAll().toStdString(), PlotSvg(p.Model().plotRecord, p.Model().penIndex));
    // Named after the plot's file once it has one; a failed write says so.
    p.Model().plotFileName = ToBytes(p.win.File("square.ptf"));
    p.win.files.Script(p.win.File("no folder/square.png"));
    p.plot->ExportPicture(PlotPictureKind::Png2x);
    EXPECT_EQ(p.win.files.asked.back().Start, p.win.File("square@2x.png"));
    EXPECT_EQ(p.win.messages.LastText(), "ERROR: Failed to export picture");
}

TEST(PlotterWindow, SpeedDialogShowsAtMost200AndCancelKeepsTheSpeed) {
    struct Case {
        const char* button;
        int shown, after;
    };
    for (const Case c :
         {Case{"Cancel", 200, 300}, Case{"OK", 200, 200}, Case{"Default", 200, 300}}) {
        Plotter p;
        p.Model().plotSpeed = 300; // as an edited "ptdt.ini" may have it
        int shown = 0;
        AnswerNextDialog<TtunerFM>(p.plot, [&](TtunerFM& tuner) {
            EXPECT_EQ(tuner.windowTitle(), "Plotter Speed Adjust");
            shown = tuner.GetTuner();
            Button(tuner, c.button)->click();
            if (tuner.isVisible()) {
                EXPECT_EQ(tuner.GetTuner(), TtunerFM::kDefault);
                tuner.reject();
            }
        });
        p.Item("Plotter Speed")->trigger();
        EXPECT_EQ(shown, c.shown) << c.button;
        EXPECT_EQ(p.Model().plotSpeed, c.after) << c.button;
    }
}

TEST(PlotterPrint, OneLandscapePageWithThePlot) {
    Plotter p;
    p.Ready();
    p.DrawTo(plot::kMaxX, plot::kMaxY);
    const QString pdf = p.win.File("plot.pdf");
    p.win.printers.Script(pdf);
    p.Item("Print")->trigger();
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished());
    const QString text = info.readAllStandardOutput();
    EXPECT_TRUE(text.contains(QRegularExpression("Pages:\\s+1\\n"))) << text.toStdString();
    const QRegularExpressionMatch size =
        QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(text);
    ASSERT_TRUE(size.hasMatch());
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());
}

TEST(PlotterProgram, WaitsForThePenAndRecordsWhatKeyrunRecords) {
    const char* programs[] = {
        // STOP right after the move: the line is drawn before the pen goes home.
        "0 SHUP 0 FMT SHDN 0 SHUP 3 0 0 0 FMT SHDN Stop End",
        // Arithmetic after the move, then STOP, then a move the STOP never reaches.
        "1 0 0 0 SHUP 5 0 0 FMT SHUP 2 0 0 0 SHUP 1 0 0 0 Chs FMT SHDN 2 Add 3 Mul Stop "
        "FMT SHUP End",
    };
    for (const char* program : programs) {
        Plotter p;
        p.win.PowerOn();
        p.Click(plotart::kOnArea);
        p.Item("Centre Controls")->trigger();
        p.win.FireUntilStopped("motionTimer");
        p.Model().NewPlot();
        Calculator& calc = p.main->Engine();
        KeyProgram(calc, program);
        calc.ExecuteKeyByHand(keypos::Cont);
        for (int i = 0; i < 5000 && (calc.Running || p.Model().moving); ++i) {
            p.win.Fire("motionTimer");
            p.win.Fire("ChgModeTimer");
        }
        EXPECT_FALSE(calc.Running) << program;
        EXPECT_EQ(p.Model().plotRecord, KeyrunRecord(program)) << program;
    }
}

TEST(PlotterWindow, KeysTypedWhileTheCarriageTravelsActWhenItArrives) {
    Plotter p;
    p.Ready();
    for (int key : {Qt::Key_0, Qt::Key_Enter, Qt::Key_3, Qt::Key_0, Qt::Key_0, Qt::Key_0})
        p.win.Type(key);
    p.win.Type(Qt::Key_F, Qt::ShiftModifier);     // FMT
    p.win.Type(Qt::Key_Enter, Qt::ShiftModifier); // SHIFT DOWN: to (3000, 0)
    ASSERT_TRUE(p.Model().moving);
    for (int key : {Qt::Key_5, Qt::Key_0, Qt::Key_0})
        p.win.Type(key);
    p.win.Type(Qt::Key_F, Qt::ShiftModifier);
    p.win.Type(Qt::Key_Enter); // SHIFT UP: to (500, 0) once the pen has arrived
    p.win.FireUntilStopped("motionTimer");
    EXPECT_EQ(p.Model().penX, 500);
    EXPECT_FALSE(p.Model().penDown);
    const std::vector<int32_t> tail(p.Model().plotRecord.end() - 4, p.Model().plotRecord.end());
    EXPECT_EQ(tail, (std::vector<int32_t>{plot::kPenDown, plot::kPenUp, plot::PointEntry(3000, 0),
                                          plot::PointEntry(500, 0)}));
}

TEST(PlotterWindow, AReplayOfTheRecordDrawsWhatTheWindowDrew) {
    enum class Then { StandbyAndOn, PowerOffMidMove, OpenAnother };
    for (Then then : {Then::StandbyAndOn, Then::PowerOffMidMove, Then::OpenAnother}) {
        Plotter p;
        p.Ready();
        p.MoveTo(1500, 1000);
        const QString other = p.win.File("other.ptf");
        if (then == Then::OpenAnother) {
            p.DrawTo(4500, 1000);
            p.win.files.Script(other);
            ASSERT_TRUE(p.plot->SavePlotAs());
            p.MoveTo(1500, 4000);
        }
        p.Model().PlotterCommand(2, 0, p.Model().penX, p.Model().penY, false, false);
        p.Model().PlotterCommand(2, 0, 6000, p.Model().penY, false, false);
        if (then == Then::PowerOffMidMove) {
            for (int i = 0; i < 10; ++i)
                p.win.Fire("motionTimer");
            p.main->SetPowerSwitch(false);
            p.win.Fire("ChgModeTimer");
            p.win.PowerOn();
        } else {
            p.win.FireUntilStopped("motionTimer");
            p.Click(plotart::kSbyArea);
            if (then == Then::OpenAnother) {
                p.Item("Blue", p.Item("Pen Color")->menu())->trigger();
                p.win.files.Script(other);
                p.Item("Open")->trigger();
                EXPECT_EQ(p.Model().penIndex, 0) << "the file's red pen";
                EXPECT_EQ(plot::PointEntry(p.Model().penX, p.Model().penY),
                          plot::PointEntry(4500, 1000));
            }
            p.Click(plotart::kOnArea);
        }
        p.win.FireUntilStopped("motionTimer"); // home, with the pen up
        EXPECT_FALSE(p.Model().penDown);
        p.MoveTo(1500, 3000);
        p.DrawTo(4500, 3000);
        SCOPED_TRACE(static_cast<int>(then));
        EXPECT_TRUE(p.plot->Paper() == Replayed(p.Model().plotRecord));
    }
}

TEST(PlotterWindow, OpensBesideTheCalculatorAndAgainWhereItWasLeft) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize size(800, 580);
    const std::pair<QRect, QPoint> cases[] = {
        {{100, 100, 700, 500}, {800, 100}},  // right of it
        {{1000, 100, 700, 500}, {200, 100}}, // no room right: left of it
        {{500, 100, 900, 500}, {1120, 100}}, // room on neither side: the roomier side's edge
        {{600, 100, 900, 500}, {0, 100}},    // here the left one
        {{100, 900, 700, 150}, {800, 500}},  // level with it as far as the screen allows
        {{}, {560, 250}},                    // no calculator frame
    };
    EXPECT_EQ(PlaceBeside({0, 0, 700, 500}, size, {0, 0, 640, 480}), QPoint(-80, -50));
    for (const auto& [calculator, place] : cases)
        EXPECT_EQ(PlaceBeside(calculator, size, screen), place) << calculator.x();
    Plotter p;
    p.plot->move(40, 30);
    ASSERT_TRUE(p.ClosePlotter());
    p.main->PeripheralWindows().Open(Peripherals::Kind::Plotter);
    EXPECT_EQ(p.Shown()->pos(), QPoint(40, 30));
}

TEST(PlotterWindow, TheOnLeverHidesTheThumbItMovedFrom) {
    QImage window = plotart::Body();
    QPainter(&window).drawImage(plotart::kOnLever.topLeft(), plotart::Lever());
    const QRgb thumb = plotart::Body().pixel(plotart::kOnLever.topLeft() + QPoint(8, 5));
    int left = 0;
    for (int y = plotart::kOnLever.top(); y <= plotart::kOnLever.bottom(); ++y)
        for (int x = plotart::kOnLever.left(); x < plotart::kOnLever.center().x(); ++x)
            left += window.pixel(x, y) == thumb;
    EXPECT_EQ(left, 0);
}

// What the pointer finds where the art draws each control, and the pen tip where the pictures
// draw it, on the point the pen is at: the lowered tip there, the raised one higher, clear of it.
TEST(PlotterWindow, ThePointerAndThePenFindWhatTheArtDraws) {
    Plotter p;
    p.Click(plotart::kSbyArea);
    const struct {
        QPoint at;
        const char* hint;
        Qt::CursorShape cursor;
    } cases[] = {
        {plotart::kRelArea.center(), "Release paper", Qt::PointingHandCursor},
        {plotart::kHoldArea.center(), "Hold paper", Qt::PointingHandCursor},
        {plotart::kSbyArea.center(), "Set Standby mode", Qt::PointingHandCursor},
        {plotart::kOnArea.center(), "Set On mode", Qt::PointingHandCursor},
        {plotart::kPenButton.center(), "", Qt::PointingHandCursor},
        {plotart::TurnHandle(3).center(), "", Qt::OpenHandCursor},
        {plotart::kMoveStrip.center(), "", Qt::OpenHandCursor},
        {plotart::kPaper.center() + QPoint(0, 100), "", Qt::ArrowCursor},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(p.plot->HintAt(c.at), c.hint) << c.at.x();
        EXPECT_EQ(p.plot->CursorAt(c.at), c.cursor) << c.at.x();
    }
    p.Model().penX = 1234;
    p.Model().penY = 4321;
    EXPECT_EQ(p.plot->PenTip(),
              plotart::kPaper.topLeft() + QPoint(plot::PaperX(1234), plot::PaperY(4321)));
    const QImage down = plotart::Holder(true, 3), up = plotart::Holder(false, 3);
    const QPoint raised = plotart::kPenTip - QPoint(0, plotart::kPenLift);
    EXPECT_GT(qAlpha(down.pixel(plotart::kPenTip)), 100);
    EXPECT_GT(qAlpha(up.pixel(raised)), 100);
    EXPECT_LT(qAlpha(up.pixel(plotart::kPenTip)), 100);
}

TEST(PlotterPrint, TheGridPrintsDottedAndEndsAtItsLastFullCell) {
    for (int grid : {1, 2}) {
        QImage page(1500, 1000, QImage::Format_RGB32); // 100 dots an inch
        page.fill(Qt::white);
        PlotterModel model;
        QPainter painter(&page);
        PaintPlotPage(painter, page.size(), 100, {plot::kPenDown, plot::kGridBase - grid}, model);
        painter.end();
        const auto aqua = [&](int x, int y) {
            const QRgb c = page.pixel(x, y);
            return qRed(c) < 100 && qGreen(c) > 200 && qBlue(c) > 200;
        };
        int dots = 0, gaps = 0;
        for (int x = 60; x < 1440; ++x)
            (aqua(x, 50) ? dots : gaps) += 1;
        EXPECT_GT(dots, 200) << grid;
        EXPECT_GT(gaps, 400) << grid;
        int stray = 0;
        for (int i = 0; i < 1000; ++i)
            stray += aqua(1480, i) + aqua(i, 985);
        EXPECT_EQ(stray, 0) << grid;
    }
}
