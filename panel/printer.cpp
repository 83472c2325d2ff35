// The strip printer's buttons and paper feed on the panel.
#include "panel/mainwindow.h"
#include "panel/plist.h"

namespace orrindale {

bool TmainFM::PrinterMouseDown(QPoint) {
    return false;
}

bool TmainFM::PrinterMouseUp() {
    return false;
}

void TmainFM::EndListing() {
    calc_.ListingMode = 0;
}

void TmainFM::DiscardRoll() {
    doPlaySound("rip");
    paperRoll_.clear();
    if (plist_) plist_->UpdatePrint();
}

void TmainFM::PrintRollToPrinter() {}

void TmainFM::ViewRoll() {
    if (plist_ && !plist_->isVisible()) plist_->show();
}

// ---- Printer feed -----------------------------------------------------------------------------

void TmainFM::StartPaperFeed() {
    if (!feedTimer_.isActive()) feedTimer_.start();
}

void TmainFM::FeedTimerTimer() {
    if (calc_.PrintQueue.empty()) {
        feedTimer_.stop();
        return;
    }
    paperRoll_.append(QString::fromStdString(calc_.PrintQueue.front()));
    calc_.PrintQueue.pop_front();
    if (plist_) plist_->UpdatePrint();
    if (calc_.PrintQueue.empty()) feedTimer_.stop();
}

} // namespace orrindale
