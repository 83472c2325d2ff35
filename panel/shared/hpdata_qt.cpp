#include "panel/shared/hpdata_qt.h"

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

QPoint PlaceBeside(const QRect& calculator, const QSize& size, const QRect& screen) {
    QRect centred(QPoint(), size);
    centred.moveCenter(screen.center());
    if (calculator.isEmpty() || size.width() > screen.width()) return centred.topLeft();
    const int top = std::clamp(calculator.top(), screen.top(),
                               std::max(screen.top(), screen.bottom() + 1 - size.height()));
    const int roomRight = screen.right() - calculator.right();
    const int roomLeft = calculator.left() - screen.left();
    if (roomRight >= size.width()) return {calculator.right() + 1, top};
    if (roomLeft >= size.width()) return {calculator.left() - size.width(), top};
    // Against the screen's edge on the roomier side: over as little of the calculator as can be,
    // where centred it could hide the calculator whole.
    if (roomRight >= roomLeft) return {screen.right() + 1 - size.width(), top};
    return {screen.left(), top};
}

} // namespace orrindale
