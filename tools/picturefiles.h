// What the picture generators share: the PNG encoding every picture file and form picture uses,
// and the scrambling of the files in the program folder.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace orrindale::tools {

// The picture as a PNG whose rows are stored unfiltered. Our pictures are flat colours and
// lettering, where the row filters save little, while unfiltered rows decode in well under half
// the time; the panel picture is decoded while the calculator starts. A picture with an alpha
// channel keeps it. Empty when the picture cannot be encoded.
QByteArray QuickPng(const QImage& picture);

// The picture in a format the toolkit writes ("BMP"); empty when it cannot.
QByteArray Encoded(const QImage& picture, const char* format);

// The bytes scrambled, as the program folder keeps its pictures.
QByteArray Scrambled(QByteArray bytes);

// Writes the bytes scrambled; false when `bytes` is empty or the file cannot be written.
bool WriteScrambled(const QString& path, QByteArray bytes);

} // namespace orrindale::tools
