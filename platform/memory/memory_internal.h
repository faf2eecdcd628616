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

// Converts a COLORREF (0x00BBGGRR) into a pixel (0x00RRGGBB).
constexpr uint32_t PixelOf(uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
