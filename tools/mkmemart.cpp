// mkmemart PROGRAM_DIR
//
// Draws the HP 9101A's pictures into the program folder as scrambled 24-bit bitmaps: the panel
// ("mmexig.dat") and the instruction card ("mmexpl.dat"), from memexp's layout table.
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
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkmemart PROGRAM_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + "/";
    if (!WriteScrambled(dir + files::kExtMemoryPicture, memart::Bmp24(memart::RenderPanel())) ||
        !WriteScrambled(dir + files::kExtMemoryCardPicture, memart::Bmp24(memart::RenderCard()))) {
        std::fprintf(stderr, "mkmemart: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
