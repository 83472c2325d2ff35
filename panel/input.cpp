// Mouse and PC keyboard on the calculator window: keys, switches, the wheel and dragging the
// window by its display. Both devices press keys through the KeyPresser, which decides what a
// press does while another key is held.
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolTip>
#include <utility>

#include "common/messages.h"
#include "panel/clipnumber.h"
#include "panel/layout.h"
#include "panel/layoutrects.h"
#include "panel/mainwindow.h"
#include "panel/pckeys.h"
#include "panel/pictures.h"

namespace orrindale {

namespace {
QPoint At(const QMouseEvent* e) {
    return e->position().toPoint();
}
bool InBox(const layout::Box& b, QPoint p) {
    return b.Holds(p.x(), p.y());
}
} // namespace

void TmainFM::SetLabels(const QString& name, const QString& pcKey) {
    if (!keyNameLabel_ && name.isEmpty() && pcKey.isEmpty()) return; // still blank
    CreateLabels();
    keyNameLabel_->setText(name);
    pcKeyLabel_->setText(pcKey);
}

void TmainFM::Hover(QPoint at) {
    if (int key = layout::KeyAt(at.x(), at.y()); key > 0) {
        const layout::KeyPlace& place = layout::kKeys[static_cast<size_t>(key)];
        SetLabels(place.Name, place.PcLabel);
        HoverKey = key;
    } else if (InBox(layout::kCardRecordArea, at)) {
        SetLabels("Card Program", "");
    } else if (InBox(layout::kCardEnterArea, at)) {
        SetLabels("Card Enter", "");
    } else {
        SetLabels("", "");
        HoverKey = 0;
        keys_.ForgetLastKey();
    }
}

void TmainFM::leaveEvent(QEvent* event) {
    // The labels name what is under the pointer; outside the window that is nothing.
    SetLabels("", "");
    QWidget::leaveEvent(event);
}

KeyPresser::Panel TmainFM::KeyPanel() {
    KeyPresser::Panel p;
    p.ShowKey = [this](int key, bool down) {
        scene_.Show(pictures::PressedKey(key), down);
        if (down) {
            update(scene_.Bounds(pictures::PressedKey(key)));
        } else {
            repaint(scene_.Bounds(pictures::PressedKey(key)));
            HoverKey = 0;
        }
    };
    p.ReleaseSound = [this] { doPlaySound("swu"); };
    // Keys typed while the carriage travels wait for it too, as the calculator takes no key
    // until the plotter is ready.
    p.Computing = [this] {
        PlotterPort* plotter = Plotter();
        return calc_.BusyTicks > 0 || busyTimer_.isActive() ||
               (plotter && plotter->State() == PlotterStatus::Busy);
    };
    return p;
}

// ---- Mouse ------------------------------------------------------------------------------------

void TmainFM::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        move(pos() + At(event) - dragStart_);
        return;
    }
    const QPoint at = At(event);
    Hover(at);
    const bool onLabel = std::any_of(layout::kSwitches.begin(), layout::kSwitches.end(),
                                     [&](const layout::SwitchPlace& s) {
                                         return ToQRect(s.LabelArea).contains(at);
                                     }) ||
                         ToQRect(layout::kWheelUp.Area).contains(at) ||
                         ToQRect(layout::kWheelDown.Area).contains(at);
    if (ToQRect(layout::kDisplay).contains(at))
        setCursor(DragCursor(false));
    else
        setCursor(onLabel ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

// The switch label or wheel button under a point: 1-8 a switch setting + 1, 9 and 10 the
// wheel buttons, 0 none.
int TmainFM::ClickAreaAt(QPoint at) const {
    for (size_t i = 0; i < layout::kSwitches.size(); ++i)
        if (ToQRect(layout::kSwitches[i].LabelArea).contains(at)) return static_cast<int>(i) + 1;
    if (ToQRect(layout::kWheelUp.Area).contains(at)) return 9;
    if (ToQRect(layout::kWheelDown.Area).contains(at)) return 10;
    return 0;
}

void TmainFM::mousePressEvent(QMouseEvent* event) {
    const QPoint at = At(event);
    ClearFocus(); // the mouse takes over from the keyboard's focus
    // The switch labels and wheel buttons act when the button comes up on the one pressed.
    pressedClickArea_ = ClickAreaAt(at);
    if (pressedClickArea_ != 0) return;
    if (ToQRect(layout::kDisplay).contains(at) && event->button() != Qt::RightButton) {
        dragStart_ = at;
        dragging_ = true;
        setCursor(DragCursor(true));
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (printer_.MouseDown(at) || cards_.MouseDown(at)) return;
    Hover(at);
    keys_.Press(HoverKey, KeyPresser::Device::Mouse);
}

void TmainFM::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = At(event);
    if (dragging_) {
        dragging_ = false;
        setCursor(DragCursor(false));
        services_.Bounds->SetMainBounds(x(), width(), y());
        return;
    }
    const int clickArea = std::exchange(pressedClickArea_, 0);
    if (clickArea != 0) {
        if (clickArea == ClickAreaAt(at)) SwitchLabelClick(at) || WheelClick(at);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (printer_.MouseUp() || cards_.MouseUp()) return;
    keys_.ReleaseMouse();
}

void TmainFM::ClickItem(int item) {
    using namespace access;
    if (item >= kFirstSwitchItem && item < kWheelItem) {
        // The label of the setting the switch does not stand at.
        const auto second = static_cast<layout::SwitchSetting>(2 * (item - kFirstSwitchItem) + 1);
        const layout::SwitchSetting to =
            scene_.IsShown(pictures::SwitchLever(second)) ? layout::Partner(second) : second;
        SwitchLabelClick(ToQRect(layout::Switch(to).LabelArea).center());
        return;
    }
    if (item == kWheelItem || item <= kDisplayItem || item >= kControlEnd) return;
    const QPoint at = ItemArea(item).center();
    if (printer_.MouseDown(at)) {
        printer_.MouseUp();
        if (access::Latches(item)) announcer_.Checked(this, item);
    } else if (cards_.MouseDown(at)) {
        cards_.MouseUp();
    } else if (keys_.Press(layout::KeyAt(at.x(), at.y()), KeyPresser::Device::Mouse)) {
        keys_.ReleaseMouse();
    }
}

bool TmainFM::SwitchLabelClick(QPoint at) {
    for (const layout::SwitchPlace& s : layout::kSwitches) {
        if (!ToQRect(s.LabelArea).contains(at)) continue;
        using S = layout::SwitchSetting;
        switch (s.Setting) {
        case S::Deg: SetAngleSwitch(false); break;
        case S::Rad: SetAngleSwitch(true); break;
        case S::Fix: SetDisplaySwitch(false); break;
        case S::Float: SetDisplaySwitch(true); break;
        case S::Off: SetPowerSwitch(false); break;
        case S::On: SetPowerSwitch(true); break;
        case S::Run: SetModeSwitch(false); break;
        case S::Prgm: SetModeSwitch(true); break;
        }
        return true;
    }
    return false;
}

bool TmainFM::WheelClick(QPoint at) {
    if (ToQRect(layout::kWheelUp.Area).contains(at))
        StepWheel(+1);
    else if (ToQRect(layout::kWheelDown.Area).contains(at))
        StepWheel(-1);
    else
        return false;
    return true;
}

bool TmainFM::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QPoint at = help->pos();
        const char* tip = nullptr;
        for (const layout::SwitchPlace& s : layout::kSwitches)
            if (ToQRect(s.LabelArea).contains(at)) tip = s.ToolTip;
        if (ToQRect(layout::kWheelUp.Area).contains(at)) tip = layout::kWheelUp.ToolTip;
        if (ToQRect(layout::kWheelDown.Area).contains(at)) tip = layout::kWheelDown.ToolTip;
        if (tip)
            QToolTip::showText(help->globalPos(), tip, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

// ---- PC keyboard --------------------------------------------------------------------------------

namespace {
// The PC key of an event: its key code where it has one, else the character's key.
int PcKeyOf(const QKeyEvent* e) {
    return e->nativeScanCode() != 0 ? static_cast<int>(e->nativeScanCode()) : e->key();
}
} // namespace

void TmainFM::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return; // keys never repeat
    if (FocusKey(event)) return;
    const PcKeyAction action = MapPcKey(event->key(), event->modifiers(), event->nativeScanCode());
    if (action.kind == PcKeyAction::Nothing) return;
    if (action.kind == PcKeyAction::PressHovered && HoverKey == 0 &&
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) ==
            Qt::ControlModifier) {
        // With the pointer on no key, Ctrl+C and Ctrl+V copy and paste X.
        if (event->key() == Qt::Key_C) return CopyX();
        if (event->key() == Qt::Key_V) return PasteX();
    }
    if (action.kind == PcKeyAction::FlipSwitch) {
        ClickItem(access::kFirstSwitchItem + action.key);
        return;
    }
    if (action.kind == PcKeyAction::StepWheel) {
        StepWheel(action.key);
        return;
    }
    const int key = action.kind == PcKeyAction::Press ? action.key : HoverKey;
    keys_.Press(key, KeyPresser::Device::Keyboard, PcKeyOf(event));
}

void TmainFM::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    keys_.ReleasePcKey(PcKeyOf(event));
}

// ---- The clipboard -----------------------------------------------------------------------------

void TmainFM::CopyX() {
    const QString x = NumberShown(display_.ShownLines());
    if (x.isEmpty()) {
        services_.Messages->Information("X shows no number to copy");
        return;
    }
    QGuiApplication::clipboard()->setText(x);
}

void TmainFM::PasteX() {
    const QString text = QGuiApplication::clipboard()->text();
    const std::vector<int> keys = KeysOfNumber(text);
    if (keys.empty()) {
        services_.Messages->Information(
            QStringLiteral("The clipboard holds no number to key into X: \"%1\"")
                .arg(text.left(40).simplified()));
        return;
    }
    for (int key : keys)
        if (keys_.Press(key, KeyPresser::Device::Mouse)) keys_.ReleaseMouse();
}

// ---- The keyboard's focus ---------------------------------------------------------------------

bool TmainFM::focusNextPrevChild(bool next) {
    const int before = focus_.Item();
    focus_.Tab(next);
    FocusChanged(before);
    return true;
}

bool TmainFM::FocusKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        OpenMenu();
        return true;
    }
    const int item = focus_.Item();
    if (item < 0 || mods != Qt::NoModifier) return false;
    // Return presses the focused control only while one has the focus; the keypad's Enter
    // stays SHIFT UP, so numbers are keyed there as always.
    const bool keypad = event->modifiers().testFlag(Qt::KeypadModifier);
    const int key = event->key();
    if (key == Qt::Key_Space || (key == Qt::Key_Return && !keypad)) {
        if (item == access::kWheelItem)
            StepWheel(+1);
        else
            ClickItem(item);
        return true;
    }
    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = +1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = +1; break;
    default: return false;
    }
    if (keypad) return false; // the keypad's digits without NumLock
    if (item == access::kWheelItem) {
        if (dy != 0) StepWheel(-dy); // up turns it up
    } else if (focus_.Arrow(dx, dy)) {
        FocusChanged(item);
    }
    return true;
}

void TmainFM::FocusChanged(int before) {
    const int item = focus_.Item();
    if (item == before) return;
    // The mark is drawn a little outside the control.
    if (before >= 0) update(access::ItemArea(before).adjusted(-5, -5, 5, 5));
    if (item >= 0) update(access::ItemArea(item).adjusted(-5, -5, 5, 5));
    announcer_.FocusMoved(this, item);
}

void TmainFM::ClearFocus() {
    const int before = focus_.Item();
    focus_.Clear();
    FocusChanged(before);
}

void TmainFM::OpenMenu() {
    const int item = focus_.Item();
    const QPoint at = item >= 0 ? access::ItemArea(item).center() : rect().center();
    popup_->popup(mapToGlobal(at));
}

// ---- Switches and the wheel
// -----------------------------------------------------------------------

void TmainFM::SetAngleSwitch(bool rad) {
    if (!calc_.SetAngleMode(rad)) return;
    doPlaySound("swc");
    ShowSwitch(rad ? layout::SwitchSetting::Rad : layout::SwitchSetting::Deg);
}

void TmainFM::SetDisplaySwitch(bool floatMode) {
    if (calc_.SetDisplayMode(floatMode)) {
        doPlaySound("swc");
        ShowSwitch(floatMode ? layout::SwitchSetting::Float : layout::SwitchSetting::Fix);
    }
    RedrawDisplay();
}

void TmainFM::SetPowerSwitch(bool on) {
    if (calc_.SetPowerSwitch(on)) {
        doPlaySound("swc");
        ShowSwitch(on ? layout::SwitchSetting::On : layout::SwitchSetting::Off);
    }
    scene_.Show(pictures::kDisplayLamp, on);
}

void TmainFM::SetModeSwitch(bool prgm) {
    // The engine copies Z aside at PRGM and back at RUN while the power is on, also when the
    // switch stood there already.
    if (!calc_.SetProgramMode(prgm)) return;
    doPlaySound("swc");
    ShowSwitch(prgm ? layout::SwitchSetting::Prgm : layout::SwitchSetting::Run);
}

void TmainFM::StepWheel(int step) {
    // At the stops nothing moves, nothing sounds.
    if (!calc_.SetDecimalWheel(calc_.DecimalWheel + step)) return;
    ShowWheel();
    doPlaySound("whl");
    RedrawDisplay();
}

void TmainFM::ShowWheel() {
    for (int d = 0; d <= 9; ++d)
        scene_.Show(pictures::WheelDigit(d), d == calc_.DecimalWheel);
    update(ToQRect(layout::kWheelDigit));
}

} // namespace orrindale
