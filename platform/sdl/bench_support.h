// What the benchmarks need of SDL beyond platform.h: a Shift key held without a keyboard, and the
// screen's size under drivers that have no 800 x 600 mode.
#pragma once

// Makes the platform's Shift query answer held (or not) from now on, as a player holding Shift
// would; true when PlatformShiftHeld then agrees.
bool BenchSetShiftHeld(bool held);

// The name of the video driver that SDL is running on ("dummy", "x11"), or "none" before start-up.
const char* BenchVideoDriver();

// The size of the window's surface, which the primary surface stands for; 0 x 0 when there is none.
void BenchScreenSize(int* width, int* height);

// Gives the window an 800 x 600 surface, as a display with that mode does, so the picture is
// presented unscaled (SDL's dummy driver offers only a 1024 x 768 desktop). True when it has one.
bool BenchUseUnscaledScreen();
