// The display: the display object, the four surfaces, the loading of bitmaps, the frame and its text.
//
// Some names are old and read oddly on their own: directDraw is the display object, the
// cubeSurface holds the backdrop strip (cube.bmp) and the iconSurface the sprite atlas (icons.bmp);
// srcRect is the source rectangle of every copy, and DDCopyBitmap lays a bitmap over a surface.
#pragma once
#include <cstdint>

#include "display/layout.h"
#include "platform/platform.h"

extern DisplayDevice* directDraw;
extern Surface* primarySurface;
extern Surface* backSurface;  // 800 x 600: each frame is composed here
extern Surface* cubeSurface;  // 64 x 464: the playfield's backdrop strip
extern Surface* iconSurface;  // 320 x 32: the sprite atlas
extern SurfaceDesc surfaceDesc;
extern HRESULT lastResult;   // result of the latest display call
extern Rect srcRect;         // source rectangle of every copy of the frame
extern DrawContext* textDc;  // the backSurface's context while text is drawn

// Takes the display for the window, sets the mode, creates the four surfaces and loads the three
// bitmaps; reports set-up failures in message boxes owned by the window and goes on. Returns the
// result of the last load (the background).
HRESULT InitDisplay(WindowHandle window);
// Lays the background bitmap afresh on the backSurface, wiping the text drawn on it; the result goes to lastResult.
void ReloadBackground();
// Loads the backdrop strip, the sprite atlas and the background, in this order; returns the last result.
HRESULT LoadAllBitmaps();
// Releases the surfaces and the display object; a second call does nothing.
void ReleaseDisplay();
// Fills the whole surface with the named bitmap file. S_OK, E_FAIL when no bitmap
// could be loaded, else the failure of the copy.
HRESULT LoadBitmapIntoSurface(Surface* surface, const char* fileName);
// Stretches the bitmap's top-left width x height pixels (0: the bitmap's own) over the whole surface.
HRESULT DDCopyBitmap(Surface* surface, Bitmap* bitmap, int32_t width, int32_t height);

// Composes one frame on the backSurface and copies it to the screen.
void RenderFrame();
void DrawPlayfieldBackdrop();
void DrawWalls();
void DrawItems();
void DrawSnake();

// The name, score, level and length above the playfield.
void DrawStatusText();
// The 28-row window of the ScoreTable around centre, and the start prompt on both sides.
HRESULT DrawScoreList(int32_t centre);
