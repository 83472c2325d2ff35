// The HP 9101A window beside a real calculator, offscreen: opening and releasing, the switches
// and their file, the saved memory, the menu commands and the viewer's expanded mode.
#include <QKeyEvent>
#include <algorithm>
#include <sstream>

#include "memexp/instructioncard.h"
#include "memexp/memart.h"
#include "memexp/memlayout.h"
#include "memexp/memoryfile.h"
#include "memexp/memorymap.h"
#include "memexp/memwindow.h"
#include "viewer/view.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {

using Kind = Peripherals::Kind;

void WriteScrambledBmp(const QString& path, const QImage& picture) {
    orrindale::testing::WriteScrambledBytes(path, memart::Bmp24(picture));
}

struct MemoryWindow {
    Window win;
    TmainFM* main = nullptr;

    explicit MemoryWindow(bool picture = true) {
        if (picture) WriteScrambledBmp(win.File(files::kExtMemoryPicture), memart::RenderPanel());
        main = &win.Start();
        main->Engine().PowerOn = main->Engine().DisplayOn = true;
    }
    TmemFM* Open() {
        main->PeripheralWindows().Open(Kind::ExtMemory);
        win.Pump();
        return main->ExtMemoryWindow().Window();
    }
    void Keys(const std::string& names) {
        std::istringstream in(names);
        for (std::string name; in >> name;)
            main->Engine().ExecuteKeyByHand(*KeyPosFromMnemonic(name));
    }
    void Click(TmemFM& mem, const memlayout::Rect& r) {
        const QPoint at(r.Left + r.Width / 2, r.Top + r.Height / 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, mem.mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&mem, &press);
    }
    // Closes the memory window and lets the mode-change timer release it.
    void CloseMemory(TmemFM& mem) {
        mem.close();
        win.Fire("ChgModeTimer");
    }
};

std::string TextOf(const QString& path) {
    TextList lines;
    if (!LoadScrambledTextList(NativePath(path), lines)) return "(none)";
    std::string text;
    for (const std::string& line : lines)
        text += line + "|";
    return text;
}

} // namespace

TEST(MemoryWindow, WithoutItsPictureNothingOpensAndNothingIsSaid) {
    MemoryWindow m(false);
    EXPECT_EQ(m.Open(), nullptr);
    EXPECT_EQ(m.main->ExtMemory(), nullptr);
}

TEST(MemoryWindow, SwitchesTheirSoundsAndTheirFile) {
    MemoryWindow m;
    TmemFM* mem = m.Open();
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(mem->windowTitle(), "HP9101A");
    EXPECT_EQ(mem->size(), QSize(memlayout::kPanelWidth, memlayout::kPanelHeight));
    ASSERT_EQ(m.main->ExtMemory(), &mem->Memory());
    EXPECT_FALSE(m.main->ExtMemory()->On()); // no "mmdf.ini": both OFF
    m.Click(*mem, memlayout::kLineOnArea);
    m.Click(*mem, memlayout::kFilOnArea);
    m.Click(*mem, memlayout::kFilOffArea);
    EXPECT_TRUE(mem->Memory().LineOn());
    EXPECT_FALSE(mem->Memory().FilOn());
    EXPECT_EQ(m.win.sounds.played, QStringList({"swc", "swc", "swc"}));
    m.CloseMemory(*mem);
    EXPECT_EQ(m.main->ExtMemory(), nullptr);
    EXPECT_EQ(m.main->ExtMemoryWindow().Window(), nullptr); // released by the timer
    EXPECT_EQ(TextOf(m.win.File(files::kExtMemorySwitches)), "000-1|0010|");
}

TEST(MemoryWindow, TheLeverHalvesAndTheirCaptionsSetTheSwitch) {
    using namespace memlayout;
    const Rect& lever = kFilLever;
    const struct {
        const char* where;
        int x, y;
        bool on;
    } cases[] = {
        {"upper half", lever.Left + lever.Width / 2, lever.Top + 3, true},
        {"lower half", lever.Left + lever.Width / 2, lever.Top + lever.Height - 3, false},
        {"ON caption", lever.Left + kCaptionLeft + 12, lever.Top + kOnCaptionTop + 5, true},
        {"OFF caption", lever.Left + kCaptionLeft + 12, lever.Top + kOffCaptionTop + 5, false},
    };
    MemoryWindow m;
    TmemFM* mem = m.Open();
    for (const auto& c : cases) {
        mem->SetFilSwitch(!c.on, false);
        m.Click(*mem, Rect{c.x, c.y, 1, 1});
        EXPECT_EQ(mem->Memory().FilOn(), c.on) << c.where;
    }
}

TEST(MemoryWindow, MemoryIsKeptBetweenOpenings) {
    MemoryWindow m;
    TmemFM* mem = m.Open();
    m.Click(*mem, memlayout::kLineOnArea);
    m.Keys("7 SHUP 5 FMT Y>[]");
    m.CloseMemory(*mem);
    MemoryImage saved;
    ASSERT_EQ(LoadMemoryFile(NativePath(m.win.File(files::kExtMemoryContents)), saved),
              MemoryLoad::Loaded);
    EXPECT_EQ(saved.memWords[5], m.main->Engine().YReg);
    mem = m.Open();
    EXPECT_TRUE(mem->Memory().LineOn());
    EXPECT_EQ(mem->Memory().Image(), saved);
    const std::string file = TextOf(m.win.File(files::kExtMemoryContents));
    EXPECT_EQ(std::count(file.begin(), file.end(), '|'), 1 + 248 + 1 + 14 + 1); // the full form
}

TEST(MemoryWindow, DamagedSavedMemoryIsReportedAndCleared) {
    MemoryWindow m;
    MemoryImage image;
    image.memWords[0][0] = 7;
    TextList lines = MemoryFileLines(image, true);
    lines.push_back("005150");
    ASSERT_TRUE(SaveScrambledTextList(NativePath(m.win.File(files::kExtMemoryContents)), lines));
    TmemFM* mem = m.Open();
    // Told with where the damaged file was kept.
    EXPECT_TRUE(m.win.messages.LastText().startsWith("ERROR: Failed to load memory file\r\r"));
    EXPECT_EQ(mem->Memory().Image(), MemoryImage{});
}

TEST(MemoryWindow, CalculatorCloseKeepsTheMemory) {
    MemoryWindow m;
    TmemFM* mem = m.Open();
    m.Click(*mem, memlayout::kLineOnArea);
    m.Keys("9 SHUP 3 FMT Y>[]");
    ASSERT_TRUE(m.win.Close());
    MemoryImage saved;
    ASSERT_EQ(LoadMemoryFile(NativePath(m.win.File(files::kExtMemoryContents)), saved),
              MemoryLoad::Loaded);
    EXPECT_EQ(TCalcRegister(saved.memWords[3]), m.main->Engine().YReg);
    EXPECT_EQ(TextOf(m.win.File(files::kExtMemorySwitches)), "000-1|0010|");
}

TEST(MemoryWindow, LineOffPutsTheLampOutAndFreesTheKeys) {
    MemoryWindow m;
    TmemFM* mem = m.Open();
    m.Click(*mem, memlayout::kLineOnArea);
    m.Keys("2 4 9 FMT Pi");
    EXPECT_TRUE(mem->Memory().FmtLamp());
    m.Click(*mem, memlayout::kLineOffArea);
    EXPECT_FALSE(mem->Memory().FmtLamp());
    m.Keys("Clr 5 FMT StFg");
    EXPECT_EQ(m.main->Engine().Flags.UserFlag, 1); // SET FLAG did its ordinary work
}

TEST(MemoryWindow, MenuInOrderMapInitialiseCardManualEscape) {
    MemoryWindow m;
    TmemFM* mem = m.Open();
    QStringList items;
    for (QAction* a : mem->PopupMenu()->actions())
        items << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items, QStringList({"View Extended Memory", "View Memory Map", "Initialise Memory",
                                  "View Instruction Card", "-", "Manual", "Help", "Close  (Esc)"}));
    MemoryImage& image = mem->Memory().Image();
    EXPECT_EQ(MemoryMapText(image), "Protect Line:   0");
    image.progDirectory = {{3, 0}, {12, 2}};
    image.protectLine = 4;
    EXPECT_EQ(MemoryMapText(image), "Program Number: 3\nMemory Address: 0\n\n"
                                    "Program Number: 12\nMemory Address: 2\n\n"
                                    "Protect Line:   4");
    image.memWords[9][1] = 5;
    m.win.messages.Script(MessageAnswer::No);
    mem->InitialiseMemoryClick();
    EXPECT_EQ(image.memWords[9][1], 5);
    m.win.messages.Script(MessageAnswer::Yes);
    mem->InitialiseMemoryClick();
    EXPECT_EQ(image, MemoryImage{});
    EXPECT_EQ(m.win.messages.Messages().size(), 2u);
    mem->ViewInstructionCardClick(); // no "mmexpl.dat" here
    EXPECT_EQ(m.win.messages.LastText(), "ERROR: failed to load data file");
    QFile manual(m.win.File(files::kExtMemoryHelpDocument));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    mem->ManualClick();
    ASSERT_FALSE(m.win.opener.opened.isEmpty());
    EXPECT_TRUE(m.win.opener.opened.back().endsWith("/9101A.pdf"));
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent escape(type, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(mem, &escape);
    }
    EXPECT_EQ(m.main->ExtMemory(), nullptr);
}

TEST(MemoryWindow, ViewerExpandedModeLoadsSavesAndSends) {
    MemoryWindow m;
    TmemFM* mem = m.Open();
    m.Click(*mem, memlayout::kLineOnArea);
    MemoryImage& image = mem->Memory().Image();
    image.memWords[247][13] = 046;
    image.progDirectory = {{4, 1}};
    image.callTop = 5;
    Services services;
    services.ProgramFolder = m.win.File("");
    services.Messages = &m.win.messages;
    services.Files = &m.win.files;
    TviewFM view(services, ExpandedMemoryOf(*mem), true);
    view.show();
    ASSERT_EQ(view.Table().Rows(), 3472);
    EXPECT_EQ(view.Table().Address(3471), "247.d");
    EXPECT_EQ(view.Table().Code(3471), "46");
    const QString exm = m.win.File("prog.exm");
    m.win.files.Script(exm);
    ASSERT_TRUE(view.SaveExpandedClick());
    EXPECT_EQ(m.win.files.asked.back().Start, m.win.File("*.exm"));
    const std::string saved = TextOf(exm);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '|'), 1 + 248 + 1); // the short form
    view.NewClick(); // the state goes, the words stay
    EXPECT_TRUE(image.progDirectory.empty());
    EXPECT_EQ(image.callTop, 0);
    EXPECT_EQ(image.memWords[247][13], 046);
    m.win.messages.Script(MessageAnswer::Yes);
    view.SendToMemoryClick(); // the emptied table into the memory
    EXPECT_EQ(image.memWords[247][13], 0);
    m.win.files.Script(exm);
    view.LoadExpandedClick();
    EXPECT_EQ(image.memWords[247][13], 046);
    EXPECT_EQ(image.progDirectory, (std::vector<MemoryImage::Program>{{4, 1}}));
    EXPECT_EQ(view.Table().Code(3471), "46");
    EXPECT_EQ(view.windowTitle(), "HP 9101A Extended Memory Viewer [prog]");
    m.win.files.Script(""); // an expanded file is never proposed to take a listing
    EXPECT_FALSE(view.SaveTextClick());
    EXPECT_EQ(m.win.files.asked.back().Start, m.win.File("*.txt"));
    // A file that is no memory file at all is reported and leaves the memory alone.
    WriteScrambledBmp(m.win.File("bad.exm"), QImage(2, 2, QImage::Format_RGB32));
    m.win.files.Script(m.win.File("bad.exm"));
    view.LoadExpandedClick();
    EXPECT_EQ(m.win.messages.LastText(), "ERROR: Failed to load memory file\r\r" +
                                             m.win.File("bad.exm") +
                                             "\r\rnot a memory file, or a damaged one");
    EXPECT_EQ(image.memWords[247][13], 046);
    // Nor does one damaged past its first lines: 249 registers are one too many.
    ASSERT_TRUE(SaveScrambledTextList(NativePath(m.win.File("long.exm")), TextList(249, "001")));
    m.win.files.Script(m.win.File("long.exm"));
    view.LoadExpandedClick();
    EXPECT_EQ(m.win.messages.LastText(),
              "ERROR: Memory file data is corrupt\r\rThe extended memory was left as it was\r\r" +
                  m.win.File("long.exm") + "\r\rnot a memory file, or a damaged one");
    EXPECT_EQ(image.memWords[247][13], 046);
    EXPECT_EQ(view.Table().Code(3471), "46");
}

TEST(MemoryWindow, ViewerWithLineOffStillShowsTheMemory) {
    MemoryWindow m;
    TmemFM* mem = m.Open();
    mem->Memory().Image().memWords[0][0] = 033;
    Services services;
    services.ProgramFolder = m.win.File("");
    services.Messages = &m.win.messages;
    TviewFM view(services, ExpandedMemoryOf(*mem), true);
    view.show();
    EXPECT_EQ(view.Table().Instruction(0), "Add");
    view.SendToMemoryClick();
    EXPECT_EQ(m.win.messages.LastText(),
              "Code can only be transferred to memory when the calculator is turned on");
}
