#include "panel/shared/choosers.h"

#include <QFileDialog>
#include <QRegularExpression>

#include "panel/shared/messages.h"

namespace orrindale {

DialogPrinterChooser::DialogPrinterChooser(const QString& modulePath, Messenger& messages)
    : library_(modulePath), messages_(messages) {}

std::unique_ptr<PrintJob> DialogPrinterChooser::Choose(QPageLayout::Orientation orientation,
                                                       QWidget* parent) {
    const auto entry = reinterpret_cast<PrintDialogEntry>(library_.resolve(kPrintEntry));
    if (entry == nullptr) {
        messages_.Error(QStringLiteral("ERROR: Printing is not available (") +
                        library_.errorString() + QStringLiteral(")"));
        return nullptr;
    }
    return std::unique_ptr<PrintJob>(entry(orientation, parent));
}

namespace {
// The extension of the first file type offered: "txt" for "Text Files (*.txt);;All Files (*)".
QString FirstSuffix(const QString& filter) {
    const QRegularExpressionMatch m = QRegularExpression(R"(\(\*\.(\w+)[ )])").match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString Ask(const FileQuestion& question, QWidget* parent, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, question.Caption, question.Start, question.Filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // A name typed without an extension gets the offered one before the dialog checks whether
    // it exists, so the overwrite question sees the file that will really be written.
    dialog.setDefaultSuffix(question.DefaultSuffix.isEmpty() ? FirstSuffix(question.Filter)
                                                             : question.DefaultSuffix);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}
} // namespace

QString DialogFileChooser::OpenFile(const FileQuestion& question, QWidget* parent) {
    return Ask(question, parent, QFileDialog::AcceptOpen);
}

QString DialogFileChooser::SaveFile(const FileQuestion& question, QWidget* parent) {
    // The save question about an existing file is the dialog's own.
    return Ask(question, parent, QFileDialog::AcceptSave);
}

} // namespace orrindale
