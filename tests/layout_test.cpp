// The panel's coordinate table: key hit-testing and the agreement of the places with each other.
#include <gtest/gtest.h>

#include "engine/keys.h"
#include "panel/layout.h"

namespace orrindale::layout {
namespace {

Point Centre(const Box& box) {
    return {(box.X1 + box.X2) / 2, (box.Y1 + box.Y2) / 2};
}

bool Covers(const Rect& picture, const Box& area) {
    return picture.Left <= area.X1 && picture.Top <= area.Y1 && picture.Right() > area.X2 &&
           picture.Bottom() > area.Y2;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.Left < b.Right() && b.Left < a.Right() && a.Top < b.Bottom() && b.Top < a.Bottom();
}

TEST(KeyHitTest, EveryKeyIsHitAtTheCentreAndAtTheCornersOfItsArea) {
    for (int key = 1; key <= kKeyCount; ++key) {
        const Box area = KeyArea(key);
        const Point c = Centre(area);
        EXPECT_EQ(KeyAt(c.X, c.Y), key) << "key " << key;
        EXPECT_EQ(KeyAt(area.X1, area.Y1), key) << "key " << key;
        EXPECT_EQ(KeyAt(area.X2, area.Y2), key) << "key " << key;
    }
}

TEST(KeyHitTest, OtherRowsIntervalsWidenTheTargets) {
    // Row 5, left of its first key but inside row 1's first interval.
    EXPECT_EQ(KeyAt(95, 465), 53);
    // Row 1, between keys 1 and 2, inside row 4's second interval.
    EXPECT_EQ(KeyAt(115, 378), 2);
}

TEST(KeyHitTest, APointOnARowsOwnCapIsThatKey) {
    // Row 1's first interval (90-112) also holds these points, but they lie on LOGx and TanX.
    EXPECT_EQ(KeyAt(109, 466), 54);
    EXPECT_EQ(KeyAt(143, 466), 55);
}

TEST(KeyHitTest, RowAndKeyBordersAreExcluded) {
    const int x = 100; // on key 1 of row 1
    EXPECT_EQ(KeyAt(x, 369), 0);
    EXPECT_EQ(KeyAt(x, 370), 1);
    EXPECT_EQ(KeyAt(x, 385), 1);
    EXPECT_EQ(KeyAt(x, 386), 0);
    // Key 3's right edge, with no interval of any row beyond it until column 4.
    EXPECT_EQ(KeyAt(177, 378), 3);
    EXPECT_EQ(KeyAt(178, 378), 0);
}

TEST(KeyHitTest, PointsOffTheKeysHitNothing) {
    EXPECT_EQ(KeyAt(195, 378), 0); // between the function and storage groups
    EXPECT_EQ(KeyAt(500, 420), 0); // between the digits and the program keys
    EXPECT_EQ(KeyAt(100, 389), 0); // between rows 1 and 2
    EXPECT_EQ(KeyAt(300, 300), 0); // the display
    EXPECT_EQ(KeyAt(660, 440), 0); // right of the keyboard
    EXPECT_EQ(KeyAt(-5, -5), 0);
}

TEST(KeyTable, NamesAgreeWithTheEngine) {
    for (int key = 1; key <= kKeyCount; ++key)
        EXPECT_STREQ(kKeys[static_cast<size_t>(key)].Name, KeyNames[static_cast<size_t>(key)])
            << "key " << key;
}

TEST(KeyTable, PressedPicturesCoverTheirKeysWithoutCoveringOtherKeys) {
    for (int key = 1; key <= kKeyCount; ++key) {
        const Rect picture = PressedKeyRect(key);
        EXPECT_TRUE(Covers(picture, KeyArea(key))) << "key " << key;
        for (int other = 1; other <= kKeyCount; ++other) {
            if (other == key) continue;
            const Point c = Centre(KeyArea(other));
            const bool holds = c.X >= picture.Left && c.X < picture.Right() && c.Y >= picture.Top &&
                               c.Y < picture.Bottom();
            EXPECT_FALSE(holds) << "key " << key << " covers the centre of key " << other;
        }
    }
}

TEST(Switches, PairsShareOneSlotAndLabelsStayClearOfLeversAndKeys) {
    for (const SwitchPlace& place : kSwitches) {
        const SwitchPlace& partner = Switch(Partner(place.Setting));
        EXPECT_EQ(Partner(partner.Setting), place.Setting);
        EXPECT_NE(partner.Setting, place.Setting);
        // Either lever picture must hide the other's knob: they overlap almost entirely.
        EXPECT_LE(std::abs(place.Lever.Left - partner.Lever.Left), 4) << place.Label;
        EXPECT_LE(std::abs(place.Lever.Top - partner.Lever.Top), 4) << place.Label;
        for (const SwitchPlace& other : kSwitches)
            EXPECT_FALSE(Overlap(place.LabelArea, other.Lever)) << place.Label << other.Label;
        for (int key = 1; key <= kKeyCount; ++key) {
            const Box a = KeyArea(key);
            EXPECT_FALSE(Overlap(place.LabelArea, {a.X1, a.Y1, a.X2 - a.X1 + 1, a.Y2 - a.Y1 + 1}))
                << place.Label << " over key " << key;
        }
    }
}

TEST(Printer, ButtonsAreFoundAndTheirPicturesNeverOverlap) {
    for (int i = 0; i < kPrintButtonCount; ++i) {
        const PrintButtonPlace& button = kPrintButtons[static_cast<size_t>(i)];
        const Point c = Centre(button.Area);
        EXPECT_EQ(PrintButtonAt(c.X, c.Y), i);
        EXPECT_TRUE(Covers(button.Pressed, button.Area)) << button.Legend;
        // ON, X, Y and Z latch, so several pictures can be shown at once.
        for (int j = i + 1; j < kPrintButtonCount; ++j)
            EXPECT_FALSE(Overlap(button.Pressed, kPrintButtons[static_cast<size_t>(j)].Pressed))
                << button.Legend;
    }
    EXPECT_EQ(PrintButtonAt(449, 155), -1); // between ON and X
    EXPECT_EQ(PrintButtonAt(430, 148), -1); // above the row
    EXPECT_TRUE(Covers(kFeedPressed, kFeedArea));
}

TEST(CardSlot, PressedPicturesCoverTheCardKeys) {
    EXPECT_TRUE(Covers(kCardRecordPressed, kCardRecordArea));
    EXPECT_TRUE(Covers(kCardEnterPressed, kCardEnterArea));
}

TEST(Panel, EveryPlaceLiesInsideThePanelPicture) {
    auto inside = [](const Rect& r) {
        return r.Left >= 0 && r.Top >= 0 && r.Right() <= kPanelWidth && r.Bottom() <= kPanelHeight;
    };
    for (int key = 1; key <= kKeyCount; ++key)
        EXPECT_TRUE(inside(PressedKeyRect(key))) << key;
    for (const SwitchPlace& place : kSwitches)
        EXPECT_TRUE(inside(place.Lever) && inside(place.LabelArea)) << place.Label;
    for (const Rect& r :
         {kWheelUp.Area, kWheelDown.Area, kWheelDigit, kDisplay, kDisplayLamp, kErrorLamp,
          kKeyNameLabel, kPcKeyLabel, kCardRecordPressed, kCardEnterPressed, kCardView,
          kCardSideLabel, kFeedPressed, kPaper, kPlaten})
        EXPECT_TRUE(inside(r)) << r.Left << "," << r.Top;
}

} // namespace
} // namespace orrindale::layout
