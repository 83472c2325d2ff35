#include "common/qtprint.h"

#include <QPrintDialog>
#include <memory>

// The module's entry point; the caller owns the job.
extern "C" Q_DECL_EXPORT orrindale::PrintJob*
orrindale_print_dialog(QPageLayout::Orientation orientation, QWidget* parent) {
    auto job = std::make_unique<orrindale::QtPrintJob>();
    job->Printer().setPageOrientation(orientation);
    QPrintDialog dialog(&job->Printer(), parent);
    return dialog.exec() == QDialog::Accepted ? job.release() : nullptr;
}
