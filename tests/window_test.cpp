// The calculator window's life: first start, saved state, closing, the display.
#include <QCloseEvent>
#include <QPointer>
#include <algorithm>

#include "engine/null_host.h"
#include "panel/machinestate.h"
#include "panel/pictures.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {
bool Shown(TmainFM& w, const QString& name) {
    return w.Scene().IsShown(name);
}
using S = layout::SwitchSetting;
} // namespace

TEST(StartUp, FirstStartWithNoFiles) {
    Window win;
    TmainFM& w = win.Start();
    ASSERT_TRUE(w.StartedUp());
    Calculator& c = w.Engine();
    EXPECT_FALSE(c.PowerOn);
    EXPECT_FALSE(c.RadMode);
    EXPECT_FALSE(c.FloatMode);
    EXPECT_FALSE(c.ProgramMode);
    EXPECT_EQ(c.DecimalWheel, 2);
    EXPECT_TRUE(Shown(w, pictures::SwitchLever(S::Deg)));
    EXPECT_TRUE(Shown(w, pictures::SwitchLever(S::Fix)));
    EXPECT_TRUE(Shown(w, pictures::SwitchLever(S::Off)));
    EXPECT_TRUE(Shown(w, pictures::SwitchLever(S::Run)));
    EXPECT_FALSE(Shown(w, pictures::SwitchLever(S::On)));
    EXPECT_TRUE(Shown(w, pictures::WheelDigit(2)));
    EXPECT_TRUE(w.PaperRoll().isEmpty());
    EXPECT_EQ(c.XReg[9], kBlankBit); // reset: X is blank zero
    EXPECT_EQ(c.StepsPerSleep, 51);
    EXPECT_EQ(w.width(), layout::kPanelWidth);
    EXPECT_TRUE(win.messages.Messages().empty());
    // Sounds are on: switching on clicks.
    win.PowerOn();
    EXPECT_TRUE(win.sounds.played.contains("swc"));
}

TEST(StartUp, WindowTakesTheOutlineOfTheCase) {
    // A slanted top over rows alike, with a hole of sky and a colour nearly sky blue.
    const QRgb sky = qRgb(layout::kSkyRed, layout::kSkyGreen, layout::kSkyBlue);
    QImage panel(40, 30, QImage::Format_RGB32);
    panel.fill(sky);
    for (int y = 5; y < 25; ++y)
        for (int x = std::max(4, 14 - y); x < 36; ++x)
            panel.setPixel(x, y, x % 7 == 0 ? qRgb(166, 202, 241) : qRgb(200, 196, 186));
    panel.setPixel(20, 15, sky);
    const QRegion region(PanelMask(RunPicture(panel)));
    for (int y = 0; y < panel.height(); ++y)
        for (int x = 0; x < panel.width(); ++x)
            EXPECT_EQ(region.contains(QPoint(x, y)), panel.pixel(x, y) != sky) << x << "," << y;
    EXPECT_LT(region.rectCount(), 20); // the rows alike share their rectangles
}

TEST(StartUp, MissingPanelPictureClosesSilentlyAndWritesNothing) {
    Window win(false);
    TmainFM& w = win.Start();
    win.Pump();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.StartedUp());
    EXPECT_TRUE(win.messages.Messages().empty());
    EXPECT_FALSE(win.Exists("cif9B.ini"));
    EXPECT_FALSE(win.Exists("cce9B.ini"));
}

TEST(StartUp, TakesThePanelPictureReadAheadInsteadOfReadingItAgain) {
    QTemporaryDir elsewhere;
    const QString path = elsewhere.path() + "/panel.dat";
    orrindale::testing::WritePanelPicture(path);
    Window win(false); // the program folder has no panel picture of its own
    TmainFM& w = win.Start(std::make_unique<PanelPreload>(PanelFiles{path, {}, {}}));
    win.Pump();
    EXPECT_TRUE(w.StartedUp());
    EXPECT_EQ(w.size(), QSize(layout::kPanelWidth, layout::kPanelHeight));
    EXPECT_TRUE(w.mask().contains(QPoint(20, 20)));
    EXPECT_FALSE(w.mask().contains(QPoint(2, 2)));
}

TEST(SavedState, CloseAndStartAgainRestoresRegistersProgramAndSwitches) {
    Window win;
    {
        TmainFM& w = win.Start();
        win.PowerOn();
        w.SetAngleSwitch(true);
        w.SetDisplaySwitch(true);
        w.StepWheel(+1);
        Calculator& c = w.Engine();
        c.ExecuteKey(35); // 5
        c.ExecuteKey(56); // X->()
        c.ExecuteKey(18); // d
        c.RegisterFile[2][3] = 044;
        ASSERT_TRUE(win.Close());
    }
    TmainFM& w = win.Start();
    Calculator& c = w.Engine();
    EXPECT_TRUE(c.RadMode);
    EXPECT_TRUE(c.FloatMode);
    EXPECT_EQ(c.DecimalWheel, 3);
    EXPECT_TRUE(Shown(w, pictures::SwitchLever(S::Rad)));
    EXPECT_TRUE(Shown(w, pictures::WheelDigit(3)));
    long double d = 0;
    RegToExt(c.RegisterFile[13], d);
    EXPECT_EQ(d, 5.0L);
    EXPECT_EQ(c.RegisterFile[2][3], 044);
    EXPECT_FALSE(c.PowerOn); // always starts switched off
}

TEST(SavedState, ResetOnStartUpSkipsTheStateButStillWritesIt) {
    Window win;
    {
        TmainFM& w = win.Start();
        w.Engine().RegisterFile[0][0] = 7;
        w.PopupMenu(); // the check mark is an entry of the pop-up menu
        for (QAction* a : w.findChildren<QAction*>())
            if (a->text() == "Reset On Start Up") a->trigger();
        ASSERT_TRUE(win.Close());
    }
    ASSERT_TRUE(win.Exists("cif9B.ini"));
    {
        TmainFM& w = win.Start();
        EXPECT_EQ(w.Engine().RegisterFile[0][0], 0); // not read
        w.Engine().RegisterFile[0][0] = 9;
        ASSERT_TRUE(win.Close());
    }
    // Written at the close all the same.
    QStringList lines;
    ASSERT_TRUE(LoadScrambledTextList(win.File("cif9B.ini"), lines));
    EXPECT_TRUE(lines.value(0).startsWith("0009~")) << lines.value(0).toStdString();
}

TEST(Closing, WhileAProgramRunsStopsItFirstAndResumesItLater) {
    Window win;
    {
        TmainFM& w = win.Start();
        win.PowerOn();
        Calculator& c = w.Engine();
        // 1 Add GoTo 0 0: runs for ever.
        for (int code : {001, 033, 044, 000, 000}) {
            c.RegisterFile[static_cast<size_t>(c.PcRow)][c.PcStep] = code;
            AdvancePc(c.PcRow, c.PcStep);
        }
        c.PcRow = c.PcStep = 0;
        bool refused = false;
        // The program runs inside the mode-change timer's handler; the close request comes
        // from a message it lets through, and the timer then closes the window.
        QTimer::singleShot(0, &w,
                           [&] { refused = !c.Running ? false : (w.close(), w.isVisible()); });
        c.ExecuteKey(pos::Cont);
        win.FireUntilStopped("ChgModeTimer");
        EXPECT_TRUE(refused); // the first request only asked the run loop to stop
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(c.Running);
    }
    QStringList lines;
    ASSERT_TRUE(LoadScrambledTextList(win.File("cif9B.ini"), lines));
    EXPECT_TRUE(lines.contains("107-1"));
    TmainFM& w = win.Start();
    Calculator& c = w.Engine();
    EXPECT_TRUE(c.RunAtPowerOn);
    long double before = 0, after = 0;
    RegToExt(c.YReg, before);
    QTimer::singleShot(0, &w, [&] {
        EXPECT_TRUE(c.Running); // resumed at power-on in RUN mode
        c.ExecuteKey(pos::Stop);
    });
    win.PowerOn();
    win.FireUntilStopped("ChgModeTimer");
    RegToExt(c.YReg, after);
    EXPECT_GT(after, before);
    EXPECT_FALSE(c.RunAtPowerOn);
}

TEST(Menu, EntriesInTheirOrder) {
    Window win;
    TmainFM& w = win.Start();
    QStringList texts;
    for (QAction* a : w.PopupMenu()->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts, (QStringList{"Magnetic Card", "Peripherals", "Printer Roll", "-",
                                  "View Program Memory", "Copy X\tCtrl+C", "Paste Into X\tCtrl+V",
                                  "Reset Memory", "-", "View Function Card", "Sounds", "-", "Help",
                                  "About", "-", "Close    (ESC)"}));
}

TEST(Menu, AboutAndHelp) {
    Window win;
    TmainFM& w = win.Start();
    w.ShowAbout();
    EXPECT_EQ(win.messages.LastText(), "Orrindale - v050418");
    EXPECT_FALSE(w.OpenDocument("HP9100BHelp.pdf"));
    EXPECT_EQ(win.messages.LastText(), "Unable to find document");
}

TEST(Menu, ResetNowAsksFirst) {
    Window win;
    TmainFM& w = win.Start();
    w.Engine().RegisterFile[3][3] = 5;
    win.messages.Script(MessageAnswer::No);
    w.ResetNow();
    EXPECT_EQ(w.Engine().RegisterFile[3][3], 5);
    win.messages.Script(MessageAnswer::Yes);
    w.ResetNow();
    EXPECT_EQ(w.Engine().RegisterFile[3][3], 0);
    EXPECT_TRUE(win.messages.LastText().startsWith("Confirm:"));
}

// ---- The display, pixel by pixel
// -----------------------------------------------------------------

namespace {
QImage TestGlyphs() {
    // Each glyph a distinct solid colour, so that a cell tells which glyph it holds.
    QImage sheet(128, 13, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    for (int g = 0; g < 16; ++g)
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 7; ++x)
                sheet.setPixel(8 * g + x, y, qRgb(g * 10 + 5, 255, 100));
    return sheet;
}

} // namespace

// The display is the handle the window is dragged by: an open hand over it, a closed one while
// dragging; the switch labels take a pointing hand.
TEST(Pointer, HandsOverTheDisplayPointingHandOverTheLabels) {
    Window win;
    TmainFM& w = win.Start();
    const QPoint display(layout::kDisplay.Left + 20, layout::kDisplay.Top + 20);
    auto hand = [](const QCursor& c) { return c.pixmap().toImage(); };
    const QImage open = pictures::FormPicture(pictures::kOpenHand);
    const QImage closed = pictures::FormPicture(pictures::kClosedHand);
    win.Mouse(QEvent::MouseMove, display);
    EXPECT_EQ(hand(w.cursor()), open.convertToFormat(hand(w.cursor()).format()));
    win.Mouse(QEvent::MouseButtonPress, display);
    EXPECT_EQ(hand(w.cursor()), closed.convertToFormat(hand(w.cursor()).format()));
    win.Mouse(QEvent::MouseButtonRelease, display);
    EXPECT_EQ(hand(w.cursor()), open.convertToFormat(hand(w.cursor()).format()));
    win.Mouse(QEvent::MouseMove, Window::LabelCentre(S::Rad));
    EXPECT_EQ(w.cursor().shape(), Qt::PointingHandCursor);
}

TEST(Display, CellsHoldTheGlyphsOfTheLine) {
    DisplayRenderer d;
    d.DimLevel = -5;
    d.SetGlyphSheet(TestGlyphs());
    d.DrawLine("SSS1P5", 2);
    const QImage& p = d.Picture();
    EXPECT_EQ(p.pixel(36, 43), qRgb(15, 255, 100));      // "1" at x 36
    EXPECT_EQ(p.pixel(44 + 6, 52), qRgb(145, 255, 100)); // the point at x 44
    EXPECT_EQ(p.pixel(52, 43), qRgb(55, 255, 100));      // "5" at x 52
    EXPECT_EQ(p.pixel(12, 43), qRgb(0, 0, 0));           // blanks stay dark
    EXPECT_EQ(p.pixel(59, 43), qRgb(0, 0, 0));           // the gap between cells
    d.DrawLine("SSSSSSSSSSSSSSSSSSSS8", 0);              // cell 20 is cut at the edge
    EXPECT_EQ(p.pixel(176, 5), qRgb(85, 255, 100));
}

TEST(Display, EngineLinesAtTheirRows) {
    NullEngineHost host;
    Calculator calc(host);
    calc.PowerOn = calc.DisplayOn = true;
    calc.ExecuteKey(47); // 1
    DisplayRenderer d;
    d.DimLevel = -5;
    d.SetGlyphSheet(TestGlyphs());
    d.Draw(calc);
    // X "SSSSSSSS1PSS": the 1 in cell 8, the point in cell 9, on the bottom line.
    EXPECT_EQ(d.Picture().pixel(12 + 64, 43), qRgb(15, 255, 100));
    EXPECT_EQ(d.Picture().pixel(12 + 72, 43), qRgb(145, 255, 100));
    // Y and Z blank zero: "0P" in the same cells of the top and middle lines.
    EXPECT_EQ(d.Picture().pixel(12 + 64, 5), qRgb(5, 255, 100));
    EXPECT_EQ(d.Picture().pixel(12 + 64, 24), qRgb(5, 255, 100));
    calc.Running = true; // a running program keeps the display dark
    d.Draw(calc);
    EXPECT_EQ(d.Picture().pixel(12 + 64, 43), qRgb(0, 0, 0));
}

TEST(Display, WarmsUpInFiftyTwoTicks) {
    NullEngineHost host;
    Calculator calc(host);
    DisplayRenderer d;
    d.SetGlyphSheet(TestGlyphs());
    d.PowerOn();
    ASSERT_TRUE(d.BrightnessTick(calc)); // first frame: 250 below the master
    EXPECT_EQ(d.GlyphSheet().pixel(0, 0), qRgb(0, 5, 0));
    int ticks = 1;
    while (d.BrightnessTick(calc))
        ++ticks;
    EXPECT_EQ(ticks + 1, 52); // the 52nd tick stops the timer
    EXPECT_EQ(d.GlyphSheet().pixel(0, 0), qRgb(5, 255, 100));
    EXPECT_FALSE(d.PowerOff() == false); // warm: the collapsing line shows
    EXPECT_EQ(d.CollapseInset, 20);
    std::vector<int> insets;
    while (d.BrightnessTick(calc))
        insets.push_back(d.CollapseInset);
    EXPECT_EQ(insets, (std::vector<int>{31, 42, 53, 64, 75, 86}));
}

TEST(Display, ShortWarmUpThenOffShowsNoLineAndCoolsDown) {
    NullEngineHost host;
    Calculator calc(host);
    DisplayRenderer d;
    d.SetGlyphSheet(TestGlyphs());
    for (int i = 0; i < 20; ++i)
        d.BrightnessTick(calc); // two seconds: level 155
    EXPECT_EQ(d.DimLevel, 155);
    EXPECT_FALSE(d.PowerOff());
    EXPECT_EQ(d.CollapseInset, 0);
    int ticks = 0;
    while (d.DimTick())
        ++ticks;
    EXPECT_EQ(d.DimLevel, 255);
}

// A peripheral window that asks for its release when it closes, as every one does.
class ReleasingWindow final : public QWidget {
public:
    explicit ReleasingWindow(std::function<void()> release) : release_(std::move(release)) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        release_();
        QWidget::closeEvent(event);
    }

private:
    std::function<void()> release_;
};

TEST(Peripherals, OneWindowOfAKindFreedOnlyByTheModeChangeTimer) {
    Window win;
    TmainFM& w = win.Start();
    using Kind = Peripherals::Kind;
    Peripherals& p = w.PeripheralWindows();
    QAction* entry = nullptr;
    for (QAction* a : w.findChildren<QAction*>())
        if (a->text() == "Extended Memory") entry = a;
    ASSERT_NE(entry, nullptr);
    p.SetFactory(Kind::ExtMemory, nullptr); // a kind nothing can make
    emit w.PopupMenu()->aboutToShow();
    EXPECT_FALSE(entry->isEnabled());
    EXPECT_EQ(p.Open(Kind::ExtMemory), nullptr);

    int made = 0;
    p.SetFactory(Kind::ExtMemory, [&](std::function<void()> release) {
        ++made;
        return std::make_unique<ReleasingWindow>(std::move(release));
    });
    emit w.PopupMenu()->aboutToShow();
    ASSERT_TRUE(entry->isEnabled());
    entry->trigger();
    QPointer<QWidget> window = p.Window(Kind::ExtMemory);
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_EQ(p.Open(Kind::ExtMemory), window.data());
    EXPECT_EQ(made, 1);

    window->close(); // from inside its own handler: only a request
    EXPECT_TRUE(window);
    EXPECT_EQ(w.Engine().PendingAction, pending::ReleaseExtMem);
    ASSERT_TRUE(win.Fire("ChgModeTimer"));
    EXPECT_FALSE(window);
    EXPECT_EQ(p.Window(Kind::ExtMemory), nullptr);
    EXPECT_EQ(w.Engine().PendingAction, 0);
    EXPECT_NE(p.Open(Kind::ExtMemory), nullptr); // a new one next time
    EXPECT_EQ(made, 2);
}
