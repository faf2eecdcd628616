// What the benchmarks need of SDL and X beyond platform.h: a Shift key held without a keyboard,
// screens of chosen sizes, presents on demand and counted, and keys pressed from outside.
#pragma once
#include <cstdint>

// Makes the platform's Shift query answer held (or not) from now on, as a player holding Shift
// would; true when PlatformShiftHeld then agrees.
bool BenchSetShiftHeld(bool held);

// The name of the video driver that SDL is running on ("dummy", "x11"), or "none" before start-up.
const char* BenchVideoDriver();
// The pixel format of the window's surface that the picture is scaled into, or "none".
const char* BenchRendererName();

// The size of the drawable that the picture is shown on; 0 x 0 before the display is set up.
void BenchScreenSize(int* width, int* height);
// Takes the window out of fullscreen and gives it a drawable of that size, as a monitor of that
// size would give it; true when it has it.
bool BenchUseScreen(int width, int height);
// The same at 800 x 600, where the picture is shown unscaled.
bool BenchUseUnscaledScreen();

// Scales and shows the whole picture at once, whatever the refresh pacing says.
void BenchPresentNow();
// How many presents the display has made, and the monotonic time in nanoseconds of the last one.
uint64_t BenchPresentCount();
uint64_t BenchLastPresentNs();
// The monotonic clock of the platform, in nanoseconds.
uint64_t BenchNowNs();
// The display's refresh interval in nanoseconds.
uint64_t BenchRefreshNs();

// Processor seconds that another process has used so far, by its id; negative when unknown.
double BenchProcessCpuSeconds(long pid);

// Starts a thread that, over a connection of its own to the X server, sends the game's window a
// press and release of A and of Backspace in turn, one every minGapMs..maxGapMs at random. False
// where there is no X server or no window.
bool BenchStartKeyPresser(int minGapMs, int maxGapMs);
void BenchStopKeyPresser();
// The number of the last key sent (0 before the first) and its sending time in nanoseconds.
uint64_t BenchLastKeySent(uint64_t* sentNs);
