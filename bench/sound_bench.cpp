// Time the panel's sounds take to start through the audio module of a program folder, with or
// without an audio output, and to be let go of. None of it may hold up the window: each should
// stay well under a second. A player that waits for a sound server shows here.
//
//   sound_bench PROGRAM_FOLDER
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "common/audio.h"
#include "common/programfiles.h"
#include "common/sounds.h"

using namespace orrindale;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: sound_bench PROGRAM_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + "/";
    QElapsedTimer clock;
    clock.start();
    {
        AudioModule audio(folder + files::kAudioModule);
        if (!audio.Backend()) {
            std::fprintf(stderr, "no audio module in %s\n", argv[1]);
            return 1;
        }
        DesktopSoundPlayer player(audio);
        for (const QString& name : SoundNames())
            player.Play(name);
        player.Play("swu");
        player.Play("swu"); // cuts the first one off
        std::printf("every sound started in %lld ms (%s)\n",
                    static_cast<long long>(clock.elapsed()),
                    player.HasOutput() ? "audio output" : "no audio output");
        clock.restart();
    }
    std::printf("the player and the module were let go of in %lld ms\n",
                static_cast<long long>(clock.elapsed()));
    return 0;
}
