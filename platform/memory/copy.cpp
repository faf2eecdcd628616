// The opaque copy between surfaces of the in-memory display, clipped to both of them.
#include <cstring>

#include "platform/memory/memory_internal.h"

namespace {

// A 16-pixel row at 4 bytes a pixel, the copy that most of a frame is made of.
constexpr size_t cellRowBytes = 16 * sizeof(uint32_t);

// Clips the source rectangle to its surface and to the destination, moving the destination point
// along; false when nothing is left to copy.
bool ClipCopy(const Surface* destination, int32_t* x, int32_t* y, const Surface* source, Rect* rect) {
    if (rect->left < 0) {
        *x -= rect->left;
        rect->left = 0;
    }
    if (rect->top < 0) {
        *y -= rect->top;
        rect->top = 0;
    }
    if (rect->right > source->width)
        rect->right = source->width;
    if (rect->bottom > source->height)
        rect->bottom = source->height;
    if (*x < 0) {
        rect->left -= *x;
        *x = 0;
    }
    if (*y < 0) {
        rect->top -= *y;
        *y = 0;
    }
    if (rect->right - rect->left > destination->width - *x)
        rect->right = rect->left + destination->width - *x;
    if (rect->bottom - rect->top > destination->height - *y)
        rect->bottom = rect->top + destination->height - *y;
    return rect->left < rect->right && rect->top < rect->bottom;
}

// What fixes the pixels of a copy: the source as it is now, the rectangle and the point. One mix
// of them all, since most of a frame is copies of a few hundred bytes.
uint64_t CopySignature(const Surface* source, int32_t x, int32_t y, const Rect& rect) {
    const auto pair = [](int32_t high, int32_t low) {
        return static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32 | static_cast<uint32_t>(low);
    };
    return Mix(source->generation * 0x9E3779B97F4A7C15ull + pair(rect.left, rect.top) * 0xC2B2AE3D27D4EB4Full +
               pair(rect.right, rect.bottom) * 0x165667B19E3779F9ull + pair(x, y) * 0x27D4EB2F165667C5ull);
}

// A copy onto a surface other than the primary, left out in the tiles where that same copy's
// pixels are all still there: the backdrop, copied whole for every frame, is then made again only
// under what was drawn over it.
void CopyWhereNotThere(Surface* destination, int32_t x, int32_t y, const Surface* source, const Rect& clipped,
                       uint64_t signature) {
    const int32_t right = x + clipped.right - clipped.left;
    const int32_t bottom = y + clipped.bottom - clipped.top;
    const auto needed = [&](int32_t row, int32_t at) {
        return !WriteStillThere(destination, row * changeColumns + at / changeTileSize, signature);
    };
    const auto nextTile = [](int32_t at) { return (at / changeTileSize + 1) * changeTileSize; };
    for (int32_t top = y; top < bottom;) {
        const int32_t row = top / changeTileSize;
        const int32_t rows = (nextTile(top) < bottom ? nextTile(top) : bottom) - top;
        for (int32_t left = x; left < right;) {
            int32_t end = left;
            while (end < right && needed(row, end)) {
                end = nextTile(end) < right ? nextTile(end) : right;
            }
            if (end == left) {
                left = nextTile(left) < right ? nextTile(left) : right;
                continue;
            }
            const int32_t fromLeft = clipped.left + left - x;
            const int32_t fromTop = clipped.top + top - y;
            CopyPixels(destination, left, top, source, Rect{fromLeft, fromTop, fromLeft + end - left, fromTop + rows});
            left = end;
        }
        top += rows;
    }
}

}  // namespace

void CopyPixels(Surface* destination, int32_t x, int32_t y, const Surface* source, const Rect& clipped) {
    const int32_t rows = clipped.bottom - clipped.top;
    const size_t rowBytes = sizeof(uint32_t) * static_cast<size_t>(clipped.right - clipped.left);
    const uint32_t* from = source->pixels + clipped.top * source->width + clipped.left;
    uint32_t* to = destination->pixels + y * destination->width + x;
    if (source == destination) {
        // Within one surface: moving down, the last row first, so that no row is overwritten
        // before it is read.
        const int32_t pitch = source->width;
        const bool upwards = y > clipped.top;
        for (int32_t row = 0; row < rows; ++row) {
            const int32_t at = upwards ? rows - 1 - row : row;
            std::memmove(to + at * pitch, from + at * pitch, rowBytes);
        }
        return;
    }
    if (rowBytes == cellRowBytes) {
        // A copy of known size compiles to a few moves instead of a call into the C library.
        for (int32_t row = 0; row < rows; ++row) {
            std::memcpy(to, from, cellRowBytes);
            from += source->width;
            to += destination->width;
        }
        return;
    }
    for (int32_t row = 0; row < rows; ++row) {
        std::memcpy(to, from, rowBytes);
        from += source->width;
        to += destination->width;
    }
}

HRESULT PlatformCopyRect(Surface* destination, int32_t x, int32_t y, Surface* source, const Rect* sourceRect) {
    if (destination == nullptr || source == nullptr || sourceRect == nullptr || !destination->inUse || !source->inUse) {
        return E_FAIL;
    }
    if (destination->lost || source->lost) {
        return DDERR_SURFACELOST;
    }
    const uint64_t signature = CopySignature(source, x, y, *sourceRect);
    Rect rect = *sourceRect;
    if (!ClipCopy(destination, &x, &y, source, &rect)) {
        return S_OK;
    }
    if (!destination->primary) {
        if (source == destination) {
            CopyPixels(destination, x, y, source, rect);
        } else {
            CopyWhereNotThere(destination, x, y, source, rect, signature);
        }
        NoteSurfaceWrite(destination, Rect{x, y, x + rect.right - rect.left, y + rect.bottom - rect.top}, signature);
    } else if (source != destination && x == 0 && y == 0 && source->width == pictureWidth &&
               source->height == pictureHeight && sourceRect->left == 0 && sourceRect->top == 0 &&
               sourceRect->right == pictureWidth && sourceRect->bottom == pictureHeight) {
        CopyWholePicture(destination, source);
    } else {
        CopyOntoPicture(destination, x, y, source, rect);
    }
    return S_OK;
}
