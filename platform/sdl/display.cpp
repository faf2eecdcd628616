// The display on SDL2. The primary surface is the 800 x 600 picture in memory; off-screen surfaces
// share its pixel format, so copies never convert. The picture reaches the screen through SDL's
// renderer: the window covers the desktop in the desktop's own mode (the display mode is never
// changed), and the picture is scaled onto it with its shape kept and black around it, at most
// once per refresh of the display and only when it changed.
#include <cstring>
#include <initializer_list>

#include "platform/sdl/sdl_platform.h"

namespace {

DisplayDevice theDisplay;

// Four surfaces are all the program makes; the spare slots cover a display set up anew.
constexpr int surfaceCapacity = 8;
Surface surfaces[surfaceCapacity];

// The picture that the program composes is 800 x 600 at 32 bits.
constexpr int pictureWidth = 800;
constexpr int pictureHeight = 600;
constexpr uint32_t pictureBits = 32;
// The window's own size, which it gets back when the display is let go.
constexpr int windowWidth = 320;
constexpr int windowHeight = 200;
// The refresh rate assumed where SDL does not know the display's.
constexpr int fallbackRefreshHz = 60;

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

Surface* PrimarySurface() {
    for (Surface& surface : surfaces) {
        if (surface.inUse && surface.primary) {
            return &surface;
        }
    }
    return nullptr;
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

uint64_t RefreshIntervalOf(SDL_Window* window) {
    SDL_DisplayMode mode;
    const int displayIndex = SDL_GetWindowDisplayIndex(window);
    int hz = 0;
    if (SDL_GetCurrentDisplayMode(displayIndex < 0 ? 0 : displayIndex, &mode) == 0) {
        hz = mode.refresh_rate;
    }
    return 1000000000u / static_cast<uint64_t>(hz > 0 ? hz : fallbackRefreshHz);
}

// The renderer's pixel format closest to the X server's own, so that neither the upload nor the
// software renderer converts.
uint32_t TextureFormatOf(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.num_texture_formats == 0) {
        return SDL_PIXELFORMAT_RGB888;
    }
    for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
        if (info.texture_formats[i] == SDL_PIXELFORMAT_RGB888) {
            return SDL_PIXELFORMAT_RGB888;
        }
    }
    for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
        if (info.texture_formats[i] == SDL_PIXELFORMAT_ARGB8888) {
            return SDL_PIXELFORMAT_ARGB8888;
        }
    }
    return info.texture_formats[0];
}

// Where the 800 x 600 picture stands on a drawable of the given size: as large as fits with its
// shape kept, centred, black around it.
SDL_Rect PictureArea(int outputWidth, int outputHeight) {
    SDL_Rect area;
    if (outputWidth * pictureHeight <= outputHeight * pictureWidth) {
        area.w = outputWidth;
        area.h = outputWidth * pictureHeight / pictureWidth;
    } else {
        area.h = outputHeight;
        area.w = outputHeight * pictureWidth / pictureHeight;
    }
    area.x = (outputWidth - area.w) / 2;
    area.y = (outputHeight - area.h) / 2;
    return area;
}

void DropEnlarged(DisplayDevice* display) {
    if (display->enlarged != nullptr) {
        SDL_DestroyTexture(display->enlarged);
        display->enlarged = nullptr;
    }
    display->factor = 0;
}

// The way the picture is scaled onto a drawable of this size. A whole factor (1 included) draws
// each picture pixel as an exact N x N block. Any other factor enlarges the picture by the next
// whole factor with nearest neighbours into a texture of its own, and shrinks that linearly onto
// the area: edges stay sharp, and the pixels do not come out of uneven sizes. A screen smaller
// than the picture gets it shrunk linearly.
void Layout(DisplayDevice* display, int outputWidth, int outputHeight) {
    DropEnlarged(display);
    display->outputWidth = outputWidth;
    display->outputHeight = outputHeight;
    display->area = PictureArea(outputWidth, outputHeight);
    const SDL_Rect& area = display->area;
    const int whole = area.w / pictureWidth;
    SDL_ScaleMode direct = SDL_ScaleModeNearest;
    if (whole == 0) {
        direct = SDL_ScaleModeLinear;
    } else if (area.w != whole * pictureWidth || area.h != whole * pictureHeight) {
        const int factor = whole + 1;
        display->enlarged = SDL_CreateTexture(display->renderer, display->format, SDL_TEXTUREACCESS_TARGET,
                                              factor * pictureWidth, factor * pictureHeight);
        if (display->enlarged != nullptr) {
            SDL_SetTextureBlendMode(display->enlarged, SDL_BLENDMODE_NONE);
            SDL_SetTextureScaleMode(display->enlarged, SDL_ScaleModeLinear);
            display->factor = factor;
        } else {
            direct = SDL_ScaleModeLinear;  // no room for the enlarged picture: plain linear scaling
        }
    }
    SDL_SetTextureScaleMode(display->picture, direct);
    display->refreshNs = RefreshIntervalOf(WindowOfDisplay(display));
}

void ForgetScreen(DisplayDevice* display) {
    DropEnlarged(display);
    if (display->picture != nullptr) {
        SDL_DestroyTexture(display->picture);
        display->picture = nullptr;
    }
    if (display->renderer != nullptr) {
        SDL_DestroyRenderer(display->renderer);
        display->renderer = nullptr;
    }
    display->outputWidth = 0;
    display->outputHeight = 0;
}

bool OnGraphicsProcessor(SDL_Renderer* renderer);

// The window covers the desktop, in the desktop's mode, and gets its renderer: an accelerated one
// where the machine has it, SDL's software renderer otherwise. Never waiting for vertical sync:
// the loop paces the presents itself.
bool TakeScreen(DisplayDevice* display, SDL_Window* window) {
    CoverScreen(window);
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    display->renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    const char* named = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (display->renderer != nullptr && (named == nullptr || *named == '\0') &&
        !OnGraphicsProcessor(display->renderer)) {
        SDL_DestroyRenderer(display->renderer);
        display->renderer = nullptr;
    }
    if (display->renderer == nullptr) {
        display->renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (display->renderer == nullptr) {
        return false;
    }
    display->format = TextureFormatOf(display->renderer);
    display->picture =
        SDL_CreateTexture(display->renderer, display->format, SDL_TEXTUREACCESS_STREAMING, pictureWidth, pictureHeight);
    if (display->picture == nullptr) {
        ForgetScreen(display);
        return false;
    }
    SDL_SetTextureBlendMode(display->picture, SDL_BLENDMODE_NONE);
    display->refreshNs = RefreshIntervalOf(window);
    return true;
}

void NoteRowsChanged(int top, int bottom) {
    DisplayDevice& display = theDisplay;
    if (top >= bottom) {
        return;
    }
    if (display.changedTop >= display.changedBottom) {
        display.changedTop = top;
        display.changedBottom = bottom;
        return;
    }
    if (top < display.changedTop)
        display.changedTop = top;
    if (bottom > display.changedBottom)
        display.changedBottom = bottom;
}

// Clips an opaque copy to its source and its destination, moving the other side along; false
// when nothing is left to copy.
bool ClipCopy(const SDL_Surface* destination, int32_t* x, int32_t* y, const SDL_Surface* source, SDL_Rect* rect) {
    if (rect->x < 0) {
        *x -= rect->x;
        rect->w += rect->x;
        rect->x = 0;
    }
    if (rect->y < 0) {
        *y -= rect->y;
        rect->h += rect->y;
        rect->y = 0;
    }
    if (rect->x + rect->w > source->w)
        rect->w = source->w - rect->x;
    if (rect->y + rect->h > source->h)
        rect->h = source->h - rect->y;
    if (*x < 0) {
        rect->x -= *x;
        rect->w += *x;
        *x = 0;
    }
    if (*y < 0) {
        rect->y -= *y;
        rect->h += *y;
        *y = 0;
    }
    if (*x + rect->w > destination->w)
        rect->w = destination->w - *x;
    if (*y + rect->h > destination->h)
        rect->h = destination->h - *y;
    return rect->w > 0 && rect->h > 0;
}

// A copy onto the primary surface: only the rows that differ are written, and they are noted for
// the next upload. A frame that shows what the last one showed changes nothing and is never presented.
void CopyOntoPicture(SDL_Surface* picture, int32_t x, int32_t y, SDL_Surface* source, SDL_Rect rect) {
    if (!ClipCopy(picture, &x, &y, source, &rect)) {
        return;
    }
    if (source == picture) {
        CopyPixels(picture, x, y, source, rect);
        NoteRowsChanged(y, y + rect.h);
        return;
    }
    const int bytesPerPixel = source->format->BytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(rect.w) * bytesPerPixel;
    const Uint8* from = static_cast<const Uint8*>(source->pixels) + rect.y * source->pitch + rect.x * bytesPerPixel;
    Uint8* to = static_cast<Uint8*>(picture->pixels) + y * picture->pitch + x * bytesPerPixel;
    int first = -1, last = -1;
    for (int row = 0; row < rect.h; ++row) {
        if (std::memcmp(to, from, rowBytes) != 0) {
            std::memcpy(to, from, rowBytes);
            if (first < 0)
                first = row;
            last = row;
        }
        from += source->pitch;
        to += picture->pitch;
    }
    if (first >= 0) {
        NoteRowsChanged(y + first, y + last + 1);
    }
}

// Carries out a copy of the whole picture onto the primary surface that was put off.
void CopyDeferred(DisplayDevice* display) {
    Surface* source = display->deferred;
    display->deferred = nullptr;
    Surface* primary = PrimarySurface();
    if (source != nullptr && source->inUse && source->pixels != nullptr && primary != nullptr) {
        CopyOntoPicture(primary->pixels, 0, 0, source->pixels, SDL_Rect{0, 0, pictureWidth, pictureHeight});
    }
}

bool IsWholePicture(const Surface* source, int32_t x, int32_t y, const Rect* rect) {
    return x == 0 && y == 0 && rect->left == 0 && rect->top == 0 && rect->right == pictureWidth &&
           rect->bottom == pictureHeight && source->width == pictureWidth && source->height == pictureHeight;
}

// True where the renderer draws on a real graphics processor. Mesa's llvmpipe and its kin call
// themselves accelerated but rasterise on the processor, several times slower than SDL's own
// software renderer for this picture: a machine with only those has no accelerator.
bool OnGraphicsProcessor(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) {
        return true;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned int glRenderer = 0x1F01;
    const char* name = getString != nullptr ? reinterpret_cast<const char*>(getString(glRenderer)) : nullptr;
    if (name == nullptr) {
        return true;
    }
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
        if (std::strstr(name, software) != nullptr) {
            return false;
        }
    }
    return true;
}

// Uploads the changed rows and draws the picture onto the drawable, black around it.
void ShowPicture(DisplayDevice* display, SDL_Surface* picture, uint64_t now) {
    SDL_Renderer* renderer = display->renderer;
    int outputWidth = 0, outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight) != 0 || outputWidth <= 0 ||
        outputHeight <= 0) {
        return;
    }
    if (outputWidth != display->outputWidth || outputHeight != display->outputHeight) {
        Layout(display, outputWidth, outputHeight);  // the drawable's size, not the window's: high DPI counts
    }
    if (display->changedTop < display->changedBottom) {
        const SDL_Rect rows{0, display->changedTop, pictureWidth, display->changedBottom - display->changedTop};
        const Uint8* pixels = static_cast<const Uint8*>(picture->pixels) + rows.y * picture->pitch;
        SDL_UpdateTexture(display->picture, &rows, pixels, picture->pitch);
    }
    SDL_Texture* shown = display->picture;
    if (display->enlarged != nullptr && SDL_SetRenderTarget(renderer, display->enlarged) == 0) {
        SDL_RenderCopy(renderer, display->picture, nullptr, nullptr);
        SDL_SetRenderTarget(renderer, nullptr);
        shown = display->enlarged;
    }
    const SDL_Rect& area = display->area;
    const SDL_Rect borders[4] = {
        {0, 0, outputWidth, area.y},
        {0, area.y + area.h, outputWidth, outputHeight - area.y - area.h},
        {0, area.y, area.x, area.h},
        {area.x + area.w, area.y, outputWidth - area.x - area.w, area.h},
    };
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    for (const SDL_Rect& border : borders) {
        if (border.w > 0 && border.h > 0) {
            SDL_RenderFillRect(renderer, &border);
        }
    }
    SDL_RenderCopy(renderer, shown, nullptr, &area);
    SDL_RenderPresent(renderer);
    display->changedTop = display->changedBottom = 0;
    display->nextPresentNs = now + display->refreshNs;
    ++display->presents;
    display->lastPresentNs = MonotonicNs();
}

}  // namespace

SDL_Surface* SurfacePixels(Surface* surface) {
    if (surface == nullptr || !surface->inUse) {
        return nullptr;
    }
    if (surface->primary && theDisplay.deferred != nullptr) {
        CopyDeferred(&theDisplay);  // whoever reads the primary surface sees every copy made onto it
    }
    return surface->pixels;
}

void NoteSurfaceDrawn(Surface* surface) {
    if (surface != nullptr && surface->inUse && surface->primary) {
        NoteRowsChanged(0, pictureHeight);
    }
}

SDL_Renderer* DisplayRenderer() {
    return theDisplay.inUse ? theDisplay.renderer : nullptr;
}

bool PicturePending(uint64_t* presentAtNs) {
    *presentAtNs = theDisplay.inUse ? theDisplay.nextPresentNs : 0;
    const bool changed =
        theDisplay.changedTop < theDisplay.changedBottom || theDisplay.deferred != nullptr || theDisplay.frameOwed;
    return theDisplay.inUse && theDisplay.renderer != nullptr && changed && PrimarySurface() != nullptr;
}

uint64_t RefreshIntervalNs() {
    return theDisplay.inUse && theDisplay.refreshNs != 0 ? theDisplay.refreshNs : 1000000000u / fallbackRefreshHz;
}

void ShowPictureAgain() {
    if (theDisplay.inUse && PrimarySurface() != nullptr) {
        NoteRowsChanged(0, pictureHeight);
    }
}

void PresentStats(uint64_t* count, uint64_t* lastNs) {
    *count = theDisplay.presents;
    *lastNs = theDisplay.lastPresentNs;
}

void PresentPictureNow() {
    Surface* primary = PrimarySurface();
    if (theDisplay.inUse && theDisplay.renderer != nullptr && primary != nullptr) {
        CopyDeferred(&theDisplay);
        NoteRowsChanged(0, pictureHeight);
        ShowPicture(&theDisplay, primary->pixels, MonotonicNs());
    }
}

constexpr size_t cellRowBytes = 16 * 4;

void CopyPixels(SDL_Surface* destination, int32_t x, int32_t y, SDL_Surface* source, SDL_Rect sourceRect) {
    if (!ClipCopy(destination, &x, &y, source, &sourceRect)) {
        return;
    }
    // A plain row copy: SDL's own blitter takes a streaming-store path on aligned rows that is
    // several times slower for the small cells that make up a frame.
    const int bytesPerPixel = source->format->BytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(sourceRect.w) * bytesPerPixel;
    const Uint8* from =
        static_cast<const Uint8*>(source->pixels) + sourceRect.y * source->pitch + sourceRect.x * bytesPerPixel;
    Uint8* to = static_cast<Uint8*>(destination->pixels) + y * destination->pitch + x * bytesPerPixel;
    // A copy within one surface may overlap itself.
    const uintptr_t fromStart = reinterpret_cast<uintptr_t>(from);
    const uintptr_t toStart = reinterpret_cast<uintptr_t>(to);
    const uintptr_t fromEnd = fromStart + static_cast<size_t>(sourceRect.h - 1) * source->pitch + rowBytes;
    const uintptr_t toEnd = toStart + static_cast<size_t>(sourceRect.h - 1) * destination->pitch + rowBytes;
    if (fromStart < toEnd && toStart < fromEnd) {
        if (source->pitch != destination->pitch) {
            return;  // rows of different strides interleave: no order of copies is safe
        }
        if (fromStart == toStart) {
            return;  // the pixels are already where they are to go
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
    theDisplay.format = SDL_PIXELFORMAT_RGB888;  // until the renderer names its own
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
    if (window == nullptr || width != pictureWidth || height != pictureHeight || bitsPerPixel != pictureBits) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT PlatformCreateSurface(DisplayDevice* display, const SurfaceDesc* desc, Surface** surface) {
    *surface = nullptr;
    SDL_Window* window = display != nullptr ? WindowOfDisplay(display) : nullptr;
    if (window == nullptr) {
        return E_FAIL;
    }
    const bool primary = (desc->dwFlags & DDSD_CAPS) != 0 && (desc->dwCaps & DDSCAPS_PRIMARYSURFACE) != 0;
    if (primary) {
        if (PrimarySurface() != nullptr || (display->renderer == nullptr && !TakeScreen(display, window))) {
            return E_FAIL;
        }
    } else if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) || desc->dwWidth == 0 ||
               desc->dwHeight == 0 || desc->dwWidth > 16384 || desc->dwHeight > 16384) {
        return E_FAIL;
    }
    Surface* created = TakeSurfaceSlot();
    if (created == nullptr) {
        return E_FAIL;
    }
    created->primary = primary;
    created->width = primary ? pictureWidth : static_cast<int>(desc->dwWidth);
    created->height = primary ? pictureHeight : static_cast<int>(desc->dwHeight);
    created->pixels = SDL_CreateRGBSurfaceWithFormat(0, created->width, created->height,
                                                     SDL_BITSPERPIXEL(display->format), display->format);
    if (created->pixels == nullptr) {
        *created = Surface{};
        return E_FAIL;
    }
    SDL_SetSurfaceBlendMode(created->pixels, SDL_BLENDMODE_NONE);
    if (primary) {
        // The screen starts black, and is shown black at once.
        SDL_FillRect(created->pixels, nullptr, SDL_MapRGB(created->pixels->format, 0, 0, 0));
        PresentPictureNow();
    }
    *surface = created;
    return S_OK;
}

// Every surface is memory of the program's own: none is ever lost.
HRESULT PlatformRestoreAllSurfaces(DisplayDevice*) {
    return S_OK;
}

HRESULT PlatformRestoreSurface(Surface*) {
    return S_OK;
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
    if (theDisplay.deferred == surface) {
        CopyDeferred(&theDisplay);
    }
    if (surface->pixels != nullptr) {
        SDL_FreeSurface(surface->pixels);
    }
    *surface = Surface{};
}

void PlatformReleaseDisplay(DisplayDevice* display) {
    if (display == nullptr || !display->inUse) {
        return;
    }
    ForgetScreen(display);
    // The window leaves the desktop and gets its own size back; the desktop's mode was never changed.
    SDL_Window* window = WindowOfDisplay(display);
    if (window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0) {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowSize(window, windowWidth, windowHeight);
        SDL_SetWindowPosition(window, 0, 0);
    }
    *display = DisplayDevice{};
}

HRESULT PlatformCopyRect(Surface* destination, int32_t x, int32_t y, Surface* source, const Rect* sourceRect) {
    SDL_Surface* from = SurfacePixels(source);
    // The destination's pixels as they are: a copy put off on the primary surface is settled below.
    SDL_Surface* to = destination != nullptr && destination->inUse ? destination->pixels : nullptr;
    if (from == nullptr || to == nullptr || sourceRect == nullptr) {
        return E_FAIL;
    }
    const SDL_Rect rect{sourceRect->left, sourceRect->top, sourceRect->right - sourceRect->left,
                        sourceRect->bottom - sourceRect->top};
    if (from->format->format != to->format->format) {
        // Only a surface made before the renderer named its format: converted on the way.
        if (destination->primary) {
            return E_FAIL;
        }
        SDL_Rect sourceCopy = rect;
        SDL_Rect target{x, y, rect.w, rect.h};
        return SDL_BlitSurface(from, &sourceCopy, to, &target) == 0 ? S_OK : E_FAIL;
    }
    if (destination->primary) {
        // The whole picture, while no present could show it yet: the copy waits for the frame
        // that can be presented, so the frames in between cost no comparison. A later copy onto
        // the primary surface replaces it; the program composes every frame whole before copying.
        if (theDisplay.renderer != nullptr && IsWholePicture(source, x, y, sourceRect) &&
            MonotonicNs() < theDisplay.nextPresentNs) {
            theDisplay.deferred = source;
            return S_OK;
        }
        CopyDeferred(&theDisplay);
        CopyOntoPicture(to, x, y, from, rect);
    } else {
        CopyPixels(to, x, y, from, rect);
    }
    return S_OK;
}

// The picture goes to the screen when it changed, and no sooner than one refresh after the last
// present; a change made meanwhile waits for the next frame after that moment, which the message
// poll wakes for.
// A frame composed before the next present may come would only be put off: it is declined, and the
// poll ends when it can be shown, for a frame that shows everything up to then.
static bool frameAskedFor = false;

bool FrameAskedForLately() {
    return frameAskedFor;
}

void ForgetFrameAskedFor() {
    frameAskedFor = false;
}

bool PlatformFrameWanted() {
    frameAskedFor = true;
    DisplayDevice& display = theDisplay;
    if (!display.inUse || display.renderer == nullptr || PrimarySurface() == nullptr ||
        MonotonicNs() >= display.nextPresentNs) {
        display.frameOwed = false;  // the frame about to be drawn is the one owed
        return true;
    }
    display.frameOwed = true;
    return false;
}

void PlatformPresent(Surface* primary) {
    DisplayDevice& display = theDisplay;
    if (primary == nullptr || !primary->inUse || !primary->primary || !display.inUse || display.renderer == nullptr) {
        return;
    }
    const uint64_t now = MonotonicNs();
    if (now < display.nextPresentNs) {
        return;  // the poll wakes the loop for a frame at that time
    }
    CopyDeferred(&display);
    if (display.changedTop < display.changedBottom) {
        ShowPicture(&display, primary->pixels, now);
    }
}

void ReleaseDisplayObjects() {
    for (Surface& surface : surfaces) {
        PlatformReleaseSurface(&surface);
    }
    if (theDisplay.inUse) {
        ForgetScreen(&theDisplay);
    }
    theDisplay = DisplayDevice{};
}
