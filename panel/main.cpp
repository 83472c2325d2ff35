// Program entry: the calculator window, the function card window and the paper viewer, with the
// real message boxes, sounds, documents and dialogs behind the services every window gets.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <filesystem>
#include <memory>

#include "common/audio.h"
#include "common/choosers.h"
#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "common/sounds.h"
#include "panel/funccard.h"
#include "panel/mainwindow.h"
#include "panel/panelpicture.h"
#include "panel/paperviewer.h"
#include "panel/startprobe.h"

namespace {

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

// The program folder, found from the executable's own link before the toolkit starts (as the
// toolkit finds it later); empty when the link cannot be read.
QString ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return QString::fromStdString(exe.parent_path().string()) + "/";
}

} // namespace

int main(int argc, char** argv) {
    using namespace orrindale;
    // The panel picture is decoded on a second thread while the toolkit connects to the display.
    QString folder = ExecutableFolder();
    std::unique_ptr<PanelPreload> panel;
    if (!folder.isEmpty())
        panel = std::make_unique<PanelPreload>(folder + files::kPanelPicture,
                                               folder + files::kPanelPicture2x);
    QApplication app(argc, argv);
    // The screen is known now: on one that scales by two the 2x picture is read next.
    if (QScreen* screen = QGuiApplication::primaryScreen(); panel && screen)
        panel->SetScale(PictureScale(screen->devicePixelRatio()));
    QApplication::setApplicationName("Orrindale");
    QApplication::setApplicationDisplayName("Orrindale");

    if (folder.isEmpty())
        folder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + "/";
    BoxMessenger messenger;
    AudioModule audio(folder + files::kAudioModule);
    DesktopSoundPlayer player(audio);
    SoundSwitch sounds(player);
    DesktopOpener documents;
    MainBounds bounds;
    DialogPrinterChooser printers(folder + files::kPrintModule, messenger);
    DialogFileChooser dialogs;
    std::unique_ptr<ListedFileChooser> listed;
    if (const QString list = qEnvironmentVariable("ORRINDALE_TEST_FILE_ANSWERS"); !list.isEmpty())
        listed = std::make_unique<ListedFileChooser>(list);
    Services services;
    services.ProgramFolder = folder;
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
    mainWindow.show();
    return QApplication::exec();
}
