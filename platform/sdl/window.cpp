// The window on SDL2: its creation with the icon, showing it, its default handling and closing,
// the timer, the pointer, and the program's boxes and debugger lines.
#include <SDL_syswm.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdl/sdl_platform.h"

extern const unsigned char vornixIconData[];
extern const size_t vornixIconDataSize;

namespace {

PlatformWindow theWindow;                   // the program has one window
WindowProcedure windowProcedure = nullptr;  // the program's, handed over with the window's creation
bool windowCreated = false;

int xConnection = -1;  // the X server's socket, where the events come from; -1 elsewhere

void SetIcon(SDL_Window* window) {
    if (vornixIconDataSize == 0) {
        return;  // built before the artwork existed: the window goes without an icon
    }
    SDL_RWops* stream = SDL_RWFromConstMem(vornixIconData, static_cast<int>(vornixIconDataSize));
    SDL_Surface* icon = stream != nullptr ? SDL_LoadBMP_RW(stream, 1) : nullptr;
    if (icon != nullptr) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

// Where no display can be reached, SDL falls back to a driver that draws into memory: the game would
// run unseen, burning a core and deaf to every key. Only drivers that put the window on a screen
// count, unless the driver was named on purpose (the tests run on the dummy one).
bool ReachedAScreen() {
    if (IsSet("SDL_VIDEODRIVER")) {
        return true;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
}

}  // namespace

intptr_t SendToWindow(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return windowProcedure != nullptr ? windowProcedure(window, message, wParam, lParam) : 0;
}

SDL_Window* SdlWindowOf(WindowHandle window) {
    return window != nullptr ? window->window : nullptr;
}

SDL_Window* DisplayWindow() {
    return theWindow.window;
}

WindowHandle TheWindow() {
    return &theWindow;
}

int XConnection() {
    return xConnection;
}

WindowHandle PlatformCreateWindow(WindowProcedure procedure) {
    if (windowCreated) {
        return nullptr;  // the class and its single window exist once per run
    }
    // The picture is scaled into the window's own memory (shared with the X server where it can
    // be), with no renderer behind the window that would copy it whole once more.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!IsSet("SDL_VIDEODRIVER") && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        std::fputs("vornix: no display (set DISPLAY or WAYLAND_DISPLAY)\n", stderr);
        return nullptr;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
        return nullptr;
    }
    if (!ReachedAScreen()) {
        const char* display = IsSet("DISPLAY") ? std::getenv("DISPLAY") : std::getenv("WAYLAND_DISPLAY");
        std::fprintf(stderr, "vornix: cannot reach the display %s (no X or Wayland server answers there)\n", display);
        SDL_Quit();
        return nullptr;
    }
    SDL_Window* window = SDL_CreateWindow("Vornix", 0, 0, 320, 200,
                                          SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr) {
        std::fprintf(stderr, "SDL_CreateWindow failed: %s\n", SDL_GetError());
        return nullptr;
    }
    SetIcon(window);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    xConnection = -1;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
        xConnection = ConnectionNumber(info.info.x11.display);
    }
#endif
    SDL_StopTextInput();  // keys are read as keys; no text composition is wanted
    theWindow.window = window;
    windowProcedure = procedure;
    windowCreated = true;
    return &theWindow;
}

void PlatformShowWindow(WindowHandle window, int showCommand) {
    SDL_Window* sdlWindow = SdlWindowOf(window);
    if (sdlWindow == nullptr) {
        return;
    }
    InstallEndings(window);
    if (showCommand == 0) {
        SDL_HideWindow(sdlWindow);
        return;
    }
    SDL_ShowWindow(sdlWindow);
    // Without a window manager (a bare X server) nobody hands the window the keyboard nor reports
    // an activation: take the focus, and say the program is active; later focus events still count.
    SDL_RaiseWindow(sdlWindow);
    SDL_SetWindowInputFocus(sdlWindow);
    Post(window, WM_ACTIVATEAPP, 1, 0);
}

// The timer's messages would go to default handling, where nothing reacts to them: none are made,
// and the timer is only the promise that the window exists.
bool PlatformCreateTimer(WindowHandle window) {
    return SdlWindowOf(window) != nullptr;
}

intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE && window != nullptr && window->window != nullptr) {
        SendToWindow(window, WM_DESTROY, 0, 0);
        SDL_DestroyWindow(window->window);
        window->window = nullptr;
    }
    return 0;
}

void PlatformHidePointer() {
    SDL_ShowCursor(SDL_DISABLE);
}

void PlatformShowArrowPointer() {
    if (DisplayLost()) {
        return;
    }
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_ShowCursor(SDL_ENABLE);
}

void PlatformMessageBox(WindowHandle owner, const char* text, const char* caption) {
    if (SDL_ShowSimpleMessageBox(0, caption, text, SdlWindowOf(owner)) != 0) {
        std::fprintf(stderr, "%s: %s\n", caption, text);
    }
}

void PlatformDebugOutput(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

void ShutdownPlatform() {
    ReleaseDisplayObjects();
    if (theWindow.window != nullptr) {
        SDL_DestroyWindow(theWindow.window);
        theWindow.window = nullptr;
    }
    windowCreated = false;
    ResetPoll();
    DeliveringKey(false);
    xConnection = -1;
    SDL_Quit();
}
