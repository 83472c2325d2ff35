#include "common/statesave.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/choosers.h"
#include "common/messages.h"
#include "common/services.h"
#include "common/statefiles.h"

namespace orrindale {

namespace {

struct Failure {
    const StateWrite* File;
    QString Path;
    QString Reason; // the system's words
};

QString FolderText(const std::string& folder) {
    return QFile::decodeName(QByteArray::fromStdString(folder));
}

// Where the file goes: into folder when one is given, else where the services save it.
QString PathIn(const Services& services, const QString& folder, const char* name) {
    return folder.isEmpty() ? services.SaveStateFile(name) : folder + name;
}

std::vector<Failure> WriteAll(const Services& services, const std::vector<const StateWrite*>& files,
                              const QString& folder) {
    std::vector<Failure> failed;
    for (const StateWrite* file : files) {
        const QString path = PathIn(services, folder, file->Name);
        errno = 0;
        if (file->Write(path)) continue;
        const int error = errno != 0 ? errno : EIO;
        failed.push_back({file, path, QString::fromLocal8Bit(std::strerror(error))});
    }
    return failed;
}

std::vector<const StateWrite*> FilesOf(const std::vector<Failure>& failed) {
    std::vector<const StateWrite*> files;
    for (const Failure& f : failed)
        files.push_back(f.File);
    return files;
}

QString FailureList(const std::vector<Failure>& failed) {
    QString list;
    for (const Failure& f : failed)
        list += "\r" + QDir::toNativeSeparators(f.Path) + ": " + f.Reason;
    return list;
}

// ---- Nobody to ask: each failed file goes to a folder made for it -----------------------------

// A new private folder for the files that could not be saved, in the first of the data folder
// and the temporary folder where one can be made; empty when neither can.
QString MakeAsideFolder(const Services& services) {
    QStringList parents;
    if (services.State) parents << FolderText(services.State->UsualFolder());
    parents << QDir::tempPath() + "/";
    for (const QString& parent : parents) {
        QByteArray pattern = QFile::encodeName(parent + "orrindale-unsaved-XXXXXX");
        if (::mkdtemp(pattern.data())) return QFile::decodeName(pattern) + "/";
    }
    return {};
}

// Writes files into a new folder kept aside and tells standard error, for each, why it is
// there (the reason it was not saved where it belongs) and where it is, or that it is lost.
// True when every file was kept.
bool WriteAside(const Services& services, const std::vector<const StateWrite*>& files,
                const std::vector<QString>& why) {
    const QString aside = MakeAsideFolder(services);
    const std::vector<Failure> lost =
        aside.isEmpty() ? std::vector<Failure>{} : WriteAll(services, files, aside);
    for (std::size_t i = 0; i < files.size(); ++i) {
        bool kept = !aside.isEmpty();
        for (const Failure& l : lost)
            kept = kept && l.File != files[i];
        const QString told =
            why[i] + "; " +
            (kept ? "it was kept as " + aside + files[i]->Name : QString("it is lost"));
        std::fprintf(stderr, "orrindale: %s\n", told.toLocal8Bit().constData());
    }
    return !aside.isEmpty() && lost.empty();
}

SaveOutcome KeepAside(const Services& services, const std::vector<Failure>& failed) {
    std::vector<QString> why;
    for (const Failure& f : failed)
        why.push_back(f.Path + " could not be saved (" + f.Reason + ")");
    return WriteAside(services, FilesOf(failed), why) ? SaveOutcome::Saved : SaveOutcome::Dropped;
}

// ---- A user to ask -----------------------------------------------------------------------------

bool ConfirmDrop(const Services& services, const std::vector<Failure>& failed) {
    QString names;
    for (const Failure& f : failed)
        names += QString("\r") + f.File->Name;
    return services.Messages->Confirm("Close without saving these files?\r\rWhat they hold now "
                                      "is lost; the copies saved before stay as they were:\r" +
                                      names) == MessageAnswer::Yes;
}

// The folder the user chose for the files, ending with "/"; empty when none was chosen.
QString AskFolder(const Services& services) {
    const QString chosen = services.Files->ChooseFolder(
        {"Save the Calculator's Files In", QDir::homePath(), {}}, nullptr);
    if (chosen.isEmpty()) return {};
    return chosen.endsWith('/') ? chosen : chosen + "/";
}

void TellWhereSaved(const Services& services, const QString& folder) {
    const QString usual =
        services.State ? FolderText(services.State->UsualFolder()) : services.ProgramFolder;
    services.Messages->Information(
        "The files were saved in " + QDir::toNativeSeparators(folder) +
        ".\r\rThe calculator reads them from " + QDir::toNativeSeparators(usual) +
        " when it starts: copy them there once that folder can be written again.");
}

} // namespace

bool KeepAside(const Services& services, const std::vector<StateWrite>& writes,
               const QString& why) {
    if (writes.empty()) return true;
    std::vector<const StateWrite*> files;
    for (const StateWrite& w : writes)
        files.push_back(&w);
    return WriteAside(services, files, std::vector<QString>(files.size(), why));
}

SaveOutcome SaveStateFiles(const Services& services, const std::vector<StateWrite>& writes) {
    std::vector<const StateWrite*> all;
    for (const StateWrite& w : writes)
        all.push_back(&w);
    std::vector<Failure> failed = WriteAll(services, all, {});
    if (failed.empty()) return SaveOutcome::Saved;
    if (services.State && services.State->Unattended()) return KeepAside(services, failed);
    QString folder; // the one the user chose, if any
    for (;;) {
        const MessageAnswer answer = services.Messages->Show(
            MessageKind::Error,
            "ERROR: These files could not be saved:\r" + FailureList(failed) +
                "\r\rTry again, save them in another folder, or close without saving them?",
            MessageButtons::SaveFailed);
        if (answer == MessageAnswer::Retry) {
            failed = WriteAll(services, FilesOf(failed), folder);
        } else if (answer == MessageAnswer::Elsewhere) {
            const QString chosen = AskFolder(services);
            if (chosen.isEmpty()) continue;
            folder = chosen;
            // Every file goes there, so that the folder holds the whole state together.
            if (services.State) services.State->SaveIn(QFile::encodeName(folder).toStdString());
            failed = WriteAll(services, all, folder);
            if (failed.empty()) TellWhereSaved(services, folder);
        } else if (answer == MessageAnswer::Discard) {
            if (ConfirmDrop(services, failed)) return SaveOutcome::Dropped;
        } else {
            return SaveOutcome::Cancelled;
        }
        if (failed.empty()) return SaveOutcome::Saved;
    }
}

} // namespace orrindale
