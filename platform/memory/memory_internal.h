// What the files of the in-memory display share: the records behind platform.h's opaque handles,
// and the note that every write into a surface leaves for the record of what changed.
#pragma once
#include <cstdint>

#include "platform/memory/memory_display.h"

// A context draws into the pixels of a surface, or of the bitmap selected into a memory context.
// Text is always drawn in an opaque box: the only mode the program asks for.
struct DrawContext {
    bool inUse;
    Surface* surface;           // the surface of a surface context; null for a memory context
    Bitmap* selected;           // the bitmap selected into a memory context
    uint32_t textColour;        // COLORREF, 0x00BBGGRR
    uint32_t backgroundColour;  // COLORREF
};

// The pixels that a context draws into, with their width and height; null when there are none (a
// memory context without a bitmap, a lost surface).
uint32_t* ContextPixels(DrawContext* context, int32_t* width, int32_t* height);

// Says that the rectangle `written` (already clipped to the context's pixels) was written through
// the context by a write whose result depends on nothing but `signature`: the same signature at
// the same place writes the same pixels. The record of what changed is kept from these notes.
void NoteContextWrite(DrawContext* context, const Rect& written, uint64_t signature);

// A signature that no other write has: for writes whose pixels are not known by a few numbers
// (a bitmap stretched onto a surface).
uint64_t UniqueSignature();

// A write whose pixels in one tile are all still there: no later write touched its part of the
// tile, given from the tile's corner.
struct IntactWrite {
    uint64_t signature;  // 0 for none
    uint8_t left;
    uint8_t top;
    uint8_t right;
    uint8_t bottom;
};
constexpr int intactPerTile = 4;

// A surface: its pixels come from a fixed slot, and it keeps, for each 16 x 16 tile, the chain of
// the signatures of the writes that touched the tile since it was last copied whole onto the
// primary surface (its epoch), beside the chain of the epoch before; and the last few writes that
// are still whole in the tile, the oldest first.
constexpr int32_t changeTiles = changeColumns * changeRows;
struct Surface {
    bool inUse;
    bool primary;
    bool lost;  // copies from or onto it fail until it is restored
    int32_t width;
    int32_t height;
    uint32_t* pixels;     // 0x00RRGGBB, rows of width pixels
    uint64_t identity;    // never the same for two surfaces made in one run
    uint64_t generation;  // new with every write, so that copies from a changed surface sign anew
    int current;          // which of the two chains is this epoch's
    uint64_t chains[2][changeTiles];
    IntactWrite intact[changeTiles][intactPerTile];
    DrawContext context;  // the one context that PlatformGetDC hands out for this surface
};

struct Bitmap {
    bool inUse;
    int32_t width;
    int32_t height;
    uint32_t* pixels;
};

// Copies the rectangle (already clipped to both surfaces) row by row; the rows of a copy within one
// surface are taken in the order that reads each before it is overwritten.
void CopyPixels(Surface* destination, int32_t x, int32_t y, const Surface* source, const Rect& clipped);
// The copy of the whole 800 x 600 source onto the primary surface, which ends the source's epoch:
// only tiles whose chain differs from the last epoch's are compared, unless the primary was
// written otherwise since the last whole copy or that came from another surface.
void CopyWholePicture(Surface* primary, Surface* source);
// Any other copy onto the primary surface: compared tile by tile, a row at a time, and copied where
// it differs; the tiles that changed are recorded and the trust in the last whole copy ends.
void CopyOntoPicture(Surface* primary, int32_t x, int32_t y, Surface* source, const Rect& clipped);
// Forgets every change and the trust in the last whole copy, as at program start.
void ResetPictureRecord();

// Records a write of `written` (clipped to the surface) into the surface's tile chains and gives
// it a new generation. A write onto the primary surface by any way but the whole copy counts its
// tiles as changed and ends the trust in the primary's last whole copy.
void NoteSurfaceWrite(Surface* surface, const Rect& written, uint64_t signature);
// Whether the pixels of the write with that signature are all still there in the tile (numbered
// row by row): the same write again would change nothing there.
bool WriteStillThere(const Surface* surface, int32_t tile, uint64_t signature);
// Counts the tiles that the rectangle of the primary surface touches as changed.
void MarkPictureChanged(const Rect& area);
// The primary surface no longer holds, tile for tile, what the last whole copy left.
void DistrustPicture();
// A free bitmap slot of that size, taken; null when none is free or the slot is too small.
Bitmap* TakeBitmap(int32_t width, int32_t height);
// Bitmaps, and memory contexts, not given back; and giving them all back.
int MemoryHeldBitmapsAndContexts();
void MemoryReleaseBitmapsAndContexts();
// A number that has never been given out in this run.
uint64_t NextStamp();
// A well-mixed 64 bits of a 64-bit value.
constexpr uint64_t Mix(uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// Converts a COLORREF (0x00BBGGRR) into a pixel (0x00RRGGBB).
constexpr uint32_t PixelOf(uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
