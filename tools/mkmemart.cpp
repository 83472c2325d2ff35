// mkmemart PROGRAM_DIR
//
// Draws the HP 9101A's pictures into the program folder from memexp's layout table: the panel
// ("mmexig.dat") and the instruction card ("mmexpl.dat") as scrambled 24-bit bitmaps, and both
// again at twice the resolution as scrambled PNGs ("mmexig@2x.dat", "mmexpl@2x.dat"), where a
// bitmap would be four times the size.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "memexp/memart.h"
#include "panel/shared/programfiles.h"

using namespace orrindale;

namespace {
bool WriteScrambled(const QString& path, std::string bytes) {
    for (char& byte : bytes)
        byte = static_cast<char>(byte ^ 0xB7);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

std::string Png(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return picture.save(&buffer, "PNG") ? bytes.toStdString() : std::string();
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkmemart PROGRAM_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + "/";
    const std::string panel2x = Png(memart::RenderPanel(2)), card2x = Png(memart::RenderCard(2));
    if (!WriteScrambled(dir + files::kExtMemoryPicture, memart::Bmp24(memart::RenderPanel())) ||
        !WriteScrambled(dir + files::kExtMemoryCardPicture, memart::Bmp24(memart::RenderCard())) ||
        panel2x.empty() || !WriteScrambled(dir + files::kExtMemoryPicture2x, panel2x) ||
        card2x.empty() || !WriteScrambled(dir + files::kExtMemoryCardPicture2x, card2x)) {
        std::fprintf(stderr, "mkmemart: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
