// The calculator window as a screen reader sees it, through QAccessible on the offscreen
// platform.
#include <QAccessible>
#include <QSet>
#include <set>

#include "panel/accessibility.h"
#include "panel/pictures.h"
#include "tests/window_fixture.h"

namespace orrindale::testing {
namespace {

QAccessibleInterface* Panel(TmainFM& w) {
    return QAccessible::queryAccessibleInterface(&w);
}
QString Name(QAccessibleInterface* item) {
    return item->text(QAccessible::Name);
}

TEST(Accessibility, EveryKeyIsAButtonNamedAfterItsLabelAndFoundAtItsPlace) {
    Window win;
    TmainFM& w = win.Start();
    QAccessibleInterface* panel = Panel(w);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->childCount(), 1 + layout::kKeyCount + 4 + 1 + 6 + 2 + 1);
    QSet<QString> names;
    for (int key = 1; key <= layout::kKeyCount; ++key) {
        QAccessibleInterface* item = panel->child(access::kFirstKeyItem + key - 1);
        ASSERT_NE(item, nullptr) << key;
        const layout::KeyPlace& place = layout::kKeys[static_cast<size_t>(key)];
        EXPECT_TRUE(Name(item).startsWith(QStringLiteral("Key ") + place.Name)) << key;
        EXPECT_EQ(Name(item).contains(", "), *place.PcLabel != '\0') << key;
        EXPECT_EQ(item->role(), QAccessible::Button) << key;
        EXPECT_EQ(item->parent(), panel);
        EXPECT_EQ(panel->indexOfChild(item), access::kFirstKeyItem + key - 1);
        // The screen place is where the mouse presses that key.
        EXPECT_EQ(panel->childAt(item->rect().center().x(), item->rect().center().y()), item);
        EXPECT_EQ(layout::KeyAt(w.mapFromGlobal(item->rect().center()).x(),
                                w.mapFromGlobal(item->rect().center()).y()),
                  key);
        names.insert(Name(item));
    }
    EXPECT_EQ(names.size(), layout::kKeyCount); // no two keys sound alike
}

TEST(Accessibility, NamesOfTheOtherParts) {
    Window win;
    TmainFM& w = win.Start();
    QAccessibleInterface* panel = Panel(w);
    const struct {
        int item;
        const char* name;
        QAccessible::Role role;
    } cases[] = {
        {access::kFirstKeyItem + 28, "Key SinX, Shift+S", QAccessible::Button},
        {access::kFirstKeyItem + 20, "Key 7", QAccessible::Button},
        {access::kFirstKeyItem + 9, "Key Clear X, Back Space", QAccessible::Button},
        {access::kFirstSwitchItem, "Switch DEG/RAD", QAccessible::CheckBox},
        {access::kFirstSwitchItem + 2, "Switch OFF/ON", QAccessible::CheckBox},
        {access::kFirstSwitchItem + 3, "Switch RUN/PRGM", QAccessible::CheckBox},
        {access::kWheelItem, "Decimal wheel", QAccessible::SpinBox},
        {access::kFirstPrintItem, "Printer ON", QAccessible::CheckBox},
        {access::kFirstPrintItem + 3, "Printer Z", QAccessible::CheckBox},
        {access::kFirstPrintItem + 4, "Printer L", QAccessible::Button},
        {access::kFirstPrintItem + 5, "Paper Feed", QAccessible::Button},
        {access::kFirstCardItem, "Card Program", QAccessible::Button},
        {access::kFirstCardItem + 1, "Card Enter", QAccessible::Button},
        {access::kDisplayItem, "Display", QAccessible::StaticText},
    };
    for (const auto& c : cases) {
        QAccessibleInterface* item = panel->child(c.item);
        EXPECT_EQ(Name(item), c.name) << c.item;
        EXPECT_EQ(item->role(), c.role) << c.name;
    }
}

TEST(Accessibility, SwitchesWheelAndPrinterButtonsReportTheirSetting) {
    Window win;
    TmainFM& w = win.Start();
    QAccessibleInterface* panel = Panel(w);
    QAccessibleInterface* power = panel->child(access::kFirstSwitchItem + 2);
    QAccessibleInterface* wheel = panel->child(access::kWheelItem);
    EXPECT_EQ(power->text(QAccessible::Value), "OFF");
    EXPECT_FALSE(power->state().checked);
    win.PowerOn();
    EXPECT_EQ(power->text(QAccessible::Value), "ON");
    EXPECT_TRUE(power->state().checked);
    EXPECT_EQ(wheel->text(QAccessible::Value), "2");
    w.StepWheel(+1);
    EXPECT_EQ(wheel->text(QAccessible::Value), "3");
    QAccessibleInterface* printerOn = panel->child(access::kFirstPrintItem);
    EXPECT_EQ(printerOn->state().checked, w.Printer().OnButton());
    win.Click(printerOn->rect().center() - w.mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(printerOn->state().checked, w.Printer().OnButton());
    EXPECT_TRUE(printerOn->state().checkable);
}

QAccessibleActionInterface* Actions(TmainFM& w, int item) {
    return Panel(w)->child(item)->actionInterface();
}
QString DisplayText(TmainFM& w) {
    QAccessibleTextInterface* text = Panel(w)->child(access::kDisplayItem)->textInterface();
    return text->text(0, text->characterCount());
}

// A screen reader user works the calculator through actions alone: the power switch, keys.
TEST(Accessibility, ActionsAloneSwitchOnAndCalculate) {
    Window win;
    TmainFM& w = win.Start();
    const QString press = QAccessibleActionInterface::pressAction();
    Actions(w, access::kFirstSwitchItem + 2)->doAction(QAccessibleActionInterface::toggleAction());
    win.Fire("ChgModeTimer");
    ASSERT_TRUE(w.Engine().PowerOn);
    for (int key : {keypos::Digit1, keypos::Digit2, keypos::ShiftUp, keypos::Digit3, keypos::Add})
        Actions(w, access::kFirstKeyItem + key - 1)->doAction(press);
    win.FireUntilStopped("busyTimer");
    EXPECT_EQ(DisplayText(w).toStdString(), "X 3, Y 15, Z 0");
    // The other switches go to their second setting and back, as clicks on their words do.
    for (int sw : {0, 1, 3}) {
        QAccessibleInterface* item = Panel(w)->child(access::kFirstSwitchItem + sw);
        const QString before = item->text(QAccessible::Value);
        item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        win.Fire("ChgModeTimer");
        EXPECT_NE(item->text(QAccessible::Value), before) << sw;
        EXPECT_TRUE(item->state().checked) << sw;
        item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        win.Fire("ChgModeTimer");
        EXPECT_EQ(item->text(QAccessible::Value), before) << sw;
    }
}

// Each kind of control offers its own actions, each with a description naming its PC key.
TEST(Accessibility, ControlsOfferTheirActionsAndDescribeThemselves) {
    Window win;
    TmainFM& w = win.Start();
    using A = QAccessibleActionInterface;
    const struct {
        int item;
        QStringList actions;
        const char* description;
        const char* firstKeyBinding;
    } cases[] = {
        {access::kFirstKeyItem + 28,
         {A::pressAction()},
         "SinX, key code 70; PC key Shift+S",
         "Shift+S"},
        {access::kFirstKeyItem + 20, {A::pressAction()}, "7, key code 07; PC key 7", nullptr},
        {access::kFirstKeyItem + 3, {A::pressAction()}, "a, key code 13; PC key A", nullptr},
        {access::kFirstKeyItem + 64, {A::pressAction()}, "Step Prgm, no key code; PC key Z", "Z"},
        {access::kFirstSwitchItem + 2,
         {A::toggleAction()},
         "OFF: Power off; ON: Power on; PC key F7",
         "F7"},
        {access::kWheelItem,
         {A::increaseAction(), A::decreaseAction()},
         "Digits shown after the point; PC keys Page Up and Page Down",
         "Page Up"},
        {access::kFirstPrintItem + 1,
         {A::toggleAction(), A::pressAction()},
         "Chooses X to print; stays down until pressed again",
         nullptr},
        {access::kFirstPrintItem + 5, {A::pressAction()}, "Feeds the paper", nullptr},
        {access::kFirstCardItem,
         {A::pressAction()},
         "Records program memory on the card's facing side",
         nullptr},
    };
    for (const auto& c : cases) {
        QAccessibleInterface* item = Panel(w)->child(c.item);
        ASSERT_NE(item->actionInterface(), nullptr) << c.item;
        EXPECT_EQ(item->actionInterface()->actionNames(), c.actions) << c.item;
        EXPECT_EQ(item->text(QAccessible::Description).toStdString(), c.description);
        const QStringList bindings = item->actionInterface()->keyBindingsForAction(c.actions[0]);
        EXPECT_EQ(bindings.value(0), c.firstKeyBinding ? c.firstKeyBinding : "") << c.item;
    }
    EXPECT_EQ(Panel(w)->child(access::kDisplayItem)->actionInterface(), nullptr);
    for (int item = access::kFirstKeyItem; item < access::kControlEnd; ++item)
        EXPECT_FALSE(Panel(w)->child(item)->text(QAccessible::Description).isEmpty()) << item;
}

TEST(Accessibility, WheelAndPrinterButtonsWorkThroughActions) {
    Window win;
    TmainFM& w = win.Start();
    QAccessibleInterface* wheel = Panel(w)->child(access::kWheelItem);
    wheel->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(w.DecimalWheel(), 3);
    wheel->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(w.DecimalWheel(), 2);
    wheel->valueInterface()->setCurrentValue(7);
    EXPECT_EQ(wheel->valueInterface()->currentValue().toInt(), 7);
    EXPECT_EQ(wheel->text(QAccessible::Value), "7");
    QAccessibleInterface* y = Panel(w)->child(access::kFirstPrintItem + 2);
    const bool before = w.PrinterLatched(1);
    y->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(w.PrinterLatched(1), !before);
    EXPECT_EQ(y->state().checked, !before);
    y->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(w.PrinterLatched(1), before);
}

// The switches and the wheel have PC keys of their own, where typing has none.
TEST(Accessibility, FunctionAndPageKeysWorkTheSwitchesAndTheWheel) {
    Window win;
    TmainFM& w = win.Start();
    win.Type(Qt::Key_F7);
    win.Fire("ChgModeTimer");
    EXPECT_TRUE(w.Engine().PowerOn);
    const struct {
        int qtKey;
        Qt::KeyboardModifiers mods;
        bool rad, floatMode, prgm;
        int wheel;
    } steps[] = {
        {Qt::Key_F5, Qt::NoModifier, true, false, false, 2},
        {Qt::Key_F6, Qt::NoModifier, true, true, false, 2},
        {Qt::Key_F8, Qt::NoModifier, true, true, true, 2},
        {Qt::Key_F8, Qt::NoModifier, true, true, false, 2},
        {Qt::Key_PageUp, Qt::NoModifier, true, true, false, 3},
        {Qt::Key_PageDown, Qt::NoModifier, true, true, false, 2},
        {Qt::Key_PageDown, Qt::KeypadModifier, true, true, false, 2}, // keypad 3, no NumLock
        {Qt::Key_F5, Qt::ShiftModifier, true, true, false, 2},
    };
    for (const auto& s : steps) {
        win.Type(s.qtKey, s.mods);
        win.Fire("ChgModeTimer");
        EXPECT_EQ(w.PictureShown(pictures::SwitchLever(layout::SwitchSetting::Rad)), s.rad);
        EXPECT_EQ(w.PictureShown(pictures::SwitchLever(layout::SwitchSetting::Float)), s.floatMode);
        EXPECT_EQ(w.PictureShown(pictures::SwitchLever(layout::SwitchSetting::Prgm)), s.prgm);
        EXPECT_EQ(w.DecimalWheel(), s.wheel);
    }
}

// Tab goes from group to group, the arrows within one; screen readers hear each move.
TEST(Accessibility, TabAndArrowsMoveTheFocusOverTheControls) {
    Window win;
    TmainFM& w = win.Start();
    std::vector<int> heard, checked;
    w.Announcer().SetSink([&heard, &checked](QAccessibleEvent* event) {
        if (event->type() == QAccessible::Focus) heard.push_back(event->child());
        if (event->type() == QAccessible::StateChanged) {
            QAccessibleInterface* item = event->accessibleInterface();
            checked.push_back(item->parent()->indexOfChild(item));
        }
    });
    QAccessible::setActive(true);
    const int power = access::kFirstSwitchItem + 2, key1 = access::kFirstKeyItem;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const struct {
        int qtKey;
        Qt::KeyboardModifiers mods;
        int focused;
    } steps[] = {
        {Qt::Key_Tab, none, power},
        {Qt::Key_Right, none, power + 1},
        {Qt::Key_Right, none, power + 1}, // the last switch
        {Qt::Key_Tab, none, access::kWheelItem},
        {Qt::Key_Tab, none, key1},
        {Qt::Key_Down, none, key1 + 13},
        {Qt::Key_Right, none, key1 + 14},
        {Qt::Key_Up, none, key1 + 1},
        {Qt::Key_Left, none, key1},
        {Qt::Key_Left, none, key1},
        {Qt::Key_Tab, none, access::kFirstPrintItem},
        {Qt::Key_Tab, none, access::kFirstCardItem},
        {Qt::Key_Tab, none, power + 1}, // round to the switches, where the focus was left
        {Qt::Key_Backtab, Qt::ShiftModifier, access::kFirstCardItem},
        {Qt::Key_Backtab, Qt::ShiftModifier, access::kFirstPrintItem},
        {Qt::Key_Escape, none, -1},
        {Qt::Key_Tab, none, access::kFirstPrintItem}, // back where Escape left it
    };
    int moves = 0;
    for (const auto& s : steps) {
        const int before = w.FocusedItem();
        win.Type(s.qtKey, s.mods);
        EXPECT_EQ(w.FocusedItem(), s.focused) << moves;
        for (int item = access::kFirstKeyItem; item < access::kControlEnd; ++item)
            ASSERT_EQ(Panel(w)->child(item)->state().focused, item == s.focused) << item;
        if (w.FocusedItem() != before) ++moves;
        ASSERT_EQ(static_cast<int>(heard.size()), moves);
        EXPECT_EQ(heard.back(), s.focused);
    }
    win.Type(Qt::Key_Space); // the printer's ON button
    win.Type(Qt::Key_F7);
    win.Fire("ChgModeTimer");
    EXPECT_EQ(checked, (std::vector<int>{access::kFirstPrintItem, power}));
    QAccessible::setActive(false);
    EXPECT_TRUE(w.isVisible()); // Escape took the focus away and left the window open
    win.Click(Window::KeyCentre(keypos::Digit7));
    EXPECT_EQ(w.FocusedItem(), -1); // the mouse takes over
}

// Space and Return press the focused control; without one Return stays SHIFT UP, and the
// keypad's Enter always is.
TEST(Accessibility, SpaceAndReturnPressTheFocusedControl) {
    Window win;
    TmainFM& w = win.Start();
    win.Type(Qt::Key_Tab); // the power switch
    win.Type(Qt::Key_Space);
    win.Fire("ChgModeTimer");
    ASSERT_TRUE(w.Engine().PowerOn);
    win.Type(Qt::Key_Tab); // the wheel: Up and Down turn it
    win.Type(Qt::Key_Up);
    win.Type(Qt::Key_Up);
    win.Type(Qt::Key_Down);
    EXPECT_EQ(w.DecimalWheel(), 3);
    win.Type(Qt::Key_Tab); // TO POLAR; three rows down and seven columns on stands the key 1
    for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right,
                    Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right})
        win.Type(key);
    ASSERT_EQ(w.FocusedItem(), access::kFirstKeyItem + keypos::Digit1 - 1);
    win.Type(Qt::Key_2); // typing goes on as always while a key has the focus
    win.Type(Qt::Key_Return);
    win.Type(Qt::Key_Enter, Qt::KeypadModifier); // SHIFT UP
    win.Type(Qt::Key_3);
    win.Type(Qt::Key_Space);
    win.FireUntilStopped("busyTimer");
    EXPECT_EQ(DisplayText(w).toStdString(), "X 31, Y 21, Z 0");
    win.Type(Qt::Key_Escape);
    win.Type(Qt::Key_Return); // no focus: SHIFT UP
    EXPECT_EQ(DisplayText(w).toStdString(), "X 31, Y 31, Z 21");
}

TEST(Accessibility, MenuKeyAndShiftF10OpenTheMenu) {
    const struct {
        int qtKey;
        Qt::KeyboardModifiers mods;
        int tabs;
    } cases[] = {{Qt::Key_Menu, Qt::NoModifier, 0}, {Qt::Key_F10, Qt::ShiftModifier, 3}};
    for (const auto& c : cases) {
        Window win;
        TmainFM& w = win.Start();
        for (int i = 0; i < c.tabs; ++i)
            win.Type(Qt::Key_Tab);
        win.Type(c.qtKey, c.mods);
        ASSERT_TRUE(w.PopupMenu()->isVisible()) << c.qtKey;
        const QPoint at = w.mapFromGlobal(w.PopupMenu()->pos());
        const QRect near = c.tabs ? access::ItemArea(w.FocusedItem()) : w.rect();
        EXPECT_EQ(at, near.center()) << c.qtKey;
        w.PopupMenu()->hide();
    }
}

TEST(Accessibility, DisplayReadsItsLinesAsNumbers) {
    const struct {
        std::vector<int> keys; // typed on the PC keyboard; Shift+K is CHG SIGN (of the exponent
                               // after ENTER EXP, J)
        bool floatMode;
        const char* reading;
    } cases[] = {
        {{Qt::Key_1, Qt::Key_2, Qt::Key_Period, Qt::Key_5}, false, "X 12.5, Y 0, Z 0"},
        {{Qt::Key_7, Qt::Key_Return, Qt::Key_3}, false, "X 3, Y 7, Z 0"},
        {{Qt::Key_2, Qt::Key_Period, Qt::Key_2, Qt::Key_5, Qt::Key_J, -Qt::Key_K, Qt::Key_5},
         true,
         "X 2.25E-5, Y 0, Z 0"},
        {{Qt::Key_4, Qt::Key_J, Qt::Key_1, Qt::Key_2}, true, "X 4E12, Y 0, Z 0"},
    };
    for (const auto& c : cases) {
        Window win;
        TmainFM& w = win.Start();
        QAccessibleInterface* display = Panel(w)->child(access::kDisplayItem);
        EXPECT_TRUE(display->text(QAccessible::Value).isEmpty()) << c.reading; // switched off: dark
        w.SetDisplaySwitch(c.floatMode);
        win.PowerOn();
        for (int key : c.keys)
            win.Type(std::abs(key), key < 0                 ? Qt::ShiftModifier
                                    : key == Qt::Key_Period ? Qt::KeypadModifier // the point
                                                            : Qt::NoModifier);
        win.FireUntilStopped("busyTimer");
        EXPECT_EQ(display->text(QAccessible::Value).toStdString(), c.reading);
        auto* text = display->textInterface();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->text(0, text->characterCount()).toStdString(), c.reading);
    }
}

// A screen reader hears each new reading of the display once, as a text change of the display
// and as a notification shown, from the moment it starts listening. (A value change the desktop's
// bridge would refuse, with a warning each time, as the display holds no value.)
TEST(Accessibility, DisplayChangesAreAnnouncedOnceWhileAScreenReaderListens) {
    QStringList heard;
    Window win;
    TmainFM& w = win.Start();
    w.Announcer().SetSink([&heard](QAccessibleEvent* event) {
        if (event->type() == QAccessible::TextUpdated)
            heard << "text " + static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
        if (event->type() == QAccessible::ObjectShow)
            heard << "shown " + event->accessibleInterface()->text(QAccessible::Name);
    });
    win.PowerOn();
    win.Type(Qt::Key_4);
    QAccessible::setActive(true); // the desktop's bridge: a screen reader starts listening
    win.Type(Qt::Key_2);
    win.Type(Qt::Key_Return);
    win.FireUntilStopped("busyTimer");
    QAccessible::setActive(false);
    win.Type(Qt::Key_5);
    EXPECT_EQ(heard.join(" | ").toStdString(),
              "text X 42, Y 0, Z 0 | shown X 42, Y 0, Z 0 | text X 42, Y 42, Z 0 | "
              "shown X 42, Y 42, Z 0");
}

TEST(Accessibility, ProgramStepsReadAsTheirSymbols) {
    Window win;
    TmainFM& w = win.Start();
    win.PowerOn();
    w.SetModeSwitch(true);
    const QString reading = Panel(w)->child(access::kDisplayItem)->text(QAccessible::Value);
    EXPECT_TRUE(reading.startsWith("X 0.0 ")) << reading.toStdString();
    EXPECT_TRUE(reading.contains(", Z 0.1 ")) << reading.toStdString();
}

} // namespace
} // namespace orrindale::testing
