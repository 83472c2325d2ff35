// The print module's side (see choosers.h): a job on a QPrinter, and the print dialog that sets
// it up. Built into the module only, and into the tests, which print to PDF files.
#pragma once

#include <QPrinter>

#include "common/choosers.h"

namespace orrindale {

class QtPrintJob final : public PrintJob {
public:
    QtPrintJob() : printer_(QPrinter::HighResolution) {}
    QPrinter& Printer() { return printer_; }
    QPagedPaintDevice& Device() override { return printer_; }
    void Abort() override { printer_.abort(); }
    bool Failed() const override { return printer_.printerState() == QPrinter::Error; }

private:
    QPrinter printer_;
};

} // namespace orrindale
