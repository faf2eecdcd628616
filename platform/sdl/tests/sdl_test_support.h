// The SDL layer's tests run it on SDL's dummy video driver, whose desktop is 1024 x 768: a window
// whose procedure does what the test says, torn down after every test.
#pragma once
#include <gtest/gtest.h>

#include "platform/sdl/sdl_platform.h"

// What the window procedure does with a message in a test; nothing unless the test says.
inline WindowProcedure testProcedure = nullptr;

inline intptr_t TestMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return testProcedure != nullptr ? testProcedure(window, message, wParam, lParam) : 0;
}

class SdlLayer : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        window = PlatformCreateWindow(TestMessage);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        SDL_PumpEvents();  // only the test's own events in the queue
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        ShutdownPlatform();
        testProcedure = nullptr;
    }

    WindowHandle window = nullptr;
};
