// mkmemart PROGRAM_DIR
//
// Draws the HP 9101A's pictures into the program folder from memexp's layout table: the panel
// ("mmexig.dat") and the instruction card ("mmexpl.dat") as scrambled 24-bit bitmaps, and both
// again at twice the resolution as scrambled PNGs ("mmexig@2x.dat", "mmexpl@2x.dat"), where a
// bitmap would be four times the size.
#include <QGuiApplication>
#include <cstdio>

#include "common/programfiles.h"
#include "memexp/memart.h"
#include "tools/picturefiles.h"

using namespace orrindale;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkmemart PROGRAM_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + "/";
    auto bmp = [](const QImage& picture) {
        const std::string bytes = memart::Bmp24(picture);
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    using tools::QuickPng;
    using tools::WriteScrambled;
    if (!WriteScrambled(dir + files::kExtMemoryPicture, bmp(memart::RenderPanel())) ||
        !WriteScrambled(dir + files::kExtMemoryCardPicture, bmp(memart::RenderCard())) ||
        !WriteScrambled(dir + files::kExtMemoryPicture2x, QuickPng(memart::RenderPanel(2))) ||
        !WriteScrambled(dir + files::kExtMemoryCardPicture2x, QuickPng(memart::RenderCard(2)))) {
        std::fprintf(stderr, "mkmemart: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
