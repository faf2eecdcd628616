// The in-memory display, shared by every platform that draws into memory (Linux, the browser, the
// replays). It implements, once, everything of platform.h that only moves pixels: the surfaces
// (made, lost, restored, released), the opaque copy with its clipping, bitmaps read from BMP files,
// memory contexts and the stretched copy, text in an opaque box, and the record of which part of
// the primary picture changed since it was last shown. A platform adds how the picture reaches the
// screen, where keys and time come from, and where files live.
//
// Every surface and bitmap is 32 bits a pixel, 0x00RRGGBB, rows of width pixels without padding.
// All storage is fixed and program-wide: nothing is allocated.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// The picture that the program composes and the platform shows.
constexpr int32_t pictureWidth = 800;
constexpr int32_t pictureHeight = 600;

// What changed on the primary surface is kept in tiles of 16 x 16 pixels: 50 x 38 of them, the
// last row of tiles 8 pixels high.
constexpr int32_t changeTileSize = 16;
constexpr int32_t changeColumns = (pictureWidth + changeTileSize - 1) / changeTileSize;
constexpr int32_t changeRows = (pictureHeight + changeTileSize - 1) / changeTileSize;

// ---- What a platform calls ---------------------------------------------------------------------

// Makes a surface as described. The primary surface is the 800 x 600 picture; the others take the
// description's size, up to 800 x 600 pixels. Every surface starts black. A platform's
// PlatformCreateSurface prepares its screen (or refuses) and then calls this.
HRESULT MemoryCreateSurface(const SurfaceDesc* desc, Surface** surface);
// Reads a BMP file whose header passes BitmapHeaderFits: uncompressed 1, 4 and 8 bits a pixel with
// a palette, 16, 24 and 32 bits, and 16 and 32 bits with colour masks (BI_BITFIELDS); rows stored
// bottom first (positive height) or top first (negative height); the old 12-byte header and the
// 40- to 124-byte ones. Anything else, a file cut short, or a picture of more than 1920 x 1200
// pixels: null. A platform's PlatformLoadBitmapFile calls this, after any refusal of its own.
Bitmap* MemoryLoadBitmapFile(const char* path);

// The memory of every surface is taken away: copies from or onto a lost surface fail with
// DDERR_SURFACELOST until PlatformRestoreAllSurfaces (or PlatformRestoreSurface) gives it back, with
// undefined pixels (magenta here, so that they show).
void MemoryLoseSurfaces();

// The primary surface's pixels; once it is let go, the last picture it held (until a surface is
// made again); null before the first.
const uint32_t* MemoryPicture();
// The part of the primary surface that changed since MemoryForgetChanges: a set of tiles.
// True when any did; *bounds is then the smallest rectangle that holds them all.
bool MemoryPictureChanged(Rect* bounds);
// Whether the tile at (column, row) of the change grid changed.
bool MemoryTileChanged(int32_t column, int32_t row);
// The whole picture counts as changed, as when what the screen showed was lost; the next whole
// copy onto the primary surface compares every tile.
void MemoryMarkAllChanged();
// What changed has been shown.
void MemoryForgetChanges();

// Surfaces, bitmaps and contexts not given back.
int MemoryHeldResources();
// Gives everything back and starts afresh, as at program start.
void MemoryReset();
