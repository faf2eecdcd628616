// Pixel canvas and drawing primitives of the artwork generator.
#include "tools/image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

Image MakeImage(int width, int height, Rgb fill) {
    Image image{width, height, {}};
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    return image;
}

Rgb GetPixel(const Image& image, int x, int y) {
    x = std::clamp(x, 0, image.width - 1);
    y = std::clamp(y, 0, image.height - 1);
    return image.pixels[static_cast<std::size_t>(y) * image.width + x];
}

void SetPixel(Image& image, int x, int y, Rgb colour) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return;
    image.pixels[static_cast<std::size_t>(y) * image.width + x] = colour;
}

void FillRect(Image& image, int x, int y, int width, int height, Rgb colour) {
    for (int j = y; j < y + height; ++j)
        for (int i = x; i < x + width; ++i)
            SetPixel(image, i, j, colour);
}

void CopyRect(const Image& source, int sx, int sy, int width, int height, Image& target, int tx, int ty) {
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            SetPixel(target, tx + i, ty + j, GetPixel(source, sx + i, sy + j));
}

static std::uint8_t Clamp8(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

Rgb Mix(Rgb a, Rgb b, int t) {
    return {Clamp8(a.r + ((b.r - a.r) * t) / 256), Clamp8(a.g + ((b.g - a.g) * t) / 256),
            Clamp8(a.b + ((b.b - a.b) * t) / 256)};
}

Rgb Add(Rgb c, int delta) {
    return {Clamp8(c.r + delta), Clamp8(c.g + delta), Clamp8(c.b + delta)};
}

std::uint32_t Hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

static Rgb LookUp(char key, const PaletteKey* keys, int keyCount) {
    for (int k = 0; k < keyCount; ++k)
        if (keys[k].key == key)
            return keys[k].colour;
    std::fprintf(stderr, "vornix_artwork: no colour for map character '%c'\n", key);
    std::abort();
}

void DrawMap(Image& image, int x, int y, const char* const* rows, int rowCount, const PaletteKey* keys, int keyCount) {
    for (int j = 0; j < rowCount; ++j) {
        const int length = static_cast<int>(std::strlen(rows[j]));
        for (int i = 0; i < length; ++i)
            if (rows[j][i] != '.')
                SetPixel(image, x + i, y + j, LookUp(rows[j][i], keys, keyCount));
    }
}

void DrawMirroredMap(Image& image, int x, int y, const char* const* rows, int rowCount, const PaletteKey* keys,
                     int keyCount) {
    for (int j = 0; j < rowCount; ++j) {
        const int half = static_cast<int>(std::strlen(rows[j]));
        for (int i = 0; i < half; ++i) {
            if (rows[j][i] == '.')
                continue;
            const Rgb c = LookUp(rows[j][i], keys, keyCount);
            SetPixel(image, x + i, y + j, c);
            SetPixel(image, x + 2 * half - 1 - i, y + j, c);
        }
    }
}

void RotateBlockClockwise(Image& image, int x, int y, int size, int quarterTurns) {
    for (int turn = 0; turn < (quarterTurns & 3); ++turn) {
        Image copy = MakeImage(size, size, {0, 0, 0});
        CopyRect(image, x, y, size, size, copy, 0, 0);
        // Clockwise: the top row becomes the right column.
        for (int j = 0; j < size; ++j)
            for (int i = 0; i < size; ++i)
                SetPixel(image, x + size - 1 - j, y + i, GetPixel(copy, i, j));
    }
}
