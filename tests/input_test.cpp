// Mouse and PC keyboard on the calculator window.
#include "panel/pckeys.h"
#include "panel/pictures.h"
#include "window_fixture.h"

using namespace orrindale;
using orrindale::testing::Window;

namespace {
long double X(TmainFM& w) {
    long double v = 0;
    RegToExt(w.Engine().XReg, v);
    return v;
}
} // namespace

TEST(PcKeys, EveryKeyOfTheTableReachesItsPosition) {
    struct Row {
        int qtKey;
        Qt::KeyboardModifiers mods;
        int key;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                                pad = Qt::KeypadModifier;
    const Row rows[] = {
        {Qt::Key_P, none, 1},
        {Qt::Key_Y, none, 2},
        {Qt::Key_A, shift, 3},
        {Qt::Key_A, none, 4},
        {Qt::Key_B, none, 5},
        {Qt::Key_W, none, 6},
        {Qt::Key_J, shift, 7},
        {Qt::Key_K, shift, 8},
        {Qt::Key_J, none, 9},
        {Qt::Key_Backspace, none, 10},
        {Qt::Key_K, none, 11},
        {Qt::Key_I, shift, 12},
        {Qt::Key_S, none, 13},
        {Qt::Key_R, none, 14},
        {Qt::Key_I, none, 15},
        {Qt::Key_H, shift, 16},
        {Qt::Key_C, none, 17},
        {Qt::Key_D, none, 18},
        {Qt::Key_U, shift, 19},
        {Qt::Key_Slash, pad, 20},
        {Qt::Key_Slash, none, 20},
        {Qt::Key_Question, shift, 0},
        {Qt::Key_7, none, 21},
        {Qt::Key_7, pad, 21},
        {Qt::Key_8, none, 22},
        {Qt::Key_9, pad, 23},
        {Qt::Key_F, shift, 24},
        {Qt::Key_Y, shift, 25},
        {Qt::Key_H, none, 26},
        {Qt::Key_R, shift, 27},
        {Qt::Key_E, shift, 28},
        {Qt::Key_S, shift, 29},
        {Qt::Key_E, none, 30},
        {Qt::Key_F, none, 31},
        {Qt::Key_U, none, 32},
        {Qt::Key_X, none, 33},
        {Qt::Key_Asterisk, pad, 33},
        {Qt::Key_4, none, 34},
        {Qt::Key_5, pad, 35},
        {Qt::Key_6, none, 36},
        {Qt::Key_T, none, 37},
        {Qt::Key_W, shift, 38},
        {Qt::Key_O, none, 39},
        {Qt::Key_Minus, pad | shift, 40},
        {Qt::Key_Underscore, shift, 40},
        {Qt::Key_L, shift, 41},
        {Qt::Key_C, shift, 42},
        {Qt::Key_Q, none, 43},
        {Qt::Key_Q, shift, 44},
        {Qt::Key_Return, shift, 45},
        {Qt::Key_Minus, pad, 46},
        {Qt::Key_Minus, none, 46},
        {Qt::Key_1, none, 47},
        {Qt::Key_2, pad, 48},
        {Qt::Key_3, none, 49},
        {Qt::Key_B, shift, 50},
        {Qt::Key_X, shift, 51},
        {Qt::Key_O, shift, 52},
        {Qt::Key_Plus, pad | shift, 53},
        {Qt::Key_Plus, shift, 53},
        {Qt::Key_L, none, 54},
        {Qt::Key_T, shift, 55},
        {Qt::Key_M, none, 56},
        {Qt::Key_M, shift, 57},
        {Qt::Key_Return, none, 58},
        {Qt::Key_Enter, pad, 58},
        {Qt::Key_Plus, pad, 59},
        {Qt::Key_Equal, none, 59},
        {Qt::Key_0, none, 60},
        {Qt::Key_Period, pad, 61},
        {Qt::Key_Period, none, 0},
        {Qt::Key_P, shift, 62},
        {Qt::Key_N, none, 63},
        {Qt::Key_G, none, 64},
        {Qt::Key_Z, none, 65},
        {Qt::Key_Shift, shift, 0},
        {Qt::Key_G, shift, 0},
    };
    for (const Row& r : rows) {
        PcKeyAction a = MapPcKey(r.qtKey, r.mods);
        EXPECT_EQ(a.kind == PcKeyAction::Press ? a.key : 0, r.key)
            << "Qt key " << std::hex << r.qtKey << " mods " << r.mods.toInt();
    }
    EXPECT_EQ(MapPcKey(Qt::Key_Control, Qt::ControlModifier).kind, PcKeyAction::PressHovered);
    EXPECT_EQ(MapPcKey(Qt::Key_5, Qt::AltModifier).kind, PcKeyAction::PressHovered);
}

TEST(Keyboard, HoldingAKeyEntersOneDigit) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    win.KeyDown(Qt::Key_5);
    for (int i = 0; i < 5; ++i) {
        win.KeyUp(Qt::Key_5, Qt::NoModifier, true); // auto-repeat pairs
        win.KeyDown(Qt::Key_5, Qt::NoModifier, true);
    }
    win.KeyUp(Qt::Key_5);
    EXPECT_EQ(X(w), 5.0L);
    EXPECT_EQ(win.sounds.played.count("swu"), 1);
}

TEST(Keyboard, ACalculationTypedOnThePcKeyboard) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    for (int k : {Qt::Key_1, Qt::Key_2})
        win.Type(k);
    win.Type(Qt::Key_Return); // SHIFT UP
    win.Type(Qt::Key_3);
    win.Type(Qt::Key_Equal); // + (the "= +" key)
    long double y = 0;
    RegToExt(w.Engine().YReg, y);
    EXPECT_EQ(y, 15.0L);
    EXPECT_FALSE(w.Scene().IsShown(pictures::PressedKey(59)));
}

TEST(Keyboard, AKeyWhileTheMouseHoldsAnotherDoesNothing) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    win.Mouse(QEvent::MouseMove, Window::KeyCentre(47));
    win.Mouse(QEvent::MouseButtonPress, Window::KeyCentre(47));
    EXPECT_EQ(X(w), 1.0L);
    EXPECT_TRUE(w.Scene().IsShown(pictures::PressedKey(47)));
    win.Type(Qt::Key_5);
    // The PC key's release let go of the mouse's key; the 5 itself was never executed.
    EXPECT_EQ(X(w), 1.0L);
    EXPECT_FALSE(w.Scene().IsShown(pictures::PressedKey(47)));
}

TEST(Keyboard, CtrlAlonePressesTheKeyUnderThePointer) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    w.Engine().ExecuteKey(49);                           // 3
    w.Engine().ExecuteKey(58);                           // SHIFT UP
    win.Mouse(QEvent::MouseMove, Window::KeyCentre(59)); // over Add
    win.KeyDown(Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(w.Scene().IsShown(pictures::PressedKey(59)));
    long double y = 0;
    RegToExt(w.Engine().YReg, y);
    EXPECT_EQ(y, 6.0L);
    win.KeyUp(Qt::Key_Control);
    EXPECT_FALSE(w.Scene().IsShown(pictures::PressedKey(59)));
}

TEST(Mouse, HoverFollowsTheRowsFirstMatchRule) {
    Window win;
    TmainFM& w = win.Start();
    win.Mouse(QEvent::MouseMove, QPoint(95, 465));
    EXPECT_EQ(w.HoverKey, 53);
    win.Mouse(QEvent::MouseMove, QPoint(5, 5));
    EXPECT_EQ(w.HoverKey, 0);
    for (int key = 1; key <= 65; ++key) {
        win.Mouse(QEvent::MouseMove, Window::KeyCentre(key));
        EXPECT_EQ(w.HoverKey, key);
    }
}

TEST(Switches, OnWhileOnRunsThePowerSequenceWithoutTheSound) {
    Window win;
    TmainFM& w = win.Start();
    win.Click(Window::LabelCentre(layout::SwitchSetting::On));
    win.Fire("ChgModeTimer");
    ASSERT_TRUE(w.Engine().PowerOn);
    EXPECT_EQ(win.sounds.played.count("swc"), 1);
    w.Engine().ErrorAtPowerOn = true; // the power-on sequence restores it: proof that it ran
    win.Click(Window::LabelCentre(layout::SwitchSetting::On));
    win.Fire("ChgModeTimer");
    EXPECT_EQ(win.sounds.played.count("swc"), 1);
    EXPECT_TRUE(w.Engine().ErrorLit);
}

TEST(Switches, WheelStopsAtItsEndsSilently) {
    Window win;
    TmainFM& w = win.Start();
    for (int i = 0; i < 12; ++i)
        w.StepWheel(+1);
    EXPECT_EQ(w.Engine().DecimalWheel, 9);
    EXPECT_EQ(win.sounds.played.count("whl"), 7);
    EXPECT_TRUE(w.Scene().IsShown(pictures::WheelDigit(9)));
    EXPECT_FALSE(w.Scene().IsShown(pictures::WheelDigit(8)));
}

TEST(Switches, ModeSwitchKeepsZAside) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    win.Click(Window::LabelCentre(layout::SwitchSetting::Prgm));
    EXPECT_TRUE(w.Engine().ProgramMode);
    win.Type(Qt::Key_7); // stored, not entered
    EXPECT_EQ(w.Engine().RegisterFile[0][0], 07);
    win.Click(Window::LabelCentre(layout::SwitchSetting::Run));
    EXPECT_FALSE(w.Engine().ProgramMode);
}

TEST(Sounds, NothingPlaysWithSoundsUnchecked) {
    Window win;
    TmainFM& w = win.Start();
    for (QAction* a : w.findChildren<QAction*>())
        if (a->text() == "Sounds") a->trigger();
    win.PowerOn();
    win.Type(Qt::Key_5);
    w.StepWheel(+1);
    EXPECT_TRUE(win.sounds.played.isEmpty());
}

TEST(Escape, ClosesTheCalculator) {
    Window win;
    TmainFM& w = win.Start();
    win.KeyDown(Qt::Key_Escape);
    win.KeyUp(Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST(Mouse, ASwitchMovesOnlyWhenPressAndReleaseAreOnItsLabel) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    const QPoint rad = Window::LabelCentre(layout::SwitchSetting::Rad);
    // Pressed on a key, let go over the RAD label: the key comes up, the switch stays.
    win.Mouse(QEvent::MouseMove, Window::KeyCentre(47));
    win.Mouse(QEvent::MouseButtonPress, Window::KeyCentre(47));
    win.Mouse(QEvent::MouseButtonRelease, rad);
    EXPECT_FALSE(w.Engine().RadMode);
    EXPECT_FALSE(w.Scene().IsShown(pictures::PressedKey(47)));
    win.Type(Qt::Key_2); // not stuck: the next key acts (the entry goes on: 12)
    EXPECT_EQ(X(w), 12.0L);
    win.Click(rad);
    EXPECT_TRUE(w.Engine().RadMode);
}

TEST(Keyboard, AKeyTypedDuringComputingTimeActsAfterIt) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    win.Type(Qt::Key_1);
    win.Type(Qt::Key_S, Qt::ShiftModifier); // SIN: 280 ms of computing time
    win.Type(Qt::Key_Return);               // SHIFT UP, typed at once
    long double y = 0;
    RegToExt(w.Engine().YReg, y);
    EXPECT_EQ(y, 0.0L); // not yet
    ASSERT_TRUE(win.Fire("busyTimer"));
    RegToExt(w.Engine().YReg, y);
    EXPECT_GT(y, 0.017L); // sin 1 degree went up into Y
    EXPECT_LT(y, 0.018L);
}

TEST(Mouse, CardButtonsSpringBackWithoutACard) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    win.Mouse(QEvent::MouseMove, Window::KeyCentre(47)); // a key hovered just before
    const QPoint record((layout::kCardRecordArea.X1 + layout::kCardRecordArea.X2) / 2,
                        (layout::kCardRecordArea.Y1 + layout::kCardRecordArea.Y2) / 2);
    win.Mouse(QEvent::MouseButtonPress, record);
    EXPECT_TRUE(w.Scene().IsShown(pictures::kCardRecordDown));
    win.Mouse(QEvent::MouseButtonRelease, record);
    EXPECT_FALSE(w.Scene().IsShown(pictures::kCardRecordDown));
    EXPECT_EQ(win.sounds.played.mid(win.sounds.played.size() - 2), (QStringList{"s1d", "s1u"}));
    EXPECT_EQ(w.Engine().XReg[9], kBlankBit); // the hovered key was not pressed
}
