#include "panel/settings.h"

#include <sys/stat.h>

namespace orrindale {

namespace {

constexpr int kDefaultRunSpeed = 55;
constexpr int kDefaultWheel = 2;
constexpr int kMaxWheel = 9;
constexpr int kFKeyCount = 12;

enum SettingsKey {
    kHeader = 0,
    kFKeys = 1,
    kRunSpeed = 2,
    kSounds = 3,
    kRad = 4,
    kFloat = 5,
    kPrgm = 6,
    kPrinterOn = 7,
    kPrintX = 8, // then Y and Z
    kWheel = 11,
    kCardFile = 12,
    kResetOnStartUp = 13,
    kCardSide = 14,
};

bool BooleanOr(const std::string& value, bool fallback) {
    bool b = fallback;
    return ParseBoolean(value, b) ? b : fallback;
}

// The switches and the print buttons start at rest; a saved true moves them, anything else
// leaves them where they are.
void SwitchOn(const std::string& value, bool& setting) {
    if (BooleanOr(value, false)) setting = true;
}

int NonNegativeOr(const std::string& value, int fallback) {
    int n = 0;
    return ParseDecimal(value, n) && n >= 0 ? n : fallback;
}

// A file name may hold a line break, which would split its settings line and let the rest be
// read as another key. Such a card is not remembered.
std::string StorableCardFile(const std::string& path) {
    return HasNoneOf(path, "\r\n") ? path : std::string();
}

void ApplyLine(int key, const std::string& value, PanelSettings& s,
               const FileExistsCheck& cardExists) {
    switch (key) {
    case kFKeys:
        s.FKeyList = CountChar('~', value) == kFKeyCount ? value : DefaultFKeyList();
        break;
    case kRunSpeed: s.RunSpeed = NonNegativeOr(value, kDefaultRunSpeed); break;
    case kSounds: s.Sounds = BooleanOr(value, false); break;
    case kRad: SwitchOn(value, s.RadMode); break;
    case kFloat: SwitchOn(value, s.FloatMode); break;
    case kPrgm: SwitchOn(value, s.ProgramMode); break;
    case kPrinterOn: SwitchOn(value, s.PrinterOn); break;
    case kPrintX:
    case kPrintX + 1:
    case kPrintX + 2: SwitchOn(value, s.PrintLatch[static_cast<size_t>(key - kPrintX)]); break;
    case kWheel: {
        // The wheel shows one of ten digit pictures; a value beyond 9 would index past them.
        const int wheel = NonNegativeOr(value, kDefaultWheel);
        s.DecimalWheel = wheel <= kMaxWheel ? wheel : kDefaultWheel;
        break;
    }
    case kCardFile: s.CardFileName = !value.empty() && cardExists(value) ? value : ""; break;
    case kResetOnStartUp: s.ResetOnStartUp = BooleanOr(value, false); break;
    case kCardSide: s.CardSide = BooleanOr(value, true); break;
    default: break; // line 000 and unknown keys
    }
}

} // namespace

std::string DefaultFKeyList() {
    std::string list;
    for (int code = 112; code < 112 + kFKeyCount; ++code)
        list += std::to_string(code) + "~";
    return list;
}

bool RegularFileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

TextList SettingsLines(const PanelSettings& s) {
    return {
        LineKey(kHeader),
        LineKey(kFKeys) + s.FKeyList,
        LineKey(kRunSpeed) + std::to_string(s.RunSpeed),
        LineKey(kSounds) + BooleanText(s.Sounds),
        LineKey(kRad) + BooleanText(s.RadMode),
        LineKey(kFloat) + BooleanText(s.FloatMode),
        LineKey(kPrgm) + BooleanText(s.ProgramMode),
        LineKey(kPrinterOn) + BooleanText(s.PrinterOn),
        LineKey(kPrintX) + BooleanText(s.PrintLatch[0]),
        LineKey(kPrintX + 1) + BooleanText(s.PrintLatch[1]),
        LineKey(kPrintX + 2) + BooleanText(s.PrintLatch[2]),
        LineKey(kWheel) + std::to_string(s.DecimalWheel),
        LineKey(kCardFile) + StorableCardFile(s.CardFileName),
        LineKey(kResetOnStartUp) + BooleanText(s.ResetOnStartUp),
        LineKey(kCardSide) + BooleanText(s.CardSide),
    };
}

void ApplySettingsLines(const TextList& lines, PanelSettings& settings,
                        const FileExistsCheck& cardExists) {
    for (std::string line : lines) {
        const int key = TakeLineKey(line, true);
        ApplyLine(key, line, settings, cardExists);
    }
}

bool LoadSettings(const std::string& path, PanelSettings& settings) {
    TextList lines;
    if (!LoadScrambledTextList(path, lines, kSettingsFileLimits)) return false;
    ApplySettingsLines(lines, settings, RegularFileExists);
    return true;
}

bool SaveSettings(const std::string& path, const PanelSettings& settings) {
    return SaveScrambledTextList(path, SettingsLines(settings));
}

} // namespace orrindale
