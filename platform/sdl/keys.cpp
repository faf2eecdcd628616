// SDL's events as the window messages the game reads: its keys as Windows virtual keys, and the
// Shift state as it stood when the key being delivered went down.
#include "platform/sdl/sdl_platform.h"

namespace {

// Shift as it stood when the key being delivered was pressed: a quick Shift+letter is often
// released before its key-down is handled, and the letter must still come out upper case.
bool deliveringKey = false;
bool shiftOfKey = false;

// The Windows virtual-key code of a key the game reacts to, or 0 for any other key, which is not
// delivered: the game's keys are the letters, Backspace, Escape, Space and the arrows (Shift is
// read as a state, never as a key). A letter is the character the layout puts on the key, so on
// AZERTY the key in the place of Q types A and the one in the place of M types a comma, no letter.
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

}  // namespace

bool Translate(const SDL_Event& event, WindowHandle window, Message* message) {
    *message = Message{window, 0, 0, 0};
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

void DeliveringKey(bool delivering) {
    deliveringKey = delivering;
}

bool PlatformShiftHeld() {
    if (deliveringKey) {
        return shiftOfKey;
    }
    return (SDL_GetModState() & KMOD_SHIFT) != 0;
}
