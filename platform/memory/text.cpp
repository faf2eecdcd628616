// Text of the in-memory display, for now a stand-in: each letter is a 7 x 15 box in the background
// colour with a pattern of its code in the text colour. Not legible, but every letter, place and
// colour changes the picture.
#include "platform/memory/memory_internal.h"

void PlatformSetOpaqueBackground(DrawContext*) {}

void PlatformSetBackgroundColour(DrawContext* context, uint32_t colour) {
    context->backgroundColour = colour;
}

void PlatformSetTextColour(DrawContext* context, uint32_t colour) {
    context->textColour = colour;
}

void PlatformTextOut(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t count) {
    int32_t width = 0, height = 0;
    uint32_t* pixels = ContextPixels(context, &width, &height);
    if (pixels == nullptr || count <= 0) {
        return;
    }
    const uint32_t ink = PixelOf(context->textColour);
    const uint32_t paper = PixelOf(context->backgroundColour);
    uint64_t signature = Mix(static_cast<uint64_t>(context->textColour) << 32 | context->backgroundColour);
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t code = static_cast<unsigned char>(text[i]) * 2654435761u;
        signature = Mix(signature + code);
        for (int32_t row = 0; row < 15; ++row) {
            for (int32_t column = 0; column < 7; ++column) {
                const int32_t px = x + 7 * i + column, py = y + row;
                if (px < 0 || py < 0 || px >= width || py >= height) {
                    continue;
                }
                pixels[py * width + px] = ((code >> ((row * 7 + column) % 31)) & 1) != 0 ? ink : paper;
            }
        }
    }
    signature = Mix(signature + (static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32 | static_cast<uint32_t>(y)));
    const int32_t right = x + 7 * count;
    NoteContextWrite(
        context, Rect{x < 0 ? 0 : x, y < 0 ? 0 : y, right > width ? width : right, y + 15 > height ? height : y + 15},
        signature);
}
