#include "panel/printermodel.h"

#include <QPainter>
#include <cstring>

#include "common/lanczos.h"
#include "engine/keys.h"
#include "panel/layout.h"

namespace orrindale {

// clang-format off
const std::array<std::array<uint8_t, 7>, 18> PrinterGlyphs = {{
    {31, 17, 17, 17, 17, 17, 31}, // 0
    {4, 4, 4, 4, 4, 4, 4},        // 1
    {31, 1, 1, 15, 16, 16, 15},   // 2
    {31, 1, 1, 31, 1, 1, 31},     // 3
    {17, 17, 17, 31, 1, 1, 1},    // 4
    {30, 16, 16, 30, 1, 1, 31},   // 5
    {30, 16, 16, 30, 17, 17, 31}, // 6
    {31, 1, 1, 1, 1, 1, 1},       // 7
    {31, 17, 17, 31, 17, 17, 31}, // 8
    {31, 17, 17, 31, 1, 1, 31},   // 9
    {15, 1, 1, 15, 17, 17, 31},   // A, drawn as a
    {16, 16, 16, 30, 17, 17, 31}, // B, drawn as b
    {0, 0, 0, 31, 16, 16, 31},    // C, drawn as c
    {1, 1, 1, 15, 17, 17, 31},    // D, drawn as d
    {31, 16, 16, 31, 16, 16, 31}, // E
    {31, 16, 16, 31, 16, 16, 16}, // F
    {0, 0, 0, 14, 0, 0, 0},       // M, minus
    {0, 0, 0, 0, 0, 0, 12},       // P, decimal point
}};
// clang-format on

namespace {
constexpr int kCharPitch = 45;
constexpr int kDotPitch = 7;
constexpr int kRowPitch = 9;
constexpr int kMargin = 6;
constexpr int kDotWidth = 5, kDotHeight = 8;
} // namespace

int PrinterGlyph(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u == 'M') return 16;
    if (u == 'P') return 17;
    return -1;
}

QImage NewPrintLineBitmap() {
    QImage bitmap(printer::kLineWidth, printer::kLineHeight, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    return bitmap;
}

void RenderPrintLine(QImage& bitmap, const QString& text, const QColor& rim) {
    bitmap.fill(Qt::white);
    QPainter p(&bitmap);
    const int count = std::min<int>(static_cast<int>(text.size()), printer::kLineChars);
    for (int k = 0; k < count; ++k) {
        const int glyph = PrinterGlyph(text[k]);
        if (glyph < 0) continue;
        for (int i = 0; i < 7; ++i) {
            const int bits = PrinterGlyphs[static_cast<size_t>(glyph)][static_cast<size_t>(i)];
            for (int j = 0; j < 5; ++j) {
                if (!(bits & (16 >> j))) continue;
                // Each lower row starts a pixel further left: the type leans to the right.
                const int left = kDotPitch * j + kCharPitch * k - i + kMargin;
                const int top = kRowPitch * i;
                p.fillRect(left, top, kDotWidth, kDotHeight, rim);
                p.fillRect(left + 1, top + 1, kDotWidth - 2, kDotHeight - 2, printer::kDotFill);
            }
        }
    }
}

QImage ScaledPrintLine(QImage& bitmap, const QString& text, QSize size, const QColor& rim) {
    RenderPrintLine(bitmap, text, rim);
    return LanczosResize(bitmap, size.width(), size.height());
}

QImage& PrinterModel::LineBitmap() {
    // Made at the first printed line: a calculator started with an empty roll may never need it.
    if (lineBitmap_.isNull()) lineBitmap_ = NewPrintLineBitmap();
    return lineBitmap_;
}

// ---- The paper
// ------------------------------------------------------------------------------------

PrinterModel::PrinterModel(Calculator& calc, QStringList& roll, const QImage& untouchedPaper,
                           Panel panel)
    : calc_(calc), roll_(roll), panel_(std::move(panel)) {
    untouched_ = untouchedPaper.convertToFormat(
        untouchedPaper.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (untouched_.isNull()) {
        untouched_ = QImage(layout::kPaper.Width, layout::kPaper.Height, QImage::Format_RGB32);
        untouched_.fill(Qt::white);
    }
    scale_ = untouched_.devicePixelRatio() >= 2 ? 2 : 1;
    // Scratch space for the scroll.
    scroll_ = QImage(untouched_.size(), untouched_.format());
    scroll_.fill(Qt::white);
    ResetPaper();
}

void PrinterModel::ResetPaper() {
    paper_ = untouched_;
    paperTop_ = layout::kPaperTopAtReset;
}

void PrinterModel::FeedPaper() {
    // Once the paper fills the picture, its edge is taken as one line lower than the top, so
    // every feed moves the same 13 rows up and the edge stays where it is.
    if (paperTop_ == printer::kTopAtFullPaper)
        paperTop_ = printer::kTopAtFullPaper + printer::kAdvance;
    // In the picture's own rows: a paper picture at 2x has two for every row of the panel.
    const int top = paperTop_ * scale_, advance = printer::kAdvance * scale_;
    const int last = std::min((printer::kLastPaperRow + 1) * scale_, paper_.height()) - 1;
    const size_t rowBytes = static_cast<size_t>(paper_.bytesPerLine());
    for (int y = top; y <= last; ++y)
        std::memcpy(scroll_.scanLine(y - top), paper_.constScanLine(y), rowBytes);
    // The rows below the copy become the new paper. They are whitened each time: after a
    // paper reset they would otherwise still hold the old roll from earlier feeds.
    for (int y = last - top + 1; y <= last - top + advance; ++y)
        if (y < scroll_.height()) std::memset(scroll_.scanLine(y), 0xFF, rowBytes);
    paperTop_ -= printer::kAdvance;
    for (int y = 0; y <= last - top + advance; ++y)
        std::memcpy(paper_.scanLine(y + top - advance), scroll_.constScanLine(y), rowBytes);
}

void PrinterModel::PrintOnPaper(const QString& line) {
    const layout::Rect at = layout::kPrintLine;
    // Shrunk straight from the full-size line to the paper's own pixels, so a 2x paper gets
    // dots resolved at 2x rather than the 1x line enlarged.
    QImage scaled =
        ScaledPrintLine(LineBitmap(), line, QSize(at.Width * scale_, at.Height * scale_));
    scaled.setDevicePixelRatio(scale_);
    QPainter p(&paper_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(at.Left, at.Top, scaled);
}

void PrinterModel::DrawRollEnd() {
    ResetPaper();
    const int n = static_cast<int>(roll_.size());
    const int first = n > printer::kShownAtStartUp ? n - printer::kShownAtStartUp : 0;
    for (int i = first; i < n; ++i) {
        PrintOnPaper(roll_[i]);
        if (i + 1 < n) FeedPaper();
    }
}

void PrinterModel::DiscardRoll() {
    ResetPaper();
    roll_.clear();
    if (panel_.RollChanged) panel_.RollChanged();
}

void PrinterModel::Keep(const QString& line) {
    if (roll_.size() >= printer::kRollLimit) return; // printed, but the roll is full
    roll_.append(line);
    if (panel_.RollChanged) panel_.RollChanged();
}

// ---- The feed
// ---------------------------------------------------------------------------------------

bool PrinterModel::Tick() {
    if (calc_.ListingMode > 0 && !ListingTick()) return false;
    // The queue may have been emptied under a running feed (power switched on again).
    if (calc_.PrintQueue.empty()) return false;
    const QString line = QString::fromStdString(calc_.PrintQueue.front());
    FeedPaper();
    PrintOnPaper(line);
    Keep(line);
    calc_.PrintQueue.pop_front();
    if (calc_.ListingMode != 0) return true;
    if ((panel_.FeedHeld && panel_.FeedHeld()) ||
        (panel_.LastKey && panel_.LastKey() == pos::PrintSpace)) {
        // Held down, the feed button or PRINT/SPACE keeps the paper moving.
        calc_.PrintQueue.push_back(kBlankPrintLine);
        return true;
    }
    return !calc_.PrintQueue.empty();
}

bool PrinterModel::ListingTick() {
    std::string line = calc_.FormatProgramLine(0);
    if (line.ends_with(FormatKeyCode(KeyCodeOf[pos::End]))) {
        // The listing ends at END; the END step itself is printed only when a register button
        // is latched.
        calc_.HaltListing();
        bool any = false;
        for (int which = 0; which < 3; ++which)
            any = any || (panel_.PrintSwitch && panel_.PrintSwitch(which));
        if (!any) line.clear();
    }
    AdvancePc(calc_.PcRow, calc_.PcStep);
    if (line.empty()) {
        calc_.HaltListing();
        if (panel_.RedrawDisplay) panel_.RedrawDisplay();
        return false;
    }
    calc_.PrintQueue.push_back(line);
    if (panel_.RedrawDisplay) panel_.RedrawDisplay();
    return true;
}

// ---- Listings
// ----------------------------------------------------------------------------------------

bool PrinterModel::StartListing(bool printerOn) {
    return printerOn && calc_.BeginListing();
}

} // namespace orrindale
