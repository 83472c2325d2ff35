// The scrambled PNG and BMP picture readers.
#include "common/images.h"

#include <cstring>
#include <png.h>

#include <gtest/gtest.h>

#include "panel_test_util.h"

namespace orrindale {
namespace {

using testing::Scrambled;
using testing::TempFolder;
using testing::WriteRaw;

RgbaImage Gradient(int width, int height) {
    RgbaImage image;
    image.Width = width;
    image.Height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int v : {x * 40, y * 60, 200, x == y ? 128 : 255})
                image.Pixels.push_back(static_cast<uint8_t>(v));
    return image;
}

std::string EncodePng(const RgbaImage& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width);
    png.height = static_cast<png_uint_32>(image.Height);
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&png, nullptr, &size, 0, image.Pixels.data(), 0, nullptr);
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.Pixels.data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

void PutU32(std::string& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}
void PutU16(std::string& b, std::size_t at, uint16_t v) {
    b[at] = static_cast<char>(v);
    b[at + 1] = static_cast<char>(v >> 8);
}

// A 24-bit bitmap with rows stored bottom-up (or top-down for a negative height).
std::string EncodeBmp(const RgbaImage& image, bool topDown) {
    const std::size_t stride = (static_cast<std::size_t>(image.Width) * 3 + 3) / 4 * 4;
    std::string b(54 + stride * static_cast<std::size_t>(image.Height), '\0');
    b[0] = 'B';
    b[1] = 'M';
    PutU32(b, 2, static_cast<uint32_t>(b.size()));
    PutU32(b, 10, 54);
    PutU32(b, 14, 40);
    PutU32(b, 18, static_cast<uint32_t>(image.Width));
    PutU32(b, 22, static_cast<uint32_t>(topDown ? -image.Height : image.Height));
    PutU16(b, 26, 1);
    PutU16(b, 28, 24);
    for (int y = 0; y < image.Height; ++y) {
        const int fileRow = topDown ? y : image.Height - 1 - y;
        for (int x = 0; x < image.Width; ++x) {
            const auto* px = &image.Pixels[static_cast<std::size_t>((y * image.Width + x) * 4)];
            const std::size_t at =
                54 + static_cast<std::size_t>(fileRow) * stride + static_cast<std::size_t>(x) * 3;
            b[at] = static_cast<char>(px[2]);
            b[at + 1] = static_cast<char>(px[1]);
            b[at + 2] = static_cast<char>(px[0]);
        }
    }
    return b;
}

RgbaImage Opaque(RgbaImage image) {
    for (std::size_t i = 3; i < image.Pixels.size(); i += 4)
        image.Pixels[i] = 255;
    return image;
}

TEST(ScrambledPng, LoadsThePictureItHolds) {
    TempFolder dir;
    const RgbaImage picture = Gradient(5, 3);
    WriteRaw(dir.File("pic.dat"), Scrambled(EncodePng(picture)));
    RgbaImage loaded;
    ASSERT_TRUE(LoadScrambledPng(dir.File("pic.dat"), loaded));
    EXPECT_EQ(loaded, picture);
}

TEST(ScrambledPng, DamagedPicturesFailAndLeaveTheImage) {
    const std::string good = EncodePng(Gradient(5, 3));
    ASSERT_FALSE(good.empty());
    std::vector<std::pair<std::string, std::string>> damaged = {
        {"not scrambled", good},
        {"empty", ""},
        {"signature only", good.substr(0, 8)},
        {"huge width", EncodePng(Gradient(kMaxPictureSide + 1, 1))},
    };
    for (std::size_t cut : {20u, 33u, 50u, 70u})
        damaged.push_back({"cut", good.substr(0, cut)});
    std::string flipped = good;
    flipped[flipped.size() - 20] ^= 0x55; // inside the image data: its checksum no longer fits
    damaged.push_back({"flipped", flipped});
    for (auto& [name, bytes] : damaged) {
        if (name != "not scrambled") bytes = Scrambled(bytes);
        TempFolder dir;
        WriteRaw(dir.File("pic.dat"), bytes);
        RgbaImage image = Gradient(1, 1);
        EXPECT_FALSE(LoadScrambledPng(dir.File("pic.dat"), image)) << name;
        EXPECT_EQ(image, Gradient(1, 1)) << name;
    }
}

TEST(ScrambledBitmap, LoadsBottomUpAndTopDownRows) {
    const RgbaImage picture = Opaque(Gradient(3, 4)); // 9 bytes a row: rows are padded
    for (bool topDown : {false, true}) {
        TempFolder dir;
        WriteRaw(dir.File("pic.dat"), Scrambled(EncodeBmp(picture, topDown)));
        RgbaImage loaded;
        ASSERT_TRUE(LoadScrambledBitmap(dir.File("pic.dat"), loaded));
        EXPECT_EQ(loaded, picture);
    }
}

TEST(ScrambledBitmap, RefusesAnythingMalformed) {
    const std::string good = EncodeBmp(Opaque(Gradient(3, 4)), false);
    using Patch = std::function<void(std::string&)>;
    const std::pair<const char*, Patch> cases[] = {
        {"magic", [](std::string& b) { b[0] = 'X'; }},
        {"32 bits", [](std::string& b) { PutU16(b, 28, 32); }},
        {"8 bits", [](std::string& b) { PutU16(b, 28, 8); }},
        {"compressed", [](std::string& b) { PutU32(b, 30, 1); }},
        {"planes", [](std::string& b) { PutU16(b, 26, 2); }},
        {"zero width", [](std::string& b) { PutU32(b, 18, 0); }},
        {"negative width", [](std::string& b) { PutU32(b, 18, 0xFFFFFFFD); }},
        {"zero height", [](std::string& b) { PutU32(b, 22, 0); }},
        {"lowest height", [](std::string& b) { PutU32(b, 22, 0x80000000); }},
        {"huge", [](std::string& b) { PutU32(b, 18, 20000); }},
        {"core header", [](std::string& b) { PutU32(b, 14, 12); }},
        {"header past end", [](std::string& b) { PutU32(b, 14, 4000); }},
        {"offset past end", [](std::string& b) { PutU32(b, 10, 0xFFFFFFF0); }},
        {"offset inside header", [](std::string& b) { PutU32(b, 10, 20); }},
        {"pixels cut", [](std::string& b) { b.resize(b.size() - 5); }},
        {"headers cut", [](std::string& b) { b.resize(40); }},
    };
    for (const auto& [name, patch] : cases) {
        std::string bytes = good;
        patch(bytes);
        TempFolder dir;
        WriteRaw(dir.File("pic.dat"), Scrambled(bytes));
        RgbaImage image = Gradient(1, 1);
        EXPECT_FALSE(LoadScrambledBitmap(dir.File("pic.dat"), image)) << name;
        EXPECT_EQ(image, Gradient(1, 1)) << name;
    }
}

TEST(ScrambledBitmap, LastRowMayLackItsPadding) {
    std::string bytes = EncodeBmp(Opaque(Gradient(3, 4)), false);
    bytes.resize(bytes.size() - 3);
    RgbaImage image;
    EXPECT_TRUE(DecodeBmp24(bytes, image));
}

} // namespace
} // namespace orrindale
