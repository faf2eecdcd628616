// The display object, the 800 x 600 mode, the four surfaces and the loading of bitmaps into them.
#include "display/display.h"

#include <cstring>

DisplayDevice* directDraw = nullptr;
Surface* primarySurface = nullptr;
Surface* backSurface = nullptr;
Surface* cubeSurface = nullptr;
Surface* iconSurface = nullptr;
SurfaceDesc surfaceDesc;
HRESULT lastResult = S_OK;

// The window that owns the display and its message boxes, handed over by the shell at set-up.
static WindowHandle displayWindow = nullptr;

static constexpr uint32_t surfaceDescSize = 124;  // what DDSURFACEDESC2 occupies on Windows

static void ReportSetupFailure(const char* text) {
    PlatformMessageBox(displayWindow, text, "DDraw");
}

// Every surface goes through the one shared description, cleared first, so that nothing of the
// previous surface's description leaks into the next one.
static void CreateDisplaySurface(Surface** surface, uint32_t flags, uint32_t caps, uint32_t width, uint32_t height,
                                 const char* failureText) {
    std::memset(&surfaceDesc, 0, sizeof surfaceDesc);
    surfaceDesc.dwSize = surfaceDescSize;
    surfaceDesc.dwFlags = flags;
    surfaceDesc.dwCaps = caps;
    surfaceDesc.dwWidth = width;  // 0 for the primary surface, which takes the mode's size
    surfaceDesc.dwHeight = height;
    Surface* created = nullptr;
    lastResult = PlatformCreateSurface(directDraw, &surfaceDesc, &created);
    if (lastResult != S_OK) {
        // A half-made surface must not be drawn through later: the pointer stays null.
        *surface = nullptr;
        ReportSetupFailure(failureText);
        return;
    }
    *surface = created;
}

HRESULT InitDisplay(WindowHandle window) {
    displayWindow = window;
    DisplayDevice* created = nullptr;
    lastResult = PlatformCreateDisplay(&created);
    if (lastResult != S_OK) {
        directDraw = nullptr;
        ReportSetupFailure("DirectDrawCreate failed");
    } else {
        directDraw = created;
    }

    // Without the display object there is nothing to set a mode on or create surfaces through;
    // the loads below still run and report the missing surfaces themselves.
    if (directDraw != nullptr) {
        lastResult = PlatformSetCooperativeLevel(directDraw, displayWindow);
        if (lastResult != S_OK) {
            ReportSetupFailure("SetCoopLevel failed");
        }

        // The deepest mode the display accepts; a refusal of all three leaves the display as it was.
        lastResult = PlatformSetDisplayMode(directDraw, screenWidth, screenHeight, 32);
        if (lastResult != S_OK) {
            lastResult = PlatformSetDisplayMode(directDraw, screenWidth, screenHeight, 24);
            if (lastResult != S_OK) {
                lastResult = PlatformSetDisplayMode(directDraw, screenWidth, screenHeight, 16);
            }
        }

        CreateDisplaySurface(&primarySurface, DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0,
                             "CreateSurface failed (primary)");
        CreateDisplaySurface(&backSurface, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, screenWidth,
                             screenHeight, "CreateSurface failed (back)");
        CreateDisplaySurface(&cubeSurface, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, stripWidth,
                             stripHeight, "CreateSurface failed (gradient)");
        CreateDisplaySurface(&iconSurface, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, atlasWidth,
                             atlasHeight, "CreateSurface failed (icons)");
    }

    return LoadAllBitmaps();
}

void ReloadBackground() {
    lastResult = LoadBitmapIntoSurface(backSurface, "textures/background.bmp");
}

HRESULT LoadAllBitmaps() {
    lastResult = LoadBitmapIntoSurface(cubeSurface, "textures/cube.bmp");
    lastResult = LoadBitmapIntoSurface(iconSurface, "textures/icons.bmp");
    lastResult = LoadBitmapIntoSurface(backSurface, "textures/background.bmp");
    return lastResult;
}

static void ReleaseSurfacePointer(Surface** surface) {
    if (*surface != nullptr) {
        PlatformReleaseSurface(*surface);
        *surface = nullptr;
    }
}

void ReleaseDisplay() {
    ReleaseSurfacePointer(&iconSurface);
    ReleaseSurfacePointer(&cubeSurface);
    ReleaseSurfacePointer(&backSurface);
    ReleaseSurfacePointer(&primarySurface);
    if (directDraw != nullptr) {
        PlatformReleaseDisplay(directDraw);
        directDraw = nullptr;
    }
}

HRESULT LoadBitmapIntoSurface(Surface* surface, const char* fileName) {
    Bitmap* bitmap = PlatformLoadBitmapFile(fileName);
    if (bitmap == nullptr) {
        PlatformDebugOutput("handle is null\n");
        return E_FAIL;
    }
    HRESULT result = DDCopyBitmap(surface, bitmap, 0, 0);
    if (result != S_OK) {
        PlatformDebugOutput("ddcopybitmap failed\n");
    }
    PlatformDeleteBitmap(bitmap);
    return result;
}

HRESULT DDCopyBitmap(Surface* surface, Bitmap* bitmap, int32_t width, int32_t height) {
    if (bitmap == nullptr || surface == nullptr) {
        return E_FAIL;
    }
    // A surface whose memory was taken away gets it back before anything is copied into it.
    PlatformRestoreSurface(surface);

    DrawContext* memory = PlatformCreateMemoryContext();
    if (memory == nullptr) {
        // The copy goes on without a source: it transfers nothing but still reports the surface's context.
        PlatformDebugOutput("createcompatible dc failed\n");
    } else {
        PlatformSelectBitmap(memory, bitmap);
    }
    int32_t bitmapWidth = 0;
    int32_t bitmapHeight = 0;
    PlatformGetBitmapSize(bitmap, &bitmapWidth, &bitmapHeight);
    if (width == 0) {
        width = bitmapWidth;
    }
    if (height == 0) {
        height = bitmapHeight;
    }

    uint32_t surfaceWidth = 0;
    uint32_t surfaceHeight = 0;
    PlatformGetSurfaceSize(surface, &surfaceWidth, &surfaceHeight);

    DrawContext* surfaceContext = nullptr;
    HRESULT result = PlatformGetDC(surface, &surfaceContext);
    if (result == S_OK) {
        if (memory != nullptr) {
            PlatformStretchCopy(surfaceContext, 0, 0, static_cast<int32_t>(surfaceWidth),
                                static_cast<int32_t>(surfaceHeight), memory, 0, 0, width, height);
        }
        PlatformReleaseDC(surface, surfaceContext);
    }
    if (memory != nullptr) {
        PlatformDeleteMemoryContext(memory);
    }
    return result;
}
