#include "panel/shared/sounds.h"

#include <QAudioDevice>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <utility>

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

QtSoundPlayer::QtSoundPlayer() = default;

void QtSoundPlayer::Prepare() {
    // Finding the audio output loads the multimedia back end, the slowest part of starting up;
    // it waits until asked, so that the window can show first.
    if (std::exchange(prepared_, true)) return;
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) return;
    for (const QString& name : SoundNames()) {
        const QString path = SoundResourcePath(name);
        if (path.isEmpty()) continue;
        auto effect = std::make_unique<QSoundEffect>(output);
        effect->setSource(QUrl(QLatin1String("qrc") + path));
        effects_.emplace(name, std::move(effect));
    }
}

// Qt's sample cache waits for its loader thread when an effect goes away, and that thread only
// ends once every load has finished; an effect still loading is therefore let go of instead of
// deleted, so that closing the program never hangs on a sound.
QtSoundPlayer::~QtSoundPlayer() {
    for (auto& [name, effect] : effects_)
        if (effect->status() == QSoundEffect::Loading) (void)effect.release();
}

void QtSoundPlayer::Play(const QString& name) {
    Prepare();
    const auto found = effects_.find(name);
    if (found == effects_.end()) return;
    QSoundEffect* effect = found->second.get();
    if (playing_ != nullptr && playing_ != effect) playing_->stop();
    effect->stop();
    effect->play();
    playing_ = effect;
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
