// The window, its message queue and the poll that waits for work, the timer, the keyboard,
// the pointer, the clock and the program's boxes and debugger lines, on SDL2.
#include <SDL_syswm.h>
#include <poll.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/sdl/sdl_platform.h"

extern const unsigned char vornixIconData[];
extern const size_t vornixIconDataSize;

namespace {

PlatformWindow theWindow;                   // the program has one window
WindowProcedure windowProcedure = nullptr;  // the program's, handed over with the window's creation
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

// The poll's waiting. A turn that handled a message is followed by an idle turn at once, so that
// what the message changed is drawn; after an idle turn the poll sleeps until the idle work next
// has something to do, or a message arrives.
bool idleOwed = true;
uint64_t lastIdleNs = 0;    // when the poll last handed the loop an idle turn
bool workDueKnown = false;  // the shell said when the next step falls due
uint32_t workDueAt = 0;     // that clock reading
bool stepToShow = false;    // the last idle turn took a step that no frame shows yet
int xConnection = -1;       // the X server's socket, where the events come from; -1 elsewhere

void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (postedCount == postedCapacity) {
        return;  // a full queue drops the message, as PostMessage fails on a full Windows queue
    }
    posted[(postedFirst + postedCount) % postedCapacity] = Message{window, message, wParam, lParam};
    ++postedCount;
}

// The Windows virtual-key code of a key the game reacts to, or 0 for any other key, which is not
// delivered: the game's keys are the letters, Backspace, Escape, Space and the arrows (Shift is
// read as a state, never as a key).
uintptr_t VirtualKeyOf(const SDL_Keysym& key) {
    const SDL_Keycode code = key.sym;
    if (code >= SDLK_a && code <= SDLK_z) {
        return 'A' + (code - SDLK_a);
    }
    // On layouts without Latin letters the letter keys still type A to Z, as Windows maps them.
    if (code > 127 && key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z) {
        return 'A' + (key.scancode - SDL_SCANCODE_A);
    }
    switch (code) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    default:
        return 0;
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

intptr_t SendToWindow(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return windowProcedure != nullptr ? windowProcedure(window, message, wParam, lParam) : 0;
}

SDL_Window* SdlWindowOf(WindowHandle window) {
    return window != nullptr ? window->window : nullptr;
}

SDL_Window* DisplayWindow() {
    return theWindow.window;
}

WindowHandle PlatformCreateWindow(WindowProcedure procedure) {
    if (windowCreated) {
        return nullptr;  // the class and its single window exist once per run
    }
    // Where the display falls back on SDL's software renderer, it draws straight into the window's
    // memory, with no second renderer behind the window.
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

namespace {

// A posted message, or one that an SDL event stands for; false when there is none.
bool TakeMessage(Message* message) {
    if (postedCount > 0) {
        *message = posted[postedFirst];
        postedFirst = (postedFirst + 1) % postedCapacity;
        --postedCount;
        return true;
    }
    if (TakeEndRequest(message)) {
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        // What the window showed may be gone: the picture is presented again with the next frame.
        if ((event.type == SDL_WINDOWEVENT &&
             (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) ||
            event.type == SDL_RENDER_TARGETS_RESET) {
            ShowPictureAgain();
        }
        if (Translate(event, message)) {
            return true;
        }
    }
    return false;
}

// The monotonic time at which the clock first reads the given value: the start of that millisecond.
uint64_t TimeOfReading(uint32_t reading, uint64_t now) {
    const uint64_t nowMs = now / 1000000u;
    const int32_t ahead = static_cast<int32_t>(reading - static_cast<uint32_t>(nowMs));
    return ahead <= 0 ? now : (nowMs + static_cast<uint64_t>(ahead)) * 1000000u;
}

// How much earlier than a step's millisecond the poll wakes, to be on time despite a late wake-up:
// a hundredth of the time between steps, so that waiting out the margin awake costs about 1 % of a
// core at every pace, within 0.15 ms and 2 ms. A sleeper is now and then woken a few milliseconds
// late on a busy machine; the slow paces can afford to cover much of that.
constexpr uint64_t shortestWakeMarginNs = 150000;
constexpr uint64_t longestWakeMarginNs = 2000000;
uint64_t stepWakeMarginNs = shortestWakeMarginNs;

// Gives the processor up until the deadline or until an event arrives, whichever comes first.
// Called right after TakeMessage found nothing: its SDL_PollEvent pumped the X connection and
// emptied both Xlib's queue and SDL's, and nothing has touched the connection since.
void SleepUntil(uint64_t deadline) {
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
        return;
    }
    const uint64_t now = MonotonicNs();
    if (deadline <= now) {
        return;
    }
    if (xConnection >= 0) {
        // Xlib's own queue was emptied by that pump, so whatever comes next arrives on the socket.
        const uint64_t wait = deadline - now;
        const timespec timeout{static_cast<time_t>(wait / 1000000000u), static_cast<long>(wait % 1000000000u)};
        pollfd connection{xConnection, POLLIN, 0};
        ppoll(&connection, 1, &timeout, nullptr);
        return;
    }
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "dummy") == 0) {
        // No events come from anywhere but the program itself.
        const timespec until{static_cast<time_t>(deadline / 1000000000u), static_cast<long>(deadline % 1000000000u)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        return;
    }
    // Other video drivers: SDL's own wait, in whole milliseconds and never past the deadline; the
    // rest of a millisecond is waited out by the turns that follow.
    const int ms = static_cast<int>((deadline - now) / 1000000u);
    if (ms > 0) {
        SDL_WaitEventTimeout(nullptr, ms);
    }
}

// Sleeps until the idle work next has something to do: the step that the shell said is due; a
// frame to show a step just taken or a picture that had to wait, as soon as it can be presented;
// a second at most, so that an ending asked for by a signal is taken even where the wait does not
// end with it; and, while a game runs, one refresh after the last idle turn at the latest, so that
// what changes with time alone (an item that shows or goes) is drawn. Between games the picture
// changes only with a message, and the poll waits for one.
void WaitForWork() {
    const uint64_t now = MonotonicNs();
    uint64_t deadline = now + 1000000000u;
    uint64_t stepAt = UINT64_MAX;
    if (workDueKnown) {
        stepAt = TimeOfReading(workDueAt, now);
        const uint64_t refresh = lastIdleNs + RefreshIntervalNs();
        deadline = stepAt < deadline ? stepAt : deadline;
        deadline = refresh < deadline ? refresh : deadline;
    }
    uint64_t presentAt = 0;
    // A picture waiting for its present counts only while the idle turns draw frames: an inactive
    // program draws none, and would otherwise be woken for it over and over.
    const bool pending = PicturePending(&presentAt) && FrameAskedForLately();
    if (stepToShow || pending) {
        // A frame that shows a change is drawn when it can be presented, not before.
        const uint64_t show = presentAt > now ? presentAt : now;
        deadline = show < deadline ? show : deadline;
    }
    if (deadline <= now) {
        return;
    }
    if (deadline != stepAt || deadline - now <= stepWakeMarginNs) {
        SleepUntil(deadline);
        return;
    }
    // A step must come in the first millisecond after its delay, and a sleeper is woken late now
    // and then: wake a little early and wait out the rest awake.
    SleepUntil(deadline - stepWakeMarginNs);
    while (MonotonicNs() < deadline) {
        // an event that came meanwhile is taken right after, at most the margin late
    }
}

}  // namespace

bool PlatformPeekMessage(Message* message) {
    if (TakeMessage(message)) {
        idleOwed = true;
        return true;
    }
    if (!idleOwed && theWindow.window != nullptr) {
        WaitForWork();
        if (TakeMessage(message)) {
            idleOwed = true;
            return true;
        }
    }
    idleOwed = false;
    workDueKnown = false;  // the idle turn that follows says it anew
    stepToShow = false;
    ForgetFrameAskedFor();
    lastIdleNs = MonotonicNs();
    return false;
}

void PlatformIdleWorkDueAt(uint32_t nextStepAt, bool stepTaken) {
    workDueKnown = true;
    workDueAt = nextStepAt;
    stepToShow = stepTaken;
    if (stepTaken) {
        const int32_t untilNext = static_cast<int32_t>(nextStepAt - PlatformClockMs());
        const uint64_t margin = untilNext > 0 ? static_cast<uint64_t>(untilNext) * 10000u : 0;  // 1 % of it
        stepWakeMarginNs = margin < shortestWakeMarginNs  ? shortestWakeMarginNs
                           : margin > longestWakeMarginNs ? longestWakeMarginNs
                                                          : margin;
    }
}

void PlatformDispatchMessage(const Message* message) {
    deliveringKey = message->message == WM_KEYDOWN;
    SendToWindow(message->window, message->message, message->wParam, message->lParam);
    deliveringKey = false;
}

intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE && window != nullptr && window->window != nullptr) {
        SendToWindow(window, WM_DESTROY, 0, 0);
        SDL_DestroyWindow(window->window);
        window->window = nullptr;
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
    return static_cast<uint32_t>(MonotonicNs() / 1000000u);  // the low 32 bits: it wraps like the Windows clock
}

uint64_t MonotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
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
    deliveringKey = false;
    idleOwed = true;
    workDueKnown = false;
    stepWakeMarginNs = shortestWakeMarginNs;
    xConnection = -1;
    SDL_Quit();
}
