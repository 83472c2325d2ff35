#include "common/sounds.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "common/messages.h"

namespace orrindale {

void SoundSwitch::doPlaySound(const QString& name) const {
    if (!on_ || name.isEmpty()) return;
    player_.Play(name.toLower());
}

bool DesktopOpener::Open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool OpenDocument(const QString& folder, const QString& name, DocumentOpener& opener,
                  Messenger& messenger) {
    const QString path = QDir(folder).filePath(name);
    if (!QFileInfo(path).isFile()) {
        messenger.Error(QStringLiteral("Unable to find document"));
        return false;
    }
    if (!opener.Open(path)) {
        messenger.Error(QStringLiteral("Failed to load file: ") + name);
        return false;
    }
    return true;
}

} // namespace orrindale
