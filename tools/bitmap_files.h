// Writers (and readers, for checking) of the two file formats the game loads its artwork from:
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

// The facts of a bitmap file a loader relies on; valid is false when the headers do not hold together.
struct BmpInfo {
    bool valid;
    std::uint32_t fileSize;
    std::uint32_t dataOffset;
    std::int32_t width;
    std::int32_t height;  // positive: rows stored bottom-up
    int bitsPerPixel;
    std::uint32_t compression;
    std::uint32_t rowStride;
};

// Bottom-up rows of blue, green, red bytes, each row padded to a multiple of 4 bytes.
Bytes EncodeBmp24(const Image& image);
BmpInfo ReadBmpInfo(const Bytes& file);
// Only the layout EncodeBmp24 writes; false for anything else.
bool DecodeBmp24(const Bytes& file, Image& image);

// One 4-bit image with its AND mask in a standard icon container.
Bytes EncodeIco4(const IndexedImage& icon);
bool DecodeIco4(const Bytes& file, IndexedImage& icon);

// The picture of an indexed image; transparent pixels take the given colour.
Image ToRgb(const IndexedImage& icon, Rgb transparentColour);

bool WriteFile(const std::string& path, const Bytes& bytes);
bool ReadFile(const std::string& path, Bytes& bytes);
