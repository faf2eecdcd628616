// The display object in the browser: the canvas takes the place of the screen. The surfaces, the
// bitmaps and the drawing are the shared in-memory display's; this file only says yes or no.
#include "platform/memory/memory_display.h"
#include "platform/web/web_platform.h"

struct DisplayDevice {
    bool inUse;
};

namespace {

DisplayDevice theDisplay;

}  // namespace

// The display exists when the page gives a canvas with a 2D context.
HRESULT PlatformCreateDisplay(DisplayDevice** display) {
    if (theDisplay.inUse || !PrepareCanvas()) {
        *display = nullptr;
        return E_FAIL;
    }
    theDisplay.inUse = true;
    *display = &theDisplay;
    return S_OK;
}

HRESULT PlatformSetCooperativeLevel(DisplayDevice* display, WindowHandle window) {
    return display != nullptr && display->inUse && window != nullptr && window->open ? S_OK : E_FAIL;
}

// The canvas holds 32 bits a pixel, which serves any of the depths the program asks for; the
// picture stays 800 x 600 and the canvas shows it at whatever size the page has.
HRESULT PlatformSetDisplayMode(DisplayDevice* display, uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    const bool depthServed = bitsPerPixel == 32 || bitsPerPixel == 24 || bitsPerPixel == 16;
    return display != nullptr && display->inUse && width == pictureWidth && height == pictureHeight && depthServed
               ? S_OK
               : E_FAIL;
}

HRESULT PlatformCreateSurface(DisplayDevice* display, const SurfaceDesc* desc, Surface** surface) {
    *surface = nullptr;
    if (display == nullptr || !display->inUse) {
        return E_FAIL;
    }
    const HRESULT made = MemoryCreateSurface(desc, surface);
    if (made == S_OK && (desc->dwCaps & DDSCAPS_PRIMARYSURFACE) != 0) {
        CanvasResized();  // the new picture is laid out on the canvas with its first present
    }
    return made;
}

void PlatformReleaseDisplay(DisplayDevice* display) {
    if (display != nullptr) {
        display->inUse = false;
    }
}

Bitmap* PlatformLoadBitmapFile(const char* path) {
    return MemoryLoadBitmapFile(path);
}
