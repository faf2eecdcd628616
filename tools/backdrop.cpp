// The playfield backdrop strip: 4 x 29 dark tiles that repeat sideways across the field.
#include "tools/artwork.h"

namespace {

constexpr Rgb groundColour{15, 19, 33};
constexpr Rgb edgeLit{25, 31, 52};
constexpr Rgb edgeShade{8, 10, 19};
constexpr Rgb cornerColour{33, 40, 64};

// One recessed floor tile. Every tile is complete within its own 16 x 16 square, so the strip
// joins itself without a seam and the 48-column remnant at the field's right edge ends on a tile edge.
void DrawFieldCell(Image& image, int x0, int y0, int column, int row, bool plain) {
    FillRect(image, x0, y0, cellSize, cellSize, groundColour);
    for (int i = 0; i < cellSize; ++i) {
        SetPixel(image, x0 + i, y0, edgeLit);
        SetPixel(image, x0, y0 + i, edgeLit);
        SetPixel(image, x0 + i, y0 + cellSize - 1, edgeShade);
        SetPixel(image, x0 + cellSize - 1, y0 + i, edgeShade);
    }
    SetPixel(image, x0, y0, cornerColour);
    if (plain)
        return;
    // A few faint specks give the floor a worn grain without drawing the eye.
    for (int j = 2; j < cellSize - 2; ++j)
        for (int i = 2; i < cellSize - 2; ++i) {
            const std::uint32_t h = Hash(column * cellSize + i, row * cellSize + j, 7);
            if (h % 23 == 0)
                SetPixel(image, x0 + i, y0 + j, Add(groundColour, (h >> 8) % 2 == 0 ? 3 : -3));
        }
    // Every other tile on a diagonal carries a faint engraved diamond, a quiet pattern that
    // repeats every four cells both ways.
    if ((column + row) % 4 == 0) {
        const Rgb mark = Add(groundColour, 5);
        for (int k = 0; k < 4; ++k) {
            SetPixel(image, x0 + 7 - k, y0 + 4 + k, mark);
            SetPixel(image, x0 + 8 + k, y0 + 4 + k, mark);
            SetPixel(image, x0 + 4 + k, y0 + 8 + k, mark);
            SetPixel(image, x0 + 11 - k, y0 + 8 + k, mark);
        }
    }
}

}  // namespace

Rgb SpriteGround() {
    return groundColour;
}

void DrawPlainCell(Image& image, int x0, int y0) {
    DrawFieldCell(image, x0, y0, 0, 0, true);
}

Image DrawBackdropStrip() {
    Image strip = MakeImage(stripWidth, stripHeight, groundColour);
    for (int row = 0; row < stripHeight / cellSize; ++row)
        for (int column = 0; column < stripWidth / cellSize; ++column)
            DrawFieldCell(strip, column * cellSize, row * cellSize, column, row, false);
    return strip;
}
