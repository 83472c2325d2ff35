#include "panel/shared/choosers.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace orrindale {

bool DialogPrinterChooser::Choose(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

namespace {
QString Ask(const FileQuestion& question, QWidget* parent, bool save) {
    QFileDialog dialog(parent, question.Caption, question.Start, question.Filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(question.DefaultSuffix);
    // The save question about an existing file is the dialog's own.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}
} // namespace

QString DialogFileChooser::OpenFile(const FileQuestion& question, QWidget* parent) {
    return Ask(question, parent, false);
}

QString DialogFileChooser::SaveFile(const FileQuestion& question, QWidget* parent) {
    return Ask(question, parent, true);
}

} // namespace orrindale
