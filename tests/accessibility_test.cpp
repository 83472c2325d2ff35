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
    EXPECT_EQ(panel->childCount(), 1 + layout::kKeyCount + 4 + 1 + 6 + 2);
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
        {access::kFirstPrintItem, "Printer ON", QAccessible::Button},
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

// A screen reader hears each new reading of the display once, as a text and as a value change,
// from the moment it starts listening.
TEST(Accessibility, DisplayChangesAreAnnouncedOnceWhileAScreenReaderListens) {
    QStringList heard;
    Window win;
    TmainFM& w = win.Start();
    w.Announcer().SetSink([&heard](QAccessibleEvent* event) {
        if (event->type() == QAccessible::TextUpdated)
            heard << "text " + static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
        if (event->type() == QAccessible::ValueChanged)
            heard << static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
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
              "text X 42, Y 0, Z 0 | X 42, Y 0, Z 0 | text X 42, Y 42, Z 0 | X 42, Y 42, Z 0");
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
