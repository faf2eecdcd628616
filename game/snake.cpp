// The snake's step with its collision tests, and the end of a game.
#include "game/game.h"
#include "game/items.h"
#include "scores/scores.h"

namespace {

// True when a move from (hx, hy) in heading d would leave the playfield.
bool LeavesField(int32_t hx, int32_t hy, Direction d) {
    switch (d) {
    case Up:
        return hy < 1;
    case Right:
        return hx > boardColumns - 2;
    case Down:
        return hy > boardRows - 2;
    case Left:
        return hx < 1;
    }
    return false;
}

// The body test looks at the head's present cell, so a move onto the body ends the game one step later.
bool HeadOnBody() {
    for (int32_t i = 1; i < snakeLength; ++i) {
        if (Snake[i].x == Snake[0].x && Snake[i].y == Snake[0].y) {
            return true;
        }
    }
    return false;
}

}  // namespace

void StepSnake() {
    const int32_t hx = Snake[0].x;
    const int32_t hy = Snake[0].y;
    const Direction d = direction;
    const int32_t dx = d == Right ? 1 : d == Left ? -1 : 0;
    const int32_t dy = d == Down ? 1 : d == Up ? -1 : 0;

    // The wall test reads the board only after the edge test has kept the cell ahead on the field.
    if (LeavesField(hx, hy, d) || Board[hx + dx][hy + dy] != 0 || HeadOnBody()) {
        GameOver();
        return;
    }
    for (int32_t i = snakeLength - 1; i >= 1; --i) {
        Snake[i] = Snake[i - 1];
    }
    Snake[0].x = hx + dx;
    Snake[0].y = hy + dy;
    UpdateItems();
}

void GameOver() {
    gameRunning = 0;
    InsertScore();
}
