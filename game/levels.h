// The seven levels: their pace, their promotion lengths and their walls.
#pragma once
#include <cstdint>

constexpr int32_t topLevel = 7;
extern int32_t SpeedTable[8];  // step delay in ms, by level

// Frees every cell of the field that a wall can stand on (rows 0..27; row 28 never holds one).
void ClearWalls();

// Lays level n (2..7): walls, heading Up, the snake back in column 23 at its full length.
void SetLevel(int32_t n);

// The six length tests in one pass, each seeing the level that the ones before it left.
void CheckPromotion();

// The pacing rule: a step is due when elapsed is strictly greater than the level's delay,
// halved (rounding down) while Shift is held.
bool IsStepDue(uint32_t elapsedMs, int level, bool shiftHeld);
// That delay in milliseconds.
uint32_t StepDelay(int level, bool shiftHeld);
