// The strip printer on the panel: its five buttons and the paper feed button, the feed timer,
// the paper picture and the roll's menu commands. What the printer does with lines and paper
// is PrinterModel's; this file connects it to the mouse, the sounds and the scene.
#include <QPrinter>

#include "panel/mainwindow.h"
#include "panel/pictures.h"
#include "panel/plist.h"
#include "panel/shared/messages.h"

namespace orrindale {

namespace {
using layout::PrintButton;

QRect ToQRect(const layout::Rect& r) {
    return QRect(r.Left, r.Top, r.Width, r.Height);
}
const layout::PrintButtonPlace& Place(int index) {
    return layout::kPrintButtons[static_cast<size_t>(index)];
}
} // namespace

PrinterModel& TmainFM::Printer() {
    if (!printer_) {
        PrinterModel::Panel panel;
        panel.PrintSwitch = [this](int which) { return PrintSwitch(which); };
        panel.FeedHeld = [this] { return scene_.IsShown(pictures::kFeedDown); };
        panel.LastKey = [this] { return lastKey_; };
        panel.RollChanged = [this] {
            if (plist_ && plist_->isVisible()) plist_->UpdatePrint();
        };
        panel.RedrawDisplay = [this] { RedrawDisplay(); };
        printer_ = std::make_unique<PrinterModel>(
            calc_, paperRoll_, pictures::FormPicture(pictures::kPaper), std::move(panel));
    }
    return *printer_;
}

void TmainFM::ShowPaper() {
    scene_.SetImage(pictures::kPaper, Printer().Paper());
    update(ToQRect(layout::kPaper));
}

void TmainFM::DrawPaperRoll() {
    // A roll file never holds more than the roll keeps; a longer one keeps its oldest lines.
    while (paperRoll_.size() > printer::kRollLimit)
        paperRoll_.removeLast();
    Printer().DrawRollEnd();
    ShowPaper();
}

// ---- Buttons ------------------------------------------------------------------------------------

void TmainFM::LatchPrintButton(PrintButton button, bool latched) {
    if (button == PrintButton::On)
        printerOn_ = latched;
    else
        printLatch_[static_cast<size_t>(button) - static_cast<size_t>(PrintButton::X)] = latched;
    scene_.Show(pictures::PrintButtonDown(button), latched);
    update();
}

bool TmainFM::PrinterMouseDown(QPoint at) {
    if (layout::kFeedArea.Holds(at.x(), at.y())) {
        FeedButtonDown();
        return true;
    }
    // A latched button's picture covers its area: the press is on the picture, and the click
    // it starts releases the button.
    for (int i = 0; i < layout::kPrintButtonCount; ++i) {
        const PrintButton button = Place(i).Button;
        if (button == PrintButton::L || !scene_.IsShown(pictures::PrintButtonDown(button)))
            continue;
        if (!ToQRect(Place(i).Pressed).contains(at)) continue;
        clickedLatch_ = i;
        doPlaySound("s1d");
        return true;
    }
    const int index = layout::PrintButtonAt(at.x(), at.y());
    if (index < 0) return false;
    pressedPrintButton_ = index;
    doPlaySound("s1d");
    if (Place(index).Button == PrintButton::L) {
        scene_.Show(pictures::PrintButtonDown(PrintButton::L), true);
        update();
        StartListing();
    } else {
        LatchPrintButton(Place(index).Button, true);
    }
    return true;
}

bool TmainFM::PrinterMouseUp() {
    if (scene_.IsShown(pictures::kFeedDown)) {
        FeedButtonUp();
        return true;
    }
    const int pressed = pressedPrintButton_;
    pressedPrintButton_ = -1;
    if (clickedLatch_ >= 0) {
        const bool listing = calc_.ListingMode != 0;
        LatchPrintButton(Place(clickedLatch_).Button, false);
        clickedLatch_ = -1;
        feedTimer_.stop();
        calc_.ListingMode = 0;
        if (listing) RedrawDisplay(); // the display leaves the program steps
        doPlaySound("s1u");
        return true;
    }
    if (pressed >= 0 && Place(pressed).Button == PrintButton::L) {
        scene_.Show(pictures::PrintButtonDown(PrintButton::L), false);
        update();
        doPlaySound("s1u");
        return true;
    }
    return false;
}

void TmainFM::FeedButtonDown() {
    scene_.Show(pictures::kFeedDown, true);
    update();
    doPlaySound("s1d");
    if (calc_.Running || !PrinterOn() || feedTimer_.isActive()) return;
    calc_.PrintQueue.push_back(kBlankPrintLine);
    feedTimer_.start();
}

void TmainFM::FeedButtonUp() {
    const bool listing = calc_.ListingMode != 0;
    scene_.Show(pictures::kFeedDown, false);
    update();
    doPlaySound("s1u");
    // Lines still queued wait for the next feed.
    calc_.ListingMode = 0;
    feedTimer_.stop();
    if (listing) RedrawDisplay();
}

// ---- Listing ------------------------------------------------------------------------------------

void TmainFM::StartListing() {
    if (Printer().StartListing(PrinterOn())) feedTimer_.start();
}

void TmainFM::EndListing() {
    // STOP during a listing: the listing ends with the switch action of its mode.
    Printer().EndListing();
    feedTimer_.stop();
}

// ---- Feed
// -----------------------------------------------------------------------------------------

void TmainFM::StartPaperFeed() {
    if (!feedTimer_.isActive()) feedTimer_.start();
}

void TmainFM::FeedTimerTimer() {
    if (!Printer().Tick()) feedTimer_.stop();
    ShowPaper();
}

// ---- Menu commands
// --------------------------------------------------------------------------------

void TmainFM::DiscardRoll() {
    doPlaySound("rip");
    Printer().DiscardRoll();
    ShowPaper();
}

void TmainFM::PrintRollToPrinter() {
    QPrinter printer(QPrinter::HighResolution);
    DialogPrinterChooser dialog;
    PrinterChooser& chooser = printerChooser_ ? *printerChooser_ : dialog;
    if (!chooser.Choose(printer, this)) return;
    const QString error = PrintRoll(paperRoll_, printer);
    if (!error.isEmpty()) services_.Messages->Error(error);
}

void TmainFM::ViewRoll() {
    if (plist_ && !plist_->isVisible()) plist_->show();
}

} // namespace orrindale
