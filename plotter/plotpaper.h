// The plotter window's sheet of paper: 660 x 440 window pixels (44 an inch), drawn at the
// window's picture scale. At scale 2 the image has twice the pixels and device pixel ratio 2,
// and the pen's lines are placed by its own finer pixels, so they stay crisp on screens that
// scale by two. Pens draw one window pixel wide at either scale.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "plotter/plotexport.h"

class QPainter;

namespace orrindale {

class PlotterModel;

class PlotPaper {
public:
    explicit PlotPaper(int scale = 1);

    const QImage& Image() const { return image_; }
    // A blank sheet: white with a grey edge.
    void Clear();
    // The dotted grid: none for 0, every half inch for 1, every inch above.
    void Grid(int grid);
    // A line or a dot of a pen at pen positions in plot units.
    void Line(int pen, int x0, int y0, int x1, int y1);
    void Dot(int pen, int x, int y);
    // Draws a plot record over the sheet, starting with the model's pen. The model's pen and
    // grid end as the record last named them, so what is drawn next matches what was loaded.
    void Replay(const std::vector<int32_t>& record, PlotterModel& model);

private:
    friend class PaperReplay;
    // A painter in the image's own pixels whose pen covers the pixels the once-size pen covers
    // scaled up.
    void BeginPen(QPainter& painter, int pen);
    // A pen position in the image's own pixels, the same for drawing as the pen moves and for
    // a replay, so a reopened plot lands on the pixels it was drawn on.
    QPoint Pixel(int x, int y) const;

    int scale_;
    QImage image_;
};

// The record replayed on a fresh sheet as the window replays an opened plot, at a scale (1: the
// window's paper, 2: twice its pixels); startPen draws until the record names a pen.
QImage PlotPicture(const std::vector<int32_t>& record, int startPen, int scale);

// Writes the record as a picture of that kind, replacing the file atomically. Empty on success,
// otherwise the message for the user.
QString ExportPlotPicture(const QString& path, PlotPictureKind kind,
                          const std::vector<int32_t>& record, int startPen);

} // namespace orrindale
