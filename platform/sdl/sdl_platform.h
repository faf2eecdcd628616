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
    Surface* surface;           // the surface of a surface context; null for a memory context
    SDL_Surface* selected;      // the bitmap selected into a memory context
    uint32_t textColour;        // COLORREF, 0x00BBGGRR
    uint32_t backgroundColour;  // COLORREF
};

struct Surface {
    bool inUse;
    bool primary;         // the 800 x 600 picture that the display shows
    SDL_Surface* pixels;  // the surface's memory, in the display's pixel format
    int width;
    int height;
    DrawContext context;  // the one context that PlatformGetDC hands out for this surface
};

struct Bitmap {
    bool inUse;
    SDL_Surface* pixels;
};

struct DisplayDevice {
    bool inUse;
    WindowHandle window;     // set by the cooperative level
    uint32_t format;         // the pixel format of every surface and of the picture's texture
    SDL_Renderer* renderer;  // made with the primary surface, when the window takes the desktop
    SDL_Texture* picture;    // the primary surface as uploaded, 800 x 600
    SDL_Texture* enlarged;   // the picture enlarged by a whole factor, for a scale that is not whole
    int factor;              // that factor; 0 when the picture is drawn straight onto the drawable
    int outputWidth;         // the drawable's size that the layout was made for
    int outputHeight;
    SDL_Rect area;           // where the picture stands on the drawable
    int changedTop;          // the rows of the primary surface changed since the last upload;
    int changedBottom;       // none when equal
    uint64_t nextPresentNs;  // no present before this time: one refresh after the last
    uint64_t refreshNs;      // the display's refresh interval
    bool frameOwed;          // a frame was declined: one is wanted as soon as it can be presented
    Surface* deferred;       // a whole picture copied onto the primary surface while no present
                             // could follow: copied (and compared) only when one can
    uint64_t presents;       // how many presents there have been, for the benchmarks
    uint64_t lastPresentNs;  // and when the last one was
};

// Calls the program's window procedure, as the platform does for every message it delivers or sends.
intptr_t SendToWindow(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The SDL window behind the program's window, or null when it is gone.
SDL_Window* SdlWindowOf(WindowHandle window);
// The SDL window that the display belongs to (the last window created), or null.
SDL_Window* DisplayWindow();
// The pixels of a surface, or null.
SDL_Surface* SurfacePixels(Surface* surface);
// Says that the surface was drawn on through a context; on the primary surface the whole picture
// counts as changed.
void NoteSurfaceDrawn(Surface* surface);
// The display's renderer, or null before the primary surface exists.
SDL_Renderer* DisplayRenderer();
// True when the primary surface holds a change not yet on the screen, or a copy onto it waits for
// the next present. *presentAtNs is the time from which the next present may come, in either case.
bool PicturePending(uint64_t* presentAtNs);
// The display's refresh interval in nanoseconds (that of 60 Hz where SDL does not know it).
uint64_t RefreshIntervalNs();
// Whether the idle turn since the last ForgetFrameAskedFor asked PlatformFrameWanted, that is,
// whether the program draws frames at present.
bool FrameAskedForLately();
void ForgetFrameAskedFor();
// Has the whole picture presented again with the next frame, as after the window was uncovered.
void ShowPictureAgain();
// Shows the whole primary surface at once, whatever the refresh pacing says.
void PresentPictureNow();
// How many presents the display has made, and when the last one was (for the benchmarks).
void PresentStats(uint64_t* count, uint64_t* lastNs);
// The monotonic clock behind PlatformClockMs, in nanoseconds.
uint64_t MonotonicNs();
// The pixels a context draws into, or null.
SDL_Surface* ContextPixels(DrawContext* context);
// The opaque copy between two surfaces of one pixel format, clipped to both; a row copy per line.
// Source and destination may be the same surface: the same place is left alone, other
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
