// Text in an opaque box, in the manner of TextOutA: each character's cell of the glyph atlas is the
// background colour blended towards the text colour by the glyph's coverage.
#include "platform/memory/glyphs.h"
#include "platform/memory/memory_internal.h"

namespace {

// The 256 pixels of a colour pair, one for each coverage. The program writes in four colour pairs;
// a few more slots keep a stray colour from evicting them.
constexpr int paletteCapacity = 8;
struct ColourPalette {
    bool filled;
    uint32_t textColour;
    uint32_t backgroundColour;
    uint32_t lastUse;
    uint32_t pixels[256];
};
ColourPalette palettes[paletteCapacity];
uint32_t useCounter = 0;

// A channel from the background towards the text by coverage / 255, the remainder dropped towards
// the background: the shades a font renderer gives to a glyph drawn on a solid background.
uint32_t Blend(uint32_t text, uint32_t background, int shift, int coverage) {
    const int from = static_cast<int>((background >> shift) & 0xFF);
    const int to = static_cast<int>((text >> shift) & 0xFF);
    return static_cast<uint32_t>(from + (to - from) * coverage / 255) << shift;
}

const uint32_t* PaletteFor(uint32_t textColour, uint32_t backgroundColour) {
    ++useCounter;
    ColourPalette* oldest = &palettes[0];
    for (ColourPalette& palette : palettes) {
        if (palette.filled && palette.textColour == textColour && palette.backgroundColour == backgroundColour) {
            palette.lastUse = useCounter;
            return palette.pixels;
        }
        if (!palette.filled || (oldest->filled && palette.lastUse < oldest->lastUse)) {
            oldest = &palette;
        }
    }
    const uint32_t text = PixelOf(textColour);
    const uint32_t background = PixelOf(backgroundColour);
    for (int coverage = 0; coverage < 256; ++coverage) {
        oldest->pixels[coverage] = Blend(text, background, 16, coverage) | Blend(text, background, 8, coverage) |
                                   Blend(text, background, 0, coverage);
    }
    oldest->filled = true;
    oldest->textColour = textColour;
    oldest->backgroundColour = backgroundColour;
    oldest->lastUse = useCounter;
    return oldest->pixels;
}

// Tells a glyph's writes apart from every other write at the same place.
uint64_t GlyphSignature(int glyph, uint32_t textColour, uint32_t backgroundColour, int32_t x, int32_t y) {
    uint64_t value = (static_cast<uint64_t>(textColour) << 32 | backgroundColour) ^ 0x7465787400000000u;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
    value ^= static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32 | static_cast<uint32_t>(y);
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
    value ^= static_cast<uint64_t>(glyph);
    value = (value ^ (value >> 31)) * 0xBF58476D1CE4E5B9u;
    return value ^ (value >> 29);
}

}  // namespace

// Every context writes its text in an opaque box, GDI's default and the only mode the program uses.
void PlatformSetOpaqueBackground(DrawContext*) {}

void PlatformSetBackgroundColour(DrawContext* context, uint32_t colour) {
    if (context != nullptr) {
        context->backgroundColour = colour;
    }
}

void PlatformSetTextColour(DrawContext* context, uint32_t colour) {
    if (context != nullptr) {
        context->textColour = colour;
    }
}

void PlatformTextOut(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t count) {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t* pixels = context != nullptr ? ContextPixels(context, &width, &height) : nullptr;
    if (pixels == nullptr || text == nullptr || count <= 0) {
        return;
    }
    const uint32_t* palette = PaletteFor(context->textColour, context->backgroundColour);
    // Places are computed wide, so that text far off the target overflows nothing.
    const int64_t cellBottom = static_cast<int64_t>(y) + glyphCellHeight;
    const int32_t top = y > 0 ? y : 0;
    const int32_t bottom = static_cast<int32_t>(cellBottom < height ? cellBottom : height);
    for (int64_t i = 0; i < count && top < bottom; ++i) {
        const int64_t cellLeft = x + i * glyphCellWidth;
        if (cellLeft >= width) {
            break;
        }
        if (cellLeft + glyphCellWidth <= 0) {
            continue;
        }
        int glyph = static_cast<unsigned char>(text[i]);
        if (glyph < firstGlyph || glyph > lastGlyph) {
            glyph = '?';  // the font's ASCII is all the program writes; anything else from a file shows as '?'
        }
        const int32_t left = static_cast<int32_t>(cellLeft > 0 ? cellLeft : 0);
        const int32_t right =
            static_cast<int32_t>(cellLeft + glyphCellWidth < width ? cellLeft + glyphCellWidth : width);
        const unsigned char* cell = glyphCoverage + (glyph - firstGlyph) * glyphCellWidth * glyphCellHeight;
        for (int32_t row = top; row < bottom; ++row) {
            const unsigned char* coverage = cell + (row - y) * glyphCellWidth + (left - cellLeft);
            uint32_t* target = pixels + static_cast<int64_t>(row) * width;
            for (int32_t column = left; column < right; ++column) {
                target[column] = palette[*coverage++];
            }
        }
        NoteContextWrite(
            context, Rect{left, top, right, bottom},
            GlyphSignature(glyph, context->textColour, context->backgroundColour, static_cast<int32_t>(cellLeft), y));
    }
}
