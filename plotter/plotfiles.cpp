// TplotFM's files: settings, the current plot, plot files and printing.
#include <QFile>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

#include "common/choosers.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "plotter/plotart.h"
#include "plotter/plotfile.h"
#include "plotter/plotwindow.h"

namespace orrindale {

namespace {
const char kFilter[] = "Plotter File (*.ptf);;All Files (*.*)";
const char kOpenFailed[] = "ERROR: Failed to open file";
const char kCorrupt[] = "ERROR: Plotter file data is corrupt";
const char kNotAPlot[] = "not a plot file, or a damaged one";

// Replays a record onto a printed page (the screen's paper is drawn by plotpaper.h).
class PainterReplay final : public ReplaySink {
public:
    // The replay leaves the model's pen as the record last named it.
    PainterReplay(QPainter& p, double sx, double sy, int height, PlotterModel& model)
        : p_(p), sx_(sx), sy_(sy), height_(height), model_(model) {}
    QPoint At(int x, int y) const {
        return {static_cast<int>(x * sx_), height_ - static_cast<int>(y * sy_)};
    }
    void Grid(int g) override {
        if (g <= 0) return;
        const QPen pen = p_.pen();
        // Dots one screen pixel long and two apart, as the paper on screen has them; a pen one
        // printer dot wide would print them too fine to tell from a solid line.
        const double pixel = std::max(1.0, sx_ * plot::kMaxX / plot::kPaperWidth);
        p_.setPen(QPen(QColor(0, 255, 255), pixel, Qt::DotLine, Qt::FlatCap));
        PageGrid(g);
        p_.setPen(pen);
    }
    void Colour(int pen) override {
        model_.penIndex = pen;
        p_.setPen(QPen(plotart::PenColour(pen), p_.pen().widthF()));
    }
    void Dot(int x, int y) override { p_.drawPoint(At(x, y)); }
    void Point(int x0, int y0, int x1, int y1, bool draw) override {
        if (draw) p_.drawLine(At(x0, y0), At(x1, y1));
    }

private:
    void PageGrid(int g) {
        // From half an inch in to the last full cell, as on screen: the sheet's edges, half an
        // inch further, hold no line.
        constexpr int kIn = 250, kLastX = plot::kMaxX - kIn, kLastY = plot::kMaxY - kIn;
        const int step = g == 1 ? 250 : 500;
        for (int y = kIn; y <= kLastY; y += step)
            p_.drawLine(At(kIn, y), At(kLastX, y));
        for (int x = kIn; x <= kLastX; x += step)
            p_.drawLine(At(x, kIn), At(x, kLastY));
    }
    QPainter& p_;
    double sx_, sy_;
    int height_;
    PlotterModel& model_;
};

FileQuestion PlotQuestion(const char* caption, const QString& start) {
    return {caption, start, kFilter, "ptf"};
}
} // namespace

std::vector<StateWrite> TplotFM::WritesAtClose() {
    PlotSettings settings = SettingsOf(model_);
    settings.placed = firstShown_;
    settings.left = x();
    settings.top = y();
    const QStringList settingsLines = ToQStringList(FormatPlotSettings(settings));
    const QStringList plotLines = ToQStringList(FormatPlotRecord(model_.plotRecord));
    return {{files::kCurrentPlot,
             [plotLines](const QString& path) { return SaveScrambledTextList(path, plotLines); }},
            {files::kPlotterSettings, [settingsLines](const QString& path) {
                 return SaveScrambledTextList(path, settingsLines);
             }}};
}

void TplotFM::SaveCurrentPlot() {
    SaveScrambledTextList(services_.SaveStateFile(files::kCurrentPlot),
                          ToQStringList(FormatPlotRecord(model_.plotRecord)));
}

bool TplotFM::LoadPlotFile(const QString& path, bool fromDialog) {
    const Messenger::AskedFrom asked(services_.Messages, this);
    const OpenFailure failure = ReadPlotFile(path, fromDialog);
    if (failure.Failed()) services_.Messages->Error(failure.Text());
    return !failure.Failed();
}

void TplotFM::LoadCurrentPlot() {
    // A kept plot that cannot be read, damaged or not, is put aside and told by the start's
    // notice, which names it: one box for all that went wrong.
    if (ReadPlotFile(services_.StateFile(files::kCurrentPlot), false).Failed())
        services_.StateLoadFailed(files::kCurrentPlot);
}

OpenFailure TplotFM::OpenPlotFile(const QString& path) {
    return ReadPlotFile(path, true);
}

OpenFailure TplotFM::ReadPlotFile(const QString& path, bool fromDialog) {
    QStringList lines;
    if (!LoadScrambledTextList(path, lines, kPlotFileLimits)) {
        OpenFailure failure = ReadFailure(kOpenFailed, path, kPlotFileLimits.MaxBytes, kNotAPlot);
        // A file that could be read but holds no plot is damaged, as one with a bad line is.
        if (failure.Reason == kNotAPlot) failure.Message = kCorrupt;
        return failure;
    }
    std::vector<int32_t> record;
    if (!ParsePlotRecord(ToTextList(lines), record))
        return {kCorrupt, path, "a line holds no plot entry"};
    model_.plotRecord = std::move(record);
    model_.RecordReplaced();
    if (fromDialog) model_.plotFileName = ToBytes(path);
    ReplayPlot();
    // What is drawn next joins the opened plot as its replay will show it.
    if (fromDialog) model_.PenToRecordEnd();
    model_.plotChanged = false;
    return {};
}

void TplotFM::ReplayPlot() {
    paper_.Clear();
    paper_.Replay(model_.plotRecord, model_);
    update();
}

void TplotFM::OpenPlot() {
    const Messenger::AskedFrom asked(services_.Messages, this);
    const QString path =
        services_.Files->OpenFile(PlotQuestion("Open Plotter File", "*.ptf"), this);
    if (!path.isEmpty()) LoadPlotFile(path, true);
}

bool TplotFM::SavePlotAs() {
    const Messenger::AskedFrom asked(services_.Messages, this);
    const QString last = FromBytes(model_.plotFileName);
    const QString start = !last.isEmpty() && QFile::exists(last) ? last : "*.ptf";
    const QString path = services_.Files->SaveFile(PlotQuestion("Save Plotter File", start), this);
    if (path.isEmpty()) return false;
    if (!SaveScrambledTextList(path, ToQStringList(FormatPlotRecord(model_.plotRecord)))) {
        services_.Messages->Error("ERROR: Failed to save file");
        return false;
    }
    model_.plotFileName = ToBytes(path);
    model_.plotChanged = false;
    return true;
}

void TplotFM::ExportPicture(PlotPictureKind kind) {
    const Messenger::AskedFrom asked(services_.Messages, this);
    const bool svg = kind == PlotPictureKind::Svg;
    // Named after the plot's file when it has one; a picture twice the size gets "@2x" before
    // its suffix, as pictures for screens that scale by two are named.
    const QFileInfo plotFile(FromBytes(model_.plotFileName));
    const QString name = model_.plotFileName.empty()
                             ? QStringLiteral("plot")
                             : plotFile.path() + '/' + plotFile.completeBaseName();
    const QString suffix = svg ? ".svg" : kind == PlotPictureKind::Png2x ? "@2x.png" : ".png";
    const FileQuestion question{"Export Picture", name + suffix,
                                svg ? "SVG Picture (*.svg)" : "PNG Picture (*.png)",
                                svg ? "svg" : "png"};
    const QString path = services_.Files->SaveFile(question, this);
    if (path.isEmpty()) return;
    // What the window shows: the lines a grid change wiped off the screen stay out.
    const QString error = ExportPlotPicture(
        path, kind, RecordFrom(model_.plotRecord, model_.sheetStart), model_.penIndex);
    if (!error.isEmpty()) services_.Messages->Error(error);
}

void TplotFM::PrintPlot() {
    const Messenger::AskedFrom asked(services_.Messages, this);
    const auto job = services_.Printers->Choose(QPageLayout::Landscape, this);
    if (!job) return;
    QPagedPaintDevice& printer = job->Device();
    // The sheet is wider than high whatever page the dialog chose: a paper size that is
    // already wide would turn upright in landscape.
    printer.setPageOrientation(QPageLayout::Landscape);
    const QSizeF paper = printer.pageLayout().fullRect().size();
    if (paper.height() > paper.width()) printer.setPageOrientation(QPageLayout::Portrait);
    QPainter p;
    if (!p.begin(&printer)) {
        services_.Messages->Error("ERROR: Printing failed");
        return;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.logicalDpiX());
    PaintPlotPage(p, page.size(), printer.logicalDpiX(), model_.plotRecord, model_);
    p.end();
}

void PaintPlotPage(QPainter& p, QSize page, double dpi, const std::vector<int32_t>& record,
                   PlotterModel& model) {
    const int h = page.height();
    p.setPen(QPen(Qt::black, std::max(1.0, dpi / 150.0)));
    PainterReplay replay(p, double(page.width()) / plot::kMaxX, double(h) / plot::kMaxY, h, model);
    ReplayRecord(record, replay);
}

} // namespace orrindale
