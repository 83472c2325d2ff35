// Program entry: the calculator window, the function card window and the paper viewer.
#include <QApplication>
#include <QDir>

#include "panel/funccard.h"
#include "panel/mainwindow.h"
#include "panel/plist.h"
#include "panel/shared/messages.h"
#include "panel/shared/sounds.h"

int main(int argc, char** argv) {
    using namespace orrindale;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orrindale");
    QApplication::setApplicationDisplayName("Orrindale");

    BoxMessenger messenger;
    QtSoundPlayer sounds;
    DesktopOpener documents;
    PanelServices services;
    services.ProgramFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath() + "/";
    services.Messages = &messenger;
    services.Sounds = &sounds;
    services.Documents = &documents;

    TmainFM mainWindow(services);
    messenger.SetOwner(&mainWindow);
    TfuncCardFM functionCard;
    TplistFM paper(mainWindow);
    mainWindow.SetFunctionCardWindow(&functionCard);
    mainWindow.SetPaperWindow(&paper);
    mainWindow.show();
    return QApplication::exec();
}
