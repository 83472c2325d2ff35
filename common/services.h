// What every window is given from outside: the program folder and the seams through which it
// talks to the user and the desktop. The program fills it with the real message boxes, sounds,
// document viewer and dialogs; tests fill it with scripted and recording doubles and a
// temporary folder. The objects pointed to outlive every window.
#pragma once

#include <QString>
#include <memory>

namespace orrindale {

class AudioModule;
class DocumentOpener;
class FileChooser;
class Messenger;
class PrinterChooser;
class SoundSwitch;
class StateFiles;
struct MainBounds;

struct Services {
    QString ProgramFolder; // with a trailing separator
    Messenger* Messages = nullptr;
    SoundSwitch* Sounds = nullptr; // the panel's sounds, silent while "Sounds" is unchecked
    AudioModule* Audio = nullptr;  // other sounds (the plotter's carriage); none in tests
    DocumentOpener* Documents = nullptr;
    MainBounds* Bounds = nullptr; // the main window's edges, for placing windows beside it
    PrinterChooser* Printers = nullptr;
    FileChooser* Files = nullptr;
    // Where the settings and state go when the program folder cannot be written (empty: the
    // user's data folder); the main window makes State from it and the program folder unless
    // State is given. Without State they stay in the program folder and a damaged one is not put
    // aside.
    QString DataFolder; // with a trailing separator
    StateFiles* State = nullptr;

    // A file of the program folder, by one of the names of programfiles.h.
    QString ProgramFile(const char* name) const { return ProgramFolder + name; }
    // A settings or state file: where it is read, where it is written, and the report that it
    // could not be read (statefiles.h).
    QString StateFile(const char* name) const;
    QString SaveStateFile(const char* name) const;
    void StateLoadFailed(const char* name) const;
    // Tells the user what State has to say, if anything. An error given goes first in the same
    // box, which is then an error box.
    void TellStateNotice(const QString& error = {}) const;
    // Plays a named sound of the executable unless sounds are switched off.
    void doPlaySound(const char* name) const;
    // Shows a PDF of the program folder; a failure is reported to the user and gives false.
    bool OpenDocument(const char* name) const;
};

// The settings and state files of services' program folder, with services.DataFolder or else the
// user's data folder beside it (none at all, without a home, keeps everything in the program
// folder); installed: always in the data folder (StateFiles::Installed).
std::unique_ptr<StateFiles> MakeStateFiles(const Services& services, bool installed);

} // namespace orrindale
