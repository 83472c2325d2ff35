#include "common/qtaudio.h"

#include <QAudioDevice>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "common/soundset.h"

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

QString SoundResourcePath(const QString& name) {
    RegisterSoundResources();
    const QString lower = name.toLower();
    if (!SoundNames().contains(lower)) return {};
    const QString path =
        QStringLiteral(":%1/%2.wav").arg(QLatin1String(kSoundResourcePrefix), lower);
    return QFileInfo::exists(path) ? path : QString();
}

namespace {
class QtLoopingSound final : public LoopingSound {
public:
    bool Open(const QString& path) override {
        if (QMediaDevices::defaultAudioOutput().isNull() || !QFile::exists(path)) return false;
        effect_.setSource(QUrl::fromLocalFile(path));
        effect_.setLoopCount(QSoundEffect::Infinite);
        return effect_.status() != QSoundEffect::Error;
    }
    void Play() override { effect_.play(); }
    void Stop() override { effect_.stop(); }

private:
    QSoundEffect effect_;
};
} // namespace

QtSoundPlayer::QtSoundPlayer(const QAudioDevice& output, const QStringList& names,
                             const QStringList& paths) {
    for (qsizetype i = 0; i < names.size() && i < paths.size(); ++i) {
        auto effect = std::make_unique<QSoundEffect>(output);
        effect->setSource(QUrl(QLatin1String("qrc") + paths[i]));
        effects_.emplace(names[i], std::move(effect));
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
    const auto found = effects_.find(name);
    if (found == effects_.end()) return;
    QSoundEffect* effect = found->second.get();
    if (playing_ != nullptr && playing_ != effect) playing_->stop();
    effect->stop();
    effect->play();
    playing_ = effect;
}

bool QtSoundPlayer::Loading() const {
    for (const auto& [name, effect] : effects_)
        if (effect->status() == QSoundEffect::Loading) return true;
    return false;
}

std::unique_ptr<SoundPlayer> QtAudioBackend::NewPlayer() {
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) return nullptr;
    QStringList names, paths;
    for (const QString& name : SoundNames()) {
        const QString path = SoundResourcePath(name);
        if (path.isEmpty()) continue;
        names << name;
        paths << path;
    }
    return std::make_unique<QtSoundPlayer>(output, names, paths);
}

std::unique_ptr<LoopingSound> QtAudioBackend::NewLoop() {
    return std::make_unique<QtLoopingSound>();
}

} // namespace orrindale

// The module's entry point; the caller owns the backend.
extern "C" Q_DECL_EXPORT orrindale::AudioBackend* orrindale_audio_backend() {
    return new orrindale::QtAudioBackend;
}
