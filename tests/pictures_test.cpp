// The generated pictures: the panel in the program folder and the form pictures compiled into
// the program, checked against the coordinate table they are drawn from; and every picture drawn
// at 2x against its 1x picture.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRect>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "cards/marked/readerart.h"
#include "common/programfiles.h"
#include "common/runpicture.h"
#include "panel/layout.h"
#include "panel/pictures.h"
#include "plotter/plotart.h"

namespace orrindale {
namespace {

const QRgb kSky = qRgb(layout::kSkyRed, layout::kSkyGreen, layout::kSkyBlue);

QImage LoadScrambled(const char* name) {
    QFile file(QStringLiteral(ORRINDALE_PROGRAM_DIR "/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.readAll();
    for (char& byte : bytes)
        byte = static_cast<char>(byte ^ 0xB7);
    QImage image;
    RunPicture runs; // the 2x panel
    if (RunPicture::Decode(bytes.toStdString(), runs))
        image = runs.Part(QRect(QPoint(0, 0), runs.size()));
    else
        image.loadFromData(bytes); // a PNG or, for some peripherals' 1x pictures, a bitmap
    return image.convertToFormat(QImage::Format_RGB32);
}

class PanelPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { panel_ = LoadScrambled(files::kPanelPicture); }
    static QImage panel_;
};
QImage PanelPicture::panel_;

TEST_F(PanelPicture, HoldsEveryPlaceAndIsSkyBlueOutsideTheCase) {
    ASSERT_FALSE(panel_.isNull());
    EXPECT_EQ(panel_.width(), layout::kPanelWidth);
    EXPECT_EQ(panel_.height(), layout::kPanelHeight);
    const int right = panel_.width() - 1, bottom = panel_.height() - 1;
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        EXPECT_EQ(panel_.pixel(corner), kSky);
    // The paper climbs to row 2 of its picture, which the window must not cut away.
    const layout::Rect paper = layout::kPaper;
    EXPECT_NE(panel_.pixel(paper.Left + paper.Width / 2, 2), kSky);
}

TEST_F(PanelPicture, KeysDisplayAndButtonsAreInsideTheCase) {
    ASSERT_FALSE(panel_.isNull());
    for (int key = 1; key <= layout::kKeyCount; ++key) {
        const layout::Box a = layout::KeyArea(key);
        EXPECT_NE(panel_.pixel((a.X1 + a.X2) / 2, (a.Y1 + a.Y2) / 2), kSky) << "key " << key;
    }
    const layout::Rect d = layout::kDisplay;
    for (const QPoint p : {QPoint(d.Left, d.Top), QPoint(d.Right() - 1, d.Bottom() - 1)})
        EXPECT_NE(panel_.pixel(p), kSky);
    for (const layout::PrintButtonPlace& b : layout::kPrintButtons)
        EXPECT_NE(panel_.pixel(b.Area.X1, b.Area.Y1), kSky) << b.Legend;
}

TEST_F(PanelPicture, TheRunsKeptBesideItAreItsOwnPixels) {
    ASSERT_FALSE(panel_.isNull());
    QFile png(QStringLiteral(ORRINDALE_PROGRAM_DIR "/") + files::kPanelPicture);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray stored = png.readAll();
    RunPicture runs;
    ASSERT_TRUE(LoadScrambledRunsOf(QStringLiteral(ORRINDALE_PROGRAM_DIR "/") + files::kPanelRuns,
                                    std::string_view(stored.data(), stored.size()), runs));
    EXPECT_EQ(runs.Part(panel_.rect()), panel_);
}

TEST_F(PanelPicture, TheOutlineIsNotBlendedIntoTheSky) {
    // The window mask takes exactly the sky-blue pixels away; a pixel half sky and half case
    // would stay as a pale fringe around the calculator.
    ASSERT_FALSE(panel_.isNull());
    for (int y = 1; y < panel_.height() - 1; ++y)
        for (int x = 1; x < panel_.width() - 1; ++x) {
            const QRgb c = panel_.pixel(x, y);
            if (c == kSky) continue;
            const bool edge = panel_.pixel(x - 1, y) == kSky || panel_.pixel(x + 1, y) == kSky ||
                              panel_.pixel(x, y - 1) == kSky || panel_.pixel(x, y + 1) == kSky;
            // The case is warm grey throughout: blue never exceeds red by much, while any
            // blend with the sky would.
            if (edge) {
                ASSERT_LE(qBlue(c), qRed(c) + 8) << x << "," << y;
            }
        }
}

// The outermost ring of a form picture must equal the panel beneath it, or its edge would show.
void ExpectSeamless(const QImage& panel, const QImage& picture, const layout::Rect& at,
                    const QString& name) {
    ASSERT_FALSE(picture.isNull()) << name.toStdString();
    ASSERT_EQ(picture.size(), QSize(at.Width, at.Height)) << name.toStdString();
    for (int x = 0; x < at.Width; ++x)
        for (int y : {0, at.Height - 1})
            ASSERT_EQ(picture.pixel(x, y), panel.pixel(at.Left + x, at.Top + y))
                << name.toStdString() << " at " << x << "," << y;
    for (int y = 0; y < at.Height; ++y)
        for (int x : {0, at.Width - 1})
            ASSERT_EQ(picture.pixel(x, y), panel.pixel(at.Left + x, at.Top + y))
                << name.toStdString() << " at " << x << "," << y;
}

TEST_F(PanelPicture, PressedKeysShowTheCapPushedInAndMeetThePanelSeamlessly) {
    ASSERT_FALSE(panel_.isNull());
    for (int key = 1; key <= layout::kKeyCount; ++key) {
        const QString name = pictures::PressedKey(key);
        const layout::Rect at = layout::PressedKeyRect(key);
        const QImage picture = pictures::FormPicture(name);
        ExpectSeamless(panel_, picture, at, name);
        EXPECT_NE(picture, panel_.copy(at.Left, at.Top, at.Width, at.Height)) << key;
    }
}

TEST_F(PanelPicture, ButtonLampAndSwitchPicturesStandOnTheirPlaces) {
    ASSERT_FALSE(panel_.isNull());
    for (const layout::PrintButtonPlace& b : layout::kPrintButtons)
        ExpectSeamless(panel_, pictures::FormPicture(pictures::PrintButtonDown(b.Button)),
                       b.Pressed, pictures::PrintButtonDown(b.Button));
    ExpectSeamless(panel_, pictures::FormPicture(pictures::kFeedDown), layout::kFeedPressed,
                   pictures::kFeedDown);
    ExpectSeamless(panel_, pictures::FormPicture(pictures::kCardRecordDown),
                   layout::kCardRecordPressed, pictures::kCardRecordDown);
    ExpectSeamless(panel_, pictures::FormPicture(pictures::kCardEnterDown),
                   layout::kCardEnterPressed, pictures::kCardEnterDown);
    for (const layout::SwitchPlace& s : layout::kSwitches) {
        ExpectSeamless(panel_, pictures::FormPicture(pictures::SwitchLever(s.Setting)), s.Lever,
                       pictures::SwitchLever(s.Setting));
        ExpectSeamless(panel_, pictures::FormPicture(pictures::SwitchLabel(s.Setting)), s.LabelArea,
                       pictures::SwitchLabel(s.Setting));
    }
    // The two settings of a switch look different.
    EXPECT_NE(pictures::FormPicture(pictures::SwitchLever(layout::SwitchSetting::Off)),
              pictures::FormPicture(pictures::SwitchLever(layout::SwitchSetting::On)));
    for (int digit = 0; digit <= 9; ++digit)
        ExpectSeamless(panel_, pictures::FormPicture(pictures::WheelDigit(digit)),
                       layout::kWheelDigit, pictures::WheelDigit(digit));
    EXPECT_EQ(pictures::FormPicture(pictures::kPaper).size(), QSize(108, 82));
    EXPECT_EQ(pictures::FormPicture(pictures::kPlaten).size(), QSize(108, 2));
    EXPECT_EQ(pictures::FormPicture(pictures::kErrorLamp).size(), QSize(32, 12));
}

// The window cuts these from the panel picture instead of decoding them, so at both scales each
// must be exactly that part of the panel.
TEST(FormPictures, PanelPartsAreThePanelsOwnPixels) {
    std::vector<std::pair<QString, layout::Rect>> parts = {
        {pictures::kWheelUp, layout::kWheelUp.Area},
        {pictures::kWheelDown, layout::kWheelDown.Area},
        {pictures::kPaper, layout::kPaper},
        {pictures::kPlaten, layout::kPlaten}};
    for (const layout::SwitchPlace& place : layout::kSwitches)
        parts.emplace_back(pictures::SwitchLabel(place.Setting), place.LabelArea);
    for (const int scale : {1, 2}) {
        const QImage panel =
            LoadScrambled(scale == 1 ? files::kPanelPicture : files::kPanelPicture2x);
        ASSERT_FALSE(panel.isNull());
        for (const auto& [name, at] : parts) {
            const QRect place(at.Left * scale, at.Top * scale, at.Width * scale, at.Height * scale);
            EXPECT_EQ(pictures::FormPicture(name, scale).convertToFormat(QImage::Format_RGB32),
                      panel.copy(place))
                << name.toStdString() << " at " << scale;
        }
    }
}

TEST(FormPictures, EveryNameLoadsAndUnknownNamesDoNot) {
    for (const QString& name : pictures::AllNames())
        EXPECT_FALSE(pictures::FormPicture(name).isNull()) << name.toStdString();
    EXPECT_TRUE(pictures::FormPicture(QStringLiteral("key66")).isNull());
}

TEST(FormPictures, GlyphSheetHoldsSixteenDistinctGlyphsOnBlack) {
    const QImage sheet = pictures::FormPicture(pictures::kGlyphSheet);
    ASSERT_EQ(sheet.size(), QSize(layout::kGlyphSheetWidth, layout::kGlyphSheetHeight));
    std::vector<QImage> glyphs;
    for (int g = 0; g < layout::kGlyphCount; ++g) {
        const int left = g * layout::kGlyphCellWidth;
        glyphs.push_back(sheet.copy(left, 0, layout::kGlyphWidth, layout::kGlyphHeight));
        // Only the 7 x 10 glyph is copied to the display; the rest of the cell stays black.
        for (int y = 0; y < layout::kGlyphSheetHeight; ++y)
            EXPECT_EQ(sheet.pixel(left + layout::kGlyphWidth, y), qRgb(0, 0, 0)) << g;
        for (int x = left; x < left + layout::kGlyphCellWidth; ++x)
            EXPECT_EQ(sheet.pixel(x, layout::kGlyphHeight), qRgb(0, 0, 0)) << g;
        int brightest = 0;
        for (int y = 0; y < layout::kGlyphHeight; ++y)
            for (int x = left; x < left + layout::kGlyphWidth; ++x) {
                const QRgb c = sheet.pixel(x, y);
                EXPECT_GE(qGreen(c), std::max(qRed(c), qBlue(c))) << "green on black, glyph " << g;
                brightest = std::max(brightest, qGreen(c));
            }
        EXPECT_GT(brightest, 200) << g;
    }
    for (size_t a = 0; a < glyphs.size(); ++a)
        for (size_t b = a + 1; b < glyphs.size(); ++b)
            EXPECT_NE(glyphs[a], glyphs[b]) << a << " and " << b;
}

TEST(FormPictures, HandCursorsAreOpaqueInTheMiddleAndClearAtTheCorners) {
    for (const char* name : {pictures::kOpenHand, pictures::kClosedHand}) {
        const QImage cursor = pictures::FormPicture(name);
        ASSERT_EQ(cursor.size(), QSize(32, 32)) << name;
        EXPECT_EQ(qAlpha(cursor.pixel(0, 31)), 0) << name;
        EXPECT_EQ(qAlpha(cursor.pixel(31, 0)), 0) << name;
        EXPECT_EQ(qAlpha(cursor.pixel(16, 20)), 255) << name;
    }
}

TEST(FunctionCard, LoadsFromTheProgramFolder) {
    const QImage card = LoadScrambled(files::kFunctionCardPicture);
    ASSERT_FALSE(card.isNull());
    EXPECT_GT(card.width(), 400);
    EXPECT_GT(card.height(), 300);
}

// How much a picture changes from one pixel to the next: the sum of the grey-level steps
// between neighbours. Sharp edges and crisp texts give large steps, blur spreads them out.
double Detail(const QImage& picture, const QRect& area) {
    const QImage grey = picture.copy(area).convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    for (int y = 0; y + 1 < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        const uchar* below = grey.constScanLine(y + 1);
        for (int x = 0; x + 1 < grey.width(); ++x)
            sum += std::abs(row[x] - row[x + 1]) + std::abs(row[x] - below[x]);
    }
    return sum;
}

// The pixels of a 2x picture left sky blue inside the window's outline, which is every pixel of
// the 1x picture that is not sky blue: they would show as a pale fringe.
int SkyInsideOutline(const QImage& twice, const QImage& once, QRgb sky) {
    int count = 0;
    for (int y = 0; y < twice.height(); ++y)
        for (int x = 0; x < twice.width(); ++x)
            count += twice.pixel(x, y) == sky && once.pixel(x / 2, y / 2) != sky;
    return count;
}

TEST(PanelPictureAtTwice, HasDetailTheOnceSizePictureScaledUpLacks) {
    const QImage once = LoadScrambled(files::kPanelPicture);
    const QImage twice = LoadScrambled(files::kPanelPicture2x);
    ASSERT_FALSE(once.isNull());
    ASSERT_EQ(twice.size(), once.size() * 2);
    const QImage scaledUp =
        once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The key caps with their legends, and the printer's buttons.
    for (const QRect& area :
         {QRect(2 * 70, 2 * 365, 2 * 570, 2 * 115), QRect(2 * 680, 2 * 290, 2 * 180, 2 * 20)}) {
        EXPECT_GT(Detail(twice, area), 1.3 * Detail(scaledUp, area))
            << area.x() / 2 << "," << area.y() / 2;
    }
    EXPECT_EQ(SkyInsideOutline(twice, once, kSky), 0);
}

TEST(PicturesAtTwice, HaveDetailTheirOnceSizePicturesEnlargedLack) {
    struct Case {
        QString name;
        QImage once, twice;
        bool flat; // nothing but whole-pixel rectangles: no more to show at 2x
    };
    std::vector<Case> cases;
    for (const char* name : {pictures::kPaper, pictures::kPlaten})
        cases.push_back({name, pictures::FormPicture(name), pictures::FormPicture(name, 2), true});
    for (const char* name :
         {pictures::kCardAB, pictures::kCardWPA, pictures::kCardWPB, pictures::kCardSlot,
          pictures::kCardSideA, pictures::kCardSideB, pictures::kOpenHand, pictures::kClosedHand})
        cases.push_back({name, pictures::FormPicture(name), pictures::FormPicture(name, 2), false});
    cases.push_back({files::kFunctionCardPicture, LoadScrambled(files::kFunctionCardPicture),
                     LoadScrambled(files::kFunctionCardPicture2x), false});
    for (const Case& c : cases) {
        const std::string name = c.name.toStdString();
        ASSERT_FALSE(c.once.isNull()) << name;
        ASSERT_EQ(c.twice.size(), c.once.size() * 2) << name;
        if (c.flat) continue;
        // Neither enlargement will do: not the smoothed one (the same detail spread wider)...
        const QImage smoothed =
            c.once.scaled(c.twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QRect all(QPoint(0, 0), c.twice.size());
        EXPECT_GT(Detail(c.twice, all), 1.05 * Detail(smoothed, all)) << name;
        // ...nor each pixel doubled.
        EXPECT_NE(c.twice.convertToFormat(c.once.format()), c.once.scaled(c.twice.size())) << name;
    }
}

TEST(PeripheralPicturesAtTwice, HaveDetailTheOnceSizePicturesScaledUpLackAndNoFringe) {
    // Small text gains most from being drawn at 2x, more than the 1x picture with its pixels
    // doubled would; the reader's one label, large and bold, least.
    const struct {
        const char* once;
        const char* twice;
        QRect text; // at 1x
        double gain;
        std::optional<QRgb> sky; // the outline's colour for a window shaped by its picture
    } cases[] = {
        {files::kPlotterPicture, files::kPlotterPicture2x, QRect(30, 492, 740, 76), 1.35,
         plotart::kSkyBlue.rgb()},
        {files::kCardReaderPicture, files::kCardReaderPicture2x, QRect(18, 184, 170, 18), 1.1,
         readerart::kSky.rgb()},
        {files::kCardEditorPicture, files::kCardEditorPicture2x, QRect(236, 80, 22, 380), 1.6, {}},
        {files::kExtMemoryPicture, files::kExtMemoryPicture2x, QRect(60, 60, 320, 70), 1.25, {}},
        {files::kExtMemoryCardPicture,
         files::kExtMemoryCardPicture2x,
         QRect(20, 70, 520, 150),
         1.3,
         {}},
    };
    for (const auto& c : cases) {
        const QImage once = LoadScrambled(c.once);
        const QImage twice = LoadScrambled(c.twice);
        ASSERT_FALSE(once.isNull()) << c.once;
        ASSERT_EQ(twice.size(), once.size() * 2) << c.twice;
        const QImage scaledUp =
            once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QRect area(c.text.topLeft() * 2, c.text.size() * 2);
        EXPECT_GT(Detail(twice, area), c.gain * Detail(scaledUp, area)) << c.twice;
        if (c.sky) {
            EXPECT_EQ(SkyInsideOutline(twice, once, *c.sky), 0) << c.twice;
        }
    }
}

} // namespace
} // namespace orrindale
