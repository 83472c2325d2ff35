#include "panel/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QRegularExpression>
#include <QWidget>
#include <algorithm>
#include <array>
#include <utility>

#include "panel/layoutrects.h"
#include "panel/pckeys.h"
#include "panel/pictures.h"

namespace orrindale::access {

namespace {
// A scientific line: sign, digit, point, nine digits, three group blanks, exponent sign and
// two exponent digits.
constexpr size_t kScientificLength = 18;
constexpr int kExponentAt = 15;
constexpr int kPrintItems = layout::kPrintButtonCount + 1; // the feed button last

} // namespace

QRect ItemArea(int item) {
    if (item == kDisplayItem || item == kResultItem) return ToQRect(layout::kDisplay);
    if (item < kFirstSwitchItem) return ToQRect(layout::KeyArea(item - kFirstKeyItem + 1));
    if (item < kWheelItem) {
        const size_t first = static_cast<size_t>(2 * (item - kFirstSwitchItem));
        const layout::SwitchPlace &a = layout::kSwitches[first], &b = layout::kSwitches[first + 1];
        return ToQRect(a.Lever) | ToQRect(a.LabelArea) | ToQRect(b.LabelArea);
    }
    if (item == kWheelItem)
        return ToQRect(layout::kWheelUp.Area) | ToQRect(layout::kWheelDown.Area) |
               ToQRect(layout::kWheelDigit);
    if (item < kFirstPrintItem + layout::kPrintButtonCount)
        return ToQRect(layout::kPrintButtons[static_cast<size_t>(item - kFirstPrintItem)].Area);
    if (item < kFirstCardItem) return ToQRect(layout::kFeedArea);
    return ToQRect(item == kFirstCardItem ? layout::kCardRecordArea : layout::kCardEnterArea);
}

bool Latches(int item) {
    return item >= kFirstPrintItem && item < kFirstPrintItem + 4;
}

namespace {

bool IsKey(int item) {
    return item >= kFirstKeyItem && item < kFirstSwitchItem;
}
bool IsSwitch(int item) {
    return item >= kFirstSwitchItem && item < kWheelItem;
}

QString ItemName(int item) {
    if (item == kDisplayItem) return QStringLiteral("Display");
    if (item == kResultItem) return QStringLiteral("Result");
    if (item < kFirstSwitchItem) {
        const layout::KeyPlace& key = layout::kKeys[static_cast<size_t>(item - kFirstKeyItem + 1)];
        QString name = QStringLiteral("Key ") + QString::fromLatin1(key.Name);
        // The hover label spaces "Shift  S" for the eye; read aloud it is one chord.
        const QString pc = QString::fromLatin1(key.PcLabel).replace("Shift  ", "Shift+");
        return pc.isEmpty() ? name : name + QStringLiteral(", ") + pc;
    }
    if (item < kWheelItem) {
        const size_t first = static_cast<size_t>(2 * (item - kFirstSwitchItem));
        return QStringLiteral("Switch %1/%2")
            .arg(QLatin1String(layout::kSwitches[first].Label),
                 QLatin1String(layout::kSwitches[first + 1].Label));
    }
    if (item == kWheelItem) return QStringLiteral("Decimal wheel");
    if (item < kFirstPrintItem + layout::kPrintButtonCount)
        return QStringLiteral("Printer ") +
               QLatin1String(
                   layout::kPrintButtons[static_cast<size_t>(item - kFirstPrintItem)].Legend);
    if (item < kFirstCardItem) return QStringLiteral("Paper Feed");
    return item == kFirstCardItem ? QStringLiteral("Card Program") : QStringLiteral("Card Enter");
}

// What the item does, and the PC key that does it too.
QString ItemDescription(int item) {
    if (IsKey(item)) {
        const int key = item - kFirstKeyItem + 1;
        const layout::KeyPlace& place = layout::kKeys[static_cast<size_t>(key)];
        // Digits, the letters a to f and the point have their own character as PC key.
        const QString pc = *place.PcLabel
                               ? QString::fromLatin1(place.PcLabel).replace("Shift  ", "Shift+")
                               : QString::fromLatin1(place.Name).toUpper();
        const QString code = key == kStepPrgmPos
                                 ? QStringLiteral("no key code")
                                 : QStringLiteral("key code %1")
                                       .arg(KeyCodeOf[static_cast<size_t>(key)], 2, 8, QChar('0'));
        return QStringLiteral("%1, %2; PC key %3").arg(QLatin1String(place.Name), code, pc);
    }
    if (IsSwitch(item)) {
        const int which = item - kFirstSwitchItem;
        const layout::SwitchPlace& a = layout::kSwitches[static_cast<size_t>(2 * which)];
        const layout::SwitchPlace& b = layout::kSwitches[static_cast<size_t>(2 * which + 1)];
        return QStringLiteral("%1: %2; %3: %4; PC key %5")
            .arg(QLatin1String(a.Label), QLatin1String(a.ToolTip), QLatin1String(b.Label),
                 QLatin1String(b.ToolTip),
                 QLatin1String(PcKeyName({PcKeyAction::FlipSwitch, which})));
    }
    if (item == kWheelItem)
        return QStringLiteral("Digits shown after the point; PC keys %1 and %2")
            .arg(QLatin1String(PcKeyName({PcKeyAction::StepWheel, +1})),
                 QLatin1String(PcKeyName({PcKeyAction::StepWheel, -1})));
    switch (item - kFirstPrintItem) {
    case 0: return QStringLiteral("Switches the printer on; stays down until pressed again");
    case 1:
    case 2:
    case 3:
        return QStringLiteral("Chooses %1 to print; stays down until pressed again")
            .arg(QLatin1String(
                layout::kPrintButtons[static_cast<size_t>(item - kFirstPrintItem)].Legend));
    case 4: return QStringLiteral("Lists the program");
    case 5: return QStringLiteral("Feeds the paper");
    case 6: return QStringLiteral("Records program memory on the card's facing side");
    case 7: return QStringLiteral("Enters the card's facing side into program memory");
    default: return {};
    }
}

QAccessible::Role ItemRole(int item) {
    if (item == kDisplayItem) return QAccessible::StaticText;
    if (item == kResultItem) return QAccessible::Notification;
    if (IsSwitch(item) || Latches(item)) return QAccessible::CheckBox;
    if (item == kWheelItem) return QAccessible::SpinBox;
    return QAccessible::Button;
}

// The second setting of a switch (RAD, FLOAT, ON, PRGM) counts as checked.
layout::SwitchSetting SecondSetting(int item) {
    return static_cast<layout::SwitchSetting>(2 * (item - kFirstSwitchItem) + 1);
}

class PanelInterface;

// One key, switch, button, the wheel or the display: an area of the window's picture.
class PanelItem : public QAccessibleInterface {
public:
    PanelItem(PanelInterface* panel, int item) : panel_(panel), item_(item) {}
    ~PanelItem() override = default;

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return ItemRole(item_); }
    QAccessible::State state() const override;

    int Item() const { return item_; }
    const PanelInterface* Panel() const { return panel_; }

protected:
    const PanelReadout& Readout() const;
    const QWidget& Window() const;

private:
    PanelInterface* panel_;
    int item_;
};

// A key, switch, button or the wheel: worked through its actions as the mouse works it.
class ControlItem final : public PanelItem,
                          public QAccessibleActionInterface,
                          public QAccessibleValueInterface {
public:
    ControlItem(PanelInterface* panel, int item) : PanelItem(panel, item) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        if (type == QAccessible::ValueInterface && Item() == kWheelItem)
            return static_cast<QAccessibleValueInterface*>(this);
        return nullptr;
    }
    QStringList actionNames() const override;
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString& name) const override;

    // The wheel's digit as a value.
    QVariant currentValue() const override { return Readout().DecimalWheel(); }
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override { return 9; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    PanelControls& Controls() const;
};

// The display as read-only text, so that screen readers follow its changes.
class DisplayItem final : public PanelItem, public QAccessibleTextInterface {
public:
    explicit DisplayItem(PanelInterface* panel) : PanelItem(panel, kDisplayItem) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : nullptr;
    }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return Reading().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(Reading().size()); }
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = *end = 0;
        return {};
    }
    using PanelItem::text;

private:
    QString Reading() const { return ReadDisplay(Readout().ShownLines()); }
};

class PanelInterface final : public QAccessibleWidget {
public:
    PanelInterface(QWidget* window, PanelControls& controls)
        : QAccessibleWidget(window, QAccessible::Client, QStringLiteral("HP 9100B calculator")),
          controls_(controls) {}
    ~PanelInterface() override {
        // The children have no object of their own, so nothing else removes them.
        for (QAccessible::Id id : ids_)
            if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return kItemCount; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= kItemCount) return nullptr;
        QAccessible::Id& id = ids_[static_cast<size_t>(index)];
        if (id == 0) {
            auto* self = const_cast<PanelInterface*>(this);
            id = QAccessible::registerAccessibleInterface(
                index == kDisplayItem  ? static_cast<PanelItem*>(new DisplayItem(self))
                : index == kResultItem ? new PanelItem(self, index)
                                       : new ControlItem(self, index));
        }
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* item = dynamic_cast<const PanelItem*>(child);
        return item && item->Panel() == this ? item->Item() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        for (int item = 0; item < kItemCount; ++item)
            if (ItemArea(item).contains(local)) return child(item);
        return nullptr;
    }
    const QWidget& Window() const { return *widget(); }
    const PanelReadout& Readout() const { return controls_; }
    PanelControls& Controls() const { return controls_; }

private:
    PanelControls& controls_;
    mutable std::array<QAccessible::Id, kItemCount> ids_{};
};

bool PanelItem::isValid() const {
    return panel_->isValid();
}
QWindow* PanelItem::window() const {
    return panel_->window();
}
QAccessibleInterface* PanelItem::parent() const {
    return panel_;
}
const QWidget& PanelItem::Window() const {
    return panel_->Window();
}
const PanelReadout& PanelItem::Readout() const {
    return panel_->Readout();
}

PanelControls& ControlItem::Controls() const {
    return Panel()->Controls();
}

QStringList ControlItem::actionNames() const {
    if (IsSwitch(Item())) return {toggleAction()};
    if (Item() == kWheelItem) return {increaseAction(), decreaseAction()};
    if (Latches(Item())) return {toggleAction(), pressAction()};
    return {pressAction()};
}

void ControlItem::doAction(const QString& name) {
    if (!actionNames().contains(name)) return;
    if (Item() == kWheelItem)
        Controls().StepWheel(name == increaseAction() ? +1 : -1);
    else
        Controls().ClickItem(Item());
}

QStringList ControlItem::keyBindingsForAction(const QString& name) const {
    if (!actionNames().contains(name)) return {};
    if (IsSwitch(Item()))
        return {QLatin1String(PcKeyName({PcKeyAction::FlipSwitch, Item() - kFirstSwitchItem}))};
    if (Item() == kWheelItem)
        return {
            QLatin1String(PcKeyName({PcKeyAction::StepWheel, name == increaseAction() ? +1 : -1}))};
    if (IsKey(Item())) {
        const char* pc = layout::kKeys[static_cast<size_t>(Item() - kFirstKeyItem + 1)].PcLabel;
        if (*pc) return {QString::fromLatin1(pc).replace("Shift  ", "Shift+")};
    }
    return {};
}

void ControlItem::setCurrentValue(const QVariant& value) {
    // The wheel turns a step at a time, as its buttons turn it, until it shows the digit.
    const int digit = std::clamp(value.toInt(), 0, 9);
    for (int turns = 0; turns < 10 && Readout().DecimalWheel() != digit; ++turns)
        Controls().StepWheel(digit > Readout().DecimalWheel() ? +1 : -1);
}

QRect PanelItem::rect() const {
    const QRect area = ItemArea(item_);
    return QRect(Window().mapToGlobal(area.topLeft()), area.size());
}

QString PanelItem::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && item_ == kResultItem) return ReadDisplay(Readout().ShownLines());
    if (t == QAccessible::Name) return ItemName(item_);
    if (t == QAccessible::Description) return ItemDescription(item_);
    if (t != QAccessible::Value) return {};
    if (item_ == kDisplayItem) return ReadDisplay(Readout().ShownLines());
    if (item_ == kWheelItem) return QString::number(Readout().DecimalWheel());
    if (item_ >= kFirstSwitchItem && item_ < kWheelItem) {
        const layout::SwitchSetting second = SecondSetting(item_);
        const bool on = Readout().PictureShown(pictures::SwitchLever(second));
        return QLatin1String(layout::Switch(on ? second : layout::Partner(second)).Label);
    }
    return {};
}

QAccessible::State PanelItem::state() const {
    QAccessible::State s;
    const PanelReadout& panel = Readout();
    if (!Window().isVisible()) s.invisible = true;
    if (item_ == kDisplayItem || item_ == kResultItem) {
        s.readOnly = true;
        return s;
    }
    s.focusable = true;
    s.focused = Panel()->Controls().FocusedItem() == item_;
    if (item_ < kFirstSwitchItem) {
        s.pressed = panel.PictureShown(pictures::PressedKey(item_ - kFirstKeyItem + 1));
    } else if (item_ < kWheelItem) {
        s.checkable = true;
        s.checked = panel.PictureShown(pictures::SwitchLever(SecondSetting(item_)));
    } else if (Latches(item_)) {
        // ON and the X, Y, Z buttons latch; L and the feed do not.
        const int button = item_ - kFirstPrintItem;
        s.checkable = true;
        s.checked = button == 0 ? panel.PrinterOnButton() : panel.PrinterLatched(button - 1);
    }
    return s;
}

QAccessibleInterface* PanelFactory(const QString&, QObject* object) {
    auto* window = qobject_cast<QWidget*>(object);
    if (auto* controls = dynamic_cast<PanelControls*>(object); window && controls)
        return new PanelInterface(window, *controls);
    return nullptr;
}

} // namespace

QString ReadDisplayLine(const std::string& line) {
    QString text;
    for (char c : line)
        text += c == 'S' ? QChar(' ') : c == 'P' ? QChar('.') : c == 'M' ? QChar('-') : QChar(c);
    if (!line.empty() && line.find_first_not_of("0123456789SPM") == std::string::npos) {
        QString number = text;
        if (line.size() == kScientificLength && line[2] == 'P')
            number = text.left(kExponentAt) + QChar('E') + text.mid(kExponentAt);
        number.remove(QChar(' '));
        bool ok = false;
        const double value = number.toDouble(&ok);
        if (ok) // "2.25e-05" is read "2.25E-5"
            return QString::number(value, 'g', 10)
                .replace(QRegularExpression(QStringLiteral("e\\+?(-?)0*(\\d)")),
                         QStringLiteral("E\\1\\2"));
    }
    // Program steps fill the room between address and code with minus signs; they say nothing.
    return text.replace(QRegularExpression(QStringLiteral("-{2,}")), QStringLiteral(" "))
        .simplified();
}

QString ReadDisplay(const DisplayTexts& lines) {
    if (lines[0].empty() && lines[1].empty() && lines[2].empty()) return {};
    return QStringLiteral("X %1, Y %2, Z %3")
        .arg(ReadDisplayLine(lines[2]), ReadDisplayLine(lines[1]), ReadDisplayLine(lines[0]));
}

void InstallPanelAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(PanelFactory);
        return true;
    }();
    (void)installed;
}

DisplayAnnouncer::DisplayAnnouncer() : listening_(QAccessible::isActive()) {
    QAccessible::installActivationObserver(this);
}

DisplayAnnouncer::~DisplayAnnouncer() {
    QAccessible::removeActivationObserver(this);
}

void DisplayAnnouncer::Update(QWidget* window, const DisplayTexts& lines) {
    if (!listening_) return;
    // The display goes dark for a moment while the calculator computes; announcing each blink
    // would bury the results, so only readings are announced, each differing from the last.
    const QString reading = ReadDisplay(lines);
    if (reading.isEmpty() || reading == reading_) return;
    const QString before = std::exchange(reading_, reading);
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(window);
    QAccessibleInterface* display = panel ? panel->child(kDisplayItem) : nullptr;
    if (!display) return;
    QAccessibleTextUpdateEvent text(display, 0, before, reading);
    sink_(&text);
    // Text changes are spoken only of the object that has the focus; a notification shown is
    // spoken whatever has it.
    QAccessibleEvent shown(panel->child(kResultItem), QAccessible::ObjectShow);
    sink_(&shown);
}

void DisplayAnnouncer::FocusMoved(QWidget* window, int item) {
    if (!listening_) return;
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(window);
    if (!panel) return;
    QAccessibleEvent focus(window, QAccessible::Focus);
    if (item >= 0) focus.setChild(item);
    sink_(&focus);
}

void DisplayAnnouncer::Checked(QWidget* window, int item) {
    if (!listening_) return;
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(window);
    if (!panel) return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(panel->child(item), changed);
    sink_(&event);
}

} // namespace orrindale::access
