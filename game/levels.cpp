// The levels: step delays, promotion by length, and the wall layouts laid when a level begins.
#include "game/levels.h"

#include "game/game.h"

int32_t SpeedTable[8];

namespace {

// A straight run of wall cells: count cells from (x, y), each (dx, dy) from the one before.
struct WallRun {
    int8_t level;
    int8_t kind;
    int8_t x;
    int8_t y;
    int8_t dx;
    int8_t dy;
    int8_t count;
};

// Level 2's blocks come in pairs (x, y) and (47 - x, y); the brackets of level 5 meet at their
// corners, so two runs share a cell there.
constexpr WallRun wallRuns[] = {
    {2, 1, 3, 3, 41, 0, 2},   {2, 1, 3, 25, 41, 0, 2},  {2, 2, 6, 6, 35, 0, 2},   {2, 2, 6, 22, 35, 0, 2},
    {2, 1, 9, 9, 29, 0, 2},   {2, 1, 9, 19, 29, 0, 2},  {2, 2, 12, 12, 23, 0, 2}, {2, 2, 12, 16, 23, 0, 2},
    {2, 1, 15, 13, 17, 0, 2}, {2, 1, 15, 15, 17, 0, 2}, {3, 3, 10, 5, 0, 1, 18},  {3, 3, 37, 5, 0, 1, 18},
    {4, 4, 3, 5, 0, 1, 18},   {4, 4, 7, 5, 0, 1, 18},   {4, 4, 40, 5, 0, 1, 18},  {4, 4, 44, 5, 0, 1, 18},
    {5, 5, 3, 9, 1, 0, 7},    {5, 5, 9, 3, 0, 1, 7},    {5, 5, 38, 9, 1, 0, 7},   {5, 5, 37, 3, 0, 1, 7},
    {5, 5, 3, 20, 1, 0, 7},   {5, 5, 9, 20, 0, 1, 7},   {5, 5, 38, 20, 1, 0, 7},  {5, 5, 37, 20, 0, 1, 7},
    {6, 6, 5, 5, 1, 1, 7},    {6, 6, 46, 5, -1, 1, 7},  {7, 7, 5, 5, 0, 1, 18},   {7, 7, 15, 5, 0, 1, 18},
    {7, 7, 35, 5, 0, 1, 18},  {7, 7, 45, 5, 0, 1, 18},
};

struct Promotion {
    int32_t fromLevel;
    int32_t lengthAbove;
};

constexpr Promotion promotions[] = {{1, 24}, {2, 49}, {3, 99}, {4, 149}, {5, 199}, {6, 299}};

}  // namespace

void ClearWalls() {
    for (int32_t x = 0; x < boardColumns; ++x) {
        for (int32_t y = 0; y < boardRows - 1; ++y) {
            Board[x][y] = 0;
        }
    }
}

void SetLevel(int32_t n) {
    level = n;
    direction = Up;
    ClearWalls();  // the previous level's walls go
    for (const WallRun& run : wallRuns) {
        if (run.level != n) {
            continue;
        }
        for (int32_t i = 0; i < run.count; ++i) {
            Board[run.x + i * run.dx][run.y + i * run.dy] = run.kind;
        }
    }
    // The stack on the third cell unfolds one segment per step as the snake moves on.
    Snake[0] = Segment{startColumn, startRow};
    Snake[1] = Segment{startColumn, startRow + 1};
    for (int32_t i = 2; i < snakeLength; ++i) {
        Snake[i] = Segment{startColumn, startRow + 2};
    }
}

void CheckPromotion() {
    // One pass in table order: a snake long enough for several levels climbs them all at once.
    for (const Promotion& promotion : promotions) {
        if (level == promotion.fromLevel && snakeLength > promotion.lengthAbove) {
            SetLevel(promotion.fromLevel + 1);
        }
    }
}

uint32_t StepDelay(int atLevel, bool shiftHeld) {
    int32_t delay = SpeedTable[atLevel];
    if (shiftHeld) {
        delay /= 2;
    }
    return static_cast<uint32_t>(delay);
}

bool IsStepDue(uint32_t elapsedMs, int atLevel, bool shiftHeld) {
    return elapsedMs > StepDelay(atLevel, shiftHeld);
}
