// Files opened from outside the calculator: where each kind goes, the files a drop carries, and
// a card named on the command line.
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "common/filedrop.h"
#include "panel/fileopening.h"
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
