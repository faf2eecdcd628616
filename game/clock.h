// The millisecond clock and the random generator that the rules read: the program's own seams.
#pragma once
#include <cstdint>

// Milliseconds from the installed source; unsigned 32-bit, wrapping to 0 after 2^32.
uint32_t ReadClock();

// Installs the clock that ReadClock answers from. The shell installs the platform's millisecond
// clock at start-up; tests install their own so they can set the time, also right before the wrap.
// Until one is installed (or after nullptr), a monotonic clock of the standard library stands in.
void SetClockSource(uint32_t (*source)());

// The program's own generator, the same on every platform, so a seed gives the same game anywhere:
// state := state * 214013 + 2531011 (mod 2^32), result bits 16..30 of the new state (0..32767).
void SeedRandom(uint32_t seed);
int32_t NextRandom();
