// Program entry: the calculator window, the function card window and the paper viewer, with the
// real message boxes, sounds, documents and dialogs behind the services every window gets.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "common/audio.h"
#include "common/choosers.h"
#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "common/programfolders.h"
#include "common/sounds.h"
#include "common/statefiles.h"
#include "panel/funccard.h"
#include "panel/instance.h"
#include "panel/mainwindow.h"
#include "panel/panelpicture.h"
#include "panel/paperviewer.h"
#include "panel/startprobe.h"

namespace {

// The desktop entry's name, without ".desktop": the desktop matches the windows to it.
constexpr char kDesktopFileName[] = "org.orrindale.Orrindale";

// Test hook for the end-to-end tests, and nothing else: with ORRINDALE_TEST_FILE_ANSWERS naming
// a text file, each open or save dialog is answered by the next line of that file (an empty
// line, or none left, cancels) instead of being shown; a line "=" takes the name the dialog
// proposes, as Enter would. The desktop's file dialogs cannot be driven reliably by synthetic X
// events under a bare Xvfb; every other window stays real.
class ListedFileChooser final : public orrindale::FileChooser {
public:
    explicit ListedFileChooser(const QString& list) {
        QFile file(list);
        if (file.open(QIODevice::ReadOnly | QIODevice::Text))
            answers_ = QString::fromUtf8(file.readAll()).split('\n');
    }
    QString OpenFile(const orrindale::FileQuestion& q, QWidget*) override { return Next(q); }
    QString SaveFile(const orrindale::FileQuestion& q, QWidget*) override { return Next(q); }

private:
    QString Next(const orrindale::FileQuestion& question) {
        const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst().trimmed();
        return answer == "=" ? question.Start : answer;
    }
    QStringList answers_;
};

// The files named on the command line, as absolute paths: a running calculator that takes them
// over works in another folder. Options the toolkit left are no files.
QStringList NamedFiles(const QStringList& arguments) {
    QStringList files;
    for (const QString& argument : arguments.mid(1))
        if (!argument.startsWith('-')) files.append(QFileInfo(argument).absoluteFilePath());
    return files;
}

} // namespace

int main(int argc, char** argv) {
    using namespace orrindale;
    // The panel picture is decoded on a second thread while the toolkit connects to the display.
    const ProgramFolders folders = LocateProgramFolders(ExecutableFolder());
    std::unique_ptr<PanelPreload> panel;
    if (!folders.Data.isEmpty()) panel = std::make_unique<PanelPreload>(PanelFilesIn(folders.Data));
    QApplication app(argc, argv);
    // The screen is known now: on one that scales by two the 2x picture is read next.
    if (QScreen* screen = QGuiApplication::primaryScreen(); panel && screen)
        panel->SetScale(PictureScale(screen->devicePixelRatio()));
    QApplication::setApplicationName("Orrindale");
    QApplication::setApplicationDisplayName("Orrindale");
    QApplication::setDesktopFileName(kDesktopFileName);
    // The installed icon, for task bars that take it from the window; a build has none.
    if (folders.Installed) QApplication::setWindowIcon(QIcon::fromTheme(kDesktopFileName));

    QString folder = folders.Data, modules = folders.Modules;
    if (folder.isEmpty())
        folder = modules = QDir(QCoreApplication::applicationDirPath()).absolutePath() + "/";
    Services services;
    services.ProgramFolder = folder;
    const std::unique_ptr<StateFiles> state = MakeStateFiles(services, folders.Installed);
    services.State = state.get();
    InstanceLink instance(QFile::decodeName(QByteArray::fromStdString(state->SaveFolder())));
    const QStringList named = NamedFiles(QCoreApplication::arguments());
    if (const auto outcome = instance.Start(named); outcome != InstanceLink::Outcome::Primary) {
        if (outcome == InstanceLink::Outcome::HandedOver) return 0;
        std::fprintf(stderr, "orrindale: %s\n",
                     qPrintable(QString(instance.Problem()).replace("\r\r", " ")));
        BoxMessenger().Error(instance.Problem());
        return 1;
    }

    BoxMessenger messenger;
    AudioModule audio(modules + files::kAudioModule);
    DesktopSoundPlayer player(audio);
    SoundSwitch sounds(player);
    DesktopOpener documents;
    MainBounds bounds;
    DialogPrinterChooser printers(modules + files::kPrintModule, messenger);
    DialogFileChooser dialogs;
    std::unique_ptr<ListedFileChooser> listed;
    if (const QString list = qEnvironmentVariable("ORRINDALE_TEST_FILE_ANSWERS"); !list.isEmpty())
        listed = std::make_unique<ListedFileChooser>(list);
    services.Messages = &messenger;
    services.Sounds = &sounds;
    services.Audio = &audio;
    services.Documents = &documents;
    services.Bounds = &bounds;
    services.Printers = &printers;
    services.Files = listed ? static_cast<FileChooser*>(listed.get()) : &dialogs;

    TmainFM mainWindow(services);
    if (panel) mainWindow.SetPreloadedPanel(std::move(panel));
    messenger.SetOwner(&mainWindow);
    TfuncCardFM functionCard;
    TplistFM paper(mainWindow.PaperRoll(), bounds);
    mainWindow.SetFunctionCardWindow(&functionCard);
    mainWindow.SetPaperWindow(&paper);
    FirstPaintProbe::Watch(&mainWindow);
    // The audio output is found (and the sounds loaded) when the calculator is first used, in
    // time for the first click; one merely started never needs it.
    AtFirstUse::Run(&mainWindow, [&player] { player.Prepare(); });
    instance.Listen([&mainWindow](const QStringList& files) {
        mainWindow.raise();
        mainWindow.activateWindow();
        mainWindow.OpenFiles(files);
    });
    mainWindow.show();
    // The named files open once the calculator stands on the screen, after its own start-up.
    if (!named.isEmpty())
        QTimer::singleShot(0, &mainWindow, [&mainWindow, named] { mainWindow.OpenFiles(named); });
    return QApplication::exec();
}
