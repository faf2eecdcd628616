// Text output on SDL2 in the manner of TextOutA: the built-in font's glyphs, rendered once per
// colour pair into an atlas, copied character by character inside an opaque box.
#include <SDL_ttf.h>

#include "platform/sdl/sdl_platform.h"

extern const unsigned char vornixFontData[];
extern const size_t vornixFontDataSize;

namespace {

constexpr int firstGlyph = 32;  // space
constexpr int lastGlyph = 126;  // tilde
constexpr int glyphCount = lastGlyph - firstGlyph + 1;
constexpr int maxLineHeight = 16;  // the score list's rows are 16 pixels apart
// An 11-letter name must fit the 80 pixels between the list's name column (370) and score column (450).
constexpr int maxNameWidth = 80;
constexpr int maxNameLength = 11;

TTF_Font* font = nullptr;
bool fontTried = false;
int cellWidth = 0;
int cellHeight = 0;

// The program writes in four colour pairs; a few more slots keep a stray colour from evicting them.
constexpr int atlasCapacity = 8;
struct GlyphAtlas {
    SDL_Surface* pixels;  // all glyphs side by side, one cell each, in the target's format
    uint32_t textColour;
    uint32_t backgroundColour;
    uint32_t lastUse;
};
GlyphAtlas atlases[atlasCapacity];
uint32_t useCounter = 0;

// The rows a glyph cell needs: from the font's ascent down to the lowest descender among the
// printable characters, which reaches below the font's nominal descent (the underscore does).
int CellHeightOf(TTF_Font* candidate) {
    int lowest = TTF_FontDescent(candidate);
    for (int glyph = firstGlyph; glyph <= lastGlyph; ++glyph) {
        int minY = 0;
        if (TTF_GlyphMetrics(candidate, static_cast<Uint16>(glyph), nullptr, nullptr, &minY, nullptr, nullptr) == 0 &&
            minY < lowest) {
            lowest = minY;
        }
    }
    return TTF_FontAscent(candidate) - lowest;
}

bool OpenFont() {
    if (fontTried) {
        return font != nullptr;
    }
    fontTried = true;
    if (TTF_WasInit() == 0 && TTF_Init() != 0) {
        PlatformDebugOutput("TTF_Init failed\n");
        return false;
    }
    // The largest size whose lines fit the list's rows and whose names fit its columns.
    int advance = 0;
    for (int pointSize = 16; pointSize >= 6 && font == nullptr; --pointSize) {
        SDL_RWops* stream = SDL_RWFromConstMem(vornixFontData, static_cast<int>(vornixFontDataSize));
        TTF_Font* candidate = stream != nullptr ? TTF_OpenFontRW(stream, 1, pointSize) : nullptr;
        if (candidate == nullptr) {
            break;
        }
        if (CellHeightOf(candidate) <= maxLineHeight && TTF_FontLineSkip(candidate) <= maxLineHeight &&
            TTF_GlyphMetrics(candidate, 'M', nullptr, nullptr, nullptr, nullptr, &advance) == 0 &&
            advance * maxNameLength <= maxNameWidth) {
            font = candidate;
        } else {
            TTF_CloseFont(candidate);
        }
    }
    if (font == nullptr) {
        PlatformDebugOutput("font could not be opened\n");
        return false;
    }
    cellWidth = advance;
    cellHeight = CellHeightOf(font);
    return true;
}

bool RenderAtlas(GlyphAtlas* atlas, const SDL_PixelFormat* format) {
    if (atlas->pixels != nullptr && atlas->pixels->format->format != format->format) {
        SDL_FreeSurface(atlas->pixels);
        atlas->pixels = nullptr;
    }
    if (atlas->pixels == nullptr) {
        atlas->pixels =
            SDL_CreateRGBSurfaceWithFormat(0, glyphCount * cellWidth, cellHeight, format->BitsPerPixel, format->format);
        if (atlas->pixels == nullptr) {
            return false;
        }
        SDL_SetSurfaceBlendMode(atlas->pixels, SDL_BLENDMODE_NONE);
    }
    const SDL_Color text = ColourOf(atlas->textColour);
    const SDL_Color background = ColourOf(atlas->backgroundColour);
    SDL_FillRect(atlas->pixels, nullptr, SDL_MapRGB(atlas->pixels->format, background.r, background.g, background.b));
    for (int glyph = firstGlyph; glyph <= lastGlyph; ++glyph) {
        SDL_Surface* rendered = TTF_RenderGlyph_Shaded(font, static_cast<Uint16>(glyph), text, background);
        if (rendered == nullptr) {
            continue;  // the space has no ink: its cell stays the background
        }
        SDL_Rect from{0, 0, rendered->w < cellWidth ? rendered->w : cellWidth,
                      rendered->h < cellHeight ? rendered->h : cellHeight};
        SDL_Rect to{(glyph - firstGlyph) * cellWidth, 0, from.w, from.h};
        SDL_BlitSurface(rendered, &from, atlas->pixels, &to);
        SDL_FreeSurface(rendered);
    }
    return true;
}

// The atlas of a colour pair in the target's format, rendered when first asked for.
SDL_Surface* AtlasFor(uint32_t textColour, uint32_t backgroundColour, const SDL_PixelFormat* format) {
    ++useCounter;
    GlyphAtlas* oldest = &atlases[0];
    for (GlyphAtlas& atlas : atlases) {
        if (atlas.pixels != nullptr && atlas.textColour == textColour && atlas.backgroundColour == backgroundColour &&
            atlas.pixels->format->format == format->format) {
            atlas.lastUse = useCounter;
            return atlas.pixels;
        }
        if (atlas.pixels == nullptr || (oldest->pixels != nullptr && atlas.lastUse < oldest->lastUse)) {
            oldest = &atlas;
        }
    }
    oldest->textColour = textColour;
    oldest->backgroundColour = backgroundColour;
    oldest->lastUse = useCounter;
    if (!RenderAtlas(oldest, format)) {
        return nullptr;
    }
    return oldest->pixels;
}

}  // namespace

// Every context of this layer writes its text in an opaque box, GDI's default and the only mode used.
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
    SDL_Surface* target = ContextPixels(context);
    if (target == nullptr || text == nullptr || count <= 0 || !OpenFont()) {
        return;
    }
    SDL_Surface* atlas = AtlasFor(context->textColour, context->backgroundColour, target->format);
    if (atlas == nullptr) {
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        int glyph = static_cast<unsigned char>(text[i]);
        if (glyph < firstGlyph || glyph > lastGlyph) {
            glyph = '?';  // the font's ASCII is all the program writes; anything else from a file shows as '?'
        }
        const SDL_Rect cell{(glyph - firstGlyph) * cellWidth, 0, cellWidth, cellHeight};
        CopyPixels(target, x + i * cellWidth, y, atlas, cell);
    }
}

void ShutdownText() {
    for (GlyphAtlas& atlas : atlases) {
        if (atlas.pixels != nullptr) {
            SDL_FreeSurface(atlas.pixels);
        }
        atlas = GlyphAtlas{};
    }
    if (font != nullptr) {
        TTF_CloseFont(font);
        font = nullptr;
    }
    fontTried = false;
    if (TTF_WasInit() != 0) {
        TTF_Quit();
    }
}
