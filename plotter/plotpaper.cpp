#include "plotter/plotpaper.h"

#include <QPainter>

#include "common/atomicfile.h"
#include "common/hpdata_qt.h"

#include "plotter/plotart.h"
#include "plotter/plotfile.h"
#include "plotter/plottermodel.h"

namespace orrindale {

namespace {
const QColor kEdge(192, 192, 192), kGridColour(0, 255, 255);
// The grid's dotted lines: a dot every third pixel from the first line's start.
constexpr int kGridStart = 22, kGridRight = 637, kGridBottom = 417, kDotStep = 3;
} // namespace

// Replays onto the sheet, leaving the model's pen and grid as the record names them.
class PaperReplay final : public ReplaySink {
public:
    PaperReplay(PlotPaper& paper, PlotterModel& model) : paper_(paper), model_(model) {
        paper_.BeginPen(painter_, model_.penIndex);
    }
    void Grid(int g) override {
        model_.gridIndex = g;
        painter_.end();
        paper_.Grid(g);
        paper_.BeginPen(painter_, model_.penIndex);
    }
    void Colour(int pen) override {
        model_.penIndex = pen;
        painter_.setPen(QPen(plotart::PenColour(pen), painter_.pen().widthF()));
    }
    void Dot(int x, int y) override { painter_.drawPoint(paper_.Pixel(x, y)); }
    void Point(int x0, int y0, int x1, int y1, bool draw) override {
        if (draw) painter_.drawLine(paper_.Pixel(x0, y0), paper_.Pixel(x1, y1));
    }

private:
    PlotPaper& paper_;
    PlotterModel& model_;
    QPainter painter_;
};

PlotPaper::PlotPaper(int scale)
    : scale_(scale),
      image_(plot::kPaperWidth * scale, plot::kPaperHeight * scale, QImage::Format_RGB32) {
    image_.setDevicePixelRatio(scale);
}

void PlotPaper::Clear() {
    image_.fill(kEdge);
    // In window pixels: the edge is one window pixel wide at either scale.
    QPainter(&image_).fillRect(1, 1, plot::kPaperWidth - 2, plot::kPaperHeight - 2, Qt::white);
}

void PlotPaper::Grid(int grid) {
    if (grid <= 0) return;
    const int step = grid == 1 ? 22 : 44;
    // Dots of one window pixel, as a dotted pen draws them at once size; a pen dotted at twice
    // the size would make dashes of them.
    QPainter p(&image_);
    for (int y = kGridStart; y < plot::kPaperHeight; y += step)
        for (int x = kGridStart; x <= kGridRight; x += kDotStep)
            p.fillRect(x, y, 1, 1, kGridColour);
    for (int x = kGridStart; x < plot::kPaperWidth; x += step)
        for (int y = kGridStart; y <= kGridBottom; y += kDotStep)
            p.fillRect(x, y, 1, 1, kGridColour);
}

void PlotPaper::BeginPen(QPainter& painter, int pen) {
    painter.begin(&image_);
    if (scale_ != 1) {
        // A pen as wide as the scale is centred on the position; moved half its width, it
        // covers rows 2y and 2y + 1 where the once-size pen covers row y.
        painter.scale(1.0 / scale_, 1.0 / scale_);
        painter.translate(scale_ / 2, scale_ / 2);
    }
    painter.setPen(QPen(plotart::PenColour(pen), scale_));
}

QPoint PlotPaper::Pixel(int x, int y) const {
    const int64_t w = plot::kPaperWidth * scale_, h = plot::kPaperHeight * scale_;
    return {static_cast<int>(x * w / plot::kMaxX),
            static_cast<int>(h - static_cast<int64_t>(y) * h / plot::kMaxY)};
}

void PlotPaper::Line(int pen, int x0, int y0, int x1, int y1) {
    QPainter p;
    BeginPen(p, pen);
    p.drawLine(Pixel(x0, y0), Pixel(x1, y1));
}

void PlotPaper::Dot(int pen, int x, int y) {
    QPainter p;
    BeginPen(p, pen);
    p.drawPoint(Pixel(x, y));
}

void PlotPaper::Replay(const std::vector<int32_t>& record, PlotterModel& model) {
    PaperReplay replay(*this, model);
    ReplayRecord(record, replay);
}

QImage PlotPicture(const std::vector<int32_t>& record, int startPen, int scale) {
    PlotterModel scratch;
    scratch.penIndex = startPen;
    PlotPaper paper(scale);
    paper.Clear();
    paper.Replay(record, scratch);
    QImage image = paper.Image();
    // Printed, the picture is as large as the plotter's sheet: 44 paper pixels an inch.
    const int dotsPerMeter = static_cast<int>(44 * scale / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

QString ExportPlotPicture(const QString& path, PlotPictureKind kind,
                          const std::vector<int32_t>& record, int startPen) {
    bool written = false;
    if (kind == PlotPictureKind::Svg) {
        written = WritePlotSvg(NativePath(path), record, startPen);
    } else {
        const std::string png =
            EncodePng(PlotPicture(record, startPen, kind == PlotPictureKind::Png2x ? 2 : 1));
        written = !png.empty() && WriteFileAtomically(NativePath(path), png);
    }
    return written ? QString() : "ERROR: Failed to export picture";
}

} // namespace orrindale
