// The calculator with state files it cannot read: each is put aside as NAME.damaged, the user is
// told once where it went, and the close writes a fresh file beside the kept copy.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include <algorithm>
#include <cerrno>

#include "common/statesave.h"
#include "memexp/memart.h"
#include "memexp/memwindow.h"
#include "plotter/plotart.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {

using Kind = Peripherals::Kind;

std::string Raw(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

// A file that cannot be read: no permission, or for root (who may read anything) a FIFO, which
// no reader opens.
void MakeUnreadable(const QString& path) {
    const std::string native = NativePath(path);
    if (::geteuid() == 0) {
        ::mkfifo(native.c_str(), 0644);
    } else {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("saved");
        file.close();
        ::chmod(native.c_str(), 0);
    }
}

// The plotter's and the memory's pictures, so that both windows open beside the calculator.
void WritePeripheralPictures(const Window& win) {
    orrindale::testing::WriteScrambledPng(win.File(files::kPlotterPicture), plotart::Body());
    std::string bmp = memart::Bmp24(memart::RenderPanel());
    ScrambleBytes(bmp);
    QFile picture(win.File(files::kExtMemoryPicture));
    ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    picture.write(bmp.data(), static_cast<qint64>(bmp.size()));
}

TEST(StateFilesWindow, AFileThatCannotBeReadIsKeptAsideToldOnceAndNotOverwritten) {
    for (const char* name : files::kStateFiles) {
        for (const bool unreadable : {false, true}) {
            SCOPED_TRACE(std::string(name) + (unreadable ? " unreadable" : " damaged"));
            Window win;
            WritePeripheralPictures(win);
            const QString path = win.File(name), aside = path + ".damaged";
            QFile(aside).open(QIODevice::WriteOnly); // an older copy, replaced
            if (unreadable) {
                MakeUnreadable(path);
            } else {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write("NeWe\r99\rcut short");
            }
            TmainFM& main = win.Start();
            main.PeripheralWindows().Open(Kind::Plotter);
            main.PeripheralWindows().Open(Kind::ExtMemory);
            win.Pump();
            ASSERT_EQ(win.messages.Messages().size(), 1u);
            const auto& told = win.messages.Messages().front();
            EXPECT_TRUE(told.text.contains(aside)) << told.text.toStdString();
            EXPECT_EQ(told.kind, std::string(name) == files::kExtMemoryContents
                                     ? MessageKind::Error
                                     : MessageKind::Warning);
            QFileInfo kept(aside);
            EXPECT_TRUE(unreadable ? (::geteuid() == 0 ? !kept.isFile() : kept.size() == 5)
                                   : Raw(aside) == "NeWe\r99\rcut short");
            ASSERT_TRUE(win.Close());
            TextList fresh;
            EXPECT_TRUE(LoadScrambledTextList(NativePath(path), fresh) ||
                        IsEmptyScrambledTextList(NativePath(path))) // the empty roll
                << "no fresh file";
            EXPECT_TRUE(QFileInfo(aside).exists());
        }
    }
}

// A small file system of its own, filled up, for the state files to be written to through
// links: the disk is full. Only root may mount one; elsewhere the case is skipped.
class FullDisk {
public:
    FullDisk() {
        const QByteArray at = QFile::encodeName(dir_.path());
        if (::geteuid() != 0 || ::mount("tmpfs", at.constData(), "tmpfs", 0, "size=64k") != 0)
            return;
        mounted_ = true;
        QFile filler(dir_.path() + "/filler");
        filler.open(QIODevice::WriteOnly);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    ~FullDisk() {
        if (mounted_) ::umount(QFile::encodeName(dir_.path()).constData());
    }
    bool Mounted() const { return mounted_; }
    QString Path(const char* name) const { return dir_.path() + "/" + name; }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

// Each file the calculator and its peripherals keep, made impossible to write at close in the
// ways a user meets (a full disk; a folder where the file should be, which stands for any file
// the system refuses to replace): the close says which file and why, Cancel keeps everything
// open, and once the cause is gone the next close writes the file.
TEST(StateFilesWindow, AFileThatCannotBeWrittenAtCloseIsNamedAndNothingIsLost) {
    struct Case {
        const char* How;
        const char* Reason;
    };
    for (const Case& c :
         {Case{"in the way", "Is a directory"}, Case{"full disk", "No space left on device"}}) {
        for (const char* name : files::kStateFiles) {
            SCOPED_TRACE(std::string(name) + ", " + c.How);
            FullDisk disk;
            const bool full = std::string(c.How) == "full disk";
            if (full && !disk.Mounted())
                GTEST_SKIP() << "a file system can be mounted only by root";
            Window win;
            WritePeripheralPictures(win);
            TmainFM& main = win.Start();
            main.PeripheralWindows().Open(Kind::Plotter);
            main.PeripheralWindows().Open(Kind::ExtMemory);
            win.Pump();
            const QString path = win.File(name);
            QFile::remove(path);
            if (full)
                ASSERT_TRUE(QFile::link(disk.Path(name), path));
            else
                ASSERT_TRUE(QDir().mkpath(path + "/in the way"));
            win.messages.Script(MessageAnswer::Cancel);
            EXPECT_FALSE(win.Close());
            ASSERT_EQ(win.messages.Messages().size(), 1u);
            const QString told = win.messages.Messages().back().text;
            EXPECT_TRUE(told.contains(path + ": " + c.Reason)) << told.toStdString();
            EXPECT_NE(main.PeripheralWindows().Window(Kind::Plotter), nullptr);
            EXPECT_NE(main.PeripheralWindows().Window(Kind::ExtMemory), nullptr);
            if (full)
                QFile::remove(disk.Path("filler"));
            else
                QDir(path).removeRecursively();
            ASSERT_TRUE(win.Close());
            TextList written;
            EXPECT_TRUE(LoadScrambledTextList(NativePath(path), written) ||
                        IsEmptyScrambledTextList(NativePath(path)));
        }
    }
}

// The services a save of state files needs, over a fresh state folder.
struct SaveServices {
    QTemporaryDir home;
    orrindale::testing::ScriptedMessenger messages;
    orrindale::testing::ScriptedFileChooser chooser;
    StateFiles state{NativePath(home.path() + "/"), {}};
    Services services = [this] {
        Services s;
        s.ProgramFolder = home.path() + "/";
        s.Messages = &messages;
        s.Files = &chooser;
        s.State = &state;
        return s;
    }();
};

// What the user may do about files that could not be written, in the order the boxes ask:
// the outcome, and which of the two files ended up written where.
TEST(StateFilesWindow, TheUserChoosesWhatBecomesOfAFailedSave) {
    using A = MessageAnswer;
    struct Case {
        const char* What;
        std::vector<A> Answers;
        bool ChooseFolder;
        SaveOutcome Outcome;
        bool InChosenFolder; // both files, there, and the save folder moved there
    };
    const Case cases[] = {
        {"retry once the disk has room", {A::Retry}, false, SaveOutcome::Saved, false},
        {"another folder", {A::Elsewhere, A::Ok}, true, SaveOutcome::Saved, true},
        {"no folder chosen, then cancel",
         {A::Elsewhere, A::Cancel},
         false,
         SaveOutcome::Cancelled,
         false},
        {"close without, then think again",
         {A::Discard, A::No, A::Cancel},
         false,
         SaveOutcome::Cancelled,
         false},
        {"close without, confirmed", {A::Discard, A::Yes}, false, SaveOutcome::Dropped, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        QTemporaryDir chosen;
        SaveServices set;
        auto& [home, messages, chooser, state, services] = set;
        for (A answer : c.Answers)
            if (answer != A::Ok) messages.Script(answer);
        if (std::count(c.Answers.begin(), c.Answers.end(), A::Elsewhere))
            chooser.Script(c.ChooseFolder ? chosen.path() : QString());
        // The machine state fails once (a full disk), then goes; the roll always goes.
        int tries = 0;
        auto write = [](const QString& path) { return QFile(path).open(QIODevice::WriteOnly); };
        const std::vector<StateWrite> writes = {{files::kMachineState,
                                                 [&](const QString& path) {
                                                     if (tries++ > 0) return write(path);
                                                     errno = ENOSPC;
                                                     return false;
                                                 }},
                                                {files::kPaperRoll, write}};
        EXPECT_EQ(SaveStateFiles(services, writes), c.Outcome);
        const QString first = messages.Messages().front().text;
        EXPECT_TRUE(first.contains(home.path() + "/cif9B.ini: No space left on device"))
            << first.toStdString();
        EXPECT_FALSE(first.contains("pf9B.dat"));
        EXPECT_EQ(QFile::exists(chosen.path() + "/cif9B.ini") &&
                      QFile::exists(chosen.path() + "/pf9B.dat"),
                  c.InChosenFolder);
        EXPECT_EQ(QString::fromStdString(state.SaveFolder()),
                  (c.InChosenFolder ? chosen.path() : home.path()) + "/");
    }
}

// Nobody to ask (the program ends on a signal): a file that cannot be written where it belongs
// is written into a folder kept aside, and the close goes on without a question.
TEST(StateFilesWindow, AFailedSaveWithNobodyToAskIsKeptAside) {
    SaveServices set;
    auto& [home, messages, chooser, state, services] = set;
    state.SetUnattended(true);
    ASSERT_TRUE(QDir().mkpath(home.path() + "/cif9B.ini/in the way"));
    const std::vector<StateWrite> writes = {{files::kMachineState, [](const QString& path) {
                                                 return SaveScrambledTextList(path, {"kept"});
                                             }}};
    EXPECT_EQ(SaveStateFiles(services, writes), SaveOutcome::Saved);
    const QStringList aside =
        QDir(home.path()).entryList({"orrindale-unsaved-*"}, QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(aside.size(), 1);
    QStringList kept;
    EXPECT_TRUE(LoadScrambledTextList(home.path() + "/" + aside[0] + "/cif9B.ini", kept));
    EXPECT_EQ(kept, QStringList{"kept"});
    EXPECT_TRUE(messages.Messages().empty());
}

} // namespace
