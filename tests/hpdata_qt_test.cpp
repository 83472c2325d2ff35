// The QString and QImage faces of the file routines.
#include "common/hpdata_qt.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "panel_test_util.h"
#include "tools/picturefiles.h"

namespace orrindale {
namespace {

using testing::TempFolder;

TEST(ScrambledTextListQt, Latin1SurvivesWiderCharactersLoseTheirHighBits) {
    TempFolder dir;
    const QString path = QString::fromStdString(dir.File("list.ini"));
    const QChar eAcute(233);
    const QChar wide(0x01E9); // low eight bits are 233 as well
    ASSERT_TRUE(SaveScrambledTextList(path, QStringList{QString(eAcute), QString(wide)}));
    QStringList back;
    ASSERT_TRUE(LoadScrambledTextList(path, back));
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0], QString(eAcute));
    EXPECT_NE(back[1], QString(wide));
    EXPECT_EQ(back[1], QString(eAcute));
}

TEST(ScrambledTextListQt, FailedLoadLeavesTheList) {
    TempFolder dir;
    QStringList list{"keep"};
    EXPECT_FALSE(LoadScrambledTextList(QString::fromStdString(dir.File("absent")), list));
    EXPECT_EQ(list, QStringList{"keep"});
}

TEST(PictureQt, RgbaPixelsBecomeAnIndependentQImage) {
    QImage image;
    {
        RgbaImage rgba;
        rgba.Width = 2;
        rgba.Height = 1;
        rgba.Pixels = {255, 0, 0, 255, 0, 0, 255, 128};
        image = ToQImage(rgba, QImage::Format_RGBA8888);
    } // the source pixels are gone; the picture must not point into them
    ASSERT_EQ(image.size(), QSize(2, 1));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0, 255));
    EXPECT_EQ(image.pixelColor(1, 0), QColor(0, 0, 255, 128));
    EXPECT_TRUE(ToQImage(RgbaImage{}, QImage::Format_RGB888).isNull());
}

TEST(PictureQt, TheSharpPictureIsTakenOnlyAtScaleTwoAndOnlyAtTwiceTheSize) {
    TempFolder dir;
    const QSize once(30, 20);
    auto write = [&dir](const char* name, QSize size) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        testing::WriteRaw(dir.File(name), testing::Scrambled(png.toStdString()));
        return QString::fromStdString(dir.File(name));
    };
    const struct {
        QString path;
        int scale;
        bool taken;
    } cases[] = {
        {write("twice.dat", once * 2), 2, true},
        {write("twice.dat", once * 2), 1, false},
        {write("wrong.dat", QSize(60, 30)), 2, false},
        {write("once.dat", once), 2, false},
        {QString::fromStdString(dir.File("absent.dat")), 2, false},
    };
    for (const auto& c : cases) {
        const QImage sharp = LoadSharpPicture(c.path, once, c.scale);
        EXPECT_EQ(!sharp.isNull(), c.taken) << c.path.toStdString() << " at " << c.scale;
        if (c.taken) {
            EXPECT_EQ(sharp.devicePixelRatio(), 2);
            EXPECT_EQ(sharp.deviceIndependentSize().toSize(), once);
        }
    }
}

// The generators' unfiltered PNGs read back exactly, colour order and alpha included.
TEST(PictureQt, QuickPngsReadBackPixelForPixel) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32}) {
        QImage picture(37, 11, format);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgba(x * 7, y * 23, (x * y) % 256, (x * 13 + y) % 256));
        QImage back;
        ASSERT_TRUE(DecodePng(tools::QuickPng(picture).toStdString(), back)) << format;
        EXPECT_EQ(back.format(), picture.format());
        EXPECT_EQ(back, picture) << format;
    }
}

} // namespace
} // namespace orrindale
