// The window, its message queue, the 1000 ms timer, the keyboard, the pointer, the clock and the
// program's boxes and debugger lines, on SDL2.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/sdl/sdl_platform.h"

extern const unsigned char vornixIconData[];
extern const size_t vornixIconDataSize;

namespace {

PlatformWindow theWindow;  // the program has one window
bool windowCreated = false;

// Messages posted by the program itself; they are taken before any SDL event, as on Windows.
constexpr int postedCapacity = 16;
Message posted[postedCapacity];
int postedFirst = 0;
int postedCount = 0;

// Shift as it stood when the key being delivered was pressed: a quick Shift+letter is often
// released before its key-down is handled, and the letter must still come out upper case.
bool deliveringKey = false;
bool shiftOfKey = false;

bool timerActive = false;
uint32_t timerLastTick = 0;
constexpr uint32_t timerPeriodMs = 1000;
constexpr uintptr_t timerId = 1;

void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (postedCount == postedCapacity) {
        return;  // a full queue drops the message, as PostMessage fails on a full Windows queue
    }
    posted[(postedFirst + postedCount) % postedCapacity] = Message{window, message, wParam, lParam};
    ++postedCount;
}

// The Windows virtual-key code of a key, or 0 for a key the program has no use for and that is not delivered.
uintptr_t VirtualKeyOf(const SDL_Keysym& key) {
    const SDL_Keycode code = key.sym;
    if (code >= SDLK_a && code <= SDLK_z) {
        return 'A' + (code - SDLK_a);
    }
    if (code >= SDLK_0 && code <= SDLK_9) {
        return '0' + (code - SDLK_0);
    }
    // On layouts without Latin letters the letter keys still type A to Z, as Windows maps them.
    if (code > 127 && key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z) {
        return 'A' + (key.scancode - SDL_SCANCODE_A);
    }
    if (code >= SDLK_F1 && code <= SDLK_F12) {
        return 112 + (code - SDLK_F1);
    }
    switch (code) {
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return 9;
        case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL: case SDLK_RCTRL: return 17;
        case SDLK_PAUSE: return 19;
        case SDLK_CAPSLOCK: return 20;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_END: return 35;
        case SDLK_HOME: return 36;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_INSERT: return 45;
        case SDLK_DELETE: return 46;
        default: return 0;
    }
}

// Turns one SDL event into the window message it stands for; false for events the program ignores.
bool Translate(const SDL_Event& event, Message* message) {
    *message = Message{&theWindow, 0, 0, 0};
    switch (event.type) {
        case SDL_QUIT:
            message->message = WM_CLOSE;
            return true;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    message->message = WM_CLOSE;
                    return true;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    message->message = WM_ACTIVATEAPP;
                    message->wParam = 1;
                    return true;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    message->message = WM_ACTIVATEAPP;
                    message->wParam = 0;
                    return true;
                default:
                    return false;
            }
        case SDL_KEYDOWN: {
            // With Alt held Windows makes system keys of the presses: they never reach the game's
            // key handling, and Alt+F4 is the system's close command.
            if ((event.key.keysym.mod & KMOD_ALT) != 0) {
                if (event.key.keysym.sym == SDLK_F4) {
                    message->message = WM_CLOSE;
                    return true;
                }
                return false;
            }
            const uintptr_t key = VirtualKeyOf(event.key.keysym);
            if (key == 0) {
                return false;
            }
            // Auto-repeated presses come through like fresh ones; the repeat count rides in lParam.
            message->message = WM_KEYDOWN;
            message->wParam = key;
            shiftOfKey = (event.key.keysym.mod & KMOD_SHIFT) != 0;
            message->lParam = event.key.repeat != 0 ? (intptr_t{1} << 30) | 1 : 1;
            return true;
        }
        default:
            return false;
    }
}

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

SDL_Window* SdlWindowOf(WindowHandle window) {
    return window != nullptr ? window->window : nullptr;
}

SDL_Window* DisplayWindow() {
    return theWindow.window;
}

WindowHandle PlatformCreateWindow() {
    if (windowCreated) {
        return nullptr;  // the class and its single window exist once per run
    }
    // The surfaces are plain memory that SDL copies to the window; no renderer stands in between.
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
    SDL_Window* window = SDL_CreateWindow("Vornix", 0, 0, 320, 200, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    if (window == nullptr) {
        std::fprintf(stderr, "SDL_CreateWindow failed: %s\n", SDL_GetError());
        return nullptr;
    }
    SetIcon(window);
    SDL_StopTextInput();  // keys are read as keys; no text composition is wanted
    theWindow.window = window;
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

bool PlatformCreateTimer(WindowHandle window) {
    if (SdlWindowOf(window) == nullptr) {
        return false;
    }
    timerActive = true;
    timerLastTick = PlatformClockMs();
    return true;
}

bool PlatformPeekMessage(Message* message) {
    if (postedCount > 0) {
        *message = posted[postedFirst];
        postedFirst = (postedFirst + 1) % postedCapacity;
        --postedCount;
        return true;
    }
    if (TakeEndRequest(message)) {
        return true;
    }
    if (timerActive && theWindow.window != nullptr) {
        const uint32_t now = PlatformClockMs();
        if (now - timerLastTick >= timerPeriodMs) {
            // Like Windows, a late timer yields one message, not one for every period missed.
            timerLastTick = now;
            *message = Message{&theWindow, WM_TIMER, timerId, 0};
            return true;
        }
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (Translate(event, message)) {
            return true;
        }
    }
    return false;
}

void PlatformDispatchMessage(const Message* message) {
    deliveringKey = message->message == WM_KEYDOWN;
    MainWndProc(message->window, message->message, message->wParam, message->lParam);
    deliveringKey = false;
}

intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE && window != nullptr && window->window != nullptr) {
        MainWndProc(window, WM_DESTROY, 0, 0);
        SDL_DestroyWindow(window->window);
        window->window = nullptr;
        timerActive = false;  // a window's timers die with it
    }
    return 0;
}

void PlatformPostCloseRequest(WindowHandle window) {
    Post(window, WM_CLOSE, 0, 0);
}

void PlatformPostQuit(int exitCode) {
    Post(nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0);
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

bool PlatformShiftHeld() {
    if (deliveringKey) {
        return shiftOfKey;
    }
    return (SDL_GetModState() & KMOD_SHIFT) != 0;
}

// Milliseconds since the system started, like the Windows clock, rather than SDL's count from its
// own start: the random generator is seeded from this reading, and a count that is always a few
// hundred milliseconds at start-up would place the first item in the same column in every run.
uint32_t PlatformClockMs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);  // the low 32 bits: it wraps like the Windows clock
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
    ShutdownText();
    ReleaseBitmapsAndContexts();
    ReleaseDisplayObjects();
    if (theWindow.window != nullptr) {
        SDL_DestroyWindow(theWindow.window);
        theWindow.window = nullptr;
    }
    windowCreated = false;
    postedFirst = 0;
    postedCount = 0;
    timerActive = false;
    deliveringKey = false;
    SDL_Quit();
}
