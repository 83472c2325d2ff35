#include "panel/printerpanel.h"

#include "common/choosers.h"
#include "common/messages.h"
#include "common/services.h"
#include "engine/calculator.h"
#include "panel/layoutrects.h"
#include "panel/paperviewer.h"
#include "panel/pictures.h"
#include "panel/rollprint.h"
#include "panel/scene.h"

namespace orrindale {

namespace {
using layout::PrintButton;
constexpr int kFeedInterval = 250;

const layout::PrintButtonPlace& Place(int index) {
    return layout::kPrintButtons[static_cast<size_t>(index)];
}
} // namespace

PrinterPanel::PrinterPanel(Calculator& calc, PanelScene& scene, const Services& services,
                           QStringList& roll, Window window, QObject* parent)
    : QObject(parent), calc_(calc), scene_(scene), services_(services), roll_(roll),
      window_(std::move(window)), feedTimer_(this) {
    feedTimer_.setObjectName("feedTimer");
    feedTimer_.setInterval(kFeedInterval);
    connect(&feedTimer_, &QTimer::timeout, this, &PrinterPanel::FeedTimerTimer);
}

PrinterPanel::~PrinterPanel() = default;

PrinterModel& PrinterPanel::Model() {
    if (!model_) {
        PrinterModel::Panel panel;
        panel.PrintSwitch = [this](int which) { return PrintSwitch(which); };
        panel.FeedHeld = [this] { return scene_.IsShown(pictures::kFeedDown); };
        panel.LastKey = [this] { return window_.LastKey(); };
        panel.RollChanged = [this] {
            if (viewer_ && viewer_->isVisible()) viewer_->UpdatePrint();
        };
        panel.RedrawDisplay = window_.RedrawDisplay;
        model_ = std::make_unique<PrinterModel>(
            calc_, roll_, pictures::FormPicture(pictures::kPaper, window_.PictureScale()),
            std::move(panel));
    }
    return *model_;
}

bool PrinterPanel::PrinterOn() const {
    return on_ && calc_.PowerOn;
}

void PrinterPanel::Show(const QString& picture, bool shown) {
    scene_.Show(picture, shown);
    window_.Repaint(scene_.Bounds(picture));
}

void PrinterPanel::SetButtons(bool on, const std::array<bool, 3>& latches) {
    on_ = on;
    latches_ = latches;
    Show(pictures::PrintButtonDown(PrintButton::On), on_);
    Show(pictures::PrintButtonDown(PrintButton::X), latches_[0]);
    Show(pictures::PrintButtonDown(PrintButton::Y), latches_[1]);
    Show(pictures::PrintButtonDown(PrintButton::Z), latches_[2]);
}

void PrinterPanel::ShowPaper() {
    scene_.SetImage(pictures::kPaper, Model().Paper());
    window_.Repaint(ToQRect(layout::kPaper));
}

void PrinterPanel::DrawRoll() {
    // A roll file never holds more than the roll keeps; a longer one keeps its oldest lines.
    while (roll_.size() > printer::kRollLimit)
        roll_.removeLast();
    Model().DrawRollEnd();
    ShowPaper();
}

// ---- Buttons ------------------------------------------------------------------------------------

void PrinterPanel::Latch(PrintButton button, bool latched) {
    if (button == PrintButton::On)
        on_ = latched;
    else
        latches_[static_cast<size_t>(button) - static_cast<size_t>(PrintButton::X)] = latched;
    Show(pictures::PrintButtonDown(button), latched);
}

bool PrinterPanel::MouseDown(QPoint at) {
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
        services_.doPlaySound("s1d");
        return true;
    }
    const int index = layout::PrintButtonAt(at.x(), at.y());
    if (index < 0) return false;
    pressedButton_ = index;
    services_.doPlaySound("s1d");
    if (Place(index).Button == PrintButton::L) {
        Show(pictures::PrintButtonDown(PrintButton::L), true);
        if (Model().StartListing(PrinterOn())) feedTimer_.start();
    } else {
        Latch(Place(index).Button, true);
    }
    return true;
}

bool PrinterPanel::MouseUp() {
    if (scene_.IsShown(pictures::kFeedDown)) {
        FeedButtonUp();
        return true;
    }
    const int pressed = std::exchange(pressedButton_, -1);
    if (clickedLatch_ >= 0) {
        const bool listing = calc_.ListingMode != 0;
        Latch(Place(clickedLatch_).Button, false);
        clickedLatch_ = -1;
        feedTimer_.stop();
        calc_.HaltListing();
        if (listing) window_.RedrawDisplay(); // the display leaves the program steps
        services_.doPlaySound("s1u");
        return true;
    }
    if (pressed >= 0 && Place(pressed).Button == PrintButton::L) {
        Show(pictures::PrintButtonDown(PrintButton::L), false);
        services_.doPlaySound("s1u");
        return true;
    }
    return false;
}

void PrinterPanel::FeedButtonDown() {
    Show(pictures::kFeedDown, true);
    services_.doPlaySound("s1d");
    if (calc_.Running || !PrinterOn() || feedTimer_.isActive()) return;
    calc_.PrintQueue.push_back(kBlankPrintLine);
    feedTimer_.start();
}

void PrinterPanel::FeedButtonUp() {
    const bool listing = calc_.ListingMode != 0;
    Show(pictures::kFeedDown, false);
    services_.doPlaySound("s1u");
    // Lines still queued wait for the next feed.
    calc_.HaltListing();
    feedTimer_.stop();
    if (listing) window_.RedrawDisplay();
}

// ---- Listing and feed
// -----------------------------------------------------------------------------

void PrinterPanel::EndListing() {
    calc_.EndListing();
    feedTimer_.stop();
}

void PrinterPanel::StartFeed() {
    if (!feedTimer_.isActive()) feedTimer_.start();
}

void PrinterPanel::FeedTimerTimer() {
    if (!Model().Tick()) feedTimer_.stop();
    ShowPaper();
}

// ---- Menu commands ------------------------------------------------------------------------------

void PrinterPanel::Discard() {
    services_.doPlaySound("rip");
    Model().DiscardRoll();
    ShowPaper();
}

void PrinterPanel::PrintRoll() {
    const auto job = services_.Printers->Choose(QPageLayout::Portrait, window_.Widget);
    if (!job) return;
    const QString error = orrindale::PrintRoll(roll_, *job);
    if (!error.isEmpty()) services_.Messages->Error(error);
}

void PrinterPanel::View() {
    if (viewer_ && !viewer_->isVisible()) viewer_->show();
}

} // namespace orrindale
