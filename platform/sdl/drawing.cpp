// Bitmaps and drawing contexts on SDL2: BMP files, memory contexts holding a bitmap, surface
// contexts, and the stretching copy with colour conversion.
#include "platform/sdl/sdl_platform.h"

namespace {

// The program holds one bitmap and one memory context at a time, while a bitmap is copied in.
constexpr int bitmapCapacity = 4;
Bitmap bitmaps[bitmapCapacity];
constexpr int memoryContextCapacity = 4;
DrawContext memoryContexts[memoryContextCapacity];

// A fresh context draws black text on white, as a GDI context does.
void ResetContext(DrawContext* context, Surface* surface) {
    *context = DrawContext{};
    context->inUse = true;
    context->surface = surface;
    context->textColour = 0x000000;
    context->backgroundColour = 0xFFFFFF;
}

// The header of a bitmap file is outside input: SDL allocates, and clears, whatever size it
// claims before it reads a single pixel, 1.5 GiB for a 1 KB file claiming 20000 x 20000.
constexpr int64_t largestBitmapSide = 16384;

uint32_t LittleEndian(const unsigned char* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// True when the rows that the header claims, each padded to four bytes, fit in the file after the
// offset where its pixels begin, and neither side exceeds 16384 pixels. Compressed files are weighed by the same rule:
// a picture is never allowed more pixel memory than its file could hold uncompressed.
bool HeaderFitsFile(SDL_RWops* file) {
    // The file header (14 bytes), then the info header's size, the width and the height, the
    // planes and the bits per pixel: 16-bit fields in the old 12-byte header, else 32-bit sides.
    unsigned char header[30];
    const Sint64 fileSize = SDL_RWsize(file);
    if (fileSize < 0 || SDL_RWread(file, header, sizeof header, 1) != 1 || header[0] != 'B' || header[1] != 'M') {
        return false;
    }
    const bool oldHeader = LittleEndian(header + 14, 4) == 12;
    const int64_t width = oldHeader ? LittleEndian(header + 18, 2) : static_cast<int32_t>(LittleEndian(header + 18, 4));
    int64_t height = oldHeader ? LittleEndian(header + 20, 2) : static_cast<int32_t>(LittleEndian(header + 22, 4));
    const int64_t bitsPerPixel = LittleEndian(header + (oldHeader ? 24 : 28), 2);
    height = height < 0 ? -height : height;  // a negative height stands for rows stored top first
    if (width <= 0 || height == 0 || width > largestBitmapSide || height > largestBitmapSide) {
        return false;
    }
    const int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return rowBytes * height <= fileSize - static_cast<int64_t>(LittleEndian(header + 10, 4));
}

}  // namespace

SDL_Surface* ContextPixels(DrawContext* context) {
    if (context == nullptr || !context->inUse) {
        return nullptr;
    }
    return context->surface != nullptr ? SurfacePixels(context->surface) : context->selected;
}

Bitmap* PlatformLoadBitmapFile(const char* path) {
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    if (file == nullptr) {
        return nullptr;
    }
    if (!HeaderFitsFile(file) || SDL_RWseek(file, 0, RW_SEEK_SET) != 0) {
        SDL_RWclose(file);
        return nullptr;
    }
    SDL_Surface* image = SDL_LoadBMP_RW(file, 1);
    if (image == nullptr) {
        return nullptr;
    }
    for (Bitmap& bitmap : bitmaps) {
        if (!bitmap.inUse) {
            SDL_SetSurfaceBlendMode(image, SDL_BLENDMODE_NONE);
            bitmap.inUse = true;
            bitmap.pixels = image;
            return &bitmap;
        }
    }
    SDL_FreeSurface(image);
    return nullptr;
}

void PlatformGetBitmapSize(Bitmap* bitmap, int32_t* width, int32_t* height) {
    *width = bitmap != nullptr && bitmap->inUse ? bitmap->pixels->w : 0;
    *height = bitmap != nullptr && bitmap->inUse ? bitmap->pixels->h : 0;
}

void PlatformDeleteBitmap(Bitmap* bitmap) {
    if (bitmap == nullptr || !bitmap->inUse) {
        return;
    }
    // A context that still holds the bitmap holds nothing from now on.
    for (DrawContext& context : memoryContexts) {
        if (context.selected == bitmap->pixels) {
            context.selected = nullptr;
        }
    }
    SDL_FreeSurface(bitmap->pixels);
    *bitmap = Bitmap{};
}

DrawContext* PlatformCreateMemoryContext() {
    for (DrawContext& context : memoryContexts) {
        if (!context.inUse) {
            ResetContext(&context, nullptr);
            return &context;
        }
    }
    return nullptr;
}

void PlatformSelectBitmap(DrawContext* context, Bitmap* bitmap) {
    if (context != nullptr && context->surface == nullptr) {
        context->selected = bitmap != nullptr && bitmap->inUse ? bitmap->pixels : nullptr;
    }
}

void PlatformDeleteMemoryContext(DrawContext* context) {
    if (context != nullptr && context->surface == nullptr) {
        *context = DrawContext{};
    }
}

HRESULT PlatformGetDC(Surface* surface, DrawContext** context) {
    *context = nullptr;
    if (SurfacePixels(surface) == nullptr || surface->context.inUse) {
        return E_FAIL;  // no surface, or its context is already handed out
    }
    ResetContext(&surface->context, surface);
    *context = &surface->context;
    return S_OK;
}

HRESULT PlatformReleaseDC(Surface* surface, DrawContext* context) {
    if (surface == nullptr || !surface->inUse || context != &surface->context || !context->inUse) {
        return E_FAIL;
    }
    context->inUse = false;
    NoteSurfaceDrawn(surface);
    return S_OK;
}

void PlatformStretchCopy(DrawContext* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                         DrawContext* source, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                         int32_t sourceHeight) {
    SDL_Surface* to = ContextPixels(destination);
    SDL_Surface* from = ContextPixels(source);
    if (to == nullptr || from == nullptr || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return;
    }
    SDL_Rect sourceRect{sourceX, sourceY, sourceWidth, sourceHeight};
    SDL_Rect targetRect{x, y, width, height};
    if (width == sourceWidth && height == sourceHeight) {
        SDL_BlitSurface(from, &sourceRect, to, &targetRect);
        return;
    }
    if (from->format->format == to->format->format) {
        SDL_BlitScaled(from, &sourceRect, to, &targetRect);
        return;
    }
    // SDL scales only between like formats: convert first. This runs only when a bitmap is loaded.
    SDL_Surface* converted = SDL_ConvertSurface(from, to->format, 0);
    if (converted == nullptr) {
        return;
    }
    SDL_SetSurfaceBlendMode(converted, SDL_BLENDMODE_NONE);
    SDL_BlitScaled(converted, &sourceRect, to, &targetRect);
    SDL_FreeSurface(converted);
}

void ReleaseBitmapsAndContexts() {
    for (Bitmap& bitmap : bitmaps) {
        PlatformDeleteBitmap(&bitmap);
    }
    for (DrawContext& context : memoryContexts) {
        context = DrawContext{};
    }
}
