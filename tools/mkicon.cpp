// mkicon: draws the program's icon, a desktop calculator with a program card in its slot, as a
// scalable SVG and as PNGs at the sizes desktops look for. Both come from one list of shapes,
// so the SVG and the PNGs never drift apart.
//
//     mkicon OUTPUT_FOLDER     writes orrindale.svg and <size>.png for each size
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSide = 256; // the drawing's own units
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

struct Shape {
    QRectF Box;
    qreal Radius;
    QColor Fill;
    QColor Stroke; // none when invalid
    qreal StrokeWidth = 0;
};

const QColor kCase(0xd8, 0xcf, 0xbb);
const QColor kCaseEdge(0x4f, 0x48, 0x3e);
const QColor kKeyEdge(0x5c, 0x55, 0x4a);
const QColor kGlow(0x6b, 0xff, 0xa8);

// The display's three rows of figures, as blocks of a few digits each.
void AddDisplay(std::vector<Shape>& shapes) {
    shapes.push_back({{30, 78, 196, 66}, 10, QColor(0x2c, 0x2e, 0x2b), {}, 0});
    shapes.push_back({{40, 86, 176, 50}, 6, QColor(0x0d, 0x24, 0x18), {}, 0});
    const int lengths[3][3] = {{4, 6, 2}, {2, 7, 2}, {5, 3, 2}};
    for (int row = 0; row < 3; ++row) {
        qreal x = 48;
        for (int block = 0; block < 3; ++block) {
            const qreal width = lengths[row][block] * 7.0;
            shapes.push_back({{x, 92.0 + row * 14, width, 8}, 2, kGlow, {}, 0});
            x += width + 8;
        }
    }
}

// Three rows of keys: the number keys light, the last two columns the coloured function keys.
void AddKeys(std::vector<Shape>& shapes) {
    const QColor columns[6] = {QColor(0xf5, 0xf1, 0xe6), QColor(0xf5, 0xf1, 0xe6),
                               QColor(0xf5, 0xf1, 0xe6), QColor(0xf5, 0xf1, 0xe6),
                               QColor(0x3d, 0x6c, 0xb0), QColor(0xdb, 0x76, 0x2a)};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 6; ++column)
            shapes.push_back(
                {{36.0 + column * 31, 156.0 + row * 22, 25, 16}, 4, columns[column], kKeyEdge, 2});
}

std::vector<Shape> Icon() {
    std::vector<Shape> shapes;
    // The program card stands in the slot behind the case's top edge, its stripe showing.
    shapes.push_back({{150, 18, 76, 56}, 5, QColor(0xfb, 0xf8, 0xee), kCaseEdge, 4});
    shapes.push_back({{154, 28, 68, 10}, 0, QColor(0x7a, 0x48, 0x22), {}, 0});
    shapes.push_back({{14, 56, 228, 174}, 24, kCase, kCaseEdge, 6});
    AddDisplay(shapes);
    AddKeys(shapes);
    return shapes;
}

QString Colour(const QColor& colour) {
    return colour.name(QColor::HexRgb);
}

QByteArray Svg(const std::vector<Shape>& shapes) {
    QString svg = QString("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n")
                      .arg(kSide);
    for (const Shape& s : shapes) {
        svg += QString("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"")
                   .arg(s.Box.x())
                   .arg(s.Box.y())
                   .arg(s.Box.width())
                   .arg(s.Box.height())
                   .arg(s.Radius)
                   .arg(Colour(s.Fill));
        if (s.Stroke.isValid())
            svg += QString(" stroke=\"%1\" stroke-width=\"%2\"")
                       .arg(Colour(s.Stroke))
                       .arg(s.StrokeWidth);
        svg += "/>\n";
    }
    return (svg + "</svg>\n").toUtf8();
}

QImage Png(const std::vector<Shape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(size) / kSide, qreal(size) / kSide);
    for (const Shape& s : shapes) {
        painter.setBrush(s.Fill);
        painter.setPen(s.Stroke.isValid() ? QPen(s.Stroke, s.StrokeWidth) : QPen(Qt::NoPen));
        painter.drawRoundedRect(s.Box, s.Radius, s.Radius);
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkicon OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const std::vector<Shape> shapes = Icon();
    QFile svg(folder + "/orrindale.svg");
    if (!svg.open(QIODevice::WriteOnly) || svg.write(Svg(shapes)) < 0) {
        std::fprintf(stderr, "mkicon: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    for (int size : kSizes) {
        const QString png = folder + QString("/%1.png").arg(size);
        if (!Png(shapes, size).save(png, "PNG")) {
            std::fprintf(stderr, "mkicon: cannot write %s\n", qPrintable(png));
            return 1;
        }
    }
    return 0;
}
