#include "common/programfolders.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>

#include "common/programfiles.h"

namespace orrindale {

QString ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return QString::fromStdString(exe.parent_path().string()) + "/";
}

ProgramFolders LocateProgramFolders(const QString& executableFolder) {
    ProgramFolders folders{executableFolder, executableFolder, false};
    if (executableFolder.isEmpty() || QFileInfo::exists(executableFolder + files::kPanelPicture))
        return folders;
    const QString data = QDir::cleanPath(executableFolder + ORRINDALE_INSTALLED_DATA) + "/";
    if (!QFileInfo::exists(data + files::kPanelPicture)) return folders;
    folders.Data = data;
    folders.Modules = QDir::cleanPath(executableFolder + ORRINDALE_INSTALLED_MODULES) + "/";
    folders.Installed = true;
    return folders;
}

} // namespace orrindale
