// Writers of the two file formats the game loads its artwork from:
// 24-bit uncompressed Windows bitmaps and 16-colour icons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/image.h"

using Bytes = std::vector<std::uint8_t>;

// A picture of at most 16 colours, as an icon holds it; transparent pixels are set in the AND mask.
struct IndexedImage {
    int width;
    int height;
    Rgb palette[16];
    std::vector<std::uint8_t> index;        // row-major, top row first, values 0..15
    std::vector<std::uint8_t> transparent;  // 1 where the desktop shows through
};

// Bottom-up rows of blue, green, red bytes, each row padded to a multiple of 4 bytes.
Bytes EncodeBmp24(const Image& image);

// One 4-bit image with its AND mask in a standard icon container.
Bytes EncodeIco4(const IndexedImage& icon);

// The picture of an indexed image; transparent pixels take the given colour.
Image ToRgb(const IndexedImage& icon, Rgb transparentColour);

bool WriteFile(const std::string& path, const Bytes& bytes);
