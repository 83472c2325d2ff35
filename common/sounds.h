// The main window's sounds and documents: the sound player behind doPlaySound (audio.h has the
// desktop's), the "Sounds" check mark, and OpenDocument, which every "Help" entry uses to show a
// PDF from the program folder.
#pragma once

#include <QString>
#include <QStringList>

#include "common/soundset.h"

namespace orrindale {

class Messenger;

// The names of the panel's sounds (the audio module carries the recordings).
inline QStringList SoundNames() {
    QStringList names;
    for (const PanelSound& sound : kPanelSounds)
        names.append(QLatin1String(sound.name));
    return names;
}

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the named sound (a lower-case resource name) and returns at once, cutting off the
    // sound that is playing. An unknown name, or a sound that cannot be played, is silent.
    virtual void Play(const QString& name) = 0;
    // True while a sound is still being read in; a player that reads nothing never is.
    virtual bool Loading() const { return false; }
};

// A sound from a file played over and over until stopped (the plotter's carriage).
class LoopingSound {
public:
    virtual ~LoopingSound() = default;
    // False when the file or the audio output is missing: the sound then stays silent.
    virtual bool Open(const QString& path) = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0; // and rewind
};

// doPlaySound and the "Sounds" check mark of the pop-up menu.
class SoundSwitch {
public:
    explicit SoundSwitch(SoundPlayer& player, bool on = true) : player_(player), on_(on) {}

    bool On() const { return on_; }
    void SetOn(bool on) { on_ = on; }
    // The menu entry: flips the check mark and returns the new state.
    bool Toggle() { return on_ = !on_; }

    // Plays the named sound (any letter case) unless the check mark is off or the name empty.
    void doPlaySound(const QString& name) const;

private:
    SoundPlayer& player_;
    bool on_;
};

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // Asks the desktop to show the file with the application it associates with it; false when
    // that failed.
    virtual bool Open(const QString& path) = 0;
};

// The desktop's own opener (QDesktopServices).
class DesktopOpener final : public DocumentOpener {
public:
    bool Open(const QString& path) override;
};

// Opens folder/name with the desktop's viewer. A missing file shows "Unable to find document",
// a failure of the viewer "Failed to load file: " and the name; both as error boxes, and both
// return false.
bool OpenDocument(const QString& folder, const QString& name, DocumentOpener& opener,
                  Messenger& messenger);

} // namespace orrindale
