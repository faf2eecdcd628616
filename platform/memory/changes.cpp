// The record of what changed on the primary surface, kept without comparing two whole pictures.
//
// The program composes each frame whole on the back surface and copies all of it onto the primary
// surface. Each surface keeps, per tile, the chain of the signatures of the writes that touched the
// tile since its last whole copy. A write's signature fixes the pixels it writes, so a tile whose
// writes repeat those of the epoch before holds what it held then; and the primary surface holds
// that too, as long as nothing else wrote onto it since and the last whole copy came from the same
// surface. Only the other tiles are compared and copied.
#include <cstring>

#include "platform/memory/memory_internal.h"

namespace {

bool changed[changeRows][changeColumns];
bool anyChanged = false;
Rect changedBounds;
// The surface whose last whole copy the primary surface holds tile for tile; 0 when none.
uint64_t trustedSource = 0;

void MarkTile(int32_t column, int32_t row) {
    if (changed[row][column]) {
        return;
    }
    changed[row][column] = true;
    const Rect tile{column * changeTileSize, row * changeTileSize, (column + 1) * changeTileSize,
                    row * changeTileSize + changeTileSize < pictureHeight ? (row + 1) * changeTileSize : pictureHeight};
    if (!anyChanged) {
        changedBounds = tile;
        anyChanged = true;
        return;
    }
    changedBounds.left = tile.left < changedBounds.left ? tile.left : changedBounds.left;
    changedBounds.top = tile.top < changedBounds.top ? tile.top : changedBounds.top;
    changedBounds.right = tile.right > changedBounds.right ? tile.right : changedBounds.right;
    changedBounds.bottom = tile.bottom > changedBounds.bottom ? tile.bottom : changedBounds.bottom;
}

// Copies the rows of one tile-wide piece that differ; true when any did.
bool CopyWhereDifferent(uint32_t* to, const uint32_t* from, int32_t toPitch, int32_t fromPitch, int32_t width,
                        int32_t rows) {
    const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(width);
    bool differed = false;
    for (int32_t row = 0; row < rows; ++row) {
        if (std::memcmp(to, from, bytes) != 0) {
            std::memcpy(to, from, bytes);
            differed = true;
        }
        to += toPitch;
        from += fromPitch;
    }
    return differed;
}

}  // namespace

void MarkPictureChanged(const Rect& area) {
    if (area.left >= area.right || area.top >= area.bottom) {
        return;
    }
    for (int32_t row = area.top / changeTileSize; row <= (area.bottom - 1) / changeTileSize; ++row) {
        for (int32_t column = area.left / changeTileSize; column <= (area.right - 1) / changeTileSize; ++column) {
            MarkTile(column, row);
        }
    }
}

void DistrustPicture() {
    trustedSource = 0;
}

void CopyWholePicture(Surface* primary, Surface* source) {
    const bool trusted = trustedSource == source->identity;
    const uint64_t* now = source->chains[source->current];
    const uint64_t* before = source->chains[1 - source->current];
    bool wrote = false;
    for (int32_t row = 0; row < changeRows; ++row) {
        // The tiles of this row to compare: where the writes were not those of last time (the same
        // writes as last time give the same pixels, already on the primary), or every tile.
        bool compare[changeColumns];
        bool differs[changeColumns] = {};
        bool any = false;
        for (int32_t column = 0; column < changeColumns; ++column) {
            const int32_t tile = row * changeColumns + column;
            compare[column] = !trusted || now[tile] != before[tile];
            any = any || compare[column];
        }
        const int32_t top = row * changeTileSize;
        const int32_t bottom = top + changeTileSize <= pictureHeight ? top + changeTileSize : pictureHeight;
        for (int32_t y = top; any && y < bottom; ++y) {
            // Runs of neighbouring tiles are compared in one go, and tile by tile only where they differ.
            for (int32_t first = 0; first < changeColumns;) {
                int32_t end = first;
                while (end < changeColumns && compare[end]) {
                    ++end;
                }
                const int32_t at = y * pictureWidth + first * changeTileSize;
                const size_t runBytes = sizeof(uint32_t) * changeTileSize * static_cast<size_t>(end - first);
                if (end > first && std::memcmp(primary->pixels + at, source->pixels + at, runBytes) != 0) {
                    for (int32_t column = first; column < end; ++column) {
                        differs[column] = CopyWhereDifferent(primary->pixels + at + (column - first) * changeTileSize,
                                                             source->pixels + at + (column - first) * changeTileSize, 0,
                                                             0, changeTileSize, 1) ||
                                          differs[column];
                    }
                }
                first = end + 1;
            }
        }
        for (int32_t column = 0; column < changeColumns; ++column) {
            if (differs[column]) {
                MarkTile(column, row);
                wrote = true;
            }
        }
    }
    if (wrote) {
        primary->generation = NextStamp();
    }
    // The epoch ends: this one's chains become the ones to compare with.
    source->current = 1 - source->current;
    std::memset(source->chains[source->current], 0, sizeof source->chains[0]);
    trustedSource = source->identity;
}

void CopyOntoPicture(Surface* primary, int32_t x, int32_t y, Surface* source, const Rect& clipped) {
    DistrustPicture();
    if (source == primary) {
        CopyPixels(primary, x, y, source, clipped);
        MarkPictureChanged(Rect{x, y, x + clipped.right - clipped.left, y + clipped.bottom - clipped.top});
        primary->generation = NextStamp();
        return;
    }
    // Tile by tile, so that only the tiles whose pixels differ count as changed.
    const int32_t right = x + clipped.right - clipped.left;
    const int32_t bottom = y + clipped.bottom - clipped.top;
    for (int32_t top = y; top < bottom;) {
        const int32_t tileBottom = (top / changeTileSize + 1) * changeTileSize;
        const int32_t rows = (tileBottom < bottom ? tileBottom : bottom) - top;
        for (int32_t left = x; left < right;) {
            const int32_t tileRight = (left / changeTileSize + 1) * changeTileSize;
            const int32_t width = (tileRight < right ? tileRight : right) - left;
            const uint32_t* from = source->pixels + (clipped.top + top - y) * source->width + clipped.left + left - x;
            if (CopyWhereDifferent(primary->pixels + top * pictureWidth + left, from, pictureWidth, source->width,
                                   width, rows)) {
                MarkTile(left / changeTileSize, top / changeTileSize);
                primary->generation = NextStamp();
            }
            left += width;
        }
        top += rows;
    }
}

void ResetPictureRecord() {
    MemoryForgetChanges();
    trustedSource = 0;
}

bool MemoryPictureChanged(Rect* bounds) {
    if (anyChanged) {
        *bounds = changedBounds;
    }
    return anyChanged;
}

bool MemoryTileChanged(int32_t column, int32_t row) {
    return column >= 0 && row >= 0 && column < changeColumns && row < changeRows && changed[row][column];
}

void MemoryMarkAllChanged() {
    MarkPictureChanged(Rect{0, 0, pictureWidth, pictureHeight});
    DistrustPicture();
}

void MemoryForgetChanges() {
    if (anyChanged) {
        std::memset(changed, 0, sizeof changed);
        anyChanged = false;
    }
}
