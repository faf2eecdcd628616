// BMP and ICO encoders of the artwork generator, written out field by field so the byte order is
// little-endian whatever the host.
#include "tools/bitmap_files.h"

#include <cstdio>

namespace {

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t infoHeaderSize = 40;
constexpr std::uint32_t iconDirSize = 6;
constexpr std::uint32_t iconEntrySize = 16;
constexpr std::int32_t pixelsPerMetre = 2835;  // 72 dpi

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFFu);
    Put16(out, v >> 16);
}

std::uint32_t Stride(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

void PutInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize,
                   std::uint32_t coloursUsed) {
    Put32(out, infoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);  // planes
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, pixelsPerMetre);
    Put32(out, pixelsPerMetre);
    Put32(out, coloursUsed);
    Put32(out, 0);  // all colours important
}

}  // namespace

Bytes EncodeBmp24(const Image& image) {
    const std::uint32_t stride = Stride(image.width, 24);
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(image.height);
    Bytes out;
    out.reserve(fileHeaderSize + infoHeaderSize + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileHeaderSize + infoHeaderSize + imageSize);
    Put32(out, 0);  // two reserved words
    Put32(out, fileHeaderSize + infoHeaderSize);
    PutInfoHeader(out, image.width, image.height, 24, imageSize, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = GetPixel(image, x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(image.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

Bytes EncodeIco4(const IndexedImage& icon) {
    const std::uint32_t colourStride = Stride(icon.width, 4);
    const std::uint32_t maskStride = Stride(icon.width, 1);
    const std::uint32_t imageSize = (colourStride + maskStride) * static_cast<std::uint32_t>(icon.height);
    const std::uint32_t resourceSize = infoHeaderSize + 16 * 4 + imageSize;
    Bytes out;
    Put16(out, 0);                                         // reserved
    Put16(out, 1);                                         // icon, not cursor
    Put16(out, 1);                                         // one image
    out.push_back(static_cast<std::uint8_t>(icon.width));  // 256 would be written as 0
    out.push_back(static_cast<std::uint8_t>(icon.height));
    out.push_back(16);  // colours in the palette
    out.push_back(0);
    Put16(out, 1);  // planes
    Put16(out, 4);  // bits per pixel
    Put32(out, resourceSize);
    Put32(out, iconDirSize + iconEntrySize);
    // The image's height counts the colour rows and the mask rows together.
    PutInfoHeader(out, icon.width, icon.height * 2, 4, imageSize, 16);
    for (const Rgb& c : icon.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = icon.height - 1; y >= 0; --y) {
        Bytes row(colourStride, 0);
        for (int x = 0; x < icon.width; ++x) {
            const std::uint8_t v = icon.index[static_cast<std::size_t>(y) * icon.width + x] & 0x0F;
            row[x / 2] |= static_cast<std::uint8_t>((x % 2 == 0) ? v << 4 : v);  // high nibble first
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = icon.height - 1; y >= 0; --y) {
        Bytes row(maskStride, 0);
        for (int x = 0; x < icon.width; ++x)
            if (icon.transparent[static_cast<std::size_t>(y) * icon.width + x])
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));  // most significant bit first
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Image ToRgb(const IndexedImage& icon, Rgb transparentColour) {
    Image image = MakeImage(icon.width, icon.height, transparentColour);
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * icon.width + x;
            if (!icon.transparent[at])
                SetPixel(image, x, y, icon.palette[icon.index[at] & 0x0F]);
        }
    return image;
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}
