// Where everything stands on the HP 9101A panel picture. The picture generator draws from this
// table and the window places its click areas, levers and lamps by it, so the two cannot drift.
#pragma once

namespace orrindale::memlayout {

struct Rect {
    int Left, Top, Width, Height;
    constexpr bool Contains(int x, int y) const {
        return x >= Left && x < Left + Width && y >= Top && y < Top + Height;
    }
};

inline constexpr int kPanelWidth = 400, kPanelHeight = 150;

inline constexpr Rect kMoveStrip{33, 9, 140, 14}; // dragging the window
inline constexpr Rect kLineOnArea{91, 79, 15, 7};
inline constexpr Rect kLineOffArea{88, 116, 18, 8};
inline constexpr Rect kFilOnArea{215, 79, 15, 7};
inline constexpr Rect kFilOffArea{213, 116, 18, 8};
inline constexpr Rect kLineLever{84, 88, 28, 25}; // shown up when ON; the picture shows it down
inline constexpr Rect kFilLever{209, 88, 28, 25};
inline constexpr Rect kOnLamp{91, 48, 16, 16};
inline constexpr Rect kFilLamp{214, 48, 16, 16};
inline constexpr Rect kFmtLamp{327, 48, 16, 16};

// The instruction card picture.
inline constexpr int kCardWidth = 560, kCardHeight = 420;

} // namespace orrindale::memlayout
