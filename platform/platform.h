// Every service that Vornix asks of the operating system. One implementation per platform:
// platform/sdl/ (Linux, SDL2, on the shared in-memory display) and platform/win32/ (Win32, DirectDraw 7, GDI, winmm);
// the build picks the set. Nothing outside platform/ includes an operating-system or SDL header.
//
// The names and values are those of the Windows calls that the program is written against. Where
// <windows.h> and <ddraw.h> already define a constant (the Windows build includes them before this
// header), their definition stands; everywhere else the program's own below has the same value.
#pragma once
#include <cstddef>
#include <cstdint>

#include "scores/file_access.h"

// ---- Results --------------------------------------------------------------------------------

#if defined(_WIN32)
typedef long HRESULT;  // as <windows.h> has it
#else
typedef int32_t HRESULT;
#endif
#ifndef S_OK
#define S_OK ((HRESULT)0)
#endif
#ifndef E_FAIL
#define E_FAIL ((HRESULT)0x80004005)
#endif
#ifndef DDERR_SURFACELOST
#define DDERR_SURFACELOST ((HRESULT)0x887601C2)
#endif

// ---- Messages and keys ----------------------------------------------------------------------

#ifndef WM_DESTROY
#define WM_DESTROY 2
#define WM_CLOSE 16
#define WM_QUIT 18
#define WM_ACTIVATEAPP 28
#define WM_SETCURSOR 32
#define WM_KEYDOWN 256
#define WM_TIMER 275
#endif
#ifndef VK_BACK
#define VK_BACK 8
#define VK_ESCAPE 27
#define VK_SPACE 32
#define VK_LEFT 37
#define VK_UP 38
#define VK_RIGHT 39
#define VK_DOWN 40
#endif

// ---- Surface descriptions -------------------------------------------------------------------

#ifndef DDSD_CAPS
#define DDSD_CAPS 0x00000001
#define DDSD_HEIGHT 0x00000002
#define DDSD_WIDTH 0x00000004
#endif
#ifndef DDSCAPS_OFFSCREENPLAIN
#define DDSCAPS_OFFSCREENPLAIN 0x00000040
#define DDSCAPS_PRIMARYSURFACE 0x00000200
#endif

// ---- Handles: opaque; each platform says what stands behind them ----------------------------

struct PlatformWindow;  // the window (HWND)
struct DisplayDevice;   // the display object (IDirectDraw7)
struct Surface;         // a pixel buffer in the display's format (IDirectDrawSurface7)
struct Bitmap;          // a loaded bitmap (HBITMAP)
struct DrawContext;     // a drawing context: of a surface, or a memory one holding a bitmap (HDC)
typedef PlatformWindow* WindowHandle;

struct Message {
    WindowHandle window;
    uint32_t message;  // WM_...
    uintptr_t wParam;
    intptr_t lParam;
};

// The fields of a surface description (DDSURFACEDESC2) that the program sets.
struct SurfaceDesc {
    uint32_t dwSize;   // 124, the size of the description record
    uint32_t dwFlags;  // DDSD_...
    uint32_t dwHeight;
    uint32_t dwWidth;
    uint32_t dwCaps;  // DDSCAPS_...
};

// A rectangle of pixels; right and bottom are exclusive.
struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The window procedure, handed to the platform with the window's creation: it receives every
// message that the platform delivers or sends to the window. The only way into the program.
typedef intptr_t (*WindowProcedure)(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// ---- Window, messages and input --------------------------------------------------------------

// Registers the class "Vornix" with the window procedure and creates the hidden 320 x 200 pop-up
// "Vornix" at (0, 0); null on failure.
WindowHandle PlatformCreateWindow(WindowProcedure procedure);
// Shows the window with the show command and updates it.
void PlatformShowWindow(WindowHandle window, int showCommand);
// Creates the window's timer 1 with a period of 1000 ms; false on failure. Nothing reacts to its
// messages, so a platform may deliver none.
bool PlatformCreateTimer(WindowHandle window);
// Takes one pending message out of the queue without waiting; false when there was none.
bool PlatformPeekMessage(Message* message);
// Translates a taken message and delivers it to the window procedure.
void PlatformDispatchMessage(const Message* message);
// The platform's default handling of a message; WM_CLOSE destroys the window (which sends WM_DESTROY).
intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Queues WM_CLOSE for the window; it is taken on a later turn of the loop.
void PlatformPostCloseRequest(WindowHandle window);
// Queues WM_QUIT with the exit code as its wParam.
void PlatformPostQuit(int exitCode);
// Hides the mouse pointer over the window.
void PlatformHidePointer();
// Shows the standard arrow pointer.
void PlatformShowArrowPointer();
// True while either Shift key is held.
bool PlatformShiftHeld();
// Told by each idle turn of a running game: the clock reading at which the next step falls due, and
// whether this turn took a step (its frame, drawn before it, does not show it yet). Until then the
// poll may wait for messages instead of returning at once. A hint only.
void PlatformIdleWorkDueAt(uint32_t nextStepAt, bool stepTaken);
// Milliseconds since the system (or the platform layer) started; unsigned 32-bit, wrapping.
uint32_t PlatformClockMs();
// A modal box with an OK button, owned by the window; returns when the player has confirmed it.
// Where no box can be shown, the text goes to standard error.
void PlatformMessageBox(WindowHandle owner, const char* text, const char* caption);
// A line for the debugger output (standard error where there is no debugger output).
void PlatformDebugOutput(const char* text);

// ---- Display --------------------------------------------------------------------------------

// Creates the display object of the default display driver.
HRESULT PlatformCreateDisplay(DisplayDevice** display);
// Takes the display for the window: full screen, exclusive.
HRESULT PlatformSetCooperativeLevel(DisplayDevice* display, WindowHandle window);
// Sets the display mode; non-zero when the mode is refused.
HRESULT PlatformSetDisplayMode(DisplayDevice* display, uint32_t width, uint32_t height, uint32_t bitsPerPixel);
// Creates a surface as described: the primary surface is the screen, the others are off-screen
// buffers of the given size in the display's pixel format. S_OK with the surface, or a failure.
HRESULT PlatformCreateSurface(DisplayDevice* display, const SurfaceDesc* desc, Surface** surface);
// Gives every surface its memory back after a loss; their pixels are undefined afterwards.
HRESULT PlatformRestoreAllSurfaces(DisplayDevice* display);
// Gives one lost surface its memory back.
HRESULT PlatformRestoreSurface(Surface* surface);
// The surface's width and height in pixels.
HRESULT PlatformGetSurfaceSize(Surface* surface, uint32_t* width, uint32_t* height);
void PlatformReleaseSurface(Surface* surface);
void PlatformReleaseDisplay(DisplayDevice* display);

// The opaque copy: the source rectangle of source lands unchanged with its top-left corner at
// (x, y) of destination; no scaling, no transparent colour, no waiting for a busy blitter.
// DDERR_SURFACELOST when a surface's memory was lost.
HRESULT PlatformCopyRect(Surface* destination, int32_t x, int32_t y, Surface* source, const Rect* sourceRect);
// Makes what was copied onto the primary surface visible (nothing to do where the primary surface is the screen).
void PlatformPresent(Surface* primary);
// False while a frame drawn now could not be shown yet; the platform then asks for one by ending its
// poll as soon as it can be shown. Always true where every frame is shown (Windows).
bool PlatformFrameWanted();

// ---- Bitmaps --------------------------------------------------------------------------------

// A Windows BMP file, relative to the working directory; null when it cannot be read.
Bitmap* PlatformLoadBitmapFile(const char* path);
// The bitmap's width and height in pixels.
void PlatformGetBitmapSize(Bitmap* bitmap, int32_t* width, int32_t* height);
void PlatformDeleteBitmap(Bitmap* bitmap);

// ---- Drawing contexts and text --------------------------------------------------------------

// A memory context compatible with the screen; null on failure.
DrawContext* PlatformCreateMemoryContext();
// Selects the bitmap into a memory context, so that it is the context's pixels.
void PlatformSelectBitmap(DrawContext* context, Bitmap* bitmap);
void PlatformDeleteMemoryContext(DrawContext* context);
// A context that draws into the surface; S_OK with the context, or a failure. Release it with PlatformReleaseDC.
HRESULT PlatformGetDC(Surface* surface, DrawContext** context);
HRESULT PlatformReleaseDC(Surface* surface, DrawContext* context);
// Copies the source rectangle onto the destination rectangle, stretching or shrinking it and
// converting its colours (StretchBlt, SRCCOPY).
void PlatformStretchCopy(DrawContext* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                         DrawContext* source, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                         int32_t sourceHeight);
// Text is drawn in an opaque box filled with the background colour.
void PlatformSetOpaqueBackground(DrawContext* context);
// Colours are COLORREF values, 0x00BBGGRR.
void PlatformSetBackgroundColour(DrawContext* context, uint32_t colour);
void PlatformSetTextColour(DrawContext* context, uint32_t colour);
// Writes count single-byte characters with the top-left corner of the text at (x, y); a font
// whose line height is at most 16 pixels.
void PlatformTextOut(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t count);

// ---- Files ----------------------------------------------------------------------------------

// The operating system's file services for the score file: exclusive reading one byte at a time,
// and a durable, atomic replacement of the file.
extern const FileAccess platformFileAccess;
