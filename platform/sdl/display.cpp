// The display on SDL2: the fullscreen window, its surface as the primary surface, off-screen
// surfaces in the window's pixel format, the opaque copy and the presentation.
#include <cstring>

#include "platform/sdl/sdl_platform.h"

namespace {

DisplayDevice theDisplay;

// Four surfaces are all the program makes; the spare slots cover a display set up anew.
constexpr int surfaceCapacity = 8;
Surface surfaces[surfaceCapacity];

// The picture that the program composes is 800 x 600; the primary surface shows it at that size.
constexpr int pictureWidth = 800;
constexpr int pictureHeight = 600;
// The window's own size, which it gets back when the display is let go.
constexpr int windowWidth = 320;
constexpr int windowHeight = 200;

SDL_Window* WindowOfDisplay(const DisplayDevice* display) {
    SDL_Window* window = SdlWindowOf(display->window);
    return window != nullptr ? window : DisplayWindow();
}

Surface* TakeSurfaceSlot() {
    for (Surface& surface : surfaces) {
        if (!surface.inUse) {
            surface = Surface{};
            surface.inUse = true;
            surface.context.surface = &surface;
            return &surface;
        }
    }
    return nullptr;
}

// The format of every surface: that of the window's surface, so that copies never convert.
uint32_t DisplayPixelFormat(SDL_Window* window) {
    SDL_Surface* windowSurface = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (windowSurface != nullptr) {
        return windowSurface->format->format;
    }
    const uint32_t unknown = SDL_PIXELFORMAT_UNKNOWN;
    const uint32_t format = window != nullptr ? SDL_GetWindowPixelFormat(window) : unknown;
    return format != unknown ? format : static_cast<uint32_t>(SDL_PIXELFORMAT_RGB888);
}

// Where the 800 x 600 picture stands on a window surface of the given size: as large as fits
// with its aspect kept, centred, black around it.
SDL_Rect PictureArea(int windowWidth, int windowHeight) {
    SDL_Rect area;
    if (windowWidth * pictureHeight <= windowHeight * pictureWidth) {
        area.w = windowWidth;
        area.h = windowWidth * pictureHeight / pictureWidth;
    } else {
        area.h = windowHeight;
        area.w = windowHeight * pictureWidth / pictureHeight;
    }
    area.x = (windowWidth - area.w) / 2;
    area.y = (windowHeight - area.h) / 2;
    return area;
}

void FillBorders(SDL_Surface* target, const SDL_Rect& area) {
    const Uint32 black = SDL_MapRGB(target->format, 0, 0, 0);
    const SDL_Rect borders[4] = {
        {0, 0, target->w, area.y},
        {0, area.y + area.h, target->w, target->h - area.y - area.h},
        {0, area.y, area.x, area.h},
        {area.x + area.w, area.y, target->w - area.x - area.w, area.h},
    };
    for (const SDL_Rect& border : borders) {
        if (border.w > 0 && border.h > 0) {
            SDL_FillRect(target, &border, black);
        }
    }
}

// Places the window over the whole screen of the given size before it turns fullscreen. A window
// manager would do that on its own; on a bare X server there is none, and the window would keep
// its 320 x 200 while SDL believes it covers the screen.
void CoverScreen(SDL_Window* window, int width, int height) {
    const int displayIndex = SDL_GetWindowDisplayIndex(window);
    SDL_Rect bounds{0, 0, width, height};
    SDL_GetDisplayBounds(displayIndex < 0 ? 0 : displayIndex, &bounds);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, width, height);
}

// The window's surface as SDL holds it now. Fetching it is what makes SDL replace (and free) a
// surface that a resize or a mode change has invalidated.
SDL_Surface* CurrentScreen() {
    SDL_Window* window = DisplayWindow();
    return window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
}

// A sharing surface is sound only while the window surface is the one it was made from, with the
// same buffer and layout. Should SDL hand out a new surface at the old addresses, the buffer has
// the same size and stays safe to use; the resize watch below still marks such a surface lost.
bool SharingHolds(const Surface* surface, const SDL_Surface* screen) {
    const SDL_Surface* own = surface->pixels;
    return screen != nullptr && own != nullptr && screen == surface->sharedScreen && screen->pixels == own->pixels &&
           screen->pitch == own->pitch && screen->w == own->w && screen->h == own->h &&
           screen->format->format == own->format->format;
}

// SDL invalidates the window surface on every size change of the window (a resize, a mode change,
// leaving fullscreen) and frees it at the next fetch: a surface sharing it is lost from then on.
bool watchingResizes = false;

int MarkSharersLost(void*, SDL_Event* event) {
    if (event->type != SDL_WINDOWEVENT || event->window.event != SDL_WINDOWEVENT_SIZE_CHANGED) {
        return 1;
    }
    SDL_Window* window = DisplayWindow();
    if (window != nullptr && event->window.windowID != SDL_GetWindowID(window)) {
        return 1;
    }
    for (Surface& surface : surfaces) {
        if (surface.inUse && surface.sharedScreen != nullptr) {
            surface.lost = true;
        }
    }
    return 1;
}

bool AnotherShares(const Surface* surface) {
    for (const Surface& other : surfaces) {
        if (&other != surface && other.inUse && other.sharedScreen != nullptr) {
            return true;
        }
    }
    return false;
}

void DropPixels(Surface* surface) {
    if (surface->pixels != nullptr) {
        SDL_FreeSurface(surface->pixels);  // a sharing surface's buffer belongs to the window: only the header goes
    }
    surface->pixels = nullptr;
    surface->sharedScreen = nullptr;
    if (watchingResizes && !AnotherShares(surface)) {
        SDL_DelEventWatch(MarkSharersLost, nullptr);
        watchingResizes = false;
    }
}

// An off-screen surface of exactly the window surface's size and format shares its pixels, so
// that the picture composed there is already on the screen and presenting it copies nothing.
// Only one surface shares; every other gets a buffer of its own.
bool GivePixels(Surface* surface, SDL_Window* window) {
    SDL_Surface* screen = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    const uint32_t format = DisplayPixelFormat(window);
    if (screen != nullptr && screen->w == surface->width && screen->h == surface->height &&
        screen->format->format == format && !AnotherShares(surface)) {
        surface->pixels = SDL_CreateRGBSurfaceWithFormatFrom(screen->pixels, screen->w, screen->h,
                                                             SDL_BITSPERPIXEL(format), screen->pitch, format);
        if (surface->pixels != nullptr) {
            surface->sharedScreen = screen;
            if (!watchingResizes) {
                SDL_AddEventWatch(MarkSharersLost, nullptr);
                watchingResizes = true;
            }
        }
    }
    if (surface->pixels == nullptr) {
        surface->pixels = SDL_CreateRGBSurfaceWithFormat(0, surface->width, surface->height, SDL_BITSPERPIXEL(format), format);
    }
    if (surface->pixels == nullptr) {
        return false;
    }
    SDL_SetSurfaceBlendMode(surface->pixels, SDL_BLENDMODE_NONE);
    surface->lost = false;
    return true;
}

// A lost surface gets memory again: the window surface's if it still fits, else its own.
HRESULT RestoreLostSurface(Surface* surface) {
    if (!SurfaceLost(surface)) {
        return S_OK;
    }
    DropPixels(surface);
    return GivePixels(surface, DisplayWindow()) ? S_OK : E_FAIL;
}

// A copy onto the primary surface: picture coordinates mapped onto the window's surface.
HRESULT CopyToScreen(int32_t x, int32_t y, SDL_Surface* source, SDL_Rect sourceRect) {
    SDL_Window* window = DisplayWindow();
    SDL_Surface* target = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (target == nullptr) {
        return E_FAIL;
    }
    const SDL_Rect area = PictureArea(target->w, target->h);
    FillBorders(target, area);
    // Clip to the picture and the source first: nothing lands on the border, and the scaling
    // maps whole picture pixels.
    int32_t left = x, top = y;
    if (sourceRect.x < 0) { left -= sourceRect.x; sourceRect.w += sourceRect.x; sourceRect.x = 0; }
    if (sourceRect.y < 0) { top -= sourceRect.y; sourceRect.h += sourceRect.y; sourceRect.y = 0; }
    if (left < 0) { sourceRect.x -= left; sourceRect.w += left; left = 0; }
    if (top < 0) { sourceRect.y -= top; sourceRect.h += top; top = 0; }
    if (sourceRect.x + sourceRect.w > source->w) sourceRect.w = source->w - sourceRect.x;
    if (sourceRect.y + sourceRect.h > source->h) sourceRect.h = source->h - sourceRect.y;
    if (left + sourceRect.w > pictureWidth) sourceRect.w = pictureWidth - left;
    if (top + sourceRect.h > pictureHeight) sourceRect.h = pictureHeight - top;
    if (sourceRect.w <= 0 || sourceRect.h <= 0) {
        return S_OK;
    }
    if (area.w == pictureWidth && area.h == pictureHeight && source->format->format == target->format->format) {
        CopyPixels(target, area.x + left, area.y + top, source, sourceRect);  // pixel for pixel
        return S_OK;
    }
    const int32_t right = left + sourceRect.w, bottom = top + sourceRect.h;
    SDL_Rect targetRect;
    targetRect.x = area.x + left * area.w / pictureWidth;
    targetRect.y = area.y + top * area.h / pictureHeight;
    targetRect.w = area.x + right * area.w / pictureWidth - targetRect.x;
    targetRect.h = area.y + bottom * area.h / pictureHeight - targetRect.y;
    if (targetRect.w <= 0 || targetRect.h <= 0) {
        return S_OK;
    }
    if (source->pixels == target->pixels) {
        return E_FAIL;  // SDL's scaling reads and writes without regard to overlap
    }
    return SDL_BlitScaled(source, &sourceRect, target, &targetRect) == 0 ? S_OK : E_FAIL;
}

}  // namespace

SDL_Surface* SurfacePixels(Surface* surface) {
    if (surface == nullptr || !surface->inUse) {
        return nullptr;
    }
    if (surface->primary) {
        return CurrentScreen();
    }
    return SurfaceLost(surface) ? nullptr : surface->pixels;
}

bool SurfaceLost(Surface* surface) {
    if (surface == nullptr || !surface->inUse || surface->primary) {
        return false;
    }
    if (!surface->lost && surface->sharedScreen != nullptr && !SharingHolds(surface, CurrentScreen())) {
        surface->lost = true;
    }
    return surface->lost;
}

constexpr size_t cellRowBytes = 16 * 4;

void CopyPixels(SDL_Surface* destination, int32_t x, int32_t y, SDL_Surface* source, SDL_Rect sourceRect) {
    // Clip to the source, then to the destination, moving the other side along.
    if (sourceRect.x < 0) { x -= sourceRect.x; sourceRect.w += sourceRect.x; sourceRect.x = 0; }
    if (sourceRect.y < 0) { y -= sourceRect.y; sourceRect.h += sourceRect.y; sourceRect.y = 0; }
    if (sourceRect.x + sourceRect.w > source->w) sourceRect.w = source->w - sourceRect.x;
    if (sourceRect.y + sourceRect.h > source->h) sourceRect.h = source->h - sourceRect.y;
    if (x < 0) { sourceRect.x -= x; sourceRect.w += x; x = 0; }
    if (y < 0) { sourceRect.y -= y; sourceRect.h += y; y = 0; }
    if (x + sourceRect.w > destination->w) sourceRect.w = destination->w - x;
    if (y + sourceRect.h > destination->h) sourceRect.h = destination->h - y;
    if (sourceRect.w <= 0 || sourceRect.h <= 0) {
        return;
    }
    // A plain row copy: SDL's own blitter takes a streaming-store path on aligned rows that is
    // several times slower for the small cells that make up a frame.
    const int bytesPerPixel = source->format->BytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(sourceRect.w) * bytesPerPixel;
    const Uint8* from = static_cast<const Uint8*>(source->pixels) + sourceRect.y * source->pitch + sourceRect.x * bytesPerPixel;
    Uint8* to = static_cast<Uint8*>(destination->pixels) + y * destination->pitch + x * bytesPerPixel;
    // A surface that shares the window surface lies in the same memory as the primary surface.
    const uintptr_t fromStart = reinterpret_cast<uintptr_t>(from);
    const uintptr_t toStart = reinterpret_cast<uintptr_t>(to);
    const uintptr_t fromEnd = fromStart + static_cast<size_t>(sourceRect.h - 1) * source->pitch + rowBytes;
    const uintptr_t toEnd = toStart + static_cast<size_t>(sourceRect.h - 1) * destination->pitch + rowBytes;
    if (fromStart < toEnd && toStart < fromEnd) {
        if (source->pitch != destination->pitch) {
            return;  // rows of different strides interleave: no order of copies is safe
        }
        if (fromStart == toStart) {
            return;  // the pixels are already where they are to go: presenting a shared surface
        }
        const int pitch = source->pitch;
        if (toStart > fromStart) {
            // Moving down or right: the later rows first, so no row is overwritten before it is read.
            from += static_cast<ptrdiff_t>(sourceRect.h - 1) * pitch;
            to += static_cast<ptrdiff_t>(sourceRect.h - 1) * pitch;
            for (int row = 0; row < sourceRect.h; ++row) {
                std::memmove(to, from, rowBytes);
                from -= pitch;
                to -= pitch;
            }
            return;
        }
        for (int row = 0; row < sourceRect.h; ++row) {
            std::memmove(to, from, rowBytes);
            from += pitch;
            to += pitch;
        }
        return;
    }
    if (bytesPerPixel == 4 && sourceRect.w < 16) {
        // A glyph of the text, 7 pixels wide: a short loop of pixel moves beats a call into the C
        // library for every row of every letter.
        for (int row = 0; row < sourceRect.h; ++row) {
            const Uint32* fromPixel = reinterpret_cast<const Uint32*>(from);
            Uint32* toPixel = reinterpret_cast<Uint32*>(to);
            for (int column = 0; column < sourceRect.w; ++column) {
                toPixel[column] = fromPixel[column];
            }
            from += source->pitch;
            to += destination->pitch;
        }
        return;
    }
    if (rowBytes == cellRowBytes) {
        // A 16-pixel cell at 4 bytes a pixel, the copy that most of a frame is made of: a copy of
        // known size compiles to a few moves instead of a call into the C library.
        for (int row = 0; row < sourceRect.h; ++row) {
            std::memcpy(to, from, cellRowBytes);
            from += source->pitch;
            to += destination->pitch;
        }
        return;
    }
    for (int row = 0; row < sourceRect.h; ++row) {
        std::memcpy(to, from, rowBytes);
        from += source->pitch;
        to += destination->pitch;
    }
}

SDL_Color ColourOf(uint32_t colour) {
    return SDL_Color{static_cast<Uint8>(colour & 0xFF), static_cast<Uint8>((colour >> 8) & 0xFF),
                     static_cast<Uint8>((colour >> 16) & 0xFF), 255};
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

HRESULT PlatformSetDisplayMode(DisplayDevice* display, uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    SDL_Window* window = display != nullptr ? WindowOfDisplay(display) : nullptr;
    if (window == nullptr) {
        return E_FAIL;
    }
    const int displayIndex = SDL_GetWindowDisplayIndex(window);
    const int modeCount = SDL_GetNumDisplayModes(displayIndex < 0 ? 0 : displayIndex);
    for (int i = 0; i < modeCount; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(displayIndex < 0 ? 0 : displayIndex, i, &mode) != 0) {
            continue;
        }
        if (mode.w != static_cast<int>(width) || mode.h != static_cast<int>(height) ||
            SDL_BITSPERPIXEL(mode.format) != bitsPerPixel) {
            continue;
        }
        if (SDL_SetWindowDisplayMode(window, &mode) != 0) {
            return E_FAIL;
        }
        CoverScreen(window, mode.w, mode.h);
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
            return E_FAIL;
        }
        display->modeSet = true;
        return S_OK;
    }
    return E_FAIL;  // the display offers no such mode
}

HRESULT PlatformCreateSurface(DisplayDevice* display, const SurfaceDesc* desc, Surface** surface) {
    *surface = nullptr;
    SDL_Window* window = display != nullptr ? WindowOfDisplay(display) : nullptr;
    if (window == nullptr) {
        return E_FAIL;
    }
    if ((desc->dwFlags & DDSD_CAPS) != 0 && (desc->dwCaps & DDSCAPS_PRIMARYSURFACE) != 0) {
        if (!display->modeSet) {
            // No 800 x 600 mode to take: the whole desktop, with the picture scaled onto it.
            SDL_DisplayMode desktop;
            const int displayIndex = SDL_GetWindowDisplayIndex(window);
            if (SDL_GetDesktopDisplayMode(displayIndex < 0 ? 0 : displayIndex, &desktop) == 0) {
                CoverScreen(window, desktop.w, desktop.h);
            }
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
        SDL_Surface* screen = SDL_GetWindowSurface(window);
        if (screen == nullptr) {
            return E_FAIL;
        }
        Surface* primary = TakeSurfaceSlot();
        if (primary == nullptr) {
            return E_FAIL;
        }
        primary->primary = true;
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        SDL_UpdateWindowSurface(window);
        *surface = primary;
        return S_OK;
    }
    if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) || desc->dwWidth == 0 ||
        desc->dwHeight == 0 || desc->dwWidth > 16384 || desc->dwHeight > 16384) {
        return E_FAIL;
    }
    Surface* offscreen = TakeSurfaceSlot();
    if (offscreen == nullptr) {
        return E_FAIL;
    }
    offscreen->width = static_cast<int>(desc->dwWidth);
    offscreen->height = static_cast<int>(desc->dwHeight);
    if (!GivePixels(offscreen, window)) {
        *offscreen = Surface{};
        return E_FAIL;
    }
    *surface = offscreen;
    return S_OK;
}

// Only a surface that shared the window surface can be lost; one of its own keeps its memory.
HRESULT PlatformRestoreAllSurfaces(DisplayDevice*) {
    // Every lost surface lets go first, so that the one that may share the new window surface
    // is not kept from it by another that has not been restored yet.
    for (Surface& surface : surfaces) {
        if (SurfaceLost(&surface)) {
            DropPixels(&surface);
        }
    }
    HRESULT result = S_OK;
    for (Surface& surface : surfaces) {
        if (RestoreLostSurface(&surface) != S_OK) {
            result = E_FAIL;
        }
    }
    return result;
}

HRESULT PlatformRestoreSurface(Surface* surface) {
    return RestoreLostSurface(surface);
}

HRESULT PlatformGetSurfaceSize(Surface* surface, uint32_t* width, uint32_t* height) {
    SDL_Surface* pixels = SurfacePixels(surface);
    if (pixels == nullptr) {
        return E_FAIL;
    }
    *width = static_cast<uint32_t>(pixels->w);
    *height = static_cast<uint32_t>(pixels->h);
    return S_OK;
}

void PlatformReleaseSurface(Surface* surface) {
    if (surface == nullptr || !surface->inUse) {
        return;
    }
    DropPixels(surface);
    *surface = Surface{};
}

void PlatformReleaseDisplay(DisplayDevice* display) {
    if (display == nullptr || !display->inUse) {
        return;
    }
    // Letting go of the display gives the desktop its own mode back, and the window its own size.
    SDL_Window* window = WindowOfDisplay(display);
    if (window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowSize(window, windowWidth, windowHeight);
        SDL_SetWindowPosition(window, 0, 0);
    }
    *display = DisplayDevice{};
}

HRESULT PlatformCopyRect(Surface* destination, int32_t x, int32_t y, Surface* source, const Rect* sourceRect) {
    if (destination == nullptr || !destination->inUse || source == nullptr || !source->inUse || sourceRect == nullptr) {
        return E_FAIL;
    }
    if (SurfaceLost(source) || SurfaceLost(destination)) {
        return DDERR_SURFACELOST;
    }
    SDL_Surface* from = SurfacePixels(source);
    if (from == nullptr) {
        return E_FAIL;
    }
    const SDL_Rect rect{sourceRect->left, sourceRect->top, sourceRect->right - sourceRect->left,
                        sourceRect->bottom - sourceRect->top};
    if (destination->primary) {
        return CopyToScreen(x, y, from, rect);
    }
    SDL_Surface* to = destination->pixels;
    if (from->format->format == to->format->format) {
        CopyPixels(to, x, y, from, rect);
        return S_OK;
    }
    SDL_Rect sourceCopy = rect;
    SDL_Rect target{x, y, rect.w, rect.h};
    return SDL_BlitSurface(from, &sourceCopy, to, &target) == 0 ? S_OK : E_FAIL;
}

void PlatformPresent(Surface* primary) {
    SDL_Window* window = DisplayWindow();
    if (primary != nullptr && primary->inUse && primary->primary && window != nullptr) {
        SDL_UpdateWindowSurface(window);
    }
}

void ReleaseDisplayObjects() {
    for (Surface& surface : surfaces) {
        PlatformReleaseSurface(&surface);
    }
    theDisplay = DisplayDevice{};
}
