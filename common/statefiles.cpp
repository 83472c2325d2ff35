#include "common/statefiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/atomicfile.h"
#include "common/programfiles.h"

namespace orrindale {

namespace {

constexpr char kDamagedSuffix[] = ".damaged";

bool Exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool AnyStateFileIn(const std::string& folder) {
    for (const char* name : files::kStateFiles)
        if (Exists(folder + name)) return true;
    return false;
}

// Makes folder and whichever of its parents are missing private to the user, as the desktop's
// base folders are to be made: rwx------ whatever the umask. A folder already there keeps its
// mode.
void MakePrivateFolders(const std::string& folder) {
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = folder.find('/', end + 1);
        const std::string path = folder.substr(0, end);
        if (::mkdir(path.c_str(), 0700) == 0) ::chmod(path.c_str(), 0700);
    }
}

} // namespace

// What the process may do, not what the mode bits say: root writes anywhere but on a read-only
// file system, and an access list may allow what the bits forbid.
bool StateFiles::Writable(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

StateFiles::StateFiles(std::string programFolder, std::string dataFolder)
    : StateFiles(programFolder, std::move(dataFolder), Writable(programFolder)) {}

StateFiles::StateFiles(std::string programFolder, std::string dataFolder,
                       bool programFolderWritable)
    : program_(std::move(programFolder)), data_(std::move(dataFolder)) {
    inDataFolder_ = !data_.empty() && !programFolderWritable;
    if (!inDataFolder_) return;
    MakePrivateFolders(data_);
    announce_ = !AnyStateFileIn(data_);
}

StateFiles StateFiles::Installed(std::string programFolder, std::string dataFolder) {
    StateFiles files(std::move(programFolder), std::move(dataFolder), false);
    files.announce_ = false;
    return files;
}

std::string StateFiles::ReadPath(std::string_view name) const {
    const std::string saved = UsualFolder() + std::string(name);
    if (!inDataFolder_ || Exists(saved)) return saved;
    return program_ + std::string(name);
}

void StateFiles::LoadFailed(std::string_view name) {
    const std::string path = ReadPath(name);
    if (!Exists(path)) return;
    for (const Aside& noted : aside_)
        if (noted.Name == name) return;
    Aside aside{std::string(name), path};
    // Read from a folder that is never written: the next save goes elsewhere, so the file is
    // safe where it is.
    if (path == SavePath(name)) {
        aside.Where = path + kDamagedSuffix;
        if (::rename(path.c_str(), aside.Where.c_str()) != 0) aside.Where.clear();
    }
    aside_.push_back(std::move(aside));
}

StateFiles::Notice StateFiles::TakeNotice() {
    const bool putAside = !aside_.empty();
    std::string text;
    if (announce_)
        text = "The program folder cannot be written, so the settings and state are kept in " +
               data_ + ".";
    announce_ = false;
    if (!aside_.empty()) {
        if (!text.empty()) text += "\r\r";
        text += "These saved files could not be read; fresh ones will be written at close:\r";
        for (const Aside& a : aside_) {
            text += "\r" + a.Name + ": ";
            text += a.Where.empty() ? "it could not be kept, and may be replaced"
                                    : "the old copy is " + a.Where;
        }
    }
    aside_.clear();
    return {text, putAside};
}

// Both folders: the files may have been saved to either, as the program folder's permission or
// the program's installation changed. Each keeps the minimum age, since a calculator that saves to
// the other folder may be saving there now.
int StateFiles::RemoveLeftovers() const {
    int removed = 0;
    for (const std::string* folder : {&program_, &data_}) {
        if (folder->empty() || (folder == &data_ && data_ == program_) || !Writable(*folder))
            continue;
        for (const char* name : files::kStateFiles)
            removed += RemoveSaveLeftovers(*folder, name);
    }
    return removed;
}

} // namespace orrindale
