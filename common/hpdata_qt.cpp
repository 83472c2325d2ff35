#include "common/hpdata_qt.h"

#include <QBuffer>
#include <QFile>
#include <QRect>
#include <algorithm>

namespace orrindale {

std::string ToBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text)
        bytes.push_back(static_cast<char>(c.unicode() & 0xFF));
    return bytes;
}

QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString RefusalOfNonAscii(const QString& text) {
    QString found;
    for (char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (c > 0x7F && !found.contains(one)) found += one;
    }
    if (found.isEmpty()) return {};
    return "ERROR: Invalid character found in text: " + found +
           "\r\rA card holds only letters without accents, digits, spaces and the signs of an "
           "English keyboard";
}

TextList ToTextList(const QStringList& list) {
    TextList out;
    out.reserve(static_cast<std::size_t>(list.size()));
    for (const QString& line : list)
        out.push_back(ToBytes(line));
    return out;
}

QStringList ToQStringList(const TextList& list) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(list.size()));
    for (const std::string& line : list)
        out.append(FromBytes(line));
    return out;
}

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool LoadScrambledTextList(const QString& path, QStringList& list, const TextListLimits& limits) {
    TextList lines;
    if (!LoadScrambledTextList(NativePath(path), lines, limits)) return false;
    list = ToQStringList(lines);
    return true;
}

bool SaveScrambledTextList(const QString& path, const QStringList& list) {
    return SaveScrambledTextList(NativePath(path), ToTextList(list));
}

QImage ToQImage(const RgbaImage& image, QImage::Format format) {
    if (image.Width <= 0 || image.Height <= 0) return {};
    const QImage view(image.Pixels.data(), image.Width, image.Height, image.Width * 4,
                      QImage::Format_RGBA8888);
    // copy() detaches from image.Pixels, which the caller may free; convertToFormat alone
    // would share the buffer when the format already matches.
    const QImage owned = view.copy();
    return owned.format() == format ? owned : owned.convertToFormat(format);
}

std::string EncodePng(const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG"))
        return {};
    return png.toStdString();
}

bool DecodePng(std::string_view bytes, QImage& picture) {
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "ARGB32 is blue-green-red-alpha in memory");
    QImage decoded;
    const bool ok =
        DecodePng(bytes, PixelOrder::Bgra, [&decoded](int width, int height, bool alpha) {
            decoded = QImage(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            return decoded.isNull() ? nullptr : decoded.bits();
        });
    if (!ok) return false;
    picture = std::move(decoded);
    return true;
}

bool LoadScrambledPng(const QString& path, QImage& picture) {
    std::string bytes;
    if (!ReadWholeFile(NativePath(path), bytes)) return false;
    ScrambleBytes(bytes);
    return DecodePng(bytes, picture);
}

bool LoadScrambledBitmap(const QString& path, QImage& picture) {
    RgbaImage image;
    if (!LoadScrambledBitmap(NativePath(path), image)) return false;
    QImage converted = ToQImage(image, QImage::Format_RGB888);
    if (converted.isNull()) return false;
    picture = std::move(converted);
    return true;
}

int PictureScale(qreal devicePixelRatio) {
    return devicePixelRatio > 1.5 ? 2 : 1;
}

QImage LoadSharpPicture(const QString& path, QSize onceSize, int scale) {
    QImage sharp;
    if (scale != 2 || !LoadScrambledPng(path, sharp) || sharp.size() != 2 * onceSize) return {};
    sharp.setDevicePixelRatio(2);
    return sharp;
}

QImage RotateBitmap180(const QImage& source) {
    QImage target(source.size(), source.format());
    const int w = source.width(), h = source.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            target.setPixel(w - 1 - x, h - 1 - y, source.pixel(x, y));
    target.setDevicePixelRatio(source.devicePixelRatio());
    return target;
}

QImage RotateBitmap90(const QImage& source) {
    QImage target(source.height(), source.width(), source.format());
    const int h = source.height();
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < source.width(); ++i)
            target.setPixel(h - 1 - j, i, source.pixel(i, j));
    target.setDevicePixelRatio(source.devicePixelRatio());
    return target;
}

QImage BlankPicture(int w, int h, int scale, QImage::Format format, QColor fill) {
    QImage image(w * scale, h * scale, format);
    image.fill(fill);
    image.setDevicePixelRatio(scale);
    return image;
}

} // namespace orrindale
