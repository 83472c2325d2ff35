// Prints the click points, one "NAME X Y" line each, from the layouts the program itself hits
// against, so the end-to-end scripts never carry coordinates of their own. On the calculator: a
// key by its name ("End", "Cont"), a switch setting by its label ("ON", "PRGM"), a printer
// button as "print-" and its legend, the card slot's record and enter areas, and the display
// and the paper strip as "display LEFT TOP WIDTH HEIGHT" and "paper ...". On the peripheral
// windows: the plotter's ON switch, the memory's LINE ON and the reader's feed button.
#include "cards/marked/readerart.h"
#include "memexp/memlayout.h"
#include "panel/layout.h"
#include "plotter/plotart.h"

#include <cstdio>
#include <string>

using namespace orrindale::layout;

namespace {
void Print(const std::string& name, Box area) {
    std::printf("%s %d %d\n", name.c_str(), (area.X1 + area.X2) / 2, (area.Y1 + area.Y2) / 2);
}
void Print(const std::string& name, Rect area) {
    std::printf("%s %d %d\n", name.c_str(), area.Left + area.Width / 2, area.Top + area.Height / 2);
}
// Key names hold spaces ("Clear X"); the scripts read a name as one word.
std::string OneWord(std::string name) {
    for (char& c : name)
        if (c == ' ') c = '_';
    return name;
}
} // namespace

int main() {
    for (int key = 1; key <= kKeyCount; ++key)
        if (*kKeys[static_cast<size_t>(key)].Name)
            Print(OneWord(kKeys[static_cast<size_t>(key)].Name), KeyArea(key));
    for (const SwitchPlace& place : kSwitches)
        Print(place.Label, place.LabelArea);
    for (const PrintButtonPlace& place : kPrintButtons)
        Print(std::string("print-") + place.Legend, place.Area);
    Print("card-record", kCardRecordArea);
    Print("card-enter", kCardEnterArea);
    for (const auto& [name, area] : {std::pair{"plotter-ON", orrindale::plotart::kOnArea},
                                     std::pair{"reader-feed", orrindale::readerart::kFeedButton}})
        std::printf("%s %d %d\n", name, area.center().x(), area.center().y());
    const orrindale::memlayout::Rect line = orrindale::memlayout::kLineOnArea;
    std::printf("memory-LINE-ON %d %d\n", line.Left + line.Width / 2, line.Top + line.Height / 2);
    for (const auto& [name, area] : {std::pair{"display", kDisplay}, std::pair{"paper", kPaper}})
        std::printf("%s %d %d %d %d\n", name, area.Left, area.Top, area.Width, area.Height);
    return 0;
}
