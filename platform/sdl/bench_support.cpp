// SDL and X help for the benchmarks: holding Shift without a keyboard, naming the driver and the
// window surface, sizing the screen, presenting on demand and counting the presents, and pressing
// keys from a second connection.
#include "platform/sdl/bench_support.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

#include "platform/sdl/sdl_platform.h"

bool BenchSetShiftHeld(bool held) {
    // SDL keeps the modifier state itself; with no keyboard events nothing overwrites what is set here.
    SDL_Keymod others = static_cast<SDL_Keymod>(SDL_GetModState() & ~KMOD_SHIFT);
    SDL_SetModState(static_cast<SDL_Keymod>(others | (held ? KMOD_LSHIFT : KMOD_NONE)));
    return PlatformShiftHeld() == held;
}

const char* BenchVideoDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr ? driver : "none";
}

const char* BenchRendererName() {
    SDL_Window* window = ShownWindow();
    SDL_Surface* screen = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    return screen != nullptr ? SDL_GetPixelFormatName(screen->format->format) : "none";
}

void BenchScreenSize(int* width, int* height) {
    *width = *height = 0;
    SDL_Window* window = ShownWindow();
    SDL_Surface* screen = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (screen != nullptr) {
        *width = screen->w;
        *height = screen->h;
    }
}

bool BenchUseScreen(int width, int height) {
    SDL_Window* window = ShownWindow();
    if (window == nullptr) {
        return false;
    }
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, width, height);
    SDL_PumpEvents();
    int shownWidth = 0, shownHeight = 0;
    BenchScreenSize(&shownWidth, &shownHeight);
    return shownWidth == width && shownHeight == height;
}

bool BenchUseUnscaledScreen() {
    return BenchUseScreen(800, 600);
}

void BenchPresentNow() {
    PresentPictureNow();
}

namespace {

std::atomic<bool> presserRunning{false};
std::atomic<uint64_t> keysSent{0};
std::atomic<uint64_t> lastKeyNs{0};
std::thread presser;

void PressKeys(unsigned long window, int minGapMs, int maxGapMs) {
    Display* connection = XOpenDisplay(nullptr);
    if (connection == nullptr) {
        return;
    }
    std::mt19937 chance(12345);
    std::uniform_int_distribution<int> gap(minGapMs, maxGapMs);
    const KeyCode codes[2] = {XKeysymToKeycode(connection, XK_a), XKeysymToKeycode(connection, XK_BackSpace)};
    for (uint64_t n = 1; presserRunning.load(); ++n) {
        std::this_thread::sleep_for(std::chrono::milliseconds(gap(chance)));
        XKeyEvent key{};
        key.display = connection;
        key.window = window;
        key.root = DefaultRootWindow(connection);
        key.time = CurrentTime;
        key.same_screen = True;
        key.keycode = codes[n % 2];
        key.type = KeyPress;
        lastKeyNs.store(MonotonicNs());
        keysSent.store(n);
        XSendEvent(connection, window, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
        key.type = KeyRelease;
        XSendEvent(connection, window, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&key));
        XFlush(connection);
    }
    XCloseDisplay(connection);
}

}  // namespace

// Every present ends in this call with the rectangles written; the benchmarks' build routes it here.
static uint64_t presents = 0;
static uint64_t lastPresentNs = 0;

extern "C" int __real_SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count);

extern "C" int __wrap_SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
    const int result = __real_SDL_UpdateWindowSurfaceRects(window, rects, count);
    ++presents;
    lastPresentNs = MonotonicNs();
    return result;
}

uint64_t BenchPresentCount() {
    return presents;
}

uint64_t BenchLastPresentNs() {
    return lastPresentNs;
}

uint64_t BenchNowNs() {
    return MonotonicNs();
}

double BenchProcessCpuSeconds(long pid) {
    if (pid <= 0) {
        return -1.0;
    }
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
    FILE* file = std::fopen(path, "r");
    if (file == nullptr) {
        return -1.0;
    }
    char text[1024];
    const size_t length = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    text[length] = '\0';
    // After the command's closing parenthesis: the state is field 3, utime and stime fields 14 and 15.
    const char* close = std::strrchr(text, ')');
    unsigned long long utime = 0, stime = 0;
    if (close == nullptr ||
        std::sscanf(close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2) {
        return -1.0;
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

uint64_t BenchRefreshNs() {
    return RefreshIntervalNs();
}

bool BenchStartKeyPresser(int minGapMs, int maxGapMs) {
    SDL_Window* window = DisplayWindow();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11 ||
        presserRunning.load()) {
        return false;
    }
    presserRunning.store(true);
    presser = std::thread(PressKeys, static_cast<unsigned long>(info.info.x11.window), minGapMs, maxGapMs);
    return true;
}

void BenchStopKeyPresser() {
    if (presserRunning.exchange(false) && presser.joinable()) {
        presser.join();
    }
}

uint64_t BenchLastKeySent(uint64_t* sentNs) {
    const uint64_t n = keysSent.load();
    *sentNs = lastKeyNs.load();
    return n;
}
