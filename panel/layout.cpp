#include "panel/layout.h"

namespace orrindale::layout {

// The keyboard is seen slightly from the front, so each lower row reaches a little further out
// to both sides; that is why the x positions differ from row to row.
const std::array<KeyRowBand, kKeyRows> kKeyRowBands = {{
    {369, 386},
    {391, 407},
    {413, 429},
    {435, 452},
    {458, 474},
}};

const std::array<std::array<int, kKeyColumns>, kKeyRows> kKeyLeft = {{
    {90, 123, 156, 223, 256, 290, 357, 391, 426, 459, 527, 561, 595},
    {84, 120, 152, 221, 254, 288, 357, 392, 426, 460, 529, 564, 599},
    {81, 115, 149, 218, 253, 287, 357, 392, 426, 462, 532, 567, 601},
    {76, 111, 146, 216, 250, 286, 356, 392, 427, 463, 534, 569, 605},
    {71, 107, 142, 213, 249, 284, 356, 392, 428, 466, 537, 572, 608},
}};

// clang-format off
const std::array<KeyPlace, kKeyCount + 1> kKeys = {{
    {"", "", {0, 0}},
    // Row 1
    {"To Polar", "P", {87, 368}},          {"|Y|", "Y", {120, 368}},
    {"Arc", "Shift  A", {154, 368}},       {"a", "", {220, 367}},
    {"b", "", {254, 366}},                 {"x<->y", "W", {287, 367}},
    {"Sqrt", "Shift  J", {354, 367}},      {"Chg Sign", "Shift  K", {388, 366}},
    {"Enter Exp", "J", {421, 367}},        {"Clear X", "Back Space", {455, 366}},
    {"Clear", "K", {522, 367}},            {"If Flag", "Shift  I", {555, 367}},
    {"Set Flag", "S", {589, 367}},
    // Row 2
    {"To Rect", "R", {82, 389}},           {"INTx", "I", {116, 389}},
    {"Hyper", "Shift  H", {149, 387}},     {"c", "", {217, 389}},
    {"d", "", {252, 389}},                 {"Roll Down", "Shift  U", {286, 389}},
    {"Divide", "/", {353, 389}},           {"7", "", {389, 389}},
    {"8", "", {422, 389}},                 {"9", "", {456, 389}},
    {"FMT", "Shift  F", {525, 389}},       {"If X<Y", "Shift  Y", {558, 388}},
    {"Pause", "H", {593, 388}},
    // Row 3
    {"RCL", "Shift  R", {78, 407}},        {"Ex", "Shift  E", {112, 407}},
    {"SinX", "Shift  S", {146, 408}},      {"e", "", {215, 408}},
    {"f", "", {251, 409}},                 {"Roll Up", "U", {285, 409}},
    {"Multiply", "X or *", {353, 410}},    {"4", "", {388, 408}},
    {"5", "", {423, 408}},                 {"6", "", {457, 409}},
    {"Print Space", "T", {528, 409}},      {"If X=Y", "Shift  W", {562, 408}},
    {"Stop", "O", {595, 409}},
    // Row 4
    {"ACC-", "Shift  -", {72, 432}},       {"LNx", "Shift  L", {107, 432}},
    {"CosX", "Shift  C", {142, 433}},      {"Y->[]", "Q", {213, 433}},
    {"Y<->[]", "Shift  Q", {248, 432}},    {"Shift Down", "Shift  Enter", {283, 433}},
    {"Subtract", "-", {353, 433}},         {"1", "", {389, 434}},
    {"2", "", {423, 432}},                 {"3", "", {460, 431}},
    {"Sub Return", "Shift  B", {530, 432}}, {"If X>Y", "Shift  X", {564, 432}},
    {"End", "Shift  O", {600, 432}},
    // Row 5
    {"ACC+", "Shift  +", {68, 455}},       {"LOGx", "L", {103, 456}},
    {"TanX", "Shift  T", {139, 456}},      {"X->[]", "M", {210, 456}},
    {"X<-[]", "Shift  M", {245, 456}},     {"Shift Up", "Enter", {281, 456}},
    {"Add", "+", {351, 456}},              {"0", "", {389, 455}},
    {".", "", {424, 456}},                 {"Pi", "Shift  P", {459, 456}},
    {"Cont", "N", {531, 455}},             {"GoTo", "G", {566, 455}},
    {"Step Prgm", "Z", {602, 455}},
}};

const std::array<SwitchPlace, kSwitchSettingCount> kSwitches = {{
    {SwitchSetting::Deg,   "DEG",   {130, 342, 30, 22}, {97, 357, 30, 12},  "Set degrees mode"},
    {SwitchSetting::Rad,   "RAD",   {132, 340, 30, 22}, {163, 357, 30, 12}, "Set radians mode"},
    {SwitchSetting::Fix,   "FIX",   {260, 341, 30, 22}, {290, 356, 26, 12}, "Set fixed point mode"},
    {SwitchSetting::Float, "FLOAT", {256, 341, 30, 22}, {219, 357, 36, 12},
     "Set floating point mode"},
    {SwitchSetting::Off,   "OFF",   {421, 341, 30, 22}, {401, 356, 20, 12}, "Power off"},
    {SwitchSetting::On,    "ON",    {422, 340, 30, 22}, {455, 355, 20, 12}, "Power on"},
    {SwitchSetting::Run,   "RUN",   {555, 340, 30, 22}, {592, 355, 28, 12}, "Set run mode"},
    {SwitchSetting::Prgm,  "PRGM",  {555, 340, 30, 22}, {516, 355, 38, 12}, "Set program mode"},
}};

const std::array<PrintButtonPlace, kPrintButtonCount> kPrintButtons = {{
    {PrintButton::On, "ON", {416, 149, 446, 161}, {415, 146, 34, 17}},
    {PrintButton::X,  "X",  {451, 149, 482, 161}, {450, 147, 34, 17}},
    {PrintButton::Y,  "Y",  {486, 149, 518, 161}, {485, 147, 34, 17}},
    {PrintButton::Z,  "Z",  {522, 149, 555, 161}, {522, 147, 34, 17}},
    {PrintButton::L,  "L",  {557, 149, 589, 161}, {557, 147, 34, 17}},
}};
// clang-format on

Box KeyArea(int key) {
    const int row = KeyRow(key) - 1, column = KeyColumn(key) - 1;
    const int left = kKeyLeft[static_cast<size_t>(row)][static_cast<size_t>(column)];
    const KeyRowBand band = kKeyRowBands[static_cast<size_t>(row)];
    return {left + 1, band.Above + 1, left + kKeyWidth - 1, band.Below - 1};
}

Rect PressedKeyRect(int key) {
    const Point at = kKeys[static_cast<size_t>(key)].Pressed;
    return {at.X, at.Y, kPressedKeyWidth, kPressedKeyHeight};
}

namespace {
int FirstColumnHolding(int x, int firstEntry, int entryCount) {
    for (int entry = firstEntry; entry < firstEntry + entryCount; ++entry) {
        const int left = kKeyLeft[static_cast<size_t>(entry / kKeyColumns)]
                                 [static_cast<size_t>(entry % kKeyColumns)];
        if (x > left && x < left + kKeyWidth) return entry % kKeyColumns + 1;
    }
    return 0;
}
} // namespace

int KeyAt(int x, int y) {
    for (int row = 0; row < kKeyRows; ++row) {
        const KeyRowBand band = kKeyRowBands[static_cast<size_t>(row)];
        if (y <= band.Above || y >= band.Below) continue;
        // A point on one of the row's own caps is that key. Row 5's first intervals overlap
        // those of rows 1 and 2, and taking the first of all 65 intervals there would press
        // the left neighbour when the user clicks the left edge of LOGx or TanX.
        int column = FirstColumnHolding(x, row * kKeyColumns, kKeyColumns);
        // Elsewhere on the row the first of all 65 intervals decides, whatever row it belongs
        // to (so row 1's wider-set first interval still hovers key 53 at (95, 465)).
        if (column == 0) column = FirstColumnHolding(x, 0, kKeyCount);
        return column == 0 ? 0 : row * kKeyColumns + column;
    }
    return 0;
}

const SwitchPlace& Switch(SwitchSetting setting) {
    return kSwitches[static_cast<size_t>(setting)];
}

SwitchSetting Partner(SwitchSetting setting) {
    // Settings come in pairs 0/1, 2/3, 4/5, 6/7.
    return static_cast<SwitchSetting>(static_cast<int>(setting) ^ 1);
}

int PrintButtonAt(int x, int y) {
    for (int i = 0; i < kPrintButtonCount; ++i)
        if (kPrintButtons[static_cast<size_t>(i)].Area.Holds(x, y)) return i;
    return -1;
}

} // namespace orrindale::layout
