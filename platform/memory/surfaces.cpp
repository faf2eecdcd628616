// The surface pool of the in-memory display: fixed slots of pixels, made black, lost and restored
// magenta, and the signatures that every write leaves in the tiles it touched.
#include <cstring>

#include "platform/memory/memory_internal.h"

namespace {

// The program makes four surfaces; the spare slots cover a display set up anew, and tests.
constexpr int surfaceCapacity = 8;
constexpr int32_t largestSurface = pictureWidth * pictureHeight;
Surface surfaces[surfaceCapacity];
uint32_t surfacePixels[surfaceCapacity][largestSurface];

constexpr uint32_t magenta = 0xFF00FF;
constexpr uint64_t chainBase = 0x9E3779B97F4A7C15ull;

uint64_t stamps = 0;
// The picture shown last, kept after the primary surface is let go (its slot's pixels stay until
// a surface is made again).
const uint32_t* lastPicture = nullptr;

// A coordinate of a write from a tile's start, within the tile.
uint8_t Within(int32_t value, int32_t tileStart) {
    const int32_t offset = value - tileStart;
    return static_cast<uint8_t>(offset < 0 ? 0 : offset > changeTileSize ? changeTileSize : offset);
}

// The tile's writes still whole there after a write of `part` of it: those it overlaps go, and it
// comes last, in place of the oldest when there is no room.
void KeepIntact(IntactWrite (&writes)[intactPerTile], const IntactWrite& part) {
    for (const IntactWrite& write : writes) {
        if (write.signature == part.signature && write.left == part.left && write.top == part.top &&
            write.right == part.right && write.bottom == part.bottom) {
            return;  // it wrote what was there, and no other write still whole overlaps that
        }
    }
    int kept = 0;
    for (const IntactWrite& write : writes) {
        const bool overlaps =
            write.left < part.right && part.left < write.right && write.top < part.bottom && part.top < write.bottom;
        if (write.signature != 0 && !overlaps) {
            writes[kept++] = write;
        }
    }
    if (kept == intactPerTile) {
        for (int i = 1; i < intactPerTile; ++i) {
            writes[i - 1] = writes[i];
        }
        --kept;
    }
    writes[kept++] = part;
    for (int i = kept; i < intactPerTile; ++i) {
        writes[i].signature = 0;
    }
}

void Restore(Surface* surface) {
    if (!surface->lost) {
        return;
    }
    surface->lost = false;
    const int32_t count = surface->width * surface->height;
    for (int32_t i = 0; i < count; ++i) {
        surface->pixels[i] = magenta;
    }
    NoteSurfaceWrite(surface, Rect{0, 0, surface->width, surface->height}, UniqueSignature());
}

}  // namespace

uint64_t NextStamp() {
    return ++stamps;
}

uint64_t UniqueSignature() {
    return Mix(NextStamp() ^ 0x5EED5EED00000000ull);
}

void NoteSurfaceWrite(Surface* surface, const Rect& written, uint64_t signature) {
    if (written.left >= written.right || written.top >= written.bottom) {
        return;
    }
    surface->generation = NextStamp();
    if (surface->primary) {
        MarkPictureChanged(written);
        DistrustPicture();
        return;
    }
    // Each tile's chain takes the signatures in order, as the digits of a number in an odd base:
    // the same writes in the same order give the same chain, and so the same pixels.
    const uint64_t mixed = Mix(signature);
    uint64_t* chain = surface->chains[surface->current];
    const int32_t lastRow = (written.bottom - 1) / changeTileSize;
    const int32_t lastColumn = (written.right - 1) / changeTileSize;
    for (int32_t row = written.top / changeTileSize; row <= lastRow; ++row) {
        for (int32_t column = written.left / changeTileSize; column <= lastColumn; ++column) {
            const int32_t tile = row * changeColumns + column;
            chain[tile] = chain[tile] * chainBase + mixed;
            const int32_t left = column * changeTileSize;
            const int32_t top = row * changeTileSize;
            KeepIntact(surface->intact[tile],
                       IntactWrite{signature, Within(written.left, left), Within(written.top, top),
                                   Within(written.right, left), Within(written.bottom, top)});
        }
    }
}

bool WriteStillThere(const Surface* surface, int32_t tile, uint64_t signature) {
    for (const IntactWrite& write : surface->intact[tile]) {
        if (write.signature == signature) {
            return signature != 0;
        }
    }
    return false;
}

HRESULT MemoryCreateSurface(const SurfaceDesc* desc, Surface** surface) {
    *surface = nullptr;
    const bool primary = (desc->dwFlags & DDSD_CAPS) != 0 && (desc->dwCaps & DDSCAPS_PRIMARYSURFACE) != 0;
    const uint32_t width = primary ? pictureWidth : desc->dwWidth;
    const uint32_t height = primary ? pictureHeight : desc->dwHeight;
    if (!primary && ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) || width == 0 ||
                     height == 0 || width > pictureWidth || height > pictureHeight)) {
        return E_FAIL;
    }
    int free = -1;
    for (int i = surfaceCapacity - 1; i >= 0; --i) {
        if (surfaces[i].inUse && surfaces[i].primary && primary) {
            return E_FAIL;  // one screen
        }
        free = surfaces[i].inUse ? free : i;
    }
    if (free < 0) {
        return E_FAIL;
    }
    Surface& made = surfaces[free];
    if (lastPicture == surfacePixels[free]) {
        lastPicture = nullptr;
    }
    std::memset(&made, 0, sizeof made);
    made.inUse = true;
    made.primary = primary;
    made.width = static_cast<int32_t>(width);
    made.height = static_cast<int32_t>(height);
    made.pixels = surfacePixels[free];
    made.identity = NextStamp();
    made.generation = made.identity;
    std::memset(made.pixels, 0, sizeof(uint32_t) * width * height);
    if (primary) {
        lastPicture = made.pixels;
        MarkPictureChanged(Rect{0, 0, pictureWidth, pictureHeight});
        DistrustPicture();
    }
    *surface = &made;
    return S_OK;
}

void MemoryLoseSurfaces() {
    for (Surface& surface : surfaces) {
        surface.lost = surface.inUse;
    }
}

HRESULT PlatformRestoreAllSurfaces(DisplayDevice*) {
    for (Surface& surface : surfaces) {
        if (surface.inUse) {
            Restore(&surface);
        }
    }
    return S_OK;
}

HRESULT PlatformRestoreSurface(Surface* surface) {
    if (surface == nullptr || !surface->inUse) {
        return E_FAIL;
    }
    Restore(surface);
    return S_OK;
}

HRESULT PlatformGetSurfaceSize(Surface* surface, uint32_t* width, uint32_t* height) {
    if (surface == nullptr || !surface->inUse) {
        return E_FAIL;
    }
    *width = static_cast<uint32_t>(surface->width);
    *height = static_cast<uint32_t>(surface->height);
    return S_OK;
}

void PlatformReleaseSurface(Surface* surface) {
    if (surface != nullptr) {
        surface->inUse = false;
        surface->context.inUse = false;
    }
}

const uint32_t* MemoryPicture() {
    for (const Surface& surface : surfaces) {
        if (surface.inUse && surface.primary) {
            return surface.pixels;
        }
    }
    return lastPicture;
}

int MemoryHeldResources() {
    int held = 0;
    for (const Surface& surface : surfaces) {
        held += surface.inUse ? 1 + (surface.context.inUse ? 1 : 0) : 0;
    }
    return held + MemoryHeldBitmapsAndContexts();
}

void MemoryReset() {
    for (Surface& surface : surfaces) {
        surface.inUse = false;
        surface.context.inUse = false;
    }
    lastPicture = nullptr;
    MemoryReleaseBitmapsAndContexts();
    ResetPictureRecord();
}
