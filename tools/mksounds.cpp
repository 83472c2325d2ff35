// mksounds: synthesises the nine panel sounds as 44.1 kHz 16-bit stereo WAVE files, together
// with the resource list (sounds.qrc) that rcc compiles them from; or the plotter's carriage
// sound, which the program folder holds as a file of its own.
//
//     mksounds OUTPUT_FOLDER
//     mksounds --feed FEED_WAV
//
// Every sound is built from a few physical pieces: the sharp noise burst of two hard parts
// meeting, the decaying rings of the metal and plastic parts they set vibrating, the low thump
// of the case, the hum of a motor and the crackle of tearing paper. The noise comes from a
// fixed-seed generator, so every build writes byte-identical files.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "common/soundset.h"

namespace {

using orrindale::kPanelSounds;
using orrindale::kSoundRate;
using Signal = std::vector<double>;

// The right channel runs this many frames behind the left (see WaveFile).
constexpr int kStereoDelay = 13;

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// xorshift64*: small, fast and the same on every platform (unlike the standard distributions).
class Noise {
public:
    explicit Noise(std::uint64_t seed) : state_(seed | 1) {}
    // Uniform in [0, 1).
    double Unit() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<double>((state_ * 2685821657736338717ULL) >> 11) * 0x1.0p-53;
    }
    // Uniform in [-1, 1).
    double Bipolar() { return 2.0 * Unit() - 1.0; }
    double Between(double low, double high) { return low + (high - low) * Unit(); }

private:
    std::uint64_t state_;
};

// A second-order filter in direct form I (the usual audio cookbook coefficients).
class Biquad {
public:
    static Biquad BandPass(double freq, double q) {
        const double w = kTwoPi * freq / kSoundRate, alpha = std::sin(w) / (2.0 * q);
        return Biquad(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * std::cos(w), 1.0 - alpha);
    }
    static Biquad LowPass(double freq, double q) {
        const double w = kTwoPi * freq / kSoundRate, alpha = std::sin(w) / (2.0 * q);
        const double c = std::cos(w);
        return Biquad((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
    }
    static Biquad HighPass(double freq, double q) {
        const double w = kTwoPi * freq / kSoundRate, alpha = std::sin(w) / (2.0 * q);
        const double c = std::cos(w);
        return Biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
    }
    double Step(double x) {
        const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }
    void Apply(Signal& s) {
        for (double& v : s)
            v = Step(v);
    }

private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
        : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

int FrameAt(double seconds) {
    return static_cast<int>(std::lround(seconds * kSoundRate));
}

// A struck part ringing at freq, dying away with time constant tau (seconds).
void AddRing(Signal& s, double at, double freq, double amp, double tau) {
    const int start = FrameAt(at);
    for (int n = start; n < static_cast<int>(s.size()); ++n) {
        const double t = static_cast<double>(n - start) / kSoundRate;
        const double env = std::exp(-t / tau);
        if (env < 1e-5) break;
        s[n] += amp * env * std::sin(kTwoPi * freq * t);
    }
}

// Two hard surfaces meeting: a burst of noise coloured by filter, decaying with tau.
void AddBurst(Signal& s, Noise& noise, double at, double amp, double tau, Biquad filter) {
    const int start = FrameAt(at);
    const double attack = 0.0002;
    for (int n = start; n < static_cast<int>(s.size()); ++n) {
        const double t = static_cast<double>(n - start) / kSoundRate;
        const double env = std::min(1.0, t / attack) * std::exp(-t / tau);
        if (t > attack && env < 1e-5) break;
        s[n] += amp * filter.Step(env * noise.Bipolar());
    }
}

// The case or a heavy part taking a knock: a low tone gliding from f0 down to f1.
void AddThump(Signal& s, double at, double f0, double f1, double amp, double tau) {
    const int start = FrameAt(at);
    double phase = 0.0;
    for (int n = start; n < static_cast<int>(s.size()); ++n) {
        const double t = static_cast<double>(n - start) / kSoundRate;
        const double env = std::exp(-t / tau);
        if (env < 1e-5) break;
        const double freq = f1 + (f0 - f1) * std::exp(-t / (tau * 0.5));
        phase += kTwoPi * freq / kSoundRate;
        s[n] += amp * env * std::sin(phase);
    }
}

// A small mechanical click: a noise burst with the rings of the part that made it.
struct Click {
    double at, amp, tau, centre;
    std::vector<double> rings; // frequencies; each rings at a fraction of amp
};

void AddClick(Signal& s, Noise& noise, const Click& c) {
    AddBurst(s, noise, c.at, c.amp, c.tau, Biquad::BandPass(c.centre, 1.1));
    double share = 0.4;
    for (double f : c.rings) {
        AddRing(s, c.at, f, c.amp * share, 0.004 + 8.0 / f);
        share *= 0.6;
    }
}

// Removes any DC offset, fades the last few milliseconds out so that neither channel ends on a
// step, and scales the loudest sample to peak (of full scale).
void Finish(Signal& s, double peak) {
    Biquad::HighPass(25.0, 0.707).Apply(s);
    const int size = static_cast<int>(s.size());
    const int fade = std::min(FrameAt(0.005), size / 8);
    for (int i = 0; i < size; ++i) {
        const int left = size - 1 - kStereoDelay - i; // frames before the end of the fade
        if (left < fade) s[i] *= std::max(0, left) / static_cast<double>(fade);
    }
    double top = 0.0;
    for (double v : s)
        top = std::max(top, std::abs(v));
    if (top > 0.0)
        for (double& v : s)
            v *= peak / top;
}

// A toggle switch of the front panel: the lever rubs, snaps over centre, hits its stop and
// bounces once; the case booms for a while after.
Signal SwitchClick(int frames) {
    Signal s(frames, 0.0);
    Noise noise(0x5CA1AB1E);
    AddBurst(s, noise, 0.004, 0.15, 0.008, Biquad::BandPass(2500, 0.8));
    AddClick(s, noise, {0.018, 1.0, 0.0015, 4000, {2900, 5300, 1450}});
    AddThump(s, 0.019, 180, 120, 0.5, 0.06);
    AddClick(s, noise, {0.032, 0.45, 0.001, 3000, {2900}});
    AddClick(s, noise, {0.041, 0.15, 0.0008, 3400, {2900}});
    AddRing(s, 0.020, 95, 0.12, 0.15);
    AddRing(s, 0.020, 760, 0.05, 0.12);
    Finish(s, 0.85);
    return s;
}

// The decimal wheel: the detent ball jumps the ridge and drops into the next notch.
Signal WheelDetent(int frames) {
    Signal s(frames, 0.0);
    Noise noise(0xD37E47);
    AddClick(s, noise, {0.003, 0.8, 0.0006, 5000, {3600, 7100}});
    AddClick(s, noise, {0.011, 0.35, 0.0005, 5000, {3600}});
    AddRing(s, 0.003, 420, 0.15, 0.01);
    Finish(s, 0.55);
    return s;
}

// A calculator key released: the plastic key top springs up against its upper stop.
Signal KeyRelease(int frames) {
    Signal s(frames, 0.0);
    Noise noise(0x4B3F);
    AddBurst(s, noise, 0.002, 0.9, 0.0012, Biquad::BandPass(2200, 0.9));
    AddRing(s, 0.002, 1800, 0.35, 0.006);
    AddRing(s, 0.002, 3900, 0.2, 0.003);
    AddThump(s, 0.002, 300, 220, 0.3, 0.012);
    AddBurst(s, noise, 0.009, 0.2, 0.0006, Biquad::BandPass(3000, 1.0));
    Finish(s, 0.6);
    return s;
}

// A panel button pushed down: it travels, bottoms out and its latch catches, with the spring
// singing faintly.
Signal ButtonDown(int frames) {
    Signal s(frames, 0.0);
    Noise noise(0xB077D0);
    AddBurst(s, noise, 0.003, 0.12, 0.01, Biquad::LowPass(1500, 0.7));
    AddClick(s, noise, {0.022, 1.0, 0.0012, 3200, {2400, 4700}});
    AddThump(s, 0.024, 160, 110, 0.55, 0.035);
    AddRing(s, 0.022, 1100, 0.12, 0.045);
    AddRing(s, 0.022, 1115, 0.08, 0.045);
    AddClick(s, noise, {0.034, 0.35, 0.0008, 3800, {2400}});
    Finish(s, 0.8);
    return s;
}

// A panel button let go: the latch lets go and the spring throws the button up to its stop.
Signal ButtonUp(int frames) {
    Signal s(frames, 0.0);
    Noise noise(0xB0770B);
    AddClick(s, noise, {0.003, 0.4, 0.0006, 4000, {4400}});
    AddClick(s, noise, {0.016, 0.8, 0.001, 2600, {2100}});
    AddThump(s, 0.016, 220, 160, 0.35, 0.02);
    AddRing(s, 0.016, 1250, 0.12, 0.035);
    Finish(s, 0.7);
    return s;
}

// How fast the card reader's motor turns, 0 to 1: it spins up, runs and coasts down.
double MotorSpeed(double t, double length) {
    const double up = std::min(1.0, t / 0.06);
    const double down = std::clamp((length - 0.03 - t) / 0.1, 0.0, 1.0);
    return up * up * (3 - 2 * up) * std::min(1.0, down);
}

// The motor itself: a buzzing hum with its harmonics and the whine of the gear train.
void AddMotor(Signal& s, double length) {
    double phase = 0.0;
    for (std::size_t n = 0; n < s.size(); ++n) {
        const double t = static_cast<double>(n) / kSoundRate;
        const double speed = MotorSpeed(t, length);
        phase += kTwoPi * 140.0 * speed / kSoundRate;
        double hum = 0.0;
        for (int k = 1; k <= 8; ++k)
            hum += std::sin(k * phase) / std::pow(k, 1.5);
        hum += 0.15 * std::sin(9.5 * phase);
        s[n] += 0.3 * speed * hum;
    }
}

// The card between the rollers: friction noise, pulsing with the roller's turn.
void AddCardFriction(Signal& s, Noise& noise) {
    Biquad band = Biquad::BandPass(1800, 0.7);
    for (std::size_t n = 0; n < s.size(); ++n) {
        const double t = static_cast<double>(n) / kSoundRate;
        const double in = std::clamp((t - 0.08) / 0.02, 0.0, 1.0);
        const double out = std::clamp((0.55 - t) / 0.02, 0.0, 1.0);
        const double pulse = 0.75 + 0.25 * std::sin(kTwoPi * 47.0 * t);
        s[n] += 1.2 * in * out * pulse * band.Step(noise.Bipolar());
    }
}

// The card reader: the clutch engages, the motor draws the card in and out again.
Signal CardFeed(int frames) {
    Signal s(frames, 0.0);
    Noise noise(0xCA4DFEED);
    const double length = static_cast<double>(frames) / kSoundRate;
    AddMotor(s, length);
    AddCardFriction(s, noise);
    AddClick(s, noise, {0.004, 0.6, 0.001, 2800, {2200}});
    AddClick(s, noise, {0.08, 0.5, 0.0015, 2000, {1700}});
    AddClick(s, noise, {0.55, 0.35, 0.0012, 2200, {1700}});
    Finish(s, 0.7);
    return s;
}

// Paper torn off against the tear bar: fibres part in a rising crackle that ends in a snap.
Signal PaperRip(int frames) {
    Signal grains(frames, 0.0);
    Noise noise(0x7EA4);
    const double end = 0.13;
    for (int n = FrameAt(0.005); n < FrameAt(end); ++n) {
        const double t = static_cast<double>(n) / kSoundRate;
        const double density = 0.002 + 0.01 * std::min(1.0, t / 0.02) + 0.01 * t / end;
        if (noise.Unit() >= density) continue;
        const double amp = noise.Between(0.2, 1.0) * std::min(1.0, t / 0.02);
        AddBurst(grains, noise, t, amp, noise.Between(0.0003, 0.0015), Biquad::HighPass(900, 0.7));
    }
    AddBurst(grains, noise, end, 1.6, 0.002, Biquad::BandPass(3000, 0.8));
    for (int n = FrameAt(0.005); n < FrameAt(end); ++n)
        grains[n] += 0.08 * noise.Bipolar();
    Biquad::HighPass(1500, 0.7).Apply(grains);
    Biquad::LowPass(9000, 0.7).Apply(grains);
    Finish(grains, 0.8);
    return grains;
}

// The plotter's pen dropped: the solenoid lets go and the pen taps onto the paper.
Signal PenDown(int frames) {
    Signal s(frames, 0.0);
    Noise noise(0x9E4D);
    AddBurst(s, noise, 0.002, 0.5, 0.0008, Biquad::BandPass(2000, 1.0));
    AddThump(s, 0.010, 240, 170, 0.8, 0.014);
    AddBurst(s, noise, 0.010, 0.6, 0.002, Biquad::LowPass(1200, 0.7));
    AddRing(s, 0.010, 900, 0.2, 0.008);
    Finish(s, 0.7);
    return s;
}

// The plotter's pen lifted: the solenoid pulls its armature in with a short clack.
Signal PenUp(int frames) {
    Signal s(frames, 0.0);
    Noise noise(0x9E40);
    AddBurst(s, noise, 0.002, 0.9, 0.0007, Biquad::BandPass(3000, 1.0));
    AddRing(s, 0.002, 2300, 0.35, 0.004);
    AddThump(s, 0.002, 350, 280, 0.3, 0.006);
    Finish(s, 0.6);
    return s;
}

// The plotter's carriage on its way across the sheet ("Feed.wav"), played in a loop for as long
// as the pen travels far: the hum of the servo motors, the whine of their gears, pulsing with
// the drive band's turn, and the rub of the carriage on its rails. Every tone makes whole
// cycles in the loop and the rub's end is cross-faded into its start, so the loop has no seam.
Signal CarriageFeed() {
    const int size = kSoundRate / 2, overlap = FrameAt(0.05);
    const double length = static_cast<double>(size) / kSoundRate;
    const auto whole = [length](double f) { return std::round(f * length) / length; };
    Signal s(size, 0.0);
    for (int n = 0; n < size; ++n) {
        const double t = static_cast<double>(n) / kSoundRate;
        double hum = 0.0;
        for (int k = 1; k <= 6; ++k)
            hum += std::sin(kTwoPi * whole(110.0 * k) * t) / std::pow(k, 1.3);
        const double pulse = 1.0 + 0.3 * std::sin(kTwoPi * whole(14.0) * t);
        const double whine =
            std::sin(kTwoPi * whole(1720.0) * t) + 0.4 * std::sin(kTwoPi * whole(2580.0) * t);
        s[n] = 0.35 * hum + 0.08 * pulse * whine;
    }
    Noise noise(0xF33D);
    Biquad band = Biquad::BandPass(900, 0.8);
    Signal rub(size + overlap);
    for (double& v : rub)
        v = band.Step(noise.Bipolar());
    for (int n = 0; n < size; ++n) {
        const double w = n < overlap ? static_cast<double>(n) / overlap : 1.0;
        s[n] += 0.6 * (w * rub[n] + (n < overlap ? (1.0 - w) * rub[size + n] : 0.0));
    }
    double top = 0.0;
    for (double v : s)
        top = std::max(top, std::abs(v));
    for (double& v : s)
        v *= 0.45 / top; // a background sound, softer than the clicks
    return s;
}

using Synth = std::function<Signal(int frames)>;

Synth SynthFor(const std::string& name) {
    if (name == "swc") return SwitchClick;
    if (name == "whl") return WheelDetent;
    if (name == "swu") return KeyRelease;
    if (name == "s1d") return ButtonDown;
    if (name == "s1u") return ButtonUp;
    if (name == "cfd") return CardFeed;
    if (name == "rip") return PaperRip;
    if (name == "ppd") return PenDown;
    if (name == "ppu") return PenUp;
    return nullptr;
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::int16_t ToSample(double v) {
    return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
}

// The right channel hears the mechanism a fraction of a millisecond later and a little softer,
// which gives the mono recording some width.
// A loop's right channel takes its delayed start from the loop's end.
std::string WaveFile(const Signal& mono, bool loop = false) {
    const std::uint32_t frames = static_cast<std::uint32_t>(mono.size());
    const std::uint32_t dataBytes = frames * 4;
    std::string out = "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, 2, 2); // stereo
    PutLe(out, kSoundRate, 4);
    PutLe(out, kSoundRate * 4, 4);
    PutLe(out, 4, 2);
    PutLe(out, 16, 2);
    out += "data";
    PutLe(out, dataBytes, 4);
    const std::size_t delay = kStereoDelay;
    for (std::size_t n = 0; n < mono.size(); ++n) {
        const double late = n >= delay ? mono[n - delay]
                            : loop     ? mono[mono.size() + n - delay]
                                       : 0.0;
        const double right = 0.9 * late;
        PutLe(out, static_cast<std::uint16_t>(ToSample(mono[n])), 2);
        PutLe(out, static_cast<std::uint16_t>(ToSample(right)), 2);
    }
    return out;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) std::fprintf(stderr, "mksounds: cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}

std::string ResourceList() {
    std::string qrc = "<RCC>\n  <qresource prefix=\"";
    qrc += orrindale::kSoundResourcePrefix;
    qrc += "\">\n";
    for (const auto& sound : kPanelSounds)
        qrc += "    <file>" + std::string(sound.name) + ".wav</file>\n";
    qrc += "  </qresource>\n</RCC>\n";
    return qrc;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--feed")
        return WriteFile(argv[2], WaveFile(CarriageFeed(), true)) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: mksounds OUTPUT_FOLDER | mksounds --feed FEED_WAV\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    for (const auto& sound : kPanelSounds) {
        const Synth synth = SynthFor(sound.name);
        if (!synth) {
            std::fprintf(stderr, "mksounds: no synthesis for \"%s\"\n", sound.name);
            return 1;
        }
        if (!WriteFile(folder + sound.name + ".wav", WaveFile(synth(sound.frames)))) return 1;
    }
    return WriteFile(folder + "sounds.qrc", ResourceList()) ? 0 : 1;
}
