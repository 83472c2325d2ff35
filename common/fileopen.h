// Files opened from outside a window's own dialog (named on the command line, handed over by a
// second start, dropped on a window): the kind of a file, told by its name's ending as the
// windows' own file dialogs tell it, and the failure to open one, as its window tells it.
#pragma once

#include <QString>
#include <cstddef>

namespace orrindale {

enum class FileKind {
    Unknown,
    MagneticCard, // *.mcf: into the card slot
    CardStack,    // *.ocf: into the marked card reader (or the open card editor)
    Plot,         // *.ptf: into the plotter
    Memory,       // *.exm: into the extended memory
    Listing,      // *.txt: into the program memory viewer (or made into cards by the editor)
};

FileKind KindOfFile(const QString& path);
// The name a file with the given extension ("ocf") is written under: the path as it is when it
// ends in that extension (in any case), with the extension in place of another kind's ("prog.txt"
// becomes "prog.ocf"), else with it added ("v1.2 sum" becomes "v1.2 sum.ocf"). A save never
// writes one format under another format's extension.
QString WithExtension(const QString& path, const QString& extension);

// A file that did not open: the window's own message first, then the file and why. A
// default-made one is no failure.
struct OpenFailure {
    QString Message; // "ERROR: Failed to open file"; empty when the file opened
    QString File;
    QString Reason; // "No such file or directory", "not a plot file, or a damaged one"

    bool Failed() const { return !Message.isEmpty(); }
    // The text of the window's box: message, file and reason, a blank line between each.
    QString Text() const;
    // One line of a list of several: the file's name and why, or the message when the
    // message is the why.
    QString Line() const;
};

// The failure of a reader refusing path: the system's reason when the file cannot be read (at
// most maxBytes), else badContents, the reader's word for what it found.
OpenFailure ReadFailure(const QString& message, const QString& path, std::size_t maxBytes,
                        const QString& badContents);

} // namespace orrindale
