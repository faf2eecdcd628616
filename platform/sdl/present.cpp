// Showing the picture on SDL2: the changed part of the in-memory picture scaled straight into the
// window's surface and only the screen rectangles written sent to the X server, at most once per
// refresh of the display and only when something changed.
#include "platform/memory/memory_display.h"
#include "platform/memory/scale.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// The refresh rate assumed where SDL does not know the display's.
constexpr int fallbackRefreshHz = 60;
// A tile row's changes are shown as one rectangle; rows whose rectangles line up go as one.
constexpr int largestRectCount = changeRows;

PictureLayout layout;              // where the picture stands on the window's surface
bool laidOut = false;              // the layout was made for the surface's present size
bool repaintOwed = true;           // the borders and the whole picture are drawn with the next present
uint64_t nextPresentNs = 0;        // no present before this time: one refresh after the last
uint64_t nextFrameNs = 0;          // no frame before this time: one refresh after the last
uint64_t refreshNs = 0;            // the display's refresh interval
bool frameOwed = false;            // a frame was declined: one is wanted as soon as it can be presented
bool frameAskedFor = false;        // an idle turn asked for a frame since the poll last handed one out
SDL_Surface* converted = nullptr;  // where the surface's format is neither order the scaler writes:
                                   // the screen in 0x00RRGGBB, converted rectangle by rectangle

uint64_t RefreshIntervalOf(SDL_Window* window) {
    SDL_DisplayMode mode;
    const int displayIndex = SDL_GetWindowDisplayIndex(window);
    int hz = 0;
    if (SDL_GetCurrentDisplayMode(displayIndex < 0 ? 0 : displayIndex, &mode) == 0) {
        hz = mode.refresh_rate;
    }
    return 1000000000u / static_cast<uint64_t>(hz > 0 ? hz : fallbackRefreshHz);
}

bool IsXrgb(uint32_t format) {
    return format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
}
bool IsRgba(uint32_t format) {
    return format == SDL_PIXELFORMAT_ABGR8888 || format == SDL_PIXELFORMAT_BGR888;
}

void DropConverted() {
    if (converted != nullptr) {
        SDL_FreeSurface(converted);
        converted = nullptr;
    }
}

// A new layout for a surface of another size: the whole picture and its borders are drawn anew.
bool LayOut(SDL_Window* window, SDL_Surface* screen) {
    DropConverted();
    const uint32_t format = screen->format->format;
    if (!IsXrgb(format) && !IsRgba(format)) {
        converted = SDL_CreateRGBSurfaceWithFormat(0, screen->w, screen->h, 32, SDL_PIXELFORMAT_RGB888);
        if (converted == nullptr) {
            return false;
        }
    }
    LayOutPicture(screen->w, screen->h, &layout);
    refreshNs = RefreshIntervalOf(window);
    laidOut = true;
    repaintOwed = true;
    return true;
}

// The picture rectangles that changed, within their bounds: one for each row of tiles, from its
// first changed tile to its last, with the rows below it whose rectangles span the same columns. A
// head moving at the bottom and the status text at the top leave the rows between them alone.
int ChangedBands(const Rect& bounds, Rect* bands) {
    int count = 0;
    const int32_t firstColumn = bounds.left / changeTileSize, endColumn = (bounds.right - 1) / changeTileSize + 1;
    for (int32_t row = bounds.top / changeTileSize; row <= (bounds.bottom - 1) / changeTileSize; ++row) {
        int32_t first = -1, last = -1;
        for (int32_t column = firstColumn; column < endColumn; ++column) {
            if (MemoryTileChanged(column, row)) {
                first = first < 0 ? column : first;
                last = column;
            }
        }
        if (first < 0) {
            continue;
        }
        const int32_t left = first * changeTileSize;
        const int32_t right = SDL_min((last + 1) * changeTileSize, pictureWidth);
        const int32_t top = row * changeTileSize;
        const int32_t bottom = SDL_min(top + changeTileSize, pictureHeight);
        Rect* above = count > 0 ? &bands[count - 1] : nullptr;
        if (above != nullptr && above->bottom == top && above->left == left && above->right == right) {
            above->bottom = bottom;
        } else {
            bands[count++] = Rect{left, top, right, bottom};
        }
    }
    return count;
}

// Scales the changed part of the picture onto the window's surface and shows what was written.
void ShowPicture(SDL_Window* window, uint64_t now) {
    SDL_Surface* screen = SDL_GetWindowSurface(window);
    if (screen == nullptr || MemoryPicture() == nullptr) {
        return;
    }
    if ((!laidOut || screen->w != layout.screenWidth || screen->h != layout.screenHeight) && !LayOut(window, screen)) {
        return;
    }
    Rect bounds;
    if (!repaintOwed && !MemoryPictureChanged(&bounds)) {
        return;
    }
    if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) {
        return;
    }
    SDL_Surface* target = converted != nullptr ? converted : screen;
    uint32_t* pixels = static_cast<uint32_t*>(target->pixels);
    const int32_t pitch = target->pitch / 4;
    const ScreenOrder order = IsRgba(target->format->format) ? ScreenOrder::Rgba : ScreenOrder::Xrgb;
    Rect bands[largestRectCount];
    SDL_Rect shown[largestRectCount];
    int count = 0;
    if (repaintOwed) {
        FillBorders(layout, pixels, pitch, order);
        ScalePicture(MemoryPicture(), Rect{0, 0, pictureWidth, pictureHeight}, layout, pixels, pitch, order, &bounds);
        shown[count++] = SDL_Rect{0, 0, screen->w, screen->h};
    } else {
        const int bandCount = ChangedBands(bounds, bands);
        for (int i = 0; i < bandCount; ++i) {
            Rect written;
            ScalePicture(MemoryPicture(), bands[i], layout, pixels, pitch, order, &written);
            if (written.right > written.left && written.bottom > written.top) {
                shown[count++] =
                    SDL_Rect{written.left, written.top, written.right - written.left, written.bottom - written.top};
            }
        }
    }
    if (converted != nullptr) {
        for (int i = 0; i < count; ++i) {
            const SDL_Rect& r = shown[i];
            SDL_ConvertPixels(
                r.w, r.h, SDL_PIXELFORMAT_RGB888,
                static_cast<const uint8_t*>(converted->pixels) + r.y * converted->pitch + r.x * 4, converted->pitch,
                screen->format->format,
                static_cast<uint8_t*>(screen->pixels) + r.y * screen->pitch + r.x * screen->format->BytesPerPixel,
                screen->pitch);
        }
    }
    if (SDL_MUSTLOCK(screen)) {
        SDL_UnlockSurface(screen);
    }
    SDL_UpdateWindowSurfaceRects(window, shown, count);
    MemoryForgetChanges();
    repaintOwed = false;
    nextPresentNs = now + refreshNs;
}

}  // namespace

bool PicturePending(uint64_t* presentAtNs) {
    *presentAtNs = nextPresentNs > nextFrameNs ? nextPresentNs : nextFrameNs;
    Rect bounds;
    return ShownWindow() != nullptr && MemoryPicture() != nullptr &&
           (repaintOwed || frameOwed || MemoryPictureChanged(&bounds));
}

uint64_t RefreshIntervalNs() {
    return refreshNs != 0 ? refreshNs : 1000000000u / fallbackRefreshHz;
}

bool FrameAskedForLately() {
    return frameAskedFor;
}

void ForgetFrameAskedFor() {
    frameAskedFor = false;
}

void ShowPictureAgain() {
    repaintOwed = true;
}

void PresentPictureNow() {
    SDL_Window* window = ShownWindow();
    if (window != nullptr) {
        repaintOwed = true;
        ShowPicture(window, MonotonicNs());
    }
}

void ForgetPresent() {
    DropConverted();
    laidOut = false;
    repaintOwed = true;
    nextPresentNs = 0;
    nextFrameNs = 0;
    refreshNs = 0;
    frameOwed = false;
    frameAskedFor = false;
}

// A frame composed before the next present may come would only wait: it is declined, and the poll
// ends when it can be shown, for a frame that shows everything up to then. So is one within a
// refresh of the last frame: a step's turn that comes between would compose again what the last
// frame showed, and the step itself is shown by the frame that the poll wakes for.
bool PlatformFrameWanted() {
    frameAskedFor = true;
    const uint64_t now = MonotonicNs();
    if (ShownWindow() == nullptr || MemoryPicture() == nullptr || (now >= nextPresentNs && now >= nextFrameNs)) {
        frameOwed = false;  // the frame about to be drawn is the one owed
        nextFrameNs = now + RefreshIntervalNs();
        return true;
    }
    frameOwed = true;
    return false;
}

// The picture goes to the screen when it changed, and no sooner than one refresh after the last
// present; a change made meanwhile waits for the next frame after that moment, which the poll
// wakes for.
void PlatformPresent(Surface* primary) {
    SDL_Window* window = ShownWindow();
    if (primary == nullptr || window == nullptr || DisplayLost() || MonotonicNs() < nextPresentNs) {
        return;
    }
    ShowPicture(window, MonotonicNs());
}
