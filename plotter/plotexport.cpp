#include "plotter/plotexport.h"

#include <cstdio>

#include "common/atomicfile.h"
#include "plotter/plotfile.h"
#include "plotter/plottermodel.h"

namespace orrindale {

namespace {
// Paper pixels per plot unit: 660 / 7500 and 440 / 5000 alike, so one factor turns both axes
// and the record's integers go into the paths as they are.
constexpr char kToPaper[] = "matrix(0.088 0 0 -0.088 0 440)";
// One paper pixel in plot units (1 / 0.088), the width the pens draw on screen.
constexpr char kPenWidth[] = "11.3636";
// The grid as the paper draws it: one-pixel dots every third pixel, the first line half an
// inch in, the dots of the rows ending at pixel 637 and of the columns at 417.
constexpr int kGridStart = 22, kGridRowEnd = 638, kGridColumnEnd = 417;

std::string Colour(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xffffff));
    return text;
}

std::string GridSvg(int grid) {
    const int step = grid == 1 ? 22 : 44;
    std::string d;
    for (int y = kGridStart; y < plot::kPaperHeight; y += step)
        d += "M" + std::to_string(kGridStart) + " " + std::to_string(y) + ".5H" +
             std::to_string(kGridRowEnd);
    for (int x = kGridStart; x < plot::kPaperWidth; x += step)
        d += "M" + std::to_string(x) + ".5 " + std::to_string(kGridStart) + "V" +
             std::to_string(kGridColumnEnd);
    return "<path fill=\"none\" stroke=\"#00ffff\" stroke-width=\"1\" stroke-dasharray=\"1 2\" "
           "d=\"" +
           d + "\"/>\n";
}

// Writes the replay as it comes: a path grows while the pen stays down in one colour.
class SvgReplay final : public ReplaySink {
public:
    SvgReplay(std::string& out, int pen) : out_(out), pen_(pen) {}
    ~SvgReplay() override { EndGroup(); }

    void Grid(int grid) override {
        // Over what is drawn so far, as the paper draws a grid named later in the record.
        EndGroup();
        if (grid > 0) out_ += GridSvg(grid);
    }
    void Colour(int pen) override {
        EndPath();
        pen_ = pen;
    }
    void Dot(int x, int y) override {
        // A dot within a stretch waits for the stretch's path, which stays whole.
        dots_ += PathStart() + "M" + Place(x, y) + "L" + Place(x, y) + "\"/>\n";
        if (!open_) FlushDots();
    }
    void Point(int x0, int y0, int x1, int y1, bool draw) override {
        if (!draw) {
            EndPath();
            return;
        }
        if (!open_) {
            BeginGroup();
            out_ += PathStart() + "M" + Place(x0, y0);
            open_ = true;
        }
        out_ += "L" + Place(x1, y1);
    }

private:
    static std::string Place(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }
    std::string PathStart() const {
        return "<path stroke=\"" + orrindale::Colour(plot::PenRgb(pen_)) + "\" d=\"";
    }
    void BeginGroup() {
        if (grouped_) return;
        out_ += std::string("<g transform=\"") + kToPaper + "\" fill=\"none\" stroke-width=\"" +
                kPenWidth + "\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";
        grouped_ = true;
    }
    void EndPath() {
        if (open_) out_ += "\"/>\n";
        open_ = false;
        FlushDots();
    }
    void FlushDots() {
        if (dots_.empty()) return;
        BeginGroup();
        out_ += dots_;
        dots_.clear();
    }
    void EndGroup() {
        EndPath();
        if (grouped_) out_ += "</g>\n";
        grouped_ = false;
    }

    std::string& out_;
    std::string dots_;
    int pen_;
    bool open_ = false, grouped_ = false;
};
} // namespace

std::string PlotSvg(const std::vector<int32_t>& record, int startPen) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"15in\" "
                      "height=\"10in\" viewBox=\"0 0 660 440\">\n"
                      "<title>Plot</title>\n"
                      "<rect width=\"660\" height=\"440\" fill=\"#c0c0c0\"/>\n"
                      "<rect x=\"1\" y=\"1\" width=\"658\" height=\"438\" fill=\"#ffffff\"/>\n";
    {
        SvgReplay replay(out, startPen);
        ReplayRecord(record, replay);
    }
    out += "</svg>\n";
    return out;
}

bool WritePlotSvg(const std::string& path, const std::vector<int32_t>& record, int startPen) {
    return WriteFileAtomically(path, PlotSvg(record, startPen));
}

} // namespace orrindale
