// The nine sounds of the panel and the peripherals, by their three-letter resource names, with
// the length of each recording. Shared by the sound synthesiser (tools/mksounds), which makes
// the WAVE files, and the sound player, which loads them from the audio module's resources.
#pragma once

#include <array>

namespace orrindale {

inline constexpr int kSoundRate = 44100; // frames per second; 16-bit stereo PCM

struct PanelSound {
    const char* name;
    int frames;
    const char* mechanism; // what makes the noise
};

inline constexpr std::array<PanelSound, 9> kPanelSounds{{
    {"swc", 28665, "a panel switch snapping over (DEG/RAD, FIX/FLOAT, OFF/ON, PRGM/RUN)"},
    {"whl", 2646, "the decimal wheel clicking into its next detent"},
    {"swu", 3087, "a calculator key springing back up"},
    {"s1d", 9702, "a panel button pushed down until it latches"},
    {"s1u", 7056, "a panel button released by its spring"},
    {"cfd", 28665, "the card reader's motor drawing a card through"},
    {"rip", 6615, "the printer paper torn off against the tear bar"},
    {"ppd", 3087, "the plotter's pen dropping onto the paper"},
    {"ppu", 1323, "the plotter's pen lifted by its solenoid"},
}};

// The resource prefix under which the audio module keeps the sounds (":/sounds/swc.wav").
inline constexpr char kSoundResourcePrefix[] = "/sounds";

} // namespace orrindale
