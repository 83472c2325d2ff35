#include "panel/panelfocus.h"

#include "panel/accessibility.h"

namespace orrindale {

namespace {
struct Group {
    int first;   // its first item
    int count;   // how many items
    int columns; // how many items a row holds
};
// In Tab order: the switches, the wheel, the keys, the printer's buttons with the paper feed,
// the card buttons.
constexpr std::array<Group, PanelFocus::kGroupCount> kGroups = {{
    {access::kFirstSwitchItem, 4, 4},
    {access::kWheelItem, 1, 1},
    {access::kFirstKeyItem, layout::kKeyCount, layout::kKeyColumns},
    {access::kFirstPrintItem, 6, 6},
    {access::kFirstCardItem, 2, 2},
}};
} // namespace

PanelFocus::PanelFocus() {
    for (size_t g = 0; g < kGroups.size(); ++g)
        last_[g] = kGroups[g].first;
    last_[0] = access::kFirstSwitchItem + 2; // the power switch
}

int PanelFocus::GroupOf(int item) const {
    for (int g = 0; g < kGroupCount; ++g) {
        const Group& group = kGroups[static_cast<size_t>(g)];
        if (item >= group.first && item < group.first + group.count) return g;
    }
    return -1;
}

void PanelFocus::Tab(bool forward) {
    if (item_ < 0 && group_ >= 0) {
        item_ = last_[static_cast<size_t>(group_)]; // back where the focus was left
        return;
    }
    if (group_ < 0)
        group_ = forward ? 0 : kGroupCount - 1;
    else
        group_ = (group_ + (forward ? 1 : kGroupCount - 1)) % kGroupCount;
    item_ = last_[static_cast<size_t>(group_)];
}

bool PanelFocus::Arrow(int dx, int dy) {
    if (item_ < 0) return false;
    const Group& group = kGroups[static_cast<size_t>(GroupOf(item_))];
    const int at = item_ - group.first;
    const int row = at / group.columns, column = at % group.columns;
    const int rows = (group.count + group.columns - 1) / group.columns;
    const int toRow = row + dy, toColumn = column + dx;
    if (toRow < 0 || toRow >= rows || toColumn < 0 || toColumn >= group.columns) return false;
    const int to = toRow * group.columns + toColumn;
    if (to >= group.count || to == at) return false;
    item_ = group.first + to;
    last_[static_cast<size_t>(group_)] = item_;
    return true;
}

} // namespace orrindale
