// The window's messages and the key rules: steering, starting, name entry and quitting.
#include <cstring>

#include "app/app.h"
#include "display/display.h"
#include "game/game.h"
#include "scores/scores.h"

intptr_t MainWndProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_DESTROY:
        SaveScores();
        PlatformShowArrowPointer();
        PlatformPostQuit(0);
        break;
    case WM_ACTIVATEAPP:
        appActive = static_cast<int32_t>(wParam);
        break;
    case WM_SETCURSOR:
        // Answered here so that default handling never puts a pointer back over the game.
        return 1;
    case WM_KEYDOWN:
        HandleKeyDown(wParam, window);
        break;
    default:
        break;
    }
    return PlatformDefaultHandling(window, message, wParam, lParam);
}

static void AppendLetter(uintptr_t key) {
    size_t length = std::strlen(playerName);
    if (length >= static_cast<size_t>(typedNameLimit)) {
        return;
    }
    // Shift alone decides the case; Caps Lock plays no part.
    char letter = static_cast<char>(key);
    if (!PlatformShiftHeld()) {
        letter = static_cast<char>(letter - 'A' + 'a');
    }
    playerName[length] = letter;
    playerName[length + 1] = '\0';
}

// Arrows are refused only when they name the opposite of direction, the variable, not the heading
// of the last step: two quick presses between steps can still turn the snake back on itself.
static void Steer(Direction wanted, Direction opposite) {
    if (direction != opposite) {
        direction = wanted;
    }
}

void HandleKeyDown(uintptr_t key, WindowHandle window) {
    switch (key) {
    case VK_BACK:
        if (gameRunning == 0) {
            playerName[0] = '\0';
            ReloadBackground();  // a fresh background under the emptied name, whatever the old one left
        }
        break;
    case VK_ESCAPE:
        PlatformShowArrowPointer();
        ReleaseDisplay();
        SaveScores();
        PlatformPostCloseRequest(window);
        break;
    case VK_SPACE:
        if (gameRunning == 0) {
            NewGame();
        }
        break;
    case VK_LEFT:
        Steer(Left, Right);
        break;
    case VK_UP:
        Steer(Up, Down);
        break;
    case VK_RIGHT:
        Steer(Right, Left);
        break;
    case VK_DOWN:
        Steer(Down, Up);
        break;
    default:
        if (key >= 'A' && key <= 'Z' && gameRunning == 0) {
            AppendLetter(key);
        }
        break;
    }
}
