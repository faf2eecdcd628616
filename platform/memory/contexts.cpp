// Bitmaps and drawing contexts of the in-memory display: memory contexts holding a bitmap, the one
// context of each surface, and the stretched copy from one to another.
#include <cstring>

#include "platform/memory/memory_internal.h"

namespace {

// The program holds one bitmap and one memory context at a time, while a bitmap is copied in.
constexpr int bitmapCapacity = 2;
// The largest bitmap: a background drawn for a large screen.
constexpr int32_t largestBitmap = 1920 * 1200;
Bitmap bitmaps[bitmapCapacity];
uint32_t bitmapPixels[bitmapCapacity][largestBitmap];
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

Bitmap* TakeBitmap(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > largestBitmap) {
        return nullptr;
    }
    for (int i = 0; i < bitmapCapacity; ++i) {
        if (!bitmaps[i].inUse) {
            bitmaps[i] = Bitmap{true, width, height, bitmapPixels[i]};
            return &bitmaps[i];
        }
    }
    return nullptr;
}

uint32_t* ContextPixels(DrawContext* context, int32_t* width, int32_t* height) {
    if (context == nullptr || !context->inUse) {
        return nullptr;
    }
    if (context->surface != nullptr) {
        if (!context->surface->inUse || context->surface->lost) {
            return nullptr;
        }
        *width = context->surface->width;
        *height = context->surface->height;
        return context->surface->pixels;
    }
    if (context->selected == nullptr || !context->selected->inUse) {
        return nullptr;
    }
    *width = context->selected->width;
    *height = context->selected->height;
    return context->selected->pixels;
}

void NoteContextWrite(DrawContext* context, const Rect& written, uint64_t signature) {
    // Bitmaps keep no record: nothing copies from them but the stretched copy, which signs uniquely.
    if (context != nullptr && context->surface != nullptr) {
        NoteSurfaceWrite(context->surface, written, signature);
    }
}

void PlatformGetBitmapSize(Bitmap* bitmap, int32_t* width, int32_t* height) {
    const bool held = bitmap != nullptr && bitmap->inUse;
    *width = held ? bitmap->width : 0;
    *height = held ? bitmap->height : 0;
}

void PlatformDeleteBitmap(Bitmap* bitmap) {
    if (bitmap == nullptr) {
        return;
    }
    // A context that still holds the bitmap holds nothing from now on.
    for (DrawContext& context : memoryContexts) {
        if (context.selected == bitmap) {
            context.selected = nullptr;
        }
    }
    bitmap->inUse = false;
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
    if (context != nullptr && context->inUse && context->surface == nullptr) {
        context->selected = bitmap != nullptr && bitmap->inUse ? bitmap : nullptr;
    }
}

void PlatformDeleteMemoryContext(DrawContext* context) {
    if (context != nullptr && context->surface == nullptr) {
        *context = DrawContext{};
    }
}

HRESULT PlatformGetDC(Surface* surface, DrawContext** context) {
    *context = nullptr;
    if (surface == nullptr || !surface->inUse) {
        return E_FAIL;
    }
    if (surface->lost) {
        return DDERR_SURFACELOST;
    }
    if (surface->context.inUse) {
        return E_FAIL;  // its context is already handed out
    }
    if (surface->primary) {
        DistrustPicture();
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
    return S_OK;
}

// Nearest neighbour: destination pixel (x + i, y + j) takes source pixel
// (sourceX + i * sourceWidth / width, sourceY + j * sourceHeight / height); pixels that fall
// outside either side are left out.
void PlatformStretchCopy(DrawContext* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                         DrawContext* source, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                         int32_t sourceHeight) {
    int32_t toWidth = 0, toHeight = 0, fromWidth = 0, fromHeight = 0;
    uint32_t* to = ContextPixels(destination, &toWidth, &toHeight);
    const uint32_t* from = ContextPixels(source, &fromWidth, &fromHeight);
    if (to == nullptr || from == nullptr || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        return;
    }
    const int32_t firstColumn = x < 0 ? -x : 0;
    const int32_t endColumn = toWidth - x < width ? toWidth - x : width;
    const int32_t firstRow = y < 0 ? -y : 0;
    const int32_t endRow = toHeight - y < height ? toHeight - y : height;
    for (int32_t row = firstRow; row < endRow; ++row) {
        const int64_t fromY = sourceY + static_cast<int64_t>(row) * sourceHeight / height;
        if (fromY < 0 || fromY >= fromHeight) {
            continue;
        }
        const uint32_t* fromRow = from + fromY * fromWidth;
        uint32_t* toRow = to + static_cast<int64_t>(y + row) * toWidth + x;
        if (sourceWidth == width && sourceX + firstColumn >= 0 && sourceX + endColumn <= fromWidth) {
            // A bitmap of the surface's own width, the usual case: each row is a plain copy.
            std::memcpy(toRow + firstColumn, fromRow + sourceX + firstColumn,
                        sizeof(uint32_t) * static_cast<size_t>(endColumn - firstColumn));
            continue;
        }
        // The source column of each destination column, sourceX + column * sourceWidth / width,
        // stepped along as a whole part and a remainder, without a division a pixel.
        const int64_t start = static_cast<int64_t>(firstColumn) * sourceWidth;
        const int64_t step = sourceWidth / width;
        const int64_t stepRemainder = sourceWidth % width;
        int64_t fromX = sourceX + start / width;
        int64_t remainder = start % width;
        for (int32_t column = firstColumn; column < endColumn; ++column) {
            if (fromX >= 0 && fromX < fromWidth) {
                toRow[column] = fromRow[fromX];
            }
            fromX += step;
            remainder += stepRemainder;
            if (remainder >= width) {
                remainder -= width;
                ++fromX;
            }
        }
    }
    // The clipped destination, of which perhaps not every pixel was written: a unique signature
    // has its tiles compared, which costs a little more and misses nothing.
    NoteContextWrite(destination, Rect{x + firstColumn, y + firstRow, x + endColumn, y + endRow}, UniqueSignature());
}

int MemoryHeldBitmapsAndContexts() {
    int held = 0;
    for (const Bitmap& bitmap : bitmaps) {
        held += bitmap.inUse ? 1 : 0;
    }
    for (const DrawContext& context : memoryContexts) {
        held += context.inUse ? 1 : 0;
    }
    return held;
}

void MemoryReleaseBitmapsAndContexts() {
    for (Bitmap& bitmap : bitmaps) {
        bitmap.inUse = false;
    }
    for (DrawContext& context : memoryContexts) {
        context = DrawContext{};
    }
}
