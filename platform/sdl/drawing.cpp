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

}  // namespace

SDL_Surface* ContextPixels(DrawContext* context) {
    if (context == nullptr || !context->inUse) {
        return nullptr;
    }
    return context->surface != nullptr ? SurfacePixels(context->surface) : context->selected;
}

// The program's module carries no bitmap resources on this platform.
Bitmap* PlatformLoadBitmapResource(const char*) {
    return nullptr;
}

Bitmap* PlatformLoadBitmapFile(const char* path) {
    SDL_Surface* image = SDL_LoadBMP(path);
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
