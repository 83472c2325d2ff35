// Mouse and PC keyboard on the calculator window.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

#include "panel/accessibility.h"
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

// A PC key as an event carries it: the Qt key, the modifiers and the X key code (0 for keys
// recognised by their character).
struct PcKey {
    int qtKey;
    Qt::KeyboardModifiers mods;
    quint32 scanCode;
};

// What a label under the display names ("Shift  T", "X or *", "Back Space", "+"), read as a
// user reads it: the keys that must press that calculator key.
std::vector<PcKey> KeysNamedBy(const QString& label, const QString& name) {
    std::vector<PcKey> keys;
    if (label.isEmpty()) {
        // Digits, the point and the letters a-f carry their own name.
        const QChar c = name.at(0);
        if (c.isDigit()) {
            keys.push_back({Qt::Key_0 + c.digitValue(), Qt::NoModifier, 0});
            keys.push_back({Qt::Key_0 + c.digitValue(), Qt::KeypadModifier, 0});
        } else if (c == '.') {
            keys.push_back({Qt::Key_Period, Qt::KeypadModifier, scancode::kKeypadDecimal});
            keys.push_back({Qt::Key_Comma, Qt::KeypadModifier, scancode::kKeypadDecimal});
        } else {
            keys.push_back({Qt::Key_A + (c.unicode() - 'a'), Qt::NoModifier, 0});
        }
        return keys;
    }
    for (QString part : label.split(" or ")) {
        Qt::KeyboardModifiers mods = Qt::NoModifier;
        if (part.startsWith("Shift  ")) {
            mods = Qt::ShiftModifier;
            part = part.mid(7);
        }
        if (part == "Enter") {
            keys.push_back({Qt::Key_Return, mods, 0});
            keys.push_back({Qt::Key_Enter, mods | Qt::KeypadModifier, 0});
        } else if (part == "Back Space") {
            keys.push_back({Qt::Key_Backspace, mods, 0});
        } else if (part == "*") {
            keys.push_back({Qt::Key_Asterisk, mods | Qt::KeypadModifier, 0});
        } else if (part == "+" || part == "-" || part == "/") {
            // The main keyboard's key and the keypad's.
            const quint32 code = part == "+"   ? scancode::kEquals
                                 : part == "-" ? scancode::kMinus
                                               : scancode::kSlash;
            const int qt = part == "+" ? (mods ? Qt::Key_Plus : Qt::Key_Equal)
                                       : (part == "-" ? Qt::Key_Minus : Qt::Key_Slash);
            keys.push_back({qt, mods, code});
            keys.push_back({part == "+"   ? Qt::Key_Plus
                            : part == "-" ? Qt::Key_Minus
                                          : Qt::Key_Slash,
                            mods | Qt::KeypadModifier, 0});
        } else {
            keys.push_back({Qt::Key_A + (part.at(0).unicode() - 'A'), mods, 0});
        }
    }
    return keys;
}

TEST(PcKeys, EveryKeyNamedUnderTheDisplayPressesItsKey) {
    for (int k = 1; k <= layout::kKeyCount; ++k) {
        const layout::KeyPlace& place = layout::kKeys[static_cast<size_t>(k)];
        for (const PcKey& pc : KeysNamedBy(place.PcLabel, place.Name)) {
            const PcKeyAction a = MapPcKey(pc.qtKey, pc.mods, pc.scanCode);
            EXPECT_EQ(a.kind == PcKeyAction::Press ? a.key : 0, k)
                << place.Name << " by '" << place.PcLabel << "' (Qt key " << std::hex << pc.qtKey
                << ")";
        }
    }
}

TEST(PcKeys, KeysAreToldByTheirPlaceNotTheLayoutsCharacter) {
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier,
                                pad = Qt::KeypadModifier;
    const struct {
        const char* what;
        PcKey pc;
        int key;
    } rows[] = {
        {"Shift+0 giving '=' on a German layout", {Qt::Key_Equal, shift, 19}, 0},
        {"the '= +' key giving a dead accent", {Qt::Key_Dead_Acute, none, scancode::kEquals}, 59},
        {"the '- _' key giving 'sz'", {Qt::Key_ssharp, none, scancode::kMinus}, 46},
        {"the '/ ?' key giving '-'", {Qt::Key_Minus, none, scancode::kSlash}, 20},
        {"keypad Delete, NumLock off", {Qt::Key_Delete, pad, scancode::kKeypadDecimal}, 0},
        {"keypad Delete made up by software", {Qt::Key_Delete, pad, 0}, 0},
        {"the main keyboard's point", {Qt::Key_Period, none, 60}, 0},
        {"Shift+'/ ?'", {Qt::Key_Question, shift, scancode::kSlash}, 0},
        {"Shift with the Enter key", {Qt::Key_Return, shift, 36}, 45},
        {"Shift alone", {Qt::Key_Shift, shift, 50}, 0},
        {"Shift+G", {Qt::Key_G, shift, 42}, 0},
    };
    for (const auto& r : rows) {
        const PcKeyAction a = MapPcKey(r.pc.qtKey, r.pc.mods, r.pc.scanCode);
        EXPECT_EQ(a.kind == PcKeyAction::Press ? a.key : 0, r.key) << r.what;
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

TEST(Keyboard, FastTypingRollsOverWithoutLosingDigits) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    // Each key goes down before the last comes up.
    win.KeyDown(Qt::Key_1);
    win.KeyDown(Qt::Key_2);
    win.KeyUp(Qt::Key_1);
    win.KeyUp(Qt::Key_2);
    win.KeyDown(Qt::Key_3);
    win.KeyDown(Qt::Key_4);
    win.KeyUp(Qt::Key_3);
    win.KeyUp(Qt::Key_4);
    EXPECT_EQ(X(w), 1234.0L);
    EXPECT_EQ(win.sounds.played.count("swu"), 4);
    for (int key : {47, 48, 49, 34})
        EXPECT_FALSE(w.Scene().IsShown(pictures::PressedKey(key))) << key;
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

// With the pointer on no key, Ctrl+C copies X as shown and Ctrl+V keys a number into X as if
// typed; what is no number the calculator takes is refused and changes nothing.
TEST(Keyboard, CtrlCAndCtrlVCopyAndPasteNumbers) {
    const struct {
        const char* clipboard;
        const char* x;      // X read from the display after the paste ("" refused)
        const char* copied; // what Ctrl+C then copies
    } cases[] = {
        {"2.5", "2.5", "2.5"},
        {" -1.25e-3\n", "-0.00125", "-1.25E-3"}, // copied in the notation shown
        {"+42", "42", "4.2E1"},
        {"3.14159265358979", "3.141592654", "3.141592654"},
        {"1E20", "1E20", "1E20"},
        {"-.5", "-0.5", "-5E-1"},
        {"0.0001234567891234", "0.0001234567891", "1.234567891E-4"},
        {"12abc", "", "3"},
        {"1e100", "", "3"},
        {"", "", "3"},
    };
    for (const auto& c : cases) {
        Window win;
        TmainFM& w = win.Start();
        w.SetDisplaySwitch(true); // FLOAT: every digit shows
        win.PowerOn();
        for (int key : {Qt::Key_1, Qt::Key_2, Qt::Key_Return, Qt::Key_3, Qt::Key_Equal})
            win.Type(key);
        win.Mouse(QEvent::MouseMove, QPoint(5, 5)); // on no key
        win.Type(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "3"); // + leaves X
        win.Type(Qt::Key_Return); // the next number starts anew
        QGuiApplication::clipboard()->setText(c.clipboard);
        win.Type(Qt::Key_V, Qt::ControlModifier);
        win.FireUntilStopped("busyTimer");
        const std::string x = access::ReadDisplayLine(w.Display().ShownLines()[2]).toStdString();
        if (*c.x) {
            EXPECT_EQ(x, c.x) << c.clipboard;
        } else {
            EXPECT_EQ(x, "3") << c.clipboard;
            EXPECT_TRUE(win.messages.LastText().contains("no number")) << c.clipboard;
        }
        win.Type(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), c.copied) << c.clipboard;
    }
}

// Over a key Ctrl+C presses that key, as every Ctrl combination does.
TEST(Keyboard, CtrlCOverAKeyPressesIt) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    QGuiApplication::clipboard()->setText("unchanged");
    win.Mouse(QEvent::MouseMove, Window::KeyCentre(keypos::Digit7));
    win.Type(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(X(w), 7.0L);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "unchanged");
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

TEST(Mouse, LeavingTheWindowClearsTheKeyLabels) {
    Window win;
    TmainFM& w = win.Start();
    win.Mouse(QEvent::MouseMove, Window::KeyCentre(59));
    auto labelTexts = [&] {
        QStringList texts;
        for (QLabel* l : w.findChildren<QLabel*>())
            texts << l->text();
        return texts.join("|");
    };
    EXPECT_EQ(labelTexts(), "Add|+");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&w, &leave);
    EXPECT_EQ(labelTexts(), "|");
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

TEST(Keyboard, EveryKeyTypedDuringComputingTimeActsInOrderUnlessSomethingIntervenes) {
    // 2, SIN, then 1 2 at once: X reads 12. Switching off or clearing the memory meanwhile
    // drops the keys typed ahead; a second function queued waits out its own time.
    enum Meanwhile { Nothing, PowerOff, MemoryReset, SecondFunction };
    const struct {
        Meanwhile meanwhile;
        bool typedAheadActs;
    } cases[] = {{Nothing, true}, {PowerOff, false}, {MemoryReset, false}, {SecondFunction, true}};
    for (const auto& c : cases) {
        Window win;
        TmainFM& w = win.Start();
        win.PowerOn();
        win.Type(Qt::Key_2);
        win.Type(Qt::Key_S, Qt::ShiftModifier);
        if (c.meanwhile == SecondFunction) win.Type(Qt::Key_C, Qt::ShiftModifier); // COS
        win.Type(Qt::Key_1);
        win.Type(Qt::Key_2);
        if (c.meanwhile == PowerOff) w.SetPowerSwitch(false);
        if (c.meanwhile == MemoryReset) {
            win.messages.Script(MessageAnswer::Yes);
            w.ResetNow();
        }
        win.Fire("busyTimer");
        if (c.meanwhile == SecondFunction) {
            EXPECT_LT(X(w), 1.0L); // the COS has its own computing time
            ASSERT_TRUE(win.Fire("busyTimer"));
        }
        if (c.typedAheadActs)
            EXPECT_EQ(X(w), 12.0L) << c.meanwhile;
        else
            EXPECT_LT(X(w), 1.0L) << c.meanwhile; // sin 2 degrees, or cleared
        EXPECT_FALSE(win.Fire("busyTimer"));
    }
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
