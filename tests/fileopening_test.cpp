// Files opened from outside the calculator: where each kind goes, the files a drop carries, and
// a card named on the command line.
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "cards/marked/cardeditor.h"
#include "cards/marked/readerart.h"
#include "common/filedrop.h"
#include "memexp/memart.h"
#include "panel/fileopening.h"
#include "plotter/plotart.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {

QStringList CardMenuTexts(TmainFM& w) {
    QStringList texts;
    for (QAction* entry : w.PopupMenu()->actions())
        if (entry->menu() && entry->text() == "Magnetic Card")
            for (QAction* action : entry->menu()->actions())
                texts.append(action->text());
    return texts;
}

// The pictures of the peripheral windows, which do not show without them.
void WritePeripheralPictures(Window& win) {
    auto write = [&win](const char* name, const QImage& picture, const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, format);
        orrindale::testing::WriteScrambledBytes(win.File(name), bytes.toStdString());
    };
    write(files::kCardReaderPicture, readerart::RenderReader(), "PNG");
    write(files::kPlotterPicture, plotart::Body(), "PNG");
    write(files::kExtMemoryPicture, memart::RenderPanel(), "BMP");
}

// A blank card, as the slot saves a new one.
void WriteBlankCard(const QString& path) {
    ASSERT_TRUE(SaveScrambledTextList(path, QStringList{"", "", "0", "0"}));
}

} // namespace

TEST(FileKinds, TheEndingOfTheNameTellsWhereAFileGoes) {
    const struct {
        const char* path;
        FileKind kind;
    } cases[] = {
        {"/home/u/sum.mcf", FileKind::MagneticCard},
        {"/home/u/SUM.MCF", FileKind::MagneticCard},
        {"stack.ocf", FileKind::CardStack},
        {"/a.b/sine.ptf", FileKind::Plot},
        {"memory.exm", FileKind::Memory},
        {"program.txt", FileKind::Listing},
        {"/home/u/mcf", FileKind::Unknown},
        {"card.mcf.bak", FileKind::Unknown},
        {"picture.png", FileKind::Unknown},
        {"", FileKind::Unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KindOfFile(c.path), c.kind) << c.path;
}

TEST(FileDrop, OnlyLocalFilesAreTaken) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a.ocf"), QUrl("https://example.org/b.ocf"),
                  QUrl::fromLocalFile("/tmp/c d.ptf")});
    EXPECT_EQ(DroppedFiles(&data), (QStringList{"/tmp/a.ocf", "/tmp/c d.ptf"}));
    data.setText("/tmp/a.ocf");
    data.setUrls({});
    EXPECT_TRUE(DroppedFiles(&data).isEmpty());
}

TEST(OpenFiles, ANamedCardGoesIntoTheSlotOfTheCalculatorSwitchedOnForIt) {
    Window maker;
    const QString file = maker.File("sum.mcf");
    {
        TmainFM& w = maker.Start();
        maker.PowerOn();
        w.Cards().SetNamesEditor([](QString& a, QString&) {
            a = "sum";
            return true;
        });
        w.Cards().NewProgramcard1Click();
        maker.files.Script(file);
        ASSERT_TRUE(w.Cards().SaveCardAs());
        ASSERT_TRUE(maker.Close());
    }
    Window win;
    TmainFM& w = win.Start();
    ASSERT_FALSE(w.Engine().PowerOn);
    w.OpenFiles({file});
    win.Fire("ChgModeTimer");
    EXPECT_TRUE(w.Engine().PowerOn);
    EXPECT_TRUE(w.Cards().Card().cardPresent);
    EXPECT_EQ(w.Cards().Card().cardNameA, "sum");
    EXPECT_TRUE(CardMenuTexts(w).contains("[sum]"));
    EXPECT_TRUE(win.files.asked.empty()) << "no file dialog for a named file";
}

TEST(OpenFiles, AFileThatCannotBeOpenedGetsItsWindowsOwnMessage) {
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"missing.mcf", "ERROR: Failed to open program file"},
        {"notes.doc", "ERROR: Not a file of the calculator or its peripherals:"},
    };
    for (const auto& c : cases) {
        Window win;
        TmainFM& w = win.Start();
        w.OpenFiles({win.File(c.name)});
        EXPECT_TRUE(win.messages.LastText().startsWith(c.message)) << c.name;
    }
}

TEST(OpenFiles, FilesThatDoNotOpenAreToldInOneBoxWithTheFilesBeyondTheLimit) {
    Window win;
    TmainFM& w = win.Start();
    const QString card = win.File("blank.mcf");
    WriteBlankCard(card);
    QStringList paths{win.File("missing.mcf")};
    for (int i = 0; i < kListedFailures + 1; ++i)
        paths.append(win.File(QString("notes%1.doc").arg(i).toUtf8().constData()));
    while (paths.size() < kMaxOpenFiles + 44)
        paths.append(card);
    const size_t shownBefore = win.messages.Messages().size();
    w.OpenFiles(paths);
    ASSERT_EQ(win.messages.Messages().size(), shownBefore + 1);
    const QString text = win.messages.LastText();
    EXPECT_TRUE(text.startsWith("ERROR: 14 files could not be opened:\r\r"
                                "missing.mcf: No such file or directory\r"
                                "notes0.doc: the calculator opens"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("notes10.doc: ")) << "the twelfth failure is listed";
    EXPECT_FALSE(text.contains("notes11.doc")) << "the thirteenth is counted";
    EXPECT_TRUE(text.contains("\rand 2 more\r\r"));
    EXPECT_TRUE(text.endsWith("\r\r44 more files were not opened: at most 256 open at once"));
    EXPECT_TRUE(w.Cards().Card().cardPresent) << "the files that open are opened";
}

TEST(OpenFiles, EachWindowNamesTheFileAndWhyItDidNotOpen) {
    const struct {
        const char* name;
        bool bad; // there, but not what its name says
        const char* text;
    } cases[] = {
        {"missing.mcf", false,
         "ERROR: Failed to open program file\r\r%1\r\rNo such file or directory"},
        {"bad.mcf", true,
         "ERROR: Program file data is corrupt\r\r%1\r\rnot a magnetic card file, or a damaged one"},
        {"missing.ocf", false,
         "ERROR: Program file data is corrupt\r\r%1\r\rNo such file or directory"},
        {"bad.ocf", true,
         "ERROR: Program file data is corrupt\r\r%1\r\rnot a card stack file, or a damaged one"},
        {"missing.ptf", false, "ERROR: Failed to open file\r\r%1\r\rNo such file or directory"},
        {"bad.ptf", true,
         "ERROR: Plotter file data is corrupt\r\r%1\r\rnot a plot file, or a damaged one"},
        {"missing.exm", false,
         "ERROR: Failed to load memory file\r\r%1\r\rNo such file or directory"},
        {"bad.exm", true,
         "ERROR: Failed to load memory file\r\r%1\r\rnot a memory file, or a damaged one"},
        {"missing.txt", false, "ERROR: Failed to open file\r\r%1\r\rNo such file or directory"},
        {"bad.txt", true, "Invalid code found - Adder\r\r%1"},
        {"folder.txt", false, "ERROR: Failed to open file\r\r%1\r\rIs a directory"},
        {"notes.doc", false,
         "ERROR: Not a file of the calculator or its peripherals:\r\r%1\r\r"
         "the calculator opens *.mcf, *.ocf, *.ptf, *.exm and *.txt files"},
    };
    for (const auto& c : cases) {
        Window win;
        WritePeripheralPictures(win);
        const QString path = win.File(c.name);
        if (c.bad) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("+0.2 Adder\r\n");
        }
        if (QString(c.name).startsWith("folder")) {
            ASSERT_TRUE(QDir().mkdir(path));
        }
        TmainFM& w = win.Start();
        win.PowerOn();
        const size_t shownBefore = win.messages.Messages().size();
        w.OpenFiles({path});
        EXPECT_EQ(win.messages.Messages().size(), shownBefore + 1) << c.name;
        EXPECT_EQ(win.messages.LastText(), QString(c.text).replace("%1", path)) << c.name;
    }
}

TEST(FileDrop, AWindowRefusesWhileDraggingTheFilesItCannotTake) {
    Window win;
    WritePeripheralPictures(win);
    TmainFM& w = win.Start();
    Peripherals& peripherals = w.PeripheralWindows();
    Services services;
    services.Messages = &win.messages;
    services.Files = &win.files;
    TCardStack stack;
    TprgCrdFM editor(services, stack);
    const struct {
        QWidget* window;
        QStringList files;
        bool taken;
    } cases[] = {
        {&w, {"a.ptf"}, true},
        {&w, {"a.png"}, false},
        {&w, {"a.png", "b.mcf"}, true}, // the picture is then told as not opened
        {peripherals.Open(Peripherals::Kind::Plotter), {"a.exm"}, true},
        {peripherals.Open(Peripherals::Kind::Plotter), {"a.pdf"}, false},
        {peripherals.Open(Peripherals::Kind::ExtMemory), {"a.txt"}, true},
        {peripherals.Open(Peripherals::Kind::CardReader), {"a.mcf.bak"}, false},
        {&editor, {"a.ocf"}, true},
        {&editor, {"a.txt"}, true},
        {&editor, {"a.ptf"}, false}, // its window could not be used while the editor is open
        {&editor, {"a.ocf", "b.ocf"}, false}, // the editor holds one stack
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.window, nullptr);
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : c.files)
            urls.append(QUrl::fromLocalFile(win.File(file.toUtf8().constData())));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(c.window, &enter);
        EXPECT_EQ(enter.isAccepted(), c.taken)
            << c.window->metaObject()->className() << " " << c.files.join(' ').toStdString();
    }
}
