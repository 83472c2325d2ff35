// Pictures kept as runs of one colour: the same pixels back, in parts, painted, and from their
// file form; damaged files, and runs kept for a PNG that has changed since, refused.
#include "common/runpicture.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <string>
#include <vector>

namespace orrindale {
namespace {

// Flat areas, single odd pixels and a row of all different colours.
QImage Sample(QImage::Format format) {
    QImage image(37, 23, format);
    image.fill(qRgba(10, 20, 30, 255));
    QPainter(&image).fillRect(5, 3, 20, 9, QColor(200, 100, 50, 128));
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 17, qRgba(x, 255 - x, 7 * x, 255));
    image.setPixel(36, 22, qRgba(1, 2, 3, 255));
    return image;
}

TEST(RunPicture, GivesThePixelsBackWholeInPartsAndPainted) {
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32}) {
        const QImage image = Sample(format);
        const RunPicture runs(image);
        EXPECT_EQ(runs.Part(image.rect()), image);
        // A part reaching past the edge is zero there, as QImage::copy gives it.
        for (const QRect part : {QRect(3, 2, 10, 16), QRect(30, 15, 12, 12), QRect(0, 17, 37, 1)})
            EXPECT_EQ(runs.Part(part), image.copy(part)) << part.x() << "," << part.y();
        QImage painted(image.size(), QImage::Format_ARGB32_Premultiplied);
        painted.fill(0);
        QPainter painter(&painted);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        runs.Draw(painter, QRegion(0, 0, 37, 10) + QRegion(8, 10, 29, 13) + QRegion(0, 10, 8, 13));
        painter.end();
        EXPECT_EQ(painted, image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

// Diagonal bands over a whole window's worth of pixels, which a paint shares with a second thread.
QImage Large() {
    QImage image(1200, 900, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x + y) / 40 * 30 % 256, y % 7 * 30, 90));
    return image;
}

TEST(RunPicture, PaintsAtTwiceTheScaleMovedAsTheToolkitWould) {
    // Written straight into the pixels or, the area also set as the painter's own clip, drawn
    // by the toolkit from strips: the same pixels either way.
    for (const QImage& sharp : {Sample(QImage::Format_RGB32), Large()}) {
        RunPicture runs(sharp);
        runs.setDevicePixelRatio(2);
        const QRegion area = QRegion(0, 0, 12, 4) + QRegion(5, 4, 600, 440);
        std::vector<QImage> painted;
        for (const bool clipped : {false, true}) {
            QImage image(1300, 1000, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(2);
            image.fill(0);
            QPainter painter(&image);
            painter.translate(3, 2);
            if (clipped) painter.setClipRegion(area);
            runs.Draw(painter, area);
            painter.end();
            painted.push_back(image);
        }
        EXPECT_EQ(painted[0], painted[1]) << sharp.width();
        EXPECT_EQ(painted[0].pixel(6 + 10, 4 + 9), sharp.pixel(10, 9));
        EXPECT_EQ(painted[0].pixel(6 + 30, 4 + 3), 0u); // outside the area
    }
}

TEST(RunPicture, FileFormRoundTripsAndDamageIsRefused) {
    const QImage image = Sample(QImage::Format_RGB32);
    const std::string bytes = RunPicture(image).Encode();
    RunPicture back;
    ASSERT_TRUE(RunPicture::Decode(bytes, back));
    EXPECT_EQ(back.Part(image.rect()), image);

    const std::string header = bytes.substr(0, 13);
    auto with = [&bytes](std::size_t at, char value) {
        std::string changed = bytes;
        changed[at] = value;
        return changed;
    };
    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"empty", ""},
        {"header only", header},
        {"cut short", bytes.substr(0, bytes.size() - 1)},
        {"a byte too many", bytes + '\0'},
        {"other magic", with(0, 'X')},
        {"no width", with(4, 0)},
        {"height beyond the limit", with(11, 1)},
        {"no such transparency", with(12, 2)},
        {"no runs in a row", with(13, 0)},
        {"a run of no pixels", with(15, 0)},
        {"a run past the row's end", with(15, 38)},
    };
    for (const auto& [name, file] : damaged) {
        RunPicture kept = back;
        EXPECT_FALSE(RunPicture::Decode(file, kept)) << name;
        EXPECT_EQ(kept.Part(image.rect()), image) << name;
    }
}

TEST(RunPicture, RunsKeptBesideAPngServeOnlyThatPng) {
    const QImage image = Sample(QImage::Format_RGB32);
    const std::string png = "\x89PNG and the rest of the file as stored";
    const std::string kept = EncodeRunsOf(png, RunPicture(image));
    RunPicture back;
    ASSERT_TRUE(DecodeRunsOf(kept, png, back));
    EXPECT_EQ(back.Part(image.rect()), image);

    std::string edited = png;
    edited[20] ^= 1;
    const std::vector<std::pair<const char*, std::pair<std::string, std::string>>> refused = {
        {"the PNG edited since", {kept, edited}},
        {"the PNG grown since", {kept, png + '\0'}},
        {"other magic", {"RUNX" + kept.substr(4), png}},
        {"cut short", {kept.substr(0, kept.size() - 1), png}},
        {"no picture", {kept.substr(0, 12), png}},
    };
    for (const auto& [name, files] : refused) {
        RunPicture unchanged = back;
        EXPECT_FALSE(DecodeRunsOf(files.first, files.second, unchanged)) << name;
        EXPECT_EQ(unchanged.Part(image.rect()), image) << name;
    }
}

} // namespace
} // namespace orrindale
