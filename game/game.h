// The game state, the start of a game, the snake's step and the end of a game.
#pragma once
#include <cstdint>

constexpr int32_t boardColumns = 47;  // playfield columns x 0..46
constexpr int32_t boardRows = 29;     // playfield rows y 0..28
constexpr int32_t snakeCapacity = 15000;
constexpr int32_t growthLimit = 14900;  // pickups add segments only below this length
constexpr int32_t nameCapacity = 256;   // bytes of playerName, with its zero byte
constexpr int32_t typedNameLimit = 11;  // letters that can be typed into playerName
constexpr int32_t startColumn = 23;     // every game and every level starts the snake here,
constexpr int32_t startRow = 14;        // its head on (23, 14) heading up

struct Segment {
    int32_t x;  // column
    int32_t y;  // row
};

enum Direction : int32_t { Up = 0, Right = 1, Down = 2, Left = 3 };

// Cell (x, y) is Board[x][y]: 0 free, 1..7 a wall of that kind. Only x 0..46, y 0..28 are the field.
extern int32_t Board[100][100];
extern Segment Snake[snakeCapacity];  // index 0 is the head
extern int32_t snakeLength;
extern Direction direction;
extern int32_t gameRunning;  // 1 while a game runs, 0 in the score list
extern int32_t score;
extern int32_t level;  // 1..7 during a game, 0 before the first
extern char playerName[nameCapacity];

// Starts a game: score 0, level 1, three segments from (23, 14) down, heading Up, no walls,
// item slot 0 placed; gameRunning 1.
void NewGame();

// One step of a running game: edge, wall and body tests (the first hit ends the game), then the
// body follows, the head moves and the items react.
void StepSnake();

// Ends the game and hands its score to the high-score table.
void GameOver();
