// The keyboard's way over the calculator's controls without a mouse. Tab and Shift+Tab go from
// group to group (the switches, the wheel, the keys, the printer's buttons, the card buttons),
// each time to the control last visited in that group; the arrow keys go within a group, over
// the keys as over their rows and columns. The first Tab lands on the power switch, the first
// control a user without a mouse needs.
#pragma once

#include <array>

namespace orrindale {

class PanelFocus {
public:
    PanelFocus();

    // The focused control as an accessible item (accessibility.h); -1 for none.
    int Item() const { return item_; }
    // To the next group (backwards with forward false); from none, to the first group.
    void Tab(bool forward);
    // dx, dy one of -1, 0, +1; false when the group has no control that way.
    bool Arrow(int dx, int dy);
    // Off the controls: the focus mark goes, the next Tab starts again where it left.
    void Clear() { item_ = -1; }

    static constexpr int kGroupCount = 5;

private:
    int GroupOf(int item) const;

    int item_ = -1;
    int group_ = -1;
    std::array<int, kGroupCount> last_{};
};

} // namespace orrindale
