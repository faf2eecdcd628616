// The SDL layer's window messages: order of the queue, keys as Windows virtual keys, activation,
// closing, and the Shift state seen while a key is handled.
#include <csignal>

#include "platform/sdl/tests/sdl_test_support.h"

namespace {

using SdlMessages = SdlLayer;

// SDL ends each poll cycle at a marker it queues when pumping, so an event pushed after that
// marker comes out of the next poll: ask twice before concluding there is nothing.
bool Peek(Message* message) {
    return PlatformPeekMessage(message) || PlatformPeekMessage(message);
}

Message Take() {
    Message message{};
    EXPECT_TRUE(Peek(&message)) << "a message was expected";
    return message;
}

void ExpectNoMessage() {
    Message message{};
    EXPECT_FALSE(Peek(&message)) << "unexpected message " << message.message;
}

TEST_F(SdlMessages, ShowingTheWindowMakesTheProgramActiveWithoutAWindowManager) {
    PlatformShowWindow(window, 1);
    const Message first = Take();
    EXPECT_EQ(first.message, static_cast<uint32_t>(WM_ACTIVATEAPP));
    EXPECT_EQ(first.wParam, 1u);
    EXPECT_EQ(first.window, window);
}

TEST_F(SdlMessages, PostedMessagesComeFirstAndInTheirOrder) {
    PushKey(SDLK_a);
    PlatformPostCloseRequest(window);
    PlatformPostQuit(3);

    const Message close = Take();
    EXPECT_EQ(close.message, static_cast<uint32_t>(WM_CLOSE));
    EXPECT_EQ(close.window, window);
    const Message quit = Take();
    EXPECT_EQ(quit.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_EQ(quit.wParam, 3u);
    const Message key = Take();
    EXPECT_EQ(key.message, static_cast<uint32_t>(WM_KEYDOWN));
    EXPECT_EQ(key.wParam, 65u);
    ExpectNoMessage();
}

TEST_F(SdlMessages, GameKeysArriveWithTheirWindowsCodes) {
    const struct {
        SDL_Keycode key;
        uintptr_t code;
    } keys[] = {
        {SDLK_BACKSPACE, 8}, {SDLK_ESCAPE, 27}, {SDLK_SPACE, 32}, {SDLK_LEFT, 37}, {SDLK_UP, 38},
        {SDLK_RIGHT, 39},    {SDLK_DOWN, 40},   {SDLK_a, 65},     {SDLK_m, 77},    {SDLK_z, 90},
    };
    for (const auto& entry : keys) {
        PushKey(entry.key);
        const Message message = Take();
        EXPECT_EQ(message.message, static_cast<uint32_t>(WM_KEYDOWN)) << SDL_GetKeyName(entry.key);
        EXPECT_EQ(message.wParam, entry.code) << SDL_GetKeyName(entry.key);
    }
    ExpectNoMessage();
}

TEST_F(SdlMessages, AutoRepeatedPressesArriveLikeFreshOnes) {
    PushKey(SDLK_b);
    PushKey(SDLK_b, KMOD_NONE, 1);
    PushKey(SDLK_b, KMOD_NONE, 1);
    for (int i = 0; i < 3; ++i) {
        const Message message = Take();
        EXPECT_EQ(message.message, static_cast<uint32_t>(WM_KEYDOWN));
        EXPECT_EQ(message.wParam, 66u);
    }
    ExpectNoMessage();
}

TEST_F(SdlMessages, ReleasesPointerAndUnknownKeysAreNotDelivered) {
    SDL_Event event{};
    event.type = SDL_KEYUP;
    event.key.keysym.sym = SDLK_a;
    SDL_PushEvent(&event);
    event = SDL_Event{};
    event.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&event);
    PushKey(SDLK_VOLUMEUP);
    ExpectNoMessage();
}

TEST_F(SdlMessages, AltTurnsKeysIntoSystemKeysAndAltF4Closes) {
    PushKey(SDLK_a, KMOD_LALT);
    PushKey(SDLK_SPACE, KMOD_RALT);
    PushKey(SDLK_F4, KMOD_LALT);
    const Message message = Take();
    EXPECT_EQ(message.message, static_cast<uint32_t>(WM_CLOSE));
    ExpectNoMessage();
}

TEST_F(SdlMessages, FocusChangesAreActivationChanges) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&event);
    event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    SDL_PushEvent(&event);

    const Message lost = Take();
    EXPECT_EQ(lost.message, static_cast<uint32_t>(WM_ACTIVATEAPP));
    EXPECT_EQ(lost.wParam, 0u);
    const Message gained = Take();
    EXPECT_EQ(gained.message, static_cast<uint32_t>(WM_ACTIVATEAPP));
    EXPECT_EQ(gained.wParam, 1u);
}

TEST_F(SdlMessages, TheSystemsCloseRequestsBecomeCloseMessages) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&event);
    event = SDL_Event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    EXPECT_EQ(Take().message, static_cast<uint32_t>(WM_CLOSE));
    EXPECT_EQ(Take().message, static_cast<uint32_t>(WM_CLOSE));
}

// Once the window is shown, a hang-up or a termination request is a close request of the window.
TEST_F(SdlMessages, HangUpAndTerminationBecomeOneCloseMessageEach) {
    PlatformShowWindow(window, 1);
    EXPECT_EQ(Take().message, static_cast<uint32_t>(WM_ACTIVATEAPP));
    for (int number : {SIGHUP, SIGTERM}) {
        raise(number);
        const Message close = Take();
        EXPECT_EQ(close.message, static_cast<uint32_t>(WM_CLOSE)) << number;
        EXPECT_EQ(close.window, window) << number;
        ExpectNoMessage();
    }
}

TEST_F(SdlMessages, DefaultHandlingOfCloseDestroysTheWindowOnce) {
    EXPECT_EQ(PlatformDefaultHandling(window, WM_KEYDOWN, 65, 0), 0);
    EXPECT_EQ(recordedCount, 0);
    EXPECT_NE(SdlWindowOf(window), nullptr);

    PlatformDefaultHandling(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(recordedCount, 1);
    EXPECT_EQ(recorded[0].message, static_cast<uint32_t>(WM_DESTROY));
    EXPECT_EQ(SdlWindowOf(window), nullptr);

    // A second close request, as when both the window and the system asked, finds nothing to destroy.
    PlatformDefaultHandling(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(recordedCount, 1);
    EXPECT_FALSE(PlatformCreateTimer(window));
}

TEST_F(SdlMessages, DispatchDeliversToTheWindowProcedure) {
    PushKey(SDLK_UP);
    const Message message = Take();
    PlatformDispatchMessage(&message);
    ASSERT_EQ(recordedCount, 1);
    EXPECT_EQ(recorded[0].message, static_cast<uint32_t>(WM_KEYDOWN));
    EXPECT_EQ(recorded[0].wParam, static_cast<uintptr_t>(VK_UP));
}

TEST_F(SdlMessages, ShiftIsTakenFromThePressWhileItsKeyIsHandled) {
    // Shift was already let go when the press is handled: the letter still counts as shifted.
    PushKey(SDLK_t, KMOD_LSHIFT);
    PushKey(SDLK_t);
    Message message = Take();
    PlatformDispatchMessage(&message);
    message = Take();
    PlatformDispatchMessage(&message);
    ASSERT_EQ(recordedCount, 2);
    EXPECT_TRUE(recorded[0].shiftHeld);
    EXPECT_FALSE(recorded[1].shiftHeld);
    // Outside key handling the keyboard's present state counts, for the rush of the snake.
    EXPECT_FALSE(PlatformShiftHeld());
}

TEST_F(SdlMessages, TheTimerNeedsAWindow) {
    EXPECT_FALSE(PlatformCreateTimer(nullptr));
    EXPECT_TRUE(PlatformCreateTimer(window));
}

TEST_F(SdlMessages, OnlyOneWindowIsMade) {
    EXPECT_EQ(PlatformCreateWindow(RecordMessage), nullptr);
}

}  // namespace
