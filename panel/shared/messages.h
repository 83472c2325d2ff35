// Messages to the user: modal boxes of four kinds with fixed buttons. Every window talks to the
// user through a Messenger, so that tests can read what was said and script the answers.
#pragma once

#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace orrindale {

enum class MessageKind { Error, Information, Confirmation, Warning };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

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
};

// The real boxes (QMessageBox), owned by a window so that they open over it.
class BoxMessenger final : public Messenger {
public:
    explicit BoxMessenger(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    MessageAnswer Show(MessageKind kind, const QString& text, MessageButtons buttons) override;

private:
    QWidget* owner_;
};

// For tests: keeps every message shown and answers questions from a script. Boxes with only
// an OK button answer Ok and take nothing from the script; a question with the script empty
// gets the cautious answer (Cancel when offered, otherwise No).
class ScriptedMessenger final : public Messenger {
public:
    struct Shown {
        MessageKind kind;
        QString text;
        MessageButtons buttons;
    };

    void Script(MessageAnswer answer) { answers_.push_back(answer); }
    MessageAnswer Show(MessageKind kind, const QString& text, MessageButtons buttons) override;

    const std::vector<Shown>& Messages() const { return shown_; }
    // The text of the last message, or empty when none was shown.
    QString LastText() const { return shown_.empty() ? QString() : shown_.back().text; }
    int UnusedAnswers() const { return static_cast<int>(answers_.size()); }

private:
    std::vector<Shown> shown_;
    std::deque<MessageAnswer> answers_;
};

} // namespace orrindale
