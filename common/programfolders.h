// Where the program's own files are: the pictures, sounds and guides, and the two modules.
//
// Run from the build, everything stands in the executable's folder, the program folder. An
// installed program keeps its executable in P/bin, its read-only files in P/share/orrindale and
// its modules in P/lib/orrindale (the places the install rules give them), found from the
// executable's own folder so that the whole prefix may be moved.
#pragma once

#include <QString>

namespace orrindale {

struct ProgramFolders {
    QString Data;    // pictures, sounds and guides; with a trailing separator
    QString Modules; // orrindale_audio.so and orrindale_print.so; with a trailing separator
    // An installed program keeps its settings and state in the user's data folder whatever
    // the program folder allows: the prefix belongs to the package, and each user has their own.
    bool Installed = false;
};

// The folder of the running executable, with a trailing separator, read from its link (usable
// before the toolkit starts); empty when the link cannot be read.
QString ExecutableFolder();

// The folders of an executable in executableFolder (with a trailing separator): the build's
// program folder when it holds the panel picture, else the installed places when they hold it,
// else the executable's folder (whose missing pictures are then reported as ever).
ProgramFolders LocateProgramFolders(const QString& executableFolder);

} // namespace orrindale
