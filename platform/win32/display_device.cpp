// The display object and its surfaces on DirectDraw 7: the fullscreen mode, surface creation and
// loss, and the opaque copy between surfaces.
#include <windows.h>
// Builds on the types of windows.h, so it comes after it.
#include <ddraw.h>

#include <cstring>

#include "platform/platform.h"

namespace {

IDirectDraw7* ToDirectDraw(DisplayDevice* display) {
    return reinterpret_cast<IDirectDraw7*>(display);
}
IDirectDrawSurface7* ToDirectDrawSurface(Surface* surface) {
    return reinterpret_cast<IDirectDrawSurface7*>(surface);
}

// The description record's own size: 124 bytes in a 32-bit build, 136 in a 64-bit one (the record
// holds a pointer), and DirectDraw refuses any other value.
constexpr DWORD surfaceDescSize = sizeof(DDSURFACEDESC2);

}  // namespace

HRESULT PlatformCreateDisplay(DisplayDevice** display) {
    IDirectDraw7* directDraw = NULL;
    HRESULT result = DirectDrawCreateEx(NULL, reinterpret_cast<void**>(&directDraw), IID_IDirectDraw7, NULL);
    *display = result == DD_OK ? reinterpret_cast<DisplayDevice*>(directDraw) : nullptr;
    return result;
}

HRESULT PlatformSetCooperativeLevel(DisplayDevice* display, WindowHandle window) {
    // DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX
    return ToDirectDraw(display)->SetCooperativeLevel(reinterpret_cast<HWND>(window), 0x53);
}

HRESULT PlatformSetDisplayMode(DisplayDevice* display, uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    return ToDirectDraw(display)->SetDisplayMode(width, height, bitsPerPixel, 0, 0);
}

HRESULT PlatformCreateSurface(DisplayDevice* display, const SurfaceDesc* desc, Surface** surface) {
    DDSURFACEDESC2 record;
    std::memset(&record, 0, sizeof(record));
    record.dwSize = surfaceDescSize;
    record.dwFlags = desc->dwFlags;
    record.ddsCaps.dwCaps = desc->dwCaps;
    record.dwWidth = desc->dwWidth;
    record.dwHeight = desc->dwHeight;
    IDirectDrawSurface7* created = NULL;
    HRESULT result = ToDirectDraw(display)->CreateSurface(&record, &created, NULL);
    *surface = result == DD_OK ? reinterpret_cast<Surface*>(created) : nullptr;
    return result;
}

HRESULT PlatformRestoreAllSurfaces(DisplayDevice* display) {
    return ToDirectDraw(display)->RestoreAllSurfaces();
}

HRESULT PlatformRestoreSurface(Surface* surface) {
    return ToDirectDrawSurface(surface)->Restore();
}

HRESULT PlatformGetSurfaceSize(Surface* surface, uint32_t* width, uint32_t* height) {
    DDSURFACEDESC2 record;
    std::memset(&record, 0, sizeof(record));
    record.dwSize = surfaceDescSize;
    record.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    HRESULT result = ToDirectDrawSurface(surface)->GetSurfaceDesc(&record);
    *width = record.dwWidth;
    *height = record.dwHeight;
    return result;
}

void PlatformReleaseSurface(Surface* surface) {
    ToDirectDrawSurface(surface)->Release();
}

void PlatformReleaseDisplay(DisplayDevice* display) {
    ToDirectDraw(display)->Release();
}

HRESULT PlatformCopyRect(Surface* destination, int32_t x, int32_t y, Surface* source, const Rect* sourceRect) {
    RECT rect = {sourceRect->left, sourceRect->top, sourceRect->right, sourceRect->bottom};
    // No DDBLTFAST_WAIT: a copy that meets a busy blitter fails and is dropped rather than waited for.
    return ToDirectDrawSurface(destination)
        ->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), ToDirectDrawSurface(source), &rect,
                  DDBLTFAST_NOCOLORKEY);
}

// The primary surface is the screen itself: what was copied onto it is already visible.
void PlatformPresent(Surface*) {}
