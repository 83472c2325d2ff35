// Qt faces of the hpData routines: QString text and QImage pictures.
//
// A file stores each character as one byte, the low 8 bits of its code, so a QString character
// above 255 comes back as a different character; bytes read become the characters 0-255
// (Latin-1). Paths are passed to the file system in its own encoding.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include "common/hpdata.h"
#include "common/images.h"

namespace orrindale {

std::string ToBytes(const QString& text);
QString FromBytes(const std::string& bytes);
// Names and titles go onto cards as printable ASCII. The refusal of a text holding characters
// beyond it (accented letters, other scripts, symbols), naming each such character once; empty
// when the text holds none. Tabs and other control characters are not refused: CleanText makes a
// tab a space and drops the others.
QString RefusalOfNonAscii(const QString& text);
TextList ToTextList(const QStringList& list);
QStringList ToQStringList(const TextList& list);
std::string NativePath(const QString& path);

bool LoadScrambledTextList(const QString& path, QStringList& list,
                           const TextListLimits& limits = {});
bool SaveScrambledTextList(const QString& path, const QStringList& list);

QImage ToQImage(const RgbaImage& image, QImage::Format format);
// A PNG file's bytes decoded straight into the toolkit's own layout: ARGB32 when the picture has
// transparency, RGB32 when it has none. On failure the picture is left as it was.
bool DecodePng(std::string_view bytes, QImage& picture);
// The picture as a PNG file's bytes, with its resolution; empty when it cannot be encoded.
std::string EncodePng(const QImage& picture);
// The picture as drawn on the panel (with its transparency), as DecodePng gives it.
bool LoadScrambledPng(const QString& path, QImage& picture);
// A 24-bit bitmap: the picture becomes RGB888.
bool LoadScrambledBitmap(const QString& path, QImage& picture);

// The scale a window's pictures are drawn at: 2 on screens that scale by more than one and a
// half, else 1.
int PictureScale(qreal devicePixelRatio);
// A window's picture drawn at twice the resolution (a scrambled PNG beside its 1x picture): read
// only at scale 2, and kept only when it is exactly twice the 1x size; it then carries device
// pixel ratio 2, so it is drawn in logical pixels over the 1x picture's place. Null otherwise,
// and the window keeps its 1x picture.
QImage LoadSharpPicture(const QString& path, QSize onceSize, int scale);

// Half a turn: pixel (x, y) goes to (W - 1 - x, H - 1 - y). Both turns keep the device pixel
// ratio.
QImage RotateBitmap180(const QImage& source);
// A quarter turn clockwise: pixel (i, j) goes to (H - 1 - j, i).
QImage RotateBitmap90(const QImage& source);

// A picture of w by h logical pixels drawn at the scale (painters on it draw in logical pixels),
// filled with `fill`, for the pictures our own code draws.
QImage BlankPicture(int w, int h, int scale, QImage::Format format = QImage::Format_RGB32,
                    QColor fill = Qt::transparent);

} // namespace orrindale
