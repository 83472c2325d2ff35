// Program entry: the calculator window, the function card window and the paper viewer, with the
// real message boxes, sounds, documents and dialogs behind the services every window gets.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/audio.h"
#include "common/choosers.h"
#include "common/exitsignals.h"
#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "common/programfolders.h"
#include "common/sounds.h"
#include "common/statefiles.h"
#include "panel/commandline.h"
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
    QString ChooseFolder(const orrindale::FileQuestion& q, QWidget*) override { return Next(q); }

private:
    QString Next(const orrindale::FileQuestion& question) {
        const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst().trimmed();
        return answer == "=" ? question.Start : answer;
    }
    QStringList answers_;
};

// The files named on the command line, as absolute paths: a running calculator that takes them
// over works in another folder.
QStringList NamedFiles(const std::vector<std::string>& named) {
    QStringList files;
    for (const std::string& name : named)
        files.append(
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(name))).absoluteFilePath());
    return files;
}

// Answers --help, --version and a wrong option, which need no display; the exit status, or -1
// when the calculator is to start.
int AnswerCommandLine(const orrindale::CommandLine& line) {
    using Action = orrindale::CommandLine::Action;
    if (line.What == Action::Help) std::fputs(orrindale::UsageText().c_str(), stdout);
    if (line.What == Action::Version) std::fputs(orrindale::VersionText().c_str(), stdout);
    if (line.What == Action::Wrong) {
        std::fprintf(stderr, "orrindale: %s\nTry 'orrindale --help' for more information.\n",
                     line.Error.c_str());
        return orrindale::kExitUsage;
    }
    if (line.What == Action::Run) return -1;
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : orrindale::kExitNoStart;
}

// While the toolkit starts: its warnings are held back, and a fatal error (no display to
// connect to, no platform plugin) ends the program with one clear line, naming the first thing
// that went wrong, instead of an abort.
QString firstStartWarning;
void StartMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtFatalMsg) {
        if (firstStartWarning.isEmpty()) firstStartWarning = text.section('\n', 0, 0).trimmed();
        return;
    }
    const QString why = firstStartWarning.isEmpty() ? text.section('\n', 0, 0) : firstStartWarning;
    const QString display = qEnvironmentVariable("DISPLAY");
    std::fprintf(stderr, "orrindale: cannot open the display%s (%s)\n",
                 display.isEmpty() ? ": DISPLAY is not set" : qPrintable(" " + display),
                 qPrintable(why));
    std::_Exit(orrindale::kExitNoStart);
}

// How often questions already open are closed, 10 ms apart, before the calculator closes over
// any that would not go.
constexpr int kModalTries = 100;

// The close a signal asks for. Questions already open would wait for nobody: each is answered
// as Escape answers it, as often as it takes for their event loops to unwind. Then the
// calculator closes as the close box closes it, with no question of its own, and the program
// ends even if another window would have stayed.
void CloseUnattended(orrindale::TmainFM& window, orrindale::StateFiles& state, int tries = 0) {
    state.SetUnattended(true);
    if (QWidget* modal = QApplication::activeModalWidget(); modal && tries < kModalTries) {
        modal->close();
        QTimer::singleShot(10, &window,
                           [&window, &state, tries] { CloseUnattended(window, state, tries + 1); });
        return;
    }
    // A running program stops first; the calculator then closes by itself.
    if (window.close()) QCoreApplication::exit(0);
}

} // namespace

int main(int argc, char** argv) {
    using namespace orrindale;
    const CommandLine line = ReadCommandLine(argc, argv);
    if (const int status = AnswerCommandLine(line); status >= 0) return status;
    // The panel picture is decoded on a second thread while the toolkit connects to the display.
    const ProgramFolders folders = LocateProgramFolders(ExecutableFolder());
    std::unique_ptr<PanelPreload> panel;
    if (!folders.Data.isEmpty()) panel = std::make_unique<PanelPreload>(PanelFilesIn(folders.Data));
    // The toolkit sees only its own options: a file named like one of them stays a file.
    std::vector<char*> toolkitArgs;
    for (const std::string& arg : line.ToolkitArgs)
        toolkitArgs.push_back(const_cast<char*>(arg.c_str()));
    int toolkitArgc = static_cast<int>(toolkitArgs.size());
    toolkitArgs.push_back(nullptr);
    qInstallMessageHandler(StartMessages);
    QApplication app(toolkitArgc, toolkitArgs.data());
    qInstallMessageHandler(nullptr);
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
    const QStringList named = NamedFiles(line.Files);
    if (const auto outcome = instance.Start(named); outcome != InstanceLink::Outcome::Primary) {
        if (outcome == InstanceLink::Outcome::HandedOver) return 0;
        std::fprintf(stderr, "orrindale: %s\n",
                     qPrintable(QString(instance.Problem()).replace("\r\r", " ")));
        BoxMessenger().Error(instance.Problem());
        return kExitNoStart;
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
    // A signal, or the end of the desktop session, closes the calculator as the close box does,
    // saving everything and asking nothing.
    ExitSignals endSignals([&mainWindow, &state](int) { CloseUnattended(mainWindow, *state); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow] { mainWindow.SaveSession(); });
    mainWindow.show();
    // The named files open once the calculator stands on the screen, after its own start-up.
    if (!named.isEmpty())
        QTimer::singleShot(0, &mainWindow, [&mainWindow, named] { mainWindow.OpenFiles(named); });
    return QApplication::exec();
}
