// The sounds the executable carries, doPlaySound with the "Sounds" check mark, and the real
// player on a machine without audio.
#include "common/sounds.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSoundEffect>
#include <QUrl>
#include <QtGlobal>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "common/audio.h"
#include "common/programfiles.h"
#include "common/qtaudio.h"
#include "panel/startprobe.h"
#include "tests/doubles.h"

namespace orrindale {

using testing::RecordingSoundPlayer;
namespace {

// What a WAVE file says about itself, read chunk by chunk.
struct Wave {
    bool riff = false;
    int format = 0, channels = 0, rate = 0, bits = 0, blockAlign = 0;
    std::vector<std::int16_t> samples; // interleaved
    int Frames() const { return channels > 0 ? static_cast<int>(samples.size()) / channels : 0; }
};

std::uint32_t Le(const QByteArray& bytes, qsizetype at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

void ReadFormat(const QByteArray& bytes, qsizetype at, Wave& wave) {
    wave.format = static_cast<int>(Le(bytes, at, 2));
    wave.channels = static_cast<int>(Le(bytes, at + 2, 2));
    wave.rate = static_cast<int>(Le(bytes, at + 4, 4));
    wave.blockAlign = static_cast<int>(Le(bytes, at + 12, 2));
    wave.bits = static_cast<int>(Le(bytes, at + 14, 2));
}

Wave ParseWave(const QByteArray& bytes) {
    Wave wave;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return wave;
    wave.riff = Le(bytes, 4, 4) + 8 == static_cast<std::uint32_t>(bytes.size());
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = Le(bytes, at + 4, 4);
        if (at + 8 + size > bytes.size()) break;
        if (id == "fmt " && size >= 16) ReadFormat(bytes, at + 8, wave);
        if (id == "data")
            for (qsizetype i = 0; i + 1 < size; i += 2)
                wave.samples.push_back(static_cast<std::int16_t>(Le(bytes, at + 8 + i, 2)));
        at += 8 + size + (size & 1);
    }
    return wave;
}

Wave LoadSound(const QString& name) {
    QFile file(SoundResourcePath(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return ParseWave(file.readAll());
}

int Peak(const Wave& wave, int channel, int fromFrame = 0) {
    int peak = 0;
    for (int f = fromFrame; f < wave.Frames(); ++f)
        peak =
            std::max(peak, std::abs(static_cast<int>(wave.samples[f * wave.channels + channel])));
    return peak;
}

struct Expected {
    const char* name;
    double seconds;
};

// The recordings' lengths, as the mechanisms they stand for take.
constexpr Expected kExpected[] = {{"swc", 0.65}, {"whl", 0.06}, {"swu", 0.07},
                                  {"s1d", 0.22}, {"s1u", 0.16}, {"cfd", 0.65},
                                  {"rip", 0.15}, {"ppd", 0.07}, {"ppu", 0.03}};

TEST(SoundResources, EveryNameIsFoundInAnyLetterCase) {
    for (const Expected& sound : kExpected) {
        const QString name = QLatin1String(sound.name);
        EXPECT_FALSE(SoundResourcePath(name).isEmpty()) << sound.name;
        EXPECT_EQ(SoundResourcePath(name.toUpper()), SoundResourcePath(name)) << sound.name;
    }
    EXPECT_TRUE(SoundResourcePath("feed").isEmpty());
    EXPECT_TRUE(SoundResourcePath("").isEmpty());
    EXPECT_EQ(SoundNames().size(), 9);
}

TEST(SoundResources, AreStereoSixteenBitPcmAtCdRateOfTheRightLength) {
    for (const Expected& sound : kExpected) {
        SCOPED_TRACE(sound.name);
        const Wave wave = LoadSound(QLatin1String(sound.name));
        EXPECT_TRUE(wave.riff);
        EXPECT_EQ(wave.format, 1);
        EXPECT_EQ(wave.channels, 2);
        EXPECT_EQ(wave.rate, 44100);
        EXPECT_EQ(wave.bits, 16);
        EXPECT_EQ(wave.blockAlign, 4);
        EXPECT_NEAR(wave.Frames(), sound.seconds * 44100, 1.0);
    }
}

TEST(SoundResources, AreAudibleUnclippedAndEndInSilence) {
    for (const Expected& sound : kExpected) {
        SCOPED_TRACE(sound.name);
        const Wave wave = LoadSound(QLatin1String(sound.name));
        ASSERT_GT(wave.Frames(), 100);
        const auto clipped = std::count_if(wave.samples.begin(), wave.samples.end(),
                                           [](std::int16_t s) { return std::abs(s) >= 32700; });
        EXPECT_LE(clipped, static_cast<long>(wave.samples.size() / 1000));
        for (int channel = 0; channel < 2; ++channel) {
            EXPECT_GT(Peak(wave, channel), 32768 / 4) << "channel " << channel;
            // No click at the end: the last millisecond is all but silent.
            EXPECT_LT(Peak(wave, channel, wave.Frames() - 44), 330) << "channel " << channel;
        }
    }
}

// The plotter's carriage sound in the program folder, played in a loop: no step where its end
// runs into its start, on either channel.
TEST(FeedSound, IsAnAudibleLoopWithoutASeam) {
    QFile file(QStringLiteral(ORRINDALE_PROGRAM_DIR "/Feed.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const Wave wave = ParseWave(file.readAll());
    ASSERT_TRUE(wave.riff);
    EXPECT_EQ(wave.rate, 44100);
    ASSERT_EQ(wave.channels, 2);
    EXPECT_GE(wave.Frames(), 44100 / 4);
    for (int channel = 0; channel < 2; ++channel) {
        SCOPED_TRACE(channel);
        const auto at = [&](int frame) { return int(wave.samples[frame * 2 + channel]); };
        double meanStep = 0;
        for (int f = 1; f < wave.Frames(); ++f)
            meanStep += std::abs(at(f) - at(f - 1));
        meanStep /= wave.Frames() - 1;
        EXPECT_GT(Peak(wave, channel), 32768 / 4);
        EXPECT_LT(Peak(wave, channel), 32700);
        EXPECT_LT(std::abs(at(0) - at(wave.Frames() - 1)), 4 * meanStep);
    }
}

TEST(SoundResources, AreNotAllTheSameRecording) {
    QFile a(SoundResourcePath("swu")), b(SoundResourcePath("ppd")); // equal lengths
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_NE(a.readAll(), b.readAll());
}

TEST(DoPlaySound, PlaysThroughThePlayerOnlyWithTheCheckMark) {
    RecordingSoundPlayer player;
    SoundSwitch sounds(player);
    ASSERT_TRUE(sounds.On());
    sounds.doPlaySound("swu");
    sounds.doPlaySound("SWC");
    sounds.doPlaySound("");
    EXPECT_EQ(player.played, (QStringList{"swu", "swc"}));

    EXPECT_FALSE(sounds.Toggle());
    for (const QString& name : SoundNames())
        sounds.doPlaySound(name);
    EXPECT_EQ(player.played.size(), 2);

    sounds.SetOn(true);
    sounds.doPlaySound("whl");
    EXPECT_EQ(player.played.last(), "whl");
}

TEST(DoPlaySound, StartsOffWhenTheSettingSaysSo) {
    RecordingSoundPlayer player;
    const SoundSwitch sounds(player, false);
    sounds.doPlaySound("rip");
    EXPECT_TRUE(player.played.isEmpty());
}

// Runs pending events until the player has read in its sounds (3 s at most), and once more,
// so that loading and playing have had their chance to fail.
void PumpUntilLoaded(const SoundPlayer& player) {
    QElapsedTimer timer;
    timer.start();
    while (player.Loading() && timer.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
}

// Warnings and errors from Qt, except the audio service's one-line notice that no sound server
// is running (the machines the tests run on have none).
QStringList g_qtMessages;
void CollectMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    if (text.startsWith(QLatin1String("PulseAudioService:"))) return;
    g_qtMessages.append(text);
}

TEST(QtSoundPlayer, QtsSampleLoaderAcceptsEverySound) {
    for (const QString& name : SoundNames()) {
        SCOPED_TRACE(name.toStdString());
        // No device is needed to load; playing is what needs one.
        auto effect = std::make_unique<QSoundEffect>(QAudioDevice());
        effect->setSource(QUrl(QLatin1String("qrc") + SoundResourcePath(name)));
        QElapsedTimer timer;
        timer.start();
        while (effect->status() == QSoundEffect::Loading && timer.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(effect->status(), QSoundEffect::Ready);
        // An effect stuck loading would hang in its destructor (see ~QtSoundPlayer in qtaudio.cpp).
        if (effect->status() == QSoundEffect::Loading) (void)effect.release();
    }
}

// The program's own path to its sounds: the module is loaded from the program folder, and
// everything is played quietly with or without an audio output; without the module the player
// is silent. (How quickly is bench/sound_bench's to tell.)
TEST(DesktopSoundPlayer, LoadsTheModuleAndPlaysQuietlyWithOrWithoutAudio) {
    g_qtMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectMessage);
    {
        AudioModule audio(QStringLiteral(ORRINDALE_PROGRAM_DIR "/") + files::kAudioModule);
        ASSERT_NE(audio.Backend(), nullptr);
        DesktopSoundPlayer player(audio);
        for (const QString& name : SoundNames())
            player.Play(name);
        player.Play("swu");
        player.Play("swu"); // cuts the first one off
        player.Play("nosuchsound");
        auto loop = audio.NewLoop();
        if (loop->Open(QStringLiteral(ORRINDALE_PROGRAM_DIR "/") + files::kFeedSound)) {
            loop->Play();
            loop->Stop();
        }
        PumpUntilLoaded(player);
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_qtMessages.isEmpty()) << g_qtMessages.join('\n').toStdString();

    AudioModule missing(QDir::temp().filePath("no-such-module.so"));
    DesktopSoundPlayer silent(missing);
    silent.Play("swc");
    EXPECT_FALSE(silent.HasOutput());
    EXPECT_FALSE(
        missing.NewLoop()->Open(QStringLiteral(ORRINDALE_PROGRAM_DIR "/") + files::kFeedSound));
}

// The audio output is prepared when the calculator is first used: not when it merely appears
// under the pointer, once at the first move, press or key.
TEST(AtFirstUse, RunsOnceAtTheFirstMovePressOrKey) {
    const QPointF at(5, 5);
    const auto enter = [&] { return new QEnterEvent(at, at, at); };
    const auto move = [&] {
        return new QMouseEvent(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton,
                               Qt::NoModifier);
    };
    const auto press = [&] {
        return new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                               Qt::NoModifier);
    };
    const auto key = [] { return new QKeyEvent(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier); };
    for (const auto& first : std::vector<std::function<QEvent*()>>{move, press, key}) {
        QObject window;
        int runs = 0;
        AtFirstUse::Run(&window, [&runs] { ++runs; });
        const auto send = [&window](QEvent* made) {
            std::unique_ptr<QEvent> event(made);
            QCoreApplication::sendEvent(&window, event.get());
        };
        send(enter());
        EXPECT_EQ(runs, 0);
        send(first());
        send(first());
        EXPECT_EQ(runs, 1);
    }
}

} // namespace
} // namespace orrindale
