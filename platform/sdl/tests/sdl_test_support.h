// Shared pieces of the SDL layer's tests: a recording window procedure, a fixture that brings the
// layer up on SDL's dummy video driver, and pixel helpers.
#pragma once
#include <gtest/gtest.h>

#include "platform/sdl/sdl_platform.h"

// What the recording window procedure saw; it answers WM_KEYDOWN by noting the Shift state.
struct RecordedMessage {
    uint32_t message;
    uintptr_t wParam;
    bool shiftHeld;
};
constexpr int recordCapacity = 64;
extern RecordedMessage recorded[recordCapacity];
extern int recordedCount;
// The window procedure of the tests: it writes down what it receives.
intptr_t RecordMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

Rgb PixelAt(SDL_Surface* surface, int x, int y);
void Fill(SDL_Surface* surface, const SDL_Rect* area, Rgb colour);

// The layer on the dummy video driver: a window, no display yet. Torn down after every test.
class SdlLayer : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Empties SDL's queue of what the window's creation left there, so a test sees only its own events.
    static void DropPendingEvents();
    static void PushKey(SDL_Keycode key, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0);

    WindowHandle window = nullptr;
};

// The layer with the display set up as the program does it: mode, primary and an 800 x 600 back surface.
class SdlDisplay : public SdlLayer {
protected:
    void SetUp() override;

    DisplayDevice* display = nullptr;
    Surface* primary = nullptr;
    Surface* back = nullptr;
};
