// The recording window procedure and the fixtures of the SDL layer's tests.
#include "platform/sdl/tests/sdl_test_support.h"

#include <ostream>

RecordedMessage recorded[recordCapacity];
int recordedCount = 0;

intptr_t RecordMessage(WindowHandle, uint32_t message, uintptr_t wParam, intptr_t) {
    if (recordedCount < recordCapacity) {
        recorded[recordedCount++] = RecordedMessage{message, wParam, PlatformShiftHeld()};
    }
    return 0;
}

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << colour.r << ", " << colour.g << ", " << colour.b << ")";
}

Rgb PixelAt(SDL_Surface* surface, int x, int y) {
    const int bytes = surface->format->BytesPerPixel;
    const Uint8* at = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bytes;
    Uint32 value = 0;
    SDL_memcpy(&value, at, bytes);
    Uint8 r, g, b;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return Rgb{r, g, b};
}

void Fill(SDL_Surface* surface, const SDL_Rect* area, Rgb colour) {
    SDL_FillRect(surface, area, SDL_MapRGB(surface->format, colour.r, colour.g, colour.b));
}

void SdlLayer::SetUp() {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    recordedCount = 0;
    window = PlatformCreateWindow(RecordMessage);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    DropPendingEvents();
}

void SdlLayer::TearDown() {
    ShutdownPlatform();
}

void SdlLayer::DropPendingEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void SdlLayer::PushKey(SDL_Keycode key, Uint16 modifiers, Uint8 repeat) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    event.key.keysym.mod = modifiers;
    SDL_PushEvent(&event);
}

void SdlDisplay::SetUp() {
    SdlLayer::SetUp();
    ASSERT_EQ(PlatformCreateDisplay(&display), S_OK);
    ASSERT_EQ(PlatformSetCooperativeLevel(display, window), S_OK);
    for (uint32_t depth : {32u, 24u, 16u}) {
        if (PlatformSetDisplayMode(display, 800, 600, depth) == S_OK) {
            break;
        }
    }
    SurfaceDesc desc{124, DDSD_CAPS, 0, 0, DDSCAPS_PRIMARYSURFACE};
    ASSERT_EQ(PlatformCreateSurface(display, &desc, &primary), S_OK);
    desc = SurfaceDesc{124, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH, 600, 800, DDSCAPS_OFFSCREENPLAIN};
    ASSERT_EQ(PlatformCreateSurface(display, &desc, &back), S_OK);
}
