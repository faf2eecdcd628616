// The PNG writer for the desktop's icons: 8-bit RGBA, no interlace, the image data in stored
// (uncompressed) deflate blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/bitmap_files.h"
#include "tools/image.h"

// A picture with a coverage per pixel: alpha 0 lets the desktop show through, 255 covers it.
struct RgbaImage {
    int width;
    int height;
    std::vector<Rgb> pixels;          // row-major, top row first
    std::vector<std::uint8_t> alpha;  // the same order
};

// The checksums PNG and its zlib stream carry: CRC-32 (ISO 3309) of each chunk, Adler-32 of the data.
std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t count);
std::uint32_t Adler32(const std::uint8_t* bytes, std::size_t count);

Bytes EncodePng(const RgbaImage& image);
