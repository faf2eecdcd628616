// Shared ground for the rules' tests: a settable clock, a seeded generator, a clean game and score table.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "game/clock.h"
#include "game/game.h"
#include "game/items.h"
#include "game/levels.h"
#include "scores/scores.h"

namespace gametest {

inline uint32_t now;  // the clock the rules read during a test
inline uint32_t TestClock() { return now; }

inline int32_t scoreListDraws;  // each finished game asks for one redraw of the score list
inline void CountScoreListDraw(int32_t) { ++scoreListDraws; }

// The snake from head to tail; the length is the number of cells given.
inline void LaySnake(std::initializer_list<Segment> cells) {
    snakeLength = 0;
    for (const Segment& cell : cells) Snake[snakeLength++] = cell;
}

// Ranked entries that carry this name.
inline int32_t RankedEntriesOf(const char* name) {
    int32_t count = 0;
    for (int32_t slot = 0; slot < rankedEntries; ++slot) count += std::strcmp(ScoreTable[slot].name, name) == 0;
    return count;
}

inline int32_t WallCells() {
    int32_t count = 0;
    for (int32_t x = 0; x < 100; ++x)
        for (int32_t y = 0; y < 100; ++y) count += Board[x][y] != 0;
    return count;
}

// The layouts as a player would describe them, written independently of the game's own table.
inline int32_t ExpectedWall(int32_t levelNumber, int32_t x, int32_t y) {
    const bool middleRows = y >= 5 && y <= 22;
    switch (levelNumber) {
    case 2: {
        // Five blocks, each mirrored into all four quarters of the field.
        static const int32_t blocks[5][3] = {{3, 3, 1}, {6, 6, 2}, {9, 9, 1}, {12, 12, 2}, {15, 13, 1}};
        for (const auto& b : blocks)
            if ((x == b[0] || x == 47 - b[0]) && (y == b[1] || y == 28 - b[1])) return b[2];
        return 0;
    }
    case 3: return (x == 10 || x == 37) && middleRows ? 3 : 0;
    case 4: return (x == 3 || x == 7 || x == 40 || x == 44) && middleRows ? 4 : 0;
    case 5: {
        const bool arm = (y == 9 || y == 20) && ((x >= 3 && x <= 9) || (x >= 38 && x <= 44));
        const bool post = (x == 9 || x == 37) && ((y >= 3 && y <= 9) || (y >= 20 && y <= 26));
        return arm || post ? 5 : 0;
    }
    case 6: return y >= 5 && y <= 11 && (x == y || x == 51 - y) ? 6 : 0;
    case 7: return (x == 5 || x == 15 || x == 35 || x == 45) && middleRows ? 7 : 0;
    default: return 0;
    }
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Board, 0, sizeof Board);
        std::memset(Snake, 0, sizeof Snake);
        std::memset(ItemTable, 0, sizeof ItemTable);
        std::memset(SpeedTable, 0, sizeof SpeedTable);
        snakeLength = 0;
        direction = Up;
        gameRunning = 0;
        score = 0;
        level = 0;
        InitGameTables();
        now = 1000000;
        SetClockSource(TestClock);
        SeedRandom(1);
        for (int32_t slot = 0; slot < rankedEntries; ++slot) {
            std::strcpy(ScoreTable[slot].name, "ostrel");
            ScoreTable[slot].score = 1;
        }
        ScoreTable[insertionSlot] = ScoreEntry{};
        lastInsertRank = 0;
        std::strcpy(playerName, "tester");
        scoreListDraws = 0;
        reloadBackgroundRequest = nullptr;
        drawScoreListRequest = CountScoreListDraw;
    }
    void TearDown() override {
        SetClockSource(nullptr);
        drawScoreListRequest = nullptr;
    }
};

}  // namespace gametest
