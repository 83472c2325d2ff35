#include "panel/shared/choosers.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace orrindale {

bool DialogPrinterChooser::Choose(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString DialogFileChooser::OpenFile(const FileQuestion& question, QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, question.Caption, question.Start, question.Filter);
}

QString DialogFileChooser::SaveFile(const FileQuestion& question, QWidget* parent) {
    // The save question about an existing file is the dialog's own.
    return QFileDialog::getSaveFileName(parent, question.Caption, question.Start, question.Filter);
}

} // namespace orrindale
