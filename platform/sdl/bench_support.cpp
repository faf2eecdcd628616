// SDL help for the benchmarks: holding Shift without a keyboard, naming the driver, sizing the screen.
#include "platform/sdl/bench_support.h"

#include "platform/sdl/sdl_platform.h"

bool BenchSetShiftHeld(bool held) {
    // SDL keeps the modifier state itself; with no keyboard events under the dummy driver nothing
    // overwrites what is set here.
    SDL_Keymod others = static_cast<SDL_Keymod>(SDL_GetModState() & ~KMOD_SHIFT);
    SDL_SetModState(static_cast<SDL_Keymod>(others | (held ? KMOD_LSHIFT : KMOD_NONE)));
    return PlatformShiftHeld() == held;
}

const char* BenchVideoDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr ? driver : "none";
}

void BenchScreenSize(int* width, int* height) {
    SDL_Window* window = DisplayWindow();
    SDL_Surface* screen = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    *width = screen != nullptr ? screen->w : 0;
    *height = screen != nullptr ? screen->h : 0;
}

bool BenchUseUnscaledScreen() {
    SDL_Window* window = DisplayWindow();
    if (window == nullptr) {
        return false;
    }
    // The platform fetches the window's surface anew for every copy, so the resized one is used
    // from the next frame on.
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, 800, 600);
    int width = 0, height = 0;
    BenchScreenSize(&width, &height);
    return width == 800 && height == 600;
}
