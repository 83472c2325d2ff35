// Pressing and releasing calculator keys, whichever device does it.
//
// One key is down at a time. The mouse has one pointer: while it holds a key every other
// press waits for its release. A PC keyboard rolls over: the next key usually goes down before
// the last comes up, so a PC key pressed while another PC key holds a calculator key releases
// that key first (picture and sound included), then acts. A key pressed while the display is
// dark with computing time, or while the plotter's carriage travels, is queued and acts, in
// order, when the time is over or the pen has arrived, through the same checks as a key
// pressed then; starting a program, a listing, switching off or clearing the memory drops
// what is queued. The window shows the key pictures and plays the release
// sound through the Panel callbacks; everything else is here, so tests drive it headless.
#pragma once

#include <deque>
#include <functional>

#include "engine/calculator.h"

namespace orrindale {

class KeyPresser {
public:
    enum class Device { Mouse, Keyboard };
    struct Panel {
        std::function<void(int key, bool down)> ShowKey;
        std::function<void()> ReleaseSound;
        // The display is dark with computing time, or the plotter's carriage travels.
        std::function<bool()> Computing;
    };

    KeyPresser(Calculator& calc, Panel panel) : calc_(calc), panel_(std::move(panel)) {}

    // A key (1-65) goes down; pcKey names the PC key that pressed it (0 for the mouse).
    // False when the press was refused because the mouse holds another key.
    bool Press(int key, Device device, int pcKey = 0);
    // The mouse button comes up, or a PC key: releases the calculator key it holds (a PC key
    // also one the mouse holds).
    void ReleaseMouse();
    void ReleasePcKey(int pcKey);

    // Computing time is over: the queued keys act, until one starts computing time again.
    void ComputingOver();
    void DropQueue() { queue_.clear(); }
    int Queued() const { return static_cast<int>(queue_.size()); }

    // Whether this key is held down right now (a held PRINT/SPACE keeps feeding).
    bool Held(int key) const { return down_ && last_ == key; }
    bool Down() const { return down_; }
    // The key last pressed while it is held; forgotten when the pointer leaves the keys.
    int LastKey() const { return last_; }
    void ForgetLastKey() { last_ = 0; }

private:
    bool EngineTakesKeys() const;
    void Release();

    Calculator& calc_;
    Panel panel_;
    bool down_ = false;
    Device heldBy_ = Device::Mouse;
    int heldPcKey_ = 0;
    int pressed_ = 0;
    int last_ = 0;
    std::deque<int> queue_;
};

} // namespace orrindale
