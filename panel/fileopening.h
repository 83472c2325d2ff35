// The files the calculator opens from outside (named on its command line, handed over by a
// second start, dropped on one of its windows) and where each goes, told by its name's ending
// as the windows' own file dialogs tell them.
#pragma once

#include <QString>

namespace orrindale {

enum class FileKind {
    Unknown,
    MagneticCard, // *.mcf: into the card slot
    CardStack,    // *.ocf: into the marked card reader
    Plot,         // *.ptf: into the plotter
    Memory,       // *.exm: into the extended memory
    Listing,      // *.txt: into the program memory viewer
};

FileKind KindOfFile(const QString& path);

} // namespace orrindale
