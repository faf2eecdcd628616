// The SDL layer's tests run it on SDL's dummy video driver, whose desktop is 1024 x 768: a window
// with a procedure that ignores what it receives, torn down after every test.
#pragma once
#include <gtest/gtest.h>

#include "platform/sdl/sdl_platform.h"

inline intptr_t IgnoreMessage(WindowHandle, uint32_t, uintptr_t, intptr_t) {
    return 0;
}

class SdlLayer : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        window = PlatformCreateWindow(IgnoreMessage);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        SDL_PumpEvents();  // only the test's own events in the queue
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { ShutdownPlatform(); }

    WindowHandle window = nullptr;
};
