// Program entry: the calculator window, the function card window and the paper viewer, with the
// real message boxes, sounds, documents and dialogs behind the services every window gets.
#include <QApplication>
#include <QDir>

#include "panel/funccard.h"
#include "panel/mainwindow.h"
#include "panel/plist.h"
#include "panel/shared/choosers.h"
#include "panel/shared/hpdata.h"
#include "panel/shared/messages.h"
#include "panel/shared/sounds.h"

int main(int argc, char** argv) {
    using namespace orrindale;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orrindale");
    QApplication::setApplicationDisplayName("Orrindale");

    BoxMessenger messenger;
    QtSoundPlayer player;
    SoundSwitch sounds(player);
    DesktopOpener documents;
    MainBounds bounds;
    DialogPrinterChooser printers;
    DialogFileChooser files;
    Services services;
    services.ProgramFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + "/";
    services.Messages = &messenger;
    services.Sounds = &sounds;
    services.Documents = &documents;
    services.Bounds = &bounds;
    services.Printers = &printers;
    services.Files = &files;

    TmainFM mainWindow(services);
    messenger.SetOwner(&mainWindow);
    TfuncCardFM functionCard;
    TplistFM paper(mainWindow.PaperRoll(), bounds);
    mainWindow.SetFunctionCardWindow(&functionCard);
    mainWindow.SetPaperWindow(&paper);
    mainWindow.show();
    return QApplication::exec();
}
