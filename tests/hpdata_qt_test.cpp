// The QString and QImage faces of the file routines.
#include "panel/shared/hpdata_qt.h"

#include <gtest/gtest.h>

#include "panel_test_util.h"

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

} // namespace
} // namespace orrindale
