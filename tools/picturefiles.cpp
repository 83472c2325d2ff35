#include "tools/picturefiles.h"

#include <QBuffer>
#include <QFile>
#include <png.h>
#include <utility>

#include "common/hpdata.h"

namespace orrindale::tools {

namespace {
void Append(png_structp png, png_bytep data, png_size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}
void Flush(png_structp) {}
} // namespace

QByteArray QuickPng(const QImage& picture) {
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "ARGB32 is blue-green-red-alpha in memory");
    if (picture.isNull()) return {};
    const bool alpha = picture.hasAlphaChannel();
    const QImage rows =
        picture.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    QByteArray bytes;
    // libpng reports its errors by jumping back here; nothing declared below lives across it.
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &bytes, Append, Flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rows.width()),
                 static_cast<png_uint_32>(rows.height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(png, info);
    png_set_bgr(png);
    if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER); // drops the unused fourth byte
    for (int y = 0; y < rows.height(); ++y)
        png_write_row(png, rows.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

QByteArray Encoded(const QImage& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return picture.save(&buffer, format) ? bytes : QByteArray();
}

QByteArray Scrambled(QByteArray bytes) {
    for (char& byte : bytes)
        byte = static_cast<char>(byte ^ kScrambleKey);
    return bytes;
}

bool WriteScrambled(const QString& path, QByteArray bytes) {
    if (bytes.isEmpty()) return false;
    bytes = Scrambled(std::move(bytes));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace orrindale::tools
