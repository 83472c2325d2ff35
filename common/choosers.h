// The two dialogs a test must never see: choosing a printer and choosing a file. Windows ask
// through these interfaces; the program hands over the real dialogs, tests hand over scripted
// answers, so no dialog ever opens under test.
//
// The toolkit's print support (with the print system's client libraries) costs every start of
// the program time and memory, and most sessions never print. It therefore lives in a module of
// its own (kPrintModule in the program folder, built from qtprint.cpp) that the print dialog
// chooser loads at the first print; the windows draw on the PrintJob it hands back.
#pragma once

#include <QHash>
#include <QLibrary>
#include <QPageLayout>
#include <QString>
#include <memory>

class QPagedPaintDevice;
class QWidget;

namespace orrindale {

class Messenger;

// A printer the user chose, ready for one document.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    // The pages to draw on: their size, layout and resolution (logicalDpiX) are the printer's.
    virtual QPagedPaintDevice& Device() = 0;
    // Throws the document away, after a failure.
    virtual void Abort() = 0;
    // Whether the printer has reported an error.
    virtual bool Failed() const = 0;
};

class PrinterChooser {
public:
    virtual ~PrinterChooser() = default;
    // Asks for a printer, offering pages in `orientation`; null when the user cancelled.
    virtual std::unique_ptr<PrintJob> Choose(QPageLayout::Orientation orientation,
                                             QWidget* parent) = 0;
};

// The print module's one exported function: shows the print dialog and returns the job, or null
// when the user cancelled. The caller owns the job.
using PrintDialogEntry = PrintJob* (*)(QPageLayout::Orientation orientation, QWidget* parent);
inline constexpr char kPrintEntry[] = "orrindale_print_dialog";

// The print dialog, from the module at `modulePath`, loaded at the first print and kept. A
// module that cannot be loaded is reported as an error at each attempt; nothing is printed.
class DialogPrinterChooser final : public PrinterChooser {
public:
    DialogPrinterChooser(const QString& modulePath, Messenger& messages);
    std::unique_ptr<PrintJob> Choose(QPageLayout::Orientation orientation,
                                     QWidget* parent) override;

private:
    QLibrary library_;
    Messenger& messages_;
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
    // An existing folder to write into (the question's filter is not used); empty when the user
    // cancelled.
    virtual QString ChooseFolder(const FileQuestion& question, QWidget* parent) = 0;
};

// Asks where to save a file of the question's kind (its DefaultSuffix) and returns the path to
// write: the name chosen, its extension added or corrected by WithExtension. The dialog asked
// before replacing the name chosen; a corrected name that exists is asked about here, since the
// dialog never saw it. Empty when the user cancelled or would not replace the file.
QString ChooseSaveFile(FileChooser& files, Messenger& messages, const FileQuestion& question,
                       QWidget* parent);

// Where each kind of file was last chosen, so that the next dialog for that kind starts there.
// The kind is the extension a dialog offers ("txt", "ptf"). A question that starts from a file
// the user already has (a path to an existing file) keeps its own folder.
class FolderMemory {
public:
    // The question's start, its folder replaced by the one last used for its kind.
    QString StartOf(const FileQuestion& question) const;
    // Notes the folder of a file chosen for the question.
    void Remember(const FileQuestion& question, const QString& chosen);

private:
    QHash<QString, QString> folders_; // kind -> folder, without a trailing separator
};

// The desktop's open and save dialogs, each starting in the folder last used for its kind.
class DialogFileChooser final : public FileChooser {
public:
    QString OpenFile(const FileQuestion& question, QWidget* parent) override;
    QString SaveFile(const FileQuestion& question, QWidget* parent) override;
    QString ChooseFolder(const FileQuestion& question, QWidget* parent) override;

private:
    QString Ask(const FileQuestion& question, QWidget* parent, bool save);

    FolderMemory folders_;
};

} // namespace orrindale
