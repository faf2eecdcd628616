// Pixel canvas and the drawing primitives the artwork generator builds its pictures from.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};

inline bool operator==(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// Row-major, top row first; pixels[y * width + x].
struct Image {
    int width;
    int height;
    std::vector<Rgb> pixels;
};

// A hand-drawn picture: one string per row, one character per pixel; '.' leaves the pixel as it is.
struct PaletteKey {
    char key;
    Rgb colour;
};

Image MakeImage(int width, int height, Rgb fill);
Rgb GetPixel(const Image& image, int x, int y);
// Pixels outside the image are dropped, so shapes may hang over an edge.
void SetPixel(Image& image, int x, int y, Rgb colour);
void FillRect(Image& image, int x, int y, int width, int height, Rgb colour);
void CopyRect(const Image& source, int sx, int sy, int width, int height, Image& target, int tx, int ty);

// t = 0 gives a, t = 256 gives b.
Rgb Mix(Rgb a, Rgb b, int t);
// Results are clamped to 0..255.
Rgb Add(Rgb colour, int delta);

// Deterministic per-position noise: the same arguments always give the same 32 bits.
std::uint32_t Hash(int x, int y, std::uint32_t seed);

// Draws rows of a hand-drawn picture; an unknown character is a fault in the generator and aborts.
void DrawMap(Image& image, int x, int y, const char* const* rows, int rowCount, const PaletteKey* keys, int keyCount);
// The same, for a left half that is mirrored to make the right half (rows of width / 2 characters).
void DrawMirroredMap(Image& image, int x, int y, const char* const* rows, int rowCount, const PaletteKey* keys,
                     int keyCount);

// Quarter turns clockwise of a square block in place.
void RotateBlockClockwise(Image& image, int x, int y, int size, int quarterTurns);
