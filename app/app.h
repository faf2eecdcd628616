// The shell: start-up, the main loop, the window's messages and the keys.
#pragma once
#include <cstdint>

#include "platform/platform.h"

extern WindowHandle mainWindow;
extern int32_t appActive;      // 1 while the application is active: frames are drawn only then
extern uint32_t lastStepTime;  // clock reading taken just after the last snake step

// The window procedure: the window's messages and the keys.
intptr_t MainWndProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// The entry point: start-up, then the loop until WM_QUIT; returns the exit code (0).
// On Windows the C runtime calls it; elsewhere the platform's main does.
extern "C" int WinMain(void* instance, void* previousInstance, char* commandLine, int showCommand);

// Start-up in its fixed order, up to the main loop: the window, the program's seams, the tables and
// the score file, the window shown, the timer, the display, the seed, the score list, the pointer
// hidden. False when the window or the timer could not be made.
bool StartUp(int showCommand);
// InitGameTables, then LoadScores.
void InitGame();
// The work of a loop turn that found no message: a frame, and a step when one is due.
void IdleTurn();
// The key rules for one key-down.
void HandleKeyDown(uintptr_t key, WindowHandle window);
