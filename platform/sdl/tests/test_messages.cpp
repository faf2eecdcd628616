// SDL's events as the Windows messages the game reads: its keys as virtual keys (the letter a layout
// puts on a key, and Shift as it stood when the key went down), Alt+F4 and the window's close as a
// close, focus as activation, and nothing for anything else.
#include <csignal>

#include "platform/sdl/tests/sdl_test_support.h"

namespace {

// A key going down; at the place of a US layout's key when given, for what another layout puts there.
SDL_Event Key(SDL_Keycode key, Uint16 modifiers = KMOD_NONE, Uint8 repeat = 0,
              SDL_Scancode place = SDL_SCANCODE_UNKNOWN) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat;
    event.key.keysym =
        SDL_Keysym{place != SDL_SCANCODE_UNKNOWN ? place : SDL_GetScancodeFromKey(key), key, modifiers, 0};
    return event;
}

SDL_Event WindowEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    return event;
}

TEST_F(SdlLayer, EventsArriveAsTheMessagesTheGameReadsOrNotAtAll) {
    struct {
        SDL_Event event;
        uint32_t message;  // 0: nothing is delivered
        uintptr_t wParam;
    } cases[] = {
        {Key(SDLK_BACKSPACE), WM_KEYDOWN, 8},
        {Key(SDLK_ESCAPE), WM_KEYDOWN, 27},
        {Key(SDLK_SPACE), WM_KEYDOWN, 32},
        {Key(SDLK_LEFT), WM_KEYDOWN, 37},
        {Key(SDLK_UP), WM_KEYDOWN, 38},
        {Key(SDLK_RIGHT), WM_KEYDOWN, 39},
        {Key(SDLK_DOWN), WM_KEYDOWN, 40},
        {Key(SDLK_a), WM_KEYDOWN, 'A'},
        {Key(SDLK_z, KMOD_LSHIFT), WM_KEYDOWN, 'Z'},
        {Key(SDLK_m, KMOD_NONE, 1), WM_KEYDOWN, 'M'},  // auto-repeated
        {Key(SDLK_a, KMOD_LALT), 0, 0},
        {Key(SDLK_F4, KMOD_LALT), WM_CLOSE, 0},
        {Key(SDLK_VOLUMEUP), 0, 0},
        {Key(SDLK_a, KMOD_NONE, 0, SDL_SCANCODE_Q), WM_KEYDOWN, 'A'},  // AZERTY: A where Q stands
        {Key(SDLK_COMMA, KMOD_NONE, 0, SDL_SCANCODE_M), 0, 0},         // AZERTY: a comma where M stands
        {Key(SDLK_QUOTE, KMOD_NONE, 0, SDL_SCANCODE_Q), 0, 0},         // Dvorak: a quote where Q stands
        {Key(SDLK_o, KMOD_NONE, 0, SDL_SCANCODE_S), WM_KEYDOWN, 'O'},  // Dvorak: O where S stands
        {Key(0x430, KMOD_NONE, 0, SDL_SCANCODE_F), WM_KEYDOWN, 'F'},   // Russian: a Cyrillic letter where F stands
        {WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), WM_ACTIVATEAPP, 0},
        {WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), WM_ACTIVATEAPP, 1},
        {WindowEvent(SDL_WINDOWEVENT_CLOSE), WM_CLOSE, 0},
    };
    for (auto& c : cases) {
        SDL_PushEvent(&c.event);
        // An event pushed after the marker of SDL's poll cycle comes out of the next poll.
        Message message{};
        const bool delivered = PlatformPeekMessage(&message) || PlatformPeekMessage(&message);
        EXPECT_EQ(delivered ? message.message : 0, c.message) << "case " << &c - cases;
        EXPECT_EQ(delivered ? message.wParam : 0, c.wParam) << "case " << &c - cases;
    }
}

// Shift as it stood when the letter went down: a quick Shift+A gives a capital even when Shift is up
// before the game reads the key, and an A pressed alone stays small though Shift went down since.
TEST_F(SdlLayer, ShiftCountsAsItStoodWhenTheKeyWentDown) {
    static int shifted;
    testProcedure = [](WindowHandle, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
        shifted = message == WM_KEYDOWN ? (PlatformShiftHeld() ? 1 : 0) : shifted;
        return 0;
    };
    for (const bool shiftWhenDown : {true, false}) {
        SDL_Event press = Key(SDLK_a, shiftWhenDown ? KMOD_LSHIFT : KMOD_NONE);
        SDL_PushEvent(&press);
        SDL_SetModState(shiftWhenDown ? KMOD_NONE : KMOD_LSHIFT);  // and now the other way round
        Message message{};
        ASSERT_TRUE(PlatformPeekMessage(&message) || PlatformPeekMessage(&message));
        shifted = -1;
        PlatformDispatchMessage(&message);
        EXPECT_EQ(shifted, shiftWhenDown ? 1 : 0);
    }
    SDL_SetModState(KMOD_NONE);
}

// A hang-up, an interrupt or a termination request that whoever started the game left to it
// arrives as the window's close, which saves the scores on the way out.
TEST_F(SdlLayer, HangUpInterruptAndTerminationArriveAsTheWindowsClose) {
    for (int number : {SIGHUP, SIGINT, SIGTERM}) {
        std::signal(number, SIG_DFL);
        InstallEndings(window);
        std::raise(number);
        Message message{};
        ASSERT_TRUE(PlatformPeekMessage(&message)) << number;
        EXPECT_EQ(message.message, static_cast<uint32_t>(WM_CLOSE)) << number;
    }
}

}  // namespace
