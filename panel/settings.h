// The panel settings file "cce9B.ini": switches, print buttons, wheel, card file and menu
// checks, kept as fifteen keyed lines 000-014 of a scrambled text list.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "common/hpdata.h"

namespace orrindale {

// The twelve virtual-key codes of F1 to F12, each followed by "~".
std::string DefaultFKeyList();

// A settings file holds at most one line per three-digit key, each short but for the card
// file's path; anything beyond is a damaged file.
inline constexpr TextListLimits kSettingsFileLimits{64u << 10, 1000};

struct PanelSettings {
    std::string FKeyList = DefaultFKeyList(); // kept and written back; nothing else reads it
    int RunSpeed = 55;
    bool Sounds = true;
    bool RadMode = false;
    bool FloatMode = false;
    bool ProgramMode = false;
    bool PrinterOn = false;
    std::array<bool, 3> PrintLatch{}; // the X, Y and Z print buttons
    int DecimalWheel = 2;
    std::string CardFileName;
    bool ResetOnStartUp = false;
    bool CardSide = true; // true = side A

    bool operator==(const PanelSettings&) const = default;
};

// Tells whether the card file named in the settings still exists.
using FileExistsCheck = std::function<bool(const std::string& path)>;
bool RegularFileExists(const std::string& path);

TextList SettingsLines(const PanelSettings& settings);
// Applies the lines of a settings file over the current settings. Lines that are missing leave
// a setting as it is; invalid values take their defaults; the switch and print button lines
// only ever switch on.
void ApplySettingsLines(const TextList& lines, PanelSettings& settings,
                        const FileExistsCheck& cardExists);

// False when the file could not be read; every setting then keeps its current value.
bool LoadSettings(const std::string& path, PanelSettings& settings);
// False when the write failed; the old file is then intact.
bool SaveSettings(const std::string& path, const PanelSettings& settings);

} // namespace orrindale
