// The main window's sounds and documents: the sound player behind doPlaySound, the "Sounds"
// check mark, and OpenDocument, which every "Help" entry uses to show a PDF from the program
// folder.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class QSoundEffect;

namespace orrindale {

class Messenger;

// The resource path (":/sounds/swc.wav") of the sound of that name, found without regard to
// letter case; empty when the executable has no such sound.
QString SoundResourcePath(const QString& name);
// The names of the sounds the executable carries.
QStringList SoundNames();

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the named sound (a lower-case resource name) and returns at once, cutting off the
    // sound that is playing. An unknown name, or a sound that cannot be played, is silent.
    virtual void Play(const QString& name) = 0;
};

// Plays the resource sounds through the desktop's default audio output. All of them are
// loaded by Prepare (at the latest by the first Play); with no audio output the player stays
// silent.
class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    // Finds the audio output and loads every sound; once, later calls do nothing.
    void Prepare();
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer&) = delete;
    QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

    void Play(const QString& name) override;
    // Whether an audio output was found (and the sounds were loaded).
    bool HasOutput() const { return !effects_.empty(); }

private:
    std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
    QSoundEffect* playing_ = nullptr;
    bool prepared_ = false;
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
