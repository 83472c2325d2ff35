// The two dialogs a test must never see: choosing a printer and choosing a file. Windows ask
// through these interfaces; the program hands over the real dialogs, tests hand over scripted
// answers, so no dialog ever opens under test.
#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace orrindale {

class PrinterChooser {
public:
    virtual ~PrinterChooser() = default;
    // Sets up the printer; false when the user cancelled.
    virtual bool Choose(QPrinter& printer, QWidget* parent) = 0;
};

// The print dialog.
class DialogPrinterChooser final : public PrinterChooser {
public:
    bool Choose(QPrinter& printer, QWidget* parent) override;
};

// What an open or save dialog asks: its caption, the folder or file it starts from, the file
// types offered ("Magnetic Card Files (*.mcf)") and the extension a name typed without one
// gets. An open dialog takes only an existing file; a save dialog asks before overwriting.
struct FileQuestion {
    QString Caption;
    QString Start;
    QString Filter;
    QString DefaultSuffix = {};
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The file chosen to read or to write; empty when the user cancelled.
    virtual QString OpenFile(const FileQuestion& question, QWidget* parent) = 0;
    virtual QString SaveFile(const FileQuestion& question, QWidget* parent) = 0;
};

// The desktop's open and save dialogs.
class DialogFileChooser final : public FileChooser {
public:
    QString OpenFile(const FileQuestion& question, QWidget* parent) override;
    QString SaveFile(const FileQuestion& question, QWidget* parent) override;
};

} // namespace orrindale
