#include "panel/shared/sounds.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "panel/shared/messages.h"
#include "panel/shared/soundset.h"

// The sounds are compiled into a static library (panel_sounds); referring to its initialiser
// here links it in and registers the resources before the first look-up.
static void RegisterSoundResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(panel_sounds);
        return true;
    }();
    (void)registered;
}

namespace orrindale {

QStringList SoundNames() {
    QStringList names;
    for (const PanelSound& sound : kPanelSounds)
        names.append(QLatin1String(sound.name));
    return names;
}

QString SoundResourcePath(const QString& name) {
    RegisterSoundResources();
    const QString lower = name.toLower();
    if (!SoundNames().contains(lower)) return {};
    const QString path =
        QStringLiteral(":%1/%2.wav").arg(QLatin1String(kSoundResourcePrefix), lower);
    return QFileInfo::exists(path) ? path : QString();
}

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
