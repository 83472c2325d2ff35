// Messages to the user: modal boxes of four kinds with fixed buttons. Every window talks to the
// user through a Messenger, so that tests can read what was said and script the answers
// (tests/doubles.h).
#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace orrindale {

enum class MessageKind { Error, Information, Confirmation, Warning };
// SaveFailed offers what can be done about a file that could not be written: try again, write
// it to another folder, or go on without it; Cancel (or Escape) leaves everything as it was.
enum class MessageButtons { Ok, YesNo, YesNoCancel, SaveFailed };
enum class MessageAnswer { Ok, Yes, No, Cancel, Retry, Elsewhere, Discard };

class Messenger {
public:
    virtual ~Messenger() = default;
    // Shows a modal box and returns the button chosen. A "\r" in the text breaks the line, so
    // "\r\r" leaves a blank line between two sentences.
    virtual MessageAnswer Show(MessageKind kind, const QString& text, MessageButtons buttons) = 0;

    void Error(const QString& text) { Show(MessageKind::Error, text, MessageButtons::Ok); }
    void Information(const QString& text) {
        Show(MessageKind::Information, text, MessageButtons::Ok);
    }
    void Warning(const QString& text) { Show(MessageKind::Warning, text, MessageButtons::Ok); }
    MessageAnswer Confirm(const QString& text, MessageButtons buttons = MessageButtons::YesNo) {
        return Show(MessageKind::Confirmation, text, buttons);
    }

    // While it lives, boxes open over the window given: a window that knows it is the one asking
    // says so, where the window last clicked or the active one may be another (the calculator,
    // or a file dialog that has closed).
    // A null messenger (a window made without one) is left alone.
    class AskedFrom {
    public:
        AskedFrom(Messenger* messenger, QWidget* window)
            : messenger_(messenger), was_(messenger ? messenger->asking_ : nullptr) {
            if (messenger) messenger->asking_ = window;
        }
        ~AskedFrom() {
            if (messenger_) messenger_->asking_ = was_;
        }
        AskedFrom(const AskedFrom&) = delete;
        AskedFrom& operator=(const AskedFrom&) = delete;

    private:
        Messenger* messenger_;
        QWidget* was_;
    };
    // The window named by the innermost AskedFrom; null for none.
    QWidget* Asking() const { return asking_; }

private:
    QWidget* asking_ = nullptr;
};

// The real boxes (QMessageBox), centred on the window the user is working in (the one that
// asked), else on the owner.
class BoxMessenger final : public Messenger {
public:
    // Made after the application object, so that it can watch which window the user works in.
    explicit BoxMessenger(QWidget* owner = nullptr);
    ~BoxMessenger() override;
    void SetOwner(QWidget* owner) { owner_ = owner; }
    MessageAnswer Show(MessageKind kind, const QString& text, MessageButtons buttons) override;
    QWidget* AskingWindow() const;

private:
    class InputWatch;
    QWidget* owner_;
    std::unique_ptr<InputWatch> watch_;
};

} // namespace orrindale
