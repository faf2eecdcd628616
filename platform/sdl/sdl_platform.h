// What stands behind the platform's opaque handles on SDL2, shared by the files of this layer.
#pragma once
#include <SDL.h>

#include "platform/platform.h"

struct PlatformWindow {
    SDL_Window* window;  // null once the window has been destroyed
};

// A context draws into the pixels of a surface or of the bitmap selected into a memory context.
// Text is always drawn in an opaque box: the only mode the program asks for.
struct DrawContext {
    bool inUse;
    Surface* surface;  // the surface of a surface context; null for a memory context
    SDL_Surface* selected;  // the bitmap selected into a memory context
    uint32_t textColour;        // COLORREF, 0x00BBGGRR
    uint32_t backgroundColour;  // COLORREF
};

struct Surface {
    bool inUse;
    bool primary;         // the window's own surface, fetched anew at each use since SDL replaces it on resizes
    SDL_Surface* pixels;  // an off-screen surface's buffer; null for the primary surface
    int width;            // an off-screen surface's size as created, kept for giving it memory again
    int height;
    // The window surface whose pixels this off-screen surface shares, so that presenting it needs
    // no copy; null when it has pixels of its own. SDL frees that buffer when it replaces the
    // window surface, so every use checks first that the window surface is still this one.
    SDL_Surface* sharedScreen;
    bool lost;  // the shared window surface was replaced: no access until the surface is restored
    DrawContext context;  // the one context that PlatformGetDC hands out for this surface
};

struct Bitmap {
    bool inUse;
    SDL_Surface* pixels;
};

struct DisplayDevice {
    bool inUse;
    WindowHandle window;  // set by the cooperative level
    bool modeSet;         // an 800 x 600 mode was taken: exclusive fullscreen
};

// The SDL window behind the program's window, or null when it is gone.
SDL_Window* SdlWindowOf(WindowHandle window);
// The SDL window that the display belongs to (the last window created), or null.
SDL_Window* DisplayWindow();
// The pixels that a surface stands for: the window's surface for the primary, else its own buffer.
// Null for a surface that is lost (it shared a window surface that SDL has since replaced).
SDL_Surface* SurfacePixels(Surface* surface);
// True when the surface shared a window surface that is gone; it stays lost until restored.
bool SurfaceLost(Surface* surface);
// The pixels a context draws into, or null.
SDL_Surface* ContextPixels(DrawContext* context);
// The opaque copy between two surfaces of one pixel format, clipped to both; a row copy per line.
// Source and destination may lie in the same memory: the same place is left alone, other
// overlapping rows are moved in an order that reads each row before it is written.
void CopyPixels(SDL_Surface* destination, int32_t x, int32_t y, SDL_Surface* source, SDL_Rect sourceRect);
// Converts a COLORREF (0x00BBGGRR) into an SDL colour.
SDL_Color ColourOf(uint32_t colour);

// A hang-up, an interrupt, a termination request or the loss of the X server ends the game like the
// closing of the window (endings.cpp). Installed when the window is shown, once the scores are read.
void InstallEndings(WindowHandle window);
// After such a request: the close request for the window, once; false when none is pending.
bool TakeEndRequest(Message* message);
// True once the X connection is gone: nothing may be asked of SDL's video any more.
bool DisplayLost();

// Frees what is left at the end of the run (surfaces, glyph atlases, the font, the window, SDL
// itself) and leaves the layer as it was before the window was created.
void ShutdownPlatform();
void ReleaseDisplayObjects();
void ReleaseBitmapsAndContexts();
void ShutdownText();
