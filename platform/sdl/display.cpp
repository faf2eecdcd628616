// The display object on SDL2. The surfaces, copies, bitmaps and text are the shared in-memory
// display's; this file takes the screen for the primary surface: the window covers the desktop in
// the desktop's own mode, which is never changed.
#include "platform/memory/memory_display.h"
#include "platform/sdl/sdl_platform.h"

namespace {

DisplayDevice theDisplay;

constexpr uint32_t pictureBits = 32;
// The window's own size, which it gets back when the display is let go.
constexpr int windowWidth = 320;
constexpr int windowHeight = 200;

SDL_Window* WindowOfDisplay(const DisplayDevice* display) {
    SDL_Window* window = SdlWindowOf(display->window);
    return window != nullptr ? window : DisplayWindow();
}

// Places the window over the whole screen before it turns fullscreen. A window manager would do
// that on its own; on a bare X server there is none, and the window would keep its 320 x 200
// while SDL believes it covers the screen.
void CoverScreen(SDL_Window* window) {
    const int displayIndex = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(displayIndex < 0 ? 0 : displayIndex, &bounds) == 0) {
        SDL_SetWindowPosition(window, bounds.x, bounds.y);
        SDL_SetWindowSize(window, bounds.w, bounds.h);
    }
}

}  // namespace

SDL_Window* ShownWindow() {
    return theDisplay.inUse && theDisplay.screenTaken && !DisplayLost() ? WindowOfDisplay(&theDisplay) : nullptr;
}

HRESULT PlatformCreateDisplay(DisplayDevice** display) {
    *display = nullptr;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || theDisplay.inUse) {
        return E_FAIL;
    }
    theDisplay = DisplayDevice{};
    theDisplay.inUse = true;
    *display = &theDisplay;
    return S_OK;
}

HRESULT PlatformSetCooperativeLevel(DisplayDevice* display, WindowHandle window) {
    if (display == nullptr || SdlWindowOf(window) == nullptr) {
        return E_FAIL;
    }
    display->window = window;
    return S_OK;
}

// The picture is 800 x 600 at 32 bits whatever the monitor shows: that mode is granted without
// touching the monitor, which keeps the desktop's own mode. Nothing else is offered.
HRESULT PlatformSetDisplayMode(DisplayDevice* display, uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    SDL_Window* window = display != nullptr ? WindowOfDisplay(display) : nullptr;
    if (window == nullptr || width != static_cast<uint32_t>(pictureWidth) ||
        height != static_cast<uint32_t>(pictureHeight) || bitsPerPixel != pictureBits) {
        return E_FAIL;
    }
    return S_OK;
}

// The primary surface takes the screen: the window covers the desktop, fullscreen in the desktop's
// mode, and shows black at once.
HRESULT PlatformCreateSurface(DisplayDevice* display, const SurfaceDesc* desc, Surface** surface) {
    *surface = nullptr;
    SDL_Window* window = display != nullptr ? WindowOfDisplay(display) : nullptr;
    if (window == nullptr) {
        return E_FAIL;
    }
    const bool primary = (desc->dwFlags & DDSD_CAPS) != 0 && (desc->dwCaps & DDSCAPS_PRIMARYSURFACE) != 0;
    if (primary && !display->screenTaken) {
        CoverScreen(window);
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            return E_FAIL;
        }
        display->screenTaken = true;
    }
    const HRESULT result = MemoryCreateSurface(desc, surface);
    if (primary && result == S_OK) {
        PresentPictureNow();
    }
    return result;
}

void PlatformReleaseDisplay(DisplayDevice* display) {
    if (display == nullptr || !display->inUse) {
        return;
    }
    ForgetPresent();
    // The window leaves the desktop and gets its own size back; the desktop's mode was never changed.
    SDL_Window* window = WindowOfDisplay(display);
    if (window != nullptr && !DisplayLost() && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowSize(window, windowWidth, windowHeight);
        SDL_SetWindowPosition(window, 0, 0);
    }
    *display = DisplayDevice{};
}

Bitmap* PlatformLoadBitmapFile(const char* path) {
    return MemoryLoadBitmapFile(path);
}

void ReleaseDisplayObjects() {
    MemoryReset();
    ForgetPresent();
    theDisplay = DisplayDevice{};
}
