#include "common/services.h"

#include <QFile>
#include <QStandardPaths>

#include "common/messages.h"
#include "common/sounds.h"
#include "common/statefiles.h"

namespace orrindale {

void Services::doPlaySound(const char* name) const {
    if (Sounds) Sounds->doPlaySound(name);
}

QString Services::StateFile(const char* name) const {
    return State ? QFile::decodeName(QByteArray::fromStdString(State->ReadPath(name)))
                 : ProgramFile(name);
}

QString Services::SaveStateFile(const char* name) const {
    return State ? QFile::decodeName(QByteArray::fromStdString(State->SavePath(name)))
                 : ProgramFile(name);
}

void Services::StateLoadFailed(const char* name) const {
    if (State) State->LoadFailed(name);
}

void Services::TellStateNotice(const QString& error) const {
    const StateFiles::Notice told = State ? State->TakeNotice() : StateFiles::Notice{};
    const QString notice = QFile::decodeName(QByteArray::fromStdString(told.Text));
    if (!error.isEmpty())
        Messages->Error(notice.isEmpty() ? error : error + "\r\r" + notice);
    else if (told.FilesPutAside)
        Messages->Warning(notice);
    else if (!notice.isEmpty())
        Messages->Information(notice);
}

std::unique_ptr<StateFiles> MakeStateFiles(const Services& services, bool installed) {
    QString data = services.DataFolder;
    if (data.isEmpty()) {
        data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (!data.isEmpty()) data += "/";
    }
    std::string program = QFile::encodeName(services.ProgramFolder).toStdString();
    std::string dataFolder = QFile::encodeName(data).toStdString();
    if (installed)
        return std::make_unique<StateFiles>(
            StateFiles::Installed(std::move(program), std::move(dataFolder)));
    return std::make_unique<StateFiles>(std::move(program), std::move(dataFolder));
}

bool Services::OpenDocument(const char* name) const {
    return orrindale::OpenDocument(ProgramFolder, name, *Documents, *Messages);
}

} // namespace orrindale
