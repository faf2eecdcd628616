// The 800 x 600 background: a snakeskin bezel with the title, the two status panels and the frame
// around the playfield. Only what lies outside the playfield is ever seen; frames repaint the rest.
#include <cstring>

#include "tools/artwork.h"
#include "tools/pixel_font.h"

namespace {

// Dark skin of the bezel.
constexpr Rgb skinColour{16, 30, 30};
constexpr Rgb skinLight{26, 46, 44};
constexpr Rgb skinDark{8, 16, 18};
// Brass trim of the frames.
constexpr Rgb trimLight{255, 222, 130};
constexpr Rgb trimColour{214, 160, 58};
constexpr Rgb trimDark{120, 76, 22};
constexpr Rgb trimShadow{46, 28, 8};
constexpr Rgb blackInk{0, 0, 0};

// Status panels: their insides stay black, the colour of the text boxes drawn over them.
// Each frames its two lines of status text, whose letters are 15 pixels high, with a margin of 8.
constexpr int panelMargin = 8;
constexpr int panelTop = statusTopY - panelMargin;
constexpr int panelBottom = statusBottomY + 15 + panelMargin + 1;  // exclusive
constexpr int leftPanelLeft = statusLeftX - panelMargin;
constexpr int rightPanelLeft = statusRightX - panelMargin;
constexpr int panelWidth = 124;

// Overlapping scales in offset rows, as if laid from the top down so each row covers the lower
// half of the one above; every scale darkens towards its rim and catches light near its top.
void DrawSkin(Image& image) {
    constexpr int columnStep = 10;
    constexpr int rowStep = 6;
    constexpr int radius2 = 36;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            Rgb c = skinDark;
            // The scale drawn last wins: look from the lowest row that can reach this pixel upwards.
            for (int row = y / rowStep + 1; row >= y / rowStep - 1; --row) {
                const int shift = (row % 2 != 0) ? columnStep / 2 : 0;
                const int column = (x - shift + columnStep / 2) / columnStep;
                const int cx = column * columnStep + shift;
                const int cy = row * rowStep - 3;
                const int dx = x - cx, dy = y - cy;
                const int d2 = dx * dx + dy * dy;
                if (dy < 0 || d2 > radius2)
                    continue;
                if (d2 > 24)
                    c = skinDark;
                else if (d2 > 14)
                    c = skinColour;
                else if (dy <= 2 && d2 < 10)
                    c = skinLight;
                else
                    c = Mix(skinColour, skinLight, 110);
                break;
            }
            SetPixel(image, x, y, c);
        }
}

// A raised brass frame of the given thickness around the rectangle, lit from the top left, with a
// dark line on both sides so it stands off the skin and off what it frames.
void DrawTrim(Image& image, int left, int top, int width, int height, int thickness) {
    const int outer = thickness + 1;
    for (int j = -outer; j < height + outer; ++j)
        for (int i = -outer; i < width + outer; ++i) {
            if (i >= 0 && j >= 0 && i < width && j < height)
                continue;
            const int dx = i < 0 ? -i : (i >= width ? i - width + 1 : 0);
            const int dy = j < 0 ? -j : (j >= height ? j - height + 1 : 0);
            const int depth = dx > dy ? dx : dy;  // 1 next to the inside, outer at the rim
            Rgb c;
            if (depth == 1 || depth == outer)
                c = trimShadow;
            else {
                const bool upperLeft = (i < 0 && dx >= dy) || (j < 0 && dy >= dx);
                const int band = depth - 1;  // 1..thickness - 1
                if (band == thickness - 1)
                    c = upperLeft ? trimLight : trimColour;
                else if (band == 1)
                    c = upperLeft ? trimColour : trimDark;
                else
                    c = upperLeft ? Mix(trimLight, trimColour, 120) : Mix(trimColour, trimDark, 120);
            }
            SetPixel(image, left + i, top + j, c);
        }
    // Rivets at the corners.
    const int corners[][2] = {{left - outer + 1, top - outer + 1},
                              {left + width + outer - 3, top - outer + 1},
                              {left - outer + 1, top + height + outer - 3},
                              {left + width + outer - 3, top + height + outer - 3}};
    for (const auto& c : corners) {
        SetPixel(image, c[0], c[1], trimLight);
        SetPixel(image, c[0] + 1, c[1], trimColour);
        SetPixel(image, c[0], c[1] + 1, trimColour);
        SetPixel(image, c[0] + 1, c[1] + 1, trimShadow);
    }
}

void DrawPanel(Image& image, int left) {
    FillRect(image, left, panelTop, panelWidth, panelBottom - panelTop, blackInk);
    DrawTrim(image, left, panelTop, panelWidth, panelBottom - panelTop, 4);
}

// Each pixel of the face becomes a block, shaded from pale lime at the top to deep green at the
// bottom, bevelled where the letter ends, ridged like scales between block rows, on a black
// outline with a drop shadow.
constexpr int titleBlockWidth = 5;
constexpr int titleBlockHeight = 8;
constexpr int titleGap = 8;

void DrawTitle(Image& image, const char* title, int centreX, int top) {
    const int length = static_cast<int>(std::strlen(title));
    int width = 0;
    for (int i = 0; i < length; ++i)
        width += TitleGlyphWidth(title[i]) * titleBlockWidth + (i > 0 ? titleGap : 0);
    const int height = titleGlyphHeight * titleBlockHeight;
    const int left = centreX - width / 2;
    // Coverage of the whole title, so outline and bevels follow the letters' shapes.
    Image mask = MakeImage(width, height, blackInk);
    constexpr Rgb litColour{255, 255, 255};
    int x = 0;
    for (int i = 0; i < length; ++i) {
        const int columns = TitleGlyphWidth(title[i]);
        for (int row = 0; row < titleGlyphHeight; ++row)
            for (int column = 0; column < columns; ++column)
                if (TitleGlyphPixel(title[i], column, row))
                    FillRect(mask, x + column * titleBlockWidth, row * titleBlockHeight, titleBlockWidth,
                             titleBlockHeight, litColour);
        x += columns * titleBlockWidth + titleGap;
    }
    auto lit = [&](int px, int py) {
        return px >= 0 && py >= 0 && px < width && py < height && GetPixel(mask, px, py) == litColour;
    };
    for (int py = -3; py < height + 7; ++py)
        for (int px = -3; px < width + 7; ++px) {
            bool near = false;
            for (int dy = -2; dy <= 2 && !near; ++dy)
                for (int dx = -2; dx <= 2 && !near; ++dx)
                    near = lit(px + dx, py + dy);
            if (near)
                SetPixel(image, left + px, top + py, blackInk);
            else if (lit(px - 4, py - 4) || lit(px - 3, py - 3))
                SetPixel(image, left + px, top + py, Mix(GetPixel(image, left + px, top + py), blackInk, 170));
        }
    const Rgb topColour{236, 255, 160};
    const Rgb midColour{96, 214, 80};
    const Rgb bottomColour{16, 104, 48};
    for (int py = 0; py < height; ++py)
        for (int px = 0; px < width; ++px) {
            if (!lit(px, py))
                continue;
            const int t = py * 512 / height;
            Rgb c = t < 256 ? Mix(topColour, midColour, t) : Mix(midColour, bottomColour, t - 256);
            if (!lit(px - 1, py) || !lit(px, py - 1))
                c = Mix(c, {255, 255, 230}, 150);
            else if (!lit(px + 1, py) || !lit(px, py + 1) || !lit(px + 1, py + 1))
                c = Mix(c, {0, 40, 20}, 150);
            else if (py % titleBlockHeight == titleBlockHeight - 1)
                c = Mix(c, {0, 50, 20}, 70);
            else if (py % titleBlockHeight == 0)
                c = Mix(c, {255, 255, 230}, 50);
            SetPixel(image, left + px, top + py, c);
        }
}

void DrawCaption(Image& image, const char* text, int centreX, int top, Rgb colour) {
    const int left = centreX - TextColumns(text) / 2;
    for (int i = 0; text[i] != '\0'; ++i)
        for (int row = 0; row < glyphHeight; ++row)
            for (int column = 0; column < glyphWidth; ++column)
                if (GlyphPixel(text[i], column, row)) {
                    SetPixel(image, left + i * (glyphWidth + 1) + column + 1, top + row + 1, blackInk);
                    SetPixel(image, left + i * (glyphWidth + 1) + column, top + row, colour);
                }
}

// The icon's snake, twice its size, in a top corner; mirrored on the right so both look inwards.
void DrawEmblem(Image& image, int left, int top, bool mirrored) {
    const IndexedImage icon = DrawIcon();
    for (int y = 0; y < icon.height; ++y)
        for (int x = 0; x < icon.width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * icon.width + x;
            if (icon.transparent[at])
                continue;
            const int tx = mirrored ? icon.width - 1 - x : x;
            FillRect(image, left + 2 * tx, top + 2 * y, 2, 2, icon.palette[icon.index[at]]);
        }
}

}  // namespace

Image DrawBackground() {
    Image image = MakeImage(screenWidth, screenHeight, skinColour);
    DrawSkin(image);
    // The playfield itself is repainted by every frame; the strip is laid here only so the picture
    // is complete when looked at on its own.
    const Image strip = DrawBackdropStrip();
    for (int x = 0; x < fieldWidth; x += stripWidth)
        CopyRect(strip, 0, 0, x + stripWidth <= fieldWidth ? stripWidth : fieldWidth - x, stripHeight, image,
                 fieldLeft + x, fieldTop);
    DrawTrim(image, fieldLeft, fieldTop, fieldWidth, fieldHeight, 6);
    DrawPanel(image, leftPanelLeft);
    DrawPanel(image, rightPanelLeft);
    DrawEmblem(image, 32, 24, false);
    DrawEmblem(image, screenWidth - 32 - 2 * iconSize, 24, true);
    DrawTitle(image, "VORNIX", screenWidth / 2, 25);
    DrawCaption(image, "ARROWS STEER - SHIFT RUSH - SPACE START - ESC QUIT", screenWidth / 2, 582, {170, 150, 100});
    return image;
}
