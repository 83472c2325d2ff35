#include "common/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace orrindale {

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Confirmation: return QMessageBox::Question;
    case MessageKind::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::SaveFailed: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The answer Escape or the close box gives: the one that changes nothing.
MessageAnswer CautiousAnswer(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::YesNoCancel: return MessageAnswer::Cancel;
    case MessageButtons::SaveFailed: return MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

// The two answers of a failed save that have no standard button; null for other boxes.
struct SaveFailedButtons {
    QAbstractButton* Elsewhere = nullptr;
    QAbstractButton* Discard = nullptr;
};

SaveFailedButtons AddSaveFailedButtons(QMessageBox& box, MessageButtons buttons) {
    if (buttons != MessageButtons::SaveFailed) return {};
    SaveFailedButtons added;
    added.Elsewhere = box.addButton(QObject::tr("Save &Elsewhere..."), QMessageBox::ActionRole);
    added.Discard =
        box.addButton(QObject::tr("Close &Without Saving"), QMessageBox::DestructiveRole);
    box.setDefaultButton(QMessageBox::Retry);
    box.setEscapeButton(QMessageBox::Cancel);
    return added;
}

} // namespace

// Notes the window of every mouse press and key press. Without a window manager (or with one
// that gives no focus on a click) the toolkit's active window can stay the calculator while
// the user works in another window, so the window last touched is the better guess at the one
// that asked. Menus and tool tips are passing windows, never the one asked from.
class BoxMessenger::InputWatch final : public QObject {
public:
    InputWatch() { QCoreApplication::instance()->installEventFilter(this); }
    QWidget* Window() const { return last_ && last_->isVisible() ? last_.data() : nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress)
            if (auto* widget = qobject_cast<QWidget*>(watched)) {
                QWidget* window = widget->window();
                const Qt::WindowType kind = window->windowType();
                if (kind != Qt::Popup && kind != Qt::ToolTip) last_ = window;
            }
        return false;
    }

private:
    QPointer<QWidget> last_;
};

BoxMessenger::BoxMessenger(QWidget* owner) : owner_(owner) {
    if (QCoreApplication::instance()) watch_ = std::make_unique<InputWatch>();
}

BoxMessenger::~BoxMessenger() = default;

// The window the box opens over: a modal dialog that runs, else the window the user works in,
// which is the one that asked (named by AskedFrom, else the one last touched); the owner when there
// is none (at start-up, say).
QWidget* BoxMessenger::AskingWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* asking = Asking(); asking && asking->isVisible()) return asking;
    if (QWidget* touched = watch_ ? watch_->Window() : nullptr) return touched;
    if (QWidget* active = QApplication::activeWindow()) return active;
    return owner_;
}

MessageAnswer BoxMessenger::Show(MessageKind kind, const QString& text, MessageButtons buttons) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), '\n');
    QMessageBox box(IconOf(kind), QStringLiteral("Orrindale"), shown, ButtonsOf(buttons),
                    AskingWindow());
    if (buttons == MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
    const SaveFailedButtons extra = AddSaveFailedButtons(box, buttons);
    const int chosen = box.exec();
    if (extra.Elsewhere && box.clickedButton() == extra.Elsewhere) return MessageAnswer::Elsewhere;
    if (extra.Discard && box.clickedButton() == extra.Discard) return MessageAnswer::Discard;
    switch (chosen) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Retry: return MessageAnswer::Retry;
    default: return CautiousAnswer(buttons);
    }
}

} // namespace orrindale
