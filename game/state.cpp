// The game state and the start of a game.
#include "game/clock.h"
#include "game/game.h"
#include "game/items.h"
#include "game/levels.h"

int32_t Board[100][100];
Segment Snake[snakeCapacity];
int32_t snakeLength;
Direction direction;
int32_t gameRunning;
int32_t score;
int32_t level;
char playerName[nameCapacity];

void NewGame() {
    score = 0;
    direction = Up;
    level = 1;
    for (int32_t i = 0; i < 3; ++i) {
        Snake[i] = Segment{startColumn, startRow + i};
    }
    snakeLength = 3;
    ClearWalls();
    // Only the slots of level 1 are placed; the others keep the previous game's positions and timers.
    for (int32_t i = 0; i < level; ++i) {
        PlaceItemRandomly(ItemTable[i]);
        ItemTable[i].placedAt = ReadClock();
    }
    gameRunning = 1;
}
