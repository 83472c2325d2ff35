#include "panel/display.h"

#include <QPainter>
#include <algorithm>

namespace orrindale {

namespace {
const QColor kPowerLineGreen(0, 255, 0);
constexpr int kWarmStep = 5;
constexpr int kCoolStep = 10;
constexpr int kCollapseStart = 20;
constexpr int kCollapseStep = 11;
constexpr int kCollapseEnd = 86;
constexpr int kWarmEnough = 80;
} // namespace

DisplayRenderer::DisplayRenderer() : picture_(kWidth, kHeight, QImage::Format_RGB32) {
    picture_.fill(Qt::black);
}

void DisplayRenderer::SetGlyphSheet(const QImage& sheet) {
    // A sheet drawn at 2x makes the display picture 2x too; its place stays in logical pixels.
    scale_ = sheet.devicePixelRatio() >= 2 ? 2 : 1;
    picture_ = QImage(kWidth * scale_, kHeight * scale_, QImage::Format_RGB32);
    picture_.setDevicePixelRatio(scale_);
    picture_.fill(Qt::black);
    dark_ = true;
    glyphMaster_ = sheet.convertToFormat(QImage::Format_RGB32);
    glyphSheet_ = glyphMaster_.copy();
    Recolour();
}

int DisplayRenderer::GlyphOf(char symbol) {
    if (symbol >= '0' && symbol <= '9') return symbol - '0';
    switch (symbol) {
    case 'A': return 10;
    case 'B': return 11;
    case 'C': return 12;
    case 'D': return 13;
    case 'P': return 14;
    case 'M': return 15;
    default: return -1;
    }
}

void DisplayRenderer::Clear() {
    shown_ = {};
    // A running program blanks its display at nearly every step.
    if (dark_) return;
    picture_.fill(Qt::black);
    dark_ = true;
}

void DisplayRenderer::Draw(Calculator& calc) {
    Clear();
    if (!calc.DisplayShowsLines() || DisplayBlanked) return;
    DisplayTexts lines = calc.TakeDisplayLines();
    shown_ = lines;
    for (int line = 0; line < 3; ++line)
        DrawLine(lines[static_cast<size_t>(line)], line);
}

void DisplayRenderer::DrawLine(const std::string& text, int line) {
    if (glyphSheet_.isNull() || line < 0 || line > 2) return;
    dark_ = false;
    const int s = scale_; // device pixels per logical pixel, in picture and sheet alike
    const int y = kLineY[line] * s;
    for (size_t k = 0; k < text.size(); ++k) {
        const int glyph = GlyphOf(text[k]);
        if (glyph < 0) continue;
        const int x = (kFirstCellX + kCellPitch * static_cast<int>(k)) * s;
        for (int gy = 0; gy < kGlyphHeight * s; ++gy) {
            for (int gx = 0; gx < kGlyphWidth * s; ++gx) {
                const int px = x + gx, sx = kCellPitch * glyph * s + gx;
                if (px >= picture_.width() || sx >= glyphSheet_.width() ||
                    gy >= glyphSheet_.height())
                    continue; // cells beyond the right edge are cut off
                picture_.setPixel(px, y + gy, glyphSheet_.pixel(sx, gy));
            }
        }
    }
}

void DisplayRenderer::Recolour() {
    if (glyphMaster_.isNull()) return;
    const int dim = std::max(DimLevel, 0);
    for (int y = 0; y < glyphMaster_.height(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(glyphMaster_.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(glyphSheet_.scanLine(y));
        for (int x = 0; x < glyphMaster_.width(); ++x) {
            dst[x] = qRgb(std::max(qRed(src[x]) - dim, 0), std::max(qGreen(src[x]) - dim, 0),
                          std::max(qBlue(src[x]) - dim, 0));
        }
    }
}

void DisplayRenderer::PowerOn() {
    CollapseInset = 0;
}

bool DisplayRenderer::PowerOff() {
    DisplayBlanked = false;
    Clear();
    if (DimLevel >= kWarmEnough) return false;
    CollapseInset = kCollapseStart;
    return true;
}

bool DisplayRenderer::BrightnessTick(Calculator& calc, bool draw) {
    if (CollapseInset <= 0) {
        if (DimLevel < 0) return false;
        DimLevel -= kWarmStep;
        if (DimLevel < 0) return false;
        Recolour();
        if (draw) Draw(calc);
        return true;
    }
    if (CollapseInset < kCollapseEnd) {
        QPainter p(&picture_);
        p.setPen(Qt::black);
        p.drawLine(CollapseInset, kCollapseY, kWidth - CollapseInset, kCollapseY);
        CollapseInset += kCollapseStep;
        p.setPen(kPowerLineGreen);
        p.drawLine(CollapseInset, kCollapseY, kWidth - CollapseInset, kCollapseY);
        dark_ = false;
        return true;
    }
    CollapseInset = 0;
    Clear();
    return false;
}

bool DisplayRenderer::DimTick() {
    DimLevel += kCoolStep;
    if (DimLevel > 254) {
        DimLevel = 255;
        return false;
    }
    return true;
}

} // namespace orrindale
