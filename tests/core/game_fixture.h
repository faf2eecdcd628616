// Shared ground for the rules' tests: a settable clock, seed 1, a running level-1 game on a clear
// board with a three-segment snake from (20, 10) down, a default score table and a record of
// the score list's redraws.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "game/clock.h"
#include "game/game.h"
#include "game/items.h"
#include "game/levels.h"
#include "scores/scores.h"

inline uint32_t now;  // the clock the rules read
inline int32_t scoreListDraws, drawnAround;

// The snake from head to tail.
inline void LaySnake(std::initializer_list<Segment> cells) {
    snakeLength = 0;
    for (const Segment& cell : cells)
        Snake[snakeLength++] = cell;
}
inline bool HeadOn(int32_t x, int32_t y) {
    return Snake[0].x == x && Snake[0].y == y;
}
inline std::string NameAt(int32_t slot) {
    return ScoreTable[slot].name;
}
inline void PlayGame(const std::string& name, int32_t points) {
    std::snprintf(playerName, sizeof playerName, "%s", name.c_str());
    score = points;
    InsertScore();
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Board, 0, sizeof Board);
        std::memset(ItemTable, 0, sizeof ItemTable);
        InitGameTables();
        LaySnake({{20, 10}, {20, 11}, {20, 12}});
        level = gameRunning = 1;
        score = 0;
        now = 1000000;
        SetClockSource([] { return now; });
        SeedRandom(1);
        SetDefaultScores();
        lastInsertRank = scoreListDraws = drawnAround = 0;
        drawScoreListRequest = [](int32_t centre) {
            ++scoreListDraws;
            drawnAround = centre;
        };
    }
};
