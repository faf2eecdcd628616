// The SDL layer's tests run it on SDL's dummy video driver, whose desktop is 1024 x 768: a window
// whose procedure does what the test says, on a scripted clock, torn down after every test.
#pragma once
#include <gtest/gtest.h>

#include "platform/sdl/sdl_platform.h"

// The scripted clock that every test runs on: it moves only when the poll waits, to the end of the
// wait or to the moment a scripted event arrives, whichever comes first. Nothing sleeps.
inline uint64_t now = 0;
inline uint64_t eventAt = UINT64_MAX;
inline SDL_Event scriptedEvent;

inline uint64_t ScriptedNow() {
    return now;
}

inline void ScriptedWait(uint64_t deadline, uint64_t) {
    if (eventAt <= deadline) {
        now = eventAt;
        eventAt = UINT64_MAX;
        SDL_PushEvent(&scriptedEvent);
        return;
    }
    now = deadline;
}

// What the window procedure does with a message in a test; nothing unless the test says.
inline WindowProcedure testProcedure = nullptr;

inline intptr_t TestMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return testProcedure != nullptr ? testProcedure(window, message, wParam, lParam) : 0;
}

class SdlLayer : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
        now = 10000000000u;
        eventAt = UINT64_MAX;
        platformClock = PlatformClock{ScriptedNow, ScriptedWait};
        window = PlatformCreateWindow(TestMessage);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        SDL_PumpEvents();  // only the test's own events in the queue
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        ShutdownPlatform();
        testProcedure = nullptr;
        platformClock = systemClock;
    }

    WindowHandle window = nullptr;
};
