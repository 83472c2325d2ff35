// The audio module's side (see audio.h): the panel's sounds, which the module carries as
// resources, and the looping sounds, played through Qt Multimedia. Built into the module only,
// and into the tests that check it directly.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

#include "common/audio.h"

class QAudioDevice;
class QSoundEffect;

namespace orrindale {

// The resource path (":/sounds/swc.wav") of the panel sound of that name, found without regard
// to letter case; empty when there is no such sound.
QString SoundResourcePath(const QString& name);

// Plays resource sounds through the desktop's default audio output, one at a time.
class QtSoundPlayer final : public SoundPlayer {
public:
    // Loads every sound for that output.
    QtSoundPlayer(const QAudioDevice& output, const QStringList& names, const QStringList& paths);
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer&) = delete;
    QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

    void Play(const QString& name) override;
    bool Loading() const override;

private:
    std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
    QSoundEffect* playing_ = nullptr;
};

class QtAudioBackend final : public AudioBackend {
public:
    std::unique_ptr<SoundPlayer> NewPlayer() override;
    std::unique_ptr<LoopingSound> NewLoop() override;
};

} // namespace orrindale
