// mkcardart PROGRAM_DIR
//
// Draws the marked card reader ("CR91B.dat", a scrambled PNG) and the blank marked card
// ("HP9pgcd.dat", a scrambled 24-bit bitmap) into the program folder, and both again at twice
// the resolution as scrambled PNGs ("CR91B@2x.dat", "HP9pgcd@2x.dat").
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "cards/cardart.h"
#include "panel/shared/programfiles.h"
#include "tools/outline2x.h"

using namespace orrindale;

namespace {
bool WriteScrambled(const QString& path, const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) return false;
    for (char& byte : bytes)
        byte = static_cast<char>(byte ^ 0xB7);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkcardart PROGRAM_DIR\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    QDir().mkpath(folder);
    const bool written =
        WriteScrambled(folder + files::kCardReaderPicture, readerart::RenderReader(), "PNG") &&
        WriteScrambled(folder + files::kCardEditorPicture, cardart::RenderBlankCard(), "BMP") &&
        WriteScrambled(folder + files::kCardReaderPicture2x,
                       FillSkyInsideOutline(readerart::RenderReader(2), readerart::RenderReader(),
                                            readerart::kSky.rgb()),
                       "PNG") &&
        WriteScrambled(folder + files::kCardEditorPicture2x, cardart::RenderBlankCard(2), "PNG");
    if (!written) {
        std::fprintf(stderr, "mkcardart: could not write the pictures\n");
        return 1;
    }
    return 0;
}
