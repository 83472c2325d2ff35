// mkcardart PROGRAM_DIR
//
// Draws the marked card reader ("CR91B.dat", a scrambled PNG) and the blank marked card
// ("HP9pgcd.dat", a scrambled 24-bit bitmap) into the program folder, and both again at twice
// the resolution as scrambled PNGs ("CR91B@2x.dat", "HP9pgcd@2x.dat").
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "cards/marked/readerart.h"
#include "common/programfiles.h"
#include "tools/outline2x.h"
#include "tools/picturefiles.h"

using namespace orrindale;

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
        tools::WriteScrambled(folder + files::kCardReaderPicture,
                              tools::QuickPng(readerart::RenderReader())) &&
        tools::WriteScrambled(folder + files::kCardEditorPicture,
                              tools::Encoded(cardart::RenderBlankCard(), "BMP")) &&
        tools::WriteScrambled(folder + files::kCardReaderPicture2x,
                              tools::QuickPng(FillSkyInsideOutline(readerart::RenderReader(2),
                                                                   readerart::RenderReader(),
                                                                   readerart::kSky.rgb()))) &&
        tools::WriteScrambled(folder + files::kCardEditorPicture2x,
                              tools::QuickPng(cardart::RenderBlankCard(2)));
    if (!written) {
        std::fprintf(stderr, "mkcardart: could not write the pictures\n");
        return 1;
    }
    return 0;
}
