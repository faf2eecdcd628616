// BMP and ICO encoders and readers of the artwork generator, written out field by field so the
// byte order is little-endian whatever the host.
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

std::uint32_t Get16(const Bytes& in, std::size_t at) {
    return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8;
}

std::uint32_t Get32(const Bytes& in, std::size_t at) {
    return Get16(in, at) | Get16(in, at + 2) << 16;
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

BmpInfo ReadBmpInfo(const Bytes& file) {
    BmpInfo info{};
    if (file.size() < fileHeaderSize + infoHeaderSize || file[0] != 'B' || file[1] != 'M')
        return info;
    info.fileSize = Get32(file, 2);
    info.dataOffset = Get32(file, 10);
    if (Get32(file, 14) < infoHeaderSize)
        return info;
    info.width = static_cast<std::int32_t>(Get32(file, 18));
    info.height = static_cast<std::int32_t>(Get32(file, 22));
    info.bitsPerPixel = static_cast<int>(Get16(file, 28));
    info.compression = Get32(file, 30);
    if (info.width <= 0 || info.height == 0 || info.bitsPerPixel == 0)
        return info;
    info.rowStride = Stride(info.width, info.bitsPerPixel);
    const std::uint32_t rows = static_cast<std::uint32_t>(info.height < 0 ? -info.height : info.height);
    info.valid = info.fileSize == file.size() && info.dataOffset + info.rowStride * rows <= file.size();
    return info;
}

bool DecodeBmp24(const Bytes& file, Image& image) {
    const BmpInfo info = ReadBmpInfo(file);
    if (!info.valid || info.bitsPerPixel != 24 || info.compression != 0 || info.height < 0)
        return false;
    image = MakeImage(info.width, info.height, {0, 0, 0});
    for (int y = 0; y < info.height; ++y) {
        const std::size_t row = info.dataOffset + static_cast<std::size_t>(info.height - 1 - y) * info.rowStride;
        for (int x = 0; x < info.width; ++x) {
            const std::size_t at = row + static_cast<std::size_t>(x) * 3;
            SetPixel(image, x, y, {file[at + 2], file[at + 1], file[at]});
        }
    }
    return true;
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

bool DecodeIco4(const Bytes& file, IndexedImage& icon) {
    if (file.size() < iconDirSize + iconEntrySize + infoHeaderSize + 64)
        return false;
    if (Get16(file, 0) != 0 || Get16(file, 2) != 1 || Get16(file, 4) != 1)
        return false;
    const std::uint32_t offset = Get32(file, 18);
    const std::uint32_t size = Get32(file, 14);
    if (offset + size > file.size() || size < infoHeaderSize + 64)
        return false;
    const int width = static_cast<int>(Get32(file, offset + 4));
    const int doubledHeight = static_cast<int>(Get32(file, offset + 8));
    if (Get16(file, offset + 14) != 4 || width <= 0 || width > 256 || doubledHeight <= 0 || doubledHeight > 512 ||
        doubledHeight % 2 != 0)
        return false;
    icon.width = width;
    icon.height = doubledHeight / 2;
    const std::uint32_t colourStride = Stride(width, 4);
    const std::uint32_t maskStride = Stride(width, 1);
    const std::size_t palette = offset + infoHeaderSize;
    const std::size_t colours = palette + 64;
    const std::size_t mask = colours + colourStride * static_cast<std::size_t>(icon.height);
    if (mask + maskStride * static_cast<std::size_t>(icon.height) > file.size())
        return false;
    for (int i = 0; i < 16; ++i)
        icon.palette[i] = {file[palette + 4 * i + 2], file[palette + 4 * i + 1], file[palette + 4 * i]};
    const std::size_t count = static_cast<std::size_t>(icon.width) * icon.height;
    icon.index.assign(count, 0);
    icon.transparent.assign(count, 0);
    for (int y = 0; y < icon.height; ++y) {
        const int stored = icon.height - 1 - y;
        for (int x = 0; x < icon.width; ++x) {
            const std::uint8_t pair = file[colours + stored * colourStride + x / 2];
            icon.index[static_cast<std::size_t>(y) * icon.width + x] =
                static_cast<std::uint8_t>((x % 2 == 0) ? pair >> 4 : pair & 0x0F);
            const std::uint8_t bits = file[mask + stored * maskStride + x / 8];
            icon.transparent[static_cast<std::size_t>(y) * icon.width + x] = (bits >> (7 - x % 8)) & 1;
        }
    }
    return true;
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

bool ReadFile(const std::string& path, Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    bytes.clear();
    std::uint8_t buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return true;
}
