#include "panel/keypresser.h"

namespace orrindale {

bool KeyPresser::EngineTakesKeys() const {
    // While a program runs, a listing prints or the plotter is waited for, keys only show
    // held; STOP is the exception, handled by the caller.
    return !calc_.Running && calc_.ListingMode == 0 &&
           !(calc_.PendingAction & (pending::WaitPlotter | pending::Run));
}

bool KeyPresser::Press(int key, Device device, int pcKey) {
    if (key <= 0 || key > kKeyCount) return false;
    if (down_) {
        const bool rollover =
            device == Device::Keyboard && heldBy_ == Device::Keyboard && pcKey != heldPcKey_;
        if (!rollover) return false;
        Release();
    }
    down_ = true;
    heldBy_ = device;
    heldPcKey_ = pcKey;
    pressed_ = last_ = key;
    panel_.ShowKey(key, true);
    if (key == pos::Stop) {
        queue_.clear();
        calc_.ExecuteKeyByHand(key);
    } else if (EngineTakesKeys()) {
        if (panel_.Computing())
            queue_.push_back(key);
        else
            calc_.ExecuteKeyByHand(key);
    }
    return true;
}

void KeyPresser::Release() {
    down_ = false;
    panel_.ShowKey(pressed_, false);
    pressed_ = last_ = heldPcKey_ = 0;
    panel_.ReleaseSound();
}

void KeyPresser::ReleaseMouse() {
    if (down_ && heldBy_ == Device::Mouse) Release();
}

void KeyPresser::ReleasePcKey(int pcKey) {
    // A PC key let go also lets go of a key the mouse holds, as it always did; of the PC keys
    // only the one holding the key releases it.
    if (down_ && (heldBy_ == Device::Mouse || pcKey == heldPcKey_)) Release();
}

void KeyPresser::ComputingOver() {
    while (!queue_.empty()) {
        if (!EngineTakesKeys() || !calc_.PowerOn) {
            queue_.clear();
            return;
        }
        if (panel_.Computing()) return; // a queued function's own time; the rest wait again
        const int key = queue_.front();
        queue_.pop_front();
        calc_.ExecuteKeyByHand(key);
    }
}

} // namespace orrindale
