// Test doubles of the services every window is given: message boxes answered from a script,
// recorded sounds and documents, and scripted printer and file dialogs. They are strict: a
// question nobody scripted, a message box the test never looked at, a dialog nobody expected
// or an answer left unused fails the test, so a forgotten dialog shows up instead of being
// answered silently.
#pragma once

#include <gtest/gtest.h>

#include <QPageSize>
#include <QPrinter>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

#include "common/choosers.h"
#include "common/messages.h"
#include "common/qtprint.h"
#include "common/sounds.h"

namespace orrindale::testing {

class ScriptedMessenger final : public Messenger {
public:
    struct Shown {
        MessageKind kind;
        QString text;
        MessageButtons buttons;
        // An answered question was expected; an OK box only once the test looked at it.
        mutable bool looked = false;
        QWidget* over = nullptr; // the window that said it asked (Messenger::AskedFrom)
    };

    ~ScriptedMessenger() override {
        for (const Shown& m : shown_)
            if (!m.looked)
                ADD_FAILURE() << "message box nobody looked at: " << m.text.toStdString();
        if (!answers_.empty()) ADD_FAILURE() << answers_.size() << " scripted answers unused";
    }

    // The answer to the next question (a box with more than an OK button).
    void Script(MessageAnswer answer) { answers_.push_back(answer); }

    MessageAnswer Show(MessageKind kind, const QString& text, MessageButtons buttons) override {
        shown_.push_back({kind, text, buttons, buttons != MessageButtons::Ok, Asking()});
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
        }
        const MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    // Looking at the messages marks them as expected.
    const std::vector<Shown>& Messages() const {
        for (const Shown& m : shown_)
            m.looked = true;
        return shown_;
    }
    // The text of the last message, or empty when none was shown.
    QString LastText() const { return Messages().empty() ? QString() : shown_.back().text; }
    int UnusedAnswers() const { return static_cast<int>(answers_.size()); }

private:
    std::vector<Shown> shown_;
    std::deque<MessageAnswer> answers_;
};

// A log of the sounds asked for.
class RecordingSoundPlayer final : public SoundPlayer {
public:
    void Play(const QString& name) override { played.append(name); }
    QStringList played;
};

// Keeps the paths it was asked to open and answers with succeed.
class RecordingOpener final : public DocumentOpener {
public:
    bool Open(const QString& path) override {
        opened.append(path);
        return succeed;
    }
    bool succeed = true;
    QStringList opened;
};

// Prints to PDF files named by the script; a print dialog nobody scripted fails the test.
class ScriptedPrinterChooser final : public PrinterChooser {
public:
    ~ScriptedPrinterChooser() override {
        if (!script_.empty()) ADD_FAILURE() << script_.size() << " scripted printers unused";
    }
    // The next print dialog chooses a PDF printer writing file, or is cancelled.
    void Script(const QString& file, bool accept = true) { script_.push_back({file, accept}); }

    std::unique_ptr<PrintJob> Choose(QPageLayout::Orientation orientation, QWidget*) override {
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected print dialog";
            return nullptr;
        }
        const Answer answer = script_.front();
        script_.pop_front();
        if (!answer.accept) return nullptr;
        auto job = std::make_unique<QtPrintJob>();
        job->Printer().setPageOrientation(orientation);
        Configure(job->Printer(), answer.file);
        return job;
    }
    static void Configure(QPrinter& printer, const QString& file) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        // A low page keeps the columns short and the tests quick.
        printer.setPageSize(QPageSize(QSizeF(8.5, 4), QPageSize::Inch));
        printer.setResolution(150);
    }

private:
    struct Answer {
        QString file;
        bool accept;
    };
    std::deque<Answer> script_;
};

// Answers open and save dialogs from a script (an empty path cancels); keeps the questions.
class ScriptedFileChooser final : public FileChooser {
public:
    ~ScriptedFileChooser() override {
        if (!script_.empty()) ADD_FAILURE() << script_.size() << " scripted file answers unused";
    }
    void Script(const QString& path) { script_.push_back(path); }

    QString OpenFile(const FileQuestion& question, QWidget*) override { return Answer(question); }
    QString SaveFile(const FileQuestion& question, QWidget*) override { return Answer(question); }
    QString ChooseFolder(const FileQuestion& question, QWidget*) override {
        return Answer(question);
    }

    std::vector<FileQuestion> asked;

private:
    QString Answer(const FileQuestion& question) {
        asked.push_back(question);
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << question.Caption.toStdString();
            return QString();
        }
        const QString path = script_.front();
        script_.pop_front();
        return path;
    }
    std::deque<QString> script_;
};

} // namespace orrindale::testing
