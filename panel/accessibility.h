// What a screen reader finds on the calculator window. The panel is one painted picture, so
// its keys, switches, wheel, printer and card buttons and the display have no widgets of their
// own; the window's accessible object gives each of them a child with a name, a role, a state and
// its place on the screen, all taken from the layout table the mouse uses.
#pragma once

#include <QAccessible>

#include <QRect>
#include <QString>
#include <functional>
#include <string>

#include "engine/calculator.h"
#include "panel/layout.h"

class QWidget;

namespace orrindale::access {

// One display line (the engine's symbols) as it is read aloud: the number it shows ("12.5",
// "-3.25E-12") or, for program steps and register words, its characters with blanks closed up.
QString ReadDisplayLine(const std::string& line);
// The three lines bottom up: "X 12.5, Y 0, Z 0"; empty while the display is dark.
QString ReadDisplay(const DisplayTexts& lines);

// The accessible children of the calculator window, in this order.
inline constexpr int kDisplayItem = 0;
inline constexpr int kFirstKeyItem = 1; // keys 1..65
inline constexpr int kFirstSwitchItem = kFirstKeyItem + layout::kKeyCount;
inline constexpr int kWheelItem = kFirstSwitchItem + 4;
inline constexpr int kFirstPrintItem = kWheelItem + 1;     // ON, X, Y, Z, L, then Paper Feed
inline constexpr int kFirstCardItem = kFirstPrintItem + 6; // Card Program, Card Enter
inline constexpr int kControlEnd = kFirstCardItem + 2;     // one past the last control
// The display's latest reading as a notification, shown for a moment at each new reading: the
// one change screen readers speak whatever has the focus.
inline constexpr int kResultItem = kControlEnd;
inline constexpr int kItemCount = kResultItem + 1;

// The calculator window as a screen reader sees it: what it shows, and no way to change it.
// The window implements it; the accessible objects read the panel through it alone.
class PanelReadout {
public:
    virtual ~PanelReadout() = default;
    virtual const DisplayTexts& ShownLines() const = 0;
    virtual int DecimalWheel() const = 0;
    // Whether the panel picture of this name (pictures.h) stands at its shown place.
    virtual bool PictureShown(const QString& name) const = 0;
    virtual bool PrinterOnButton() const = 0;          // the ON button latched
    virtual bool PrinterLatched(int button) const = 0; // X, Y, Z as 0, 1, 2
};

// The calculator window as assistive technology and the keyboard's focus work it: each control
// acts exactly as a mouse click on it does.
class PanelControls : public PanelReadout {
public:
    // A click on the item: a key or button pressed and let go, a switch turned to its other
    // setting.
    virtual void ClickItem(int item) = 0;
    virtual void StepWheel(int step) = 0;
    // The control holding the keyboard's focus; -1 for none.
    virtual int FocusedItem() const = 0;
};

// Where an item stands on the panel, in window coordinates.
QRect ItemArea(int item);
// The printer's ON, X, Y and Z buttons, which stay down until pressed again.
bool Latches(int item);

// Makes the accessible object of a window that is a PanelControls the one Qt hands out; safe to
// call often.
void InstallPanelAccessibility();

// Tells assistive technology when the display reads differently. It speaks only while some
// assistive technology listens (the desktop's bridge switches accessibility on and off).
class DisplayAnnouncer final : public QAccessible::ActivationObserver {
public:
    DisplayAnnouncer();
    ~DisplayAnnouncer() override;
    DisplayAnnouncer(const DisplayAnnouncer&) = delete;
    DisplayAnnouncer& operator=(const DisplayAnnouncer&) = delete;

    // The display shows `lines` now; read only while someone listens.
    void Update(QWidget* window, const DisplayTexts& lines);
    // The keyboard's focus moved to this item of the window (-1: off the controls).
    void FocusMoved(QWidget* window, int item);
    // A switch or latching button of the window changed its setting.
    void Checked(QWidget* window, int item);
    void accessibilityActiveChanged(bool active) override { listening_ = active; }
    // Where the change events go: the desktop's bridge, unless a test listens itself.
    using Sink = std::function<void(QAccessibleEvent*)>;
    void SetSink(Sink sink) { sink_ = std::move(sink); }

private:
    QString reading_;
    bool listening_;
    Sink sink_ = QAccessible::updateAccessibility;
};

} // namespace orrindale::access
