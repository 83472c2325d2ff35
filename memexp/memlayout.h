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
inline constexpr Rect kLineLever{84, 88, 28, 25}; // shown up when ON; the picture shows it down
inline constexpr Rect kFilLever{209, 88, 28, 25};
// A switch's captions stand right of its lever, ON level with its top, OFF below its bottom.
inline constexpr int kOnCaptionTop = -11, kOffCaptionTop = 27, kCaptionLeft = 30;
// Clicked to set a switch: the lever's upper half with its ON caption, or the lower half with
// its OFF caption.
inline constexpr Rect kLineOnArea{84, 77, 60, 23};
inline constexpr Rect kLineOffArea{84, 100, 60, 27};
inline constexpr Rect kFilOnArea{209, 77, 60, 23};
inline constexpr Rect kFilOffArea{209, 100, 60, 27};
inline constexpr Rect kOnLamp{91, 48, 16, 16};
inline constexpr Rect kFilLamp{214, 48, 16, 16};
inline constexpr Rect kFmtLamp{327, 48, 16, 16};

// The instruction card picture.
inline constexpr int kCardWidth = 560, kCardHeight = 420;

} // namespace orrindale::memlayout
