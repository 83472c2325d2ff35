// The Lanczos resampler: its taps, and whole pictures against ImageMagick's
// "-filter Lanczos -resize" on the same input.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <numeric>

#include "common/lanczos.h"
#include "panel/printermodel.h"

namespace orrindale {
namespace {

const char* const kConvert = "/usr/bin/convert";

TEST(LanczosAxis, TapsStayInsideAndSumToOne) {
    struct Case {
        int from, to;
    };
    for (Case c :
         {Case{687, 90}, Case{72, 8}, Case{72, 14}, Case{10, 37}, Case{5, 5}, Case{1, 9}}) {
        const std::vector<LanczosTaps> axis = LanczosAxis(c.from, c.to);
        ASSERT_EQ(static_cast<int>(axis.size()), c.to);
        for (const LanczosTaps& t : axis) {
            ASSERT_FALSE(t.Weights.empty());
            EXPECT_GE(t.First, 0);
            EXPECT_LE(t.First + static_cast<int>(t.Weights.size()), c.from);
            EXPECT_NEAR(std::accumulate(t.Weights.begin(), t.Weights.end(), 0.0), 1.0, 1e-9)
                << c.from << " -> " << c.to;
        }
    }
}

TEST(LanczosResize, SameSizeKeepsThePictureAndFlatColourStaysFlat) {
    QImage flat(40, 12, QImage::Format_RGB32);
    flat.fill(QColor(96, 128, 200));
    const QImage smaller = LanczosResize(flat, 7, 5);
    for (int y = 0; y < smaller.height(); ++y)
        for (int x = 0; x < smaller.width(); ++x)
            ASSERT_EQ(smaller.pixel(x, y), qRgb(96, 128, 200));
    QImage line = NewPrintLineBitmap();
    RenderPrintLine(line, "M1P2345E67");
    EXPECT_EQ(LanczosResize(line, line.width(), line.height()), line);
    EXPECT_TRUE(LanczosResize(QImage(), 5, 5).isNull());
    EXPECT_TRUE(LanczosResize(flat, 0, 5).isNull());
}

// A picture with hard edges, fine detail and smooth ramps in all three channels.
QImage TestPicture() {
    QImage picture(61, 43, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 255) / 60, (x ^ y) & 1 ? 230 : 20, (y * 6) % 256));
    QPainter p(&picture);
    p.fillRect(20, 10, 9, 17, Qt::black);
    p.fillRect(35, 5, 3, 30, Qt::white);
    return picture;
}

// The largest difference of any channel of any pixel.
int LargestDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

TEST(LanczosResize, AgreesWithImageMagick) {
    if (!QFile::exists(kConvert)) GTEST_SKIP() << "ImageMagick's convert is not installed";
    QTemporaryDir dir;
    QImage line = NewPrintLineBitmap();
    RenderPrintLine(line, "M1P23456789ABCD");
    struct Case {
        const char* name;
        QImage source;
        int width, height;
    };
    const Case cases[] = {
        {"line to paper", line, 90, 8},           {"line to viewer", line, 132, 14},
        {"line to printer", line, 1800, 130},     {"shrink both", TestPicture(), 17, 11},
        {"enlarge both", TestPicture(), 150, 97}, {"wider, lower", TestPicture(), 100, 20},
    };
    for (const Case& c : cases) {
        const QString in = dir.filePath("in.png"), out = dir.filePath("out.png");
        ASSERT_TRUE(c.source.save(in));
        QFile::remove(out);
        const QString size = QString("%1x%2!").arg(c.width).arg(c.height);
        ASSERT_EQ(QProcess::execute(kConvert, {in, "-filter", "Lanczos", "-resize", size, out}), 0)
            << c.name;
        const QImage expected = QImage(out).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(expected.size(), QSize(c.width, c.height)) << c.name;
        EXPECT_LE(LargestDifference(LanczosResize(c.source, c.width, c.height), expected), 1)
            << c.name;
    }
}

} // namespace
} // namespace orrindale
