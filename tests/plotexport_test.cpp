// Plot pictures: the SVG read back gives the lines a replay draws, the PNG's ink lies on them at
// either size, a picture that cannot be written says so, and keyrun draws the same SVG as the
// window exports.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <gtest/gtest.h>

#include "plotter/plotexport.h"
#include "plotter/plotfile.h"
#include "plotter/plotpaper.h"
#include "plotter/plottermodel.h"

using namespace orrindale;

namespace {

struct Segment {
    uint32_t rgb;
    int x0, y0, x1, y1;
    bool operator==(const Segment&) const = default;
};

// What a replay draws, a dot as a line of no length.
class Segments final : public ReplaySink {
public:
    explicit Segments(int pen) : pen_(pen) {}
    void Grid(int) override {}
    void Colour(int pen) override { pen_ = pen; }
    void Dot(int x, int y) override { list.push_back({plot::PenRgb(pen_), x, y, x, y}); }
    void Point(int x0, int y0, int x1, int y1, bool draw) override {
        if (draw) list.push_back({plot::PenRgb(pen_), x0, y0, x1, y1});
    }
    std::vector<Segment> list;

private:
    int pen_;
};

std::vector<Segment> Replayed(const std::vector<int32_t>& record, int pen) {
    Segments segments(pen);
    ReplayRecord(record, segments);
    return segments.list;
}

// A blue square, a grid, a red sine and a black dot.
std::vector<int32_t> SquareAndSine() {
    using namespace plot;
    std::vector<int32_t> r = {kPenDown, kGridBase, kColourBase - 2, kPenUp, PointEntry(1000, 1000),
                              kPenDown};
    for (const auto& [x, y] : {std::pair{3000, 1000}, {3000, 3000}, {1000, 3000}, {1000, 1000}})
        r.push_back(PointEntry(x, y));
    r.insert(r.end(), {kPenUp, kGridBase - 1, PointEntry(3500, 2500), kColourBase, kPenDown});
    for (int deg = 0; deg <= 360; deg += 8)
        r.push_back(PointEntry(3500 + deg * 10, 2500 + static_cast<int>(std::lround(
                                                           1000 * std::sin(deg * M_PI / 180)))));
    r.insert(r.end(), {kPenUp, kColourBase - 3, PointEntry(7000, 4500), kDot});
    return r;
}

// The pen paths of an SVG (those in a group placed by a transform), read back as lines in plot
// units; the transform and the count of grid paths beside them.
struct ReadBack {
    std::vector<Segment> lines;
    int paths = 0, gridPaths = 0;
    QString transform;
};

void AddPath(const QString& stroke, const QString& d, ReadBack& back) {
    const std::string text = d.toStdString();
    const char* at = text.c_str();
    std::vector<std::pair<int, int>> points;
    while (*at) {
        const char command = *at++;
        ASSERT_TRUE(command == 'M' || command == 'L') << text;
        char* end = nullptr;
        const int x = static_cast<int>(std::strtol(at, &end, 10));
        const int y = static_cast<int>(std::strtol(end, &end, 10));
        ASSERT_TRUE(command == 'L' || points.empty()) << "one stretch a path: " << text;
        points.emplace_back(x, y);
        at = end;
    }
    const uint32_t rgb = stroke.mid(1).toUInt(nullptr, 16);
    for (size_t i = 1; i < points.size(); ++i)
        back.lines.push_back(
            {rgb, points[i - 1].first, points[i - 1].second, points[i].first, points[i].second});
    ++back.paths;
}

ReadBack ReadSvg(const QByteArray& svg) {
    ReadBack back;
    QXmlStreamReader xml(svg);
    QString transform;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == u"g") transform = a.value("transform").toString();
        if (xml.name() != u"path") continue;
        if (a.hasAttribute("stroke-dasharray")) {
            ++back.gridPaths;
            continue;
        }
        back.transform = transform;
        AddPath(a.value("stroke").toString(), a.value("d").toString(), back);
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return back;
}

// A point in plot units on a picture of the sheet drawn at a scale.
QPointF OnPaper(double x, double y, int scale) {
    return {x * 0.088 * scale, (440 - y * 0.088) * scale};
}

// The distance in pixels from a pixel's centre to a segment drawn at a scale.
double Distance(QPointF p, const Segment& s, int scale) {
    const QPointF a = OnPaper(s.x0, s.y0, scale), ab = OnPaper(s.x1, s.y1, scale) - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 == 0 ? 0 : std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0);
    const QPointF off = p - (a + t * ab);
    return std::hypot(off.x(), off.y());
}

} // namespace

TEST(PlotPicture, SvgPathsReadBackAreTheRecordsLines) {
    const std::vector<int32_t> record = SquareAndSine();
    const ReadBack back = ReadSvg(QByteArray::fromStdString(PlotSvg(record, 1)));
    EXPECT_EQ(back.lines, Replayed(record, 1));
    EXPECT_EQ(back.paths, 3); // the square, the sine, the dot
    EXPECT_EQ(back.gridPaths, 1);
    // The group takes plot units onto the 660 x 440 sheet: (x, y) to (0.088 x, 440 - 0.088 y).
    EXPECT_EQ(back.transform, "matrix(0.088 0 0 -0.088 0 440)");
    EXPECT_EQ(0.088 * plot::kMaxX, plot::kPaperWidth);
    EXPECT_EQ(0.088 * plot::kMaxY, plot::kPaperHeight);
}

TEST(PlotPicture, PngInkLiesOnTheRecordsLinesAtEitherSize) {
    QTemporaryDir dir;
    const std::vector<int32_t> record = SquareAndSine();
    const std::vector<Segment> lines = Replayed(record, 1);
    struct Case {
        const char* name;
        PlotPictureKind kind;
        int scale;
    };
    for (const auto& [name, kind, scale] : {Case{"plot.png", PlotPictureKind::Png, 1},
                                            Case{"plot@2x.png", PlotPictureKind::Png2x, 2}}) {
        const QString path = dir.filePath(name);
        ASSERT_EQ(ExportPlotPicture(path, kind, record, 1), QString());
        const QImage png(path, "PNG");
        ASSERT_EQ(png.size(), QSize(660 * scale, 440 * scale)) << name;
        // Every line is inked at its ends and its middle in its colour...
        const auto inked = [&png, scale](QPointF at, uint32_t rgb) {
            for (int dy = -scale; dy <= scale; ++dy)
                for (int dx = -scale; dx <= scale; ++dx)
                    if ((png.pixel(at.toPoint() + QPoint(dx, dy)) & 0xffffff) == rgb) return true;
            return false;
        };
        for (const Segment& s : lines)
            for (double t : {0.0, 0.5, 1.0})
                EXPECT_TRUE(inked(
                    OnPaper(s.x0 + t * (s.x1 - s.x0), s.y0 + t * (s.y1 - s.y0), scale), s.rgb))
                    << name << " " << s.x0 << "," << s.y0 << " " << t;
        // ...and no pen's ink lies off the lines of its colour: the paper puts a pen position on
        // the pixel it falls in and the pen covers that pixel, so ink stands up to two pixels
        // from the exact line.
        int stray = 0;
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x) {
                const uint32_t rgb = png.pixel(x, y) & 0xffffff;
                if (rgb == 0xffffff || rgb == 0xc0c0c0 || rgb == 0x00ffff) continue;
                double nearest = 1e9;
                for (const Segment& s : lines)
                    if (s.rgb == rgb)
                        nearest = std::min(nearest, Distance(QPointF(x + 0.5, y + 0.5), s, scale));
                stray += nearest >= 2.0 * scale;
            }
        EXPECT_EQ(stray, 0) << name;
    }
}

TEST(PlotPicture, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.svg"));
    struct Case {
        const char* name;
        PlotPictureKind kind;
    };
    for (const Case& c : {Case{"no folder/plot.svg", PlotPictureKind::Svg},
                          Case{"no folder/plot.png", PlotPictureKind::Png},
                          Case{"taken.svg", PlotPictureKind::Svg}}) {
        EXPECT_EQ(ExportPlotPicture(dir.filePath(c.name), c.kind, SquareAndSine(), 0),
                  "ERROR: Failed to export picture")
            << c.name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"taken.svg"}));
    EXPECT_TRUE(QDir(dir.filePath("taken.svg")).isEmpty());
}
