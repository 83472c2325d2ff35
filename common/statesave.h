// Writing the settings and state files so that none is lost without the user knowing.
//
// A window that closes hands over the files it keeps: each a name of programfiles.h with the
// routine that writes it to a given path. When one cannot be written (a full disk, a file made
// read-only or immutable, a folder that can no longer be written), the user is told which and
// why, and chooses: try again, write them to another folder (which the rest of the session's
// saves then use too), or close without them after a second question. Cancel keeps the window
// open with nothing lost.
//
// When nobody can answer (the program was asked to end by a signal or by the desktop session),
// a file that cannot be written where it belongs is kept aside in a folder made for it, and
// standard error says where; the close goes on.
#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace orrindale {

struct Services;

struct StateWrite {
    const char* Name;
    // Writes the file to path; on failure errno tells why.
    std::function<bool(const QString& path)> Write;
};

enum class SaveOutcome {
    Saved,     // every file was written (perhaps in another folder, or kept aside)
    Dropped,   // the user chose to close without some of them
    Cancelled, // the user chose to keep the window open
};

SaveOutcome SaveStateFiles(const Services& services, const std::vector<StateWrite>& writes);

// For what cannot wait for the user's answer: writes the files into a new folder kept aside for
// them (in the usual state folder, else the temporary folder) and tells standard error why
// ("the program card had changed") and where each is. False when one could not be kept.
bool KeepAside(const Services& services, const std::vector<StateWrite>& writes, const QString& why);

} // namespace orrindale
