#include "common/audio.h"

#include <utility>

namespace orrindale {

namespace {
class SilentLoop final : public LoopingSound {
public:
    bool Open(const QString&) override { return false; }
    void Play() override {}
    void Stop() override {}
};
} // namespace

AudioBackend* AudioModule::Backend() {
    if (std::exchange(tried_, true) || !library_.load()) return backend_.get();
    if (const auto entry = reinterpret_cast<AudioBackendEntry>(library_.resolve(kAudioEntry)))
        backend_.reset(entry());
    return backend_.get();
}

std::unique_ptr<LoopingSound> AudioModule::NewLoop() {
    if (AudioBackend* backend = Backend()) {
        if (auto loop = backend->NewLoop()) return loop;
    }
    return std::make_unique<SilentLoop>();
}

void DesktopSoundPlayer::Prepare() {
    if (std::exchange(prepared_, true)) return;
    if (AudioBackend* backend = audio_.Backend()) player_ = backend->NewPlayer();
}

void DesktopSoundPlayer::Play(const QString& name) {
    Prepare();
    if (player_) player_->Play(name);
}

} // namespace orrindale
