// The desktop's audio output. Qt Multimedia and the sound server's client libraries it pulls in
// were the largest part of the program's start-up time and memory, and a calculator that is only
// looked at never needs them. They therefore live in a module of their own
// (kAudioModule in the program folder, built from qtaudio.cpp) that AudioModule loads at the first
// need. The program itself only knows the interfaces below; without the module, or without an
// audio output, every sound is silent.
#pragma once

#include <QLibrary>
#include <QString>
#include <memory>

#include "common/sounds.h"

namespace orrindale {

// What the module offers: one object, made by its entry point and owned by AudioModule.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // A player of the panel's sounds, which the module carries, each loaded at once; nullptr
    // when the desktop has no audio output.
    virtual std::unique_ptr<SoundPlayer> NewPlayer() = 0;
    virtual std::unique_ptr<LoopingSound> NewLoop() = 0;
};

// The module's one exported function, looked up by this name.
using AudioBackendEntry = AudioBackend* (*)();
inline constexpr char kAudioEntry[] = "orrindale_audio_backend";

// The module in the program folder, loaded once at the first call of Backend. It is never
// unloaded: the sounds it made may be in use until the program ends.
class AudioModule {
public:
    explicit AudioModule(QString path) : library_(path) {}
    AudioModule(const AudioModule&) = delete;
    AudioModule& operator=(const AudioModule&) = delete;

    // Null when the module is missing or is not ours.
    AudioBackend* Backend();
    // A looping sound from the module, or a silent one.
    std::unique_ptr<LoopingSound> NewLoop();

private:
    QLibrary library_;
    std::unique_ptr<AudioBackend> backend_;
    bool tried_ = false;
};

// The panel's sounds through the module. Prepare (at the latest the first Play) loads the module,
// finds the audio output and loads every sound.
class DesktopSoundPlayer final : public SoundPlayer {
public:
    explicit DesktopSoundPlayer(AudioModule& audio) : audio_(audio) {}
    void Prepare();
    void Play(const QString& name) override;
    bool Loading() const override { return player_ && player_->Loading(); }
    // Whether an audio output was found (and the sounds were loaded).
    bool HasOutput() const { return player_ != nullptr; }

private:
    AudioModule& audio_;
    std::unique_ptr<SoundPlayer> player_;
    bool prepared_ = false;
};

} // namespace orrindale
