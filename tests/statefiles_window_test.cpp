// The calculator with state files it cannot read: each is put aside as NAME.damaged, the user is
// told once where it went, and the close writes a fresh file beside the kept copy.
#include <sys/stat.h>
#include <unistd.h>

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

TEST(StateFilesWindow, AFileThatCannotBeReadIsKeptAsideToldOnceAndNotOverwritten) {
    for (const char* name : files::kStateFiles) {
        for (const bool unreadable : {false, true}) {
            SCOPED_TRACE(std::string(name) + (unreadable ? " unreadable" : " damaged"));
            Window win;
            orrindale::testing::WriteScrambledPng(win.File(files::kPlotterPicture),
                                                  plotart::Body());
            std::string bmp = memart::Bmp24(memart::RenderPanel());
            ScrambleBytes(bmp);
            QFile picture(win.File(files::kExtMemoryPicture));
            ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
            picture.write(bmp.data(), static_cast<qint64>(bmp.size()));
            picture.close();
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

} // namespace
